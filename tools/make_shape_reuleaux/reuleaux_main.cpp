// Generates the Reuleaux nets of the static shape catalogue,
// polyhedron/shape_tables_reuleaux.{h,cpp}. From the repository root:
//   cmake -S . -B build -G Ninja && ninja -C build gyrelle_core
//   cmake -S tools/make_shape_reuleaux -B build-reuleaux -G Ninja -DGYRELLE_BUILD=$PWD/build
//   ninja -C build-reuleaux && build-reuleaux/make_shape_reuleaux polyhedron
// The output is deterministic; commit it as written.
//
// The Reuleaux tetrahedron's face is drawn in the plane of its stereographic
// picture seen from the face's antipode: its arcs are those of a Reuleaux
// triangle with corners at radius 1/sqrt(2) (azimuths 0, 120 and 240
// degrees) and arc midpoints at tan(acos(1/sqrt 3) / 2). The solid
// (ReuleauxTetrahedron) is that face's centre, arc midpoints and the corners
// of the triangle that touches the arcs at their midpoints; the sphere maps
// of the four-face net read the sphere point off this plane, the others read
// it from the lookup tables and use the plane only to tell which points of a
// sector lie off the face. The heights of the points put that edge on the
// chords from each arc midpoint to the Reuleaux corners beside it: nearer
// the solid's top corner than any other lies the hexagon of those chords.
//
// Every net is checked here against the plug-in's own maps: each sector
// continues its neighbours' picture across the edges they share inside the
// face, neighbouring faces meet at their shared arc midpoints, each net shows
// the sphere the same way round as the catalogue's icosahedron net, and
// every point shown lies in the net's given bounds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "projection/inverse/star_projections.h"
#include "projection/inverse/star_projections_reuleaux.h"
#include "polyhedron/tables/shape_tables_lattice.h"
#include "reuleaux_checks.h"
#include "reuleaux_nets.h"
#include "tables_write.h"

using namespace reuleaux;

namespace {

constexpr double kPi = 3.141592653589793;
const double kMid = std::tan(std::acos(1.0 / std::sqrt(3.0)) / 2.0);

void Transform(ReuleauxNet* net, cplx turn, bool mirror) {
  for (cplx& p : net->points) p = (mirror ? std::conj(p) : p) * turn;
}


// The sphere images of a face's points in group g of a one-group net: its
// centre, the points at `along` of the way from the centre to each triangle
// corner, and its arc midpoints (mid i between corners i and i + 1).
struct FaceImages {
  float centre[3], corner[3][3], mid[3][3];
};

FaceImages ImagesOfGroup(const Member& member, const std::vector<Dir3>& solid, int32_t g, int32_t turn,
                         double along) {
  ReuleauxNet net;
  for (int32_t k = 0; k < g; ++k) AddGroup(&net, GroupAt(cplx(10.0 * k, 0), 1.0, 0.0, turn, {0, 1, 2}), false);
  AddGroup(&net, GroupAt(0.0, 1.0, 0.0, turn, {0, 1, 2}), false);
  FaceImages f;
  // Just inside the corner: the corner itself lies on the face's edge.
  const double a = 0.999 * along;
  const double atCentre[3] = {1, 0, 0}, atCorner[3] = {1 - a, 0, a}, atMid[3] = {0, 1, 0};
  bool ok = Image(member, net, solid, 6 * g, atCentre, f.centre);
  for (int32_t i = 0; i < 3; ++i) {
    // Sector 2i runs from the centre to mid i and corner i.
    ok = Image(member, net, solid, 6 * g + 2 * i, atCorner, f.corner[i]) && ok;
    ok = Image(member, net, solid, 6 * g + 2 * i, atMid, f.mid[i]) && ok;
  }
  if (!ok) Fail("a face's own points are off the face");
  return f;
}

// Eight faces round two poles, as an interrupted map: the four faces round
// the top pole in a row, each with that pole as its corner pointing up (net
// y down is up in the picture), and under each the face that shares its
// lower edge, with the other pole as its corner pointing down. The
// triangles of neighbouring columns touch at a corner; one face over the
// other touch along the triangle's edge, at their shared arc midpoint.
ReuleauxNet EightFaces(const Member& member, const std::vector<Dir3>& solid, int32_t turn, double along,
                       const std::string& name) {
  FaceImages im[8];
  for (int32_t g = 0; g < 8; ++g) im[g] = ImagesOfGroup(member, solid, g, turn, along);
  const float up[3] = {0.0f, 1.0f, 0.0f}, down[3] = {0.0f, -1.0f, 0.0f};
  struct Cell {
    int32_t group, pole;
    double longitude;
  };
  std::vector<Cell> top, bottom;
  for (int32_t g = 0; g < 8; ++g)
    for (int32_t i = 0; i < 3; ++i) {
      const double lon = std::atan2(double(im[g].centre[0]), double(im[g].centre[2]));
      if (Near(im[g].corner[i], up)) top.push_back({g, i, lon});
      if (Near(im[g].corner[i], down)) bottom.push_back({g, i, lon});
    }
  if (top.size() != 4 || bottom.size() != 4) Fail(name + ": the faces do not meet at two poles");
  std::sort(top.begin(), top.end(), [](const Cell& a, const Cell& b) { return a.longitude < b.longitude; });
  // Neighbouring columns meet at a corner of the equator: the corner to the
  // right of one top face (azimuth 30 in the net, where y runs down the
  // picture) is the one to the left of the next (azimuth 150). The way the
  // faces turn decides whether longitudes rise or fall to the right.
  const int32_t right = turn > 0 ? 1 : 2, left = turn > 0 ? 2 : 1;
  auto meets = [&](const Cell& a, const Cell& b) {
    return Near(im[a.group].corner[(a.pole + right) % 3], im[b.group].corner[(b.pole + left) % 3]);
  };
  if (!meets(top[0], top[1])) std::reverse(top.begin(), top.end());
  for (size_t c = 0; c + 1 < top.size(); ++c)
    if (!meets(top[c], top[c + 1])) Fail(name + ": neighbouring columns do not meet");
  // Each column: the top face and the face under it, with their poles'
  // corners.
  struct Column {
    Cell upper, lower;
  };
  std::vector<Column> columns;
  for (const Cell& t : top) {
    const float* lowerMid = im[t.group].mid[(t.pole + 1) % 3];
    const Cell* below = nullptr;
    for (const Cell& b : bottom)
      if (Near(im[b.group].mid[(b.pole + 1) % 3], lowerMid, kHalfPixel / 10)) below = &b;
    if (!below) Fail(name + ": no face under a top face");
    columns.push_back({t, *below});
  }
  // Corner i sits at azimuth0 + turn 120 i: the pole's corner points up
  // (azimuth 270) or down (90). Sector k belongs to group k / 6, so the
  // groups go in in their own order.
  const double width = std::sqrt(3.0);
  ReuleauxNet net;
  for (int32_t g = 0; g < 8; ++g)
    for (size_t c = 0; c < columns.size(); ++c) {
      const double x = width * double(c);
      const Cell& u = columns[c].upper;
      const Cell& l = columns[c].lower;
      if (u.group == g) AddGroup(&net, GroupAt(cplx(x, -1.0), 1.0, 270.0 - turn * 120.0 * u.pole, turn, {0, 1, 2}), false);
      if (l.group == g) AddGroup(&net, GroupAt(cplx(x, 0.0), 1.0, 90.0 - turn * 120.0 * l.pole, turn, {0, 1, 2}), false);
    }
  if (net.faces.size() != 48) Fail(name + ": not 48 sectors");
  return net;
}

std::vector<std::vector<int32_t>> Rows(const ReuleauxNet& net) {
  std::vector<std::vector<int32_t>> out;
  for (const auto& f : net.faces) out.push_back({f[0], f[1], f[2]});
  return out;
}

std::vector<int32_t> Map(const ReuleauxNet& net) { return net.solidOf; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_shape_reuleaux <folder for shape_tables_reuleaux.{h,cpp}>\n");
    return 2;
  }
  const int want = IcosahedronHandedness();
  Member variant1 = [](const NetSectorSample* s, float p[3], uint8_t* o) {
    int32_t region;
    TotalReuleaux1Or2ToSphere(s, p, o, 1, &region);
  };
  Member variant2 = [](const NetSectorSample* s, float p[3], uint8_t* o) {
    int32_t region;
    TotalReuleaux1Or2ToSphere(s, p, o, 2, &region);
  };
  Member fourFaces = [](const NetSectorSample* s, float p[3], uint8_t* o) {
    int32_t region;
    TotalReuleaux4ToSphere(s, p, o, &region);
  };

  // The face: the map of the four faces sends its Reuleaux corners at 0,
  // 120 and 240 degrees to the solid's corners. The heights: a point is
  // nearer the top corner (0, 0, 1) than the corner facing an arc midpoint
  // at distance d from the centre while 4/3 z > (2 sqrt 2 / 3) d, so the
  // midpoints sit on that line (a hair inside it) and the corners low
  // enough that the line runs on to the Reuleaux corners.
  const double corner = 1.0 / std::sqrt(2.0), h = 2.0 * std::sqrt(2.0) / 3.0;
  const double along = corner / (2.0 * kMid);  // the Reuleaux corner's share of O-T
  const double centreLift = 0.5, midLift = 0.75 * h * kMid * (1.0 + 1e-6);
  const double atCorner = 0.75 * h * corner * 0.5;
  const FaceFrame frame{0.0, 1, kMid, 2.0 * kMid, centreLift, midLift,
                        (atCorner - (1.0 - along) * centreLift) / along};
  const std::vector<Dir3> solid = FacePoints(frame);

  // The tetrahedron opened from one corner into one big triangle, as the
  // catalogue's tetrahedron in sixths: the middle face D E F, then the faces
  // round it, each on its own side, the folded corner at A, B and C. The
  // labels name the solid corner each triangle corner shows so that the
  // four faces' maps meet.
  const double s3 = std::sqrt(3.0);
  const cplx A(0, 0), B(2, 0), C(1, s3), D(1, 0), E(1.5, s3 / 2), F(0.5, s3 / 2);
  const Group tetrahedron[4] = {
      {{D, E, F}, {1, 2, 0}}, {{A, D, F}, {2, 1, 0}}, {{D, B, E}, {1, 0, 2}}, {{F, E, C}, {0, 2, 1}}};
  ReuleauxNet whole;
  for (const Group& g : tetrahedron) AddGroup(&whole, g, true);
  // Circumradius 1 for every face's triangle, the middle one at the origin
  // with the big triangle's point down.
  for (cplx& p : whole.points) p = (p - (D + E + F) / 3.0) * -s3;
  if (whole.points.size() != 19) Fail("the tetrahedron net has " + std::to_string(whole.points.size()) + " points");
  for (size_t k = 0; k < whole.faces.size(); ++k)
    for (int c = 0; c < 3; ++c)
      if (conformaltetrahedron_Faces2D[4 * k + c] != whole.faces[k][c] + 1)
        Fail("the tetrahedron net is not numbered as the catalogue's");

  // A third of a turn about the middle face keeps the big triangle in its
  // box; the mirror in the upright line too.
  const std::vector<cplx> thirds = {1.0, std::polar(1.0, 2.0 * kPi / 3.0), std::polar(1.0, -2.0 * kPi / 3.0)};
  Shape four{"Reuleaux 4", fourFaces, whole, {-1.464807, 1.464807, -1.687953, 1.006703}};
  TurnTheRightWayRound(&four, solid, want, cplx(0, 1));
  TurnSkyUp(&four, solid, thirds);
  Settle(&four, solid, want, cplx(0, 1));

  // Two faces: the middle one and the one beyond its top edge, turned so
  // that they lie side by side, the middle one on the right.
  Shape two{"Reuleaux 2", variant2, four.net, {-1.688241, 0.688918, -0.597432, 0.597432}};
  two.net.faces.clear();
  for (int k : {0, 1, 2, 3, 4, 5, 18, 19, 20, 21, 22, 23}) two.net.faces.push_back(four.net.faces[k]);
  // The second face's centre goes to (-1, 0).
  const cplx topCentre = four.net.points[four.net.faces[18][0]];
  Transform(&two.net, cplx(-1, 0) / topCentre, false);
  Settle(&two, solid, want, cplx(1, 0));

  // One face, a corner pointing down.
  Shape one{"Reuleaux 1", variant1, {}, {-0.594388, 0.594388, -0.684105, 0.502879}};
  AddGroup(&one.net, tetrahedron[0], true);
  for (cplx& p : one.net.points) p = (p - (D + E + F) / 3.0) * s3;
  TurnTheRightWayRound(&one, solid, want, cplx(0, 1));
  TurnSkyUp(&one, solid, thirds);
  Settle(&one, solid, want, cplx(0, 1));
  if (one.net.points.size() != 7) Fail("one face has other than 7 points");

  // Eight faces on the octahedron's faces through the table of the
  // Reuleaux triangle onto the octahedron's face; the same solid as above
  // tells the face from the rest.
  Member eightFaces = [](const NetSectorSample* s, float p[3], uint8_t* o) {
    int32_t region;
    TotalReuleaux8ToSphere(s, p, o, &region);
  };
  Shape eight{"Reuleaux 8", eightFaces, EightFaces(eightFaces, solid, -1, along, "Reuleaux 8"),
              {-1.717542, 3.155323, -0.665468, 1.712015}};
  // Longitudes run left to right, so a net that came out mirrored cannot be
  // mended by a mirror.
  if (Evaluate(eightFaces, eight.net, solid).handed != want) Fail("Reuleaux 8 mirrored");
  FitShownInto(&eight, solid);
  Settle(&eight, solid, want, cplx(0, 1));
  if (eight.net.points.size() != 56) Fail("Reuleaux 8 has other than 56 points");

  // The octahedron's face in the plane of its stereographic picture seen
  // from the face's antipode: its edges' great circles are circles of radius
  // sqrt 3 about points at sqrt 2 from the centre, its corners at
  // tan(acos(1/sqrt 3) / 2) (azimuths 0, 120 and 240 degrees) and its arc
  // midpoints at sqrt 3 - sqrt 2. The map reads only the plane; which points
  // lie on the face it tells by the circles themselves.
  const double octMid = std::sqrt(3.0) - std::sqrt(2.0);
  const FaceFrame octFrame{0.0, 1, octMid, 2.0 * octMid, 1.0, 1.0, 1.0};
  const std::vector<Dir3> octahedron = FacePoints(octFrame);
  const double octAlong = kMid / (2.0 * octMid);
  Member octFaces = [](const NetSectorSample* s, float p[3], uint8_t* o) {
    int32_t region;
    TotalOctreleauxToSphere(s, p, o, &region);
  };
  Shape oct{"Octreleaux", octFaces, EightFaces(octFaces, octahedron, 1, octAlong, "Octreleaux"),
            {-1.951145, 3.677683, -0.792059, 1.943672}};
  if (Evaluate(octFaces, oct.net, octahedron).handed != want) Fail("Octreleaux mirrored");
  FitShownInto(&oct, octahedron);
  Settle(&oct, octahedron, want, cplx(0, 1));
  if (oct.net.points.size() != 56) Fail("Octreleaux has other than 56 points");

  shapes::TableWriter w;
  w.Coords3D("ReuleauxTetrahedron_Coords3D", solid,
             "One face of the Reuleaux tetrahedron in the plane of its stereographic picture: centre, arc\n"
             "midpoints and the corners of the triangle touching the arcs, at heights that put the face's edge\n"
             "for the nearest-corner test on the chords from each arc midpoint to the Reuleaux corners");
  w.Map("ReuleauxTetrahedron_2D_to_3D", whole.solidOf,
        "The face point under each point of the tetrahedron in sixths (the catalogue's numbering)");
  w.Coords2D("Reuleaux1_Coords2D", one.net.points, "One face, a corner down: the net points");
  w.Rows("Reuleaux1_Faces2D", Rows(one.net), "Its sectors: centre, arc midpoint, corner");
  w.Map("Reuleaux1_2D_to_3D", Map(one.net), "The face point under each net point");
  w.Coords2D("Reuleaux2_Coords2D", two.net.points,
             "Two faces side by side on the tetrahedron in sixths' numbering (points 8 to 15 unused)");
  w.Rows("Reuleaux2_Faces2D", Rows(two.net), "The middle face's sectors, then those of the face beyond its edge E F");
  w.Coords2D("Reuleaux4_Coords2D", four.net.points,
             "The tetrahedron in sixths with each face a Reuleaux face, the big triangle's point down and its\n"
             "middle face at the origin (the rows are conformaltetrahedron_Faces2D)");
  w.Coords2D("Reuleaux8_Coords2D", eight.net.points,
             "Eight faces on the octahedron's, as an interrupted map: the four round the top pole in a row, each\n"
             "over the face beyond its lower edge; the net points");
  w.Rows("Reuleaux8_Faces2D", Rows(eight.net), "Its sectors: centre, arc midpoint, corner");
  w.Map("Reuleaux8_2D_to_3D", Map(eight.net), "The face point of ReuleauxTetrahedron under each net point");
  w.Coords3D("OctreleauxOctahedron_Coords3D", octahedron,
             "One face of the octahedron in the plane of its stereographic picture: centre, arc midpoints and\n"
             "the corners of the triangle touching the arcs");
  w.Coords2D("Octreleaux_Coords2D", oct.net.points, "The eight faces of the octahedron laid out as Reuleaux 8's");
  w.Rows("Octreleaux_Faces2D", Rows(oct.net), "Its sectors: centre, arc midpoint, corner");
  w.Map("Octreleaux_2D_to_3D", Map(oct.net), "The face point under each net point");
  if (!w.Save(argv[1], "shape_tables_reuleaux",
              "The Reuleaux nets of the catalogue, written by tools/make_shape_reuleaux. Do not edit."))
    Fail("cannot write the tables");
  // The shared writer names its own program in the source's first line.
  const std::string path = std::string(argv[1]) + "/shape_tables_reuleaux.cpp";
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  const std::string from = "tools/make_shape_tables", to = "tools/make_shape_reuleaux";
  if (text.compare(0, 14 + from.size(), "// Written by " + from) != 0) Fail("unexpected table source");
  text.replace(14, from.size(), to);
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
    Fail("cannot write the tables");
  return 0;
}
