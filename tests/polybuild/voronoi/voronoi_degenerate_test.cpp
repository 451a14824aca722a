// The construction on hand-made site sets: regular solids whose Voronoi
// vertices are shared by four or five cells, doubled sites, too few sites,
// and the same sites in another order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "polybuild/voronoi/voronoi_build.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "support/poly_fixture.h"
#include "voronoi_checks.h"

namespace {

PolyPtr BuildFromSites(const std::vector<Vec3>& points, VoronoiHandlingOptions* o = nullptr) {
  VoronoiHandlingOptions defaults;
  GetDefaultVoronoiHandlingOptions(&defaults);
  if (!o) o = &defaults;
  PolyPtr poly = NewOwningPoly();
  List sites;
  for (size_t i = 0; i < points.size(); ++i) {
    const double p[3] = {points[i].x, points[i].y, points[i].z};
    AddPointToList(p, sites.head.prev, int32_t(i));
  }
  make_poly_from_voronoi_sites(poly.get(), 0, o, &sites.head, nullptr);
  Calc3DAngles(poly.get());
  Build3DConnectivity(poly.get());
  return poly;
}

std::vector<Vec3> Units(std::vector<Vec3> v) {
  for (Vec3& p : v) p = Unit(p);
  return v;
}

std::vector<Vec3> CubeCorners() {
  std::vector<Vec3> v;
  for (int i = 0; i < 8; ++i) v.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
  return Units(v);
}

std::vector<Vec3> IcosahedronCorners() {
  const double g = (1 + std::sqrt(5.0)) / 2;
  std::vector<Vec3> v;
  for (double a : {-1.0, 1.0})
    for (double b : {-g, g}) {
      v.push_back({0, a, b});
      v.push_back({a, b, 0});
      v.push_back({b, 0, a});
    }
  return Units(v);
}

std::vector<Vec3> Vertices(const polyhedron* poly) {
  std::vector<Vec3> out;
  for (int32_t v = 0; v < poly->n3DVerts; ++v) {
    double p[3];
    grab_coordinates3D_into_vector3D(v, poly, p);
    out.push_back(Unit({p[0], p[1], p[2]}));
  }
  return out;
}

// Each triangle as the sorted positions of its corners, rounded well above
// the rounding of the construction: the same tiling gives the same list.
std::vector<std::array<long long, 9>> Triangles(const polyhedron* poly) {
  std::vector<std::array<long long, 9>> out;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    std::array<std::array<long long, 3>, 3> c;
    for (int k = 0; k < 3; ++k) {
      double p[3];
      grab_coordinates3D_into_vector3D(poly->faces[f].vert3D[k], poly, p);
      for (int i = 0; i < 3; ++i) c[k][i] = std::llround(p[i] * 1e8);
    }
    std::sort(c.begin(), c.end());
    out.push_back({c[0][0], c[0][1], c[0][2], c[1][0], c[1][1], c[1][2], c[2][0], c[2][1], c[2][2]});
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Solids whose diagram is a regular solid: its vertices the directions the
// hull gives, met by 3, 4 or 5 cells.
TEST(VoronoiDegenerate, RegularSitesMakeTheDualSolidClosed) {
  struct {
    const char* name;
    std::vector<Vec3> sites;
    int32_t vertices, triangles;
  } cases[] = {
      {"tetrahedron", Units({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}), 4, 4},
      {"octahedron", {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}, 8, 12},
      {"cube: four cells at each vertex", CubeCorners(), 6, 8},
      {"icosahedron", IcosahedronCorners(), 20, 36},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr poly = BuildFromSites(c.sites);
    EXPECT_EQ(poly->errorCode, 0);
    EXPECT_EQ(poly->n3DVerts, c.vertices);
    EXPECT_EQ(poly->n3DFaces, c.triangles);
    EXPECT_TRUE(SolidIsClosed(poly.get()));
    EXPECT_EQ(CellCount(poly.get()), int32_t(c.sites.size()));
    const std::vector<Vec3> normals = HullFacetNormals(c.sites);
    for (const Vec3& v : Vertices(poly.get())) {
      double best = 9;
      for (const Vec3& n : normals) best = std::min(best, std::hypot(v.x - n.x, v.y - n.y, v.z - n.z));
      if (!normals.empty()) {
        EXPECT_LT(best, 1e-12);
      }
    }
  }
}

// The cells must not depend on the order the sites come in (which decides
// the order of equal keys in every sort of the build): shuffled, reversed
// and rotated lists give the same triangles.
TEST(VoronoiDegenerate, SiteOrderDoesNotChangeTheSolid) {
  std::vector<std::vector<Vec3>> sets = {CubeCorners(), IcosahedronCorners()};
  std::vector<Vec3> scattered;
  for (const Point3& p : ScatteredSpherePoints(150, 7)) scattered.push_back({p.x, p.y, p.z});
  sets.push_back(scattered);
  for (const auto& set : sets) {
    const auto reference = Triangles(BuildFromSites(set).get());
    std::mt19937 rng(3);
    for (int trial = 0; trial < 4; ++trial) {
      std::vector<Vec3> order = set;
      if (trial == 0) std::reverse(order.begin(), order.end());
      else if (trial == 1) std::rotate(order.begin(), order.begin() + order.size() / 3, order.end());
      else std::shuffle(order.begin(), order.end(), rng);
      PolyPtr poly = BuildFromSites(order);
      const auto got = Triangles(poly.get());
      std::vector<std::array<long long, 9>> onlyGot, onlyRef;
      std::set_difference(got.begin(), got.end(), reference.begin(), reference.end(), std::back_inserter(onlyGot));
      std::set_difference(reference.begin(), reference.end(), got.begin(), got.end(), std::back_inserter(onlyRef));
      EXPECT_TRUE(onlyGot.empty() && onlyRef.empty())
          << set.size() << " sites, order " << trial << ": " << onlyGot.size() << " triangles not in the reference, "
          << onlyRef.size() << " of the reference missing";
      EXPECT_TRUE(SolidIsClosed(poly.get()));
    }
  }
}

// A site doubled exactly, or within the merge distance, is one site: the
// solid is the one without the copies.
TEST(VoronoiDegenerate, DoubledSitesAreOne) {
  const std::vector<Vec3> ico = IcosahedronCorners();
  std::vector<Vec3> doubled = ico;
  doubled.insert(doubled.begin() + 3, ico[0]);
  doubled.push_back(Unit({ico[5].x + 0.001, ico[5].y, ico[5].z}));
  doubled.push_back({0, 0, 0});  // no direction at all
  PolyPtr poly = BuildFromSites(doubled);
  EXPECT_EQ(poly->errorCode, 0);
  EXPECT_TRUE(SolidIsClosed(poly.get()));
  EXPECT_EQ(CellCount(poly.get()), 12);
  EXPECT_EQ(Triangles(poly.get()), Triangles(BuildFromSites(ico).get()));

  List sites;
  for (const Vec3& v : doubled) {
    const double p[3] = {v.x, v.y, v.z};
    AddPointToList(p, sites.head.prev, 0);
  }
  EXPECT_EQ(MergeCoincidentVoronoiSites(&sites.head, 0.002), 3);
  EXPECT_EQ(GetElementCount(&sites.head), 12);
}

// Too few sites for a closed diagram: nothing is built, and a site whose
// cell cannot close refuses the shape rather than leave a hole.
TEST(VoronoiDegenerate, TooFewSitesBuildNothingAndRefuse) {
  struct {
    const char* name;
    std::vector<Vec3> sites;
    int32_t error;
  } cases[] = {
      {"none", {}, 0},
      {"one", {{0, 0, 1}}, kPolyErrorBadFace},
      {"two", {{0, 0, 1}, {0, 1, 0}}, kPolyErrorBadFace},
      {"three on a great circle", {{1, 0, 0}, {-0.5, 0, 0.8660254037844386}, {-0.5, 0, -0.8660254037844386}},
       kPolyErrorBadFace},
  };
  for (auto& c : cases) {
    PolyPtr poly = BuildFromSites(c.sites);
    EXPECT_EQ(poly->errorCode, c.error) << c.name;
    if (poly->n3DFaces > 0) {
      EXPECT_TRUE(SolidIsClosed(poly.get())) << c.name;
    }
  }
}

// The build grows from the first site: it is built first, and its index
// becomes 1 when sites are numbered by their turn.
TEST(VoronoiDegenerate, FirstSiteFirstAndOrdinalNumbering) {
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  o.siteIndexMode = kSiteIndexOrdinal;
  const std::vector<Vec3> ico = IcosahedronCorners();
  PolyPtr poly = BuildFromSites(ico, &o);
  ASSERT_GT(poly->n3DFaces, 0);
  EXPECT_EQ(poly->faces[0].siteIndex, 1);
  EXPECT_EQ(poly->faces[0].point[0], ico[0].x);
  EXPECT_EQ(poly->faces[0].point[1], ico[0].y);
  int32_t highest = 0;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) highest = std::max(highest, poly->faces[f].siteIndex);
  EXPECT_EQ(highest, 12);
}

}  // namespace
