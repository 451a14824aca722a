#!/usr/bin/env python3
"""Writes export/jpeg/jpeg_tables.h: the in-memory JPEG coder's sampling and
quantisation tables, one row per quality tenth (row 0 coarsest, row 10
finest), 64 values per row in natural (row-major) order.

What is fixed about the tables (and checked here and by the unit tests):
  - luminance row 0 begins 20 17 26 41 51 39 34 17 and spans 12..51,
    row 5 begins 13 7 7 13 15 18 20 17 and spans 7..20,
    row 9 begins 1 1 1 1 2 2 2 3 and spans 1..8, row 10 spans 1..3;
  - chrominance row 0 begins 21 26 33 34 20 20 17 17 and spans 12..34,
    row 9 begins 1 1 2 4 7 8 8 8 and spans 1..8;
  - luminance sampling is 2x2 for rows 0-4 and 1x1 for rows 5-10.
How the rest is made:
  - every row has a range [lo, hi]; the fixed ranges above, the others
    interpolated between them and widened so that 12 stays inside rows 0-8;
  - the first eight values of a row without a fixed beginning are the
    rounded linear blend of the nearest fixed beginnings above and below;
  - the remaining values are the example tables of the JPEG standard
    (Annex K.1 and K.2) scaled by hi / 60 and clamped into [lo, hi];
  - rows 0-8 end in a run of twelve 12s (the last eight values and the four
    before them), which keeps the quantiser of the highest frequencies fixed
    across the coarse and middle qualities;
  - every value of a row is at least the value at the same place in the next
    (finer) row.

Run from the repository root:  python3 tools/make_jpeg_tables.py
"""
import pathlib

OUT = pathlib.Path(__file__).resolve().parent.parent / "export" / "jpeg" / "jpeg_tables.h"

# JPEG standard, Annex K, tables K.1 and K.2, natural order.
STD_LUMA = [
    16, 11, 10, 16, 24, 40, 51, 61,
    12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56,
    14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77,
    24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99,
]
STD_CHROMA = [
    17, 18, 24, 47, 99, 99, 99, 99,
    18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99,
    47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
]

ROWS = 11
RUN_ROWS = range(0, 9)  # rows that end in the run of 12s
RUN_LENGTH = 12

LUMA_PREFIX = {
    0: [20, 17, 26, 41, 51, 39, 34, 17],
    5: [13, 7, 7, 13, 15, 18, 20, 17],
    9: [1, 1, 1, 1, 2, 2, 2, 3],
}
CHROMA_PREFIX = {
    0: [21, 26, 33, 34, 20, 20, 17, 17],
    9: [1, 1, 2, 4, 7, 8, 8, 8],
}
# Row 10 has no fixed beginning; it is its own end point for the blend.
ROW10_PREFIX = [1, 1, 1, 1, 1, 1, 2, 2]

LUMA_RANGE = [(12, 51), (11, 45), (10, 39), (9, 32), (8, 26), (7, 20),
              (5, 17), (3, 14), (2, 12), (1, 8), (1, 3)]
CHROMA_RANGE = [(12, 34), (11, 32), (10, 29), (9, 26), (8, 23), (7, 20),
                (5, 17), (3, 14), (2, 12), (1, 8), (1, 3)]

HV_SAMPLE = [(2, 2)] * 5 + [(1, 1)] * 6


def prefixes(fixed):
    fixed = dict(fixed)
    fixed[10] = ROW10_PREFIX
    keys = sorted(fixed)
    out = {}
    for r in range(ROWS):
        if r in fixed:
            out[r] = list(fixed[r])
            continue
        a = max(k for k in keys if k < r)
        b = min(k for k in keys if k > r)
        t = (r - a) / (b - a)
        out[r] = [int(round(x + (y - x) * t)) for x, y in zip(fixed[a], fixed[b])]
    return out


def make_table(std, fixed, ranges):
    pre = prefixes(fixed)
    rows = []
    for r in range(ROWS):
        lo, hi = ranges[r]
        row = list(pre[r])
        for v in std[8:]:
            row.append(min(hi, max(lo, int(round(v * hi / 60.0)))))
        if r in RUN_ROWS:
            row[64 - RUN_LENGTH:] = [12] * RUN_LENGTH
        rows.append(row)
    return rows


def check(rows, fixed, ranges, exact_ranges, name):
    for r, row in enumerate(rows):
        lo, hi = ranges[r]
        assert len(row) == 64
        assert all(lo <= v <= hi for v in row), (name, r, row)
        if r in fixed:
            assert row[:8] == fixed[r], (name, r)
        if r in exact_ranges:
            assert (min(row), max(row)) == exact_ranges[r], (name, r, min(row), max(row))
        if r + 1 < len(rows):
            assert all(a >= b for a, b in zip(row, rows[r + 1])), (name, r)


luma = make_table(STD_LUMA, LUMA_PREFIX, LUMA_RANGE)
chroma = make_table(STD_CHROMA, CHROMA_PREFIX, CHROMA_RANGE)
check(luma, LUMA_PREFIX, LUMA_RANGE, {0: (12, 51), 5: (7, 20), 9: (1, 8), 10: (1, 3)}, "qtable0")
check(chroma, CHROMA_PREFIX, CHROMA_RANGE, {0: (12, 34), 9: (1, 8)}, "qtable1")


def emit(name, rows):
    lines = [f"inline constexpr uint32_t {name}[kJpegQualityRows][64] = {{"]
    for r, row in enumerate(rows):
        lines.append(f"    {{  // row {r}")
        for k in range(0, 64, 16):
            lines.append("        " + ", ".join(f"{v:2d}" for v in row[k:k + 16]) + ",")
        lines.append("    },")
    lines.append("};")
    return lines


text = [
    "// Generated by tools/make_jpeg_tables.py; do not edit.",
    "// The JPEG coder's own tables, one row per quality tenth (row 0 coarsest,",
    "// row 10 finest): luminance sampling factors and the luminance (slot 0)",
    "// and chrominance (slot 1) quantisation tables in natural order.",
    "#pragma once",
    "",
    "#include <cstdint>",
    "",
    f"inline constexpr int kJpegQualityRows = {ROWS};",
    "",
    "struct JpegSampling {",
    "  int32_t horizontal, vertical;",
    "};",
    "",
    "inline constexpr JpegSampling hvsample0[kJpegQualityRows] = {",
    "    " + ", ".join(f"{{{h}, {v}}}" for h, v in HV_SAMPLE) + ",",
    "};",
    "",
]
text += emit("qtable0", luma) + [""] + emit("qtable1", chroma) + [""]
OUT.write_text("\n".join(text))
print(f"wrote {OUT}")
