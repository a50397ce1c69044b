#!/usr/bin/env python3
"""Draw the settings dialog's banner: a 350 x 35, 24-bit BMP.

Standard library only, so the picture can be rebuilt on any machine:
    python3 tools/make_banner.py [output.bmp]     (default: src/ui/banner.bmp)

The text is set in a small bitmap font defined below and drawn at integer
scales, so the letters stay crisp; only the note glyph is anti-aliased.
"""

import os
import struct
import sys

WIDTH = 350
HEIGHT = 35

# Glyphs: 9 rows each; rows 0-6 sit above the baseline (row 6 is the last
# row of a letter without descender), rows 7-8 hold descenders. Glyphs are
# proportional: their width is the length of their rows.
_GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "L": ["#...", "#...", "#...", "#...", "#...", "#...", "####"],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "e": ["....", "....", ".##.", "#..#", "####", "#...", ".###"],
    "f": [".##", "#..", "###", "#..", "#..", "#..", "#.."],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": ["....", "....", "###.", "#..#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "p": ["....", "....", "###.", "#..#", "#..#", "#..#", "###.",
          "#...", "#..."],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###"],
    "y": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###",
          "...#", ".##."],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
}
_ASCENT = 7  # rows above (and including) the baseline row


def _lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def _hex(code):
    return tuple(int(code[i:i + 2], 16) for i in (1, 3, 5))


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[(0.0, 0.0, 0.0)] * width for _ in range(height)]

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0:
            self.px[y][x] = _lerp(self.px[y][x], colour, min(alpha, 1.0))

    def fill_shape(self, inside, box, colour, alpha=1.0, samples=4):
        """Anti-aliased fill of the points where inside(x, y) holds,
        sampled samples x samples times per pixel within box."""
        x0, y0, x1, y1 = box
        step = 1.0 / samples
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    self.blend(x, y, colour, alpha * hits / samples ** 2)

    def to_bmp(self):
        row_bytes = (self.width * 3 + 3) & ~3
        pad = b"\0" * (row_bytes - self.width * 3)
        rows = []
        for y in range(self.height - 1, -1, -1):  # bottom-up
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((_clamp(b), _clamp(g), _clamp(r)))
            rows.append(bytes(row) + pad)
        image = b"".join(rows)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24,
                           0, len(image), 2835, 2835, 0, 0)
        offset = 14 + len(info)
        header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0,
                             offset)
        return header + info + image


def _clamp(v):
    return max(0, min(255, int(round(v))))


def text_width(text, scale):
    cols = sum(len(_GLYPHS[ch][0]) + 1 for ch in text) - 1
    return cols * scale


def draw_text(canvas, text, x, baseline, scale, colour_at, shadow=None):
    """Draw text with its baseline row ending at pixel row baseline - 1.
    colour_at(t) gives the colour for t in 0..1 from ascender to baseline."""
    top = baseline - _ASCENT * scale
    passes = []
    if shadow is not None:
        passes.append((1, 1, lambda t: shadow[0], shadow[1]))
    passes.append((0, 0, colour_at, 1.0))
    for dx, dy, colour, alpha in passes:
        cx = x
        for ch in text:
            glyph = _GLYPHS[ch]
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit != "#":
                        continue
                    for py in range(scale):
                        yy = top + row * scale + py
                        t = (yy - top) / float(_ASCENT * scale - 1)
                        for px in range(scale):
                            canvas.blend(cx + col * scale + px + dx, yy + dy,
                                         colour(min(max(t, 0.0), 1.0)), alpha)
            cx += (len(glyph[0]) + 1) * scale


def draw_notes(canvas, x, y, colour):
    """Two beamed eighth notes; (x, y) is the top-left of a 20 x 24 box."""
    heads = [(x + 5.0, y + 20.0), (x + 16.0, y + 17.0)]

    def head(cx, cy):
        # ellipse tilted upwards to the right, like an engraved note head
        def inside(px, py):
            u, v = px - cx, py - cy
            a = 0.80 * u + 0.45 * v
            b = -0.45 * u + 0.80 * v
            return (a / 4.3) ** 2 + (b / 2.9) ** 2 <= 1.0
        return inside

    for cx, cy in heads:
        canvas.fill_shape(head(cx, cy), (int(cx) - 6, int(cy) - 5,
                                         int(cx) + 7, int(cy) + 6), colour)
    # stems rise from the right side of each head
    stems = [(heads[0][0] + 2.6, heads[0][1] - 1.0),
             (heads[1][0] + 2.6, heads[1][1] - 1.0)]
    top_left, top_right = y + 2.0, y - 1.0
    for (sx, sy), top in zip(stems, (top_left, top_right)):
        canvas.fill_shape(
            lambda px, py, sx=sx, sy=sy, top=top:
                sx - 1.6 <= px <= sx and top <= py <= sy,
            (int(sx) - 3, int(top) - 1, int(sx) + 2, int(sy) + 2), colour)
    # beam joining the stem tops, slanted like the heads
    (lx, _), (rx, _) = stems

    def beam(px, py):
        if not (lx - 1.6 <= px <= rx):
            return False
        t = (px - lx) / (rx - lx)
        edge = top_left + (top_right - top_left) * t
        return edge <= py <= edge + 3.6
    canvas.fill_shape(beam, (int(lx) - 3, int(top_right) - 1,
                             int(rx) + 2, int(top_left) + 6), colour)


def make_banner():
    canvas = Canvas(WIDTH, HEIGHT)
    left, right = _hex("#16204a"), _hex("#0e5a6e")
    for y in range(HEIGHT):
        shade = 1.0 - 0.25 * abs(y - HEIGHT * 0.35) / HEIGHT
        for x in range(WIDTH):
            c = _lerp(left, right, x / (WIDTH - 1.0))
            canvas.px[y][x] = tuple(v * shade for v in c)
    # a faint highlight along the top and a darker rule along the bottom
    for x in range(WIDTH):
        canvas.blend(x, 0, (255, 255, 255), 0.18)
        canvas.blend(x, HEIGHT - 1, (0, 0, 0), 0.35)

    amber = _hex("#f4c15a")
    draw_notes(canvas, 10, 6, amber)

    baseline = 27
    title_x = 40
    white, ice = _hex("#ffffff"), _hex("#bfe3ff")
    draw_text(canvas, "Tunelore", title_x, baseline, 3,
              lambda t: _lerp(white, ice, t), shadow=((0, 0, 0), 0.45))
    title_end = title_x + text_width("Tunelore", 3)

    # thin divider, then the tagline on the same baseline
    div_x = title_end + 14
    for y in range(9, HEIGHT - 8):
        canvas.blend(div_x, y, amber, 0.55)
    tag_x = div_x + 14
    draw_text(canvas, "Lyrics for Winamp", tag_x, baseline, 2,
              lambda t: amber, shadow=((0, 0, 0), 0.40))
    assert tag_x + text_width("Lyrics for Winamp", 2) <= WIDTH - 8
    return canvas.to_bmp()


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(root, "src", "ui", "banner.bmp")
    with open(out, "wb") as f:
        f.write(make_banner())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
