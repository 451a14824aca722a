#!/usr/bin/env python3
"""Settings files of old versions, and a reader of current ones, written from
the file format's slot table alone (not from the plug-in's code), so that the
C++ reader and writer are checked against an independent account.

  make_old_settings.py write DIR   writes vNN.q2q and vNN.expect for the old
                                   versions below into DIR
  make_old_settings.py parse FILE  prints every field of a version-47 file,
                                   one "name value" line each

An .expect file lists what the reader must produce: "result", "previewRead",
"previewWidth", "previewHeight", and every settings field whose value the
file decides (read from it or set by an upgrade). Integers are decimal;
singles are "f:" and their IEEE bits in hex. Fields the file leaves alone
are not listed.
"""
import math
import pathlib
import struct
import sys

VERSIONS = [0, 7, 14, 20, 24, 27, 30, 34, 44, 46]


def colour(name):
    return [f"{name}.0", f"{name}.1", f"{name}.2"]


# The slot table: (first slot, fields, oldest version that has them).
# "-" is a placeholder the reader drops; "#colorF" the first, overwritten
# copy of legacyColorF; "fixed" the two 16.16 words of slots 70 and 71.
TABLE = [
    (1, ["settingsVersion"], 0),
    (2, colour("colorA"), 0),
    (5, colour("colorB"), 0),
    (8, colour("legacyColorC"), 0),
    (11, ["inputMode", "legacyInt108", "legacyInt109", "legacyInt110", "twirlXInt", "twirlSpinInt",
          "legacyInt113", "legacyInt114", "legacyInt115", "legacyInt116", "outputMode", "mirrorInput",
          "hqprFlag", "legacyInt121", "twirlYInt", "tabSizeInt", "legacyInt147", "legacyInt125",
          "legacyInt128", "legacyInt129"], 0),
    (31, ["#colorF.0", "#colorF.1", "#colorF.2"], 0),
    (34, colour("legacyColorF"), 0),
    (37, colour("legacyColorH") + ["viewAngleInt", "legacyInt127", "gridLegacy"], 2),
    (43, ["glueMode", "-"], 3),
    (45, ["legacyInt130", "legacyInt131", "falseColors"], 4),
    (48, ["legacyInt134", "legacyInt135"], 5),
    (50, ["legacyTripleA.0", "legacyTripleA.1", "legacyTripleA.2",
          "legacyTripleB.0", "legacyTripleB.1", "legacyTripleB.2"], 8),
    (56, ["legacyInt80"], 12),
    (57, ["legacyInt132"], 14),
    (58, ["-"], 16),
    (59, ["legacyInt136"], 17),
    (60, colour("legacyColorD") + colour("legacyColorE"), 18),
    (66, ["UNCOMPRESSED"], 22),
    (67, colour("legacyColorG"), 23),
    (70, ["fixed", "fixed"], 26),
    (72, ["brickLayers", "legacyInt138", "brickWritePlan", "brickWriteStats"], 31),
    (76, ["cubeFaceSize"], 33),
    (77, ["brickWriteLDraw", "brickDither", "brickPalette", "brickPlates"], 35),
    (81, ["facesExportSize"], 36),
    (82, ["sharpeningInt"], 37),
    (83, ["transparentVoid", "edgesOn"], 38),
    (None, ["JPEG"], 40),
    (85, ["anamorphic"], 41),
    (86, ["gaussianKernel"], 42),
    (87, ["graticule"], 43),
    (88, ["previewQuality"], 44),
    (89, ["tissotOn"], 46),
    (90, ["twirlX", "twirlY", "twirlSpin", "viewAngle", "tabSize", "sharpening"], 47),
]
SINGLES = {"twirlX", "twirlY", "twirlSpin", "viewAngle", "tabSize", "sharpening"}
TWINS = {"twirlX": "twirlXInt", "twirlY": "twirlYInt", "twirlSpin": "twirlSpinInt",
         "viewAngle": "viewAngleInt", "tabSize": "tabSizeInt", "sharpening": "sharpeningInt"}


# In-range values for the settings a sanitiser may check, so that a reader
# that puts out-of-range values back to their defaults keeps them; legacy
# fields and colours take arbitrary values.
PLAUSIBLE = {
    "inputMode": 7, "outputMode": 45, "glueMode": 5, "graticule": 3, "previewQuality": 3,
    "mirrorInput": 1, "hqprFlag": 1, "falseColors": 1, "transparentVoid": 0, "tissotOn": 1,
    "edgesOn": 1, "anamorphic": 1, "gaussianKernel": 1, "gridLegacy": 2, "brickLayers": 12,
    "brickPalette": 4095, "brickWritePlan": 0, "brickWriteStats": 0, "brickWriteLDraw": 1,
    "brickDither": 1, "brickPlates": 1, "cubeFaceSize": 512, "facesExportSize": 800,
    "twirlXInt": 12, "twirlYInt": -30, "twirlSpinInt": 45, "viewAngleInt": 90, "tabSizeInt": 20,
    "sharpeningInt": 55,
}


def f32(x):
    return struct.unpack(">f", struct.pack(">f", x))[0]


def f32_bits(x):
    return struct.unpack(">I", struct.pack(">f", x))[0]


def i32(x):
    return max(-2**31, min(2**31 - 1, x))


def layout(version):
    """The fields of a file of this version, in file order."""
    fields = []
    for _, names, since in TABLE:
        if since > version:
            continue
        fields += names
        if version == 30 and names == ["UNCOMPRESSED"]:
            break  # a version-30 file ends with its uncompressed preview
    return fields


class Fixture:
    """One old file: slot values chosen per field, preview blocks as bytes."""

    def __init__(self, version):
        self.version = version
        self.values = {}
        self.uncompressed = struct.pack(">i", 0)
        self.jpeg = struct.pack(">i", 0)
        self.expect_preview = (0, 0, 0)  # previewRead, width, height

    def value(self, name, slot_number):
        if name in self.values:
            return self.values[name]
        if name == "settingsVersion":
            return self.version
        if name in PLAUSIBLE:
            return PLAUSIBLE[name]
        if "Color" in name or name.startswith("color") or name.startswith("#colorF"):
            return 0x1000 + 17 * slot_number
        return 1000 + 7 * slot_number - (slot_number % 3) * 2000

    def encode(self):
        out = bytearray()
        slot = 0
        for name in layout(self.version):
            if name == "UNCOMPRESSED":
                out += self.uncompressed
                slot += 1
                continue
            if name == "JPEG":
                out += self.jpeg
                continue
            slot += 1
            out += struct.pack(">i", self.value(name, slot))
        return bytes(out)

    def expected(self):
        """Apply the reader's steps to the slot values, field by field."""
        v = self.version
        r = {}
        slot = 0
        for name in layout(v):
            if name in ("UNCOMPRESSED", "JPEG"):
                slot += name == "UNCOMPRESSED"
                continue
            slot += 1
            raw = self.value(name, slot)
            if name == "-":
                continue
            if name == "fixed":
                r["legacyInt136"] = int(raw / 65536)
            elif name.startswith("#colorF"):
                r["legacyColorF" + name[7:]] = raw & 0xFFFF
            elif "olor" in name:
                r[name] = raw & 0xFFFF
            elif name.startswith("legacyTriple"):
                r[name] = f32(raw * 0.01)
            elif name in SINGLES:
                r[name] = f32(struct.unpack(">f", struct.pack(">i", raw))[0])
            else:
                r[name] = raw
        # Upgrades, in the reader's order.
        if v <= 14:
            r["twirlYInt"] = i32(100 - r["twirlYInt"])
        if 2 <= v <= 10:
            r["gridLegacy"] += 1
        if v < 25:
            r["falseColors"] = 0
        if 5 <= v < 13:
            r["legacyInt135"] = i32(100 - r["legacyInt135"])
        if v < 7:
            for k in range(3):
                r[f"legacyColorF.{k}"] = r[f"colorA.{k}"]
            r["legacyInt134"] = 100
            r["outputMode"] = 50
        if v < 9:
            r["viewAngleInt"] = 0
        if v < 19:
            r["twirlSpinInt"] = 57
        if v < 20:
            r["tabSizeInt"] = 0
        if v < 21:
            r["viewAngleInt"] = 50
        if v < 27:
            r["falseColors"] = 0
        if v < 28:
            r["outputMode"] += 1
        if v < 29 and r["outputMode"] > 24:
            r["outputMode"] += 1
        if v < 32 and r["outputMode"] > 33:
            r["outputMode"] += 1
        if v < 24:
            r["legacyInt130"] = 0
            r["inputMode"] = i32(math.trunc(r["inputMode"] / 0.3))
        if v < 40 and r["outputMode"] > 15:
            r["outputMode"] += 1
        if r["outputMode"] == 14 and v < 34:
            a = max(0.0, r["viewAngleInt"] / 180.0)
            if a < 1.0:
                b = f32(0.6366197724870984 * math.atan(0.5 * math.tan(a * 1.5707963265)))
                r["viewAngleInt"] = math.trunc(f32(b * 180.0))
                r["viewAngle"] = f32(b * 180.0)
        if v <= 44 and r["outputMode"] == 35:
            r["outputMode"] = 38
            r["viewAngleInt"] = 33
        if v < 47:
            for single, twin in TWINS.items():
                if twin in r:
                    r[single] = float(r[twin])
                else:
                    r.pop(single, None)
        return r

    def expect_text(self):
        read, w, h = self.expect_preview
        lines = ["result 0", f"previewRead {read}", f"previewWidth {w}", f"previewHeight {h}"]
        for name, value in sorted(self.expected().items()):
            if name in SINGLES or name.startswith("legacyTriple"):
                lines.append(f"{name} f:{f32_bits(value):08x}")
            else:
                lines.append(f"{name} {value}")
        return "\n".join(lines) + "\n"


def fixtures():
    out = []
    for v in VERSIONS:
        fx = Fixture(v)
        fx.values["colorB.1"] = 0x0001ABCD  # only the low 16 bits count
        fx.values["legacyTripleA.0"] = 150
        fx.values["legacyTripleA.1"] = -275
        fx.values["legacyTripleA.2"] = 1
        fx.values["fixed"] = 5 * 65536 + 123
        out.append(fx)
    by = {fx.version: fx for fx in out}
    by[7].values["outputMode"] = 30
    by[14].values["twirlYInt"] = 30
    by[20].values["inputMode"] = 3
    by[24].values["outputMode"] = 13  # becomes 14, whose view angle is rescaled
    by[24].values["viewAngleInt"] = 120
    by[24].uncompressed = struct.pack(">iii", 1, 3, 2) + bytes(range(10, 28))
    by[24].expect_preview = (1, 3, 2)
    by[27].values["outputMode"] = 30
    by[30].values["outputMode"] = 14
    by[30].values["viewAngleInt"] = 90
    by[30].values["twirlXInt"] = 12
    # Wider than a preview may be: the reader must skip all 130 x 1 pixels.
    by[34].uncompressed = struct.pack(">iii", 1, 130, 1) + bytes(390)
    by[44].values["outputMode"] = 35
    by[44].jpeg = struct.pack(">iiii", 2, 128, 128, 10) + bytes(range(10))
    by[46].values["twirlXInt"] = 12
    return out


def write(folder):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    for fx in fixtures():
        (folder / f"v{fx.version:02d}.q2q").write_bytes(fx.encode())
        (folder / f"v{fx.version:02d}.expect").write_text(fx.expect_text())


def parse(path):
    data = pathlib.Path(path).read_bytes()
    at = 0

    def word(fmt=">i"):
        nonlocal at
        value = struct.unpack_from(fmt, data, at)[0]
        at += 4
        return value

    lines = []
    for _, names, _ in TABLE:
        for name in names:
            if name == "UNCOMPRESSED":
                lines.append(f"uncompressed.flag {word()}")
            elif name == "JPEG":
                flag = word()
                lines.append(f"preview.flag {flag}")
                if flag != 0:
                    w, h, n = word(), word(), word()
                    lines += [f"preview.width {w}", f"preview.height {h}", f"preview.length {n}",
                              f"preview.start {at}"]
                    at += n
            elif name in SINGLES:
                lines.append(f"{name} f:{word('>I'):08x}")
            elif name == "-" or name.startswith("#"):
                lines.append(f"{name.lstrip('#') + '.first' if name.startswith('#') else 'placeholder'} {word()}")
            else:
                lines.append(f"{name} {word()}")
    if at != len(data):
        raise SystemExit(f"{len(data) - at} bytes after the last field")
    print("\n".join(lines))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "write":
        write(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "parse":
        parse(sys.argv[2])
    else:
        raise SystemExit(__doc__)
