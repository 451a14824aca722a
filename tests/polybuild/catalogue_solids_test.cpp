// The generated catalogue solids: counts of the shape list, then geometry
// that any correct table must have (flat convex faces wound outward, a
// closed surface, the chosen sphere), and an independent hull from qconvex.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "polyhedron/catalogue_solids.h"

namespace {

using Vec = std::array<double, 3>;
using Face = std::vector<int32_t>;  // 0-based vertex numbers

Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }
Vec Scale(const Vec& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }

struct Expected {
  const char* family;
  int32_t faces;
  std::set<int32_t> cornerKinds;
  int32_t vertices;
  std::map<int32_t, int32_t> facesByKind;  // what the named solid has
  bool circumscribed;
};

// Faces, corner kinds and 3D vertex counts as the shape list gives them.
// Tetranew has four vertices: four triangles close up around no more (the
// list's five would leave one vertex unused).
const Expected kExpected[] = {
    {"Tetranew", 4, {3}, 4, {{3, 4}}, true},
    {"NewCube", 6, {4}, 8, {{4, 6}}, true},
    {"NewOcto", 8, {3}, 6, {{3, 8}}, true},
    {"NewDodec", 12, {5}, 20, {{5, 12}}, true},
    {"NewIco", 20, {3}, 12, {{3, 20}}, true},
    {"OneFour", 14, {3, 4}, 12, {{3, 8}, {4, 6}}, true},
    {"twosix", 26, {3, 4}, 24, {{3, 8}, {4, 18}}, true},
    {"soccer", 32, {5, 6}, 60, {{5, 12}, {6, 20}}, true},
    {"threetwo", 32, {3, 5}, 30, {{3, 20}, {5, 12}}, true},
    {"threeeight", 38, {3, 4}, 24, {{3, 32}, {4, 6}}, true},
    {"sixtwo", 62, {3, 4, 5}, 60, {{3, 20}, {4, 30}, {5, 12}}, true},
    {"twofour", 24, {4}, 26, {{4, 24}}, false},
    {"sixzero", 60, {4}, 62, {{4, 60}}, false},
    {"ThreeZero", 30, {4}, 32, {{4, 30}}, false},
    {"PentTwoFour", 24, {5}, 38, {{5, 24}}, false},
};

std::vector<Vec> Points(const CatalogueSolid& s) {
  std::vector<Vec> pts;
  for (int32_t i = 0; i < s.vertexCount; ++i) pts.push_back({s.coords3D[i][0], s.coords3D[i][1], s.coords3D[i][2]});
  return pts;
}

std::vector<Face> Faces(const CatalogueSolid& s) {
  std::vector<Face> faces(1);
  for (int32_t i = 0; i < s.rowEntries; ++i) {
    if (s.faces3D[i] == 0) {
      faces.emplace_back();
    } else {
      faces.back().push_back(s.faces3D[i] - 1);
    }
  }
  faces.pop_back();
  return faces;
}

// Newell's normal (area-weighted) and the corner mean of a face.
Vec FaceNormal(const std::vector<Vec>& p, const Face& f) {
  Vec n{0, 0, 0};
  for (size_t k = 0; k < f.size(); ++k) {
    const Vec& a = p[f[k]];
    const Vec& b = p[f[(k + 1) % f.size()]];
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return Scale(n, 1.0 / Norm(n));
}

Vec Centroid(const std::vector<Vec>& p, const Face& f) {
  Vec c{0, 0, 0};
  for (int32_t v : f)
    for (int k = 0; k < 3; ++k) c[k] += p[v][k];
  return Scale(c, 1.0 / double(f.size()));
}

const CatalogueSolid* Find(const char* family) {
  for (const CatalogueSolid& s : kCatalogueSolids)
    if (std::string(s.family) == family) return &s;
  return nullptr;
}

TEST(CatalogueSolids, CountsOfTheShapeList) {
  ASSERT_EQ(kCatalogueSolidCount, int32_t(std::size(kExpected)));
  for (const Expected& e : kExpected) {
    const CatalogueSolid* s = Find(e.family);
    ASSERT_NE(s, nullptr) << e.family;
    const auto faces = Faces(*s);
    EXPECT_EQ(s->faceCount, e.faces) << e.family;
    EXPECT_EQ(int32_t(faces.size()), e.faces) << e.family;
    EXPECT_EQ(s->vertexCount, e.vertices) << e.family;
    std::map<int32_t, int32_t> byKind;
    for (const Face& f : faces) ++byKind[int32_t(f.size())];
    std::set<int32_t> kinds;
    for (const auto& [k, n] : byKind) kinds.insert(k);
    EXPECT_EQ(kinds, e.cornerKinds) << e.family;
    EXPECT_EQ(byKind, e.facesByKind) << e.family;
    EXPECT_EQ(s->circumscribed, e.circumscribed) << e.family;
  }
  // The tables keep the names the shape list gives them.
  EXPECT_EQ(Find("soccer")->coords3D, soccerCoord3D);
  EXPECT_EQ(Find("soccer")->faces3D, soccerFaces3D);
  EXPECT_EQ(Find("twofour")->faces3D, twofour_Faces3D);
}

TEST(CatalogueSolids, FlatConvexFacesWoundOutward) {
  for (const CatalogueSolid& s : kCatalogueSolids) {
    const auto p = Points(s);
    for (const Face& f : Faces(s)) {
      const Vec n = FaceNormal(p, f);
      const Vec c = Centroid(p, f);
      EXPECT_GT(Dot(n, c), 0.1) << s.family << ": a face wound inward";
      for (size_t k = 0; k < f.size(); ++k) {
        EXPECT_NEAR(Dot(n, Sub(p[f[k]], c)), 0.0, 1e-14) << s.family << ": a face not flat";
        const Vec& a = p[f[k]];
        const Vec& b = p[f[(k + 1) % f.size()]];
        const Vec& d = p[f[(k + 2) % f.size()]];
        EXPECT_GT(Dot(Cross(Sub(b, a), Sub(d, b)), n), 1e-3) << s.family << ": a corner not convex";
      }
      // Every other vertex lies strictly below the face's plane: each face is
      // a whole face of the hull, not a piece of one.
      const std::set<int32_t> own(f.begin(), f.end());
      for (int32_t v = 0; v < s.vertexCount; ++v) {
        if (own.count(v)) continue;
        EXPECT_LT(Dot(n, Sub(p[v], c)), -1e-3) << s.family << " vertex " << v;
      }
    }
  }
}

TEST(CatalogueSolids, ClosedSurfaces) {
  for (const CatalogueSolid& s : kCatalogueSolids) {
    std::set<std::pair<int32_t, int32_t>> edges;
    std::set<int32_t> used;
    const auto faces = Faces(s);
    for (const Face& f : faces) {
      EXPECT_EQ(std::set<int32_t>(f.begin(), f.end()).size(), f.size()) << s.family << ": repeated corner";
      for (size_t k = 0; k < f.size(); ++k) {
        const auto e = std::make_pair(f[k], f[(k + 1) % f.size()]);
        EXPECT_TRUE(edges.insert(e).second) << s.family << ": edge used twice the same way";
        used.insert(f[k]);
      }
    }
    for (const auto& [a, b] : edges) EXPECT_TRUE(edges.count({b, a})) << s.family << ": open edge " << a << " " << b;
    EXPECT_EQ(int32_t(used.size()), s.vertexCount) << s.family << ": unused vertex";
    const int32_t E = int32_t(edges.size()) / 2;
    EXPECT_EQ(s.vertexCount - E + int32_t(faces.size()), 2) << s.family;
  }
}

TEST(CatalogueSolids, OnTheUnitSphereAsChosen) {
  for (const CatalogueSolid& s : kCatalogueSolids) {
    const auto p = Points(s);
    double rMin = 2.0, rMax = 0.0;
    for (const Vec& v : p) {
      rMin = std::min(rMin, Norm(v));
      rMax = std::max(rMax, Norm(v));
    }
    EXPECT_NEAR(rMax, 1.0, 4e-16) << s.family;
    if (s.circumscribed) {
      EXPECT_NEAR(rMin, 1.0, 4e-16) << s.family;
      // Regular faces: one edge length throughout.
      double first = -1.0;
      for (const Face& f : Faces(s))
        for (size_t k = 0; k < f.size(); ++k) {
          const double l = Norm(Sub(p[f[k]], p[f[(k + 1) % f.size()]]));
          if (first < 0) first = l;
          EXPECT_NEAR(l, first, 1e-14) << s.family;
        }
    } else {
      EXPECT_LT(rMin, 0.99) << s.family;
      // Reciprocals of vertex-transitive solids: every face touches one
      // sphere.
      double inradius = -1.0;
      for (const Face& f : Faces(s)) {
        const double d = Dot(FaceNormal(p, f), p[f[0]]);
        if (inradius < 0) inradius = d;
        EXPECT_NEAR(d, inradius, 1e-14) << s.family;
      }
    }
  }
}

TEST(CatalogueSolids, SameFacesAsQconvex) {
  if (std::system("command -v qconvex >/dev/null 2>&1") != 0) GTEST_SKIP() << "qconvex (qhull) not installed";
  for (const CatalogueSolid& s : kCatalogueSolids) {
    const std::string path = ::testing::TempDir() + "catalogue_" + s.family + ".txt";
    {
      std::ofstream out(path);
      out.precision(17);
      out << "3\n" << s.vertexCount << "\n";
      for (int32_t i = 0; i < s.vertexCount; ++i)
        out << s.coords3D[i][0] << " " << s.coords3D[i][1] << " " << s.coords3D[i][2] << "\n";
    }
    FILE* pipe = popen(("qconvex Fv < " + path).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    int facets = 0;
    ASSERT_EQ(std::fscanf(pipe, "%d", &facets), 1) << s.family;
    std::set<std::set<int32_t>> hull;
    for (int i = 0; i < facets; ++i) {
      int n = 0;
      ASSERT_EQ(std::fscanf(pipe, "%d", &n), 1);
      std::set<int32_t> f;
      for (int k = 0; k < n; ++k) {
        int v;
        ASSERT_EQ(std::fscanf(pipe, "%d", &v), 1);
        f.insert(v);
      }
      hull.insert(f);
    }
    pclose(pipe);
    std::remove(path.c_str());
    std::set<std::set<int32_t>> ours;
    for (const Face& f : Faces(s)) ours.insert(std::set<int32_t>(f.begin(), f.end()));
    EXPECT_EQ(facets, s.faceCount) << s.family;
    EXPECT_EQ(hull, ours) << s.family;
  }
}

TEST(CatalogueSolids, CubeFaceFourIsTheTop) {
  // The cube's up face is face 4; its corners all have y > 0.
  const CatalogueSolid* cube = Find("NewCube");
  ASSERT_NE(cube, nullptr);
  const Face top = Faces(*cube)[4];
  for (int32_t v : top) EXPECT_GT(cube->coords3D[v][1], 0.5) << v;
}

TEST(CatalogueSolids, TetrahedronPairsTheDevelopableArcs) {
  // The developable tetrahedron fans faces 0-2 over the edge from corner 1
  // to corner 2 and face 3 over the edge from corner 0 to corner 1: those
  // edges come in two pairs, run in opposite directions (two faces' views
  // of one edge), on edges that share no vertex.
  const CatalogueSolid* tet = Find("Tetranew");
  ASSERT_NE(tet, nullptr);
  const std::vector<Face> f = Faces(*tet);
  ASSERT_EQ(f.size(), 4u);
  const std::pair<int32_t, int32_t> arc[4] = {{f[0][1], f[0][2]}, {f[1][1], f[1][2]}, {f[2][1], f[2][2]},
                                              {f[3][0], f[3][1]}};
  EXPECT_EQ(arc[0], std::make_pair(arc[3].second, arc[3].first));
  EXPECT_EQ(arc[1], std::make_pair(arc[2].second, arc[2].first));
  const std::set<int32_t> a{arc[0].first, arc[0].second}, b{arc[1].first, arc[1].second};
  for (int32_t v : a) EXPECT_EQ(b.count(v), 0u) << v;
}

}  // namespace
