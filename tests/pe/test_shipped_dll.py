"""The built plug-in DLL as the player will load it: kind, export and imports.

    TUNELORE_PE_DLL=dist/win32/gen_tunelore.dll TUNELORE_PE_MACHINE=i386 \
        python3 -m unittest discover -s tests/pe
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import pe_info  # noqa: E402

DLL = os.environ.get("TUNELORE_PE_DLL")
MACHINE = os.environ.get("TUNELORE_PE_MACHINE")

# What every Windows installation has; anything else (libstdc++-6, libgcc_s, libwinpthread-1,
# zlib1) would be missing from the player's folder and the plug-in would not load.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shlwapi.dll", "msvcrt.dll", "advapi32.dll",
               "gdi32.dll"}


@unittest.skipUnless(DLL, "set TUNELORE_PE_DLL to a built DLL")
class ShippedDll(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.info = pe_info.inspect(DLL)

    def test_is_a_dll_for_the_expected_machine(self):
        self.assertTrue(self.info["dll"])
        if MACHINE:
            expected_format = {"i386": "PE32", "amd64": "PE32+"}[MACHINE]
            self.assertEqual((self.info["machine"], self.info["format"]),
                             (MACHINE, expected_format))

    def test_exports_only_the_entry_function_undecorated(self):
        self.assertEqual(self.info["exports"], ["winampGetGeneralPurposePlugin"])

    def test_imports_only_windows_system_dlls(self):
        imports = {name.lower() for name in self.info["imports"]}
        self.assertTrue(imports, "no imports read")
        self.assertLessEqual(imports, SYSTEM_DLLS, imports - SYSTEM_DLLS)


if __name__ == "__main__":
    unittest.main()
