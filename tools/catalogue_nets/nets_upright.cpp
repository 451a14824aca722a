#include "nets_upright.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "polyhedron/catalogue.h"

namespace nets {

namespace {

using Vec3 = std::array<double, 3>;

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 Corner(const CatalogueSolid& solid, int32_t v) {
  return {solid.coords3D[v][0], solid.coords3D[v][1], solid.coords3D[v][2]};
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "upright: %s\n", what);
  std::exit(1);
}

}  // namespace

bool ZenithOnMinusY(int32_t shapeCode) {
  PolyPtr p = NewRecord(shapeCode);
  ReadFaceInfo(p.get(), shapeCode, 0, nullptr, 1);
  return p->mirrorFlipA != 0;
}

double UprightTurn(const CatalogueSolid& solid, const Net& net, bool zenithOnMinusY) {
  // M is its own inverse: the solid directions of the sphere's front and
  // zenith.
  const Vec3 front{0.0, 0.0, 1.0};
  const Vec3 zenith{0.0, zenithOnMinusY ? -1.0 : 1.0, 0.0};
  const std::vector<std::vector<int32_t>> faces = SolidFaces(solid);

  // The row whose face centre lies nearest the front direction; the first
  // on ties, so a front vertex or edge picks one face deterministically.
  int32_t row = -1;
  double best = -2.0;
  for (size_t k = 0; k < net.rows.size(); ++k) {
    const std::vector<int32_t>& f = faces[size_t(net.face3D[k])];
    Vec3 c{0, 0, 0};
    for (int32_t v : f)
      for (int i = 0; i < 3; ++i) c[i] += Corner(solid, v)[i] / double(f.size());
    const double cosine = Dot(c, front) / std::sqrt(Dot(c, c));
    if (cosine > best + 1e-9) {
      best = cosine;
      row = int32_t(k);
    }
  }
  if (row < 0) Fail("a net without rows");

  // The face's corners 0, 1, 2 in 3D and as the row lays them.
  const std::vector<int32_t>& f = faces[size_t(net.face3D[size_t(row)])];
  const int32_t n = int32_t(f.size()), off = net.offset[size_t(row)];
  Vec3 q[3];
  std::array<double, 2> p[3];
  for (int32_t t = 0; t < 3; ++t) {
    q[t] = Corner(solid, f[size_t((t + off) % n)]);
    p[t] = net.points[size_t(net.rows[size_t(row)][size_t(t)])];
  }
  const Vec3 e1 = Sub(q[1], q[0]), e2 = Sub(q[2], q[0]);
  const Vec3 normal = Cross(e1, e2);
  const double nn = Dot(normal, normal);
  // The zenith's direction within the face plane, as e1 and e2 combine it.
  const double along = Dot(zenith, normal) / nn;
  const Vec3 up{zenith[0] - along * normal[0], zenith[1] - along * normal[1], zenith[2] - along * normal[2]};
  const double g11 = Dot(e1, e1), g12 = Dot(e1, e2), g22 = Dot(e2, e2);
  const double r1 = Dot(up, e1), r2 = Dot(up, e2);
  const double det = g11 * g22 - g12 * g12;
  if (!(det > 0.0) || Dot(up, up) < 1e-12) Fail("the front face has no up direction");
  const double alpha = (r1 * g22 - r2 * g12) / det, beta = (r2 * g11 - r1 * g12) / det;
  const double ux = alpha * (p[1][0] - p[0][0]) + beta * (p[2][0] - p[0][0]);
  const double uy = alpha * (p[1][1] - p[0][1]) + beta * (p[2][1] - p[0][1]);
  // Turn (ux, uy) onto (0, -1).
  return std::atan2(-1.0, 0.0) - std::atan2(uy, ux);
}

void TurnUpright(const CatalogueSolid& solid, Net* net, bool zenithOnMinusY) {
  const double turn = UprightTurn(solid, *net, zenithOnMinusY);
  const double c = std::cos(turn), s = std::sin(turn);
  double xMin = 0.0, yMin = 0.0;
  for (size_t i = 0; i < net->points.size(); ++i) {
    auto& pt = net->points[i];
    pt = {c * pt[0] - s * pt[1], s * pt[0] + c * pt[1]};
    xMin = i == 0 ? pt[0] : std::min(xMin, pt[0]);
    yMin = i == 0 ? pt[1] : std::min(yMin, pt[1]);
  }
  for (auto& pt : net->points) {
    pt = {pt[0] - xMin, pt[1] - yMin};
    // No negative zero in the tables.
    for (double& v : pt)
      if (v == 0.0) v = 0.0;
  }
}

}  // namespace nets
