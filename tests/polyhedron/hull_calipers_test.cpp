// Convex hull and caliper measures held against qhull's qconvex on random
// point sets and on the net of every static shape: the hull's vertices, its
// perimeter and area, the narrowest width, the diameter and the minimal
// bounding rectangle; and the hand-checked cases the layout relies on.
#include "polyhedron/nets/hull_calipers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "polyhedron/catalogue.h"
#include "support/poly_fixture.h"

namespace {

struct P2 {
  double x, y;
};

// The points as a list, each added first (so the list runs backwards).
struct List {
  HALFSPACE head;
  explicit List(const std::vector<P2>& points) {
    InitEmptyList(&head);
    for (size_t i = 0; i < points.size(); ++i) {
      const double p[3] = {points[i].x, points[i].y, 0.0};
      AddPointToList(p, &head, int32_t(i));
    }
  }
  ~List() { DisposeListExceptForHead(&head); }
  std::vector<P2> Points() {
    std::vector<P2> out;
    for (HALFSPACE* e = GetFirstElement(&head); !e->isHead; e = e->next) out.push_back({e->point[0], e->point[1]});
    return out;
  }
  std::vector<int32_t> Indices() {
    std::vector<int32_t> out;
    for (HALFSPACE* e = GetFirstElement(&head); !e->isHead; e = e->next) out.push_back(e->index);
    return out;
  }
};

struct QhullAnswer {
  std::set<int32_t> vertices;
  double perimeter = 0, area = 0;
  bool ok = false;
};

QhullAnswer Qconvex(const std::vector<P2>& points) {
  QhullAnswer a;
  char name[] = "/tmp/gyrelle-hull-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return a;
  FILE* f = fdopen(fd, "w");
  std::fprintf(f, "2\n%zu\n", points.size());
  for (const P2& p : points) std::fprintf(f, "%.17g %.17g\n", p.x, p.y);
  std::fclose(f);
  // Fx: the hull's vertices; FS: perimeter and area. Qt keeps qhull from
  // joining facets, so its vertices are the corners of the hull.
  const std::string cmd = std::string("qconvex Qt Fx FS < ") + name + " 2>/dev/null";
  FILE* out = popen(cmd.c_str(), "r");
  std::string text;
  char buf[4096];
  while (out && std::fgets(buf, sizeof buf, out)) text += buf;
  if (out) pclose(out);
  std::remove(name);
  std::istringstream in(text);
  int32_t n = 0;
  if (!(in >> n)) return a;
  for (int32_t i = 0; i < n; ++i) {
    int32_t v;
    in >> v;
    a.vertices.insert(v);
  }
  int32_t ints = 0, reals = 0;
  in >> ints >> reals;
  for (int32_t i = 0; i < ints; ++i) {
    double skip;
    in >> skip;
  }
  in >> a.perimeter >> a.area;
  a.ok = bool(in);
  return a;
}

double Perimeter(const std::vector<P2>& h) {
  double s = 0;
  for (size_t i = 0; i < h.size(); ++i) s += std::hypot(h[(i + 1) % h.size()].x - h[i].x, h[(i + 1) % h.size()].y - h[i].y);
  return s;
}

double SignedArea(const std::vector<P2>& h) {
  double s = 0;
  for (size_t i = 0; i < h.size(); ++i) s += h[i].x * h[(i + 1) % h.size()].y - h[(i + 1) % h.size()].x * h[i].y;
  return 0.5 * s;
}

// Over the edges of a convex polygon: the least height across an edge (the
// width) and the least area of a rectangle flush with an edge (the minimal
// bounding rectangle has a side on the hull).
void EdgeMeasures(const std::vector<P2>& h, double* width, double* rectangle) {
  *width = 1e300;
  *rectangle = 1e300;
  for (size_t i = 0; i < h.size(); ++i) {
    const P2 a = h[i], b = h[(i + 1) % h.size()];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len == 0) continue;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    double lo = 1e300, hi = -1e300, height = 0;
    for (const P2& p : h) {
      const double along = (p.x - a.x) * ux + (p.y - a.y) * uy;
      lo = std::min(lo, along);
      hi = std::max(hi, along);
      height = std::max(height, std::fabs((p.x - a.x) * uy - (p.y - a.y) * ux));
    }
    *width = std::min(*width, height);
    *rectangle = std::min(*rectangle, height * (hi - lo));
  }
}

double Diameter(const std::vector<P2>& h) {
  double d = 0;
  for (const P2& a : h)
    for (const P2& b : h) d = std::max(d, std::hypot(a.x - b.x, a.y - b.y));
  return d;
}

std::vector<P2> FromIndices(const std::vector<P2>& points, const std::set<int32_t>& idx) {
  std::vector<P2> out;
  for (int32_t i : idx) out.push_back(points[size_t(i)]);
  // Counterclockwise about the mean, for the polygon measures.
  P2 c{0, 0};
  for (const P2& p : out) c = {c.x + p.x / out.size(), c.y + p.y / out.size()};
  std::sort(out.begin(), out.end(),
            [c](P2 a, P2 b) { return std::atan2(a.y - c.y, a.x - c.x) < std::atan2(b.y - c.y, b.x - c.x); });
  return out;
}

// The whole comparison for one point set.
void CheckAgainstQhull(const std::vector<P2>& points) {
  const QhullAnswer q = Qconvex(points);
  ASSERT_TRUE(q.ok) << "qconvex gave no answer";
  List list(points);
  BuildConvexHull_core(&list.head, 0);
  const std::vector<P2> hull = list.Points();
  const std::vector<int32_t> idx = list.Indices();
  // The same corners (a repeated point may stand for its twin); a point
  // that lies on a straight stretch only up to rounding may stay, on the
  // boundary.
  std::set<std::pair<double, double>> ours, theirs;
  for (const P2& p : hull) ours.insert({p.x, p.y});
  for (int32_t i : q.vertices) theirs.insert({points[size_t(i)].x, points[size_t(i)].y});
  for (const auto& t : theirs) EXPECT_TRUE(ours.count(t)) << t.first << " " << t.second << " left out";
  const std::vector<P2> boundary = FromIndices(points, q.vertices);
  for (const auto& o : ours) {
    if (theirs.count(o)) continue;
    double nearest = 1e300;
    for (size_t i = 0; i < boundary.size(); ++i) {
      const P2 a = boundary[i], b = boundary[(i + 1) % boundary.size()];
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      nearest = std::min(nearest, std::fabs((o.first - a.x) * (b.y - a.y) - (o.second - a.y) * (b.x - a.x)) / len);
    }
    EXPECT_LT(nearest, 1e-9) << o.first << " " << o.second << " is no corner";
  }
  // Counterclockwise (y up), the highest point first.
  EXPECT_GT(SignedArea(hull), 0.0);
  for (const P2& p : hull) EXPECT_LE(p.y, hull[0].y);
  const double scale = Diameter(hull);
  EXPECT_NEAR(Perimeter(hull), q.perimeter, 1e-9 * std::max(1.0, q.perimeter));
  EXPECT_NEAR(SignedArea(hull), q.area, 1e-9 * std::max(1.0, q.area));

  const std::vector<P2> reference = FromIndices(points, q.vertices);
  double width = 0, rectangle = 0;
  EdgeMeasures(reference, &width, &rectangle);
  CaliperResult r{};
  get_min_and_max_width_of_pointlist(&list.head, &r, 0);
  EXPECT_NEAR(r.minWidth, width, 1e-9 * std::max(1.0, scale));
  EXPECT_NEAR(r.maxWidth, Diameter(reference), 1e-9 * std::max(1.0, scale));
  // The narrowest width's direction is across it: turned by the angle the
  // calipers had turned, the first caliper lies along (1, 0) rotated.
  EXPECT_NEAR(std::hypot(r.minDirection.re, r.minDirection.im), 1.0, 1e-9);
  // The minimal rectangle from our hull matches the one from qhull's.
  double ourWidth = 0, ourRectangle = 0;
  EdgeMeasures(list.Points(), &ourWidth, &ourRectangle);
  EXPECT_NEAR(ourRectangle, rectangle, 1e-9 * std::max(1.0, rectangle));
  (void)idx;
}

TEST(HullCalipers, RandomPointSetsMatchQhull) {
  std::mt19937 rng(20261210);
  std::uniform_real_distribution<double> u(-3.0, 3.0);
  for (int32_t set = 0; set < 40; ++set) {
    SCOPED_TRACE("set " + std::to_string(set));
    const int32_t n = 4 + set * 3;
    std::vector<P2> points;
    for (int32_t i = 0; i < n; ++i) points.push_back({u(rng), u(rng)});
    // Repeats, points on the hull's straight stretches and ties in y
    // sharpen the clean-up passes.
    if (set % 3 == 0) points.push_back(points[1]);
    if (set % 4 == 1) {
      points.push_back({-4, -4});
      points.push_back({4, -4});
      points.push_back({0, -4});
    }
    if (set % 5 == 2) {
      points.push_back({1, 5});
      points.push_back({-1, 5});
    }
    CheckAgainstQhull(points);
  }
}

TEST(HullCalipers, StaticNetsMatchQhull) {
  for (const int32_t code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 16, 17, 18, 23, 19, 73}) {
    SCOPED_TRACE("shape " + std::to_string(code));
    PolyPtr p = NewPoly();
    WipeFaceInfo(p.get());
    ReadFaceInfo(p.get(), code, 0, nullptr, 1);
    std::vector<P2> points;
    for (int32_t v = 0; v < p->n2DVerts; ++v)
      if (p->vert2DUsed[v]) points.push_back({p->coords2D[v][0], p->coords2D[v][1]});
    ASSERT_GE(points.size(), 4u);
    CheckAgainstQhull(points);
  }
}

TEST(HullCalipers, SmallListsKeepTheirOrder) {
  List list({{0, 0}, {1, 0}, {0.5, 2}});
  BuildConvexHull_core(&list.head, 0);
  EXPECT_EQ(list.Indices(), (std::vector<int32_t>{2, 1, 0}));
}

TEST(HullCalipers, FarthestOfAlignedPointsStays) {
  // Three points straight below the pivot: only the farthest stays.
  List list({{0, 3}, {0, 2}, {0, 0}, {0, 1}, {-1, 1}, {1, 1}});
  BuildConvexHull_core(&list.head, 0);
  std::set<int32_t> kept;
  for (int32_t i : list.Indices()) kept.insert(i);
  EXPECT_EQ(kept, (std::set<int32_t>{0, 2, 4, 5}));
  EXPECT_EQ(list.Indices().front(), 0);
}

TEST(HullCalipers, ARepeatOfThePivotLeavesThePivotInTheList) {
  // The highest point twice: the clean-up must drop the twin, not the
  // pivot the scan starts from.
  List list({{0, 2}, {-1, 0}, {1, 0}, {0, 2}, {0, -1}});
  BuildConvexHull_core(&list.head, 0);
  EXPECT_EQ(GetElementCount(&list.head), 4);
  const std::vector<P2> hull = list.Points();
  EXPECT_EQ(hull[0].y, 2.0);
  EXPECT_GT(SignedArea(hull), 0.0);
}

TEST(HullCalipers, SquareAndRectangle) {
  struct Case {
    const char* name;
    std::vector<P2> points;
    double minWidth, maxWidth;
  } cases[] = {
      {"unit square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1.0, std::sqrt(2.0)},
      {"2 x 1 rectangle", {{0, 0}, {2, 0}, {2, 1}, {0, 1}, {1, 0.5}}, 1.0, std::sqrt(5.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    List list(c.points);
    BuildConvexHull_core(&list.head, 0);
    CaliperResult r{};
    get_min_and_max_width_of_pointlist(&list.head, &r, 0);
    EXPECT_NEAR(r.minWidth, c.minWidth, 1e-12);
    EXPECT_NEAR(r.maxWidth, c.maxWidth, 1e-12);
    const double quarter = r.minAngle / 1.5707963267948966;
    EXPECT_NEAR(quarter, std::round(quarter), 1e-12);
    EXPECT_NE(r.minPointA, nullptr);
  }
}

TEST(HullCalipers, AnEmptyFragmentKeepsTheStartValues) {
  PolyPtr p = NewOwningPoly();
  CaliperResult r{};
  EXPECT_EQ(BuildConvexHullOfFragmentAndMeasureIt(p.get(), 3, &r), 1);
  EXPECT_EQ(r.minWidth, 99999999999999.0);
  EXPECT_EQ(r.maxWidth, -1.0);
  EXPECT_EQ(r.minPointA, nullptr);
  EXPECT_EQ(r.minAngle, 0.0);
}

TEST(HullCalipers, HullAngleRunsCounterclockwiseFromUp) {
  EXPECT_DOUBLE_EQ(HullAngle(0, 1), 0.0);
  EXPECT_DOUBLE_EQ(HullAngle(-1, 0), 1.5707963267948966);
  EXPECT_DOUBLE_EQ(HullAngle(0, -1), 3.141592653589793);
  EXPECT_DOUBLE_EQ(HullAngle(1, 0), 4.71238898038469);
}

}  // namespace
