#!/usr/bin/env python3
"""Reference values of the hexcone HSL conversion pair, from Python's colorsys.

Writes tests/render/data/glue_hsl_reference.txt:

    python3 tools/make_hsl_reference.py

Lines "F r g b h s l" give colorsys.rgb_to_hls over an 11 x 11 x 11 grid of
RGB (steps of 0.1, which includes grays and ties between channels); lines
"I h s l r g b" give colorsys.hls_to_rgb over hues in 24ths of a turn and
saturation and lightness in eighths. Inputs are rounded to f32 first, so the
C++ side reads exactly the values the reference was computed from.
"""

import colorsys
import os
import struct


def f32(v):
    return struct.unpack('f', struct.pack('f', v))[0]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, 'tests', 'render', 'data', 'glue_hsl_reference.txt')
    lines = ['# colorsys reference for RGB_to_HSL (F) and HSL_to_RGB (I); made by tools/make_hsl_reference.py']
    steps = [f32(i / 10.0) for i in range(11)]
    for r in steps:
        for g in steps:
            for b in steps:
                h, l, s = colorsys.rgb_to_hls(r, g, b)
                lines.append('F %.9g %.9g %.9g %.9g %.9g %.9g' % (r, g, b, h, s, l))
    for i in range(24):
        h = f32(i / 24.0)
        for j in range(9):
            s = f32(j / 8.0)
            for k in range(9):
                l = f32(k / 8.0)
                r, g, b = colorsys.hls_to_rgb(h, l, s)
                lines.append('I %.9g %.9g %.9g %.9g %.9g %.9g' % (h, s, l, r, g, b))
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
