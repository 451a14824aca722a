#!/usr/bin/env python3
"""Writes polyhedron/catalogue_solids.{h,cpp}: the 3D solids of the static
shape families (their vertices and face rows) as constexpr tables.

Usage: python3 tools/make_catalogue_solids.py [repo root [output root]]

The tables are written under the output root (the repository root unless
given), so that a check can write them elsewhere and compare.

Each solid is made from closed-form coordinates (golden ratio, the tribonacci
constant of the snub cube) in 60-digit decimal arithmetic and rounded to
double once, at the end:

  Platonic    Tetranew, NewCube, NewOcto, NewDodec, NewIco
  Archimedean OneFour (cuboctahedron), twosix (rhombicuboctahedron),
              soccer (truncated icosahedron), threetwo (icosidodecahedron),
              threeeight (snub cube), sixtwo (rhombicosidodecahedron)
  Catalan     twofour (deltoidal icositetrahedron), sixzero (deltoidal
              hexecontahedron), ThreeZero (rhombic triacontahedron),
              PentTwoFour (pentagonal icositetrahedron)

The Catalan solids are the polar reciprocals of their Archimedean partners
(every face plane n.x = d becomes the vertex n / d), so their faces touch one
sphere. Scale: the Platonic and Archimedean solids have every vertex on the
unit sphere; each Catalan solid is scaled so that its farthest vertices lie
on the unit sphere (the others lie inside).

Orientation: the symmetry axes of the cube lie along x, y and z (y up, as in
the sphere convention); the icosahedral solids have their two-fold axes
there. The snub cube is the one with the vertex (1, 1/t, -t): the even
permutations of (+-1, +-1/t, +-t) with an even number of plus signs and the
odd permutations with an odd number; the pentagonal icositetrahedron is its
reciprocal, of the same hand.

Order: vertices from the top (largest y) down, each latitude by longitude
atan2(x, z) from the back round through the front (+z); faces in the same
order by their centroids, except the cube, whose four side faces come first
(front, right, back, left) and then top and bottom, so that face 4 is the
top, and the tetrahedron (below). Each face lists its corners
counter-clockwise seen from outside, starting at its lowest vertex number;
rows are 1-based vertex numbers ended by 0.

The tetrahedron is the base of the developable tetrahedron, which fans each
of faces 0, 1 and 2 from its corner 0 over the arc from its corner 1 to its
corner 2, and face 3 from its corner 2 over the arc from its corner 0 to its
corner 1. Those arcs have to meet in pairs, so they lie on two opposite
edges: faces 0 and 3 share the top edge (the two vertices above the
equator), faces 1 and 2 the bottom edge, each pair in centroid order, and
each face starts at the corner that puts its arc in place (face 0 at the
vertex off the top edge, which is not its lowest number: no order that
starts every face at its lowest vertex pairs the arcs).

The face structure is found from the points alone (every plane through three
vertices with all the others on one side), so it follows from the
coordinates and is checked against the expected counts here, and against
qconvex by the tests.
"""

import itertools
import math
import os
import sys
from decimal import Decimal, getcontext

getcontext().prec = 60

ONE = Decimal(1)
TWO = Decimal(2)
PHI = (ONE + Decimal(5).sqrt()) / TWO


def tribonacci():
    # Real root of t^3 = t^2 + t + 1, by Newton from 1.8.
    t = Decimal("1.8")
    for _ in range(200):
        f = t * t * t - t * t - t - ONE
        t -= f / (3 * t * t - 2 * t - ONE)
    return t


TRIB = tribonacci()


def signs(p):
    """Every sign choice of the non-zero entries of p."""
    options = [(x,) if x == 0 else (x, -x) for x in p]
    return {tuple(c) for c in itertools.product(*options)}


def cyclic(p):
    return [(p[0], p[1], p[2]), (p[1], p[2], p[0]), (p[2], p[0], p[1])]


def all_perms(p):
    return list(itertools.permutations(p))


def signed_cyclic(*bases):
    out = set()
    for b in bases:
        for s in signs(b):
            out.update(cyclic(s))
    return out


def signed_all(*bases):
    out = set()
    for b in bases:
        for s in signs(b):
            out.update(all_perms(s))
    return out


def snub_cube():
    base = (ONE, ONE / TRIB, TRIB)
    even = [(0, 1, 2), (1, 2, 0), (2, 0, 1)]
    odd = [(1, 0, 2), (0, 2, 1), (2, 1, 0)]
    out = set()
    for sgn in itertools.product((1, -1), repeat=3):
        p = tuple(base[i] * sgn[i] for i in range(3))
        plus = sum(1 for s in sgn if s > 0)
        perms = even if plus % 2 == 0 else odd
        for perm in perms:
            out.add(tuple(p[perm[i]] for i in range(3)))
    return out


# ---- vectors -----------------------------------------------------------------


def sub(a, b):
    return tuple(a[i] - b[i] for i in range(3))


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def norm(a):
    return dot(a, a).sqrt()


def as_float(p):
    return tuple(float(x) for x in p)


# ---- faces from points ---------------------------------------------------------


def find_faces(points):
    """Vertex sets of the faces of the convex hull of the points."""
    fp = [as_float(p) for p in points]
    scale = max(math.sqrt(sum(c * c for c in p)) for p in fp)
    eps = 1e-9 * scale
    faces = set()
    n = len(fp)
    for i, j, k in itertools.combinations(range(n), 3):
        a, b, c = fp[i], fp[j], fp[k]
        u = [b[t] - a[t] for t in range(3)]
        v = [c[t] - a[t] for t in range(3)]
        nrm = [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]]
        length = math.sqrt(sum(x * x for x in nrm))
        if length < eps:
            continue
        nrm = [x / length for x in nrm]
        d = sum(nrm[t] * a[t] for t in range(3))
        side = [sum(nrm[t] * p[t] for t in range(3)) - d for p in fp]
        if all(s <= eps for s in side) or all(s >= -eps for s in side):
            faces.add(frozenset(m for m in range(n) if abs(side[m]) <= eps))
    return [sorted(f) for f in faces]


def reciprocal(points, faces):
    """Vertex n / d for every face plane n.x = d (exact in the decimals)."""
    out = []
    for f in faces:
        a, b, c = (points[m] for m in f[:3])
        nrm = cross(sub(b, a), sub(c, a))
        d = dot(nrm, a)
        if d < 0:
            nrm, d = tuple(-x for x in nrm), -d
        out.append(tuple(x / d for x in nrm))
    return out


# ---- order and winding -----------------------------------------------------------


def direction_key(p):
    x, y, z = as_float(p)
    r = math.sqrt(x * x + y * y + z * z)
    return (round(-y / r, 9), round(math.atan2(x, z), 9))


def centroid(points, f):
    return tuple(sum(points[m][t] for m in f) / len(f) for t in range(3))


def wind(points, f):
    """Corners counter-clockwise seen from outside, lowest number first."""
    c = as_float(centroid(points, f))
    cn = math.sqrt(sum(x * x for x in c))
    nrm = [x / cn for x in c]
    # Two axes of the face plane.
    ref = as_float(sub(points[f[0]], centroid(points, f)))
    e1 = [ref[t] - nrm[t] * sum(ref[s] * nrm[s] for s in range(3)) for t in range(3)]
    l1 = math.sqrt(sum(x * x for x in e1))
    e1 = [x / l1 for x in e1]
    e2 = [nrm[1] * e1[2] - nrm[2] * e1[1], nrm[2] * e1[0] - nrm[0] * e1[2], nrm[0] * e1[1] - nrm[1] * e1[0]]

    def angle(m):
        p = as_float(sub(points[m], centroid(points, f)))
        return math.atan2(sum(p[t] * e2[t] for t in range(3)), sum(p[t] * e1[t] for t in range(3)))

    ring = sorted(f, key=angle)
    start = ring.index(min(ring))
    return ring[start:] + ring[:start]


def tetrahedron_rows(points, faces):
    """Faces 0 and 3 on the top edge, 1 and 2 on the bottom edge (see the top)."""
    top = {m for m in range(4) if points[m][1] > 0}
    bottom = set(range(4)) - top
    if len(top) != 2:
        raise SystemExit("Tetranew: the top edge needs two vertices above the equator")

    def edge_of(f):
        return top if top <= set(f) else bottom

    def start_at(f, m, place):
        # Turn the ring so vertex m sits at corner `place`.
        k = f.index(m)
        shift = (k - place) % len(f)
        return f[shift:] + f[:shift]

    on_top = [f for f in faces if top <= set(f)]
    on_bottom = [f for f in faces if bottom <= set(f)]
    off = lambda f: (set(f) - edge_of(f)).pop()
    return [start_at(on_top[0], off(on_top[0]), 0), start_at(on_bottom[0], off(on_bottom[0]), 0),
            start_at(on_bottom[1], off(on_bottom[1]), 0), start_at(on_top[1], off(on_top[1]), 2)]


def build(name, points, reciprocal_of=None, face_order=None, rows=None):
    if reciprocal_of is not None:
        primal = list(reciprocal_of)
        points = reciprocal(primal, find_faces(primal))
    points = list(points)
    radii = [norm(p) for p in points]
    scale = max(radii)
    points = [tuple(x / scale for x in p) for p in points]
    points.sort(key=direction_key)
    faces = [wind(points, f) for f in find_faces(points)]
    if face_order is None:
        faces.sort(key=lambda f: direction_key(centroid(points, f)))
    else:
        faces.sort(key=lambda f: face_order(as_float(centroid(points, f))))
    if rows is not None:
        faces = rows(points, faces)
    return {"name": name, "points": points, "faces": faces, "circumscribed": (max(radii) - min(radii)) < scale * Decimal("1e-40")}


def cube_face_order(c):
    # Front, right, back, left, top, bottom.
    x, y, z = c
    table = [(0, 0, 1), (1, 0, 0), (0, 0, -1), (-1, 0, 0), (0, 1, 0), (0, -1, 0)]
    return max(range(6), key=lambda k: x * table[k][0] + y * table[k][1] + z * table[k][2])


def solids():
    h = ONE / TWO
    inv_phi = ONE / PHI
    icosidodecahedron = signed_cyclic((0, 0, PHI), (h, PHI / 2, PHI * PHI / 2))
    rhombicosidodecahedron = signed_cyclic((ONE, ONE, PHI**3), (PHI**2, PHI, 2 * PHI), (2 + PHI, 0, PHI**2))
    rhombicuboctahedron = signed_all((ONE, ONE, ONE + TWO.sqrt()))
    snub = snub_cube()
    return [
        ("Tetranew", build("Tetranew", [(ONE, ONE, ONE), (ONE, -ONE, -ONE), (-ONE, ONE, -ONE), (-ONE, -ONE, ONE)],
                                  rows=tetrahedron_rows)),
        ("NewCube", build("NewCube", signs((ONE, ONE, ONE)), face_order=cube_face_order)),
        ("NewOcto", build("NewOcto", signed_all((ONE, 0, 0)))),
        ("NewDodec", build("NewDodec", signs((ONE, ONE, ONE)) | signed_cyclic((0, inv_phi, PHI)))),
        ("NewIco", build("NewIco", signed_cyclic((0, ONE, PHI)))),
        ("OneFour", build("OneFour", signed_all((ONE, ONE, 0)))),
        ("twosix", build("twosix", rhombicuboctahedron)),
        ("soccer", build("soccer", signed_cyclic((0, ONE, 3 * PHI), (ONE, 2 + PHI, 2 * PHI), (PHI, TWO, PHI**3)))),
        ("threetwo", build("threetwo", icosidodecahedron)),
        ("threeeight", build("threeeight", snub)),
        ("sixtwo", build("sixtwo", rhombicosidodecahedron)),
        ("twofour", build("twofour", None, reciprocal_of=rhombicuboctahedron)),
        ("sixzero", build("sixzero", None, reciprocal_of=rhombicosidodecahedron)),
        ("ThreeZero", build("ThreeZero", None, reciprocal_of=icosidodecahedron)),
        ("PentTwoFour", build("PentTwoFour", None, reciprocal_of=snub)),
    ]


# Faces by corner count and vertices of each solid, as the shapes are known.
EXPECTED = {
    "Tetranew": ({3: 4}, 4),
    "NewCube": ({4: 6}, 8),
    "NewOcto": ({3: 8}, 6),
    "NewDodec": ({5: 12}, 20),
    "NewIco": ({3: 20}, 12),
    "OneFour": ({3: 8, 4: 6}, 12),
    "twosix": ({3: 8, 4: 18}, 24),
    "soccer": ({5: 12, 6: 20}, 60),
    "threetwo": ({3: 20, 5: 12}, 30),
    "threeeight": ({3: 32, 4: 6}, 24),
    "sixtwo": ({3: 20, 4: 30, 5: 12}, 60),
    "twofour": ({4: 24}, 26),
    "sixzero": ({4: 60}, 62),
    "ThreeZero": ({4: 30}, 32),
    "PentTwoFour": ({5: 24}, 38),
}

# The soccer ball's tables carry no underscore.
TABLE_NAMES = {"soccer": ("soccerCoord3D", "soccerFaces3D")}


def table_names(family):
    return TABLE_NAMES.get(family, (family + "_Coords3D", family + "_Faces3D"))


def check(family, solid):
    kinds = {}
    for f in solid["faces"]:
        kinds[len(f)] = kinds.get(len(f), 0) + 1
    want_kinds, want_verts = EXPECTED[family]
    if kinds != want_kinds or len(solid["points"]) != want_verts:
        raise SystemExit(f"{family}: got {kinds} on {len(solid['points'])} vertices")


def fmt(x):
    r = repr(float(x))
    if r == "-0.0":
        r = "0.0"
    return r


def emit(out_root, made):
    header = [
        "#pragma once",
        "// Generated by tools/make_catalogue_solids.py; do not edit.",
        "// The solids of the static shape families: vertices (x, y, z) and face rows",
        "// (1-based vertex numbers of each face, counter-clockwise seen from outside,",
        "// each face ended by 0). Platonic and Archimedean solids have every vertex",
        "// on the unit sphere; the Catalan solids (twofour, sixzero, ThreeZero,",
        "// PentTwoFour) have their farthest vertices on it.",
        "",
        "// The tables live in the header so that tables of other shapes that start",
        "// with one of these solids' points can be put together at compile time.",
        "",
        "#include <cstdint>",
        "",
        "// clang-format off",
    ]
    body = [
        "// Generated by tools/make_catalogue_solids.py; do not edit.",
        '#include "polyhedron/catalogue_solids.h"',
        "",
        '#include "polyhedron/catalogue_row_checks.h"',
        "",
    ]
    directory = []
    for family, solid in made:
        coords, rows = table_names(family)
        pts, faces = solid["points"], solid["faces"]
        entries = sum(len(f) + 1 for f in faces)
        header.append(f"inline constexpr double {coords}[{len(pts)}][3] = {{")
        for p in pts:
            header.append("  {" + ", ".join(fmt(c) for c in p) + "},")
        header.append("};")
        header.append(f"inline constexpr int16_t {rows}[{entries}] = {{")
        for f in faces:
            header.append("  " + ", ".join(str(m + 1) for m in f) + ", 0,")
        header.append("};")
        header.append("")
        directory.append(
            f'  {{"{family}", {coords}, {len(pts)}, {rows}, {entries}, {len(faces)}, '
            f'{"true" if solid["circumscribed"] else "false"}}},'
        )
    header += [
        "// clang-format on",
        "",
        "// One solid of the tables above, for code that walks all of them.",
        "struct CatalogueSolid {",
        "  const char* family;",
        "  const double (*coords3D)[3];",
        "  int32_t vertexCount;",
        "  const int16_t* faces3D;",
        "  int32_t rowEntries;  // face rows with their closing zeros",
        "  int32_t faceCount;",
        "  bool circumscribed;  // every vertex on the unit sphere",
        "};",
        f"constexpr int32_t kCatalogueSolidCount = {len(made)};",
        "extern const CatalogueSolid kCatalogueSolids[kCatalogueSolidCount];",
        "",
    ]
    body += [
        "const CatalogueSolid kCatalogueSolids[kCatalogueSolidCount] = {",
        *directory,
        "};",
        "",
    ]
    for family, solid in made:
        coords, rows = table_names(family)
        body.append(
            f"static_assert(CatalogueRowsValid({rows}, {len(solid['points'])}, {len(solid['faces'])}), "
            f'"{family} face rows");'
        )
    body += [""]
    with open(os.path.join(out_root, "polyhedron", "catalogue_solids.h"), "w") as f:
        f.write("\n".join(header))
    with open(os.path.join(out_root, "polyhedron", "catalogue_solids.cpp"), "w") as f:
        f.write("\n".join(body))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out_root = sys.argv[2] if len(sys.argv) > 2 else root
    made = solids()
    for family, solid in made:
        check(family, solid)
    emit(out_root, made)


if __name__ == "__main__":
    main()
