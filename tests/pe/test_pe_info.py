"""Checks for tools/pe_info.py and, through it, for a built plug-in DLL.

    python3 -m unittest discover -s tests/pe
    TUNELORE_PE_DLL=build/gen_tunelore.dll python3 -m unittest discover -s tests/pe

The decoder tests build their input bytes here, independently of the
resource compiler. The DLL tests run only when TUNELORE_PE_DLL names a
built DLL and check its resources against what the dialog code relies on.
"""

import os
import struct
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(
    __file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))

import pe_info  # noqa: E402


def wz(text):
    return text.encode("utf-16-le") + b"\0\0"


def pad4(blob):
    return blob + b"\0" * (-len(blob) % 4)


def version_node(key, value=b"", children=(), text=False):
    """Encode one VS_VERSIONINFO-style node the way resource compilers do."""
    if text:
        value_len, value_bytes = len(value) + 1, wz(value)
    else:
        value_len, value_bytes = len(value), value
    body = pad4(struct.pack("<HHH", 0, value_len, 1 if text else 0) + wz(key))
    body = pad4(body + value_bytes)
    for child in children:
        body = pad4(body) + child
    return struct.pack("<H", len(body)) + body[2:]


class DialogTemplateDecoding(unittest.TestCase):
    def extended_template(self):
        head = struct.pack("<HHIII", 1, 0xFFFF, 7, 0x20, 0x80C800C0)
        head += struct.pack("<Hhhhh", 2, 3, 4, 248, 185)
        head += b"\0\0" + b"\0\0" + wz("Cap")
        head += struct.pack("<HHBB", 8, 400, 1, 2) + wz("Face")
        first = struct.pack("<IIIhhhhI", 11, 0x200, 0x5080000E, 6, 6, 235, 23,
                            0xFFFFFFFF)
        first += struct.pack("<HH", 0xFFFF, 0x82)      # Static by atom
        first += struct.pack("<HH", 0xFFFF, 107)       # title: resource 107
        first += struct.pack("<H", 3) + b"\x01\x02\x03"
        second = struct.pack("<IIIhhhhI", 0, 0, 0x50010003, -1, 2, 88, 8, 1026)
        second += wz("MyClass") + b"\0\0" + struct.pack("<H", 0)
        return pad4(head) + pad4(first) + second

    def test_header_font_and_items_with_alignment(self):
        d = pe_info.parse_dialog(self.extended_template())
        self.assertTrue(d["extended"])
        self.assertEqual((d["version"], d["signature"], d["helpID"]),
                         (1, 0xFFFF, 7))
        self.assertEqual((d["exStyle"], d["style"]), (0x20, 0x80C800C0))
        self.assertEqual((d["x"], d["y"], d["cx"], d["cy"]), (3, 4, 248, 185))
        self.assertEqual((d["menu"], d["class"], d["caption"]),
                         (None, None, "Cap"))
        self.assertEqual((d["pointsize"], d["weight"], d["italic"],
                          d["charset"], d["typeface"]), (8, 400, 1, 2, "Face"))
        first, second = d["items"]
        self.assertEqual((first["helpID"], first["exStyle"], first["id"]),
                         (11, 0x200, -1))
        self.assertEqual((first["class"], first["title"], first["extra"]),
                         ("Static", {"ordinal": 107}, "010203"))
        self.assertIn("SS_BITMAP", first["style_names"])
        self.assertEqual((second["x"], second["id"], second["class"],
                          second["title"]), (-1, 1026, "MyClass", ""))

    def test_style_names_leave_no_bit_unexplained(self):
        names = pe_info.decode_window_style(0x50012003 | 0x00400000, True,
                                               "BUTTON")
        self.assertEqual(names, ["WS_CHILD", "WS_VISIBLE", "WS_DLGFRAME",
                                 "WS_TABSTOP", "BS_AUTOCHECKBOX",
                                 "BS_MULTILINE"])
        self.assertEqual(pe_info.decode_window_style(0x80C800C0 | 0x4000,
                                                        False)[-1],
                         "0x00004000")

    def test_truncated_template_is_an_error(self):
        blob = self.extended_template()
        with self.assertRaises(pe_info.PEError):
            pe_info.parse_dialog(blob[:len(blob) - 12])


class VersionAndBitmapDecoding(unittest.TestCase):
    def test_fixed_info_strings_and_translation(self):
        fixed = struct.pack("<13I", 0xFEEF04BD, 0x10000, 0x10000, 1, 0x20003,
                            4, 0x3F, 8, 4, 2, 0, 0, 0)
        strings = version_node("040904b0", children=[
            version_node("Comments", "odd", text=True),
            version_node("ProductName", "Tunelore", text=True)])
        blob = version_node("VS_VERSION_INFO", fixed, [
            version_node("StringFileInfo", children=[strings]),
            version_node("VarFileInfo", children=[
                version_node("Translation", struct.pack("<HHHH", 0x409, 1200,
                                                        0x407, 1252))])])
        v = pe_info.parse_version(blob)
        self.assertEqual((v["fixed"]["file_version"],
                          v["fixed"]["product_version"]),
                         ("1.0.0.1", "2.3.0.4"))
        self.assertEqual(v["fixed"]["flags_names"], ["VS_FF_PRIVATEBUILD"])
        self.assertEqual((v["fixed"]["os_name"], v["fixed"]["type_name"]),
                         ("VOS__WINDOWS32", "VFT_DLL"))
        self.assertEqual(v["string_tables"], [{
            "key": "040904b0",
            "strings": [["Comments", "odd"], ["ProductName", "Tunelore"]]}])
        self.assertEqual(v["translations"],
                         [{"language": "0x0409", "codepage": 1200},
                          {"language": "0x0407", "codepage": 1252}])

    def test_bitmap_header_and_padded_size(self):
        header = struct.pack("<IiiHHIIiiII", 40, 3, -2, 1, 24, 0, 16, 0, 0,
                             0, 0)
        b = pe_info.parse_bitmap(header + b"\0" * 16)
        self.assertEqual((b["width"], b["height"], b["bit_count"],
                          b["compression_name"]), (3, -2, 24, "BI_RGB"))
        # 3 pixels of 3 bytes pad to 12-byte rows
        self.assertEqual(b["expected_data_size"], 40 + 24)

    def test_not_a_pe_file(self):
        with self.assertRaises(pe_info.PEError):
            pe_info.inspect_bytes(b"MZ" + b"\0" * 100)


DLL = os.environ.get("TUNELORE_PE_DLL")

# id, class, text, style, (x, y, cx, cy) of the settings dialog's controls
EXPECTED_CONTROLS = [
    (1, "Button", "OK", 0x50010001, (132, 168, 50, 14)),
    (1026, "Button", "Disable Tunelore Plugin.", 0x50010003, (6, 36, 88, 8)),
    (1085, "Button", "Disable Tunelore Startup Page In MiniBrowser.",
     0x50012003, (42, 60, 162, 8)),
    (-1, "Static", "http://tunelore.test", 0x50020000,
     (6, 168, 75, 8)),
    (-1, "Static", {"ordinal": 107}, 0x5080000E, (6, 6, 235, 23)),
    (-1, "Button", "Options", 0x50000007, (6, 48, 234, 114)),
    (-1, "Static", "Username:", 0x50020000, (72, 119, 36, 8)),
    (1027, "Button", "Auto Log In", 0x50010003, (42, 90, 49, 8)),
    (-1, "Static", "Password:", 0x50020000, (72, 137, 36, 8)),
    (1092, "Edit", "", 0x50810080, (114, 114, 56, 12)),
    (1007, "Edit", "", 0x508100A0, (114, 133, 56, 12)),
    (-1, "Button", "Account", 0x50000007, (66, 102, 114, 54)),
    (2, "Button", "Cancel", 0x50010000, (192, 168, 50, 14)),
    (1086, "Button", "Disable Auto Open Tunelore On Each Song.", 0x50012003,
     (42, 72, 156, 8)),
]


@unittest.skipUnless(DLL, "set TUNELORE_PE_DLL to a built DLL")
class BuiltDllResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.info = pe_info.inspect(DLL)

    def resource(self, rtype, name):
        found = [r for r in self.info["resources"]
                 if r["type"] == rtype and r["name"] == name]
        self.assertEqual(len(found), 1, "%s %s" % (rtype, name))
        return found[0]

    def test_image_kind(self):
        self.assertTrue(self.info["dll"])
        self.assertIn((self.info["machine"], self.info["format"]),
                      [("i386", "PE32"), ("amd64", "PE32+")])

    def test_settings_dialog_template(self):
        d = self.resource("RT_DIALOG", 101)["dialog"]
        self.assertTrue(d["extended"])
        self.assertEqual((d["style"], d["exStyle"]), (0x80C800C0, 0))
        self.assertEqual((d["x"], d["y"], d["cx"], d["cy"]), (0, 0, 248, 185))
        self.assertEqual((d["menu"], d["class"], d["caption"]),
                         (None, None, "Duskwarn's Tunelore Plugin"))
        self.assertEqual((d["pointsize"], d["typeface"]), (8, "MS Sans Serif"))
        got = [(i["id"], i["class"], i["title"], i["style"],
                (i["x"], i["y"], i["cx"], i["cy"]), i["exStyle"], i["extra"])
               for i in d["items"]]
        self.assertEqual(got, [c + (0, "") for c in EXPECTED_CONTROLS])

    def test_banner_bitmap(self):
        b = self.resource("RT_BITMAP", 107)["bitmap"]
        self.assertEqual((b["width"], abs(b["height"]), b["bit_count"],
                          b["compression_name"]), (350, 35, 24, "BI_RGB"))
        self.assertEqual(b["data_size"], b["expected_data_size"])

    def test_version_resource(self):
        v = self.resource("RT_VERSION", 1)["version"]
        f = v["fixed"]
        self.assertEqual((f["file_version"], f["product_version"]),
                         ("1.0.0.1", "1.0.0.1"))
        self.assertEqual((f["flags_mask"], f["flags_names"], f["os_name"],
                          f["type_name"], f["subtype"]),
                         ("0x3F", ["VS_FF_PRIVATEBUILD"], "VOS__WINDOWS32",
                          "VFT_DLL", 0))
        self.assertEqual([t["key"] for t in v["string_tables"]], ["040904b0"])
        strings = dict(map(tuple, v["string_tables"][0]["strings"]))
        for key, value in [("Comments", "Lyrics Plugin for winamp 5"),
                           ("FileVersion", "0.55"), ("InternalName", "gen_wa"),
                           ("OriginalFilename", "gen_tunelore.dll"),
                           ("PrivateBuild", "0.55"), ("ProductName", "Tunelore"),
                           ("ProductVersion", "0.55")]:
            self.assertEqual(strings.get(key), value, key)
        for key in ("FileDescription", "LegalCopyright", "LegalTrademarks"):
            self.assertTrue(strings.get(key), key)
        self.assertEqual(v["translations"],
                         [{"language": "0x0409", "codepage": 1200}])


if __name__ == "__main__":
    unittest.main()
