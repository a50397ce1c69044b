"""The setup program as a file: a 32-bit Windows GUI program carrying its own version.

    TUNELORE_SETUP_PROGRAM=build/win32/tunelore-setup.exe TUNELORE_SETUP_VERSION=0.55 \
        python3 -m unittest discover -s tests/pe -p test_setup_program.py
"""
import os
import unittest

import pefile

SETUP = os.environ.get("TUNELORE_SETUP_PROGRAM")
VERSION = os.environ.get("TUNELORE_SETUP_VERSION", "")


@unittest.skipUnless(SETUP and VERSION, "set TUNELORE_SETUP_PROGRAM and TUNELORE_SETUP_VERSION")
class SetupProgram(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(SETUP)

    def test_is_a_32_bit_gui_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, pefile.OPTIONAL_HEADER_MAGIC_PE)
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
        self.assertTrue(self.pe.is_exe())
        self.assertFalse(self.pe.is_dll())

    def version_strings(self):
        strings = {}
        for info in getattr(self.pe, "FileInfo", []):
            for entry in info:
                for table in getattr(entry, "StringTable", []):
                    strings.update({key.decode(): value.decode()
                                    for key, value in table.entries.items()})
        return strings

    def test_version_resource_names_the_product_and_its_version(self):
        strings = self.version_strings()
        self.assertEqual(strings.get("ProductName"), "Tunelore")
        self.assertEqual(strings.get("ProductVersion"), VERSION)
        self.assertEqual(strings.get("FileVersion"), VERSION)
        self.assertEqual(strings.get("CompanyName"), "Duskwarn")
        self.assertEqual(strings.get("OriginalFilename"), "tunelore-setup.exe")
        self.assertIn("setup", strings.get("FileDescription", ""))

    def test_fixed_version_numbers_match_the_text(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        major, minor = (int(part) for part in VERSION.split("."))
        for high, low in ((fixed.FileVersionMS, fixed.FileVersionLS),
                          (fixed.ProductVersionMS, fixed.ProductVersionLS)):
            self.assertEqual((high >> 16, high & 0xFFFF, low), (major, minor, 0))

    def test_asks_for_no_elevation_up_front(self):
        # The program elevates itself only for a folder that needs it; a manifest without
        # asInvoker would let Windows elevate anything called "setup" before it starts.
        manifests = [entry for entry in self.pe.DIRECTORY_ENTRY_RESOURCE.entries
                     if entry.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
        self.assertEqual(len(manifests), 1)
        data_entry = manifests[0].directory.entries[0].directory.entries[0].data.struct
        manifest = self.pe.get_data(data_entry.OffsetToData, data_entry.Size).decode("utf-8")
        self.assertIn('level="asInvoker"', manifest)


if __name__ == "__main__":
    unittest.main()
