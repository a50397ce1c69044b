"""Reads an extended dialog template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items), the one
resource form pefile hands over only as bytes."""
import struct

# Predefined control classes, stored in templates as atoms.
CLASS_ATOMS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox",
               0x84: "ScrollBar", 0x85: "ComboBox"}
DS_SETFONT = 0x40


class _Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from(fmt, self.data, self.pos)  # raises when truncated
        self.pos += struct.calcsize(fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            if end + 2 > len(self.data):
                raise ValueError("unterminated text at offset %d" % self.pos)
            end += 2
        value = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return value

    def text_or_ordinal(self):
        """0 for none, 0xFFFF and an ordinal, or a text."""
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0:
            self.pos += 2
            return None
        if first == 0xFFFF:
            self.pos += 2
            return {"ordinal": self.take("<H")}
        return self.text()

    def align4(self):
        self.pos = (self.pos + 3) & ~3


def parse(data):
    r = _Reader(data)
    version, signature = r.take("<HH")
    if (version, signature) != (1, 0xFFFF):
        raise ValueError("not an extended dialog template")
    d = {}
    d["helpID"], d["exStyle"], d["style"] = r.take("<III")
    count = r.take("<H")
    d["x"], d["y"], d["cx"], d["cy"] = r.take("<hhhh")
    d["menu"], d["class"] = r.text_or_ordinal(), r.text_or_ordinal()
    d["caption"] = r.text()
    if d["style"] & DS_SETFONT:
        d["pointsize"], d["weight"], d["italic"], d["charset"] = r.take("<HHBB")
        d["typeface"] = r.text()
    d["items"] = []
    for _ in range(count):
        r.align4()
        item = {}
        item["helpID"], item["exStyle"], item["style"] = r.take("<III")
        item["x"], item["y"], item["cx"], item["cy"] = r.take("<hhhh")
        item["id"] = r.take("<i")
        cls = r.text_or_ordinal()
        item["class"] = CLASS_ATOMS.get(cls["ordinal"], cls) if isinstance(cls, dict) else cls
        title = r.text_or_ordinal()
        item["title"] = "" if title is None else title  # a lone 0 word is the empty text
        extra = r.take("<H")
        item["extra"] = data[r.pos:r.pos + extra].hex()
        r.pos += extra
        d["items"].append(item)
    if r.pos > len(data):
        raise ValueError("dialog template overruns its resource")
    return d
