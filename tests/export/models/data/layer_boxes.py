#!/usr/bin/env python3
"""Reads a layered document with psd-tools and prints, for the face-layer
tests, the canvas size, the layer count and each layer's name with the box
of its drawn (not fully transparent) pixels: x0 y0 x1 y1, inclusive."""
import sys

from psd_tools import PSDImage

psd = PSDImage.open(sys.argv[1])
layers = list(psd)
print("size %d %d" % (psd.width, psd.height))
print("layers %d" % len(layers))
for layer in layers:
    image = layer.topil()
    box = image.getchannel("A").point(lambda a: 255 if a > 0 else 0).getbbox() if image else None
    # A layer record may sit at an offset; its pixels are placed there.
    if box:
        box = (box[0] + layer.left, box[1] + layer.top, box[2] - 1 + layer.left, box[3] - 1 + layer.top)
    print("layer %s|%s" % (layer.name, " ".join(str(v) for v in box) if box else "empty"))
