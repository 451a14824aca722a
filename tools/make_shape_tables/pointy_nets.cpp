// The pointy sphere map reads sector k of its net through the twelfth of the
// hexagon, and its eight sectors cover only two opposite lunes of the sphere,
// each twice: sectors 0 and 1 make one lune (tips at two antipodes, the pair
// joined along their centre-to-midpoint edge), 4 and 5 the opposite lune,
// and 2, 3, 6, 7 repeat 0, 1, 4, 5 point for point. Two sectors of one
// lune, mirror images of each other, make an equilateral triangle whose
// corners are the lune's tips and the middle of one of its sides.
//
// The two lunes share no edge on the sphere (they meet only at their tips),
// and a copy joined to its original would show the sphere mirrored, so the
// net is four triangles apart, in a row: each lune, then each copy, every
// one turned sky up (the side that runs through the zenith on top, or the
// side through the nadir at the bottom). The catalogue counts 15 net points;
// these are 16 (four triangles of four corners). The one point two lunes
// could share is a tip, and a pair touching there cannot both stand sky up:
// the first lune's lowest corner is one tip, the second's highest the
// other, so they would meet only with one of them upside down.
#include "pointy_nets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "projection/inverse/star_projections.h"

namespace shapes {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMeetTolerance = 2e-4;
constexpr int32_t kSectors = 8;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "make_shape_tables: pointy: %s\n", what.c_str());
  std::exit(1);
}

Dir3 SphereOf(int32_t k, double b0, double b1, double b2) {
  NetSectorSample s{};
  s.triangle = k;
  s.sector = k;
  s.b0 = float(b0);
  s.b1 = float(b1);
  s.b2 = float(b2);
  float p[3];
  int32_t region = 0;
  uint8_t outside = 0;
  TotalNEWPOINTYToSphere(&s, p, 0, &region, &outside);
  const double r = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
  return Dir3{{p[0] / r, p[1] / r, p[2] / r}};
}

Dir3 CornerOf(int32_t k, int c) { return SphereOf(k, c == 0, c == 1, c == 2); }

double Cross(cplx a, cplx b) { return a.real() * b.imag() - a.imag() * b.real(); }

double Det(const Dir3& a, const Dir3& b, const Dir3& c) {
  return a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) - a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
         a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
}

using Tri = std::array<cplx, 3>;

// One lune: sector `first` and its mirror image `first + 1` across their
// centre-to-midpoint edge, turned in the plane the way the net must show
// the sphere.
struct Lune {
  int32_t first;
  Tri tri[2];
};

cplx Reflect(cplx p, cplx a, cplx b) {
  const cplx d = b - a;
  return a + d * std::conj((p - a) / d);
}

Lune MakeLune(int32_t first, double handedness) {
  const cplx mid = std::polar(1.0, kPi / 6.0);
  const cplx v = cplx(1.0 / std::cos(kPi / 6.0), 0.0);
  Lune L{first, {{cplx(0, 0), mid, v}, {cplx(0, 0), mid, Reflect(v, 0.0, mid)}}};
  const double s = Cross(L.tri[0][1] - L.tri[0][0], L.tri[0][2] - L.tri[0][0]) *
                   Det(CornerOf(first, 0), CornerOf(first, 1), CornerOf(first, 2));
  if ((s > 0 ? 1.0 : -1.0) != handedness)
    for (Tri& t : L.tri)
      for (cplx& z : t) z = std::conj(z);
  return L;
}

void Move(Lune* L, cplx turn, cplx shift) {
  for (Tri& t : L->tri)
    for (cplx& z : t) z = z * turn + shift;
}

cplx Centroid(const Lune& L) { return (L.tri[0][0] + L.tri[0][2] + L.tri[1][2]) / 3.0; }

double Left(const Lune& L) {
  double x = 1e9;
  for (const Tri& t : L.tri)
    for (const cplx& z : t) x = std::fmin(x, z.real());
  return x;
}

double Bottom(const Lune& L) {
  double y = 1e9;
  for (const Tri& t : L.tri)
    for (const cplx& z : t) y = std::fmin(y, z.imag());
  return y;
}

double Right(const Lune& L) {
  double x = -1e9;
  for (const Tri& t : L.tri)
    for (const cplx& z : t) x = std::fmax(x, z.real());
  return x;
}

// The lune's corners in order round it: O, then the first sector's V, then
// the second sector's V.
std::array<cplx, 3> Corners(const Lune& L) { return {L.tri[0][0], L.tri[0][2], L.tri[1][2]}; }

// The sphere's height (y) along the lune's side from corner i to corner j,
// at its highest and lowest.
void HeightAlong(const Lune& L, int i, int j, double* high, double* low) {
  // Corner i of the lune in barycentrics of the sector that holds the side:
  // O-V and O-V' lie in one sector each, V-V' runs through both halves.
  *high = -2.0;
  *low = 2.0;
  for (int n = 0; n <= 64; ++n) {
    const double t = n / 64.0;
    Dir3 d;
    if (i == 0 && j == 1) d = SphereOf(L.first, 1 - t, 0, t);
    else if (i == 0 && j == 2) d = SphereOf(L.first + 1, 1 - t, 0, t);
    else d = t < 0.5 ? SphereOf(L.first, 0, 2 * t, 1 - 2 * t) : SphereOf(L.first + 1, 0, 2 - 2 * t, 2 * t - 1);
    *high = std::fmax(*high, d.v[1]);
    *low = std::fmin(*low, d.v[1]);
  }
}

// Turns the lune so that the side running through the zenith lies level on
// top of the picture, or else the side through the nadir level at its
// bottom. The picture's rows run down the net's y, so the picture's top is
// the net's low y.
void StandSkyUp(Lune* L) {
  const int sides[3][2] = {{0, 1}, {0, 2}, {1, 2}};
  int best = -1;
  bool top = true;
  for (int pass = 0; pass < 2 && best < 0; ++pass)
    for (int e = 0; e < 3; ++e) {
      double high, low;
      HeightAlong(*L, sides[e][0], sides[e][1], &high, &low);
      if (pass == 0 && high > 0.999) best = e;
      if (pass == 1 && low < -0.999) {
        best = e;
        top = false;
      }
    }
  if (best < 0) Fail("a lune reaches neither the zenith nor the nadir");
  const std::array<cplx, 3> c = Corners(*L);
  const cplx a = c[sides[best][0]], b = c[sides[best][1]], other = c[3 - sides[best][0] - sides[best][1]];
  // Level the side, then turn a half turn if the third corner is on the
  // wrong side of it.
  cplx turn = std::abs(b - a) / (b - a);
  const double otherY = ((other - a) * turn).imag();
  if ((top && otherY < 0) || (!top && otherY > 0)) turn = -turn;
  Move(L, turn, -a * turn);
}

// The sphere map must still give what the net is drawn for: the copies
// equal to their originals, and each lune's pair meeting along its shared
// edge.
void CheckLayout() {
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t a = k < 2 ? k : k + 2;
    for (int c = 0; c < 3; ++c)
      if (!SameDir(CornerOf(a, c), CornerOf(a + 2, c), kMeetTolerance)) Fail("a copy differs from its original");
  }
  for (int32_t a : {0, 4})
    for (double t : {0.0, 0.3, 0.5, 0.8, 1.0})
      if (!SameDir(SphereOf(a, 1 - t, t, 0), SphereOf(a + 1, 1 - t, t, 0), kMeetTolerance))
        Fail("the two sectors of a lune do not meet along their shared edge");
}

}  // namespace

FlatNet MakePointyNet(double handedness) {
  CheckLayout();
  Lune lunes[4] = {MakeLune(0, handedness), MakeLune(4, handedness), MakeLune(2, handedness),
                   MakeLune(6, handedness)};
  const double side = std::abs(lunes[0].tri[0][2] - lunes[0].tri[0][0]);
  double nextLeft = 0.0;
  for (Lune& L : lunes) {
    StandSkyUp(&L);
    Move(&L, 1.0, cplx(nextLeft - Left(L), -Bottom(L)));
    nextLeft = Right(L) + 0.25 * side;
  }
  std::vector<Tri> tri(kSectors);
  for (const Lune& L : lunes) {
    tri[L.first] = L.tri[0];
    tri[L.first + 1] = L.tri[1];
  }
  FlatNet net;
  net.sectorTriangles = tri;
  auto solidId = [&](const Dir3& d) {
    for (size_t i = 0; i < net.solid.size(); ++i)
      if (SameDir(net.solid[i], d, kMeetTolerance)) return int32_t(i);
    net.solid.push_back(d);
    return int32_t(net.solid.size() - 1);
  };
  for (int32_t k = 0; k < kSectors; ++k) {
    std::vector<int32_t> face;
    for (int c = 0; c < 3; ++c) {
      const int32_t s = solidId(CornerOf(k, c));
      int32_t id = -1;
      for (size_t v = 0; v < net.points.size() && id < 0; ++v)
        if (std::abs(net.points[v] - tri[k][c]) < 1e-7 && net.solidOf[v] == s) id = int32_t(v);
      if (id < 0) {
        net.points.push_back(tri[k][c]);
        net.solidOf.push_back(s);
        id = int32_t(net.points.size() - 1);
      }
      face.push_back(id);
    }
    net.faces.push_back(face);
  }
  return net;
}

}  // namespace shapes
