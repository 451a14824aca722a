#!/usr/bin/env python3
"""Draws the four drop-shadow images of the gallery pages (top, left, right,
bottom) as 16-grey GIF89a files with one graphic control extension each, and
writes them to resources/gallery/ and, as byte arrays, to export/html/html_gifs.h.

The frame is light above and at the sides and darker below, fading towards
its ends, so that a thumbnail seems to float a little above the page.

Usage: python3 tools/make_gallery_gifs.py [repository root]
"""
import os
import sys

GREYS = [255 - 9 * i for i in range(16)]  # index 0 is the white page


def shade_top(x, y, w, h):
    edge = min(x, w - 1 - x)
    base = 2 if y == 0 else 4
    return max(0, base - (2 - edge)) if edge < 2 else base


def shade_side(x, y, w, h, inner_at_right):
    depth = x if inner_at_right else w - 1 - x  # 0 outermost
    base = [1, 3, 5][depth]
    return max(0, base - 2) if y < 3 else base


def shade_bottom(x, y, w, h):
    base = [9, 7, 5, 3, 1][y]
    edge = min(x, w - 1 - x)
    return max(0, base - 2 * (3 - edge)) if edge < 3 else base


def lzw_literals(pixels, min_code=4):
    """LZW data that never grows past 5-bit codes: a clear code before every
    run of literals short enough that the decoder's table stays below 32."""
    clear, end = 1 << min_code, (1 << min_code) + 1
    width = min_code + 1
    codes = []
    run = 0
    for p in pixels:
        if run == 0:
            codes.append(clear)
        codes.append(p)
        run = (run + 1) % 12
    codes.append(end)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(w, h, shade):
    pixels = [shade(x, y, w, h) for y in range(h) for x in range(w)]
    out = bytearray(b"GIF89a")
    out += w.to_bytes(2, "little") + h.to_bytes(2, "little")
    out += bytes([0xF3, 0, 0])  # global table of 16 entries, 4 bits of colour
    for g in GREYS:
        out += bytes([g, g, g])
    out += bytes([0x21, 0xF9, 4, 0, 0, 0, 0, 0])  # graphic control: no delay, no transparency
    out += bytes([0x2C, 0, 0, 0, 0]) + w.to_bytes(2, "little") + h.to_bytes(2, "little") + bytes([0])
    data = lzw_literals(pixels)
    out.append(4)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out += bytes([0, 0x3B])
    return bytes(out)


IMAGES = [
    ("top", 94, 2, shade_top),
    ("left", 3, 88, lambda x, y, w, h: shade_side(x, y, w, h, True)),
    ("right", 3, 88, lambda x, y, w, h: shade_side(x, y, w, h, False)),
    ("bottom", 94, 5, shade_bottom),
]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    folder = os.path.join(root, "resources", "gallery")
    os.makedirs(folder, exist_ok=True)
    header = [
        "// Made by tools/make_gallery_gifs.py; do not edit. The drop-shadow",
        "// images of the gallery pages, written whole into each page's",
        "// web_images folder.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
    ]
    for name, w, h, shade in IMAGES:
        data = gif(w, h, shade)
        with open(os.path.join(folder, name + ".gif"), "wb") as f:
            f.write(data)
        header.append("inline constexpr uint8_t kGallery_%s_gif[%d] = {" % (name, len(data)))
        for i in range(0, len(data), 16):
            header.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
        header.append("};")
        header.append("")
    with open(os.path.join(root, "export", "html", "html_gifs.h"), "w") as f:
        f.write("\n".join(header))


if __name__ == "__main__":
    main()
