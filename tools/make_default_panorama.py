#!/usr/bin/env python3
"""Writes the built-in default image: an equirectangular test panorama.

Sky and ground gradients, a graticule every 15 degrees (heavier every 45),
and a coloured band per 90 degrees of longitude, so that any re-projection
shows at a glance where each part of the sphere went. Pure standard library.
"""
import math
import struct
import sys
import zlib

W, H = 1024, 512


def pixel(x, y):
    lon = (x + 0.5) / W * 360.0 - 180.0
    lat = 90.0 - (y + 0.5) / H * 180.0
    if lat >= 0:
        t = lat / 90.0
        r, g, b = 120 + 60 * t, 170 + 40 * t, 235
    else:
        t = -lat / 90.0
        r, g, b = 150 - 80 * t, 120 - 50 * t, 70 - 30 * t
    quadrant = int((lon + 180.0) // 90.0) % 4
    if abs(lat) < 6:
        r, g, b = [(230, 60, 50), (240, 200, 40), (60, 170, 80), (70, 90, 220)][quadrant]
    dlon = abs(lon - 15.0 * round(lon / 15.0)) * W / 360.0
    dlat = abs(lat - 15.0 * round(lat / 15.0)) * H / 180.0
    heavy = abs(lon - 45.0 * round(lon / 45.0)) * W / 360.0 < 1.5 or \
        abs(lat - 45.0 * round(lat / 45.0)) * H / 180.0 < 1.5
    if heavy:
        r, g, b = 20, 20, 20
    elif dlon < 0.75 or dlat < 0.75:
        r, g, b = r * 0.6, g * 0.6, b * 0.6
    return bytes((int(max(0, min(255, r))), int(max(0, min(255, g))), int(max(0, min(255, b)))))


def chunk(kind, data):
    c = struct.pack(">I", len(data)) + kind + data
    return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def main(path):
    raw = b"".join(b"\x00" + b"".join(pixel(x, y) for x in range(W)) for y in range(H))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/default_panorama.png")
