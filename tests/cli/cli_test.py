#!/usr/bin/env python3
# Black-box tests of ostrova-cfg: runs the built program in a scratch folder and reads the files
# it writes. Usage: cli_test.py PROGRAM KEY [unittest arguments]. Expected bytes come from the
# file layout, the cipher and the checksum as the camera reads them, never from the program.
import json, os, resource, subprocess, sys, tempfile, unittest
from pathlib import Path

PROGRAM, KEY = os.path.abspath(sys.argv[1]), sys.argv[2].encode()
# Every save is stamped 2026-12-07 10:00:00 by SOURCE_DATE_EPOCH, read in UTC whatever TZ says.
ENV = {**os.environ, "SOURCE_DATE_EPOCH": "1796637600", "TZ": "XST-9"}
# Offset and width of the fields the tests read.
LAYOUT = {"sendTo": (3, 1), "reportHour": (5, 1), "reportMinute": (6, 1), "operatorId": (9, 1), "imageQuality": (10, 2),
          "statusResponse": (13, 1), "statusResponse2": (14, 1), "email[2]": (160, 60),
          "mmsApn": (486, 40), "httpServer": (1050, 80)}
# The defaults by offset: version 2 and sendMode 2 (Off); reportHour 21 and reportMinute 30;
# imageQuality 100 (Normal); fixedFlag 1; smtpAccount, smtpPassword, smtpServer and smtpPort.
DEFAULTS = {0: b"\2\2", 5: b"\x15\x1e", 10: b"d", 12: b"\1", 400: b"demo2018", 480: b"2525",
            340: b"ostrova.camera.senders@example.com", 440: b"smtp.mail-relay.example.com"}


def default_record(saved=(2026, 12, 7, 10, 0, 0)):  # the defaults as a save writes them
    stamp = saved[0].to_bytes(2, "little") + bytes(saved[1:]) if saved else b""
    r = bytearray(2048)
    for offset, value in {**DEFAULTS, 1190: stamp}.items():  # the save time: wireless.cfg only
        r[offset:offset + len(value)] = value
    return r


def cipher(data, sign=1):
    return bytes((b + sign * (KEY[i % 4] + i)) % 256 for i, b in enumerate(data))


def cfg_file(record):  # the ciphered record, then the checksum: (sum + 5) % 256, 255 minus that
    body = cipher(record[:2046])
    return body + bytes([(sum(body) + 5) % 256, (250 - sum(body)) % 256])


def read(name):
    return Path(name).read_bytes() if os.path.exists(name) else None


def record(name):  # the record a wireless.cfg file carries, after the camera's checksum test
    plain = cipher(read(name)[:2046], -1) + b"\0\0"
    assert cfg_file(plain) == read(name), "checksum"
    return plain


def get(name, field):  # a field of a wireless.cfg file
    offset, width = LAYOUT[field]
    raw = record(name)[offset:offset + width]
    return int.from_bytes(raw, "little") if width <= 2 else raw.split(b"\0")[0]


class Cli(unittest.TestCase):
    def setUp(self):
        self.addCleanup(os.chdir, os.getcwd())
        os.chdir(self.enterContext(tempfile.TemporaryDirectory()))

    def cfg(self, *args, code=0, err=None, stdin=None, **run):
        run = {"stdout": subprocess.PIPE, "stderr": subprocess.PIPE, **run}  # or where a test says
        p = subprocess.run([PROGRAM, *args], encoding="utf-8", input=stdin,
                           env=ENV, timeout=30, **run)
        self.assertEqual(p.returncode, code, (args, p.stderr))
        if err or not code:  # the whole standard error; a success says nothing there
            self.assertEqual(p.stderr, f"ostrova-cfg: {err}\n" if err else "")
        return p

    def fresh(self, *assignments, name="a.cfg"):
        self.cfg("new", name, "--force", *assignments)
        return name


class NewAndRoundTrip(Cli):
    def test_new_writes_the_defaults_in_either_form(self):
        self.assertEqual(read(self.fresh()), cfg_file(default_record()))
        # An extension beginning with B: the MMSCFG.BIN form, imageFrom kept in imageFromShort.
        self.cfg("new", "a.bin", "imageFrom=Gate")
        self.assertEqual(read("a.bin"), default_record(None)[:852] + b"Gate" + bytes(12))
        self.cfg("set", "a.bin", "ftpServer=ftp.example.net", code=1,
                 err="a.bin: ftpServer=ftp.example.net: MMSCFG.BIN does not carry this field")
        # Sending to FTP or HTTP: the window saves wireless.cfg, which alone holds their settings.
        for args, to in ((["set", "a.bin"], "FTP"), (["new", "--form", "bin", "b.bin"], "HTTP")):
            self.cfg(*args, "sendVia=Internet", f"sendTo={to}", code=1, err=f"{args[-1]}: "
                     f"sendTo={to}: MMSCFG.BIN cannot hold the {to} settings; sending to {to} "
                     "is saved in the wireless.cfg form (--form cfg)")
        self.cfg("new", "a.bin", code=1, err="a.bin: exists already; --force replaces it")
        self.assertEqual((read("a.bin")[:4], read("b.bin")), (b"\2\2\0\0", None))

    def test_show_json_then_set_from_json_is_byte_identical(self):
        a = self.fresh(*("sendMode=1 sendVia=Internet sendTo=HTTP countryId=22 operatorId=Tele2 "
                         "smsControl=ON statusResponse=1 phone[1]=+4670 imageFrom=Gate "
                         "email[2]=Zoë€@example.com").split())
        self.assertEqual(get(a, "email[2]"), "Zoë€@example.com".encode("cp1252"))
        shown, original = self.cfg("show", "--json", a).stdout, read(a)
        self.assertEqual(json.loads(shown)["email[2]"], "Zoë€@example.com")
        self.cfg("set", a, "--from-json", "-", stdin=shown)
        self.assertEqual(read(a), original)
        self.cfg("new", "b.cfg", "--from-json", "-", stdin=shown)  # over the defaults: all of it
        self.assertEqual(read("b.cfg"), original)
        # Several files: one array, a file that is not valid in it too.
        self.assertEqual(json.loads(self.cfg("show", "--json", a, "none.bin", code=1).stdout), [
            {"file": a, "form": "cfg", "valid": True, "fields": json.loads(shown)},
            {"file": "none.bin", "form": "bin", "valid": False,
             "error": "File Open Error! (No such file or directory)", "fields": None}])

    def test_from_json_refuses_what_is_no_json_file_of_fields(self):
        self.fresh()
        for source, why in [("none.json", "No such file or directory"), ("/dev/zero", "is larger "
                             "than 1 MiB; a JSON file of fields is far smaller")]:
            for args in (["set", "a.cfg"], ["new", "b.cfg"]):
                self.cfg(*args, "--from-json", source, code=1, err=f"{source}: {why}")
        self.assertEqual((read("a.cfg"), read("b.cfg")), (cfg_file(default_record()), None))

    # (Which dates and times are whole and real: the save tests of the settings core.)
    def test_save_time_sources(self):
        self.cfg("new", "a.cfg", "--time", "2028-02-29T23:59:59")  # before SOURCE_DATE_EPOCH
        self.assertEqual(read("a.cfg"), cfg_file(default_record((2028, 2, 29, 23, 59, 59))))


class SetRules(Cli):
    # (assignments, exit code, the message after "ostrova-cfg: a.cfg: ", {} the last assignment)
    REFUSED = [
        ("maxNum=4294967301", 1, "{}: Please input a number within 9999! "),  # not 5 by a wrap
        ("reportHour=", 1, "{}: expects a whole number"),
        ("imageQuality=65536", 1, "{}: expects Normal, High or Original (or a number up to 65535)"),
        ("httpServer=" + "x" * 60, 1, "{}: is 60 characters long; httpServer keeps at most 59"),
        ("sendTo=FTP", 1, "{}: sendTo 4 is not available with MMS (Phone, Email or Both)"),
        ("statusResponse=1", 1, "{}: Status Response needs SMS control ON (smsControl=ON)"),
        ("countryId=Sweden mmsApn=mine", 1, "{}: the operator parameters of a carrier come from "
         "its preset; set countryId=Custom to use your own"),
        ("version=3", 2, "version: is written by every save"),
        # The Email Setting dialog's checks (each field's: the dialog's tests).
        ("smtpPort=65536", 1, "{}: Invalid SMTP port2!"),
        ("sendMode=Instant imageQuality=Original", 1, "{}: Image Quality stays Normal with MMS "
         "(sendVia=Internet chooses another)"),
        ("mmsApn=mine", 1, "{}: the operator parameters cannot be set with country Auto; set "
         "countryId=Custom to use your own"),
        ("nosuch=1", 2, "nosuch: no such field (see the names that show prints)"),
        ("smsControl=ON", 1, "Please input a phone number when SMS control=on"),
        # Text from the command line reaches the terminal escaped, as show prints values.
        ("phone[1]=a\x1b[31m", 1, "phone[1]=a\\x1B[31m: holds a control character (U+001B)"),
    ]
    # (assignments of the new file, assignments to set, fields the saved file then holds)
    ACCEPTED = [
        ("sendVia=Internet", "imageQuality=Original httpServer=" + "x" * 59,
         {"imageQuality": 2000, "httpServer": b"x" * 59}),
        ("sendMode=Instant sendVia=Internet sendTo=FTP imageQuality=High", "sendVia=MMS",
         {"sendTo": 2, "imageQuality": 100}),  # FTP becomes Both
        ("", "sendVia=Internet", {"sendTo": 1}),  # always Email
        ("", "countryId=Sweden", {"operatorId": 20, "mmsApn": b"mms.telia.se"}),
        ("", "countryId=Sweden operatorId=3", {"operatorId": 23}),  # the id before the name
        ("countryId=Sweden", "countryId=Custom", {"operatorId": 1, "mmsApn": b""}),  # its own, none
        ("countryId=Sweden", "countryId=Custom mmsApn=mine", {"mmsApn": b"mine"}),
        ("phone[1]=555 smsControl=ON statusResponse=1", "smsControl=OFF",
         {"statusResponse": 0, "statusResponse2": 0}),
    ]

    def test_refusals_write_nothing(self):
        for args, code, why in self.REFUSED:
            self.cfg("set", self.fresh(), *args.split(), code=code,
                     err="a.cfg: " + why.format(args.split()[-1]))
            self.assertEqual(read("a.cfg"), cfg_file(default_record()))  # as new wrote it
        self.cfg("show", "\x1b[1m.cfg", code=1,  # a file name is escaped too
                 err="\\x1B[1m.cfg: File Open Error! (No such file or directory)")

    def test_usage_errors_name_the_word_at_fault(self):
        self.cfg("new", "--", "-dash.cfg")  # after --, a name beginning with - is a file
        self.assertTrue(self.cfg("show", "--", "-dash.cfg").stdout.startswith("-dash.cfg: valid"))
        for args, err, stdin in [
                (["frobnicate"], "frobnicate: no such command (see ostrova-cfg --help)", None),
                (["--frob"], "--frob: no such option (see ostrova-cfg --help)", None),
                (["show", "-dash.cfg"], "show: -dash.cfg: no such option (a file name beginning "
                 "with - goes after --)", None),
                (["show"], "show: FILE is required", None),
                (["set", "a.cfg", "reportHour"], "reportHour: expects field=value", None),
                (["set", "a.cfg", "maxNum=1", "maxNum=2"], "maxNum: given twice", None),
                (["set", self.fresh(), "--time", ""], "a.cfg: --time : expects a local date and "
                 "time such as 2026-12-07T10:00:00", None),
                (["set", "a.cfg", "--from-json", "-"], "-: maxNum: given twice",
                 '{"maxNum": 1, "maxNum": 2}'),
                (["presets", "Narnia"], "Narnia: is no country of the preset table (a name such "
                 "as Sweden, or an id 0 to 24)", None)]:
            self.assertEqual(self.cfg(*args, code=2, err=err, stdin=stdin).stdout, "")

    def test_accepted_values_and_what_follows_them(self):
        for base, args, fields in self.ACCEPTED:
            self.cfg("set", self.fresh(*base.split()), *args.split())
            self.assertEqual({name: get("a.cfg", name) for name in fields}, fields, args)


class BrokenFiles(Cli):
    def test_broken_files_are_refused_and_left_alone(self):
        good = cfg_file(default_record())
        for name, data, message in [
                ("one.cfg", b"\x02", "File Error1! (1 byte; a settings file has 2 to 8192)"),
                ("sum.cfg", good[:2046] + good[:2045:-1], "File Checksum Error! (stored "
                 f"0x{good[:2045:-1].hex().upper()}, computed 0x{good[2046:].hex().upper()})"),
                ("v3.bin", b"\3" + bytes(867), "File Is Create by Higher Version! (version 3)")]:
            Path(name).write_bytes(data)
            self.assertEqual(self.cfg("check", "-v", name, code=1).stdout,
                             f"{name}: not valid: {message}\n")
            for args in (["show", name], ["check", name], ["set", name, "maxNum=1"]):
                self.assertEqual(self.cfg(*args, code=1, err=f"{name}: {message}").stdout, "")
            self.assertEqual(read(name), data)
        os.mkdir("folder.cfg")
        self.cfg("show", "folder.cfg", code=1,
                 err="folder.cfg: File Open Error! (a folder, not a file)")
        self.assertEqual(self.cfg("check", "-v", self.fresh()).stdout, "a.cfg: valid (wireless.cfg "
                         "form, 2048 bytes, checksum agrees, version 2)\n")
        # Read as MMSCFG.BIN, a wireless.cfg's ciphered first byte is a version above 2.
        self.assertEqual(self.cfg("check", "--form", "bin", "a.cfg", code=1).stdout, "")


    def test_output_lost_to_a_full_disk_is_a_failure(self):
        self.fresh()
        with open("/dev/full", "w") as full:
            for args in (["show", "a.cfg"], ["presets", "-v"], ["check", "-v", "a.cfg"], ["--help"]):
                self.cfg(*args, code=1, err="write error: No space left on device", stdout=full)

class ConvertAndDiff(Cli):
    def test_convert_both_ways(self):
        f = self.fresh("sendVia=Internet", "sendTo=FTP", "ftpServer=ftp.lan", "imageFrom=G7")
        self.cfg("convert", f, "a.bin", code=1, err="a.bin: the MMSCFG.BIN form cannot carry "
                 "sendTo FTP and ftpServer; --force writes it without them")
        self.cfg("convert", self.fresh("imageFrom=" + "x" * 34, name="i.cfg"), "i.bin", code=1,
                 err="i.bin: the MMSCFG.BIN form cannot carry imageFrom beyond 15 characters; "
                 "--force writes it without them")
        self.assertEqual((read("a.bin"), read("i.bin")), (None, None))
        self.cfg("convert", f, "a.bin", "--force")
        self.assertEqual(read("a.bin"), record(f)[:868])
        self.cfg("convert", "a.bin", "back.cfg", "--time", "2027-01-02T03:04:05")
        expect = read("a.bin") + default_record((2027, 1, 2, 3, 4, 5))[868:]
        self.assertEqual(read("back.cfg"), cfg_file(expect))
        self.cfg("convert", "a.bin", "back.cfg", code=1,
                 err="back.cfg: exists already; --force replaces it")

    def test_diff(self):
        a, b = self.fresh(), self.fresh("reportHour=7", "phone[1]=555", name="b.cfg")
        self.assertEqual(self.cfg("diff", a, a).stdout, "")
        self.assertEqual(self.cfg("diff", a, b, code=1).stdout,
                         'reportHour: 21 -> 7\nphone[1]: "" -> "555"\n')
        self.cfg("diff", a, "none.cfg", code=2,
                 err="none.cfg: File Open Error! (No such file or directory)")


# The nine operator parameters from offset 486 on, with their widths.
PARAMS = [("mmsApn", 40), ("mmsUser", 40), ("mmsPassword", 40), ("mmscUrl", 80), ("mmsProxy", 40),
          ("mmsPort", 6), ("netApn", 40), ("netUser", 40), ("netPassword", 40)]


class Presets(Cli):
    def test_a_carrier_saves_the_values_its_listing_shows_and_nothing_of_the_last(self):
        a = self.fresh()
        for op in (36, 37):  # all nine parameters, then the Internet APN alone
            self.cfg("set", a, "countryId=Russia", f"operatorId={op}")
            listed, row = {}, None
            for line in self.cfg("presets", "Russia", "-v").stdout.splitlines()[1:]:
                if not line.startswith(" " * 4):
                    row = int(line.split()[0])
                elif row == op:
                    listed[line.split()[0]] = line.split('"')[1]
            self.assertEqual(len(listed), 9 if op == 36 else 1)
            self.assertEqual(record(a)[486:852], b"".join(
                listed.get(k, "").encode("cp1252").ljust(w, b"\0") for k, w in PARAMS))

    def test_the_listing_names_every_row_and_its_provenance(self):
        lines = self.cfg("presets").stdout.splitlines()
        self.assertEqual(lines[0].split(), ["id", "country", "operator", "provenance", "sources"])
        self.assertEqual([int(line.split()[0]) for line in lines[1:]], list(range(99)))
        # Bell's LineageOS entry has no MMS gateway: that differs too.
        self.assertIn("both sources: mmsApn, mmscUrl; differ, Debian kept: mmsProxy, mmsPort, "
                      "netApn", [line.split("  ")[-1] for line in lines if " Canada " in line])


class Saves(Cli):
    # (That a save is atomic, survives being killed and cleans up after killed ones: the save
    # tests of the settings core.)
    def test_edits_of_one_file_at_the_same_time_lose_nothing(self):
        for n in range(50):
            self.fresh(name="o.cfg")
            procs = [subprocess.Popen([PROGRAM, "set", "o.cfg", field], env=ENV, encoding="utf-8",
                                      stderr=subprocess.PIPE)
                     for field in (f"reportHour={n % 24}", f"reportMinute={n % 60}")]
            results = [(p.communicate(timeout=30)[1], p.returncode) for p in procs]
            self.assertEqual(results, [("", 0)] * 2)
            self.assertEqual((get("o.cfg", "reportHour"), get("o.cfg", "reportMinute")),
                             (n % 24, n % 60), f"round {n}")

    def test_a_save_past_the_file_size_limit_fails_and_keeps_the_file(self):
        old = read(self.fresh())
        limit = lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (1024, 1024))  # as `ulimit -f`
        self.cfg("set", "a.cfg", "reportHour=5", code=1, preexec_fn=limit,
                 err="a.cfg: Create File Fail! (File too large)")
        self.assertEqual(read("a.cfg"), old)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])
