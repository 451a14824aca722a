// The defining property of each table, tested on the tables themselves (as
// the fetches read them): the conformal ones keep angles, the equal-area
// square keeps areas.
//
// Every table is seen as a map from a flat plane (the square, the polygon's
// sector, the polyhedron's face) to the unit sphere; for a table whose values
// are disk points the sphere point is the stereographic lift. At interior
// grid points the plane-to-sphere Jacobian, from central differences over
// one grid step, must have singular values within 2 % of each other. Cone
// points (polygon corners, polyhedron vertices, the Reuleaux corner) are
// singular by nature and their neighbourhood is left out: the finite
// differences cannot follow a map that behaves like a power there.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "projection/complex_math.h"
#include "projection/inverse/conformal_warp.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct Vec3 {
  double v[3];
};

Vec3 Normalized(double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  return {{x / len, y / len, z / len}};
}

Vec3 Lift(fcomplex w) {
  Vec3 p;
  StereoIntersect_NiceD(w.re, w.im, p.v);
  return p;
}

fcomplex Polar(double r, double degrees) {
  return {r * std::cos(degrees * kPi / 180), r * std::sin(degrees * kPi / 180)};
}

// A triangle of the plane and the barycentric coordinates that a table's
// unit point stands for: z.re is the weight of corner `re`, z.im that of
// corner `im`, and the third corner takes the rest.
struct Triangle {
  fcomplex corner[3];
  int re, im;
};

fcomplex PointOf(const Triangle& t, fcomplex z) {
  double b[3];
  b[t.re] = z.re;
  b[t.im] = z.im;
  b[3 - t.re - t.im] = 1.0 - z.re - z.im;
  fcomplex p = {0, 0};
  for (int k = 0; k < 3; ++k) p = Cadd(p, RCmul(b[k], t.corner[k]));
  return p;
}

// Polygon sectors: centre b0, edge midpoint b1, corner b2; z = (b0, b2).
Triangle PolygonSector(int n, double midpointDegrees) {
  const double half = 180.0 / n;
  return {{{0, 0}, Polar(1.0, midpointDegrees), Polar(1.0 / std::cos(kPi / n), midpointDegrees - half)}, 0, 2};
}

// The Reuleaux sector: centre b0, arc midpoint b1, corner of the touching
// equilateral triangle b2; z = (b2, b0). Its Reuleaux corner is at 0 degrees
// on the segment b0-b2, at 1/sqrt(2) from the centre.
const double kArcMidpoint = std::tan(std::acos(1.0 / std::sqrt(3.0)) / 2.0);
const double kReuleauxCorner = std::sqrt(0.5) / (2.0 * kArcMidpoint);

Triangle ReuleauxSector() { return {{{0, 0}, Polar(kArcMidpoint, 60), {2.0 * kArcMidpoint, 0}}, 2, 0}; }

// A face of a regular polyhedron inscribed in the unit sphere, centred on
// +z, corners at the polar angle `angle` and azimuths 360 k / n.
struct Face {
  int n;
  double angle;
};

Vec3 FaceCorner(const Face& f, int k) {
  const double az = 2.0 * kPi * k / f.n;
  return {{std::sin(f.angle) * std::cos(az), std::sin(f.angle) * std::sin(az), std::cos(f.angle)}};
}

Vec3 Mix(const Vec3 p[3], const float b[3]) {
  return Normalized(b[0] * p[0].v[0] + b[1] * p[1].v[0] + b[2] * p[2].v[0],
                    b[0] * p[0].v[1] + b[1] * p[1].v[1] + b[2] * p[2].v[1],
                    b[0] * p[0].v[2] + b[1] * p[1].v[2] + b[2] * p[2].v[2]);
}

// The flat sub-triangle of a face in 3D (corners, centre, edge midpoint).
struct SubTriangle {
  Vec3 corner3D[3];
};

SubTriangle WholeFace(const Face& f) { return {{FaceCorner(f, 0), FaceCorner(f, 1), FaceCorner(f, 2)}}; }

SubTriangle CentreMidpointCorner(const Face& f) {
  const Vec3 a = FaceCorner(f, 0), b = FaceCorner(f, 1);
  return {{{{0, 0, std::cos(f.angle)}},
           {{(a.v[0] + b.v[0]) / 2, (a.v[1] + b.v[1]) / 2, (a.v[2] + b.v[2]) / 2}},
           a}};
}

Triangle PlaneOf(const SubTriangle& s, int re, int im) {
  Triangle t;
  for (int k = 0; k < 3; ++k) t.corner[k] = {s.corner3D[k].v[0], s.corner3D[k].v[1]};
  t.re = re;
  t.im = im;
  return t;
}

using Warp = void (*)(float*, float*, float*);

Vec3 WarpedPoint(Warp warp, const SubTriangle& s, int re, int im, fcomplex z) {
  float b[3];
  b[re] = float(z.re);
  b[im] = float(z.im);
  b[3 - re - im] = float(1.0 - z.re - z.im);
  warp(&b[0], &b[1], &b[2]);
  return Mix(s.corner3D, b);
}

const Face kIcosahedron = {3, std::acos(std::sqrt((5.0 + 2.0 * std::sqrt(5.0)) / 15.0))};
const Face kOctahedron = {3, std::acos(1.0 / std::sqrt(3.0))};
const Face kTetrahedron = {3, std::acos(1.0 / 3.0)};
const Face kDodecahedron = {5, std::acos(std::sqrt((5.0 + 2.0 * std::sqrt(5.0)) / 15.0))};

struct ConformalCase {
  const char* name;
  int n;                      // grid size: steps of 1 / (n - 1)
  bool triangle;              // only points of the triangle z.re + z.im <= 1
  Triangle plane;             // plane point of z (for the square tables: z)
  fcomplex singular[3];       // cone points in unit coordinates
  int singularCount;
  double keepOff;             // grid steps kept off them
  Vec3 (*sphere)(fcomplex z);
};

const Triangle kSquare = {{{0, 0}, {1, 0}, {0, 1}}, 1, 2};

const ConformalCase kConformal[] = {
    {"Peirce", 50, false, kSquare, {{1, 1}}, 1, 4.5, [](fcomplex z) { return Lift(FetchFromCache_Peirce(z)); }},
    {"pentagon tenth", 50, true, PolygonSector(5, 180), {{0, 1}}, 1, 4.5,
     [](fcomplex z) { return Lift(FetchFromCache_decant(z)); }},
    {"triangle sixth", 50, true, PolygonSector(3, 180), {{0, 1}}, 1, 6.5,
     [](fcomplex z) { return Lift(FetchFromCache_sextant(z)); }},
    {"hexagon twelfth", 50, true, PolygonSector(6, 30), {{0, 1}}, 1, 4.5,
     [](fcomplex z) { return Lift(FetchFromCache_dodecant(z)); }},
    {"square eighth", 50, true, PolygonSector(4, 45), {{0, 1}}, 1, 4.5,
     [](fcomplex z) { return Lift(FetchFromCache_nuoctant(z)); }},
    {"Reuleaux to disk", 51, true, ReuleauxSector(), {{kReuleauxCorner, 1 - kReuleauxCorner}}, 1, 4.5,
     [](fcomplex z) { return Lift(FetchFromCache_ReuleauxSextantToCircle(z)); }},
    {"Reuleaux to octahedron", 51, true, ReuleauxSector(), {{kReuleauxCorner, 1 - kReuleauxCorner}}, 1, 4.5,
     [](fcomplex z) {
       const fcomplex w = FetchFromCache_ReuleauxSextantToOctoface(z);
       return Normalized(w.re, w.im, std::sqrt(std::fmax(0.0, 1.0 - w.re * w.re - w.im * w.im)));
     }},
    {"icosahedron face", 50, true, PlaneOf(WholeFace(kIcosahedron), 2, 0), {{0, 0}, {1, 0}, {0, 1}}, 3, 4.5,
     [](fcomplex z) { return WarpedPoint(WarpBarysForConformalIcosahedron, WholeFace(kIcosahedron), 2, 0, z); }},
    {"octahedron face", 50, true, PlaneOf(WholeFace(kOctahedron), 2, 0), {{0, 0}, {1, 0}, {0, 1}}, 3, 4.5,
     [](fcomplex z) { return WarpedPoint(WarpBarysForConformalOctahedron, WholeFace(kOctahedron), 2, 0, z); }},
    {"tetrahedron sixth", 50, true, PlaneOf(CentreMidpointCorner(kTetrahedron), 2, 0), {{1, 0}}, 1, 4.5,
     [](fcomplex z) {
       return WarpedPoint(WarpBarysForTetrahedron, CentreMidpointCorner(kTetrahedron), 2, 0, z);
     }},
    {"dodecahedron tenth", 30, true, PlaneOf(CentreMidpointCorner(kDodecahedron), 1, 2), {{0, 1}}, 1, 4.5,
     [](fcomplex z) {
       return WarpedPoint(WarpBarysForConformalDodecahedron, CentreMidpointCorner(kDodecahedron), 1, 2, z);
     }},
    {"cube face", 50, false, kSquare, {{1, 1}}, 1, 4.5,
     [](fcomplex z) {
       float p[3];
       FetchFromCache_spherecube(z, p);
       return Normalized(p[0], p[1], p[2]);
     }},
};

// Ratio of the larger to the smaller singular value of the plane-to-sphere
// Jacobian at z.
double Anisotropy(const ConformalCase& c, fcomplex z, double h) {
  const auto at = [&](double dx, double dy) { return c.sphere({z.re + dx, z.im + dy}); };
  const Vec3 xp = at(h, 0), xm = at(-h, 0), yp = at(0, h), ym = at(0, -h);
  double dx[3], dy[3];
  for (int i = 0; i < 3; ++i) {
    dx[i] = (xp.v[i] - xm.v[i]) / (2 * h);
    dy[i] = (yp.v[i] - ym.v[i]) / (2 * h);
  }
  // Plane Jacobian A = dP/dz; the map's Jacobian is (dS/dz) A^-1.
  const fcomplex p0 = PointOf(c.plane, z), px = PointOf(c.plane, {z.re + 1, z.im}),
                 py = PointOf(c.plane, {z.re, z.im + 1});
  const double a = px.re - p0.re, b = py.re - p0.re, cc = px.im - p0.im, d = py.im - p0.im;
  const double det = a * d - b * cc;
  double ju[3], jv[3];
  for (int i = 0; i < 3; ++i) {
    ju[i] = (dx[i] * d - dy[i] * cc) / det;
    jv[i] = (-dx[i] * b + dy[i] * a) / det;
  }
  double g11 = 0, g12 = 0, g22 = 0;
  for (int i = 0; i < 3; ++i) {
    g11 += ju[i] * ju[i];
    g12 += ju[i] * jv[i];
    g22 += jv[i] * jv[i];
  }
  const double mean = (g11 + g22) / 2, spread = std::sqrt((g11 - g22) * (g11 - g22) / 4 + g12 * g12);
  return std::sqrt((mean + spread) / (mean - spread));
}

TEST(LookupProperties, ConformalTablesKeepAnglesAtInteriorGridPoints) {
  for (const ConformalCase& c : kConformal) {
    const int last = c.n - 1;
    const double h = 1.0 / last;
    double worst = 1.0;
    int tested = 0;
    for (int j = 1; j < last; ++j) {
      for (int i = 1; i < last; ++i) {
        if (c.triangle && i + j > last - 1) continue;
        const fcomplex z = {i * h, j * h};
        bool nearCone = false;
        for (int s = 0; s < c.singularCount; ++s) {
          nearCone = nearCone || std::hypot(z.re - c.singular[s].re, z.im - c.singular[s].im) < c.keepOff * h;
        }
        if (nearCone) continue;
        const double ratio = Anisotropy(c, z, h);
        worst = std::max(worst, ratio);
        ++tested;
        EXPECT_LT(ratio, 1.02) << c.name << " at grid point " << i << ", " << j;
      }
    }
    std::printf("%-24s %4d points, worst singular-value ratio %.4f\n", c.name, tested, worst);
  }
}

// Area of the spherical triangle of three unit vectors.
double SphericalArea(const Vec3& a, const Vec3& b, const Vec3& c) {
  const double triple = a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) - a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
                        a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
  const auto dot = [](const Vec3& p, const Vec3& q) { return p.v[0] * q.v[0] + p.v[1] * q.v[1] + p.v[2] * q.v[2]; };
  return 2.0 * std::atan2(std::fabs(triple), 1.0 + dot(a, b) + dot(b, c) + dot(c, a));
}

Vec3 EqualAreaPoint(int i, int j) {
  const triplex t = FetchFromCache_Equalsquarea({i / 49.0, j / 49.0});
  return Normalized(t.x, t.y, t.z);
}

TEST(LookupProperties, EqualAreaSquareKeepsAreasCellByCell) {
  // The quadrant [0, 1]^2 (area 1) covers a quarter of the sphere (area pi).
  // Each grid cell, as the two spherical triangles of its corners (split
  // along the anti-diagonal as the reader splits it), must cover pi times
  // its own area, within 1 %. The cells next to the poles (i + j <= 2 and
  // its mirror) are left out: the map is a cone there (the rings
  // |x| + |y| = r are squares on the plane and circles on the sphere), which
  // flat triangles over two grid steps do not follow (11 % off at the pole's
  // own cell, 1.1 % at cell (1, 1)).
  const double plane = 1.0 / (49.0 * 49.0);
  double worst = 0.0, total = 0.0;
  for (int j = 0; j < 49; ++j) {
    for (int i = 0; i < 49; ++i) {
      const Vec3 c00 = EqualAreaPoint(i, j), c10 = EqualAreaPoint(i + 1, j), c01 = EqualAreaPoint(i, j + 1),
                 c11 = EqualAreaPoint(i + 1, j + 1);
      const double area = SphericalArea(c00, c10, c01) + SphericalArea(c11, c10, c01);
      total += area;
      if (i + j <= 2 || i + j >= 94) continue;
      const double factor = area / (plane * kPi);
      worst = std::max(worst, std::fabs(factor - 1.0));
      EXPECT_NEAR(factor, 1.0, 0.01) << "cell " << i << ", " << j;
    }
  }
  EXPECT_NEAR(total, kPi, 0.01 * kPi);
  std::printf("equal-area square: worst area factor off by %.4f\n", worst);
}

}  // namespace
