#include "nets_crosses.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "nets_unfold.h"

namespace nets {

namespace {

constexpr int32_t kFront = 0, kRight = 1, kBack = 2, kLeft = 3, kTop = 4, kBottom = 5;
// A snapped point may lie this far (in edge lengths) from its lattice point.
constexpr double kSnapTolerance = 1e-9;

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::exit(1);
}

std::array<double, 2> RowCentroid(const Net& net, int32_t face3D) {
  for (size_t j = 0; j < net.rows.size(); ++j) {
    if (net.face3D[j] != face3D) continue;
    std::array<double, 2> c{0, 0};
    for (int32_t v : net.rows[j]) {
      c[0] += net.points[size_t(v)][0] / double(net.rows[j].size());
      c[1] += net.points[size_t(v)][1] / double(net.rows[j].size());
    }
    return c;
  }
  Fail("no row shows face " + std::to_string(face3D));
  return {0, 0};
}

// Turns the net about the origin so that the direction from `from` to `to`
// points along (dx, dy).
void TurnNet(Net* net, std::array<double, 2> from, std::array<double, 2> to, double dx, double dy) {
  const double turn = std::atan2(dy, dx) - std::atan2(to[1] - from[1], to[0] - from[0]);
  const double c = std::cos(turn), s = std::sin(turn);
  for (auto& p : net->points) p = {c * p[0] - s * p[1], s * p[0] + c * p[1]};
}

// Moves the net so its box starts at the origin, then puts every point on
// the lattice (i·stepX, j·stepY).
void SnapToLattice(Net* net, double stepX, double stepY) {
  double xMin = net->points[0][0], yMin = net->points[0][1];
  for (const auto& p : net->points) {
    xMin = std::min(xMin, p[0]);
    yMin = std::min(yMin, p[1]);
  }
  for (auto& p : net->points) {
    const double i = std::round((p[0] - xMin) / stepX), j = std::round((p[1] - yMin) / stepY);
    if (std::fabs((p[0] - xMin) / stepX - i) > kSnapTolerance || std::fabs((p[1] - yMin) / stepY - j) > kSnapTolerance)
      Fail("a net point lies off its lattice: " + std::to_string((p[0] - xMin) / stepX) + " " + std::to_string((p[1] - yMin) / stepY));
    p = {i * stepX, j * stepY};
  }
}

Net UnfoldWithHinges(const CatalogueSolid& solid, int32_t shapeCode, const std::vector<std::array<int32_t, 2>>& hinges,
                     bool wantOneFragment) {
  PolyPtr p = LoadSolid(solid, shapeCode);
  CutAllEdgesBut(p.get(), hinges);
  std::string why;
  if (!UnfoldIntoOneFragment(p.get(), &why) && wantOneFragment) Fail(std::string(solid.family) + ": " + why);
  return NetByFace(p.get());
}

double EdgeLength(const CatalogueSolid& solid) {
  const auto faces = SolidFaces(solid);
  const auto& a = solid.coords3D[faces[0][0]];
  const auto& b = solid.coords3D[faces[0][1]];
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

}  // namespace

Net CubeCross(const CatalogueSolid& cube, bool vertical) {
  const double edge = EdgeLength(cube);
  const std::vector<std::array<int32_t, 2>> star = {{kFront, kRight}, {kFront, kLeft}, {kFront, kTop}, {kFront, kBottom}};
  // As the renderer maps the sphere onto the mirrored cube, the solid's +y
  // face (kTop here) shows the nadir and kBottom the zenith, and the picture's
  // y grows with the net's. So the table lays kTop on the +y side of the front
  // and, in the vertical cross, hangs the back from it: the rendered cross
  // then shows the sky cell above the front and the back at its foot, as the
  // cross input layouts read them. The arms of the star settle which side
  // face lands right of the front once kTop is turned that way; the back
  // hangs from that one in the horizontal cross.
  Net arms = UnfoldWithHinges(cube, 18, star, false);
  TurnNet(&arms, RowCentroid(arms, kFront), RowCentroid(arms, kTop), 0.0, 1.0);
  const int32_t rightArm = RowCentroid(arms, kRight)[0] > RowCentroid(arms, kFront)[0] ? kRight : kLeft;

  std::vector<std::array<int32_t, 2>> hinges = star;
  hinges.push_back({vertical ? kTop : rightArm, kBack});
  Net net = UnfoldWithHinges(cube, vertical ? 73 : 18, hinges, true);
  PlaceRowsExactly(cube, &net);
  TurnNet(&net, RowCentroid(net, kFront), RowCentroid(net, kTop), 0.0, 1.0);
  SnapToLattice(&net, edge, edge);
  // Both crosses are three cells wide or tall around the front at (1, 1).
  const auto front = RowCentroid(net, kFront);
  if (std::fabs(front[0] - 1.5 * edge) > 1e-12 || std::fabs(front[1] - 1.5 * edge) > 1e-12)
    Fail("the front of the cross is not at cell (1, 1)");
  return net;
}

Net IcosahedronStrip(const CatalogueSolid& ico) {
  const double edge = EdgeLength(ico);
  const auto faces = SolidFaces(ico);
  const int32_t top = 0;
  int32_t bottom = -1;
  for (int32_t v = 0; v < ico.vertexCount; ++v) {
    double dot = 0;
    for (int k = 0; k < 3; ++k) dot += ico.coords3D[v][k] * ico.coords3D[top][k];
    if (dot < -0.999) bottom = v;
  }
  if (bottom < 0) Fail("the icosahedron has no vertex opposite its first");
  auto holds = [&](size_t f, int32_t v) {
    for (int32_t c : faces[f])
      if (c == v) return true;
    return false;
  };
  auto shareEdge = [&](size_t f, size_t g) {
    int32_t common = 0;
    for (int32_t c : faces[f]) common += holds(g, c) ? 1 : 0;
    return common == 2;
  };
  std::vector<size_t> band;
  for (size_t f = 0; f < faces.size(); ++f)
    if (!holds(f, top) && !holds(f, bottom)) band.push_back(f);
  if (band.size() != 10) Fail("the icosahedron's band is not ten faces");

  // The band is a ring; walk it from its first face and leave the ring's
  // last step out, so that it unrolls into a strip.
  std::vector<std::array<int32_t, 2>> hinges;
  std::vector<size_t> walk{band[0]};
  while (walk.size() < band.size()) {
    for (size_t f : band) {
      if (f == walk.back() || (walk.size() > 1 && f == walk[walk.size() - 2])) continue;
      if (shareEdge(walk.back(), f)) {
        hinges.push_back({int32_t(walk.back()), int32_t(f)});
        walk.push_back(f);
        break;
      }
    }
  }
  // Every cap face hangs from the band face across its edge.
  for (size_t f = 0; f < faces.size(); ++f) {
    if (!holds(f, top) && !holds(f, bottom)) continue;
    for (size_t b : band)
      if (shareEdge(f, b)) hinges.push_back({int32_t(f), int32_t(b)});
  }
  Net net = UnfoldWithHinges(ico, 23, hinges, true);
  PlaceRowsExactly(ico, &net);
  // The strip runs along x, the top cap above it. Band triangles alternate
  // point up and point down, so the line through the first and the ninth
  // (both pointing the same way) runs along the strip.
  TurnNet(&net, RowCentroid(net, int32_t(walk[0])), RowCentroid(net, int32_t(walk[8])), 1.0, 0.0);
  std::array<double, 2> capTop{0, 0}, bandMid{0, 0};
  for (size_t f = 0; f < faces.size(); ++f) {
    const auto c = RowCentroid(net, int32_t(f));
    if (holds(f, top)) capTop = {capTop[0] + c[0], capTop[1] + c[1]};
    if (!holds(f, top) && !holds(f, bottom)) bandMid = {bandMid[0] + c[0], bandMid[1] + c[1]};
  }
  if (capTop[1] / 5.0 > bandMid[1] / 10.0)
    for (auto& p : net.points) p = {-p[0], -p[1]};  // half a turn puts the top cap above
  SnapToLattice(&net, edge / 2.0, edge * std::sqrt(3.0) / 2.0);
  return net;
}

}  // namespace nets
