#!/usr/bin/python3
"""Draw the settings dialog's banner: a 350 x 35, 24-bit BMP, with Debian's python3-pil
(tools/install-deps.sh native):
    /usr/bin/python3 tools/make_banner.py [output.bmp]     (default: banner.bmp in $TMPDIR)
src/ui/banner.bmp is this script's picture, byte for byte (the native suite checks it); copy a
new drawing there to ship it.

The text is set in a small bitmap font defined below and drawn at integer
scales, so the letters stay crisp; only the note glyph is anti-aliased.
"""

import math
import os
import sys
import tempfile

from PIL import Image, ImageDraw

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
_SUPERSAMPLE = 8  # the note is drawn this many times larger, then shrunk: anti-aliased


def _lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def _hex(code):
    return tuple(int(code[i:i + 2], 16) for i in (1, 3, 5))


def draw_text(banner, text, x, baseline, scale, top, bottom, shadow_alpha):
    """Draws text with its baseline row ending at pixel row baseline - 1, coloured from top
    at the ascender to bottom at the baseline, over a black shadow one pixel down and right;
    returns where it ends."""
    mask = Image.new("L", (sum(len(_GLYPHS[ch][0]) + 1 for ch in text) - 1, 9))
    column = 0
    for ch in text:
        for row, bits in enumerate(_GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    mask.putpixel((column + col, row), 255)
        column += len(_GLYPHS[ch][0]) + 1
    mask = mask.resize((mask.width * scale, mask.height * scale), Image.Resampling.NEAREST)
    y = baseline - _ASCENT * scale
    banner.paste((0, 0, 0), (x + 1, y + 1), mask.point(lambda v: round(v * shadow_alpha)))
    ramp = Image.new("L", (1, mask.height))
    ramp.putdata([min(255, round(255 * row / (_ASCENT * scale - 1))) for row in range(mask.height)])
    colours = Image.composite(Image.new("RGB", mask.size, bottom),
                              Image.new("RGB", mask.size, top), ramp.resize(mask.size))
    banner.paste(colours, (x, y), mask)
    return x + mask.width


def draw_notes(banner, x, y, colour):
    """Two beamed eighth notes; (x, y) is the top-left of a 20 x 24 box."""
    mask = Image.new("L", (WIDTH * _SUPERSAMPLE, HEIGHT * _SUPERSAMPLE))
    draw = ImageDraw.Draw(mask)

    def shape(points):
        draw.polygon([(px * _SUPERSAMPLE, py * _SUPERSAMPLE) for px, py in points], fill=255)

    heads = [(x + 5.0, y + 20.0), (x + 16.0, y + 17.0)]
    for cx, cy in heads:
        # an ellipse tilted upwards to the right, like an engraved note head
        ellipse = [(4.3 * math.cos(t), 2.9 * math.sin(t))
                   for t in (math.tau * i / 64 for i in range(64))]
        shape([(cx + (0.80 * a - 0.45 * b) / 0.8425, cy + (0.45 * a + 0.80 * b) / 0.8425)
               for a, b in ellipse])
    # stems rise from the right side of each head
    stems = [(hx + 2.6, hy - 1.0, top) for (hx, hy), top in zip(heads, (y + 2.0, y - 1.0))]
    for sx, sy, top in stems:
        shape([(sx - 1.6, top), (sx, top), (sx, sy), (sx - 1.6, sy)])
    # a beam joining the stem tops, slanted like the heads
    (lx, _, left_top), (rx, _, right_top) = stems
    edge = left_top - 1.6 * (right_top - left_top) / (rx - lx)
    shape([(lx - 1.6, edge), (rx, right_top), (rx, right_top + 3.6), (lx - 1.6, edge + 3.6)])
    banner.paste(colour, (0, 0), mask.resize(banner.size, Image.Resampling.BOX))


def make_banner():
    left, right = _hex("#16204a"), _hex("#0e5a6e")
    banner = Image.new("RGB", (WIDTH, HEIGHT))
    banner.putdata([
        _lerp((0, 0, 0), _lerp(left, right, x / (WIDTH - 1.0)),
              1.0 - 0.25 * abs(y - HEIGHT * 0.35) / HEIGHT)
        for y in range(HEIGHT) for x in range(WIDTH)])
    # a faint highlight along the top and a darker rule along the bottom
    draw = ImageDraw.Draw(banner, "RGBA")
    draw.line([(0, 0), (WIDTH - 1, 0)], fill=(255, 255, 255, 46))
    draw.line([(0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1)], fill=(0, 0, 0, 89))

    amber = _hex("#f4c15a")
    draw_notes(banner, 10, 6, amber)
    baseline = 27
    title_end = draw_text(banner, "Tunelore", 40, baseline, 3, _hex("#ffffff"),
                          _hex("#bfe3ff"), 0.45)
    # a thin divider, then the tagline on the same baseline
    divider = title_end + 14
    draw.line([(divider, 9), (divider, HEIGHT - 9)], fill=amber + (140,))
    end = draw_text(banner, "Lyrics for Winamp", divider + 14, baseline, 2, amber, amber, 0.40)
    assert end <= WIDTH - 8
    return banner


if __name__ == "__main__":
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(tempfile.gettempdir(), "banner.bmp")
    make_banner().save(output)
    print(output)
