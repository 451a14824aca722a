#!/usr/bin/env python3
"""Generate the two 16 x 16 x 16 colour tables of the Lab glue modes.

Writes render/output/glue_lab_tables.h and render/output/glue_lab_tables.cpp (run from
anywhere; paths are taken relative to this file's repository):

    python3 tools/make_lab_tables.py

Layout: node (i, j, k) of the input channels (first, second, third) holds its
three output bytes at offset 3*i + 48*j + 768*k; node n of an axis stands for
the input value 17*n (0..255).

Encoding of the Lab side: L = 2.55 * L* (0..255), a = a* + 128, b = b* + 128,
each rounded and limited to 0..255.

Colour model: a monitor RGB with a pure 1.8 power transfer, the primaries
below and an equal-energy white (x = y = 1/3), taken to CIE XYZ and on to
CIE L*a*b* relative to that white. Going back, negative XYZ (which the Lab
cube holds wherever it leaves the real colours) is cut to 0 and linear RGB
is limited to 0..1 before the transfer.

Fixed nodes: a handful of nodes must carry exactly the bytes that the
earlier tables of the program carried (FIXED_RGB_TO_LAB, FIXED_LAB_TO_RGB).
The model meets most of them to the byte and misses the rest by at most a
few levels (mostly out-of-gamut nodes, where the old tables were made with a
different gamut clip); those bytes are written over the model's, and the
generated source checks every fixed node with static_assert.
"""

import os

NODES = 16
STEP = 17
GAMMA = 1.8
# Chromaticities (x, y) of the primaries; the white is equal energy.
PRIMARIES = {'red': (0.6544, 0.3301), 'green': (0.3234, 0.5839), 'blue': (0.1405, 0.0994)}
WHITE = (1.0 / 3.0, 1.0 / 3.0)

FIXED_RGB_TO_LAB = {
    (0, 0, 0): (0, 128, 128),
    (15, 15, 15): (255, 128, 128),
    (7, 7, 7): (147, 128, 128),
    (8, 8, 8): (163, 128, 128),
    (15, 0, 0): (144, 208, 208),
    (0, 15, 0): (214, 51, 207),
    (0, 0, 15): (104, 158, 33),
}
FIXED_LAB_TO_RGB = {
    (0, 0, 0): (0, 0, 181),
    (15, 0, 0): (0, 255, 255),
    (0, 15, 0): (28, 0, 182),
    (0, 0, 15): (0, 0, 0),
    (7, 7, 7): (71, 96, 106),
    (8, 8, 8): (125, 104, 95),
    (15, 15, 15): (255, 7, 7),
}

DELTA = 6.0 / 29.0


def lab_f(t):
    return t ** (1.0 / 3.0) if t > DELTA ** 3 else t / (3 * DELTA * DELTA) + 4.0 / 29.0


def lab_finv(t):
    return t ** 3 if t > DELTA else 3 * DELTA * DELTA * (t - 4.0 / 29.0)


def xyz_of(xy):
    x, y = xy
    return [x / y, 1.0, (1.0 - x - y) / y]


def solve3(m, v):
    """Solve m * s = v by Cramer's rule."""
    def det(a):
        return (a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
                - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
                + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]))
    d = det(m)
    out = []
    for c in range(3):
        mc = [row[:] for row in m]
        for r in range(3):
            mc[r][c] = v[r]
        out.append(det(mc) / d)
    return out


def invert3(m):
    cols = [solve3(m, [1.0 if r == c else 0.0 for r in range(3)]) for c in range(3)]
    return [[cols[c][r] for c in range(3)] for r in range(3)]


def rgb_to_xyz_matrix():
    cols = [xyz_of(PRIMARIES[p]) for p in ('red', 'green', 'blue')]
    m = [[cols[c][r] for c in range(3)] for r in range(3)]
    white = xyz_of(WHITE)
    scale = solve3(m, white)  # each primary's share so that RGB (1,1,1) is the white
    m = [[m[r][c] * scale[c] for c in range(3)] for r in range(3)]
    # Relative to the white, so that the white has X = Y = Z = 1.
    return [[m[r][c] / white[r] for c in range(3)] for r in range(3)]


M = rgb_to_xyz_matrix()
M_INV = invert3(M)


def encode(v):
    return max(0, min(255, int(v + 0.5) if v >= 0 else -int(-v + 0.5)))


def rgb_node_to_lab(i, j, k):
    lin = [(n * STEP / 255.0) ** GAMMA for n in (i, j, k)]
    x, y, z = (sum(M[r][c] * lin[c] for c in range(3)) for r in range(3))
    fx, fy, fz = lab_f(x), lab_f(y), lab_f(z)
    return (encode(2.55 * (116 * fy - 16)), encode(500 * (fx - fy) + 128), encode(200 * (fy - fz) + 128))


def lab_node_to_rgb(i, j, k):
    L, a, b = i * STEP / 2.55, j * STEP - 128, k * STEP - 128
    fy = (L + 16) / 116
    xyz = [max(0.0, lab_finv(fy + a / 500)), max(0.0, lab_finv(fy)), max(0.0, lab_finv(fy - b / 200))]
    lin = [sum(M_INV[r][c] * xyz[c] for c in range(3)) for r in range(3)]
    return tuple(encode(255 * max(0.0, min(1.0, v)) ** (1 / GAMMA)) for v in lin)


def build(node_fn, fixed, name):
    table = [0] * (NODES ** 3 * 3)
    misses = []
    for k in range(NODES):
        for j in range(NODES):
            for i in range(NODES):
                node = node_fn(i, j, k)
                if (i, j, k) in fixed:
                    want = fixed[(i, j, k)]
                    if node != want:
                        misses.append(((i, j, k), node, want))
                    node = want
                base = 3 * i + 48 * j + 768 * k
                table[base:base + 3] = node
    for n, got, want in misses:
        print('%s: node %s model %s, fixed %s' % (name, n, got, want))
    return table


def emit_array(name, table):
    lines = ['constexpr uint8_t %s[kLabTableBytes] = {' % name]
    for k in range(NODES):
        lines.append('    // third channel node %d' % k)
        for j in range(NODES):
            base = 768 * k + 48 * j
            row = table[base:base + 48]
            lines.append('    ' + ', '.join('%d' % v for v in row) + ',')
    lines.append('};')
    return '\n'.join(lines)


def emit_checks(name, fixed):
    out = []
    for (i, j, k), want in sorted(fixed.items()):
        base = 3 * i + 48 * j + 768 * k
        cond = ' && '.join('%s[%d] == %d' % (name, base + c, want[c]) for c in range(3))
        out.append('static_assert(%s, "%s node (%d, %d, %d)");' % (cond, name, i, j, k))
    return '\n'.join(out)


HEADER = '''#pragma once
// Generated by tools/make_lab_tables.py; do not edit.
// The two colour tables of the Lab glue modes: 16 x 16 x 16 nodes of three
// bytes, node (i, j, k) at byte 3*i + 48*j + 768*k. RGB_to_Lab_table maps
// (red, green, blue) nodes to (L*, a*, b*), Lab_to_RGB_table the reverse;
// L* 0..255 black to white, a* and b* neutral at 128.

#include <cstdint>

constexpr int32_t kLabTableNodes = 16;
constexpr int32_t kLabTableBytes = kLabTableNodes * kLabTableNodes * kLabTableNodes * 3;

extern const uint8_t RGB_to_Lab_table[kLabTableBytes];
extern const uint8_t Lab_to_RGB_table[kLabTableBytes];
'''


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    fwd = build(rgb_node_to_lab, FIXED_RGB_TO_LAB, 'RGB_to_Lab_table')
    rev = build(lab_node_to_rgb, FIXED_LAB_TO_RGB, 'Lab_to_RGB_table')
    src = ['// Generated by tools/make_lab_tables.py; do not edit.',
           '#include "render/output/glue_lab_tables.h"', '',
           emit_array('RGB_to_Lab_table', fwd), '',
           emit_array('Lab_to_RGB_table', rev), '',
           '// Nodes the tables must carry exactly.',
           emit_checks('RGB_to_Lab_table', FIXED_RGB_TO_LAB),
           emit_checks('Lab_to_RGB_table', FIXED_LAB_TO_RGB), '']
    with open(os.path.join(root, 'render', 'output', 'glue_lab_tables.h'), 'w') as f:
        f.write(HEADER)
    with open(os.path.join(root, 'render', 'output', 'glue_lab_tables.cpp'), 'w') as f:
        f.write('\n'.join(src))


if __name__ == '__main__':
    main()
