#!/usr/bin/env python3
"""Prints the include counts between the source folders, and every include
that reaches from a lower floor up into a higher one.

Floors, from the ground up: platform/; frame/base/; projection/ and
pyramid/; polyhedron/; polybuild/; render/; export/ and dialog/; frame/
(with frame/settings/); host/. A folder may include itself and any floor
below it. An upward include that carries a comment on its own line says why
it is there: it is listed as a named exception, not counted as upward.

  python3 tools/include_floors.py [--list] [--root DIR]
"""
import argparse
import collections
import os
import re
import sys

FLOORS = [["platform"], ["frame/base"], ["projection", "pyramid"], ["polyhedron"], ["polybuild"], ["render"],
          ["export", "dialog"], ["frame", "frame/settings"], ["host"]]
FLOOR_OF = {name: i for i, names in enumerate(FLOORS) for name in names}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"\s*(//.*)?$')


def folder_of(path):
    parts = path.split("/")
    if parts[0] == "frame" and len(parts) > 2 and parts[1] in ("base", "settings"):
        return "frame/" + parts[1]
    return parts[0]


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    ap.add_argument("--list", action="store_true", help="name every upward include and every exception")
    args = ap.parse_args()
    root = os.path.abspath(args.root)
    counts = collections.Counter()
    upward, named = [], []
    for top in sorted({name.split("/")[0] for name in FLOOR_OF}):
        for d, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for f in sorted(files):
                if not f.endswith((".cpp", ".h")):
                    continue
                rel = os.path.relpath(os.path.join(d, f), root)
                src = folder_of(rel)
                with open(os.path.join(d, f), encoding="utf-8", errors="replace") as fh:
                    for n, line in enumerate(fh, 1):
                        m = INCLUDE.match(line)
                        if not m or not os.path.exists(os.path.join(root, m.group(1))):
                            continue
                        dst = folder_of(m.group(1))
                        if dst == src or dst not in FLOOR_OF:
                            continue
                        counts[(src, dst)] += 1
                        if FLOOR_OF[dst] > FLOOR_OF[src]:
                            entry = (rel, n, m.group(1), (m.group(2) or "").lstrip("/ "))
                            (named if m.group(2) else upward).append(entry)
    for (s, d), c in sorted(counts.items()):
        mark = " up" if FLOOR_OF[d] > FLOOR_OF[s] else ""
        print(f"{s:15} -> {d:15} {c:5}{mark}")
    print(f"upward includes: {len(upward)} ({sum(1 for u in upward if u[2] != 'frame/globals.h')} "
          f"not counting frame/globals.h); named exceptions: {len(named)}")
    if args.list:
        for rel, n, inc, _ in upward:
            print(f"  up  {rel}:{n}: {inc}")
        for rel, n, inc, why in named:
            print(f"  ok  {rel}:{n}: {inc}  ({why})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
