#!/usr/bin/env python3
"""Writes polyhedron/shape_tables_shark.{h,cpp}: the petal solid and net of
the shark florets (shape 65).

Usage: python3 tools/make_shark_net.py [repo root]

A shark petal reads the right half of its net, x >= 0 once the net is
crammed about the centre of its bounding box, turns the sphere point by
pi/10 in longitude, and opens the half sphere x > 0 of the turned point,
whose rim is the great circle x = 0 through the petal's pole (0, 0, 1), to a
lune of 2 pi / n. So the net must show that half sphere, and only it, right
of the line x = 0, with the pole at the centre of its box, and the line
itself must show the rim, up and down alike, so that neighbouring petals
meet.

The solid is the icosahedron of shape 17 (polybuild/catalogue_solids, same
vertex numbers and face rows), turned so that, once the petal's turn is
applied, an edge's midpoint lies at the pole, the edge runs along x, and the
planes x = 0 and y = 0 are mirror planes of the solid. The rim then bisects
the two faces on that edge, runs through the corners above and below them
and along the edges beyond, and bisects the two faces on the opposite edge.

The net is laid from the two faces on the pole's edge, their corners on the
line x = 0: the eight faces wholly in the half sphere x > 0 are hinged on
them to the right, their mirror images to the left. At the corners the rim
passes through, the sphere's five faces fill only 300 degrees of the plane,
so the rim cannot stay on the line there: beyond those corners it runs along
the edges to the right of the line, and the petal's outline leaves its
neighbour's (a notch between the petals: nothing of the sphere is shown
twice, and nothing is lost but what lies on the two faces on the far edge).
The corner at the right end of the pole's edge lies inside the half sphere,
and its five faces leave 60 degrees of the plane about it empty: a slit into
the petal, along which the sphere is cut open (nothing is lost there). The
two faces on the far edge, cut in half by the rim, are hinged to the left
half, where no petal reads them; laid on the right they would show the
other half sphere. So the petals show 95 % of the sphere, each point once.

The net names the solid vertex of each of its points, so that its rows are
paired with the solid's by that map: the icosahedron looks the same from
every face, and a search by shape would pair the net with a turned copy.

Checked here: 20 faces, each congruent to its solid face and turning the same
way round in the plane as on the solid seen from outside (counter-clockwise,
the catalogue's convention); one piece of 22 points (a tree of hinges); no
two faces overlap; the faces right of x = 0 are exactly those on the half
sphere x > 0 (the two pole faces straddle it), and the box is centred on the
pole's edge midpoint.
"""

import math
import os
import sys

# The icosahedron of shape 17: polybuild/catalogue_solids.cpp.
A = 0.5257311121191336
B = 0.8506508083520399
NEWICO = [
    (-A, B, 0.0), (A, B, 0.0), (0.0, A, B), (0.0, A, -B), (-B, 0.0, -A), (-B, 0.0, A),
    (B, 0.0, A), (B, 0.0, -A), (0.0, -A, B), (0.0, -A, -B), (-A, -B, 0.0), (A, -B, 0.0),
]
FACES = [
    (1, 3, 2), (1, 2, 4), (1, 4, 5), (1, 6, 3), (2, 3, 7), (2, 8, 4), (1, 5, 6), (2, 7, 8), (4, 10, 5),
    (3, 6, 9), (3, 9, 7), (4, 8, 10), (5, 11, 6), (7, 12, 8), (5, 10, 11), (6, 11, 9), (7, 9, 12),
    (8, 12, 10), (9, 11, 12), (10, 12, 11),
]
PETAL_TURN = math.pi / 10  # the shark petal's LongitudeIt
EPS = 1e-9


def longitude_it(p, t):
    # (z + i x) times (cos t + i sin t), as projection/planes.cpp turns it.
    x, y, z = p
    c, s = math.cos(t), math.sin(t)
    return (z * s + x * c, y, z * c - x * s)


# The design frame: shape 17's icosahedron turned a quarter about z, which
# puts the edge (-A, 0, B)-(A, 0, B) across the pole; the stored solid is
# that turned back by the petal's turn, so that the petal sees this frame.
DESIGN = [(-y, x, z) for (x, y, z) in NEWICO]
SOLID = [longitude_it(p, -PETAL_TURN) for p in DESIGN]


def sub(p, q):
    return (p[0] - q[0], p[1] - q[1])


def cross2(p, q):
    return p[0] * q[1] - p[1] * q[0]


def dist3(p, q):
    return math.sqrt(sum((a - b) ** 2 for a, b in zip(p, q)))


EDGE = dist3(DESIGN[0], DESIGN[1])  # 2A: faces keep their solid size
HEIGHT = EDGE * math.sqrt(3.0) / 2.0


def side(f):
    """+1 wholly in x > 0, -1 wholly in x < 0, 0 cut by the rim."""
    xs = [DESIGN[v - 1][0] for v in FACES[f]]
    if min(xs) > -EPS and max(xs) > EPS:
        return 1
    if max(xs) < EPS and min(xs) < -EPS:
        return -1
    return 0


def edges(f):
    r = FACES[f]
    return [(r[i], r[(i + 1) % 3]) for i in range(3)]


def neighbour(f, e):
    for g in range(len(FACES)):
        if g != f and (e[1], e[0]) in edges(g):
            return g
    raise SystemExit("open solid")


def mirror_face(f):
    """The face that x -> -x takes f to."""
    img = set()
    for v in FACES[f]:
        x, y, z = DESIGN[v - 1]
        img.add(next(i + 1 for i, q in enumerate(DESIGN) if dist3(q, (-x, y, z)) < 1e-9))
    return next(g for g in range(len(FACES)) if set(FACES[g]) == img)


def hinge(placed, f, g):
    """g laid across its edge with the placed face f: its apex mirrored."""
    pf = placed[f]
    for (u, v) in edges(f):
        if (v, u) in edges(g):
            apex = next(w for w in FACES[g] if w not in (u, v))
            pu, pv = pf[u], pf[v]
            mid = ((pu[0] + pv[0]) / 2, (pu[1] + pv[1]) / 2)
            w = next(w for w in FACES[f] if w not in (u, v))
            pw = pf[w]
            return {u: pu, v: pv, apex: (2 * mid[0] - pw[0], 2 * mid[1] - pw[1])}
    raise SystemExit("faces %d and %d share no edge" % (f, g))


def inside(p, tri):
    # Strictly inside the triangle (its corners counter-clockwise).
    return all(cross2(sub(tri[(i + 1) % 3], tri[i]), sub(p, tri[i])) > 1e-7 for i in range(3))


def seg_cross(p1, p2, q1, q2):
    d1 = cross2(sub(p2, p1), sub(q1, p1))
    d2 = cross2(sub(p2, p1), sub(q2, p1))
    d3 = cross2(sub(q2, q1), sub(p1, q1))
    d4 = cross2(sub(q2, q1), sub(p2, q1))
    return d1 * d2 < -1e-12 and d3 * d4 < -1e-12


def overlaps(t, u):
    for i in range(3):
        for j in range(3):
            if seg_cross(t[i], t[(i + 1) % 3], u[j], u[(j + 1) % 3]):
                return True
    cu = ((u[0][0] + u[1][0] + u[2][0]) / 3, (u[0][1] + u[1][1] + u[2][1]) / 3)
    ct = ((t[0][0] + t[1][0] + t[2][0]) / 3, (t[0][1] + t[1][1] + t[2][1]) / 3)
    same = all(min(math.dist(p, q) for q in u) < 1e-9 for p in t)
    return same or inside(ct, u) or inside(cu, t)


def tri(placed, f):
    return [placed[f][v] for v in FACES[f]]


def lay():
    pole = [f for f in range(len(FACES)) if side(f) == 0 and
            sum(1 for v in FACES[f] if DESIGN[v - 1][2] > 0.8) == 2]
    up = next(f for f in pole if max(DESIGN[v - 1][1] for v in FACES[f]) > 0.5)
    down = next(f for f in pole if f != up)
    # The pole's edge along x, its midpoint at the origin; the apex where the
    # face then turns counter-clockwise.
    placed = {}
    row = FACES[up]
    pts = {}
    for v in row:
        x, y, z = DESIGN[v - 1]
        if abs(x) > EPS:
            pts[v] = (math.copysign(EDGE / 2, x), 0.0)
        else:
            pts[v] = (0.0, HEIGHT)
    if cross2(sub(pts[row[1]], pts[row[0]]), sub(pts[row[2]], pts[row[0]])) < 0:
        pts = {v: (p[0], -p[1]) for v, p in pts.items()}
    placed[up] = pts
    placed[down] = hinge(placed, up, down)
    parent = {up: None, down: up}
    # The faces of the half sphere x > 0, breadth first, each hinged on the
    # first placed face it fits beside without leaving x >= 0 or overlapping.
    order = [up, down]
    while True:
        grown = False
        for f in list(order):
            for (u, v) in edges(f):
                g = neighbour(f, (u, v))
                if g in placed or side(g) != 1:
                    continue
                cand = hinge(placed, f, g)
                t = [cand[w] for w in FACES[g]]
                if min(p[0] for p in t) < -EPS:
                    continue
                if any(overlaps(t, tri(placed, h)) for h in placed):
                    continue
                placed[g] = cand
                parent[g] = f
                order.append(g)
                grown = True
        if not grown:
            break
    right = [f for f in order if side(f) == 1]
    if len(right) != 8:
        raise SystemExit("only %d faces of the half sphere laid" % len(right))
    # Their mirror images to the left, hinged the same way.
    for f in right:
        m = mirror_face(f)
        pm = {}
        for v, p in placed[f].items():
            x, y, z = DESIGN[v - 1]
            w = next(i + 1 for i, q in enumerate(DESIGN) if dist3(q, (-x, y, z)) < 1e-9)
            pm[w] = (-p[0], p[1])
        placed[m] = pm
        pf = parent[f]
        parent[m] = pf if pf in (up, down) else mirror_face(pf)
    # The two faces on the far edge, hinged to the left half.
    for g in range(len(FACES)):
        if g in placed:
            continue
        for f in sorted(placed):
            if placed[f] and side(f) == -1 and any(neighbour(f, e) == g for e in edges(f)):
                cand = hinge(placed, f, g)
                t = [cand[w] for w in FACES[g]]
                if max(p[0] for p in t) > EPS:
                    continue
                if any(overlaps(t, tri(placed, h)) for h in placed):
                    continue
                placed[g] = cand
                parent[g] = f
                break
        if g not in placed:
            raise SystemExit("face %d finds no place on the left" % g)
    return placed


def check_and_number(placed):
    if len(placed) != 20:
        raise SystemExit("%d faces laid" % len(placed))
    for f in placed:
        t = tri(placed, f)
        for i in range(3):
            if abs(math.dist(t[i], t[(i + 1) % 3]) - EDGE) > 1e-12:
                raise SystemExit("face %d is not its solid face" % f)
        if cross2(sub(t[1], t[0]), sub(t[2], t[0])) <= 0:
            raise SystemExit("face %d turns the wrong way" % f)
        for g in placed:
            if g < f and overlaps(t, tri(placed, g)):
                raise SystemExit("faces %d and %d overlap" % (g, f))
        xs = [p[0] for p in t]
        s = side(f)
        if (s == 1 and min(xs) < -EPS) or (s == -1 and max(xs) > EPS):
            raise SystemExit("face %d lies on the wrong side" % f)
        if s == 0 and max(xs) > EPS and f not in pole_faces(placed):
            raise SystemExit("face %d of the far edge reaches right" % f)
    # Net points: a corner shared by hinged faces is one point.
    points, solid, keys, rows = [], [], {}, []
    for f in range(len(FACES)):
        row = []
        for v in FACES[f]:
            p = placed[f][v]
            key = (v, round(p[0], 9), round(p[1], 9))
            if key not in keys:
                keys[key] = len(points)
                points.append(p)
                solid.append(v - 1)
            row.append(keys[key] + 1)
        rows.append(row)
    if len(points) != 22:
        raise SystemExit("%d net points, not the 22 of one piece" % len(points))
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    if abs(min(xs) + max(xs)) > 1e-12 or abs(min(ys) + max(ys)) > 1e-12:
        raise SystemExit("the box is not centred on the pole")
    return points, solid, rows


def pole_faces(placed):
    return [f for f in placed if side(f) == 0 and
            sum(1 for v in FACES[f] if DESIGN[v - 1][2] > 0.8) == 2]


def fmt(x):
    r = repr(float(x))
    return "0.0" if r == "-0.0" else r


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    points, solid, rows = check_and_number(lay())
    h = [
        "// The shark florets' petal solid and net (shape 65), written by",
        "// tools/make_shark_net.py (see there for what they are). Do not edit.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "// The icosahedron of shape 17, turned so that a shark petal sees an edge's",
        "// midpoint at its pole",
        "extern const double shark_Coords3D[12][3];",
        "// Its net: the half sphere a petal reads right of x = 0, the rest left",
        "extern const double shark_Coords2D[22][2];",
        "// Net face k folds onto face k of the icosahedron's rows, corner by corner",
        "extern const int16_t shark_Faces2D[80];",
        "// The solid vertex of each net point, which pairs the rows without a search",
        "extern const int16_t shark_2D_to_3D[22];",
        "",
    ]
    c = ["// Written by tools/make_shark_net.py; do not edit.", '#include "polyhedron/tables/shape_tables_shark.h"', ""]
    c.append("constexpr double shark_Coords3D[12][3] = {")
    c += ["  {%s, %s, %s}," % tuple(fmt(v) for v in p) for p in SOLID]
    c.append("};")
    c.append("constexpr double shark_Coords2D[22][2] = {")
    c += ["  {%s, %s}," % (fmt(p[0]), fmt(p[1])) for p in points]
    c.append("};")
    c.append("constexpr int16_t shark_Faces2D[80] = {")
    c += ["  %d, %d, %d, 0," % tuple(r) for r in rows]
    c.append("};")
    c.append("constexpr int16_t shark_2D_to_3D[22] = {")
    c.append("  " + ", ".join(str(v) for v in solid) + ",")
    c.append("};")
    c.append("")
    with open(os.path.join(root, "polyhedron", "tables", "shape_tables_shark.h"), "w") as f:
        f.write("\n".join(h))
    with open(os.path.join(root, "polyhedron", "tables", "shape_tables_shark.cpp"), "w") as f:
        f.write("\n".join(c))


if __name__ == "__main__":
    main()
