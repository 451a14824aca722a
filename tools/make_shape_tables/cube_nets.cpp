#include "cube_nets.h"

#include <cmath>

namespace shapes {

namespace {

struct V3 {
  double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(double s, V3 a) { return {s * a.x, s * a.y, s * a.z}; }
V3 CrossV(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// A unit square of the plane at (i, j) laid on a cube face of [-1, 1]^3:
// plane point (i + s, j + t) is the cube point c + s u + t v.
struct Square {
  int32_t i, j;
  V3 c, u, v;
};

enum Side { kSouth = 0, kEast = 1, kNorth = 2, kWest = 3 };

// The square across one side, on the cube face across that edge.
Square Roll(const Square& q, int32_t side) {
  const V3 n = 0.25 * CrossV(q.u, q.v);  // outward, length 1
  switch (side) {
    case kEast: return {q.i + 1, q.j, q.c + q.u, -2.0 * n, q.v};
    case kWest: return {q.i - 1, q.j, q.c + (-2.0 * n), 2.0 * n, q.v};
    case kNorth: return {q.i, q.j + 1, q.c + q.v, q.u, -2.0 * n};
    default: return {q.i, q.j - 1, q.c + (-2.0 * n), q.u, 2.0 * n};
  }
}

const double kCorner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

class Builder {
 public:
  explicit Builder(LatticeNet* net) : net_(net) {}

  // Eighth (side, half) of a square: centre, the side's midpoint, and the
  // side's first (half 0) or second (half 1) corner counter-clockwise.
  std::vector<int32_t> Eighth(const Square& q, int32_t side, int32_t half) {
    const double* a = kCorner[side];
    const double* b = kCorner[(side + 1) % 4];
    const double* k = half == 0 ? a : b;
    const double pts[3][2] = {{0.5, 0.5}, {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2}, {k[0], k[1]}};
    std::vector<int32_t> face;
    for (const auto& p : pts) face.push_back(Point(q, p[0], p[1]));
    return face;
  }

  void Add(const std::vector<int32_t>& face) { net_->faces.push_back(face); }

 private:
  int32_t Point(const Square& q, double s, double t) {
    const cplx p(q.i + s, q.j + t);
    const V3 c = q.c + s * q.u + t * q.v;
    const Dir3 d{{c.x, c.y, c.z}};
    int32_t solid = -1;
    for (size_t k = 0; k < net_->solid.size(); ++k)
      if (SameDir(net_->solid[k], d, 1e-9)) solid = int32_t(k);
    if (solid < 0) {
      net_->solid.push_back(d);
      solid = int32_t(net_->solid.size() - 1);
    }
    for (size_t k = 0; k < net_->points.size(); ++k)
      if (std::abs(net_->points[k] - p) < 1e-9 && net_->solidOf[k] == solid) return int32_t(k);
    net_->points.push_back(p);
    net_->solidOf.push_back(solid);
    return int32_t(net_->points.size() - 1);
  }

  LatticeNet* net_;
};

}  // namespace

CubeNets MakeCubeNets() {
  CubeNets out;
  LatticeNet& net = out.shuriken;
  Builder b(&net);
  const Square top{0, 0, {-1, -1, 1}, {2, 0, 0}, {0, 2, 0}};
  // Arms east, north, west, south; each side face's side towards the top.
  const int32_t armSide[4] = {kEast, kNorth, kWest, kSouth};
  Square side[4], bottom[4];
  int32_t near[4], far[4];
  for (int32_t a = 0; a < 4; ++a) {
    side[a] = Roll(top, armSide[a]);
    bottom[a] = Roll(side[a], armSide[a]);
    near[a] = (armSide[a] + 2) % 4;
    far[a] = armSide[a];
  }
  std::vector<std::vector<int32_t>> upper[4], lower[4], point[4];
  auto eighths = [&]() {
    std::vector<std::vector<int32_t>> t;
    for (int32_t s = 0; s < 4; ++s)
      for (int32_t h = 0; h < 2; ++h) t.push_back(b.Eighth(top, s, h));
    return t;
  };
  // The points are numbered as the eighths are first made: the top, the
  // upper halves of three arms, the lower halves and points of two arms,
  // one eighth of the third arm's lower half, the fourth arm's upper half.
  std::vector<std::vector<int32_t>> topFaces = eighths();
  auto halfOf = [&](int32_t a, int32_t edge) {
    std::vector<std::vector<int32_t>> t;
    t.push_back(b.Eighth(side[a], edge, 0));
    t.push_back(b.Eighth(side[a], edge, 1));
    // The halves of the two side edges at this edge's corners.
    t.push_back(b.Eighth(side[a], (edge + 3) % 4, 1));
    t.push_back(b.Eighth(side[a], (edge + 1) % 4, 0));
    return t;
  };
  for (int32_t a = 0; a < 3; ++a) upper[a] = halfOf(a, near[a]);
  for (int32_t a = 0; a < 2; ++a) {
    lower[a] = halfOf(a, far[a]);
    point[a] = {b.Eighth(bottom[a], (far[a] + 2) % 4, 0), b.Eighth(bottom[a], (far[a] + 2) % 4, 1)};
  }
  {
    // Lower half of the third arm: its side-edge eighth first (one new point).
    std::vector<std::vector<int32_t>> t;
    t.push_back(b.Eighth(side[2], (far[2] + 3) % 4, 1));
    upper[3] = halfOf(3, near[3]);
    t.push_back(b.Eighth(side[2], far[2], 0));
    t.push_back(b.Eighth(side[2], far[2], 1));
    t.push_back(b.Eighth(side[2], (far[2] + 1) % 4, 0));
    lower[2] = t;
  }
  point[2] = {b.Eighth(bottom[2], (far[2] + 2) % 4, 0), b.Eighth(bottom[2], (far[2] + 2) % 4, 1)};
  lower[3] = halfOf(3, far[3]);
  point[3] = {b.Eighth(bottom[3], (far[3] + 2) % 4, 0), b.Eighth(bottom[3], (far[3] + 2) % 4, 1)};

  for (const auto& f : topFaces) b.Add(f), out.crossFaces.push_back(f);
  for (int32_t a = 0; a < 4; ++a)
    for (const auto& f : upper[a]) b.Add(f), out.crossFaces.push_back(f);
  for (int32_t a = 0; a < 4; ++a) {
    for (const auto& f : lower[a]) b.Add(f);
    for (const auto& f : point[a]) b.Add(f);
  }
  return out;
}

}  // namespace shapes
