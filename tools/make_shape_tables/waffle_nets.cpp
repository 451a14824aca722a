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
// Code 62 is the three-petal floret's solid. Each petal reads one quadrant
// of the crammed net (x >= 0, y <= 0 about the net's bounding-box centre),
// and the floret stretches what it finds there from a lune of 270 degrees
// of longitude to the whole sphere and turns the three petals 120 degrees
// apart. The petals join along their edges only when the quadrant's corner
// is a pole, its two rays are meridians a quarter turn apart and the
// quadrant holds just the quarter between them: a quadrant of 90 degrees
// for 90 degrees of longitude. Through this sphere map the poles are the
// cube's top-front and bottom-back edge midpoints, where the squeeze halves
// the angles: 180 degrees of cube (two eighths) make the quarter, so no net
// drawn true to the cube's eighths can serve both shapes (the one above
// gives each quadrant an eighth of the longitudes there, and its centre is
// not even a pole). Code 62 has its own net: the quarter's 24 eighths (the
// front and bottom faces and the halves of the side faces below their
// diagonals through the poles) drawn into the quadrant, the nadir at the
// corner, the two edge meridians along the rays as far as the side faces'
// far corners, the zenith on the diagonal, the rest placed by averaging
// each point's neighbours (so every eighth keeps its way round; the eighths
// are drawn out of true, which the barycentric warp follows continuously).
// The corner is the nadir, not the zenith: the petals follow one another
// the way longitudes run about the nadir, as seen in the net, so only there
// do the meridians on the rays meet their neighbours' (with the zenith at
// the corner each edge met a place a third of a turn away). Four copies
// turned by quarter turns about the nadir keep the catalogue's 96 faces and
// centre the net's box on the nadir, each copy showing the same quarter;
// the two side copies are drawn smaller and apart. Its marks lie on the
// net's highest line, so nothing takes the half-turn.

// The catalogue counts 96 faces and 144 net points; the waffle's net has
// the 96 faces and 77 points, the floret's the 96 faces and 67 points. 144
// would need cuts through the waffle's net that the sphere map does not ask
// for (that net is one piece with no seam).
#include "waffle_nets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "projection/inverse/star_projections.h"
#include "projection/inverse/star_projections_reuleaux.h"

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

namespace {

// The quarter of the sphere one petal reads: the cube's eighths on the
// front-bottom side of the plane y = z, through the zenith (0, 1, 1) and
// the nadir (0, -1, -1).
std::vector<std::array<Int3, 3>> QuarterEighths() {
  std::vector<std::array<Int3, 3>> out;
  for (int axis = 0; axis < 3; ++axis)
    for (int sign : {-1, 1})
      for (const auto& e : Eighths(axis, sign))
        if (std::all_of(e.begin(), e.end(), [](const Int3& p) { return p.v[1] <= p.v[2]; })) out.push_back(e);
  return out;
}

}  // namespace

FlatNet MakeTridentNet(double handedness) {
  const std::vector<std::array<Int3, 3>> quarter = QuarterEighths();
  if (quarter.size() != 24) Fail("trident: the quarter is not 24 eighths");
  std::vector<Int3> solid;
  auto solidId = [&](const Int3& p) {
    for (size_t i = 0; i < solid.size(); ++i)
      if (solid[i] == p) return int32_t(i);
    solid.push_back(p);
    return int32_t(solid.size() - 1);
  };
  std::vector<std::array<int32_t, 3>> tri;
  for (const auto& e : quarter) tri.push_back({solidId(e[0]), solidId(e[1]), solidId(e[2])});
  const int32_t n = int32_t(solid.size());
  // The edge meridians from the nadir over a side face's diagonal to the
  // zenith; the first runs along +x, the second along -y (or the other way
  // round when that shows the sphere mirrored).
  const Int3 zenith{{0, 1, 1}}, nadir{{0, -1, -1}};
  const Int3 edgeA[3] = {{{1, -1, -1}}, {{1, 0, 0}}, {{1, 1, 1}}};
  const Int3 edgeB[3] = {{{-1, -1, -1}}, {{-1, 0, 0}}, {{-1, 1, 1}}};
  // Distances along the rays as the cube's surface measures them (half a
  // side, then two half diagonals); the zenith as far out on the diagonal
  // as the middle meridian is long.
  const double along[3] = {1.0, 1.0 + std::sqrt(2.0), 1.0 + 2.0 * std::sqrt(2.0)};
  const double zenithAt = 4.0 / std::sqrt(2.0);
  auto layout = [&](bool swapRays) {
    std::vector<cplx> pos(size_t(n), cplx(0, 0));
    std::vector<bool> fixed(size_t(n), false);
    auto fix = [&](const Int3& p, cplx at) {
      pos[size_t(solidId(p))] = at;
      fixed[size_t(solidId(p))] = true;
    };
    fix(nadir, cplx(0, 0));
    fix(zenith, cplx(zenithAt, -zenithAt));
    for (int i = 0; i < 3; ++i) {
      fix(swapRays ? edgeB[i] : edgeA[i], cplx(along[i], 0));
      fix(swapRays ? edgeA[i] : edgeB[i], cplx(0, -along[i]));
    }
    if (int32_t(solid.size()) != n) Fail("trident: a ray point is not in the quarter");
    std::vector<std::vector<int32_t>> nb(static_cast<size_t>(n));
    for (const auto& t : tri)
      for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
          if (a != b && std::find(nb[t[a]].begin(), nb[t[a]].end(), t[b]) == nb[t[a]].end()) nb[t[a]].push_back(t[b]);
    for (int it = 0; it < 20000; ++it)
      for (int32_t v = 0; v < n; ++v) {
        if (fixed[v]) continue;
        cplx sum(0, 0);
        for (int32_t w : nb[v]) sum += pos[w];
        pos[v] = sum / double(nb[v].size());
      }
    return pos;
  };
  // Sphere images of a quarter laid out: every eighth the same way round,
  // as the handedness asks.
  auto wayRound = [&](const std::vector<cplx>& pos) {
    const WaffleNetMarks noTurn = {0.0f, 1e30f, 1e30f};
    const double inner[3][3] = {{0.6, 0.2, 0.2}, {0.2, 0.6, 0.2}, {0.2, 0.2, 0.6}};
    int32_t agree = 0;
    for (size_t k = 0; k < tri.size(); ++k) {
      Sector s{quarter[k], {pos[tri[k][0]], pos[tri[k][1]], pos[tri[k][2]]}};
      Dir3 d[3];
      cplx p[3];
      for (int i = 0; i < 3; ++i) {
        p[i] = At(s, inner[i]);
        d[i] = SphereOf(s, int32_t(k), inner[i], p[i], noTurn);
      }
      const double net = Cross(s.flat[1] - s.flat[0], s.flat[2] - s.flat[0]);
      if (std::fabs(net) < 1e-9) Fail("trident: an eighth is drawn flat");
      agree += (net * Det(d[0], d[1], d[2]) > 0 ? 1 : -1) == int(handedness) ? 1 : 0;
    }
    return agree;
  };
  std::vector<cplx> pos = layout(false);
  int32_t agree = wayRound(pos);
  if (agree == 0) {
    pos = layout(true);
    agree = wayRound(pos);
  }
  if (agree != int32_t(tri.size())) Fail("trident: the quarter's eighths do not all show the sphere the right way round");

  // Four copies a quarter turn apart. The one the petals read and the one
  // opposite it meet at the nadir alone; the two between them are drawn a
  // little smaller and apart, so that no copy shares a ray with the one the
  // petals read (the net search near a shared line may take either side).
  // Each reaches the box's edge, so the box stays centred on the nadir.
  FlatNet net;
  for (const Int3& p : solid) net.solid.push_back(Dir3{{double(p.v[0]), double(p.v[1]), double(p.v[2])}});
  const int32_t nadirId = solidId(nadir);
  const double top = along[2];
  constexpr double kSideScale = 0.9, kSideGap = 0.15;
  net.points.push_back(cplx(0, 0));
  net.solidOf.push_back(nadirId);
  for (int copy = 0; copy < 4; ++copy) {
    std::vector<int32_t> at(size_t(n), -1);
    if (copy % 2 == 0) at[size_t(nadirId)] = 0;
    for (int32_t v = 0; v < n; ++v) {
      if (at[v] >= 0) continue;
      // Half turns of exact coordinates stay exact; the side copies keep
      // their far edge exactly on the box's.
      const cplx z = pos[v];
      cplx q = copy == 0 ? z : copy == 2 ? -z : copy == 1 ? cplx(-z.imag(), z.real()) : cplx(z.imag(), -z.real());
      if (copy == 1) q = cplx(kSideGap + kSideScale * q.real(), top - kSideScale * (top - q.imag()));
      if (copy == 3) q = cplx(kSideScale * q.real() - kSideGap, -top + kSideScale * (top + q.imag()));
      at[v] = int32_t(net.points.size());
      net.points.push_back(q);
      net.solidOf.push_back(v);
    }
    for (size_t k = 0; k < tri.size(); ++k) {
      net.faces.push_back({at[tri[k][0]], at[tri[k][1]], at[tri[k][2]]});
      net.sectorTriangles.push_back({net.points[at[tri[k][0]]], net.points[at[tri[k][1]]], net.points[at[tri[k][2]]]});
    }
  }
  // The marks: the two points on the net's highest line (the far ends of
  // a ray of the copy opposite and of the copy a quarter turn round).
  for (const cplx& z : net.points)
    if (z.imag() > top || std::fabs(z.real()) > top) Fail("trident: a point outside the box");
  std::vector<int32_t> highest;
  for (size_t v = 0; v < net.points.size(); ++v)
    if (net.points[v].imag() == top) highest.push_back(int32_t(v));
  if (highest.size() != 2) Fail("trident: the net's highest line holds not two points");
  auto swapPoints = [&](int32_t a, int32_t b) {
    if (a == b) return;
    std::swap(net.points[a], net.points[b]);
    std::swap(net.solidOf[a], net.solidOf[b]);
    for (auto& f : net.faces)
      for (int32_t& v : f) v = v == a ? b : (v == b ? a : v);
  };
  swapPoints(highest[0], kWaffleMarkA);
  swapPoints(highest[1] == kWaffleMarkA ? highest[0] : highest[1], kWaffleMarkB);
  return net;
}

}  // namespace shapes
