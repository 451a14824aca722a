// The waffle's sphere map takes the cube's eighths through the cube warp,
// tilts the cube by an eighth turn and squeezes the whole sphere into its
// front half: longitudes about the vertical are halved, so the sphere opens
// along one half great circle, from the cube's top-front edge midpoint
// (which becomes the zenith) over the top and back face centres to its
// bottom-back edge midpoint (the nadir); the two sides of that opening
// become the two rims of the front half, a quarter turn left and right of
// its middle. Net points below the line through two marks (net points 22
// and 50; below in the picture, greater y in the net) then take a half-turn
// about the vertical, on each side of mark 22 those on the other side of the
// vertical plane through the picture's middle, so each side keeps the half
// of the sphere that faces it. The half-turn is just what the squeeze's
// other branch gives across the opening, so a net can go on across it.
//
// So the net is two cubes in eighths, each cut in halves along the vertical
// plane through its zenith and nadir points, each half opened flat: the
// front and bottom halves in a column on the middle line, the left (or
// right) face beside the bottom, the top and back halves in a column
// outside, their middle lines (the opening) on the outer line. The first
// cube lies in the middle, showing the front half of the sphere; the second
// cube's halves lie outside it, each joined to the first along the opening
// and turned by the half-turn, showing the back: the whole sphere once, as
// one piece, the back meridian at both ends. Mark 22 is the zenith point on
// top of the middle line, mark 50 the outer cube's zenith point on the same
// height, so the parting line runs along the net's top.
//
// Code 62 loads the same tables for the three-petal floret, whose petal
// reads one quadrant of the crammed net about its origin and has to find a
// quarter of the sphere's longitudes there. This net does not give that
// (at its zenith points a quadrant holds an eighth: the squeeze halves the
// angles at its poles), and its petals come out in pieces, so code 62 is
// left without tables until a net serves both.
//
// The catalogue counts 96 faces and 144 net points; this net has the 96
// faces and 77 points. 144 would need cuts through the net that the sphere
// map does not ask for (the net here is one piece with no seam).
#include "waffle_nets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "projection/star_projections.h"
#include "projection/star_projections_reuleaux.h"

namespace shapes {

namespace {

constexpr int32_t kHalfSectors = 24;
// Width of a half cube opened flat, in half sides of the cube.
constexpr double kHalfWidth = 4.0;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "make_shape_tables: waffle: %s\n", what.c_str());
  std::exit(1);
}

struct Int3 {
  int v[3];
};

bool operator==(const Int3& a, const Int3& b) { return a.v[0] == b.v[0] && a.v[1] == b.v[1] && a.v[2] == b.v[2]; }

// A face square (or half of one) and where it lies in the picture: x to the
// right, y up, one unit half a side of the cube.
struct Piece {
  int normalAxis;
  int normalSign;
  std::function<bool(const Int3&)> keep;  // which of the face's eighths
  std::function<cplx(const Int3&)> place;
};

// The cube's left half (x <= 0) opened flat, its right half the mirror
// image: the front and bottom halves in a column on the middle line (x = 0,
// zenith point on top), the left face beside the bottom, and the top and
// back halves in a column outside it, their middle lines (the opening) on
// the outer line.
std::vector<Piece> HalfPieces(int side) {
  // side -1: the left half as laid out; +1: the right half, mirrored.
  auto keep = [side](const Int3& p) { return side * p.v[0] >= 0; };
  auto m = [side](const Int3& p) { return -side * p.v[0]; };  // x of the left half's point
  auto X = [side](double leftX) { return side < 0 ? leftX : -leftX; };
  return {
      {2, 1, keep, [=](const Int3& p) { return cplx(X(m(p)), p.v[1] + 2); }},       // front half
      {1, -1, keep, [=](const Int3& p) { return cplx(X(m(p)), p.v[2]); }},          // bottom half
      {0, side, keep, [=](const Int3& p) { return cplx(X(-2 - p.v[1]), p.v[2]); }},  // left or right face
      {1, 1, keep, [=](const Int3& p) { return cplx(X(-4 - m(p)), p.v[2]); }},       // top half
      {2, -1, keep, [=](const Int3& p) { return cplx(X(-4 - m(p)), p.v[1] - 2); }},  // back half
  };
}

// The eighths of one face: centre, edge midpoint, corner.
std::vector<std::array<Int3, 3>> Eighths(int axis, int sign) {
  std::vector<std::array<Int3, 3>> out;
  const int a = (axis + 1) % 3, b = (axis + 2) % 3;
  Int3 c{{0, 0, 0}};
  c.v[axis] = sign;
  for (int along : {a, b}) {
    const int other = along == a ? b : a;
    for (int s : {-1, 1}) {
      Int3 m = c;
      m.v[along] = s;
      for (int t : {-1, 1}) {
        Int3 v = m;
        v.v[other] = t;
        out.push_back({c, m, v});
      }
    }
  }
  return out;
}

struct Sector {
  std::array<Int3, 3> solid;
  std::array<cplx, 3> flat;
};

// One half of a cube, shifted along x.
std::vector<Sector> OneHalf(int side, double xShift) {
  std::vector<Sector> out;
  for (const Piece& piece : HalfPieces(side))
    for (const auto& e : Eighths(piece.normalAxis, piece.normalSign)) {
      if (!piece.keep(e[0]) || !piece.keep(e[1]) || !piece.keep(e[2])) continue;
      Sector s{e, {}};
      for (int c = 0; c < 3; ++c) s.flat[c] = piece.place(e[c]) + xShift;
      out.push_back(s);
    }
  if (int32_t(out.size()) != kHalfSectors) Fail("a half cube is not 24 eighths");
  return out;
}

// The render point of a solid point: flip B negates x.
void RenderPoint(const Int3& p, double out[3]) {
  out[0] = -p.v[0];
  out[1] = p.v[1];
  out[2] = p.v[2];
}

Dir3 SphereOf(const Sector& s, int32_t k, const double b[3], cplx netPoint, const WaffleNetMarks& marks) {
  NetSectorSample smp{};
  smp.triangle = k;
  smp.sector = k;
  smp.b0 = float(b[0]);
  smp.b1 = float(b[1]);
  smp.b2 = float(b[2]);
  for (int c = 0; c < 3; ++c) RenderPoint(s.solid[c], smp.corner3D[c]);
  float p[3];
  uint8_t outside = 0;
  int32_t region = 0;
  TotalWaffleToSphere(&smp, p, &outside, &marks, float(netPoint.real()), float(netPoint.imag()), &region);
  const double r = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
  return Dir3{{p[0] / r, p[1] / r, p[2] / r}};
}

cplx At(const Sector& s, const double b[3]) { return b[0] * s.flat[0] + b[1] * s.flat[1] + b[2] * s.flat[2]; }

double Cross(cplx a, cplx b) { return a.real() * b.imag() - a.imag() * b.real(); }

double Det(const Dir3& a, const Dir3& b, const Dir3& c) {
  return a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) - a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
         a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
}

}  // namespace

FlatNet MakeWaffleNet(double handedness) {
  // Picture coordinates first; the net's y runs down the picture, so the
  // net is the picture with y negated (and mirrored left to right when it
  // would show the sphere the wrong way round; see below).
  // The first cube in the middle, the second cube's halves outside it,
  // each joined to the first along the opening: its right half on the left.
  std::vector<Sector> sectors;
  for (const auto& [side, shift] : {std::pair{-1, 0.0}, std::pair{1, 0.0}, std::pair{1, -2 * kHalfWidth},
                                    std::pair{-1, 2 * kHalfWidth}}) {
    const std::vector<Sector> half = OneHalf(side, shift);
    sectors.insert(sectors.end(), half.begin(), half.end());
  }
  for (Sector& s : sectors)
    for (cplx& z : s.flat) z = std::conj(z);
  // Number the points: equal net position and equal solid point make one.
  FlatNet net;
  std::vector<Int3> solid;
  auto solidId = [&](const Int3& p) {
    for (size_t i = 0; i < solid.size(); ++i)
      if (solid[i] == p) return int32_t(i);
    solid.push_back(p);
    return int32_t(solid.size() - 1);
  };
  for (const Sector& s : sectors) {
    std::vector<int32_t> face;
    for (int c = 0; c < 3; ++c) {
      const int32_t id3 = solidId(s.solid[c]);
      int32_t id = -1;
      for (size_t v = 0; v < net.points.size() && id < 0; ++v)
        if (std::abs(net.points[v] - s.flat[c]) < 1e-9 && net.solidOf[v] == id3) id = int32_t(v);
      if (id < 0) {
        net.points.push_back(s.flat[c]);
        net.solidOf.push_back(id3);
        id = int32_t(net.points.size() - 1);
      }
      face.push_back(id);
    }
    net.faces.push_back(face);
    net.sectorTriangles.push_back(s.flat);
  }
  // The marks: the zenith point on top of the middle line, and the outer
  // cubes' highest points on the same height: the line parting the net's
  // halves runs along its top, so every point of the outer halves takes the
  // half-turn (the middle cube's points keep theirs either way).
  auto pointOf = [&](cplx at, const Int3& p) {
    for (size_t v = 0; v < net.points.size(); ++v)
      if (std::abs(net.points[v] - at) < 1e-9 && solid[net.solidOf[v]] == p) return int32_t(v);
    Fail("a mark is not a net point");
  };
  const int32_t zenithMiddle = pointOf(std::conj(cplx(0, 3)), Int3{{0, 1, 1}});
  const int32_t zenithOuter = pointOf(std::conj(cplx(-2 * kHalfWidth, 3)), Int3{{0, 1, 1}});
  auto swapPoints = [&](int32_t a, int32_t b) {
    if (a == b) return;
    std::swap(net.points[a], net.points[b]);
    std::swap(net.solidOf[a], net.solidOf[b]);
    for (auto& f : net.faces)
      for (int32_t& v : f) v = v == a ? b : (v == b ? a : v);
  };
  swapPoints(zenithMiddle, kWaffleMarkA);
  swapPoints(zenithOuter == kWaffleMarkA ? zenithMiddle : zenithOuter, kWaffleMarkB);
  for (const Int3& p : solid) net.solid.push_back(Dir3{{double(p.v[0]), double(p.v[1]), double(p.v[2])}});

  // Checks on the sphere map itself: the way round, and each side of the
  // back copy's middle line keeping its own half (its eighths' points, before
  // the half-turn, on the side of the vertical plane the half-turn keeps).
  const WaffleNetMarks marks = {float(net.points[kWaffleMarkA].real()), float(net.points[kWaffleMarkA].imag()),
                                float(net.points[kWaffleMarkB].imag())};
  const double inner[3][3] = {{0.6, 0.2, 0.2}, {0.2, 0.6, 0.2}, {0.2, 0.2, 0.6}};
  for (size_t k = 0; k < sectors.size(); ++k) {
    const Sector& s = sectors[k];
    Dir3 d[3];
    cplx p[3];
    for (int i = 0; i < 3; ++i) {
      p[i] = At(s, inner[i]);
      d[i] = SphereOf(s, int32_t(k), inner[i], p[i], marks);
    }
    if ((Cross(p[1] - p[0], p[2] - p[0]) * Det(d[0], d[1], d[2]) > 0 ? 1.0 : -1.0) != handedness)
      Fail("eighth " + std::to_string(k) + " shows the sphere mirrored");
    // The middle cube shows the front half, the outer halves the back.
    const bool outer = k >= 2 * size_t(kHalfSectors);
    for (const Dir3& q : d)
      if ((q.v[2] < 0) != outer) Fail("eighth " + std::to_string(k) + " shows the wrong half of the sphere");
  }
  return net;
}

}  // namespace shapes
