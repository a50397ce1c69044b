"""Reads an extended dialog template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items), the one
resource form pefile hands over only as bytes."""
import functools
import operator
import re
import struct

# Predefined control classes, stored in templates as atoms.
CLASS_ATOMS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox",
               0x84: "ScrollBar", 0x85: "ComboBox"}
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
        cls = r.text_or_ordinal()
        item["class"] = CLASS_ATOMS.get(cls["ordinal"], cls) if isinstance(cls, dict) else cls
        item["title"] = r.text_or_ordinal() or ""  # a lone 0 word is the empty text
        extra = r.take("H")
        item["extra"] = data[r.pos:r.pos + extra].hex()
        r.pos += extra
        d["items"].append(item)
    if r.pos > len(data):
        raise ValueError("dialog template overruns its resource")
    return d


# The Windows names the resource script uses, with the values of Microsoft's headers.
WINDOWS_NAMES = {
    "IDOK": 1, "IDCANCEL": 2, "WS_POPUP": 0x80000000, "WS_CHILD": 0x40000000,
    "WS_VISIBLE": 0x10000000, "WS_CAPTION": 0x00C00000, "WS_BORDER": 0x00800000,
    "WS_SYSMENU": 0x00080000, "WS_GROUP": 0x00020000, "WS_TABSTOP": 0x00010000,
    "DS_MODALFRAME": 0x80, "DS_SETFONT": DS_SETFONT, "BS_PUSHBUTTON": 0, "BS_DEFPUSHBUTTON": 1,
    "BS_AUTOCHECKBOX": 3, "BS_GROUPBOX": 7, "BS_MULTILINE": 0x2000, "SS_LEFT": 0,
    "SS_BITMAP": 0x0E, "ES_PASSWORD": 0x20, "ES_AUTOHSCROLL": 0x80,
}


def from_script(rc, headers, dialog_id):
    """The DIALOGEX of that id as the resource script states it, in parse()'s form; every
    control a CONTROL statement with its whole style, as in the project's scripts."""
    names = {name: str(number) for name, number in WINDOWS_NAMES.items()}
    for path in headers + [rc]:
        with open(path) as f:
            names.update(re.findall(r"^#define\s+(\w+)\s+(.+?)\s*$", f.read(), re.M))

    def value(token):
        token = token.strip()
        if token.startswith('"'):
            return token[1:-1]
        if "|" in token:
            return functools.reduce(operator.or_, map(value, token.split("|")))
        if token in names:
            return value(names[token])
        return int(token.strip("()"), 0)  # raises on a name nobody defined

    def fields(text):
        return [value(t) for t in re.findall(r'("[^"]*"|[^,"]+)(?:,|$)', text)]

    with open(rc) as f:
        script = f.read()
    for name, head, body in re.findall(r"^(\w+)\s+DIALOGEX\b(.*?)^BEGIN$(.*?)^END$", script,
                                       re.M | re.S):
        if value(name) == dialog_id:
            break
    else:
        raise ValueError("no dialog %d in %s" % (dialog_id, rc))
    rect, *statements = head.strip().splitlines()
    stated = {keyword: fields(rest) for keyword, rest in (s.split(None, 1) for s in statements)}
    d = dict(zip(("x", "y", "cx", "cy"), fields(rect)), helpID=0, menu=None)
    d.update({"class": None, "style": stated["STYLE"][0], "exStyle": stated["EXSTYLE"][0],
              "caption": stated["CAPTION"][0]})
    d["pointsize"], d["typeface"], d["weight"], d["italic"], d["charset"] = stated["FONT"]
    d["items"] = []
    for control in re.split(r"\bCONTROL\b", body.replace("\n", " "))[1:]:
        title, cid, cls, style, x, y, cx, cy = fields(control)
        d["items"].append({"helpID": 0, "exStyle": 0, "style": style, "x": x, "y": y,
                           "cx": cx, "cy": cy, "id": cid, "class": CLASS_ATOMS.get(cls, cls),
                           "title": title if isinstance(title, str) else {"ordinal": title},
                           "extra": ""})
    return d
