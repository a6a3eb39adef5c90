#!/usr/bin/env python3
"""Checks a wireless.cfg that the Windows program saved after the user picked Instant and typed
Max Num: its size, checksum and fields, from the file layout and the cipher, not the program.

Usage: check_saved.py FILE KEY MAXNUM
"""
import sys
import time

path, key, max_num = sys.argv[1], sys.argv[2].encode(), int(sys.argv[3])
data = open(path, "rb").read()
errors = []
if len(data) != 2048:
    sys.exit(f"{path}: {len(data)} bytes, expected 2048")
body = data[:2046]
high = (sum(body) + 5) % 256
if data[2046:] != bytes([high, 255 - high]):
    errors.append(f"checksum {data[2046:].hex()} != {bytes([high, 255 - high]).hex()}")
plain = bytes((b - key[i % 4] - i % 256) % 256 for i, b in enumerate(body))

def expect(name, offset, width, value):
    got = int.from_bytes(plain[offset:offset + width], "little")
    if got != value:
        errors.append(f"{name}: {got}, expected {value}")

expect("version", 0, 1, 2)
expect("sendMode (Instant)", 1, 1, 0)
expect("sendVia (MMS)", 2, 1, 0)
expect("fixedFlag", 12, 1, 1)
expect("maxNum", 16, 2, max_num)
expect("reportHour", 5, 1, 21)
expect("reportMinute", 6, 1, 30)
year = time.localtime().tm_year
saved = int.from_bytes(plain[1190:1192], "little")
if abs(saved - year) > 1:
    errors.append(f"save year {saved}, expected about {year}")
if errors:
    sys.exit(f"{path}:\n  " + "\n  ".join(errors))
print(f"{path}: 2048 bytes, checksum and fields as expected")
