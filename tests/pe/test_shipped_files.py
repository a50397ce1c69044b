"""The shipped files as files, read with pefile (Debian's python3-pefile): the plug-in DLL as
the player will load it (kind, export, imports and resources; its dialog template by
dialog_template.py, against what the resource script states) and the setup program.

    TUNELORE_PE_DLL=build/win32/gen_tunelore.dll TUNELORE_PE_MACHINE=i386 \
    TUNELORE_PE_SETUP=build/win32/tunelore-setup.exe TUNELORE_PE_VERSION_TEXT=0.55 \
        python3 -B -m unittest discover -s tests/pe
"""
import json
import os
import struct
import unittest

import pefile

import dialog_template

DLL = os.environ.get("TUNELORE_PE_DLL")
SETUP = os.environ.get("TUNELORE_PE_SETUP")
MACHINE = os.environ.get("TUNELORE_PE_MACHINE")
# The project's version, as the build states it: "1.0.0.1" and the text users read.
VERSION = os.environ.get("TUNELORE_PE_VERSION", "")
VERSION_TEXT = os.environ.get("TUNELORE_PE_VERSION_TEXT", "")

# What every Windows installation has; anything else (libstdc++-6, libgcc_s, libwinpthread-1,
# zlib1) would be missing from the player's folder and the plug-in would not load.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shlwapi.dll", "msvcrt.dll", "advapi32.dll",
               "gdi32.dll"}

# Every function the 32-bit DLL may import, each checked to exist in Windows XP SP3's own
# system DLLs: the loader refuses a DLL with one missing import, and the player then leaves
# the plug-in out of its list without a word. A new import fails here until someone has
# checked it and added it. Sources: Microsoft's documentation ("Minimum supported client"),
# the MinGW-w64 headers' _WIN32_WINNT guards (each name below declared at 0x0501), and, for
# msvcrt, MinGW-w64's msvcrt.def.in, which groups msvcrt.dll's exports by the Windows release
# that added them.
WINDOWS_XP_SP3 = {
    "kernel32.dll": {
        "CloseHandle", "CreateDirectoryA", "CreateFileA", "CreateSemaphoreW",
        "DeleteCriticalSection", "DeleteFileA", "EnterCriticalSection", "FormatMessageA",
        "FreeLibrary", "GetCurrentThreadId", "GetFileAttributesA",
        "GetFileAttributesExA",  # Windows 98 / NT 4.0
        "GetLastError",
        "GetModuleFileNameA", "GetModuleHandleA",
        "GetModuleHandleExA",  # new in XP
        "GetModuleHandleW", "GetPrivateProfileStringA", "GetProcAddress",
        "InitializeCriticalSection", "IsDBCSLeadByteEx", "LeaveCriticalSection",
        "LoadLibraryA", "LoadLibraryW", "LocalFree", "MultiByteToWideChar",
        "ReleaseSemaphore", "SetEndOfFile", "SetFilePointer", "SetLastError", "Sleep",
        "TlsAlloc", "TlsFree", "TlsGetValue", "TlsSetValue", "VirtualProtect",
        "VirtualQuery", "WaitForSingleObject", "WideCharToMultiByte",
        "WritePrivateProfileStringA", "lstrcmpA", "lstrcpynA", "lstrcpynW",
    },
    "user32.dll": {
        "CallWindowProcA", "CallWindowProcW", "CharNextA", "CheckDlgButton", "DeleteMenu",
        "DestroyWindow", "DialogBoxParamA", "EnableMenuItem", "EndDialog", "FindWindowA",
        "GetAncestor",  # Windows 98 / 2000
        "GetWindowLongA", "GetWindowLongW", "GetWindowRect", "InsertMenuItemA",
        "IsDlgButtonChecked", "IsWindow", "IsWindowUnicode",
        "MonitorFromRect",  # Windows 98 / 2000
        "SendMessageA", "SendMessageW", "SetWindowLongA", "SetWindowLongW", "ShowWindow",
        "SystemParametersInfoA",
    },
    "shlwapi.dll": {
        "StrToIntExA",  # shlwapi 4.71: Internet Explorer 4
        "wnsprintfA",  # shlwapi 5.0: Windows 2000, Internet Explorer 5
    },
    "msvcrt.dll": {
        # in msvcrt.dll since Visual C++ 4.2 / Windows NT 4.0
        "__mb_cur_max", "_amsg_exit", "_close", "_errno", "_fdopen", "_filelengthi64",
        "_fileno", "_initterm", "_iob", "_lock", "_lseeki64", "_read", "_unlock", "_wfopen",
        "_write", "abort", "atoi", "calloc", "fclose", "fflush", "fgetpos", "fopen", "fputc",
        "fputs", "fread", "free", "fseek", "fsetpos", "ftell", "fwrite", "getc", "getwc",
        "iswctype", "localeconv", "malloc", "memchr", "memcmp", "memcpy", "memmove", "memset",
        "putc", "putwc", "realloc", "remove", "rename", "setlocale", "setvbuf", "strcat",
        "strchr", "strcmp", "strcoll", "strcpy", "strerror", "strftime", "strlen", "strncmp", "strstr",
        "strxfrm", "towlower", "towupper", "ungetc", "ungetwc", "vfprintf", "wcscoll",
        "wcsftime", "wcslen", "wcsxfrm",
        "_fstat64",  # added with Windows 2000 / ME
    },
}

# The settings dialog as the resource script states it, read by the build
# (kit/dialog_script.cmake).
STATED_DIALOG = os.environ.get("TUNELORE_PE_DIALOG")

RT_BITMAP, RT_DIALOG, RT_VERSION, RT_MANIFEST = 2, 5, 16, 24


class ShippedFile(unittest.TestCase):
    path = None  # each file's class names its own

    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(cls.path)

    def resource(self, rtype, name=None):
        """The bytes of the one resource of that type (and id)."""
        found = [leaf.data.struct for t in self.pe.DIRECTORY_ENTRY_RESOURCE.entries
                 if t.id == rtype for n in t.directory.entries if name in (None, n.id)
                 for leaf in n.directory.entries]
        self.assertEqual(len(found), 1, "resource %d/%s" % (rtype, name))
        return self.pe.get_data(found[0].OffsetToData, found[0].Size)

    def imports(self):
        """{dll name in lower case: [imported function names]}"""
        found = {}
        for entry in self.pe.DIRECTORY_ENTRY_IMPORT:
            names = found.setdefault(entry.dll.decode().lower(), [])
            names += [i.name.decode() if i.name else "#%d" % i.ordinal for i in entry.imports]
        return found

    def assertFixedVersions(self, version):
        """Both fixed version numbers are version's, its missing parts 0."""
        self.resource(RT_VERSION, 1)
        f = self.pe.VS_FIXEDFILEINFO[0]
        major, minor, patch, tweak = ([int(n) for n in version.split(".")] + [0, 0])[:4]
        ms, ls = major << 16 | minor, patch << 16 | tweak
        self.assertEqual((f.FileVersionMS, f.FileVersionLS, f.ProductVersionMS,
                          f.ProductVersionLS), (ms, ls, ms, ls))

    def version_strings(self):
        """The version resource's strings: one table, US English in Unicode."""
        infos = {info.Key: info for info in self.pe.FileInfo[0]}
        tables = infos[b"StringFileInfo"].StringTable
        self.assertEqual([t.LangID for t in tables], [b"040904b0"])
        self.assertEqual([v.entry for v in infos[b"VarFileInfo"].Var],
                         [{b"Translation": "0x0409 0x04b0"}])
        return {k.decode(): v.decode() for k, v in tables[0].entries.items()}


@unittest.skipUnless(DLL and STATED_DIALOG, "set TUNELORE_PE_DLL and TUNELORE_PE_DIALOG")
class ShippedDll(ShippedFile):
    path = DLL

    def test_is_a_dll_for_the_expected_machine(self):
        self.assertTrue(self.pe.is_dll())
        if MACHINE:
            expected = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}[MACHINE]
            self.assertEqual((self.pe.FILE_HEADER.Machine, self.pe.OPTIONAL_HEADER.Magic),
                             expected)

    def test_exports_only_the_entry_function_undecorated(self):
        names = [s.name.decode() for s in self.pe.DIRECTORY_ENTRY_EXPORT.symbols]
        self.assertEqual(names, ["winampGetGeneralPurposePlugin"])

    def test_imports_only_windows_system_dlls(self):
        dlls = set(self.imports())
        self.assertTrue(dlls, "no imports read")
        self.assertLessEqual(dlls, SYSTEM_DLLS, dlls - SYSTEM_DLLS)

    def test_settings_dialog_template_is_the_scripts(self):
        got = dialog_template.parse(self.resource(RT_DIALOG, 101))
        with open(STATED_DIALOG) as stated_file:
            stated = json.load(stated_file)
        self.assertEqual(len(got["items"]), len(stated["items"]))
        for number, (item, stated_item) in enumerate(zip(got.pop("items"), stated.pop("items"))):
            self.assertEqual(item, stated_item, "control %d" % number)
        self.assertEqual(got, stated)

    def test_banner_bitmap(self):
        data = self.resource(RT_BITMAP, 107)
        header_size, width, height, _, bit_count, compression = struct.unpack_from(
            "<IiiHHI", data)
        self.assertEqual((header_size, width, abs(height), bit_count, compression),
                         (40, 350, 35, 24, 0))
        # 24-bit rows padded to 4 bytes, no colour table
        self.assertEqual(len(data), header_size + ((width * 3 + 3) & ~3) * abs(height))

    def test_version_resource(self):
        self.assertFixedVersions(VERSION)
        strings = self.version_strings()
        f = self.pe.VS_FIXEDFILEINFO[0]
        VS_FF_PRIVATEBUILD, VOS__WINDOWS32, VFT_DLL = 0x08, 0x04, 0x02
        self.assertEqual((f.FileFlagsMask, f.FileFlags, f.FileOS, f.FileType, f.FileSubtype),
                         (0x3F, VS_FF_PRIVATEBUILD, VOS__WINDOWS32, VFT_DLL, 0))
        for key, value in [("Comments", "Lyrics Plugin for winamp 5"),
                           ("FileVersion", VERSION_TEXT), ("InternalName", "gen_wa"),
                           ("OriginalFilename", "gen_tunelore.dll"),
                           ("PrivateBuild", VERSION_TEXT), ("ProductName", "Tunelore"),
                           ("ProductVersion", VERSION_TEXT)]:
            self.assertEqual(strings.get(key), value, key)
        for key in ("FileDescription", "LegalCopyright", "LegalTrademarks"):
            self.assertTrue(strings.get(key), key)


@unittest.skipUnless(DLL and MACHINE == "i386", "Windows XP matters for the 32-bit DLL")
class DllForWindowsXp(ShippedFile):
    path = DLL

    def test_every_import_exists_on_windows_xp_sp3(self):
        unchecked = {dll: sorted(set(names) - WINDOWS_XP_SP3.get(dll, set()))
                     for dll, names in self.imports().items()}
        self.assertEqual({dll: names for dll, names in unchecked.items() if names}, {})


@unittest.skipUnless(SETUP and VERSION_TEXT, "set TUNELORE_PE_SETUP and TUNELORE_PE_VERSION_TEXT")
class SetupProgram(ShippedFile):
    """A 32-bit Windows GUI program carrying its own version."""
    path = SETUP

    def test_is_a_32_bit_gui_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, pefile.OPTIONAL_HEADER_MAGIC_PE)
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
        self.assertTrue(self.pe.is_exe())
        self.assertFalse(self.pe.is_dll())

    def test_version_resource_names_the_product_and_its_version(self):
        strings = self.version_strings()
        for key, value in [("ProductName", "Tunelore"), ("ProductVersion", VERSION_TEXT),
                           ("FileVersion", VERSION_TEXT), ("CompanyName", "Duskwarn"),
                           ("OriginalFilename", "tunelore-setup.exe")]:
            self.assertEqual(strings.get(key), value, key)
        self.assertIn("setup", strings.get("FileDescription", ""))

    def test_fixed_version_numbers_match_the_text(self):
        self.assertFixedVersions(VERSION_TEXT)

    def test_asks_for_no_elevation_up_front(self):
        # The program elevates itself only for a folder that needs it; a manifest without
        # asInvoker would let Windows elevate anything called "setup" before it starts.
        self.assertIn('level="asInvoker"', self.resource(RT_MANIFEST).decode("utf-8"))


if __name__ == "__main__":
    unittest.main()
