// The slicing rules that mark 3D edges as cut at the end of each 3D link
// build.
#include <gtest/gtest.h>

#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_slicing.h"

namespace {

// The cut edges of every face, as (face, edge) pairs in order.
std::vector<std::pair<int32_t, int32_t>> CutEdges(const polyhedron* p) {
  std::vector<std::pair<int32_t, int32_t>> cuts;
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < kPolyMaxCorners; ++e)
      if (p->faces[f].edgeFlags3D[e] & kEdgeFlagCut) cuts.push_back({f, e});
  return cuts;
}

int32_t EdgeTowards(const polyhedron* p, int32_t f, int32_t g) {
  for (int32_t e = 0; e < p->faces[f].n3D; ++e)
    if (p->faces[f].nbrFace3D[e] == g) return e;
  return -1;
}

void Slice(polyhedron* p, int32_t mode) {
  p->slicingMode = mode;
  Build3DConnectivity(p);
}

// Cube faces: 0 and 1 normal to z, 2 and 3 to y, 4 and 5 to x; face 0 borders
// 2, 3, 4 and 5.
TEST(PolySlicing, SiteNumbersFarApart) {
  const struct {
    const char* name;
    int32_t mode;
    int32_t face0Site, face2Site;
    uint8_t wholeFace0;
    int32_t cutsOnFace0, cutsOnFace2;
  } cases[] = {
      {"mode 1 separates 10 and 12", kSlicingSitesApart, 10, 12, 0, 1, 1},
      {"mode 1 keeps 10 and 11", kSlicingSitesApart, 10, 11, 0, 0, 0},
      {"mode 7 separates 10 and 14", kSlicingSitesFarApart, 10, 14, 0, 1, 1},
      {"mode 7 keeps 10 and 13", kSlicingSitesFarApart, 10, 13, 0, 0, 0},
      {"mode 1 never separates -101", kSlicingSitesApart, kSliceUnseparatedSite, 12, 0, 0, 0},
      {"whole face: every edge more than 1 away", kSlicingSitesFarApart, kSliceUnseparatedSite, 12, 1, 4, 0},
      {"mode 6 marks nothing", 6, 10, 50, 0, 0, 0},
      {"mode 0 marks nothing", 0, 10, 50, 1, 0, 0},
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    BuildCube(p.get());
    for (int32_t f = 0; f < 6; ++f) p->faces[f].siteIndex = 11;
    p->faces[0].siteIndex = c.face0Site;
    p->faces[2].siteIndex = c.face2Site;
    p->faces[0].sliceWholeFace = c.wholeFace0;
    Slice(p.get(), c.mode);
    int32_t on0 = 0, on2 = 0, elsewhere = 0;
    for (auto [f, e] : CutEdges(p.get())) (f == 0 ? on0 : f == 2 ? on2 : elsewhere)++;
    EXPECT_EQ(on0, c.cutsOnFace0) << c.name;
    EXPECT_EQ(on2, c.cutsOnFace2) << c.name;
    EXPECT_EQ(elsewhere, 0) << c.name;
    if (c.cutsOnFace0 == 1) {
      EXPECT_TRUE(p->faces[0].edgeFlags3D[EdgeTowards(p.get(), 0, 2)] & kEdgeFlagCut);
    }
  }
}

TEST(PolySlicing, FacePointsFarFromTheRest) {
  const struct {
    const char* name;
    std::vector<int32_t> otherSiteFaces;  // neighbours of face 0 on another site
    std::vector<std::pair<int32_t, int32_t>> cuts;
  } cases[] = {
      {"all neighbours on its site", {}, {}},
      {"one neighbour on another site", {3}, {}},
      {"two neighbours on another site", {2, 3}, {{0, -3}}},  // -3: the edge towards face 3
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    BuildCube(p.get());
    for (int32_t f = 0; f < 6; ++f) {
      p->faces[f].siteIndex = f == 0 ? 1 : 5;
      for (int k = 0; k < 3; ++k) p->faces[f].point[k] = -p->faces[f].normal[k];
    }
    p->faces[0].siteIndex = 1;
    for (int32_t f : {2, 3, 4, 5}) p->faces[f].siteIndex = 1;
    for (int32_t f : c.otherSiteFaces) p->faces[f].siteIndex = 2;
    p->faces[3].point[1] += 3.0;  // far from face 0's point
    Slice(p.get(), kSlicingFacePoints);
    std::vector<std::pair<int32_t, int32_t>> onFace0;
    for (auto cut : CutEdges(p.get()))
      if (cut.first == 0) onFace0.push_back(cut);
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (auto [f, e] : c.cuts) expected.push_back({f, e < 0 ? EdgeTowards(p.get(), f, -e) : e});
    EXPECT_EQ(onFace0, expected) << c.name;
  }
}

TEST(PolySlicing, ShortestEdges) {
  const struct {
    const char* name;
    int32_t mode;
    double length;
    bool sameSites;
    int32_t cutFaces;  // faces with their first shortest edge cut
  } cases[] = {
      {"mode 3, square faces: edge 0 everywhere", kSlicingShortestEdge, 1.0, false, 6},
      {"mode 3, neighbour on the same site", kSlicingShortestEdge, 1.0, true, 0},
      {"mode 4, sides 3.9 times longer", kSlicingLongFaces, 3.9, false, 0},
      {"mode 4, sides 4 times longer", kSlicingLongFaces, 4.0, false, 4},
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    BuildBox(p.get(), 1.0, 1.0, c.length);
    for (int32_t f = 0; f < 6; ++f) p->faces[f].siteIndex = c.sameSites ? 0 : f;
    Slice(p.get(), c.mode);
    const auto cuts = CutEdges(p.get());
    EXPECT_EQ(int32_t(cuts.size()), c.cutFaces) << c.name;
    for (auto [f, e] : cuts) {
      // The first of the shortest edges of the face.
      const PolyFace& face = p->faces[f];
      const double* a = p->coords3D[face.vert3D[e]];
      const double* b = p->coords3D[face.vert3D[(e + 1) % 4]];
      const double len = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
      EXPECT_NEAR(len, 1.0, 1e-12) << c.name << " face " << f;
      for (int32_t k = 0; k < e; ++k) {
        const double* u = p->coords3D[face.vert3D[k]];
        const double* w = p->coords3D[face.vert3D[k + 1]];
        EXPECT_GT(std::abs(u[0] - w[0]) + std::abs(u[1] - w[1]) + std::abs(u[2] - w[2]), 1.0 + 1e-9);
      }
    }
  }
}

TEST(PolySlicing, SharpestFoldOfElongatedFaces) {
  for (double length : {6.0, 8.0}) {
    PolyPtr p = NewOwningPoly();
    BuildPrism(p.get(), length);
    Slice(p.get(), kSlicingSharpestFold);
    const auto cuts = CutEdges(p.get());
    if (length < 4.0 * 1.7320508) {
      EXPECT_TRUE(cuts.empty()) << length;
      continue;
    }
    // Each long side cuts one edge towards another side (a 120-degree turn of
    // the normal, sharper than the 90 degrees to the ends); the ends are not
    // elongated.
    ASSERT_EQ(cuts.size(), 3u);
    for (auto [f, e] : cuts) {
      EXPECT_GE(f, 2);
      EXPECT_EQ(p->faces[p->faces[f].nbrFace3D[e]].n3D, 4);
    }
  }
}

TEST(PolySlicing, OpenEdgesAreSkipped) {
  PolyPtr p = NewOwningPoly();
  // Two faces of a cube: most of their edges have no neighbour.
  BuildSolid(p.get(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}}, {{0, 1, 2, 3}, {0, 4, 5, 1}});
  for (int32_t mode : {1, 2, 3, 4, 5, 7}) {
    p->faces[0].siteIndex = 0;
    p->faces[1].siteIndex = 9;
    Slice(p.get(), mode);
  }
  for (auto [f, e] : CutEdges(p.get())) EXPECT_GE(p->faces[f].nbrFace3D[e], 0) << f << " " << e;
}

}  // namespace
