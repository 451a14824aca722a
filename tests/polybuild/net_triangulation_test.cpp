// Ear clipping of net faces: the exact order for convex faces, and for every
// outline that a triangle never leaves the face (areas add up, no corner
// inside a triangle, the face's winding kept).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "polybuild/setup/net_triangulation.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_access.h"

namespace {

using Outline = std::vector<std::pair<double, double>>;

temp2Dface Face(const Outline& points) {
  temp2Dface t{};
  t.nCorners = int32_t(points.size());
  for (int32_t k = 0; k < t.nCorners; ++k)
    t.corners[k] = TempCorner{points[k].first, points[k].second, -1, 1, 100 + k, k, 1};
  return t;
}

double Cross(const std::pair<double, double>& a, const std::pair<double, double>& b,
             const std::pair<double, double>& c) {
  return (b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first);
}

double TwiceArea(const Outline& p) {
  double s = 0.0;
  for (size_t k = 0; k < p.size(); ++k) {
    const auto& a = p[k];
    const auto& b = p[(k + 1) % p.size()];
    s += a.first * b.second - b.first * a.second;
  }
  return s;
}

std::vector<std::vector<int32_t>> Clip(const Outline& points) {
  const temp2Dface t = Face(points);
  int32_t tri[kEarClipMaxTriangles][3];
  const int32_t n = EarClipCorners(&t, tri);
  std::vector<std::vector<int32_t>> out;
  for (int32_t k = 0; k < n; ++k) out.push_back({tri[k][0], tri[k][1], tri[k][2]});
  return out;
}

TEST(EarClip, ConvexFacesInTheirFixedOrder) {
  const double kTau = 6.283185307179586;
  Outline pentagon;
  for (int k = 0; k < 5; ++k) pentagon.push_back({std::cos(kTau * k / 5), std::sin(kTau * k / 5)});
  const struct {
    const char* name;
    Outline points;
    std::vector<std::vector<int32_t>> triangles;
  } cases[] = {
      {"triangle", {{0, 0}, {1, 0}, {0, 1}}, {{0, 1, 2}}},
      {"square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 3}, {0, 1, 3}}},
      {"pentagon", pentagon, {{1, 2, 3}, {3, 4, 0}, {0, 1, 3}}},
      {"two corners", {{0, 0}, {1, 0}}, {}},
      {"no corners", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Clip(c.points), c.triangles) << c.name;
}

TEST(EarClip, CornerIndicesComeFromTheNetFace) {
  // A scratch face may start at any corner of its net face.
  temp2Dface t = Face({{0, 0}, {1, 0}, {0, 1}});
  t.corners[0].cornerIndex = 2;
  t.corners[1].cornerIndex = 0;
  t.corners[2].cornerIndex = 1;
  int32_t tri[kEarClipMaxTriangles][3];
  ASSERT_EQ(EarClipCorners(&t, tri), 1);
  EXPECT_EQ(tri[0][0], 2);
  EXPECT_EQ(tri[0][1], 0);
  EXPECT_EQ(tri[0][2], 1);
}

TEST(EarClip, TrianglesStayInsideEveryFace) {
  Outline star;  // ten corners, alternately on two circles
  for (int k = 0; k < 10; ++k) {
    const double r = k % 2 ? 0.4 : 1.0, a = 6.283185307179586 * k / 10;
    star.push_back({r * std::cos(a), r * std::sin(a)});
  }
  Outline starClockwise(star.rbegin(), star.rend());
  const struct {
    const char* name;
    Outline points;
  } cases[] = {
      {"arrowhead, reflex last", {{0, 0}, {2, 1}, {0, 2}, {0.5, 1}}},
      // The first candidate ear is the reflex corner 2: cutting it would lay
      // a triangle outside the face and cover corner 2 with the next one.
      {"quad, reflex first candidate", {{0, 0}, {2, 0}, {1, 0.5}, {1, 2}}},
      {"L hexagon", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}},
      {"comb", {{0, 0}, {4, 0}, {4, 2}, {3, 2}, {3, 1}, {2, 1}, {2, 2}, {1, 2}, {1, 1}, {0, 1}}},
      {"star", star},
      {"star clockwise", starClockwise},
      {"square with a straight corner", {{0, 0}, {1, 0}, {2, 0}, {2, 2}, {0, 2}}},
  };
  for (const auto& c : cases) {
    const auto triangles = Clip(c.points);
    ASSERT_EQ(triangles.size(), c.points.size() - 2) << c.name;
    const double faceArea = TwiceArea(c.points);
    double sum = 0.0;
    for (const auto& t : triangles) {
      const double a = Cross(c.points[t[0]], c.points[t[1]], c.points[t[2]]);
      EXPECT_GE(a * faceArea, 0.0) << c.name << ": a triangle turns against the face";
      sum += a;
      for (size_t p = 0; p < c.points.size(); ++p) {
        if (int32_t(p) == t[0] || int32_t(p) == t[1] || int32_t(p) == t[2]) continue;
        const double w0 = Cross(c.points[t[1]], c.points[t[2]], c.points[p]) / a;
        const double w1 = Cross(c.points[t[2]], c.points[t[0]], c.points[p]) / a;
        const bool inside = w0 > 1e-12 && w1 > 1e-12 && 1.0 - w0 - w1 > 1e-12;
        EXPECT_FALSE(inside) << c.name << ": corner " << p << " inside a triangle";
      }
    }
    EXPECT_NEAR(sum, faceArea, 1e-9) << c.name;
  }
}

TEST(EarClip, SelfCrossingOutlineStillEnds) {
  // Every three consecutive corners of this outline hold another corner
  // strictly inside: a walk that waits for an empty ear would never end.
  const Outline crossing = {{1, 6}, {2, 2}, {6, 3}, {2, 4}, {2, 1}, {5, 3}};
  const auto triangles = Clip(crossing);
  ASSERT_EQ(triangles.size(), 4u);
  std::vector<int> seen(6, 0);
  for (const auto& t : triangles)
    for (int32_t c : t) {
      ASSERT_GE(c, 0);
      ASSERT_LT(c, 6);
      seen[c] = 1;
    }
  for (int k = 0; k < 6; ++k) EXPECT_EQ(seen[k], 1) << k;
}

// A record owning its arrays with one net face: a square on 2D vertices
// 7..10 (the corner order starts at vertex 8).
struct PolyFree {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
std::unique_ptr<polyhedron, PolyFree> SquareNet() {
  std::unique_ptr<polyhedron, PolyFree> p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.0f);
  WipeFaceInfo(p.get());
  getPolyStorageEtc(p.get(), nullptr, kPolyMax2DVerts, kPolyMaxFaces);
  const double xy[4][2] = {{1, 1}, {0, 0}, {1, 0}, {0, 1}};  // vertices 7..10
  for (int32_t k = 0; k < 4; ++k) {
    MutableCoords2D(p.get())[7 + k][0] = xy[k][0];
    MutableCoords2D(p.get())[7 + k][1] = xy[k][1];
    p->vert2DUsed[7 + k] = 1;
  }
  PolyFace& f = p->faces[0];
  f.n2D = 4;
  const int32_t corners[4] = {8, 9, 7, 10};  // (0,0) (1,0) (1,1) (0,1)
  for (int32_t k = 0; k < 4; ++k) f.vert2D[k] = corners[k];
  f.fragment = 2;
  p->n2DFaces = p->n3DFaces = 1;
  p->n2DVerts = 11;
  return p;
}

TEST(EarClip, WritesAndCountsTheFacesTriangles) {
  auto p = SquareNet();
  p->nTriangles = 3;
  EarClip(0, p.get());
  EXPECT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->nTriangles, 5);
  const int32_t expected[2][3] = {{9, 7, 10}, {8, 9, 10}};  // corners (1,2,3), (0,1,3)
  for (int32_t t = 0; t < 2; ++t) {
    const NetTriangle& tri = p->triangles[3 + t];
    for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(tri.vert2D[k], expected[t][k]) << t << " " << k;
    EXPECT_EQ(tri.face2D, 0);
    EXPECT_EQ(tri.fragment, 2);
    EXPECT_EQ(tri.isTab, 0);
  }
}

TEST(EarClip, FullTriangleTableRefusesTheRest) {
  auto p = SquareNet();
  p->nTriangles = kPolyMaxTriangles - 1;
  EarClip(0, p.get());
  EXPECT_EQ(p->nTriangles, kPolyMaxTriangles);
  EXPECT_EQ(p->errorCode, kPolyErrorTooManyTriangles);
  EXPECT_EQ(p->triangles[kPolyMaxTriangles - 1].face2D, 0);

  auto q = SquareNet();
  EarClip(-1, q.get());  // no such face: nothing
  EarClip(0, nullptr);
  EXPECT_EQ(q->nTriangles, 0);
}

}  // namespace
