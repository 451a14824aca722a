#!/usr/bin/env python3
"""Draws the dialog's twelve button icons (16 x 16 RGBA) and writes them as
dialog/button_icons_table.h, plus a PNG of each in resources/icons/ to look
at. Run from the repository root: python3 tools/make_button_icons.py"""
import math
import os
import struct
import zlib

SIZE = 16
INK = (40, 40, 40, 255)
BLUE = (40, 100, 200, 255)
SKY = (150, 190, 235, 255)
GREEN = (70, 150, 70, 255)
RED = (200, 60, 50, 255)
YELLOW = (235, 190, 40, 255)
WHITE = (255, 255, 255, 255)
BROWN = (140, 100, 60, 255)


class Icon:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def disc(self, cx, cy, r, c):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c, start=0.0, end=360.0):
        for k in range(200):
            a = math.radians(start + (end - start) * k / 199)
            self.set(int(cx + r * math.cos(a)), int(cy - r * math.sin(a)), c)


def dice(pips_only=False):
    i = Icon()
    i.rect(1, 1, 14, 14, WHITE)
    i.frame(1, 1, 14, 14, INK)
    for x, y in [(4, 4), (11, 4), (7, 7), (4, 11), (11, 11)]:
        i.rect(x - 1, y - 1, x, y, RED if pips_only else INK)
    return i


def constrained():
    i = dice(True)
    # A grid over the die: random, but on the ninety-degree steps.
    for k in (5, 10):
        i.line(k, 2, k, 13, BLUE)
        i.line(2, k, 13, k, BLUE)
    return i


def straighten():
    i = Icon()
    i.rect(1, 6, 14, 9, YELLOW)
    i.frame(1, 6, 14, 9, INK)
    i.rect(7, 7, 8, 8, GREEN)
    i.line(0, 13, 15, 13, INK)
    return i


def undo():
    i = Icon()
    i.ring(8, 9, 5, BLUE, -90, 180)
    i.line(3, 9, 1, 6, BLUE)
    i.line(3, 9, 6, 7, BLUE)
    i.line(3, 8, 3, 10, BLUE)
    return i


def save():
    i = Icon()
    i.rect(2, 2, 13, 13, BLUE)
    i.rect(4, 2, 11, 6, WHITE)
    i.rect(9, 3, 10, 5, INK)
    i.rect(4, 9, 11, 13, WHITE)
    i.frame(2, 2, 13, 13, INK)
    return i


def load():
    i = Icon()
    i.rect(2, 9, 13, 14, BROWN)
    i.frame(2, 9, 13, 14, INK)
    i.rect(7, 1, 8, 8, GREEN)
    i.line(4, 5, 7, 8, GREEN)
    i.line(11, 5, 8, 8, GREEN)
    return i


def cubemap():
    i = Icon()
    cells = [(1, 0), (0, 1), (1, 1), (2, 1), (3, 1), (1, 2)]
    colours = [SKY, GREEN, YELLOW, RED, BLUE, BROWN]
    for (cx, cy), c in zip(cells, colours):
        x, y = cx * 4, 2 + cy * 4
        i.rect(x, y, x + 3, y + 3, c)
        i.frame(x, y, x + 3, y + 3, INK)
    return i


def faces():
    i = Icon()
    for row in range(3):
        for col in range(4):
            x, y = col * 4, 2 + row * 4
            up = (row + col) % 2 == 0
            for k in range(4):
                w = k if up else 3 - k
                i.line(x + 2 - w // 2, y + k, x + 2 + (w + 1) // 2, y + k, YELLOW if up else SKY)
    i.frame(0, 2, 15, 13, INK)
    return i


def bricks():
    i = Icon()
    i.rect(1, 7, 14, 13, RED)
    i.frame(1, 7, 14, 13, INK)
    for x in (3, 9):
        i.rect(x, 4, x + 3, 6, RED)
        i.frame(x, 4, x + 3, 6, INK)
    return i


def planet():
    i = Icon()
    i.disc(8, 8, 7, SKY)
    i.disc(8, 8, 4, GREEN)
    i.disc(8, 8, 2, BROWN)
    i.ring(8, 8, 7, INK)
    return i


def photos():
    i = Icon()
    i.rect(1, 3, 14, 13, SKY)
    i.disc(11, 6, 1.6, YELLOW)
    for x in range(1, 15):
        h = 10 - abs(x - 6) // 2
        i.line(x, h, x, 12, GREEN)
    i.frame(1, 3, 14, 13, INK)
    return i


def psd():
    i = Icon()
    for k, c in enumerate([BLUE, GREEN, RED]):
        x, y = 1 + 2 * k, 1 + 3 * k
        i.rect(x, y, x + 8, y + 6, c)
        i.frame(x, y, x + 8, y + 6, INK)
    return i


# (file name of the bundle, icon type, drawing), in the order the dialog puts them on.
ICONS = [
    ("iphoto3", "iPho", photos), ("factory2", "Stra", straighten), ("cubemap", "cubE", cubemap),
    ("exportfaces", "Expf", faces), ("biglego", "LEgo", bricks), ("randomize constrained button", "COns", constrained),
    ("littleplanet", "SPsz", planet), ("bigdice", "Dice", dice), ("undo", "FACT", undo),
    ("load", "LOAD", load), ("save", "SAVE", save), ("psd", "PSdd", psd),
]


def png(icon):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in icon.px)
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = ["// Generated by tools/make_button_icons.py; do not edit.",
           "// The dialog's button icons, 16 x 16 RGBA rows, by bundle file name.",
           "#pragma once", "", "#include <cstdint>", "",
           "struct ButtonIconImage {", "  const char* file;", "  const char* type;", "  uint8_t rgba[16 * 16 * 4];", "};", "",
           f"inline constexpr int kButtonIconSize = {SIZE};",
           f"inline constexpr int kButtonIconCount = {len(ICONS)};",
           "inline constexpr ButtonIconImage kButtonIcons[kButtonIconCount] = {"]
    os.makedirs("resources/icons", exist_ok=True)
    for name, kind, draw in ICONS:
        icon = draw()
        values = [v for row in icon.px for p in row for v in p]
        out.append(f'    {{"{name}", "{kind}", {{')
        for k in range(0, len(values), 32):
            out.append("        " + ", ".join(str(v) for v in values[k:k + 32]) + ",")
        out.append("    }},")
        with open(os.path.join("resources/icons", name.replace(" ", "_") + ".png"), "wb") as f:
            f.write(png(icon))
    out.append("};")
    with open("dialog/button_icons_table.h", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
