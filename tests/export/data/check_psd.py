#!/usr/bin/env python3
"""Reads a layered document with psd-tools, a parser independent of ours,
and prints what the export tests compare: size, depth, channels, layer
count, names and sizes, and the composite's mean per channel."""
import sys

from psd_tools import PSDImage

psd = PSDImage.open(sys.argv[1])
print("size %d %d" % (psd.width, psd.height))
print("depth %d" % psd.depth)
print("channels %d" % psd.channels)
layers = list(psd)
print("layers %d" % len(layers))
for layer in layers:
    print("layer %s|%d %d|%d" % (layer.name, layer.width, layer.height, layer.opacity))
composite = psd.composite()
if composite is not None:
    pixels = list(composite.convert("RGB").getdata())
    for c in range(3):
        print("mean %d %.3f" % (c, sum(p[c] for p in pixels) / len(pixels)))
