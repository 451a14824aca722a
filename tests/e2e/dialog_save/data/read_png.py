#!/usr/bin/env python3
"""Reads an 8-bit RGBA PNG with Python's own zlib, independently of the
writer under test, and prints what the tests look at:
  size W H COLOURTYPE
  text KEYWORD VALUE          (one line per tEXt chunk)
  alpha X Y A                 (for each X,Y given after the file name)
Exit status 1 when the file is no PNG of that kind."""
import struct
import sys
import zlib


def main():
    data = open(sys.argv[1], "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return 1
    at, idat, texts, head = 8, b"", [], None
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            return 1
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"tEXt":
            key, _, value = body.partition(b"\0")
            texts.append((key.decode("latin-1"), value.decode("latin-1")))
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if not head or head[2] != 8 or head[3] != 6:
        return 1
    width, height = head[0], head[1]
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        f, row = line[0], bytearray(line[1:])
        for i in range(stride):
            a = row[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if f == 1:
                row[i] = (row[i] + a) & 255
            elif f == 2:
                row[i] = (row[i] + b) & 255
            elif f == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(row)
        prev = row
    print("size", width, height, head[3])
    for key, value in texts:
        print("text", key, value)
    for point in sys.argv[2:]:
        x, y = map(int, point.split(","))
        print("alpha", x, y, rows[y][4 * x + 3])
    return 0


if __name__ == "__main__":
    sys.exit(main())
