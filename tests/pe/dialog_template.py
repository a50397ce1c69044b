"""Reads an extended dialog template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items), the one
resource form pefile hands over only as bytes."""
import re
import struct

DS_SETFONT = 0x40
_TEXT = re.compile(rb"(?:..)*?\0\0", re.S)  # UTF-16 code units up to a zero one


class _Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt, names=None):
        """One value, or a dict of them by the names given."""
        values = struct.unpack_from("<" + fmt, self.data, self.pos)  # raises when truncated
        self.pos += struct.calcsize("<" + fmt)
        return dict(zip(names.split(), values)) if names else values[0]

    def text(self):
        found = _TEXT.match(self.data, self.pos)
        if not found:
            raise ValueError("unterminated text at offset %d" % self.pos)
        self.pos = found.end()
        return found.group()[:-2].decode("utf-16-le")

    def text_or_ordinal(self):
        """0 for none, 0xFFFF and an ordinal, or a text."""
        first = self.take("H")
        if first == 0:
            return None
        if first == 0xFFFF:
            return {"ordinal": self.take("H")}
        self.pos -= 2
        return self.text()


def parse(data):
    r = _Reader(data)
    d = r.take("HHIIIHhhhh", "version signature helpID exStyle style count x y cx cy")
    if (d.pop("version"), d.pop("signature")) != (1, 0xFFFF):
        raise ValueError("not an extended dialog template")
    count = d.pop("count")
    d["menu"], d["class"], d["caption"] = r.text_or_ordinal(), r.text_or_ordinal(), r.text()
    if d["style"] & DS_SETFONT:
        d.update(r.take("HHBB", "pointsize weight italic charset"), typeface=r.text())
    d["items"] = []
    for _ in range(count):
        r.pos = (r.pos + 3) & ~3
        item = r.take("IIIhhhhi", "helpID exStyle style x y cx cy id")
        item["class"] = r.text_or_ordinal()  # a predefined class as its atom
        item["title"] = r.text_or_ordinal() or ""  # a lone 0 word is the empty text
        extra = r.take("H")
        item["extra"] = data[r.pos:r.pos + extra].hex()
        r.pos += extra
        d["items"].append(item)
    if r.pos > len(data):
        raise ValueError("dialog template overruns its resource")
    return d
