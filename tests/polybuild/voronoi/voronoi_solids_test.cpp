// Every Voronoi shape against the hull of its sites: the cells' corners are
// the Voronoi vertices (the outward normals of the hull facets), one cell per
// site, every cell flat in its site's tangent plane, the solid closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "polybuild/voronoi/voronoi_shape.h"
#include "polyhedron/polyhedron_access.h"
#include "support/poly_fixture.h"
#include "voronoi_checks.h"

namespace {

std::vector<int32_t> VoronoiCodes() {
  std::vector<int32_t> codes;
  for (int32_t c = 151; c <= 160; ++c) codes.push_back(c);
  for (int32_t c = 181; c <= 200; ++c) codes.push_back(c);
  return codes;
}

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Dist(Vec3 a, Vec3 b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }

Vec3 Vertex(const polyhedron* poly, int32_t v) {
  double p[3];
  grab_coordinates3D_into_vector3D(v, poly, p);
  return {p[0], p[1], p[2]};
}

double Nearest(Vec3 p, const std::vector<Vec3>& set) {
  double best = 1e9;
  for (const Vec3& q : set) best = std::min(best, Dist(p, q));
  return best;
}

class VoronoiSolid : public testing::TestWithParam<int32_t> {};

TEST_P(VoronoiSolid, MatchesTheHullOfItsSites) {
  const int32_t code = GetParam();
  const std::vector<Vec3> sites = EffectiveSites(code);
  PolyPtr poly = NewPoly();
  build_voronoi_shape(poly.get(), nullptr, code, 1);
  EXPECT_EQ(poly->errorCode, 0);
  EXPECT_TRUE(SolidIsClosed(poly.get()));
  EXPECT_EQ(CellCount(poly.get()), int32_t(sites.size()));

  const std::vector<Vec3> normals = HullFacetNormals(sites);
  if (normals.empty()) GTEST_SKIP() << "qconvex is not installed";
  std::vector<Vec3> dirs;
  double worst = 0;
  for (int32_t v = 0; v < poly->n3DVerts; ++v) {
    dirs.push_back(Unit(Vertex(poly.get(), v)));
    worst = std::max(worst, Nearest(dirs.back(), normals));
  }
  EXPECT_LT(worst, 1e-9) << "a cell corner that is no Voronoi vertex";
  double missed = 0;
  for (const Vec3& n : normals) missed = std::max(missed, Nearest(n, dirs));
  EXPECT_LT(missed, 0.004) << "a Voronoi vertex that no cell has";

  // Each cell's corners lie in one plane: its site's tangent plane, or the
  // sphere itself when corners are pulled onto it. Voronoi vertices closer
  // than the merge distance are one vertex of the solid, which lies in the
  // plane of the cell that made it and a little off the others'.
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    const Vec3 s{face.point[0], face.point[1], face.point[2]};
    for (int32_t k = 0; k < face.n3D; ++k) {
      const Vec3 p = Vertex(poly.get(), face.vert3D[k]);
      if (code == 152) EXPECT_NEAR(Dot(p, p), 1, 1e-9);
      else if (std::fabs(Dot(p, s) - Dot(s, s)) > 0.002) {
        ADD_FAILURE() << "face " << f << " corner " << k << " off its tangent plane by " << Dot(p, s) - Dot(s, s);
        break;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllCodes, VoronoiSolid, testing::ValuesIn(VoronoiCodes()));

}  // namespace
