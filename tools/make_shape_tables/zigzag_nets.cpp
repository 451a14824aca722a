#include "zigzag_nets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace shapes {

namespace {

struct V3 {
  double x, y, z;
};

// The cube's corners: T on top, A1..A3 its neighbours, C1..C3 the
// neighbours of B, the bottom corner.
constexpr V3 kT{1, 1, 1}, kA1{-1, 1, 1}, kA2{1, -1, 1}, kA3{1, 1, -1};
constexpr V3 kC1{1, -1, -1}, kC2{-1, 1, -1}, kC3{-1, -1, 1}, kB{-1, -1, -1};

// A face laid flat as a diamond of half-diagonal 1 round its centre:
// corners top, right, bottom, left.
struct Diamond {
  cplx centre;
  V3 corner[4];
};

// The zigzag band: upper faces (T on top) centred on y = 0, lower faces
// (B at the bottom) on y = -1, each the mirror image of the one before
// across their shared edge. The seventh is the first again, one period on.
constexpr int kBandFaces = 7;
const Diamond kBand[kBandFaces] = {
    {{0, 0}, {kT, kA2, kC1, kA3}},   // x = 1
    {{1, -1}, {kA2, kC3, kB, kC1}},  // y = -1
    {{2, 0}, {kT, kA1, kC3, kA2}},   // z = 1
    {{3, -1}, {kA1, kC2, kB, kC3}},  // x = -1
    {{4, 0}, {kT, kA3, kC2, kA1}},   // y = 1
    {{5, -1}, {kA3, kC1, kB, kC2}},  // z = -1
    {{6, 0}, {kT, kA2, kC1, kA3}},   // x = 1 again
};
const cplx kCornerOffset[4] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};

V3 Mid(V3 a, V3 b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}; }

// One eighth: face centre, edge midpoint, corner, in 2D and on the cube.
struct Eighth {
  cplx p[3];
  V3 q[3];
};

std::vector<Eighth> EighthsOf(const Diamond& d) {
  std::vector<Eighth> out;
  const V3 centre = Mid(Mid(d.corner[0], d.corner[2]), Mid(d.corner[1], d.corner[3]));
  for (int e = 0; e < 4; ++e) {
    const int f = (e + 1) % 4;
    const cplx m2 = d.centre + (kCornerOffset[e] + kCornerOffset[f]) / 2.0;
    const V3 m3 = Mid(d.corner[e], d.corner[f]);
    for (int k : {e, f})
      out.push_back({{d.centre, m2, d.centre + kCornerOffset[k]}, {centre, m3, d.corner[k]}});
  }
  return out;
}

Dir3 Unit(V3 v) {
  const double r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {{v.x / r, v.y / r, v.z / r}};
}

int32_t SolidOf(LatticeNet* net, V3 q) {
  const Dir3 d{{q.x, q.y, q.z}};
  for (size_t k = 0; k < net->solid.size(); ++k)
    if (SameDir(net->solid[k], d, 1e-9)) return int32_t(k);
  net->solid.push_back(d);
  return int32_t(net->solid.size() - 1);
}

// Numbers a point: the same position on the same solid point is one point,
// but only among the points numbered since `from`.
int32_t PointOf(LatticeNet* net, cplx p, V3 q, size_t from) {
  const int32_t s = SolidOf(net, q);
  for (size_t k = from; k < net->points.size(); ++k)
    if (std::abs(net->points[k] - p) < 1e-9 && net->solidOf[k] == s) return int32_t(k);
  net->points.push_back(p);
  net->solidOf.push_back(s);
  return int32_t(net->points.size() - 1);
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "make_shape_tables: %s\n", what);
  std::exit(1);
}

}  // namespace

ZigzagNets MakeZigzagNets(const std::function<bool(const Dir3&)>& keptByMonozag,
                          const std::function<double(const Dir3&)>& monozagSkyHeight) {
  ZigzagNets out;
  LatticeNet& net = out.net;
  std::vector<Eighth> band;
  for (int f = 0; f < kBandFaces; ++f)
    for (const Eighth& e : EighthsOf(kBand[f])) band.push_back(e);
  // The zigzag: the six faces of one period, T along the top (the caller
  // turns it to whichever corner the tumble makes the sky).
  for (size_t k = 0; k < 48; ++k) {
    std::vector<int32_t> face;
    for (int c = 0; c < 3; ++c) face.push_back(PointOf(&net, band[k].p[c], band[k].q[c], 0));
    out.zigzagFaces.push_back(face);
  }
  out.zigzagPoints = int32_t(net.points.size());

  // The monozag: the half of the sphere its stretch keeps is a half of the
  // cube cut through T and B along two face diagonals and two edges: two
  // whole faces (z = 1 and y = -1) and a half of each of two more. Its two
  // inner corners (A2 and C3) need a cut each; they are cut along the
  // edges towards the rim corners C1 and A1, not towards T and B, so that
  // the caps round the poles (which lie on the rim next to T and B) are
  // whole. It is turned an eighth so that the rim edges run level.
  auto centroid = [](const Eighth& e) {
    return Unit({(e.q[0].x + e.q[1].x + e.q[2].x) / 3, (e.q[0].y + e.q[1].y + e.q[2].y) / 3,
                 (e.q[0].z + e.q[1].z + e.q[2].z) / 3});
  };
  const Diamond monozag[4] = {
      {{1, 1}, {kA3, kT, kA2, kC1}},   // x = 1, across T-A2 from z = 1
      {{2, 0}, {kT, kA1, kC3, kA2}},   // z = 1
      {{1, -1}, {kA2, kC3, kB, kC1}},  // y = -1
      {{2, -2}, {kC3, kA1, kC2, kB}},  // x = -1, across C3-B from y = -1
  };
  std::vector<Eighth> kept;
  for (const Diamond& d : monozag)
    for (const Eighth& e : EighthsOf(d))
      if (keptByMonozag(centroid(e))) kept.push_back(e);
  if (kept.size() != 24) Fail("monozag: its stretch does not keep the half of the cube it is laid out for");
  std::vector<const Eighth*> half;
  for (const Eighth& e : kept) half.push_back(&e);
  // Of the turns that lay the cut edges level, the one whose top is a whole
  // edge (corner, midpoint, corner) holding the point nearest the sky.
  const double kEighthTurn = 0.7853981633974483;
  cplx best;
  double bestHeight = -1e9;
  for (int r : {1, 3, 5, 7}) {
    const cplx turn = std::polar(1.0, r * kEighthTurn);
    double top = -1e9, skyAtTop = -1e9;
    for (const Eighth* e : half)
      for (int c = 0; c < 3; ++c) top = std::max(top, (e->p[c] * turn).imag());
    std::vector<cplx> atTop;
    for (const Eighth* e : half)
      for (int c = 0; c < 3; ++c)
        if ((e->p[c] * turn).imag() > top - 1e-9) {
          skyAtTop = std::max(skyAtTop, monozagSkyHeight(Unit(e->q[c])));
          bool known = false;
          for (const cplx& a : atTop) known = known || std::abs(a - e->p[c]) < 1e-9;
          if (!known) atTop.push_back(e->p[c]);
        }
    if (atTop.size() < 3) continue;
    if (skyAtTop > bestHeight) {
      bestHeight = skyAtTop;
      best = turn;
    }
  }
  // Set apart from the zigzag's points (nothing joins the two nets), to the
  // zigzag's right.
  double right = -1e9, left = 1e9;
  for (int32_t k = 0; k < out.zigzagPoints; ++k) right = std::max(right, net.points[k].real());
  for (const Eighth* e : half)
    for (int c = 0; c < 3; ++c) left = std::min(left, (e->p[c] * best).real());
  const cplx shift(right + 1.0 - left, 0.0);
  const size_t from = net.points.size();
  for (const Eighth* e : half) {
    std::vector<int32_t> face;
    for (int c = 0; c < 3; ++c) face.push_back(PointOf(&net, e->p[c] * best + shift, e->q[c], from));
    out.monozagFaces.push_back(face);
  }
  return out;
}

}  // namespace shapes
