#include "tetra_nets.h"

#include <cmath>

namespace shapes {

namespace {

// The standard tetrahedron: three corners below, the fourth on +z.
const double kTetra[4][3] = {{0.9428090415820634, 0.0, -1.0 / 3.0},
                             {-0.4714045207910317, 0.816496580927726, -1.0 / 3.0},
                             {-0.4714045207910317, -0.816496580927726, -1.0 / 3.0},
                             {0.0, 0.0, 1.0}};

struct Corner2 {
  cplx at;
  int32_t vertex;  // tetrahedron corner
};

class Builder {
 public:
  explicit Builder(LatticeNet* net) : net_(net) {}

  // A point of the solid: the mean of the given tetrahedron corners.
  int32_t Solid(std::vector<int32_t> corners) {
    Dir3 d{{0, 0, 0}};
    for (int32_t c : corners)
      for (int i = 0; i < 3; ++i) d.v[i] += kTetra[c][i] / double(corners.size());
    for (size_t k = 0; k < net_->solid.size(); ++k)
      if (SameDir(net_->solid[k], d, 1e-12)) return int32_t(k);
    net_->solid.push_back(d);
    return int32_t(net_->solid.size() - 1);
  }

  int32_t Point(cplx p, int32_t solid) {
    for (size_t k = 0; k < net_->points.size(); ++k)
      if (std::abs(net_->points[k] - p) < 1e-9 && net_->solidOf[k] == solid) return int32_t(k);
    net_->points.push_back(p);
    net_->solidOf.push_back(solid);
    return int32_t(net_->points.size() - 1);
  }

  // The six sixths of a face, edge by edge: (centre, midpoint, first
  // corner), (centre, midpoint, second corner). `keep` picks some of them.
  std::vector<std::vector<int32_t>> Sixths(const Corner2 c[3], cplx (*move)(cplx) = nullptr,
                                           const std::vector<int32_t>& keep = {0, 1, 2, 3, 4, 5}) {
    auto place = [&](cplx p) { return move ? move(p) : p; };
    const cplx centre = (c[0].at + c[1].at + c[2].at) / 3.0;
    const int32_t o = Point(place(centre), Solid({c[0].vertex, c[1].vertex, c[2].vertex}));
    std::vector<std::vector<int32_t>> out;
    for (int32_t k : keep) {
      const Corner2& a = c[k / 2];
      const Corner2& b = c[(k / 2 + 1) % 3];
      const int32_t m = Point(place((a.at + b.at) / 2.0), Solid({a.vertex, b.vertex}));
      const Corner2& v = k % 2 == 0 ? a : b;
      out.push_back({o, m, Point(place(v.at), Solid({v.vertex}))});
    }
    return out;
  }

 private:
  LatticeNet* net_;
};

const double kH = std::sqrt(3.0) / 2.0;
const cplx kA(0, 0), kB(2, 0), kC(1, 2 * kH), kD(1, 0), kE(1.5, kH), kF(0.5, kH);

cplx HalfTurnAboutF(cplx p) { return 2.0 * kF - p; }
cplx HalfTurnAboutE(cplx p) { return 2.0 * kE - p; }

}  // namespace

TetraNets MakeTetraNets() {
  TetraNets out;
  LatticeNet& net = out.triangle;
  Builder b(&net);
  // Corners 0, 1, 2 below (D, E, F of the big triangle), 3 the folded top
  // corner (A, B and C).
  const Corner2 middle[3] = {{kD, 0}, {kE, 1}, {kF, 2}};
  const Corner2 left[3] = {{kA, 3}, {kD, 0}, {kF, 2}};
  const Corner2 right[3] = {{kD, 0}, {kB, 3}, {kE, 1}};
  const Corner2 top[3] = {{kF, 2}, {kE, 1}, {kC, 3}};
  std::vector<std::vector<int32_t>> faces;
  for (const Corner2* f : {middle, left, right, top})
    for (auto& s : b.Sixths(f)) faces.push_back(s);
  net.faces = faces;
  // The rectangle: the first three faces as they are, the top face's half
  // at F (its sixths on edge F-E at F, and on edge C-F) turned about F, the
  // half at E turned about E.
  for (size_t k = 0; k < 18; ++k) out.rectangleFaces.push_back(faces[k]);
  for (auto& s : b.Sixths(top, HalfTurnAboutF, {0, 4, 5})) out.rectangleFaces.push_back(s);
  for (auto& s : b.Sixths(top, HalfTurnAboutE, {1, 2, 3})) out.rectangleFaces.push_back(s);
  return out;
}

}  // namespace shapes
