// Generates the flat sector nets of the static shape catalogue,
// polyhedron/shape_tables_stars.{h,cpp}, its lattice nets,
// polyhedron/shape_tables_lattice.{h,cpp}, and the pointy and waffle nets,
// polyhedron/shape_tables_{pointy,waffle}.{h,cpp}. From the repository root:
//   cmake -S . -B build -G Ninja && ninja -C build gyrelle_core
//   cmake -S tools/make_shape_tables -B build-shapegen -G Ninja -DGYRELLE_BUILD=$PWD/build
//   ninja -C build-shapegen && build-shapegen/make_shape_tables polyhedron
// The output is deterministic; commit it as written.
//
// Every net here is the flat picture of its layout's sphere map (the star
// and ring members of the plug-in): sector k is the 2D face k, corners in the
// order centre, edge midpoint, corner of its polygon, and neighbours are
// mirror images across the edges they share on the sphere, so the map is
// conformal across every joined edge. The solid of a layout is the set of
// its corners' sphere images, and the 2D-to-3D map names the image of each
// net point; the renderer takes its points from the sphere map itself and
// uses the solid for the face lookups of rays and for exports.
//
// Checked here: every face is congruent to the table's sector triangle,
// the counts of net points, and that the net shows the sphere the same way
// round as the catalogue's icosahedron net.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "cube_nets.h"
#include "lattice_nets.h"
#include "pointy_nets.h"
#include "waffle_nets.h"
#include "tetra_nets.h"
#include "zigzag_nets.h"
#include "rhombus_net.h"
#include "projection/nets/net_projection_core.h"
#include "projection/inverse/stereographic.h"
#include "polyhedron/catalogue_solids.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"
#include "star_layouts.h"
#include "tables_write.h"

namespace {

using namespace shapes;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "make_shape_tables: %s\n", what.c_str());
  std::exit(1);
}

double Cross(cplx a, cplx b) { return a.real() * b.imag() - a.imag() * b.real(); }

double Det(const Dir3& a, const Dir3& b, const Dir3& c) {
  return a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) - a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
         a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
}

// +1 when a net shows the sphere as the catalogue's icosahedron net does
// (turning the same way in the plane as its faces do on the solid seen from
// outside), -1 when mirrored.
double IcosahedronHandedness() {
  auto poly = std::make_unique<polyhedron>();
  NullifyPolyStorage(poly.get());
  InitPoly(poly.get(), 1.0f, 0.0f);
  // Net method 6: the net matched to its solid, so every render point is
  // the solid vertex its corner shows.
  SetUpReallyGeneralPolyhedron(poly.get(), 17, 6, 0, 0.0, nullptr, 1);
  if (poly->nTriangles < 1) Fail("the icosahedron net did not build");
  const NetTriangle& t = poly->triangles[0];
  cplx p[3];
  Dir3 q[3];
  for (int i = 0; i < 3; ++i) {
    const PolyVertex2D& v = poly->verts2D[t.vert2D[i]];
    p[i] = cplx(v.x, v.y);
    q[i] = Dir3{{v.renderX, v.renderY, v.renderZ}};
  }
  const double s = Cross(p[1] - p[0], p[2] - p[0]) * Det(q[0], q[1], q[2]);
  DumpPolyStorage(poly.get(), nullptr);
  return s > 0 ? 1.0 : -1.0;
}

double Handedness(const FlatNet& net, const SectorImages& im) {
  const auto& t = net.sectorTriangles[0];
  const double s = Cross(t[1] - t[0], t[2] - t[0]) * Det(im.corner[0][0], im.corner[0][1], im.corner[0][2]);
  return s > 0 ? 1.0 : -1.0;
}

void Transform(FlatNet* net, cplx scale, cplx shift, bool mirror) {
  auto f = [&](cplx z) { return (mirror ? std::conj(z) : z) * scale + shift; };
  for (cplx& p : net->points) p = f(p);
  for (auto& t : net->sectorTriangles)
    for (cplx& p : t) p = f(p);
}

// Every face must be the table's sector triangle (its angles at O, M, V).
void CheckCongruent(const SectorLayout& L, const FlatNet& net) {
  const double half = 3.141592653589793 / L.polygonSides;
  for (size_t k = 0; k < net.faces.size(); ++k) {
    const cplx o = net.points[net.faces[k][0]], m = net.points[net.faces[k][1]], v = net.points[net.faces[k][2]];
    const double atO = std::abs(std::arg((v - o) / (m - o)));
    const double atM = std::abs(std::arg((o - m) / (v - m)));
    const double ratio = std::abs(m - o) / std::abs(net.points[net.faces[0][1]] - net.points[net.faces[0][0]]);
    if (std::fabs(atO - half) > 1e-9 || std::fabs(atM - 1.5707963267948966) > 1e-9 || std::fabs(ratio - 1) > 1e-9)
      Fail(L.name + ": face " + std::to_string(k) + " is not a sector triangle");
  }
}

cplx GroupCentre(const FlatNet& net, int32_t firstSector) { return net.sectorTriangles[firstSector][0]; }

struct Built {
  SectorLayout layout;
  SectorImages images;
  FlatNet net;
};

Built Build(const SectorLayout& L, double handedness) {
  Built b{L, ImagesOf(L), {}};
  b.net = NumberNet(L, b.images, PlaceSectors(L, b.images));
  if (Handedness(b.net, b.images) != handedness) Transform(&b.net, 1.0, 0.0, true);
  return b;
}

// Lays the first two rings of a ring layout on a horizontal line, the first
// on the left.
void Level(Built* b, int32_t groupSize) {
  const cplx d = GroupCentre(b->net, groupSize) - GroupCentre(b->net, 0);
  Transform(&b->net, std::abs(d) / d, 0.0, false);
}

// Fits the net's box into a given box (xMin, xMax, yMin, yMax), centred.
void FitInto(FlatNet* net, const double box[4]) {
  double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
  for (const cplx& p : net->points) {
    lo[0] = std::min(lo[0], p.real());
    hi[0] = std::max(hi[0], p.real());
    lo[1] = std::min(lo[1], p.imag());
    hi[1] = std::max(hi[1], p.imag());
  }
  const double s = std::min((box[1] - box[0]) / (hi[0] - lo[0]), (box[3] - box[2]) / (hi[1] - lo[1]));
  const cplx from((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2), to((box[0] + box[1]) / 2, (box[2] + box[3]) / 2);
  Transform(net, s, to - from * s, false);
}

void Expect(const std::string& what, size_t got, size_t want) {
  if (got != want) Fail(what + ": " + std::to_string(got) + ", expected " + std::to_string(want));
}

FlatNet FacesOnly(const std::vector<std::vector<int32_t>>& faces) {
  FlatNet f;
  f.faces = faces;
  return f;
}

int32_t HighestInFaces(const FlatNet& net, size_t faces) {
  int32_t h = 0;
  for (size_t f = 0; f < faces; ++f)
    for (int32_t v : net.faces[f]) h = std::max(h, v + 1);
  return h;
}

// Renumbers the anthracene onto the phenanthrene-like net's points: the two
// rings they have in common (once the anthracene is moved onto them) keep
// the numbers there, the third ring's points are appended.
void ShareRings(const FlatNet& host, Built* guest, std::vector<cplx>* hostPoints, std::vector<int32_t>* guestMap) {
  FlatNet& g = guest->net;
  int best = -1;
  cplx bestScale, bestShift;
  for (int32_t x = 0; x < 3; ++x)
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t p = 0; p < 3; ++p)
        for (int32_t q = 0; q < 3; ++q) {
          if (x == y || p == q) continue;
          const cplx X = GroupCentre(g, 12 * x), Y = GroupCentre(g, 12 * y);
          const cplx P = GroupCentre(host, 12 * p), Q = GroupCentre(host, 12 * q);
          // Neighbouring rings only (centres two inradii apart).
          if (std::abs(Y - X) > 2.5 * std::abs(g.sectorTriangles[0][1] - g.sectorTriangles[0][0])) continue;
          const cplx scale = (Q - P) / (Y - X), shift = P - X * scale;
          int common = 0;
          for (const cplx& a : g.points)
            for (const cplx& h : host.points) common += std::abs(a * scale + shift - h) < 1e-7;
          if (common > best) {
            best = common;
            bestScale = scale;
            bestShift = shift;
          }
        }
  Transform(&g, bestScale, bestShift, false);
  *hostPoints = host.points;
  std::vector<int32_t> number(g.points.size(), -1);
  for (size_t a = 0; a < g.points.size(); ++a) {
    for (size_t h = 0; h < host.points.size() && number[a] < 0; ++h)
      if (std::abs(g.points[a] - host.points[h]) < 1e-7) number[a] = int32_t(h);
    if (number[a] < 0) {
      number[a] = int32_t(hostPoints->size());
      hostPoints->push_back(g.points[a]);
    }
  }
  guestMap->assign(hostPoints->size(), 0);
  for (size_t a = 0; a < g.points.size(); ++a) (*guestMap)[number[a]] = g.solidOf[a];
  for (auto& f : g.faces)
    for (int32_t& v : f) v = number[v];
}

void WriteFamily(TableWriter* w, const Built& b, const std::string& what) {
  const std::string& n = b.layout.name;
  w->Coords2D(n + "_Coords2D", b.net.points, what + ": the net points.");
  w->Rows(n + "_Faces2D", b.net.faces, what + ": sector k is face k, corners centre, edge midpoint, corner.");
  w->Coords3D(n + "_Coords3D", b.net.solid, what + ": the sphere images of the net's corners.");
  w->Map(n + "_2D_to_3D", b.net.solidOf, what + ": the solid vertex of each net point.");
}

// +1 or -1: which way the net's first face turns against its solid, as
// IcosahedronHandedness measures it.
double NetHandedness(const LatticeNet& net, const double (*solid)[3]) {
  const auto& f = net.faces[0];
  Dir3 q[3];
  for (int i = 0; i < 3; ++i) {
    const double* s = solid[net.solidOf[f[i]]];
    q[i] = Dir3{{s[0], s[1], s[2]}};
  }
  const cplx* p = net.points.data();
  return Cross(p[f[1]] - p[f[0]], p[f[2]] - p[f[0]]) * Det(q[0], q[1], q[2]) > 0 ? 1.0 : -1.0;
}

// Mirrors a lattice net that shows its solid the other way round than the
// icosahedron net does; a net that must keep its shape (the sheared tile)
// swaps two of its solid labels instead.
void MatchHandedness(LatticeNet* net, const double (*solid)[3], double handedness, bool keepShape = false) {
  if (NetHandedness(*net, solid) == handedness) return;
  if (keepShape) {
    for (int32_t& v : net->solidOf) v = v == 0 ? 1 : (v == 1 ? 0 : v);
    return;
  }
  for (cplx& z : net->points) z = std::conj(z);
}

std::vector<double> Flat(const std::vector<Dir3>& d) {
  std::vector<double> out;
  for (const Dir3& x : d) out.insert(out.end(), x.v, x.v + 3);
  return out;
}

void WriteLatticeNets(const char* folder, double handedness) {
  TableWriter w;
  LatticeNet square = SquareOctahedron();
  const std::vector<double> octahedron = Flat(square.solid);
  MatchHandedness(&square, reinterpret_cast<const double(*)[3]>(octahedron.data()), handedness);
  for (cplx& z : square.points) z = -z;  // sky up
  Expect("square points", square.points.size(), 9);
  w.Coords2D("Square_Coords2D", square.points, "The octahedron opened from one pole into a square: the net points");
  w.Rows("Square_Faces2D", square.faces, "Its faces");
  w.Coords3D("Square_Coords3D", square.solid, "The octahedron");
  w.Map("Square_2D_to_3D", square.solidOf, "The octahedron vertex of each net point");

  LatticeNet tile = TetrahedronTile();
  MatchHandedness(&tile, Tetranew_Coords3D, handedness, true);
  Expect("tetra tile points", tile.points.size(), 9);
  w.Coords2D("TilingTetrahedron_Coords2D", tile.points,
             "The tetrahedron's repeating tile, in the sheared plane of the tiling: the net points");
  w.Rows("TilingTetrahedron_Faces2D", tile.faces, "Its faces");
  w.Map("TilingTetrahedron_2D_to_3D", tile.solidOf, "The vertex of Tetranew_Coords3D under each net point");

  LatticeNet sun = IcosahedronSunburst();
  Expect("sunburst points", sun.points.size(), 22);
  w.Coords2D("sunburst_Coords2D", sun.points, "The icosahedron as a sunburst: the net points");
  w.Rows("sunburst_Faces2D", sun.faces, "Its faces; the solid is NewIco's");
  // The cube's eighths: flip B mirrors the render points (x negated), so the
  // solid is stored mirrored where the net would otherwise show the sphere
  // the wrong way round.
  CubeNets cube = MakeCubeNets();
  LatticeNet& shuriken = cube.shuriken;
  {
    std::vector<double> flipped = Flat(shuriken.solid);
    for (size_t k = 0; k < flipped.size(); k += 3) flipped[k] = -flipped[k];
    if (NetHandedness(shuriken, reinterpret_cast<const double(*)[3]>(flipped.data())) != handedness)
      for (Dir3& d : shuriken.solid) d.v[0] = -d.v[0];
  }
  // Turned a half turn, so the sky (the cube's -y side) is up in the net.
  for (cplx& z : shuriken.points) z = -z;
  Expect("shuriken points", shuriken.points.size(), 37);
  Expect("shuriken faces", shuriken.faces.size(), 48);
  Expect("cross faces", cube.crossFaces.size(), 24);
  Expect("cross points", size_t(HighestInFaces(FacesOnly(cube.crossFaces), 24)), 30);
  w.Coords2D("shuriken_Coords2D", shuriken.points,
             "The cube in eighths as a shuriken: the top face, the four side faces round it and, beyond each,\n"
             "the quarter of the bottom face on its far edge. Its first thirty points are the cross's");
  w.Rows("shuriken_Faces2D", shuriken.faces, "Its eighths: face centre, edge midpoint, corner");
  w.Rows("cross_Faces2D", cube.crossFaces,
         "The cross: the top face and the upper halves of the side faces (the cube's upper half)");
  w.Coords3D("shuriken_Coords3D", shuriken.solid, "The cube's corners, edge midpoints and face centres");
  w.Map("shuriken_2D_to_3D", shuriken.solidOf, "The cube point of each net point");
  // The tetrahedron in sixths, flip B as the cube's: mirrored in the plane
  // where it would show the sphere the wrong way round.
  TetraNets tetra = MakeTetraNets();
  LatticeNet& lee = tetra.triangle;
  {
    std::vector<double> flipped = Flat(lee.solid);
    for (size_t k = 0; k < flipped.size(); k += 3) flipped[k] = -flipped[k];
    if (NetHandedness(lee, reinterpret_cast<const double(*)[3]>(flipped.data())) != handedness)
      for (cplx& z : lee.points) z = std::conj(z);
  }
  Expect("tetrahedron points", size_t(HighestInFaces(FacesOnly(lee.faces), 24)), 19);
  Expect("rectangular tetrahedron points", size_t(HighestInFaces(FacesOnly(tetra.rectangleFaces), 24)), 23);
  w.Coords2D("conformaltetrahedron_Coords2D", lee.points,
             "The tetrahedron in sixths opened into one triangle; the points after the 19th are the\n"
             "rectangle's");
  w.Rows("conformaltetrahedron_Faces2D", lee.faces,
         "The triangle's sixths (face centre, edge midpoint, corner), face by face, the top face last");
  w.Rows("rectangulartetrahedron_Faces2D", tetra.rectangleFaces,
         "The rectangle: the triangle with its top face's halves turned down beside it");
  w.Coords3D("conformaltetrahedron_Coords3D", lee.solid,
             "The tetrahedron's corners, edge midpoints and face centres");
  w.Map("conformaltetrahedron_2D_to_3D", lee.solidOf, "The solid point of each net point");
  if (!w.Save(folder, "shape_tables_lattice",
              "The lattice nets of the catalogue (the octahedron's square, the tetrahedron's\n"
              "tile, the icosahedron's sunburst), written by tools/make_shape_tables. Do not edit."))
    Fail("cannot write the lattice tables");
}

// The cube stood on a corner (the zigzag, and the monozag on its points),
// stored mirrored as the shuriken is, since flip B mirrors it back.
void WriteZigzagNets(const char* folder, double handedness) {
  auto kept = [](const Dir3& d) {
    float p[3] = {float(d.v[0]), float(d.v[1]), float(d.v[2])};
    ExtraTumbleForMonozag(p);
    uint8_t outside = 0;
    SubstituteSphereSegment(p, 0.5, &outside);
    return outside == 0;
  };
  auto sky = [](const Dir3& d) {
    float p[3] = {float(d.v[0]), float(d.v[1]), float(d.v[2])};
    ExtraTumbleForMonozag(p);
    return -double(p[1]);  // the sky is the tumbled sphere's -y side
  };
  ZigzagNets z = MakeZigzagNets(kept, sky);
  LatticeNet& net = z.net;
  net.faces = z.zigzagFaces;
  // The solid is in the frame the renderer tumbles; turning does not change
  // which way round a net shows it, so the test is made there.
  if (NetHandedness(net, reinterpret_cast<const double(*)[3]>(Flat(net.solid).data())) != handedness)
    for (cplx& p : net.points) p = -std::conj(p);
  for (Dir3& d : net.solid) d.v[0] = -d.v[0];
  // The tumble brings the top corner to the nadir: a half turn sets the sky
  // up. The monozag was laid out with its sky up already.
  for (int32_t k = 0; k < z.zigzagPoints; ++k) net.points[k] = -net.points[k];
  Expect("zigzag faces", z.zigzagFaces.size(), 48);
  Expect("monozag faces", z.monozagFaces.size(), 24);
  Expect("zigzag points", size_t(HighestInFaces(FacesOnly(z.zigzagFaces), 48)), size_t(z.zigzagPoints));
  Expect("cube points", net.solid.size(), 26);
  std::printf("zigzag points %d, monozag highest point %d\n", z.zigzagPoints,
              HighestInFaces(FacesOnly(z.monozagFaces), 24));
  TableWriter w;
  w.Coords2D("zigzag_Coords2D", net.points,
             "The cube in eighths stood on a corner. First the zigzag: its six faces in one band, the three\n"
             "round the sky's corner along the top, the three round the ground's below, each joined to the\n"
             "next along the zigzag of edges between them. Then the monozag's own points");
  w.Rows("zigzag_Faces2D", z.zigzagFaces, "The zigzag's eighths: face centre, edge midpoint, corner");
  w.Rows("monozag_Faces2D", z.monozagFaces,
         "The monozag: the half of the cube its stretch opens to the whole sphere (cut through the top and\n"
         "bottom corners along two face diagonals and two edges), a stretch of the band turned an eighth so\n"
         "that the two cut edges, where the poles lie, run level");
  w.Coords3D("zigzag_Coords3D", net.solid, "The cube's corners, edge midpoints and face centres");
  w.Map("zigzag_2D_to_3D", net.solidOf, "The cube point of each net point");
  if (!w.Save(folder, "shape_tables_zigzag",
              "The cube stood on a corner in eighths (the zigzag and the monozag), written by\n"
              "tools/make_shape_tables. Do not edit."))
    Fail("cannot write the zigzag tables");
}

void WriteRhombus(const char* folder, double handedness) {
  const SectorLayout layout = RhombusLayout();
  Built b{layout, ImagesOf(layout), {}};
  b.net = NumberNet(layout, b.images, PlaceRhombus(layout, b.images));
  if (Handedness(b.net, b.images) != handedness) Transform(&b.net, 1.0, 0.0, true);
  CheckCongruent(layout, b.net);
  // The hemispheres come out side by side: a quarter turn puts the sky's
  // pole (the -y side, as for the other nets) on top.
  Transform(&b.net, cplx(0.0, 1.0), 0.0, false);
  Expect("rhombus points", b.net.points.size(), 5);
  TableWriter w;
  WriteFamily(&w, b, "The first rhombus: four sectors, a hemisphere above and one below its long diagonal");
  if (!w.Save(folder, "shape_tables_rhombus",
              "The first rhombus's sector net, written by tools/make_shape_tables (see rhombus_net.h).\n"
              "Do not edit."))
    Fail("cannot write the rhombus tables");
}

void WritePointyNet(const char* folder, double handedness) {
  const FlatNet net = MakePointyNet(handedness);
  Expect("pointy faces", net.faces.size(), 8);
  Expect("pointy points", net.points.size(), 16);
  TableWriter w;
  w.Coords2D("pointy_Coords2D", net.points,
             "Pointy: two opposite lunes, then a copy of each, apart and sky up: the net points");
  w.Rows("pointy_Faces2D", net.faces, "Its sectors: sector k is face k, corners centre, edge midpoint, corner");
  w.Coords3D("pointy_Coords3D", net.solid, "The sphere images of its corners");
  w.Map("pointy_2D_to_3D", net.solidOf, "The solid vertex of each net point");
  if (!w.Save(folder, "shape_tables_pointy",
              "The pointy net of the catalogue, written by tools/make_shape_tables (see\n"
              "pointy_nets.cpp there for what it is). Do not edit."))
    Fail("cannot write the pointy tables");
}

void WriteWaffleNet(const char* folder, double handedness) {
  const FlatNet net = MakeWaffleNet(handedness);
  Expect("waffle faces", net.faces.size(), 96);
  Expect("waffle points", net.points.size(), 77);
  TableWriter w;
  w.Coords2D("waffle_Coords2D", net.points,
             "The waffle: a cube in eighths showing the front half of the sphere, and the halves of a second\n"
             "one outside it showing the back: the net points (22 and 50 are the marks its sphere map reads)");
  w.Rows("waffle_Faces2D", net.faces, "Its eighths: face centre, edge midpoint, corner");
  w.Coords3D("waffle_Coords3D", net.solid, "The cube's corners, edge midpoints and face centres");
  w.Map("waffle_2D_to_3D", net.solidOf, "The cube point of each net point");
  const FlatNet trident = MakeTridentNet(handedness);
  Expect("trident faces", trident.faces.size(), 96);
  Expect("trident points", trident.points.size(), 67);
  w.Coords2D("trident_Coords2D", trident.points,
             "The three-petal floret's net: the quarter of the sphere a petal reads, in a quadrant about the\n"
             "zenith (point 0), four times a quarter turn apart (22 and 50 on its highest line)");
  w.Rows("trident_Faces2D", trident.faces, "Its eighths: face centre, edge midpoint, corner");
  w.Coords3D("trident_Coords3D", trident.solid, "The quarter's cube points");
  w.Map("trident_2D_to_3D", trident.solidOf, "The cube point of each net point");
  if (!w.Save(folder, "shape_tables_waffle",
              "The waffle's and the three-petal floret's nets of the catalogue, written by\n"
              "tools/make_shape_tables (see waffle_nets.cpp there for what they are). Do not edit."))
    Fail("cannot write the waffle tables");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_shape_tables OUTPUT_FOLDER\n");
    return 2;
  }
  const double handedness = IcosahedronHandedness();
  std::map<std::string, Built> built;
  for (const SectorLayout& L : StarLayouts()) {
    Built b = Build(L, handedness);
    CheckCongruent(L, b.net);
    built.emplace(L.name, std::move(b));
  }
  for (const char* ring : {"bipolar_rhombus", "Pentalene", "Naphthalene", "Anthracene", "adamsdiamonds"})
    Level(&built.at(ring), built.at(ring).layout.sectors / (std::string(ring) == "Anthracene" ? 3 : 2));
  Level(&built.at("Phenathene"), 12);
  // Sky up: these come out of the layout with the ground on top.
  for (const char* upsideDown : {"fivestar", "adamsdiamonds"}) Transform(&built.at(upsideDown).net, -1.0, 0.0, false);
  // The three-fold layouts come out with the sky on the right.
  Transform(&built.at("threestar").net, cplx(0.0, -1.0), 0.0, false);
  // The crammed phenanthrene-like net fills the box its catalogue entry gives.
  const double kPhenatheneBox[4] = {-1.732051, 1.732051, -3.0, 1.0};
  FitInto(&built.at("Phenathene").net, kPhenatheneBox);

  // The counts of the catalogue: net points of each layout, and of the
  // polygons that use the first rows of a star.
  Expect("five-star points", built.at("fivestar").net.points.size(), 16);
  Expect("pentagon points", HighestInFaces(built.at("fivestar").net, 10), 15);
  Expect("three-star points", built.at("threestar").net.points.size(), 10);
  Expect("triangle points", HighestInFaces(built.at("threestar").net, 6), 7);
  Expect("six-star points", built.at("sixstar").net.points.size(), 19);
  Expect("hexagon points", HighestInFaces(built.at("sixstar").net, 12), 13);
  Expect("bipolar rhombus points", built.at("bipolar_rhombus").net.points.size(), 11);
  Expect("pentalene points", built.at("Pentalene").net.points.size(), 19);
  Expect("naphthalene points", built.at("Naphthalene").net.points.size(), 23);
  Expect("phenanthrene points", built.at("Phenathene").net.points.size(), 31);
  Expect("Adams diamonds points", built.at("adamsdiamonds").net.points.size(), 18);
  std::vector<cplx> phenathenePoints;
  std::vector<int32_t> anthraceneMap;
  ShareRings(built.at("Phenathene").net, &built.at("Anthracene"), &phenathenePoints, &anthraceneMap);
  Expect("anthracene points", HighestInFaces(built.at("Anthracene").net, 36), 41);

  TableWriter w;
  WriteFamily(&w, built.at("fivestar"), "Five-star (its first ten rows: the pentagon)");
  WriteFamily(&w, built.at("threestar"), "Three-star (its first six rows: the triangle)");
  const FlatNet& three = built.at("threestar").net;
  w.Coords2D("triangle_Coords2D", std::vector<cplx>(three.points.begin(), three.points.begin() + 7),
             "The triangle: the three-star's central triangle");
  WriteFamily(&w, built.at("sixstar"), "Six-star (its first twelve rows: the hexagon)");
  const FlatNet& six = built.at("sixstar").net;
  w.Coords2D("hexagon_Coords2D", std::vector<cplx>(six.points.begin(), six.points.begin() + 13),
             "The hexagon: the six-star's central hexagon");
  WriteFamily(&w, built.at("bipolar_rhombus"), "Two triangles on one edge, a hemisphere each");
  WriteFamily(&w, built.at("Pentalene"), "Two pentagons on one edge, a hemisphere each");
  WriteFamily(&w, built.at("Naphthalene"), "Two hexagons on one edge, a hemisphere each");
  {
    Built& p = built.at("Phenathene");
    w.Coords2D("Phenathene_Coords2D", phenathenePoints,
               "Three hexagons, each a lune of a third of the sphere, meeting at one corner; the points after\n"
               "the 31st are the anthracene's third ring");
    w.Rows("Phenathene_Faces2D", p.net.faces, "The three hexagons round one corner: sector k is face k");
    w.Coords3D("Phenathene_Coords3D", p.net.solid, "The sphere images of their corners");
    w.Map("Phenathene_2D_to_3D", p.net.solidOf, "The solid vertex of each of its net points");
    Built& a = built.at("Anthracene");
    w.Rows("Anthracene_Faces2D", a.net.faces,
           "Three hexagons in a row, each a lune of a third of the sphere, on the points of Phenathene_Coords2D");
    w.Coords3D("Anthracene_Coords3D", a.net.solid, "The sphere images of their corners");
    w.Map("Anthracene_2D_to_3D", anthraceneMap, "The solid vertex of each point of Phenathene_Coords2D it uses");
  }
  {
    // Flip B mirrors the render points (x negated), as the cube's eighths:
    // the solid is stored mirrored, so that the solid the renderer and the
    // exports see turns as the net does.
    Built& d = built.at("adamsdiamonds");
    for (Dir3& q : d.net.solid) q.v[0] = q.v[0] == 0.0 ? 0.0 : -q.v[0];
    WriteFamily(&w, d, "Two diamonds touching at a corner, a hemisphere each");
  }
  if (!w.Save(argv[1], "shape_tables_stars",
              "The flat sector nets of the star and ring shapes of the catalogue, written by\n"
              "tools/make_shape_tables (see there for what each net is). Do not edit."))
    Fail("cannot write the tables");
  WriteLatticeNets(argv[1], handedness);
  WriteZigzagNets(argv[1], handedness);
  WriteRhombus(argv[1], handedness);
  WritePointyNet(argv[1], handedness);
  WriteWaffleNet(argv[1], handedness);
  return 0;
}
