#!/usr/bin/env python3
"""Which named functions of a design document the export and platform
layers do not have.

    python3 tools/absent_names.py DOCUMENT FIRST LAST

Reads the level-1 sections of the Markdown DOCUMENT numbered FIRST to LAST
(headings "# <word> 8.101: ...", numbers compared part by part), takes
every backticked name used as a function there (written with its argument
list somewhere in the document, or listed among a section's interfaces
when it is neither a type, seen with a '*' after it, nor an enum constant
Kind_Name), and looks for each in the sources: found with '(' after it in
export/ or platform/, found elsewhere in the tree (the file is printed), or
absent. An absent name needs a reason in REASONS below; the script exits 1
when one has none, or when a reason is left for a name now found, so the
table stays true.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYERS = ("export", "platform")
TREE = ("export", "platform", "frame", "dialog", "host", "render", "pyramid", "projection", "polyhedron",
        "polybuild")

REASONS = {
    "WrPSD_1069_resource": "written inline by WrPSD_image_resources_section (export/psd/psd_sections.cpp)",
    "WrPSD_1072_resource": "written inline by WrPSD_image_resources_section (export/psd/psd_sections.cpp)",
    "WrPSD_EXIF_resource": "resource 1058, written inline by WrPSD_image_resources_section from the block "
                           "export/metadata/exif.cpp builds",
    "WrPSD_channel_length_info": "written inline by WrPSD_layer_record (export/psd/psd_layers.cpp)",
    "WrPSD_layer_blending_ranges": "written inline by WrPSD_layer_record (export/psd/psd_layers.cpp)",
    "WrPSD_layer_Lr16_subsection": "one WrPSD_layer_Lr_subsection writes Lr16 and Lr32 by their tags "
                                   "(export/psd/psd_layers.cpp)",
    "WrPSD_layer_Lr32_subsection": "one WrPSD_layer_Lr_subsection writes Lr16 and Lr32 by their tags "
                                   "(export/psd/psd_layers.cpp)",
    "WrPSD_channel_image_data_HDR": "the float planes are one data kind of the plane writer (export/psd/psd_pixels.cpp)",
    "jpeg_memory_dest": "the in-memory coder's destination is BoundedDestination (export/jpeg/jpeg_coder.cpp)",
    "jpeg_memory_dest_query": "BoundedDestination keeps the length written (export/jpeg/jpeg_coder.cpp)",
    "jpeg_memory_src": "the in-memory coder's source is set up by DecompressBody (export/jpeg/jpeg_coder.cpp)",
    "GenerateAllLayersOfLDRAW": "its loop over the layers is LDrawText (export/brick/ldraw_writer.cpp)",
    "WriteOBJFile_polyhedron": "the text is OBJFileText; WriteOBJFileAndItsHandmaidens writes the files "
                               "(export/models/obj_writer.cpp)",
    "WriteMTLFile": "the text is MTLFileText; WriteOBJFileAndItsHandmaidens writes the files (export/models/obj_writer.cpp)",
    "WriteSTLFile_polyhedron": "the bytes are STLFileBytes; WriteOBJFileAndItsHandmaidens writes the files "
                               "(export/models/obj_writer.cpp)",
    "pleasewait": "the page writers set no busy cursor; the render galleries show the export progress window",
}


def sections(text, first, last):
    key = lambda s: tuple(int(p) for p in s.split("."))
    lo, hi = key(first), key(last)
    for sec in re.split(r"(?m)^(?=# )", text):
        m = re.match(r"# \S+ (\d+(?:\.\d+)+):", sec)
        if m and lo <= key(m.group(1)) <= hi:
            yield m.group(1), sec


def function_names(doc, first, last):
    called = set(re.findall(r"\b([A-Za-z_]\w*)\(", doc))
    types = set(re.findall(r"\b([A-Za-z_]\w*)\*", doc))
    names = {}
    for number, sec in sections(doc, first, last):
        found = set(re.findall(r"`([A-Za-z_]\w*)\(", sec))
        i = sec.find("**Interfaces**")
        if i >= 0:
            j = sec.find("\n**", i + 10)
            for t in re.findall(r"`([A-Za-z_]\w*)`", sec[i:j if j > 0 else None]):
                if t in called or (t[0].isupper() and t not in types and not re.match(r"[A-Z][A-Za-z]*_[A-Z]", t)):
                    found.add(t)
        for f in found:
            names.setdefault(f, number)
    return names


def sources(folders):
    for folder in folders:
        for base, _, files in os.walk(os.path.join(ROOT, folder)):
            for f in files:
                if f.endswith((".cpp", ".h")):
                    path = os.path.join(base, f)
                    with open(path, errors="replace") as fh:
                        yield os.path.relpath(path, ROOT), fh.read()


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    doc = open(sys.argv[1], errors="replace").read()
    names = function_names(doc, sys.argv[2], sys.argv[3])
    layer = dict(sources(LAYERS))
    tree = dict(sources(TREE))
    bad = 0
    absent = 0
    for name, number in sorted(names.items(), key=lambda kv: (kv[1], kv[0])):
        pattern = re.compile(r"\b" + re.escape(name) + r"\s*\(")
        if any(pattern.search(t) for t in layer.values()):
            if name in REASONS:
                print(f"{number} {name}: found, but a reason for its absence is still listed")
                bad += 1
            continue
        elsewhere = sorted(p for p, t in tree.items() if pattern.search(t) and p.endswith(".h"))
        elsewhere = elsewhere or sorted(p for p, t in tree.items() if pattern.search(t))
        absent += 1
        if elsewhere:
            print(f"{number} {name}: in {elsewhere[0]}")
        elif name in REASONS:
            print(f"{number} {name}: absent: {REASONS[name]}")
        else:
            print(f"{number} {name}: absent, and no reason is given")
            bad += 1
    print(f"{len(names)} names, {len(names) - absent} in {' or '.join(LAYERS)}, {absent} not")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
