#!/usr/bin/env python3
"""Checks a wireless.cfg that the Windows program saved after the user picked Instant and typed
Max Num: every byte, against the record built here from the file layout, the defaults a save
writes, the cipher and the checksum, never from the program. The save time is the clock's.

Usage: check_saved.py FILE KEY MAXNUM [PHONE1]
"""
import sys
import time

path, key, max_num = sys.argv[1], sys.argv[2].encode(), int(sys.argv[3])
phone = sys.argv[4].encode() if len(sys.argv) > 4 else b""
data = open(path, "rb").read()
if len(data) != 2048:
    sys.exit(f"{path}: {len(data)} bytes, expected 2048")

# The defaults as a save writes them, with Instant (sendMode 0) and the typed Max Num.
expected = bytearray(2046)
for offset, value in [(0, b"\x02"), (1, b"\x00"), (5, bytes([21])), (6, bytes([30])),
                      (10, (100).to_bytes(2, "little")), (12, b"\x01"),
                      (16, max_num.to_bytes(2, "little")),
                      (340, b"ostrova.camera.senders@example.com\0"), (400, b"demo2018\0"),
                      (440, b"smtp.mail-relay.example.com\0"), (480, b"2525\0")]:
    expected[offset:offset + len(value)] = value
plain = bytearray((b - key[i % 4] - i % 256) % 256 for i, b in enumerate(data[:2046]))
# The save time (year, month, day, hour, minute, second) is taken as saved, if it is now.
stamp = plain[1190:1197]
# Phone1 through its terminator; the bytes behind it keep what longer numbers left there.
if phone:
    expected[20:40] = phone + b"\0" + plain[21 + len(phone):40]
expected[1190:1197] = stamp
saved = (int.from_bytes(stamp[0:2], "little"), *stamp[2:7], 0, 0, -1)
errors = [f"offset {i}: {plain[i]}, expected {expected[i]}"
          for i in range(2046) if plain[i] != expected[i]]
if abs(time.mktime(saved) - time.time()) > 600:
    errors.append(f"save time {saved[:6]} is not now")
high = (sum(data[:2046]) + 5) % 256
if data[2046:] != bytes([high, 255 - high]):
    errors.append(f"checksum {data[2046:].hex()}, expected {bytes([high, 255 - high]).hex()}")
if errors:
    sys.exit(f"{path}:\n  " + "\n  ".join(errors[:20]))
print(f"{path}: every byte as expected (saved {saved[:6]})")
