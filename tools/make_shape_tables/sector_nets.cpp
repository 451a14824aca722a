#include "sector_nets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace shapes {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMeetTolerance = 2e-4;
constexpr double kBary[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

cplx Reflect(cplx p, cplx a, cplx b) {
  const cplx d = b - a;
  return a + d * std::conj((p - a) / d);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "make_shape_tables: %s\n", what.c_str());
  std::exit(1);
}

// Sectors a and b meet along their edge e on the sphere, corner for corner.
// Where two sectors' maps meet, the lookup tables (single floats, and the
// stretches some layouts apply after them) agree to about 6e-5.
bool MeetAlong(const SectorImages& im, int32_t a, int32_t b, int e) {
  const int f = (e + 1) % 3;
  return SameDir(im.corner[a][e], im.corner[b][e], kMeetTolerance) &&
         SameDir(im.corner[a][f], im.corner[b][f], kMeetTolerance) &&
         SameDir(im.edgeMid[a][e], im.edgeMid[b][e], kMeetTolerance);
}

// The cost of joining a to b along edge e, or -1 when the rule forbids it.
int JoinCost(const LayoutRule& rule, int32_t a, int32_t b, int e) {
  const int32_t ga = rule.group(a), gb = rule.group(b);
  if (ga == gb) {
    if (e == 0) return 0;
    if (e == 2) return (rule.star && ga != 0) ? -1 : 0;
    return -1;
  }
  if (e != 1) return -1;
  if (rule.crossAllowed && !rule.crossAllowed(a, b)) return -1;
  return 1;
}

}  // namespace

bool SameDir(const Dir3& a, const Dir3& b, double tolerance) {
  double d = 0;
  for (int i = 0; i < 3; ++i) d = std::fmax(d, std::fabs(a.v[i] - b.v[i]));
  return d <= tolerance;
}

SectorImages ImagesOf(const SectorLayout& layout) {
  SectorImages im;
  im.corner.resize(layout.sectors);
  im.edgeMid.resize(layout.sectors);
  for (int32_t k = 0; k < layout.sectors; ++k) {
    for (int c = 0; c < 3; ++c) {
      im.corner[k][c] = layout.map(k, kBary[c][0], kBary[c][1], kBary[c][2]);
      const int d = (c + 1) % 3;
      im.edgeMid[k][c] = layout.map(k, 0.5 * (kBary[c][0] + kBary[d][0]), 0.5 * (kBary[c][1] + kBary[d][1]),
                                    0.5 * (kBary[c][2] + kBary[d][2]));
    }
  }
  return im;
}

std::vector<std::array<cplx, 3>> PlaceSectors(const SectorLayout& layout, const SectorImages& im) {
  const int32_t n = layout.sectors;
  std::vector<std::array<cplx, 3>> tri(n);
  std::vector<bool> placed(n, false);
  const double half = kPi / layout.polygonSides;
  tri[0] = {cplx(0, 0), layout.midpoint, layout.midpoint * std::polar(1.0, -half) / std::cos(half)};
  placed[0] = true;
  for (int32_t count = 1; count < n; ++count) {
    int bestCost = 99, bestA = -1, bestB = -1, bestE = -1;
    for (int32_t a = 0; a < n; ++a) {
      if (!placed[a]) continue;
      for (int32_t b = 0; b < n; ++b) {
        if (placed[b]) continue;
        for (int e = 0; e < 3; ++e) {
          const int cost = JoinCost(layout.rule, a, b, e);
          if (cost < 0 || cost >= bestCost || !MeetAlong(im, a, b, e)) continue;
          bestCost = cost;
          bestA = a;
          bestB = b;
          bestE = e;
        }
      }
    }
    if (bestA < 0 && layout.rule.touchAtCorner) {
      for (int32_t a = 0; a < n && bestA < 0; ++a)
        for (int32_t b = 0; b < n && bestA < 0; ++b)
          if (placed[a] && !placed[b] && MeetAlong(im, a, b, 1)) {
            bestA = a;
            bestB = b;
          }
      if (bestA >= 0) {
        const cplx v = tri[bestA][kV], o = tri[bestA][kO];
        const cplx across = v + cplx(0, 1) * (v - o);
        tri[bestB] = {Reflect(o, v, across), Reflect(tri[bestA][kM], v, across), v};
        placed[bestB] = true;
        continue;
      }
    }
    if (bestA < 0) Fail(layout.name + ": a sector cannot be joined to the net");
    const int e = bestE, f = (e + 1) % 3, g = (e + 2) % 3;
    tri[bestB][e] = tri[bestA][e];
    tri[bestB][f] = tri[bestA][f];
    tri[bestB][g] = Reflect(tri[bestA][g], tri[bestA][e], tri[bestA][f]);
    placed[bestB] = true;
  }
  return tri;
}

FlatNet NumberNet(const SectorLayout& layout, const SectorImages& im,
                  const std::vector<std::array<cplx, 3>>& triangles) {
  FlatNet net;
  net.sectorTriangles = triangles;
  std::vector<int32_t> walk = layout.numberingWalk;
  if (walk.empty())
    for (int32_t k = 0; k < layout.sectors; ++k) walk.push_back(k);
  std::vector<std::array<int32_t, 3>> ids(layout.sectors, {-1, -1, -1});
  // Corners of groups that only touch stay apart.
  std::vector<int32_t> groupOf;
  auto solidId = [&](const Dir3& d) {
    for (size_t i = 0; i < net.solid.size(); ++i)
      if (SameDir(net.solid[i], d, kMeetTolerance)) return int32_t(i);
    net.solid.push_back(d);
    return int32_t(net.solid.size() - 1);
  };
  for (int32_t k : walk) {
    for (int c = 0; c < 3; ++c) {
      const cplx p = triangles[k][c];
      const int32_t s = solidId(im.corner[k][c]);
      int32_t id = -1;
      for (size_t v = 0; v < net.points.size(); ++v)
        if (std::abs(net.points[v] - p) < 1e-7 && net.solidOf[v] == s &&
            (!layout.rule.touchAtCorner || groupOf[v] == layout.rule.group(k)))
          id = int32_t(v);
      if (id < 0) {
        groupOf.push_back(layout.rule.group(k));
        net.points.push_back(p);
        net.solidOf.push_back(s);
        id = int32_t(net.points.size() - 1);
      }
      ids[k][c] = id;
    }
  }
  for (int32_t k = 0; k < layout.sectors; ++k) net.faces.push_back({ids[k][0], ids[k][1], ids[k][2]});
  return net;
}

}  // namespace shapes
