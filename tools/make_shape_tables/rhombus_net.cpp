#include "rhombus_net.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "projection/inverse/star_projections.h"

namespace shapes {

SectorLayout RhombusLayout() {
  SectorLayout L;
  L.name = "rhombus";
  L.sectors = kRhombusSectors;
  L.polygonSides = 3;
  L.midpoint = cplx(-1.0, 0.0);
  L.map = [](int32_t k, double b0, double b1, double b2) {
    NetSectorSample s{};
    s.triangle = k;
    s.sector = k;
    s.b0 = float(b0);
    s.b1 = float(b1);
    s.b2 = float(b2);
    float p[3];
    int32_t region = 0;
    uint8_t outside = 0;
    TotalRhombusToSphere(&s, p, 2, &region, &outside);
    const double r = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
    return Dir3{{p[0] / r, p[1] / r, p[2] / r}};
  };
  L.rule.group = [](int32_t k) { return k / 2; };
  return L;
}

namespace {

constexpr double kRimTolerance = 1e-3;

cplx Reflect(cplx p, cplx a, cplx b) {
  const cplx d = b - a;
  return a + d * std::conj((p - a) / d);
}

// Sectors a and b meet along edge e on the sphere, corner for corner.
bool Meet(const SectorImages& im, int32_t a, int32_t b, int e) {
  const int f = (e + 1) % 3;
  return SameDir(im.corner[a][e], im.corner[b][e], kRimTolerance) &&
         SameDir(im.corner[a][f], im.corner[b][f], kRimTolerance) &&
         SameDir(im.edgeMid[a][e], im.edgeMid[b][e], kRimTolerance);
}

}  // namespace

std::vector<std::array<cplx, 3>> PlaceRhombus(const SectorLayout& layout, const SectorImages& im) {
  const double half = 3.141592653589793 / layout.polygonSides;
  std::vector<std::array<cplx, 3>> tri(4);
  tri[0] = {cplx(0, 0), layout.midpoint, layout.midpoint * std::polar(1.0, -half) / std::cos(half)};
  struct Join {
    int32_t from, to, edge;
  };
  for (const Join& j : {Join{0, 1, kO}, Join{0, 3, kM}, Join{1, 2, kM}}) {
    if (!Meet(im, j.from, j.to, j.edge)) {
      std::fprintf(stderr, "make_shape_tables: rhombus: sectors %d and %d do not meet\n", j.from, j.to);
      std::exit(1);
    }
    const int e = j.edge, f = (e + 1) % 3, g = (e + 2) % 3;
    tri[j.to][e] = tri[j.from][e];
    tri[j.to][f] = tri[j.from][f];
    tri[j.to][g] = Reflect(tri[j.from][g], tri[j.from][e], tri[j.from][f]);
  }
  return tri;
}

}  // namespace shapes
