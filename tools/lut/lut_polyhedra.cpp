#include "lut_polyhedra.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace lut {
namespace {

constexpr double kPi = 3.141592653589793;

struct Vec {
  double x, y, z;
};

Vec Add(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec Scale(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec Unit(Vec a) { return Scale(1.0 / std::sqrt(Dot(a, a)), a); }

std::vector<Vec> VerticesOf(Solid solid) {
  const double g = (1.0 + std::sqrt(5.0)) / 2.0;
  std::vector<Vec> v;
  switch (solid) {
    case Solid::Tetrahedron:
      v = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
      break;
    case Solid::Cube:
      for (int i = 0; i < 8; ++i) v.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
      break;
    case Solid::Octahedron:
      v = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
      break;
    case Solid::Icosahedron:
      for (int i = 0; i < 4; ++i) {
        const double a = i & 1 ? 1.0 : -1.0, b = i & 2 ? g : -g;
        v.push_back({0, a, b});
        v.push_back({a, b, 0});
        v.push_back({b, 0, a});
      }
      break;
    case Solid::Dodecahedron:
      for (int i = 0; i < 8; ++i) v.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
      for (int i = 0; i < 4; ++i) {
        const double a = i & 1 ? 1.0 / g : -1.0 / g, b = i & 2 ? g : -g;
        v.push_back({0, a, b});
        v.push_back({a, b, 0});
        v.push_back({b, 0, a});
      }
      break;
  }
  for (Vec& p : v) p = Unit(p);
  return v;
}

// A direction through the centre of one face.
Vec FaceCentreOf(Solid solid) {
  const double g = (1.0 + std::sqrt(5.0)) / 2.0;
  switch (solid) {
    case Solid::Tetrahedron: return Unit({-1, -1, -1});
    case Solid::Cube: return {0, 0, 1};
    case Solid::Octahedron: return Unit({1, 1, 1});
    case Solid::Icosahedron: return Unit({1, 1, 1});
    case Solid::Dodecahedron: return Unit({0, g, 1});
  }
  return {0, 0, 1};
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "lut: %s\n", what);
  std::exit(1);
}

}  // namespace

cplx StereoOf(const double p[3]) { return cplx(p[0], p[1]) / (1.0 + p[2]); }

void SphereOfStereo(cplx s, double p[3]) {
  const double r2 = std::norm(s);
  p[0] = 2.0 * s.real() / (1.0 + r2);
  p[1] = 2.0 * s.imag() / (1.0 + r2);
  p[2] = (1.0 - r2) / (1.0 + r2);
}

void Barycentrics(cplx p, cplx a, cplx b, cplx c, double out[3]) {
  const cplx ab = b - a, ac = c - a, ap = p - a;
  const double det = ab.real() * ac.imag() - ab.imag() * ac.real();
  const double u = (ap.real() * ac.imag() - ap.imag() * ac.real()) / det;
  const double v = (ab.real() * ap.imag() - ab.imag() * ap.real()) / det;
  out[0] = 1.0 - u - v;
  out[1] = u;
  out[2] = v;
}

cplx FlatCorner(const FaceMap& face, int k) {
  return std::polar(1.0, face.cornerAzimuth + 2.0 * kPi * k / face.n);
}

cplx FlatEdgeMidpoint(const FaceMap& face, int k) {
  return 0.5 * (FlatCorner(face, k) + FlatCorner(face, k + 1));
}

FaceMap MakeFaceMap(Solid solid, double cornerAzimuth) {
  const std::vector<Vec> vertices = VerticesOf(solid);
  const Vec ez = FaceCentreOf(solid);
  double best = -2.0;
  for (const Vec& v : vertices) best = std::max(best, Dot(v, ez));
  std::vector<Vec> corners;
  for (const Vec& v : vertices) {
    if (Dot(v, ez) > best - 1e-9) corners.push_back(v);
  }
  FaceMap face;
  face.n = int(corners.size());
  face.cornerAngle = std::acos(best);
  face.cornerAzimuth = cornerAzimuth;

  // Turn the first corner to the asked azimuth.
  const Vec first = Unit(Add(corners[0], Scale(-Dot(corners[0], ez), ez)));
  const Vec ex0 = first, ey0 = Cross(ez, ex0);
  const Vec ex = Add(Scale(std::cos(cornerAzimuth), ex0), Scale(-std::sin(cornerAzimuth), ey0));
  const Vec ey = Cross(ez, ex);
  auto local = [&](Vec v, double out[3]) {
    out[0] = Dot(v, ex);
    out[1] = Dot(v, ey);
    out[2] = Dot(v, ez);
  };

  // Rings of vertices about the face centre; a vertex at the far pole is
  // the point at infinity of the stereographic plane and has no factor.
  face.flat.n = face.n;
  face.flat.rings = 0;
  std::vector<double> radii;
  const double defect = [&] {
    const int facesAtVertex = solid == Solid::Tetrahedron || solid == Solid::Cube || solid == Solid::Dodecahedron ? 3
                              : solid == Solid::Octahedron                                                      ? 4
                                                                                                                : 5;
    return 2.0 * kPi - facesAtVertex * (kPi - 2.0 * kPi / face.n);
  }();
  for (const Vec& v : vertices) {
    double p[3];
    local(v, p);
    if (p[2] < -1.0 + 1e-9) continue;
    const cplx s = StereoOf(p);
    bool known = false;
    for (double r : radii) known = known || std::fabs(r - std::abs(s)) < 1e-9;
    if (known) continue;
    if (face.flat.rings == kMaxRings) Fail("too many vertex rings");
    radii.push_back(std::abs(s));
    face.flat.c[face.flat.rings] = 1.0 / std::pow(s, face.n);
    face.flat.beta[face.flat.rings] = defect / (2.0 * kPi);
    ++face.flat.rings;
  }
  // Every ring must be a whole n-gon, or the product is not (1 - c s^n).
  int counted = 0;
  for (const Vec& v : vertices) {
    double p[3];
    local(v, p);
    if (p[2] >= -1.0 + 1e-9) ++counted;
  }
  if (counted != face.n * face.flat.rings) Fail("vertex rings are not n-fold");

  // Corners in azimuth order.
  for (int k = 0; k < face.n; ++k) {
    const double az = cornerAzimuth + 2.0 * kPi * k / face.n;
    const double sa = std::sin(face.cornerAngle), ca = std::cos(face.cornerAngle);
    face.corners3D[k][0] = sa * std::cos(az);
    face.corners3D[k][1] = sa * std::sin(az);
    face.corners3D[k][2] = ca;
    face.cornersStereo[k] = StereoOf(face.corners3D[k]);
    face.corners[k] = {face.cornersStereo[k], FlatCorner(face, k), defect / (2.0 * kPi)};
  }

  // Scale: the edge midpoint of the sphere face onto the flat one.
  double mid[3];
  for (int i = 0; i < 3; ++i) mid[i] = face.corners3D[0][i] + face.corners3D[1][i];
  const double len = std::sqrt(mid[0] * mid[0] + mid[1] * mid[1] + mid[2] * mid[2]);
  for (double& m : mid) m /= len;
  face.flat.scale = 1.0;
  face.flat.scale = FlatEdgeMidpoint(face, 0) / IntegralTo(face.flat, StereoOf(mid));
  return face;
}

namespace {

bool InsideFlat(const FaceMap& face, cplx p, int* edgeOut) {
  // Outward distance beyond each edge line; the worst one is crossed first.
  double worst = 1e-12;
  int edge = -1;
  for (int k = 0; k < face.n; ++k) {
    const cplx m = FlatEdgeMidpoint(face, k);
    const double beyond = (p.real() * m.real() + p.imag() * m.imag()) / std::abs(m) - std::abs(m);
    if (beyond > worst) {
      worst = beyond;
      edge = k;
    }
  }
  *edgeOut = edge;
  return edge < 0;
}

cplx ReflectFlat(const FaceMap& face, int k, cplx p) {
  const cplx m = FlatEdgeMidpoint(face, k);
  const cplx unit = m / std::abs(m);
  const double beyond = (p.real() * unit.real() + p.imag() * unit.imag()) - std::abs(m);
  return p - 2.0 * beyond * unit;
}

void ReflectSphere(const FaceMap& face, int k, double p[3]) {
  const double* a = face.corners3D[k];
  const double* b = face.corners3D[(k + 1) % face.n];
  double nrm[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const double len = std::sqrt(nrm[0] * nrm[0] + nrm[1] * nrm[1] + nrm[2] * nrm[2]);
  const double d = (p[0] * nrm[0] + p[1] * nrm[1] + p[2] * nrm[2]) / (len * len);
  for (int i = 0; i < 3; ++i) p[i] -= 2.0 * d * nrm[i];
}

bool SpherePointInside(const FaceMap& face, cplx flat, double sphere[3]) {
  for (int k = 0; k < face.n; ++k) {
    if (std::abs(flat - FlatCorner(face, k)) < 1e-12) {
      for (int i = 0; i < 3; ++i) sphere[i] = face.corners3D[k][i];
      return true;
    }
  }
  cplx s;
  if (!InvertIntegralNearCorners(face.flat, face.corners, face.n, flat, &s)) return false;
  SphereOfStereo(s, sphere);
  return true;
}

}  // namespace

bool SpherePointOfFlatPoint(const FaceMap& face, cplx flat, double sphere[3]) {
  int edges[4];
  int crossings = 0;
  int edge;
  while (!InsideFlat(face, flat, &edge)) {
    if (crossings == 4) return false;
    edges[crossings++] = edge;
    flat = ReflectFlat(face, edge, flat);
  }
  if (!SpherePointInside(face, flat, sphere)) return false;
  while (crossings > 0) ReflectSphere(face, edges[--crossings], sphere);
  return true;
}

cplx GnomonicOnFace(const FaceMap& face, const double sphere[3]) {
  const double k = std::cos(face.cornerAngle) / (std::sin(face.cornerAngle) * sphere[2]);
  return cplx(sphere[0] * k, sphere[1] * k);
}

}  // namespace lut
