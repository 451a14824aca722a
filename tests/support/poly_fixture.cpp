#include "support/poly_fixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"

void BuildSolid(polyhedron* poly, const std::vector<Point3>& points, const std::vector<std::vector<int32_t>>& faces) {
  std::vector<int32_t> index;
  for (const Point3& p : points) {
    const double q[3] = {p.x, p.y, p.z};
    index.push_back(AddNew3DDVertToPolyhedron(poly, q));
  }
  for (const auto& face : faces) {
    std::vector<int32_t> corners;
    for (int32_t k : face) corners.push_back(index[size_t(k)]);
    Add3DFaceToPolyhedron_macro(poly, corners.data(), int32_t(corners.size()), -1, 1, 0, -1, -1, -1);
  }
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
}

void BuildCube(polyhedron* poly) { BuildBox(poly, 1.0, 1.0, 1.0); }

void BuildBox(polyhedron* poly, double sx, double sy, double sz) {
  std::vector<Point3> v;
  for (int i = 0; i < 8; ++i)
    v.push_back({(i & 1) ? sx / 2 : -sx / 2, (i & 2) ? sy / 2 : -sy / 2, (i & 4) ? sz / 2 : -sz / 2});
  // Seen from outside each face runs clockwise: the corner normal
  // (previous - corner) x (next - corner) then points outward, and the
  // flattened face (normal turned to (0, 0, -1)) runs counter-clockwise.
  BuildSolid(poly, v, {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}});
}

void BuildTetrahedron(polyhedron* poly) {
  const std::vector<Point3> v = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
  BuildSolid(poly, v, {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
}

void BuildPrism(polyhedron* poly, double length) {
  std::vector<Point3> v;
  for (double z : {-length / 2, length / 2})
    for (int k = 0; k < 3; ++k)
      v.push_back({std::cos(2 * std::numbers::pi / 3 * k), std::sin(2 * std::numbers::pi / 3 * k), z});
  BuildSolid(poly, v, {{0, 1, 2}, {3, 5, 4}, {0, 3, 4, 1}, {1, 4, 5, 2}, {2, 5, 3, 0}});
}

void BuildNet(polyhedron* poly, const std::vector<std::pair<double, double>>& points,
              const std::vector<std::vector<int32_t>>& faces) {
  for (size_t i = 0; i < points.size(); ++i)
    Set2DPoint(int32_t(i), DPoint{points[i].first, points[i].second, -1, 1, int32_t(i), 1}, poly);
  for (const auto& face : faces) {
    PolyFace& f = poly->faces[poly->n2DFaces++];
    f.n2D = int32_t(face.size());
    for (size_t k = 0; k < face.size(); ++k) f.vert2D[k] = face[k];
  }
}

namespace {

constexpr double kPlaneTolerance = 1e-9;

Point3 Minus(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 Cross(Point3 a, Point3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3 Unit(Point3 a) {
  const double l = std::sqrt(Dot(a, a));
  return {a.x / l, a.y / l, a.z / l};
}

// The points of one hull plane in order around its outward normal, then
// reversed: clockwise seen from outside, as every fixture solid is wound.
std::vector<int32_t> WoundFace(const std::vector<Point3>& points, std::vector<int32_t> face, Point3 normal) {
  Point3 c{0, 0, 0};
  for (int32_t i : face) c = {c.x + points[size_t(i)].x, c.y + points[size_t(i)].y, c.z + points[size_t(i)].z};
  c = {c.x / double(face.size()), c.y / double(face.size()), c.z / double(face.size())};
  const Point3 u = Unit(Minus(points[size_t(face[0])], c));
  const Point3 w = Cross(normal, u);
  auto angle = [&](int32_t i) {
    const Point3 d = Minus(points[size_t(i)], c);
    return std::atan2(Dot(d, w), Dot(d, u));
  };
  std::sort(face.begin(), face.end(), [&](int32_t a, int32_t b) { return angle(a) < angle(b); });
  std::reverse(face.begin(), face.end());
  return face;
}

}  // namespace

void BuildConvexSolid(polyhedron* poly, const std::vector<Point3>& points) {
  const int32_t n = int32_t(points.size());
  std::set<std::vector<int32_t>> seen;
  std::vector<std::vector<int32_t>> faces;
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = i + 1; j < n; ++j)
      for (int32_t k = j + 1; k < n; ++k) {
        const Point3 a = points[size_t(i)];
        Point3 normal = Cross(Minus(points[size_t(j)], a), Minus(points[size_t(k)], a));
        if (Dot(normal, normal) < 1e-18) continue;
        normal = Unit(normal);
        double lo = 0, hi = 0;
        std::vector<int32_t> on;
        for (int32_t m = 0; m < n; ++m) {
          const double d = Dot(normal, Minus(points[size_t(m)], a));
          lo = std::min(lo, d);
          hi = std::max(hi, d);
          if (std::fabs(d) < kPlaneTolerance) on.push_back(m);
        }
        if (lo < -kPlaneTolerance && hi > kPlaneTolerance) continue;
        if (!seen.insert(on).second) continue;
        if (hi > kPlaneTolerance) normal = {-normal.x, -normal.y, -normal.z};
        faces.push_back(WoundFace(points, on, normal));
      }
  BuildSolid(poly, points, faces);
}

void BuildOctahedron(polyhedron* poly) {
  BuildConvexSolid(poly, {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}});
}

namespace {

std::vector<Point3> IcosahedronPoints() {
  const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
  std::vector<Point3> v;
  for (double a : {-1.0, 1.0})
    for (double b : {-phi, phi}) {
      v.push_back({0, a, b});
      v.push_back({a, b, 0});
      v.push_back({b, 0, a});
    }
  return v;
}

}  // namespace

void BuildIcosahedron(polyhedron* poly) { BuildConvexSolid(poly, IcosahedronPoints()); }

void BuildDodecahedron(polyhedron* poly) {
  const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
  std::vector<Point3> v;
  for (double a : {-1.0, 1.0})
    for (double b : {-1.0, 1.0}) {
      for (double c : {-1.0, 1.0}) v.push_back({a, b, c});
      v.push_back({0, a / phi, b * phi});
      v.push_back({a / phi, b * phi, 0});
      v.push_back({b * phi, 0, a / phi});
    }
  BuildConvexSolid(poly, v);
}

void BuildTruncatedIcosahedron(polyhedron* poly) {
  const std::vector<Point3> ico = IcosahedronPoints();
  std::vector<Point3> v;
  for (size_t i = 0; i < ico.size(); ++i)
    for (size_t j = i + 1; j < ico.size(); ++j) {
      const Point3 d = Minus(ico[j], ico[i]);
      if (std::fabs(Dot(d, d) - 4.0) > 1e-9) continue;  // edges have length 2
      v.push_back({ico[i].x + d.x / 3, ico[i].y + d.y / 3, ico[i].z + d.z / 3});
      v.push_back({ico[i].x + 2 * d.x / 3, ico[i].y + 2 * d.y / 3, ico[i].z + 2 * d.z / 3});
    }
  BuildConvexSolid(poly, v);
}

std::vector<Point3> ScatteredSpherePoints(int32_t count, uint32_t seed) {
  uint32_t state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 24);
  };
  std::vector<Point3> v;
  while (int32_t(v.size()) < count) {
    const Point3 p{2 * next() - 1, 2 * next() - 1, 2 * next() - 1};
    const double l = Dot(p, p);
    if (l < 0.05 || l > 1.0) continue;
    v.push_back(Unit(p));
  }
  return v;
}
