#include "reuleaux_nets.h"

#include <cmath>

namespace reuleaux {

namespace {

constexpr double kPi = 3.141592653589793;

int32_t CornerPoint(int32_t label) {
  constexpr int32_t kCorners[3] = {kT0, kT1, kT2};
  return kCorners[label];
}

// The arc midpoint between two triangle corners, by their labels.
int32_t MidPoint(int32_t a, int32_t b) {
  const int32_t lo = a < b ? a : b, hi = a < b ? b : a;
  if (lo == 0 && hi == 1) return kMid01;
  if (lo == 1 && hi == 2) return kMid12;
  return kMid20;
}

int32_t PointOf(ReuleauxNet* net, cplx p, int32_t solid, size_t from) {
  for (size_t v = from; v < net->points.size(); ++v)
    if (std::abs(net->points[v] - p) < 1e-9 && net->solidOf[v] == solid) return int32_t(v);
  net->points.push_back(p);
  net->solidOf.push_back(solid);
  return int32_t(net->points.size() - 1);
}

}  // namespace

std::vector<Dir3> FacePoints(const FaceFrame& f) {
  std::vector<Dir3> out(7);
  auto at = [&](double degrees, double r, double lift) {
    const double a = degrees * kPi / 180.0;
    return Dir3{{r * std::cos(a), r * std::sin(a), lift}};
  };
  out[kCentre] = Dir3{{0.0, 0.0, f.centreLift}};
  for (int32_t i = 0; i < 3; ++i) {
    out[CornerPoint(i)] = at(f.azimuth0Degrees + f.turn * 120.0 * i, f.cornerRadius, f.cornerLift);
    out[MidPoint(i, (i + 1) % 3)] = at(f.azimuth0Degrees + f.turn * (60.0 + 120.0 * i), f.midRadius, f.midLift);
  }
  return out;
}

void AddGroup(ReuleauxNet* net, const Group& g, bool share) {
  const size_t from = share ? 0 : net->points.size();
  const cplx centre = (g.corner[0] + g.corner[1] + g.corner[2]) / 3.0;
  const int32_t o = PointOf(net, centre, kCentre, from);
  for (int32_t j = 0; j < 6; ++j) {
    const int32_t a = j / 2, b = (a + 1) % 3, c = j % 2 == 0 ? a : b;
    const int32_t m = PointOf(net, (g.corner[a] + g.corner[b]) / 2.0, MidPoint(g.label[a], g.label[b]), from);
    const int32_t t = PointOf(net, g.corner[c], CornerPoint(g.label[c]), from);
    net->faces.push_back({o, m, t});
  }
}

Group GroupAt(cplx centre, double r, double azimuthDegrees, int32_t turn, const std::array<int32_t, 3>& labels) {
  Group g;
  for (int32_t i = 0; i < 3; ++i) {
    g.corner[i] = centre + std::polar(r, (azimuthDegrees + turn * 120.0 * i) * kPi / 180.0);
    g.label[i] = labels[i];
  }
  return g;
}

}  // namespace reuleaux
