#include "lut_polygon.h"

#include <cmath>

namespace lut {

namespace {
constexpr double kPi = 3.141592653589793;
}

PolygonMap MakePolygonMap(int n, cplx mu) {
  PolygonMap map;
  map.n = n;
  map.mu = mu;
  map.toPolygon.n = n;
  map.toPolygon.rings = 1;
  map.toPolygon.c[0] = -1.0 / std::pow(mu, n);
  map.toPolygon.beta[0] = 2.0 / n;
  map.toPolygon.scale = 1.0;
  map.toPolygon.scale = mu / IntegralTo(map.toPolygon, mu);
  for (int j = 0; j < n; ++j) {
    map.corners[j] = {mu * std::polar(1.0, kPi * (2 * j + 1) / n), PolygonRimPoint(map, 2 * j + 1), 2.0 / n};
  }
  return map;
}

cplx PolygonRimPoint(const PolygonMap& map, int k) {
  const cplx direction = map.mu * std::polar(1.0, kPi * k / map.n);
  return k % 2 == 0 ? direction : direction / std::cos(kPi / map.n);
}

bool DiskPointOf(const PolygonMap& map, cplx p, cplx* w) {
  return InvertIntegralNearCorners(map.toPolygon, map.corners, map.n, p, w);
}

}  // namespace lut
