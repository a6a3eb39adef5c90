#!/usr/bin/env python3
"""Writes the seed corpus of the settings-reader fuzz targets into fuzz/corpus/<target>/.

Usage: scripts/make-fuzz-corpus.py [KEY]   (KEY: the four-digit cipher key, default 7319)
Files are built from the file layout, the cipher and the checksum alone; the generated files
are committed, so the fuzz run needs nothing but this folder.
"""
import pathlib
import struct
import sys

root = pathlib.Path(__file__).resolve().parent.parent
key = (sys.argv[1] if len(sys.argv) > 1 else "7319").encode("ascii")
assert len(key) == 4 and key.isdigit()

RECORD, PLAIN, LARGEST = 2048, 868, 8192


def text(rec, offset, width, value):
    raw = value.encode("cp1252")[: width - 1]
    rec[offset : offset + len(raw) + 1] = raw + b"\0"


def record(version, country=0, operator=0, send_mode=0, send_via=0, send_to=0):
    """A record as the tool would hold it after defaults and some editing."""
    rec = bytearray(RECORD)
    rec[0:10] = bytes([version, send_mode, send_via, send_to, 0, 21, 30, 1, country, operator])
    rec[10:12] = struct.pack("<H", 200)
    rec[12:16] = bytes([1, 1, 1, 0])
    rec[16:18] = struct.pack("<H", 25)
    text(rec, 20, 20, "+358401234567")
    text(rec, 60, 20, "0049301234567890123")  # 19 characters: NUL in the last byte
    text(rec, 100, 60, "camera@example.org")
    text(rec, 340, 60, "ostrova.camera.senders@example.com")
    text(rec, 400, 40, "demo2018")
    text(rec, 440, 40, "smtp.mail-relay.example.com")
    text(rec, 480, 6, "2525")
    text(rec, 486, 40, "cmwap")
    text(rec, 606, 80, "http://mmsc.monternet.com")
    text(rec, 686, 40, "10.0.0.172")
    text(rec, 726, 6, "80")
    text(rec, 732, 40, "cmnet")
    text(rec, 852, 16, "Hütte am Waldra")  # first 15 characters of Image From
    text(rec, 870, 60, "ftpuser")
    text(rec, 930, 40, "ftp-secret")
    text(rec, 970, 80, "ftp.example.net")
    text(rec, 1050, 80, "http://upload.example.net/cam")
    text(rec, 1130, 60, "Hütte am Waldrand, Kamera Nord")
    rec[1190:1197] = struct.pack("<HBBBBB", 2024, 5, 17, 9, 41, 3)
    return rec


def cipher(data):
    return bytes((b + key[i % 4] + (i % 256)) % 256 for i, b in enumerate(data))


def checksum(data):
    high = (sum(data) + 5) % 256
    return bytes([high, 255 - high])


def cfg(rec, size=RECORD):
    """wireless.cfg of `size` bytes: the record's first size-2 bytes ciphered, then the checksum."""
    body = cipher(bytes(rec[: size - 2]) + bytes(max(0, size - 2 - RECORD)))
    return body + checksum(body)


def bin_(rec, size=PLAIN):
    return bytes(rec[:size]) + bytes(max(0, size - RECORD))


def broken(form):
    """Sizes around every limit, each otherwise valid, and the two checksum faults."""
    make = cfg if form == "cfg" else bin_
    rec = record(2)
    files = {f"size-{n}": make(rec, n) for n in (2, 867, 868, 2047, 2048, 2049, 8192)}
    files["size-0"] = b""
    files["size-1"] = b"\x02"
    files["size-8193"] = make(rec, LARGEST) + b"\0"
    good = cfg(rec)
    files["bad-checksum"] = good[:-2] + bytes([good[-2] ^ 1, good[-1]])
    files["swapped-checksum"] = good[:-2] + bytes([good[-1], good[-2]])
    files["changed-byte"] = bytes([good[0] ^ 0x10]) + good[1:]
    return files


def valid(form):
    make = cfg if form == "cfg" else bin_
    files = {f"v{v}": make(record(v, country=6, operator=2)) for v in (0, 1, 2, 3)}
    # Old country numbering: China was 2 and the USA 3; Finland 9 is current already.
    files["v2-old-china"] = make(record(2, country=2, operator=2))
    files["v0-old-usa"] = make(record(0, country=3, operator=5))
    files["v2-finland"] = make(record(2, country=9, operator=8))
    files["v1-country-255"] = make(record(1, country=255, operator=255))
    files["v2-country-30"] = make(record(2, country=30, operator=2))
    files["v2-internet-ftp"] = make(record(2, send_mode=1, send_via=1, send_to=4))
    files["v2-bad-mode"] = make(record(2, send_mode=7, send_via=9, send_to=9))
    unterminated = record(2)
    unterminated[20:868] = b"\xff" * (868 - 20)  # no text field of the plain part ends
    unterminated[870:1190] = b"A" * 320
    files["v2-unterminated"] = make(unterminated)
    return files


for target, form in (("startup_cfg", "cfg"), ("load_cfg", "cfg"),
                     ("startup_bin", "bin"), ("load_bin", "bin")):
    folder = root / "fuzz" / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for name, data in {**valid(form), **broken(form)}.items():
        (folder / name).write_bytes(data)
    print(f"{folder.relative_to(root)}: {len(list(folder.iterdir()))} files")
