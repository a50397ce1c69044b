#!/usr/bin/env python3
"""Inspect a Windows PE file (DLL or EXE) and print what it holds as JSON.

    python3 tools/pe_info.py <file.dll> [--json]

Standard library only, so it runs wherever the cross build runs. Reports the
machine, PE32 or PE32+, whether the file is a DLL, the exported names, the
imported DLL names and the resources; dialog templates (both forms), bitmaps
and version resources are decoded field by field, so a build's resources
can be checked without a Windows machine. --json is accepted for scripts
that want to say so; the output is JSON either way.

As a module: inspect(path) or inspect_bytes(data) return the same dict.
"""

import json
import struct
import sys

IMAGE_FILE_DLL = 0x2000

MACHINES = {0x14C: "i386", 0x8664: "amd64", 0x1C0: "arm", 0x1C4: "armnt",
            0xAA64: "arm64"}

RESOURCE_TYPES = {
    1: "RT_CURSOR", 2: "RT_BITMAP", 3: "RT_ICON", 4: "RT_MENU",
    5: "RT_DIALOG", 6: "RT_STRING", 7: "RT_FONTDIR", 8: "RT_FONT",
    9: "RT_ACCELERATOR", 10: "RT_RCDATA", 11: "RT_MESSAGETABLE",
    12: "RT_GROUP_CURSOR", 14: "RT_GROUP_ICON", 16: "RT_VERSION",
    17: "RT_DLGINCLUDE", 19: "RT_PLUGPLAY", 20: "RT_VXD",
    21: "RT_ANICURSOR", 22: "RT_ANIICON", 23: "RT_HTML", 24: "RT_MANIFEST",
}
RT_BITMAP, RT_DIALOG, RT_VERSION = 2, 5, 16

# Predefined control classes, stored in templates as atoms.
CLASS_ATOMS = {0x80: "Button", 0x81: "Edit", 0x82: "Static",
               0x83: "ListBox", 0x84: "ScrollBar", 0x85: "ComboBox"}

_CANONICAL_CLASS = {name.lower(): name for name in CLASS_ATOMS.values()}

DS_SETFONT = 0x40

# Window style bits shared by dialogs and controls (high word).
_WS_COMMON = [
    (0x80000000, "WS_POPUP"), (0x40000000, "WS_CHILD"),
    (0x20000000, "WS_MINIMIZE"), (0x10000000, "WS_VISIBLE"),
    (0x08000000, "WS_DISABLED"), (0x04000000, "WS_CLIPSIBLINGS"),
    (0x02000000, "WS_CLIPCHILDREN"), (0x01000000, "WS_MAXIMIZE"),
    (0x00C00000, "WS_CAPTION"), (0x00800000, "WS_BORDER"),
    (0x00400000, "WS_DLGFRAME"), (0x00200000, "WS_VSCROLL"),
    (0x00100000, "WS_HSCROLL"), (0x00080000, "WS_SYSMENU"),
    (0x00040000, "WS_THICKFRAME"),
]
# The two lowest high-word bits mean different things on top-level windows.
_WS_TOP = [(0x00020000, "WS_MINIMIZEBOX"), (0x00010000, "WS_MAXIMIZEBOX")]
_WS_CHILD_BITS = [(0x00020000, "WS_GROUP"), (0x00010000, "WS_TABSTOP")]

_DS_FLAGS = [
    (0x0001, "DS_ABSALIGN"), (0x0002, "DS_SYSMODAL"), (0x0004, "DS_3DLOOK"),
    (0x0008, "DS_FIXEDSYS"), (0x0010, "DS_NOFAILCREATE"),
    (0x0020, "DS_LOCALEDIT"), (0x0040, "DS_SETFONT"),
    (0x0080, "DS_MODALFRAME"), (0x0100, "DS_NOIDLEMSG"),
    (0x0200, "DS_SETFOREGROUND"), (0x0400, "DS_CONTROL"),
    (0x0800, "DS_CENTER"), (0x1000, "DS_CENTERMOUSE"),
    (0x2000, "DS_CONTEXTHELP"),
]

_BS_TYPES = ["BS_PUSHBUTTON", "BS_DEFPUSHBUTTON", "BS_CHECKBOX",
             "BS_AUTOCHECKBOX", "BS_RADIOBUTTON", "BS_3STATE",
             "BS_AUTO3STATE", "BS_GROUPBOX", "BS_USERBUTTON",
             "BS_AUTORADIOBUTTON", "BS_PUSHBOX", "BS_OWNERDRAW",
             "BS_SPLITBUTTON", "BS_DEFSPLITBUTTON", "BS_COMMANDLINK",
             "BS_DEFCOMMANDLINK"]
_BS_FLAGS = [(0x0020, "BS_LEFTTEXT"), (0x0040, "BS_ICON"),
             (0x0080, "BS_BITMAP"), (0x0300, "BS_CENTER"),
             (0x0100, "BS_LEFT"), (0x0200, "BS_RIGHT"),
             (0x0C00, "BS_VCENTER"), (0x0400, "BS_TOP"),
             (0x0800, "BS_BOTTOM"), (0x1000, "BS_PUSHLIKE"),
             (0x2000, "BS_MULTILINE"), (0x4000, "BS_NOTIFY"),
             (0x8000, "BS_FLAT")]
_ES_ALIGN = ["ES_LEFT", "ES_CENTER", "ES_RIGHT", None]
_ES_FLAGS = [(0x0004, "ES_MULTILINE"), (0x0008, "ES_UPPERCASE"),
             (0x0010, "ES_LOWERCASE"), (0x0020, "ES_PASSWORD"),
             (0x0040, "ES_AUTOVSCROLL"), (0x0080, "ES_AUTOHSCROLL"),
             (0x0100, "ES_NOHIDESEL"), (0x0400, "ES_OEMCONVERT"),
             (0x0800, "ES_READONLY"), (0x1000, "ES_WANTRETURN"),
             (0x2000, "ES_NUMBER")]
_SS_TYPES = {0x00: "SS_LEFT", 0x01: "SS_CENTER", 0x02: "SS_RIGHT",
             0x03: "SS_ICON", 0x04: "SS_BLACKRECT", 0x05: "SS_GRAYRECT",
             0x06: "SS_WHITERECT", 0x07: "SS_BLACKFRAME",
             0x08: "SS_GRAYFRAME", 0x09: "SS_WHITEFRAME",
             0x0A: "SS_USERITEM", 0x0B: "SS_SIMPLE",
             0x0C: "SS_LEFTNOWORDWRAP", 0x0D: "SS_OWNERDRAW",
             0x0E: "SS_BITMAP", 0x0F: "SS_ENHMETAFILE",
             0x10: "SS_ETCHEDHORZ", 0x11: "SS_ETCHEDVERT",
             0x12: "SS_ETCHEDFRAME"}
_SS_FLAGS = [(0x0040, "SS_REALSIZECONTROL"), (0x0080, "SS_NOPREFIX"),
             (0x0100, "SS_NOTIFY"), (0x0200, "SS_CENTERIMAGE"),
             (0x0400, "SS_RIGHTJUST"), (0x0800, "SS_REALSIZEIMAGE"),
             (0x1000, "SS_SUNKEN"), (0x2000, "SS_EDITCONTROL"),
             (0xC000, "SS_WORDELLIPSIS"), (0x4000, "SS_ENDELLIPSIS"),
             (0x8000, "SS_PATHELLIPSIS")]

_VS_FF = [(0x01, "VS_FF_DEBUG"), (0x02, "VS_FF_PRERELEASE"),
          (0x04, "VS_FF_PATCHED"), (0x08, "VS_FF_PRIVATEBUILD"),
          (0x10, "VS_FF_INFOINFERRED"), (0x20, "VS_FF_SPECIALBUILD")]
_VOS = {0x00000004: "VOS__WINDOWS32", 0x00040004: "VOS_NT_WINDOWS32",
        0x00040000: "VOS_NT", 0x00010001: "VOS_DOS_WINDOWS16",
        0x00010004: "VOS_DOS_WINDOWS32", 0x00000000: "VOS_UNKNOWN"}
_VFT = {0: "VFT_UNKNOWN", 1: "VFT_APP", 2: "VFT_DLL", 3: "VFT_DRV",
        4: "VFT_FONT", 5: "VFT_VXD", 7: "VFT_STATIC_LIB"}

_BI_COMPRESSION = {0: "BI_RGB", 1: "BI_RLE8", 2: "BI_RLE4",
                   3: "BI_BITFIELDS", 4: "BI_JPEG", 5: "BI_PNG"}


class PEError(Exception):
    pass


def _flags(value, table, taken=0):
    """Names of the table's masks fully present in value. A composite mask
    (WS_CAPTION) is listed instead of its parts. Returns (names, bits)."""
    names = []
    for mask, name in table:
        if value & mask == mask and mask & ~taken:
            names.append(name)
            taken |= mask
    return names, taken


def decode_window_style(style, child, class_name=None):
    """Readable names for a dialog's or control's style; bits no name
    explains are listed as one hex value, so nothing is hidden."""
    # class names are case-insensitive; windres stores them upper-cased
    class_name = _CANONICAL_CLASS.get(str(class_name).lower(), class_name)
    names, taken = _flags(style, _WS_COMMON)
    more, taken = _flags(style, _WS_CHILD_BITS if child else _WS_TOP, taken)
    names += more
    low = style & 0xFFFF
    if not child:
        more, taken = _flags(style, _DS_FLAGS, taken)
        names += more
    elif class_name == "Button":
        names.append(_BS_TYPES[low & 0xF])
        taken |= 0xF
        more, taken = _flags(style, _BS_FLAGS, taken)
        names += more
    elif class_name == "Edit":
        if _ES_ALIGN[low & 3]:
            names.append(_ES_ALIGN[low & 3])
            taken |= 3
        more, taken = _flags(style, _ES_FLAGS, taken)
        names += more
    elif class_name == "Static":
        if (low & 0x1F) in _SS_TYPES:
            names.append(_SS_TYPES[low & 0x1F])
            taken |= 0x1F
        more, taken = _flags(style, _SS_FLAGS, taken)
        names += more
    rest = style & ~taken & 0xFFFFFFFF
    if rest:
        names.append("0x%08X" % rest)
    return names


class _Reader:
    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.pos + size > len(self.data):
            raise PEError("truncated data at offset %d" % self.pos)
        values = struct.unpack_from(fmt, self.data, self.pos)
        self.pos += size
        return values if len(values) > 1 else values[0]

    def wstr(self):
        """A NUL-terminated UTF-16LE string."""
        end = self.pos
        while True:
            if end + 2 > len(self.data):
                raise PEError("unterminated string at offset %d" % self.pos)
            if self.data[end:end + 2] == b"\0\0":
                break
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le", "replace")
        self.pos = end + 2
        return text

    def sz_or_ord(self):
        """A template field: 0 for none, 0xFFFF plus an ordinal, or text."""
        first = struct.unpack_from("<H", self.data, self.pos)[0] \
            if self.pos + 2 <= len(self.data) else None
        if first is None:
            raise PEError("truncated data at offset %d" % self.pos)
        if first == 0:
            self.pos += 2
            return None
        if first == 0xFFFF:
            self.pos += 2
            return {"ordinal": self.take("<H")}
        return self.wstr()

    def align(self, n=4, base=0):
        self.pos = base + ((self.pos - base + n - 1) // n) * n


class PEFile:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PEError("not an MZ executable")
        e_lfanew = struct.unpack_from("<I", data, 0x3C)[0]
        if data[e_lfanew:e_lfanew + 4] != b"PE\0\0":
            raise PEError("no PE signature")
        r = _Reader(data, e_lfanew + 4)
        (self.machine, nsections, _, _, _, opt_size,
         self.characteristics) = r.take("<HHIIIHH")
        opt = r.pos
        self.magic = struct.unpack_from("<H", data, opt)[0]
        if self.magic == 0x10B:
            dir_count_at, dirs_at = opt + 92, opt + 96
        elif self.magic == 0x20B:
            dir_count_at, dirs_at = opt + 108, opt + 112
        else:
            raise PEError("unknown optional header magic 0x%X" % self.magic)
        self.size_of_headers = struct.unpack_from("<I", data, opt + 60)[0]
        count = struct.unpack_from("<I", data, dir_count_at)[0]
        self.dirs = [struct.unpack_from("<II", data, dirs_at + 8 * i)
                     for i in range(min(count, 16))]
        self.sections = []
        at = opt + opt_size
        for i in range(nsections):
            name, vsize, va, rawsize, rawptr = struct.unpack_from(
                "<8sIIII", data, at + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  va, max(vsize, rawsize), rawptr, rawsize))

    def offset(self, rva):
        if rva < self.size_of_headers:
            return rva
        for _, va, size, rawptr, rawsize in self.sections:
            if va <= rva < va + size:
                if rva - va >= rawsize:
                    raise PEError("RVA 0x%X lies in uninitialised data" % rva)
                return rawptr + rva - va
        raise PEError("RVA 0x%X is in no section" % rva)

    def directory(self, index):
        if index >= len(self.dirs):
            return 0, 0
        return self.dirs[index]

    def cstr(self, rva):
        at = self.offset(rva)
        end = self.data.index(b"\0", at)
        return self.data[at:end].decode("latin-1")

    def exports(self):
        rva, size = self.directory(0)
        if not rva:
            return []
        at = self.offset(rva)
        # IMAGE_EXPORT_DIRECTORY: NumberOfNames, then AddressOfFunctions,
        # AddressOfNames
        nnames, _, names_rva = struct.unpack_from("<III", self.data, at + 24)
        names = []
        table = self.offset(names_rva) if nnames else 0
        for i in range(nnames):
            names.append(self.cstr(struct.unpack_from(
                "<I", self.data, table + 4 * i)[0]))
        return names

    def imports(self):
        rva, _ = self.directory(1)
        if not rva:
            return []
        at = self.offset(rva)
        names = []
        while True:
            desc = struct.unpack_from("<IIIII", self.data, at)
            if not any(desc):
                break
            names.append(self.cstr(desc[3]))
            at += 20
        return names

    def resources(self):
        """Leaves of the resource tree: (type, name, language, data)."""
        rva, _ = self.directory(2)
        if not rva:
            return []
        base = self.offset(rva)
        leaves = []

        def entries(dir_off):
            n_named, n_ids = struct.unpack_from("<HH", self.data,
                                                base + dir_off + 12)
            for i in range(n_named + n_ids):
                name, target = struct.unpack_from(
                    "<II", self.data, base + dir_off + 16 + 8 * i)
                if name & 0x80000000:
                    r = _Reader(self.data, base + (name & 0x7FFFFFFF))
                    length = r.take("<H")
                    key = self.data[r.pos:r.pos + 2 * length].decode(
                        "utf-16-le", "replace")
                else:
                    key = name
                yield key, target

        for rtype, t_off in entries(0):
            for rname, n_off in entries(t_off & 0x7FFFFFFF):
                for lang, l_off in entries(n_off & 0x7FFFFFFF):
                    if l_off & 0x80000000:
                        raise PEError("resource tree deeper than 3 levels")
                    data_rva, size, codepage, _ = struct.unpack_from(
                        "<IIII", self.data, base + l_off)
                    at = self.offset(data_rva)
                    leaves.append((rtype, rname, lang, codepage,
                                   self.data[at:at + size]))
        return leaves


def _class_name(value):
    if isinstance(value, dict):
        return CLASS_ATOMS.get(value["ordinal"],
                               "atom 0x%X" % value["ordinal"])
    return value


def _signed32(v):
    return v - (1 << 32) if v & 0x80000000 else v


def parse_dialog(data):
    """DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items, or the older
    DLGTEMPLATE form with DLGITEMTEMPLATE items."""
    r = _Reader(data)
    version, signature = r.take("<HH")
    extended = signature == 0xFFFF
    out = {"extended": extended}
    if extended:
        out["version"] = version
        out["signature"] = signature
        out["helpID"] = r.take("<I")
        out["exStyle"], out["style"] = r.take("<II")
    else:
        r.pos = 0
        out["style"], out["exStyle"] = r.take("<II")
    count = r.take("<H")
    out["x"], out["y"], out["cx"], out["cy"] = r.take("<hhhh")
    out["menu"] = r.sz_or_ord()
    out["class"] = r.sz_or_ord()
    out["caption"] = r.wstr()
    out["style_hex"] = "0x%08X" % out["style"]
    out["style_names"] = decode_window_style(out["style"], child=False)
    out["exStyle_hex"] = "0x%08X" % out["exStyle"]
    if out["style"] & DS_SETFONT:
        out["pointsize"] = r.take("<H")
        if extended:
            out["weight"] = r.take("<H")
            out["italic"], out["charset"] = r.take("<BB")
        out["typeface"] = r.wstr()
    out["item_count"] = count
    items = []
    for index in range(count):
        r.align(4)
        item = {"index": index + 1}
        if extended:
            item["helpID"], item["exStyle"], item["style"] = r.take("<III")
        else:
            item["style"], item["exStyle"] = r.take("<II")
        item["x"], item["y"], item["cx"], item["cy"] = r.take("<hhhh")
        item["id"] = _signed32(r.take("<I")) if extended else \
            r.take("<h")
        raw_class = r.sz_or_ord()
        item["class"] = _class_name(raw_class)
        if isinstance(raw_class, dict):
            item["class_atom"] = raw_class["ordinal"]
        title = r.sz_or_ord()
        # a lone 0 word here is the empty text, not "no title"
        item["title"] = "" if title is None else title
        extra = r.take("<H")
        item["extra"] = data[r.pos:r.pos + extra].hex()
        r.pos += extra
        item["style_hex"] = "0x%08X" % item["style"]
        item["style_names"] = decode_window_style(item["style"], child=True,
                                                  class_name=item["class"])
        item["exStyle_hex"] = "0x%08X" % item["exStyle"]
        items.append(item)
    out["items"] = items
    if r.pos > len(data):
        raise PEError("dialog template overruns its resource")
    return out


def parse_bitmap(data):
    (size, width, height, planes, bitcount, compression, size_image, xppm,
     yppm, used, important) = _Reader(data).take("<IiiHHIIiiII")
    row = ((abs(width) * bitcount + 31) // 32) * 4
    out = {"header_size": size, "width": width, "height": height,
           "planes": planes, "bit_count": bitcount,
           "compression": compression,
           "compression_name": _BI_COMPRESSION.get(compression, "unknown"),
           "size_image": size_image, "colors_used": used,
           "data_size": len(data)}
    if compression == 0 and bitcount >= 16:
        # rows padded to 4 bytes, no colour table
        out["expected_data_size"] = size + row * abs(height)
    return out


def _version_node(data, pos, end):
    """One VS_VERSIONINFO-style node: (key, value, children, next_pos)."""
    r = _Reader(data, pos)
    length, value_length, vtype = r.take("<HHH")
    if length == 0:
        raise PEError("empty version node at offset %d" % pos)
    node_end = min(pos + length, end)
    key = r.wstr()
    r.align(4)
    value_at = r.pos
    if vtype == 1:
        # text: the length counts UTF-16 units; read up to the terminator,
        # which also copes with compilers that count bytes instead
        chars = []
        q = value_at
        while q + 2 <= node_end and data[q:q + 2] != b"\0\0":
            chars.append(data[q:q + 2])
            q += 2
        value = b"".join(chars).decode("utf-16-le", "replace")
        r.pos = value_at + 2 * value_length
    else:
        value = data[value_at:value_at + value_length]
        r.pos = value_at + value_length
    r.align(4)
    children = []
    while r.pos + 6 <= node_end:
        child = _version_node(data, r.pos, node_end)
        children.append(child[:3])
        r.pos = child[3]
        r.align(4)
    next_pos = pos + length
    next_pos = (next_pos + 3) // 4 * 4
    return key, value, children, next_pos


def _version_string(ms, ls):
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def parse_version(data):
    key, value, children, _ = _version_node(data, 0, len(data))
    out = {"key": key}
    if len(value) >= 52:
        f = struct.unpack_from("<13I", value)
        if f[0] != 0xFEEF04BD:
            raise PEError("bad VS_FIXEDFILEINFO signature 0x%X" % f[0])
        flag_names, _ = _flags(f[7], _VS_FF)
        out["fixed"] = {
            "signature": "0x%08X" % f[0],
            "struct_version": "0x%08X" % f[1],
            "file_version": _version_string(f[2], f[3]),
            "product_version": _version_string(f[4], f[5]),
            "flags_mask": "0x%X" % f[6], "flags": "0x%X" % f[7],
            "flags_names": flag_names,
            "os": "0x%X" % f[8], "os_name": _VOS.get(f[8], "unknown"),
            "type": f[9], "type_name": _VFT.get(f[9], "unknown"),
            "subtype": f[10],
            "date": "0x%08X%08X" % (f[11], f[12]),
        }
    tables, translations = [], []
    for ckey, _, grandchildren in children:
        if ckey == "StringFileInfo":
            for tkey, _, strings in grandchildren:
                tables.append({"key": tkey,
                               "strings": [[k, v] for k, v, _ in strings]})
        elif ckey == "VarFileInfo":
            for vkey, vvalue, _ in grandchildren:
                if vkey == "Translation":
                    for i in range(0, len(vvalue) - 3, 4):
                        lang, cp = struct.unpack_from("<HH", vvalue, i)
                        translations.append({"language": "0x%04X" % lang,
                                             "codepage": cp})
    out["string_tables"] = tables
    out["translations"] = translations
    return out


def inspect_bytes(data):
    pe = PEFile(data)
    result = {
        "machine": MACHINES.get(pe.machine, "0x%04X" % pe.machine),
        "format": "PE32+" if pe.magic == 0x20B else "PE32",
        "dll": bool(pe.characteristics & IMAGE_FILE_DLL),
        "exports": pe.exports(),
        "imports": pe.imports(),
        "resources": [],
    }
    for rtype, rname, lang, codepage, blob in pe.resources():
        entry = {"type": RESOURCE_TYPES.get(rtype, rtype)
                 if isinstance(rtype, int) else rtype,
                 "name": rname, "language": "0x%04X" % lang
                 if isinstance(lang, int) else lang,
                 "size": len(blob)}
        if rtype == RT_DIALOG:
            entry["dialog"] = parse_dialog(blob)
        elif rtype == RT_BITMAP:
            entry["bitmap"] = parse_bitmap(blob)
        elif rtype == RT_VERSION:
            entry["version"] = parse_version(blob)
        result["resources"].append(entry)
    return result


def inspect(path):
    with open(path, "rb") as f:
        return inspect_bytes(f.read())


def main(argv):
    args = [a for a in argv[1:] if a != "--json"]
    if len(args) != 1 or args[0].startswith("-"):
        sys.stderr.write("usage: pe_info.py <file.dll> [--json]\n")
        return 2
    try:
        result = inspect(args[0])
    except (OSError, PEError, struct.error, ValueError) as e:
        sys.stderr.write("pe_info: %s: %s\n" % (args[0], e))
        return 1
    json.dump(result, sys.stdout, indent=2)
    sys.stdout.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
