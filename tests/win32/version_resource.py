#!/usr/bin/env python3
# The version resource of each Windows program, read back from the file by the cross toolchain's
# windres (which walks the PE resource tree and VS_VERSIONINFO as Explorer's Properties do, and
# refuses a broken one), and the PE header's time stamp, which a reproducible build leaves at 0.
# (What --version prints is the command line's, tested with the Linux build; cli_paths.sh runs
# ostrova-cfg.exe under wine.)
# Usage: version_resource.py VERSION PROGRAM.exe...
import re, struct, subprocess, sys, unittest
from pathlib import Path

VERSION, PROGRAMS = sys.argv[1], sys.argv[2:]
WINDRES = "x86_64-w64-mingw32-windres"  # the toolchain of cmake/mingw-w64-x86_64.cmake


class VersionResource(unittest.TestCase):
    def test_each_program_names_itself_its_product_and_this_version(self):
        numbers = ", ".join(VERSION.split(".") + ["0"])
        for program in PROGRAMS:
            name = Path(program).stem
            data = Path(program).read_bytes()
            header = struct.unpack_from("<I", data, 0x3C)[0]
            self.assertEqual(struct.unpack_from("<I", data, header + 8)[0], 0,
                             f"{name}: the link time is in the header")
            rc = subprocess.run([WINDRES, "-i", program, "-O", "rc"], check=True,
                                capture_output=True, text=True).stdout
            self.assertEqual(re.findall(r"^ (FILE|PRODUCT)VERSION (.*)$", rc, re.M),
                             [("FILE", numbers), ("PRODUCT", numbers)], name)
            strings = dict(re.findall(r'^ *VALUE "(\w+)", "(.*)"$', rc, re.M))
            self.assertEqual(strings["ProductName"], "Ostrova+ Settings", name)
            self.assertEqual({strings["FileVersion"], strings["ProductVersion"]}, {VERSION}, name)
            self.assertEqual(strings["OriginalFilename"], f"{name}.exe")
            self.assertRegex(strings["LegalCopyright"], r"^Copyright \(c\) \d{4} \S")
            self.assertTrue(strings["FileDescription"] and strings["CompanyName"], strings)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]])
