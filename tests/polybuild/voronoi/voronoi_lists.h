// A HALFSPACE list head on the test's frame, its elements freed when it goes,
// and regular polygons to feed the cell writer.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "polyhedron/halfspace.h"

struct List {
  HALFSPACE head{};
  List() { InitEmptyList(&head); }
  ~List() { DisposeListExceptForHead(&head); }
  List(const List&) = delete;
  List& operator=(const List&) = delete;
};

struct Vec3 {
  double x, y, z;
};

inline Vec3 Unit(Vec3 v) {
  const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}

// A site node (not in a list) at the unit direction `at`.
inline HALFSPACE MakeSite(Vec3 at, int32_t index) {
  HALFSPACE s{};
  InitSomeFieldsForNewNode(&s);
  s.next = s.prev = s.head = &s;
  s.point[0] = at.x;
  s.point[1] = at.y;
  s.point[2] = at.z;
  s.index = index;
  return s;
}

// `n` corners of a regular polygon of the given radius in the tangent plane
// of the unit sphere at `site`, corner k at angle k * 2 pi / n (plus `phase`)
// from a fixed direction of that plane.
inline std::vector<Vec3> TangentPolygon(Vec3 site, int32_t n, double radius, double phase = 0) {
  site = Unit(site);
  Vec3 ref = std::fabs(site.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
  Vec3 u{site.y * ref.z - site.z * ref.y, site.z * ref.x - site.x * ref.z, site.x * ref.y - site.y * ref.x};
  u = Unit(u);
  const Vec3 w{site.y * u.z - site.z * u.y, site.z * u.x - site.x * u.z, site.x * u.y - site.y * u.x};
  std::vector<Vec3> out;
  for (int32_t k = 0; k < n; ++k) {
    const double a = phase + k * 2 * M_PI / n;
    const double c = radius * std::cos(a), s = radius * std::sin(a);
    out.push_back({site.x + c * u.x + s * w.x, site.y + c * u.y + s * w.y, site.z + c * u.z + s * w.z});
  }
  return out;
}
