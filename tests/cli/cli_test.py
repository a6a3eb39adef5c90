#!/usr/bin/env python3
"""Black-box tests of ostrova-cfg: runs the built program and reads the files it writes.

Usage: cli_test.py PROGRAM KEY [unittest arguments]. Expected bytes come from the file layout,
the cipher and the checksum as the camera reads them, never from the program itself.
"""
import json
import os
import subprocess
import sys
import tempfile
import unittest

PROGRAM = sys.argv[1]
KEY = sys.argv[2].encode()
TIME = ["--time", "2026-12-07T10:00:00"]

# Offset and width of the fields the tests look at.
LAYOUT = {
    "version": (0, 1), "sendMode": (1, 1), "sendVia": (2, 1), "sendTo": (3, 1),
    "reportHour": (5, 1), "reportMinute": (6, 1), "smsControl": (7, 1), "countryId": (8, 1),
    "operatorId": (9, 1), "imageQuality": (10, 2), "statusResponse": (13, 1),
    "statusResponse2": (14, 1), "maxNum": (16, 2), "phone[1]": (20, 20), "email[1]": (100, 60),
    "email[2]": (160, 60),
    "smtpAccount": (340, 60), "smtpPassword": (400, 40), "smtpServer": (440, 40),
    "smtpPort": (480, 6), "mmsApn": (486, 40), "mmscUrl": (606, 80), "mmsPort": (726, 6),
    "netApn": (732, 40), "imageFromShort": (852, 16), "ftpServer": (970, 80),
    "httpServer": (1050, 80), "imageFrom": (1130, 60), "saveYear": (1190, 2),
}


def cipher(plain):
    return bytes((b + KEY[i % 4] + i % 256) % 256 for i, b in enumerate(plain))


def decipher(data):
    return bytes((b - KEY[i % 4] - i % 256) % 256 for i, b in enumerate(data))


def cfg_file(record):
    body = cipher(record[:2046])
    high = (sum(body) + 5) % 256
    return body + bytes([high, 255 - high])


def put(record, field, value):
    offset, width = LAYOUT[field]
    if isinstance(value, int):
        record[offset:offset + width] = value.to_bytes(width, "little")
    else:
        record[offset:offset + len(value) + 1] = value + b"\0"


def get(record, field):
    offset, width = LAYOUT[field]
    raw = record[offset:offset + width]
    return int.from_bytes(raw, "little") if width <= 2 else raw.split(b"\0")[0]


def default_record(stamp=True):
    """The defaults as a save writes them, with the save time of TIME."""
    r = bytearray(2048)
    for field, value in [("version", 2), ("sendMode", 2), ("reportHour", 21),
                         ("reportMinute", 30), ("imageQuality", 100),
                         ("smtpAccount", b"ostrova.camera.senders@example.com"),
                         ("smtpPassword", b"demo2018"),
                         ("smtpServer", b"smtp.mail-relay.example.com"), ("smtpPort", b"2525")]:
        put(r, field, value)
    r[12] = 1  # fixedFlag
    if stamp:
        r[1190:1197] = bytes([2026 & 0xFF, 2026 >> 8, 12, 7, 10, 0, 0])
    return r


class Cli(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def run_cfg(self, *args, stdin=None, env=None):
        return subprocess.run([PROGRAM, *args], capture_output=True, text=True, input=stdin,
                              env={**os.environ, **(env or {})}, timeout=30)

    def ok(self, *args, **kw):
        p = self.run_cfg(*args, **kw)
        self.assertEqual(p.returncode, 0, p.stderr)
        return p

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def record(self, name):
        """The record a wireless.cfg file carries, checked as the camera checks it."""
        data = self.read(name)
        self.assertEqual(len(data), 2048)
        high = (sum(data[:2046]) + 5) % 256
        self.assertEqual(data[2046:], bytes([high, 255 - high]))
        return bytearray(decipher(data[:2046]) + b"\0\0")

    def fresh(self, *assignments, name="wireless.cfg"):
        self.ok("new", self.path(name), "--force", *assignments, *TIME)
        return self.path(name)


class NewAndRoundTrip(Cli):
    def test_new_writes_the_defaults(self):
        self.fresh()
        self.assertEqual(self.read("wireless.cfg"), cfg_file(default_record()))
        self.ok("new", self.path("MMSCFG.BIN"), *TIME)
        self.assertEqual(self.read("MMSCFG.BIN"), bytes(default_record(stamp=False)[:868]))
        p = self.run_cfg("new", self.path("wireless.cfg"), *TIME)
        self.assertEqual(p.returncode, 1, "new must not replace a file unasked")
        self.ok("new", self.path("wireless.cfg"), "--force", *TIME)

    def test_show_json_then_set_from_json_is_byte_identical(self):
        a = self.fresh("sendMode=Instant", "sendVia=Internet", "sendTo=HTTP",
                       "countryId=Sweden", "operatorId=Tele2", "phone[1]=+46 70 123",
                       "email[2]=Zoë€@example.com", "imageFrom=Garden gate, north side",
                       "httpServer=http://example.net/up", "smsControl=ON", "statusResponse=1",
                       "maxNum=9999", "imageQuality=Original")
        original = self.read("wireless.cfg")
        shown = self.ok("show", "--json", a).stdout
        self.assertEqual(json.loads(shown)["email[2]"], "Zoë€@example.com")
        self.ok("set", a, "--from-json", "-", "--time", "2026-12-07T10:00:00", stdin=shown)
        self.assertEqual(self.read("wireless.cfg"), original)
        # The same JSON over the defaults rebuilds the file whole.
        self.write("edit.json", shown.encode())
        self.ok("new", self.path("b.cfg"), "--from-json", self.path("edit.json"), *TIME)
        self.assertEqual(self.read("b.cfg"), original)
        self.assertEqual(get(self.record("b.cfg"), "email[2]"), "Zoë€@example.com".encode("cp1252"))

    def test_save_time_sources(self):
        self.ok("new", self.path("a.cfg"), env={"SOURCE_DATE_EPOCH": "1796637600"})  # UTC
        self.assertEqual(self.record("a.cfg")[1190:1197], bytes([0xEA, 0x07, 12, 7, 10, 0, 0]))
        for bad in ["2026-13-01T00:00:00", "2026-02-29T10:00:00", "2026-12-07", "yesterday"]:
            p = self.run_cfg("new", self.path("b.cfg"), "--time", bad)
            self.assertEqual(p.returncode, 2, bad)
            self.assertFalse(os.path.exists(self.path("b.cfg")))
        self.ok("new", self.path("leap.cfg"), "--time", "2028-02-29T23:59:59")


class SetRules(Cli):
    # (field, value, accepted, the message of a refusal or None for any message)
    BOUNDS = [
        ("reportHour", "23", True, None),
        ("reportHour", "24", False, "Please input a number between 0 and 23! "),
        ("maxNum", "99999999999999999999", False, "Please input a number within 9999! "),
        ("maxNum", "-1", False, None), ("reportHour", "", False, None),
        ("smtpPort", "65535", True, None), ("smtpPort", "65536", False, None),
        ("smtpPort", "25a", False, None), ("mmsPort", "123456", False, None),
        ("sendTo", "FTP", False, None),  # with MMS
        ("statusResponse", "1", False, None),  # with SMS control OFF
        ("imageQuality", "Original", True, None), ("imageQuality", "65536", False, None),
        ("email[1]", "Ā@example.com", False, None), ("phone[1]", "tab\there", False, None),
    ]
    # (field, longest text kept); the tests try exactly that and one more.
    LENGTHS = [("phone[1]", 19), ("email[1]", 59), ("mmscUrl", 79), ("httpServer", 59)]

    def attempt(self, field, value):
        f = self.fresh("countryId=Custom")
        before = self.read("wireless.cfg")
        p = self.run_cfg("set", f, f"{field}={value}", *TIME)
        return p, before

    def test_bounds(self):
        for field, value, accepted, message in self.BOUNDS:
            with self.subTest(field=field, value=value):
                p, before = self.attempt(field, value)
                if accepted:
                    self.assertEqual(p.returncode, 0, p.stderr)
                    continue
                self.assertEqual(p.returncode, 1)
                self.assertEqual(self.read("wireless.cfg"), before, "a refused set writes nothing")
                self.assertEqual(p.stderr.count("\n"), 1)
                if message:
                    self.assertEqual(p.stderr, f"ostrova-cfg: {self.path('wireless.cfg')}: "
                                               f"{field}={value}: {message}\n")
        self.ok("set", self.fresh(), "reportHour=7", "reportMinute=5", "maxNum=0", *TIME)
        r = self.record("wireless.cfg")
        self.assertEqual((get(r, "reportHour"), get(r, "reportMinute"), get(r, "maxNum")), (7, 5, 0))

    def test_lengths(self):
        for field, longest in self.LENGTHS:
            for n in (longest, longest + 1):
                with self.subTest(field=field, length=n):
                    text = "".join(chr(ord("a") + i % 26) for i in range(n))
                    p, _ = self.attempt(field, text)
                    self.assertEqual(p.returncode, 0 if n <= longest else 1, p.stderr)
                    if n <= longest:
                        self.assertEqual(get(self.record("wireless.cfg"), field), text.encode())

    def test_the_window_follows_changed_fields(self):
        f = self.fresh("sendMode=Instant", "sendVia=Internet", "sendTo=FTP", "imageQuality=High")
        self.ok("set", f, "sendVia=MMS", *TIME)  # FTP becomes Both, quality Normal
        r = self.record("wireless.cfg")
        self.assertEqual((get(r, "sendVia"), get(r, "sendTo"), get(r, "imageQuality")), (0, 2, 100))
        self.ok("set", f, "sendVia=Internet", *TIME)  # always Email
        self.assertEqual(get(self.record("wireless.cfg"), "sendTo"), 1)
        self.ok("set", f, "countryId=Sweden", *TIME)  # its first operator and its preset
        r = self.record("wireless.cfg")
        self.assertEqual((get(r, "countryId"), get(r, "operatorId"), get(r, "mmsApn")),
                         (22, 20, b"mms.telia.se"))
        self.assertEqual(self.run_cfg("set", f, "mmsApn=mine", *TIME).returncode, 1,
                         "a carrier's own parameter would be lost at the save")
        self.assertEqual(self.run_cfg("set", f, "operatorId=2", *TIME).returncode, 1,
                         "operator 2 is Chinese")
        self.ok("set", f, "operatorId=3", *TIME)  # Sweden's operator named "3"
        self.assertEqual(get(self.record("wireless.cfg"), "operatorId"), 23)
        self.ok("set", f, "phone[1]=555", "smsControl=ON", "statusResponse=1", *TIME)
        self.ok("set", f, "smsControl=OFF", *TIME)  # Status Response goes with it
        r = self.record("wireless.cfg")
        self.assertEqual((get(r, "statusResponse"), get(r, "statusResponse2")), (0, 0))

    def test_save_checks_and_usage_errors(self):
        f = self.fresh()
        p = self.run_cfg("set", f, "smsControl=ON", *TIME)
        self.assertEqual((p.returncode, p.stderr), (1, f"ostrova-cfg: {f}: Please input a phone "
                                                       "number when SMS control=on\n"))
        p = self.run_cfg("set", f, "sendMode=Instant", "sendVia=Internet", "smtpServer=", *TIME)
        self.assertEqual(p.returncode, 1)
        for args in (["version=3"], ["saveYear=2000"], ["nosuch=1"], ["reportHour"],
                     ["maxNum=1", "maxNum=2"]):
            self.assertEqual(self.run_cfg("set", f, *args, *TIME).returncode, 2, args)
        self.assertEqual(self.run_cfg("frobnicate").returncode, 2)
        self.ok("new", self.path("MMSCFG.BIN"), *TIME)
        p = self.run_cfg("set", self.path("MMSCFG.BIN"), "ftpServer=ftp.example.net", *TIME)
        self.assertEqual(p.returncode, 1, "MMSCFG.BIN has no room for it")
        self.ok("set", self.path("MMSCFG.BIN"), "imageFrom=Gate", *TIME)
        self.assertEqual(self.read("MMSCFG.BIN")[852:857], b"Gate\0")


class BrokenFiles(Cli):
    def cases(self):
        good = cfg_file(default_record())
        swapped = good[:2046] + good[2046:][::-1]
        bin_v3 = bytearray(default_record()[:868])
        bin_v3[0] = 3
        return [("one.cfg", b"\x02", "File Error1!"), ("big.bin", bytes(8193), "File Error2!"),
                ("swapped.cfg", swapped, "File Checksum Error!"),
                ("MMSCFG.BIN", bytes(bin_v3), "File Is Create by Higher Version!")]

    def test_check_and_show_refuse_each(self):
        for name, data, message in self.cases():
            with self.subTest(name=name):
                path = self.write(name, data)
                self.assertEqual(self.run_cfg("check", path).returncode, 1)
                self.assertEqual(self.run_cfg("check", path).stdout, "")
                p = self.run_cfg("check", "-v", path)
                self.assertTrue(p.stdout.startswith(f"{path}: not valid: {message}"), p.stdout)
                p = self.run_cfg("show", path)
                self.assertEqual(p.returncode, 1)
                self.assertEqual(p.stdout, "")
                self.assertTrue(p.stderr.startswith(f"ostrova-cfg: {path}: {message}"), p.stderr)
                self.assertEqual(self.run_cfg("set", path, "maxNum=1", *TIME).returncode, 1)
                self.assertEqual(self.read(name), data, "a bad file is left alone")
        p = self.run_cfg("check", "-v", self.path("missing.cfg"))
        self.assertIn("File Open Error!", p.stdout)

    def test_valid_edge_files(self):
        good = self.write("a.cfg", cfg_file(default_record()))
        big = self.write("big.cfg", cfg_file(bytes(8190) + b"\0\0"))  # 8192 bytes pass
        self.ok("check", good, big)
        self.assertEqual(self.run_cfg("check", good, self.write("x.cfg", b"")).returncode, 1)
        old = bytearray(868)
        old[0], old[8], old[9] = 1, 21, 19  # version 1: ids one below Sweden / Telia
        path = self.write("old.bin", bytes(old))
        shown = self.ok("show", path).stdout
        self.assertIn("an old file", shown)
        values = json.loads(self.ok("show", "--json", path).stdout)
        self.assertEqual((values["countryId"], values["operatorId"], values["maxNum"]), (22, 20, 50))
        # Read as MMSCFG.BIN, a wireless.cfg's ciphered first byte is a version above 2.
        self.assertEqual(self.run_cfg("check", "--form", "bin", good).returncode, 1)


class ConvertAndDiff(Cli):
    def test_convert_both_ways(self):
        f = self.fresh("sendMode=Instant", "sendVia=Internet", "sendTo=FTP",
                       "ftpServer=ftp.example.net", "imageFrom=North gate camera 7")
        out = self.path("MMSCFG.BIN")
        p = self.run_cfg("convert", f, out, *TIME)
        self.assertEqual(p.returncode, 1)
        self.assertIn("ftpServer", p.stderr)
        self.assertFalse(os.path.exists(out))
        self.ok("convert", f, out, "--force", *TIME)
        self.assertEqual(self.read("MMSCFG.BIN"), bytes(self.record("wireless.cfg")[:868]))

        self.ok("convert", out, self.path("back.cfg"), "--time", "2027-01-02T03:04:05")
        expect = default_record(stamp=False)
        expect[:868] = self.read("MMSCFG.BIN")
        expect[1190:1197] = bytes([2027 & 0xFF, 2027 >> 8, 1, 2, 3, 4, 5])
        self.assertEqual(self.read("back.cfg"), cfg_file(expect))

    def test_diff(self):
        a = self.fresh()
        b = self.fresh("reportHour=7", "phone[1]=555", name="b.cfg")
        self.assertEqual(self.run_cfg("diff", a, a).returncode, 0)
        p = self.run_cfg("diff", a, b)
        self.assertEqual(p.returncode, 1)
        self.assertEqual(p.stdout, 'reportHour: 21 -> 7\nphone[1]: "" -> "555"\n')
        self.assertEqual(self.run_cfg("diff", a, self.path("missing.cfg")).returncode, 2)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])
