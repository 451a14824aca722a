#!/usr/bin/env python3
"""Writes polyhedron/shape_tables_solid.{h,cpp}: the static shape families
whose solid is exact or made for the purpose, with their nets.

Usage: python3 tools/make_shape_solid_tables.py [repo root [output root]]

It reads the dodecahedron and its net from the repository's
polyhedron/catalogue_solids.h and catalogue_nets.h and writes its tables under
the output root (the repository root unless given).

Conventions shared with the other catalogue tables: 3D faces counter-
clockwise seen from outside, y up; net faces counter-clockwise; face rows are
1-based vertex numbers, each face ended by 0; a _2D_to_3D map gives the
0-based solid vertex of every 0-based net point. A net face is congruent to
the solid face it folds onto. Families whose shape sets mirrorFlipB (the
render point is then (-x, y, z)) store the solid mirrored in x, so that what
is drawn is the solid described here, seen the same way as every other
shape's.

Families:

  conformal_dodecahedron (shape 70; shape 9 may borrow its points)
      The dodecahedron with every pentagon cut into ten triangles from its
      centre to its corners and edge midpoints: 62 solid vertices (20
      corners, 12 face centres, 30 edge midpoints, all on the faces of the
      dodecahedron of polyhedron/catalogue_solids, which is the solid of
      shape 9), 120 triangles. Every triangle lists its corners as (face
      centre, edge midpoint, corner), the order in which the dodecahedron's
      conformal warp reads its barycentrics; so neighbouring triangles run
      opposite ways round, and the map and the 3D rows, not edge links,
      carry the fold. The net is the dodecahedron's net of shape 9
      (polyhedron/catalogue_nets, read here): its 38 points come first, in
      its numbering, then the 12 pentagon centres, then the midpoints of its
      49 distinct edges: 99 points. Triangles 10k to 10k + 9 lie in net
      pentagon k, which is their facegroup, so a layer or a glue tab drawn
      from the net of shape 9 covers exactly those triangles.
  dodo (shape 20)
      The dodecahedron of shape 9 with every face cut into a decagon and five
      quadrilaterals, all in the face's plane: the decagon is the pentagon
      shrunk about its centre, its corners clipped, and each quadrilateral
      joins one of its long sides to the dodecahedron's edge beside it. The
      clipped corners leave a thin notch at each corner of the dodecahedron.
      Group k (faces 6k to 6k + 5) is solid face k, its decagon first: 140
      solid vertices, the 20 corners first. The solid is one piece through
      the quadrilaterals that meet on its edges, so the net's twelve groups
      find their solid faces from their decagons. (Listed as 306 solid
      vertices: a net of twelve six-face groups, each hinged from one face,
      can fold onto faces naming at most 240.) The net lays each group on
      the pentagon of the dodecahedron's net that shows its face, pulled a
      little apart from the others (240 points).
  GID (shape 21)
      The dodecahedron of shape 9 with every face cut into eleven, all in
      the face's plane: a regular pentagon half the face's size, turned to
      point at the face's edge midpoints, and round it five cells, one at
      each corner of the face (a centre side, two half edges of the face and
      the corner). Each cell is cut in two from its centre corner through a
      point inside it: four to a point on one of the face's half edges,
      giving two pentagons, and the first to the face's corner, giving a
      pentagon and a quadrilateral. So group k (faces 11k to 11k + 10, the
      regular pentagon at 11k + 5, the only faces whose angles are all
      equal) has 1 quadrilateral and 10 pentagons; 218 solid vertices (the
      20 corners first, then each face's new points, an edge midpoint where
      it is first met). The
      cut points on the face's edges are the face's own, so the faces beside
      them meet the neighbouring face's undivided half edge; a solid of
      these faces that closed up without such joints would have 194
      vertices, not the 170 listed. The net of a group is a tree hinged from
      the centre (34 points), cut along the cells' other shared sides, and
      the groups lie on the dodecahedron's net as the dodo's do (408
      points).
  FiveTets (shape 13, "spikeball")
      The pentagonal hexecontahedron: sixty pentagons, 92 vertices, the
      polar reciprocal of the snub dodecahedron on the unit sphere (found
      here as the orbit, under the icosahedron's rotations, of the point
      whose five nearest images are equally far), scaled so that its
      farthest vertices lie on the unit sphere. (Listed as 193 solid
      vertices; a closed solid of sixty pentagons has 92.) Its net is ten
      sawtooth strips of six faces, found by an exact-cover search: a face F,
      its neighbour N, F's two neighbours before N counter-clockwise and two
      neighbours of N. F of strip s is solid face 0, 6, 37, 11, 14, 2, 5, 51,
      39, 56 in turn, its corners turned so that N lies across its edge 0,
      and N's so that its two strip neighbours lie across its edges 3 and 4;
      net faces 6s to 6s + 5 are N's neighbours across edges 4 and 3, N, F's
      neighbours across edges 4 and 3, and F, each listing its corners as its
      solid face does. The strips lie in two rows of five (200 points).
  Jewel (shape 79)
      The triangular bipyramid of unit circumradius: poles on the y axis,
      three corners on the equator (5 vertices, 6 isosceles faces). Its net
      is a strip of four faces, bottom, top, top, bottom (6 points); two
      rows follow that are empty, so two faces have no net face.
  beanbag (shape 15)
      The regular tetrahedron of unit circumradius, its four faces cut
      apart and laid side by side (12 points).
  Box (shape 29)
      The three faces of the unit-circumradius cube that meet at the corner
      (+, +, +): an L of three squares around that corner, cut along the
      edge between the first and the last (8 points on 7 vertices).
  Balloon (shape 10)
      A balloon of eleven gores: an apex at the top, an upper ring of eleven
      corners, a narrower lower ring and a neck point below (24 vertices),
      with eleven triangles round the apex, eleven trapezia and eleven
      triangles down to the neck (33 faces). The net is the eleven gores,
      each a trapezium with its neck triangle, side by side, and the cap in
      three fans of four, four and three triangles (72 points).
  paperlock (shape 11; sphericalFlag 2)
      The equirectangular map as a flat sheet: a solid point (x, y, 0) is
      read as the map point (u, v) = (0.75 - x, y) once mirrored, u and v
      from 0 to 1 (v = 0 the north pole). The sheet is cut into the
      equatorial band, five quadrilaterals of 72 degrees between latitudes
      45 north and south, and the two polar strips, each fanned from its
      centre into four triangles (13 faces); the net lays the pieces out
      apart, like paper pieces before they are locked together (44 points).
      The net holds the sheet as (-u, v), a mirror image of the solid, so
      that the net, drawn turned half round like every net, reads as the
      map does.
"""

import math
import os
import re
import sys


# ----------------------------------------------------------------- vectors

def sub(a, b):
    return [a[i] - b[i] for i in range(len(a))]


def add(a, b):
    return [a[i] + b[i] for i in range(len(a))]


def scale(a, s):
    return [x * s for x in a]


def dot(a, b):
    return sum(a[i] * b[i] for i in range(len(a)))


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def norm(a):
    return math.sqrt(dot(a, a))


def unit(a):
    return scale(a, 1.0 / norm(a))


def mean(points):
    return [sum(p[i] for p in points) / len(points) for i in range(len(points[0]))]


def face_normal(pts):
    # Newell's normal: right for any planar polygon, convex or not.
    n = [0.0, 0.0, 0.0]
    for i in range(len(pts)):
        a, b = pts[i], pts[(i + 1) % len(pts)]
        n[0] += (a[1] - b[1]) * (a[2] + b[2])
        n[1] += (a[2] - b[2]) * (a[0] + b[0])
        n[2] += (a[0] - b[0]) * (a[1] + b[1])
    return unit(n)


def outward(coords, face):
    """The face turned counter-clockwise seen from outside (the origin is
    inside every solid here)."""
    pts = [coords[v] for v in face]
    return face if dot(face_normal(pts), mean(pts)) > 0 else list(reversed(face))


def flat(coords, face):
    """The face's corners in its own plane, seen from outside: counter-
    clockwise when the face is."""
    pts = [coords[v] for v in face]
    n = face_normal(pts)
    u = unit(sub(pts[1], pts[0]))
    w = cross(n, u)
    return [[dot(sub(p, pts[0]), u), dot(sub(p, pts[0]), w)] for p in pts]


def place(local, i, j, at_i, at_j):
    """Moves a flat face rigidly (no reflection) so that its corner i lands
    on at_i and corner j on at_j."""
    d_local = sub(local[j], local[i])
    d_target = sub(at_j, at_i)
    angle = math.atan2(d_target[1], d_target[0]) - math.atan2(d_local[1], d_local[0])
    c, s = math.cos(angle), math.sin(angle)
    out = []
    for p in local:
        q = sub(p, local[i])
        out.append([at_i[0] + c * q[0] - s * q[1], at_i[1] + s * q[0] + c * q[1]])
    return out


def rotate2(p, angle, about=(0.0, 0.0)):
    c, s = math.cos(angle), math.sin(angle)
    q = sub(p, about)
    return [about[0] + c * q[0] - s * q[1], about[1] + s * q[0] + c * q[1]]


class Net:
    """A net under construction: points with their solid vertex, and rows."""

    def __init__(self):
        self.points = []
        self.to3d = []
        self.rows = []

    def point(self, xy, v3d):
        self.points.append(list(xy))
        self.to3d.append(v3d)
        return len(self.points) - 1


def unfold_piece(net, coords, faces, tree, anchor=(0.0, 0.0), turn=0.0):
    """Lays one piece out: tree lists (face, parent face or None) in order,
    each face hinged to its parent along their shared edge. Returns the
    rows (net point numbers) of the piece's faces, in tree order."""
    rows = []
    row_of = {}
    for face_index, parent in tree:
        face = faces[face_index]
        local = flat(coords, face)
        if parent is None:
            placed = [add(rotate2(p, turn), anchor) for p in local]
        else:
            # The hinge: the parent's edge that this face runs the other way.
            prow, pface = row_of[parent], faces[parent]
            hinge = None
            for k in range(len(face)):
                a, b = face[k], face[(k + 1) % len(face)]
                for m in range(len(pface)):
                    if pface[m] == b and pface[(m + 1) % len(pface)] == a:
                        hinge = (k, (k + 1) % len(face), prow[(m + 1) % len(pface)], prow[m])
            assert hinge, "a hinge needs a shared edge"
            i, j, at_i, at_j = hinge
            placed = place(local, i, j, net.points[at_i], net.points[at_j])
        # Only the hinge's two corners are shared with the parent; corners
        # that merely touch another face keep points of their own.
        shared = {}
        if parent is not None:
            shared = {hinge[0]: hinge[2], hinge[1]: hinge[3]}
        row = []
        for k, v in enumerate(face):
            row.append(shared[k] if k in shared else net.point(placed[k], v))
        row_of[face_index] = row
        rows.append(row)
    return rows


def piece_bounds(net, rows):
    pts = [net.points[p] for r in rows for p in r]
    return (min(p[0] for p in pts), max(p[0] for p in pts), min(p[1] for p in pts), max(p[1] for p in pts))


def shift_piece(net, rows, dx, dy):
    for p in sorted({p for r in rows for p in r}):
        net.points[p] = [net.points[p][0] + dx, net.points[p][1] + dy]


# ------------------------------------------------------------ upright nets

def upright_turn(net, rows, coords, flip_a, flip_b=False):
    """The turn (radians, counter-clockwise in the net's axes) that lays a
    net upright: the renderer shows solid point p in the sphere direction
    (a*b*x, a*y, z), a = -1 under mirrorFlipA and b = -1 under mirrorFlipB,
    and picture rows grow with the net's y; so the net face whose solid face
    centre lies nearest the sphere's front (+z; the first such row on ties)
    must show the zenith (+y) straight up the picture, towards the net's
    -y, as the cube crosses do. Rows list net points; net.to3d gives each
    point's solid vertex."""
    a = -1.0 if flip_a else 1.0
    b = -1.0 if flip_b else 1.0

    def shown(q):
        p = coords[net.to3d[q]]
        return [a * b * p[0], a * p[1], p[2]]

    best, row = -2.0, None
    for r in rows:
        if len(r) < 3:
            continue
        c = mean([shown(q) for q in r])
        cosine = c[2] / norm(c)
        if cosine > best + 1e-9:
            best, row = cosine, r
    assert row is not None, "a net without faces"
    q = [shown(p) for p in row[:3]]
    e1, e2 = sub(q[1], q[0]), sub(q[2], q[0])
    n = cross(e1, e2)
    zenith = [0.0, 1.0, 0.0]
    up = sub(zenith, scale(n, dot(zenith, n) / dot(n, n)))
    assert dot(up, up) > 1e-12, "the front face has no up direction"
    g11, g12, g22 = dot(e1, e1), dot(e1, e2), dot(e2, e2)
    r1, r2 = dot(up, e1), dot(up, e2)
    det = g11 * g22 - g12 * g12
    al, be = (r1 * g22 - r2 * g12) / det, (r2 * g11 - r1 * g12) / det
    p = [net.points[v] for v in row[:3]]
    ux = al * (p[1][0] - p[0][0]) + be * (p[2][0] - p[0][0])
    uy = al * (p[1][1] - p[0][1]) + be * (p[2][1] - p[0][1])
    return math.atan2(-1.0, 0.0) - math.atan2(uy, ux)


def turn_net(net, angle):
    """Turns every point of the net about the centre of its box."""
    xs = [p[0] for p in net.points]
    ys = [p[1] for p in net.points]
    centre = [(min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2]
    net.points = [rotate2(p, angle, centre) for p in net.points]


# ------------------------------------------------------- reading the tables

def read_table(path, name):
    """The numbers of one constexpr table of a generated catalogue source."""
    text = open(path).read()
    m = re.search(r"constexpr (?:double|int16_t) " + re.escape(name) + r"\[[^=]*=\s*\{(.*?)\n\};", text, re.S)
    assert m, f"{name} not found in {path}"
    return [float(x) for x in re.findall(r"-?\d+(?:\.\d+)?(?:e-?\d+)?", m.group(1))]


def rows_of(numbers):
    rows, row = [], []
    for x in numbers:
        if int(x) == 0:
            rows.append(row)
            row = []
        else:
            row.append(int(x) - 1)
    return rows


# --------------------------------------------------------------- families

def dodecahedron_and_its_net(root):
    """The dodecahedron of shape 9 and its net, read from the generated
    catalogue sources, with the net folded onto the solid: for every net
    pentagon the solid face it shows and the corner offset (net corner k on
    solid corner k + offset), and the solid vertex of every net point."""
    nets = os.path.join(root, "polyhedron", "catalogue_nets.h")
    solids = os.path.join(root, "polyhedron", "catalogue_solids.h")
    c2 = read_table(nets, "NewDodec_Coords2D")
    net_pts = [c2[i:i + 2] for i in range(0, len(c2), 2)]
    net_faces = rows_of(read_table(nets, "NewDodec_Faces2D"))
    c3 = read_table(solids, "NewDodec_Coords3D")
    pts3 = [c3[i:i + 3] for i in range(0, len(c3), 3)]
    faces3 = rows_of(read_table(solids, "NewDodec_Faces3D"))
    assert len(net_pts) == 38 and len(net_faces) == 12 and len(pts3) == 20 and len(faces3) == 12

    # Fold the pentagon net onto the dodecahedron: net face 0 on solid face
    # 0 corner for corner, then across every joined net edge.
    edge_of_3d = {}
    for F, face in enumerate(faces3):
        for k in range(5):
            edge_of_3d[(face[k], face[(k + 1) % 5])] = (F, k)
    edge_of_2d = {}
    for f, face in enumerate(net_faces):
        for k in range(5):
            edge_of_2d[(face[k], face[(k + 1) % 5])] = (f, k)
    face_of = {0: (0, 0)}  # net face -> (solid face, corner offset)
    stack = [0]
    while stack:
        f = stack.pop()
        F, o = face_of[f]
        for k in range(5):
            a, b = net_faces[f][k], net_faces[f][(k + 1) % 5]
            if (b, a) not in edge_of_2d:
                continue
            g, gk = edge_of_2d[(b, a)]  # edge gk of g runs b -> a
            if g in face_of:
                continue
            A, B = faces3[F][(k + o) % 5], faces3[F][(k + 1 + o) % 5]
            G, Gk = edge_of_3d[(B, A)]
            face_of[g] = (G, (Gk - gk) % 5)
            stack.append(g)
    assert len(face_of) == 12 and len({F for F, _ in face_of.values()}) == 12
    corner3d = [None] * 38
    for f, face in enumerate(net_faces):
        F, o = face_of[f]
        for k, p in enumerate(face):
            v = faces3[F][(k + o) % 5]
            assert corner3d[p] in (None, v), "the net folds two ways"
            corner3d[p] = v
    return net_pts, net_faces, pts3, faces3, face_of, corner3d


def conformal_dodecahedron(root):
    net_pts, net_faces, pts3, faces3, face_of, corner3d = dodecahedron_and_its_net(root)

    # Solid: corners, centres of the faces, midpoints of the edges.
    coords3 = [list(p) for p in pts3]
    centre3 = []
    for face in faces3:
        centre3.append(len(coords3))
        coords3.append(mean([pts3[v] for v in face]))
    mid3 = {}
    for face in faces3:
        for k in range(5):
            key = tuple(sorted((face[k], face[(k + 1) % 5])))
            if key not in mid3:
                mid3[key] = len(coords3)
                coords3.append(mean([pts3[key[0]], pts3[key[1]]]))
    assert len(coords3) == 62

    # Net: the pentagon net's points, then centres, then edge midpoints.
    net = Net()
    for p in range(38):
        net.point(net_pts[p], corner3d[p])
    centre2 = []
    for f, face in enumerate(net_faces):
        centre2.append(net.point(mean([net_pts[p] for p in face]), centre3[face_of[f][0]]))
    mid2 = {}
    for face in net_faces:
        for k in range(5):
            key = tuple(sorted((face[k], face[(k + 1) % 5])))
            if key not in mid2:
                v3 = mid3[tuple(sorted((corner3d[key[0]], corner3d[key[1]])))]
                mid2[key] = net.point(mean([net_pts[key[0]], net_pts[key[1]]]), v3)
    assert len(net.points) == 99

    rows2, rows3, groups = [], [], []
    for f, face in enumerate(net_faces):
        for k in range(5):
            a, b = face[k], face[(k + 1) % 5]
            m = mid2[tuple(sorted((a, b)))]
            for corner in (a, b):
                row = [centre2[f], m, corner]
                rows2.append(row)
                rows3.append([net.to3d[p] for p in row])
                groups.append(f)
    return {
        "name": "conformal_dodecahedron",
        "coords2D": net.points, "faces2D": rows2, "map": net.to3d,
        "coords3D": coords3, "faces3D": rows3, "groups": groups,
        "leading": {"coords2D": "NewDodec_Coords2D", "coords3D": "NewDodec_Coords3D"},
    }


def dodo(root):
    net_pts, net_faces, pts3, faces3, face_of, _ = dodecahedron_and_its_net(root)
    inset, cut = 0.62, 0.05
    coords = [list(p) for p in pts3]
    faces = []
    groups = []  # per solid face: its flat decagon and quads in the face plane
    for F, face in enumerate(faces3):
        corners = [pts3[v] for v in face]
        c = mean(corners)
        shrunk = [add(c, scale(sub(p, c), inset)) for p in corners]
        decagon = []
        for i in range(5):
            a, b = shrunk[i], shrunk[(i + 1) % 5]
            for t in (cut, 1 - cut):
                coords.append(add(a, scale(sub(b, a), t)))
                decagon.append(len(coords) - 1)
        faces.append(decagon)
        for i in range(5):
            la, lb = decagon[2 * i], decagon[2 * i + 1]
            faces.append([lb, la, face[i], face[(i + 1) % 5]])
    # Net: each group flat, on the pentagon of the dodecahedron's net that
    # shows its face, the groups pulled a little apart.
    net = Net()
    rows = [None] * 72
    net_c = mean(net_pts)
    for f, pent in enumerate(net_faces):
        F, o = face_of[f]
        tree = [(6 * F, None)] + [(6 * F + 1 + i, 6 * F) for i in range(5)]
        piece = unfold_piece(net, coords, faces, tree)
        # Lay the group's dodecahedron corners on the net pentagon's.
        p0 = net.points[piece[1][2]]  # solid corner 0 of F, on quad 0
        p1 = net.points[piece[1][3]]  # solid corner 1
        at0, at1 = net_pts[pent[(0 - o) % 5]], net_pts[pent[(1 - o) % 5]]
        angle = math.atan2(at1[1] - at0[1], at1[0] - at0[0]) - math.atan2(p1[1] - p0[1], p1[0] - p0[0])
        points = sorted({p for r in piece for p in r})
        moved = {p: add(rotate2(sub(net.points[p], p0), angle), at0) for p in points}
        centre = mean([net_pts[q] for q in pent])
        push = scale(sub(centre, net_c), 0.12)
        for p in points:
            net.points[p] = add(moved[p], push)
        for j, r in enumerate(piece):
            rows[6 * F + j] = r
    assert len(net.points) == 240 and len(coords) == 140, (len(net.points), len(coords))
    turn_net(net, upright_turn(net, rows, coords, flip_a=True))
    return {"name": "dodo", "coords2D": net.points, "faces2D": rows, "coords3D": coords, "faces3D": faces,
            "leading": {"coords3D": "NewDodec_Coords3D"}}


def gid(root):
    net_pts, net_faces, pts3, faces3, face_of, _ = dodecahedron_and_its_net(root)
    coords = [list(p) for p in pts3]
    mids = {}

    def midpoint(a, b):
        key = (min(a, b), max(a, b))
        if key not in mids:
            coords.append(mean([pts3[a], pts3[b]]))
            mids[key] = len(coords) - 1
        return mids[key]

    def new(p):
        coords.append(p)
        return len(coords) - 1

    faces = []
    for F, face in enumerate(faces3):
        P = [pts3[v] for v in face]
        c = mean(P)
        M = [midpoint(face[i], face[(i + 1) % 5]) for i in range(5)]
        C = [new(add(c, scale(sub(coords[M[i]], c), 0.5))) for i in range(5)]
        ring = []
        for j in range(5):
            # The ring's cell at corner j, between central edge (C[j-1], C[j])
            # and the corner, cut in two from C[j-1].
            K = [C[j], C[j - 1], M[j - 1], face[j], M[j]]
            X = new(mean([coords[v] for v in K]))
            if j == 0:
                a = [C[j], C[j - 1], X, face[j], M[j]]
                b = [C[j - 1], M[j - 1], face[j], X]
            else:
                E = new(mean([pts3[face[j]], coords[M[j]]]))
                a = [C[j], C[j - 1], X, E, M[j]]
                b = [C[j - 1], M[j - 1], face[j], E, X]
            ring.append((outward(coords, a), outward(coords, b)))
        group = [ring[0][0], ring[0][1], ring[1][0], ring[1][1], ring[2][0], outward(coords, C),
                 ring[2][1], ring[3][0], ring[3][1], ring[4][0], ring[4][1]]
        faces += group
    net = Net()
    rows = [None] * 132
    net_c = mean(net_pts)
    for f, pent in enumerate(net_faces):
        F, o = face_of[f]
        base = 11 * F
        # The centre first, each half of a cell on the central pentagon, each
        # other half on its partner.
        tree = [(base + 5, None)]
        for a, b in ((0, 1), (2, 3), (4, 6), (7, 8), (9, 10)):
            tree += [(base + a, base + 5), (base + b, base + a)]
        piece = unfold_piece(net, coords, faces, tree)
        by_face = {t[0]: r for t, r in zip(tree, piece)}
        # Lay the group's dodecahedron corners on the net pentagon's.
        corner_at = {}
        for t, r in zip(tree, piece):
            for q, v in zip(r, faces[t[0]]):
                corner_at.setdefault(v, q)
        p0 = net.points[corner_at[faces3[F][0]]]
        p1 = net.points[corner_at[faces3[F][1]]]
        at0, at1 = net_pts[pent[(0 - o) % 5]], net_pts[pent[(1 - o) % 5]]
        angle = math.atan2(at1[1] - at0[1], at1[0] - at0[0]) - math.atan2(p1[1] - p0[1], p1[0] - p0[0])
        points = sorted({q for r in piece for q in r})
        centre = mean([net_pts[q] for q in pent])
        push = scale(sub(centre, net_c), 0.12)
        moved = {q: add(add(rotate2(sub(net.points[q], p0), angle), at0), push) for q in points}
        for q in points:
            net.points[q] = moved[q]
        for g, r in by_face.items():
            rows[g] = r
    assert len(net.points) == 408, len(net.points)
    turn_net(net, upright_turn(net, rows, coords, flip_a=True))
    return {"name": "GID", "coords2D": net.points, "faces2D": rows, "coords3D": coords, "faces3D": faces,
            "leading": {"coords3D": "NewDodec_Coords3D"}}


def jewel():
    coords = [[0.0, 1.0, 0.0]]
    for k in range(3):
        t = 2 * math.pi * k / 3
        coords.append([math.sin(t), 0.0, math.cos(t)])
    coords.append([0.0, -1.0, 0.0])
    top = [outward(coords, [0, 1 + k, 1 + (k + 1) % 3]) for k in range(3)]
    bottom = [outward(coords, [4, 1 + (k + 1) % 3, 1 + k]) for k in range(3)]
    faces = top + bottom
    net = Net()
    # Bottom 0, top 0, top 1, bottom 1: each hinged to the one before.
    rows = unfold_piece(net, coords, faces, [(3, None), (0, 3), (1, 0), (4, 1)])
    assert len(net.points) == 6
    return {
        "name": "Jewel",
        "coords2D": net.points, "faces2D": rows + [[], []],
        "coords3D": coords, "faces3D": faces,
    }


def tetrahedron_coords():
    s = 1 / math.sqrt(3)
    return [[-s, s, -s], [s, s, s], [-s, -s, s], [s, -s, -s]]


def beanbag():
    coords = tetrahedron_coords()
    faces = [outward(coords, f) for f in ([0, 1, 2], [0, 1, 3], [0, 2, 3], [1, 2, 3])]
    net = Net()
    rows = []
    edge = norm(sub(coords[0], coords[1]))
    for i, f in enumerate(faces):
        piece = unfold_piece(net, coords, faces, [(i, None)])
        x0, x1, y0, y1 = piece_bounds(net, piece)
        shift_piece(net, piece, i * edge * 1.1 - x0, -y0)
        rows += piece
    return {"name": "beanbag", "coords2D": net.points, "faces2D": rows, "map": net.to3d, "coords3D": coords}


def box():
    s = 1 / math.sqrt(3)
    coords = [[s, s, s], [s, s, -s], [s, -s, s], [-s, s, s], [s, -s, -s], [-s, s, -s], [-s, -s, s]]
    # Faces x = +s, y = +s, z = +s, each with the corner (+, +, +).
    faces = [outward(coords, [0, 2, 4, 1]), outward(coords, [0, 1, 5, 3]), outward(coords, [0, 3, 6, 2])]
    net = Net()
    rows = unfold_piece(net, coords, faces, [(0, None), (1, 0), (2, 1)])
    assert len(net.points) == 8
    return {"name": "Box", "coords2D": net.points, "faces2D": rows, "map": net.to3d, "coords3D": coords}


def mirrored(coords):
    return [[-p[0], p[1], p[2]] for p in coords]


def balloon():
    n = 11
    coords = [[0.0, 1.0, 0.0]]
    rings = ((0.30, 0.93), (-0.50, 0.62))
    for y, r in rings:
        for k in range(n):
            t = 2 * math.pi * (k + 0.5) / n
            coords.append([r * math.sin(t), y, r * math.cos(t)])
    coords.append([0.0, -1.0, 0.0])
    up = lambda k: 1 + k % n
    low = lambda k: 1 + n + k % n
    neck = 1 + 2 * n
    cap = [outward(coords, [0, up(k), up(k + 1)]) for k in range(n)]
    side = [outward(coords, [up(k), low(k), low(k + 1), up(k + 1)]) for k in range(n)]
    bottom = [outward(coords, [neck, low(k + 1), low(k)]) for k in range(n)]
    faces = cap + side + bottom
    net = Net()
    rows = []
    # Gores: each trapezium with its neck triangle, stood side by side.
    x = 0.0
    for k in range(n):
        piece = unfold_piece(net, coords, faces, [(n + k, None), (2 * n + k, n + k)])
        # Turn the gore upright: its top edge level, the neck below.
        top_a, top_b = net.points[piece[0][0]], net.points[piece[0][3]]
        angle = -math.atan2(top_a[1] - top_b[1], top_a[0] - top_b[0])
        for p in sorted({p for r in piece for p in r}):
            net.points[p] = rotate2(net.points[p], angle)
        x0, x1, y0, y1 = piece_bounds(net, piece)
        shift_piece(net, piece, x - x0, -y1)
        x += (x1 - x0) * 1.08
        rows.append((n + k, piece[0]))
        rows.append((2 * n + k, piece[1]))
    # The cap in three fans above the gores.
    gores_bottom = min(p[1] for p in net.points)
    fans = [range(0, 4), range(4, 8), range(8, 11)]
    x = 0.0
    for fan in fans:
        tree = [(k, None if i == 0 else k - 1) for i, k in enumerate(fan)]
        piece = unfold_piece(net, coords, faces, tree)
        x0, x1, y0, y1 = piece_bounds(net, piece)
        shift_piece(net, piece, x - x0, gores_bottom - 0.15 - y1)
        x += (x1 - x0) * 1.08
        rows += list(zip(fan, piece))
    rows.sort()
    assert len(net.points) == 72
    return {
        "name": "Balloon", "coords2D": net.points, "faces2D": [r for _, r in rows],
        "map": net.to3d, "coords3D": mirrored(coords), "drawn3D": coords,
    }


def paperlock():
    # Sheet points as (u, v); the solid stores (0.75 - u, v, 0) mirrored,
    # so that it draws the map point (u, v).
    sheet = []

    def vertex(u, v):
        for i, q in enumerate(sheet):
            if abs(q[0] - u) < 1e-12 and abs(q[1] - v) < 1e-12:
                return i
        sheet.append([u, v])
        return len(sheet) - 1

    pieces = []
    for k in range(5):
        u0, u1 = k / 5, (k + 1) / 5
        pieces.append(("band", [vertex(u0, 0.25), vertex(u0, 0.75), vertex(u1, 0.75), vertex(u1, 0.25)]))
    for v0, v1 in ((0.0, 0.25), (0.75, 1.0)):
        c = vertex(0.5, (v0 + v1) / 2)
        a, b, d, e = vertex(0, v0), vertex(0, v1), vertex(1, v1), vertex(1, v0)
        # Round the strip's centre: its left, lower, right and upper sides.
        for p, q in ((a, b), (b, d), (d, e), (e, a)):
            pieces.append(("cap", [c, p, q]))
    net = Net()
    rows = []
    for kind, face in pieces:
        # Nets are drawn turned half round (net y runs down the picture, net
        # x to the left), so the sheet lies in the net as (-u, v), which shows
        # it the way a map is read, north up and u to the right.
        pts = [[-sheet[p][0], sheet[p][1]] for p in face]
        area = sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1]
                   for i in range(len(pts)))
        if area < 0:
            face = list(reversed(face))
        rows.append([net.point([-sheet[p][0], sheet[p][1]], p) for p in face])
    # Pull the pieces apart: each moves away from the sheet's centre.
    for row in rows:
        c = mean([net.points[p] for p in row])
        dx, dy = (c[0] + 0.5) * 0.25, (c[1] - 0.5) * 0.25
        for p in row:
            net.points[p] = [net.points[p][0] + dx, net.points[p][1] + dy]
    assert len(net.points) == 44
    coords = [[0.75 - u, v, 0.0] for u, v in sheet]
    return {
        "name": "paperlock", "coords2D": net.points, "faces2D": rows,
        "map": net.to3d, "coords3D": coords,
    }


# ------------------------------------------------------------- spikeball

def icosahedral_rotations():
    """The 60 rotations of the icosahedron whose two-fold axes lie along x,
    y and z (as for the catalogue's other icosahedral solids)."""
    phi = (1 + math.sqrt(5)) / 2

    def about(axis, angle):
        x, y, z = unit(axis)
        c, s = math.cos(angle), math.sin(angle)
        k = 1 - c
        return ((c + x * x * k, x * y * k - z * s, x * z * k + y * s),
                (y * x * k + z * s, c + y * y * k, y * z * k - x * s),
                (z * x * k - y * s, z * y * k + x * s, c + z * z * k))

    def times(a, b):
        return tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)) for i in range(3))

    def key(m):
        return tuple(round(v, 6) for r in m for v in r)

    gens = [about((0, 1, phi), 2 * math.pi / 5), about((1, 1, 1), 2 * math.pi / 3)]
    one = ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0), (0.0, 0.0, 1.0))
    found = {key(one): one}
    frontier = [one]
    while frontier:
        grown = []
        for m in frontier:
            for g in gens:
                q = times(g, m)
                if key(q) not in found:
                    found[key(q)] = q
                    grown.append(q)
        frontier = grown
    assert len(found) == 60
    return sorted(found.values())


def snub_dodecahedron():
    """The snub dodecahedron on the unit sphere: the orbit of the one point
    (up to the symmetry) whose five nearest images are equally far, found by
    a grid and then Nelder and Mead's simplex search."""
    group = icosahedral_rotations()

    def point(ab):
        a, b = ab
        return [math.cos(a) * math.cos(b), math.sin(b), math.sin(a) * math.cos(b)]

    def orbit(p):
        return [[sum(m[i][k] * p[k] for k in range(3)) for i in range(3)] for m in group]

    def spread(ab):
        p = point(ab)
        d = sorted(norm(sub(p, q)) for q in orbit(p))[1:7]
        m = sum(d[:5]) / 5
        # Five equal neighbours, and the sixth clearly farther.
        return sum((x - m) ** 2 for x in d[:5]) / (m * m) + (0.0 if d[5] - d[4] > 1e-3 else 1.0)

    best = min(((spread((2 * math.pi * i / 200, -math.pi / 2 + math.pi * j / 100)), i, j)
                for i in range(200) for j in range(100)))
    simplex = [[2 * math.pi * best[1] / 200, -math.pi / 2 + math.pi * best[2] / 100]]
    simplex += [[simplex[0][0] + 0.01, simplex[0][1]], [simplex[0][0], simplex[0][1] + 0.01]]
    values = [spread(x) for x in simplex]
    for _ in range(4000):
        order = sorted(range(3), key=lambda i: values[i])
        simplex = [simplex[i] for i in order]
        values = [values[i] for i in order]
        c = [(simplex[0][k] + simplex[1][k]) / 2 for k in range(2)]
        r = [2 * c[k] - simplex[2][k] for k in range(2)]
        fr = spread(r)
        if fr < values[0]:
            e = [3 * c[k] - 2 * simplex[2][k] for k in range(2)]
            fe = spread(e)
            simplex[2], values[2] = (e, fe) if fe < fr else (r, fr)
        elif fr < values[1]:
            simplex[2], values[2] = r, fr
        else:
            h = [(c[k] + simplex[2][k]) / 2 for k in range(2)]
            fh = spread(h)
            if fh < values[2]:
                simplex[2], values[2] = h, fh
            else:
                for i in (1, 2):
                    simplex[i] = [(simplex[0][k] + simplex[i][k]) / 2 for k in range(2)]
                    values[i] = spread(simplex[i])
    assert values[0] < 1e-20
    return orbit(point(simplex[0]))


def spikeball():
    """The pentagonal hexecontahedron, numbered for the sawtooth strips of
    its net: see the module comment."""
    snub = snub_dodecahedron()
    edge = min(norm(sub(snub[0], q)) for q in snub[1:])
    near = [[j for j, q in enumerate(snub) if j != i and abs(norm(sub(p, q)) - edge) < 1e-9]
            for i, p in enumerate(snub)]
    assert all(len(n) == 5 for n in near)
    # Round each snub vertex, its neighbours counter-clockwise seen from
    # outside; each pair of consecutive neighbours spans one snub face.
    dual_points, dual_faces = [], []

    def dual_of_plane(a, b, c):
        n = unit(cross(sub(b, a), sub(c, a)))
        if dot(n, a) < 0:
            n = scale(n, -1)
        q = scale(n, 1 / dot(n, a))
        for i, old in enumerate(dual_points):
            if norm(sub(old, q)) < 1e-9:
                return i
        dual_points.append(q)
        return len(dual_points) - 1

    for i, p in enumerate(snub):
        u = unit(sub(near[i][0], [0, 0, 0]) if False else sub(snub[near[i][0]], p))
        w = cross(p, u)
        ring = sorted(near[i], key=lambda j: math.atan2(dot(sub(snub[j], p), w), dot(sub(snub[j], p), u)))
        face = [dual_of_plane(p, snub[ring[k]], snub[ring[(k + 1) % 5]]) for k in range(5)]
        dual_faces.append(outward(dual_points, face))
    assert len(dual_points) == 92 and len(dual_faces) == 60
    r = max(norm(q) for q in dual_points)
    coords = [scale(q, 1 / r) for q in dual_points]
    faces = dual_faces

    # Faces across each edge.
    across = {}
    for f, face in enumerate(faces):
        for k in range(5):
            across[(face[k], face[(k + 1) % 5])] = f

    def neighbour(f, k):
        face = faces[f]
        return across[(face[(k + 1) % 5], face[k])]

    # Ten strips cover the sixty faces: F and its neighbour N, F's two
    # neighbours before N (counter-clockwise) and two consecutive neighbours
    # of N; found by an exact-cover search in face order.
    candidates = []
    for F in range(60):
        for k in range(5):
            N = neighbour(F, k)
            for m in range(5):
                members = {F, N, neighbour(F, (k + 3) % 5), neighbour(F, (k + 4) % 5),
                           neighbour(N, (m + 3) % 5), neighbour(N, (m + 4) % 5)}
                if len(members) == 6:
                    candidates.append((members, (F, k, N, m)))
    holding = {f: [c for c in candidates if f in c[0]] for f in range(60)}

    def strips_from(taken, found):
        if len(taken) == 60:
            return found
        f = min(g for g in range(60) if g not in taken)
        for members, strip in holding[f]:
            if taken & members:
                continue
            result = strips_from(taken | members, found + [strip])
            if result:
                return result
        return None

    strips = strips_from(frozenset(), [])
    assert strips and len(strips) == 10
    # Number the solid faces: strip s's F takes the s-th of these numbers,
    # with its corners turned so that N lies across edge 0 (and N's so that
    # its two strip neighbours lie across edges 3 and 4); every other face
    # takes the lowest number left.
    seeds = [0, 6, 37, 11, 14, 2, 5, 51, 39, 56]
    turned = {}
    for F, k, N, m in strips:
        turned[F] = faces[F][k:] + faces[F][:k]
        turned[N] = faces[N][m:] + faces[N][:m]
    number = {}
    for s, (F, k, N, m) in enumerate(strips):
        number[F] = seeds[s]
    free = iter(x for x in range(60) if x not in seeds)
    for f in range(60):
        if f not in number:
            number[f] = next(free)
    solid = [None] * 60
    for f in range(60):
        solid[number[f]] = turned.get(f, faces[f])
    # The net: strip s is net faces 6s to 6s + 5, N's neighbour across its
    # edge 4, across edge 3, N, F's neighbour across edge 4, across edge 3,
    # F, each listing its corners as its solid face does.
    net = Net()
    rows = []

    def nb(face_number, edge):
        face = solid[face_number]
        for g in range(60):
            other = solid[g]
            for j in range(5):
                if other[j] == face[(edge + 1) % 5] and other[(j + 1) % 5] == face[edge]:
                    return g
        raise AssertionError("open edge")

    pieces = []
    for s, (F, k, N, m) in enumerate(strips):
        f = number[F]
        n_ = nb(f, 0)
        order = [nb(n_, 4), nb(n_, 3), n_, nb(f, 4), nb(f, 3), f]
        tree = [(f, None), (n_, f), (order[4], f), (order[3], f), (order[1], n_), (order[0], n_)]
        piece = unfold_piece(net, coords, solid, tree)
        by_face = dict(zip([t[0] for t in tree], piece))
        rows_s = [by_face[g] for g in order]
        pieces.append(piece)
        rows += rows_s
    # Every strip turned alike, as the whole net would be turned upright,
    # then laid in two rows of five.
    turn = upright_turn(net, rows, coords, flip_a=True)
    net.points = [rotate2(p, turn) for p in net.points]
    # Two rows of five strips.
    width = max(piece_bounds(net, p)[1] - piece_bounds(net, p)[0] for p in pieces) * 1.08
    height = max(piece_bounds(net, p)[3] - piece_bounds(net, p)[2] for p in pieces) * 1.08
    for s, piece in enumerate(pieces):
        x0, x1, y0, y1 = piece_bounds(net, piece)
        shift_piece(net, piece, (s % 5) * width - (x0 + x1) / 2, (s // 5) * height - (y0 + y1) / 2)
    assert len(net.points) == 200
    return {"name": "FiveTets", "coords2D": net.points, "faces2D": rows, "coords3D": coords, "faces3D": solid}


# ------------------------------------------------------------------ output

def fmt(x):
    if abs(x) < 1e-15:
        x = 0.0
    return repr(float(x))


def entries(rows):
    return sum(len(r) + 1 for r in rows)


# Where a family's points start with the points of a table another generator
# writes (the dodecahedron's corners and its net), only the points it adds are
# written here; the header joins the two at compile time, so those points are
# written once, by the generator that makes them.
JOIN_POINTS = [
    "// A table of points that starts with another table's points: the points",
    "// of the first, then the points of the second.",
    "template <size_t Width, size_t First, size_t More>",
    "struct JoinedPoints {",
    "  double points[First + More][Width];",
    "};",
    "",
    "template <size_t Width, size_t First, size_t More>",
    "constexpr JoinedPoints<Width, First, More> JoinPoints(const double (&first)[First][Width],",
    "                                                      const double (&more)[More][Width]) {",
    "  JoinedPoints<Width, First, More> joined{};",
    "  for (size_t i = 0; i < First; ++i)",
    "    for (size_t k = 0; k < Width; ++k) joined.points[i][k] = first[i][k];",
    "  for (size_t i = 0; i < More; ++i)",
    "    for (size_t k = 0; k < Width; ++k) joined.points[First + i][k] = more[i][k];",
    "  return joined;",
    "}",
    "",
]
LEADING_SOURCES = {"coords2D": ("catalogue_nets.h", 2), "coords3D": ("catalogue_solids.h", 3)}


def points_table(root, fam, kind, suffix):
    """The declarations of one table of points: the whole table, or the
    points it adds to a leading table and the join of the two."""
    name, pts = fam["name"], fam[kind]
    width = LEADING_SOURCES[kind][1]
    lines = lambda ps: ["  {" + ", ".join(fmt(c) for c in p) + "}," for p in ps]
    leading = fam.get("leading", {}).get(kind)
    if leading is None:
        return [(f"double {name}_{suffix}[{len(pts)}][{width}]", lines(pts))]
    numbers = read_table(os.path.join(root, "polyhedron", LEADING_SOURCES[kind][0]), leading)
    first = [numbers[i:i + width] for i in range(0, len(numbers), width)]
    assert lines(pts[:len(first)]) == lines(first), f"{name}_{suffix} does not start with {leading}"
    own = pts[len(first):]
    return [(f"double {name}_Own{suffix}[{len(own)}][{width}]", lines(own)),
            (f"auto {name}_Joined{suffix}", f"JoinPoints({leading}, {name}_Own{suffix})"),
            (f"const double (&{name}_{suffix})[{len(pts)}][{width}]", f"{name}_Joined{suffix}.points")]


def write(root, out_root, families):
    # The tables live in the header so that the catalogue's compile-time
    # checks can read them; the source checks them once against the counts
    # they were made to.
    leads = any("leading" in fam for fam in families)
    header = [
        "#pragma once",
        "// Generated by tools/make_shape_solid_tables.py; do not edit.",
        "// Static shape families with an exact or purpose-made solid: net points",
        "// (x, y), net face rows, solid points (x, y, z), solid face rows or the",
        "// solid vertex of every net point, and facegroups. Rows are 1-based point",
        "// numbers, each face ended by 0; the maps and groups are 0-based. The",
        "// generator's comment tells what each shape is.",
        "",
        "#include <cstddef>",
        "#include <cstdint>",
        "",
        *(['#include "polyhedron/catalogue_nets.h"', '#include "polyhedron/catalogue_solids.h"', ""] if leads else []),
        *(JOIN_POINTS if leads else []),
        "// clang-format off",
    ]
    body = [
        "// Generated by tools/make_shape_solid_tables.py; do not edit.",
        '#include "polyhedron/tables/shape_tables_solid.h"',
        "",
        "namespace {",
        "",
        "template <int N>",
        "constexpr int HighestNumber(const int16_t (&rows)[N]) {",
        "  int highest = 0;",
        "  for (int16_t v : rows) highest = v > highest ? v : highest;",
        "  return highest;",
        "}",
        "",
        "template <int N>",
        "constexpr int Rows(const int16_t (&rows)[N]) {",
        "  int count = 0;",
        "  for (int16_t v : rows) count += v == 0 ? 1 : 0;",
        "  return count;",
        "}",
        "",
        "}  // namespace",
        "",
    ]
    for fam in families:
        name = fam["name"]
        c2, f2, c3 = fam["coords2D"], fam["faces2D"], fam["coords3D"]
        decl = [
            *points_table(root, fam, "coords2D", "Coords2D"),
            (f"int16_t {name}_Faces2D[{entries(f2)}]",
             ["  " + "".join(f"{p + 1}, " for p in r) + "0," for r in f2]),
            *points_table(root, fam, "coords3D", "Coords3D"),
        ]
        body.append(f"static_assert(Rows({name}_Faces2D) == {len(f2)} && HighestNumber({name}_Faces2D) == {len(c2)},")
        body.append(f'              "{name}: net rows");')
        if "faces3D" in fam:
            f3 = fam["faces3D"]
            decl.append((f"int16_t {name}_Faces3D[{entries(f3)}]",
                         ["  " + "".join(f"{p + 1}, " for p in r) + "0," for r in f3]))
            body.append(f"static_assert(Rows({name}_Faces3D) == {len(f3)} && "
                        f"HighestNumber({name}_Faces3D) == {len(c3)},")
            body.append(f'              "{name}: solid rows");')
        if "map" in fam:
            m = fam["map"]
            decl.append((f"int16_t {name}_2D_to_3D[{len(m)}]",
                         ["  " + ", ".join(str(v) for v in m[i:i + 16]) + "," for i in range(0, len(m), 16)]))
            body.append(f"static_assert(HighestNumber({name}_2D_to_3D) == {len(c3) - 1}, \"{name}: map\");")
        if "groups" in fam:
            g = fam["groups"]
            decl.append((f"int16_t {name}_hardcoded_Facegrouptable[{len(g)}]",
                         ["  " + ", ".join(str(v) for v in g[i:i + 20]) + "," for i in range(0, len(g), 20)]))
        for d, lines in decl:
            if isinstance(lines, str):
                header.append(f"inline constexpr {d} = {lines};")
                continue
            header.append(f"inline constexpr {d} = {{")
            header += lines
            header.append("};")
        header.append("")
    header.append("// clang-format on")
    for suffix, lines in ((".h", header), (".cpp", body)):
        path = os.path.join(out_root, "polyhedron", "tables", "shape_tables_solid" + suffix)
        with open(path, "w") as out:
            out.write("\n".join(lines).rstrip("\n") + "\n")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out_root = sys.argv[2] if len(sys.argv) > 2 else root
    families = [conformal_dodecahedron(root), dodo(root), gid(root), spikeball(), jewel(), beanbag(), box(), balloon(),
                paperlock()]
    write(root, out_root, families)


if __name__ == "__main__":
    main()
