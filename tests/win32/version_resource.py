#!/usr/bin/env python3
# The version resource of each Windows program, read from the file as Explorer's Properties
# read it (the PE resource tree, then VS_VERSIONINFO), and the PE header's time stamp, which a
# reproducible build leaves at 0; then ostrova-cfg.exe --version under wine.
# Usage: version_resource.py VERSION PROGRAM.exe...
import struct, subprocess, sys, tempfile, unittest
from pathlib import Path

VERSION, PROGRAMS = sys.argv[1], sys.argv[2:]
RT_VERSION = 16


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        sections, self.stamp, _, _, optional = struct.unpack_from("<HIIIH", data, pe + 6)
        magic = struct.unpack_from("<H", data, pe + 24)[0]
        directories = pe + 24 + (112 if magic == 0x20B else 96)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = [struct.unpack_from("<IIII", data, pe + 24 + optional + 40 * i + 8)
                         for i in range(sections)]  # virtual size, address, raw size, offset

    def offset(self, rva):
        for size, address, _, raw in self.sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError(f"RVA {rva:#x} is in no section")

    def resource(self, kind):  # the first resource of a type, first name, first language
        base = self.offset(self.resource_rva)
        entry = self._entry(base, 0, kind)
        for _ in range(2):
            entry = self._entry(base, entry & 0x7FFFFFFF, None)
        rva, size = struct.unpack_from("<II", self.data, base + entry)
        return self.data[self.offset(rva):self.offset(rva) + size]

    def _entry(self, base, directory, wanted):
        named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            if wanted is None or name == wanted:
                return target
        raise KeyError(f"no resource of type {wanted}")


def version_info(block, at=0):  # (key, value, children) of a VS_VERSIONINFO node
    length, value_length, kind = struct.unpack_from("<HHH", block, at)
    end = block.index(b"\0\0", at + 6)
    while (end - at - 6) % 2:
        end = block.index(b"\0\0", end + 1)
    key = block[at + 6:end].decode("utf-16-le")
    pos = (end + 2 + 3) & ~3
    size = value_length * 2 if kind == 1 else value_length
    value = block[pos:pos + size]
    value = value.decode("utf-16-le").rstrip("\0") if kind == 1 else value
    pos, children = (pos + size + 3) & ~3, []
    while pos < at + length:
        child = version_info(block, pos)
        children.append(child)
        pos = (pos + child[3] + 3) & ~3
    return key, value, children, length


class VersionResource(unittest.TestCase):
    def test_each_program_names_itself_its_product_and_this_version(self):
        numbers = tuple(int(n) for n in VERSION.split(".")) + (0,)
        for program in PROGRAMS:
            name = Path(program).stem
            pe = Pe(Path(program).read_bytes())
            self.assertEqual(pe.stamp, 0, f"{name}: the link time is in the header")
            key, fixed, children, _ = version_info(pe.resource(RT_VERSION))
            self.assertEqual(key, "VS_VERSION_INFO")
            signature, _, ms, ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
            self.assertEqual(signature, 0xFEEF04BD)
            for high, low in ((ms, ls), (product_ms, product_ls)):
                self.assertEqual((high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF), numbers)
            strings = {k: v for c in children if c[0] == "StringFileInfo"
                       for table in c[2] for k, v, _, _ in table[2]}
            self.assertEqual(strings["ProductName"], "Ostrova+ Settings", name)
            self.assertEqual(strings["FileVersion"], VERSION, name)
            self.assertEqual(strings["ProductVersion"], VERSION, name)
            self.assertEqual(strings["OriginalFilename"], f"{name}.exe")
            self.assertRegex(strings["LegalCopyright"], r"^Copyright \(c\) \d{4} \S")
            self.assertTrue(strings["FileDescription"] and strings["CompanyName"], strings)

    def test_ostrova_cfg_prints_this_version_under_wine(self):
        program = next(p for p in PROGRAMS if Path(p).stem == "ostrova-cfg")
        # Into a file: a pipe would be held open by the wine server.
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(["wine", program, "--version"], stdout=out, timeout=60,
                                  stderr=subprocess.DEVNULL).returncode
            out.seek(0)
            self.assertEqual((code, out.read()), (0, f"ostrova-cfg {VERSION}\r\n".encode()))


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]])
