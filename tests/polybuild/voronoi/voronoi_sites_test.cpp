// The site sets: how many sites each shape code lays down, its first site,
// the options it sets, and the Truchet arcs with their segment list.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polybuild/voronoi/voronoi_truchet.h"
#include "polyhedron/halfspace.h"
#include "voronoi_lists.h"

namespace {

struct SiteSetCase {
  int32_t code;
  int32_t count;       // sites after the ones closer than the merge distance are skipped
  Vec3 first;          // the first site: the first cell to be built
  int32_t firstIndex;
  uint8_t shave;
  uint8_t spare;
  int32_t indexMode;
  int32_t fanRule;
  int32_t pattern;
  double pull;
  double merge;
  double tolerance;
};

// Counts: spirals of 140, 210 and 98; the curvy cube's 20 steps x 6 faces x
// 2 sides less the 6 doubled face centres; the baseball's 4 x 40 less the
// two doubled poles; gores of (R - 2 - skipRows) x 3 rows and the pole;
// Truchet sets of 12 arcs of steps + 1 sites less the 12 edge midpoints two
// arcs share.
const SiteSetCase kCases[] = {
    {151, 140, {0, 1, 0}, 0, 1, 1, 1, 2, 0, 0, 0.002, 0.00001},
    {152, 210, {0, 1, 0}, 0, 1, 1, 1, 2, 0, 1, 0.0002, 0.00001},
    {153, 234, {1, 0, 0}, 0, 0, 0, 1, 0, 0, 0, 0.0002, 0.00001},
    {154, 158, {0, 1, 0}, 1, 1, 0, 1, 0, 0, 0, 0.002, 0.00001},
    {155, 98, {0, 1, 0}, 0, 0, 1, 1, 2, 0, 0, 0.002, 0.00001},
    {156, 370, {0, 1, 0}, -101, 1, 0, 1, 0, 0, 0, 0.001, 0.00001},
    {157, 235, {0, 1, 0}, -101, 1, 0, 1, 0, 0, 0, 0.001, 0.00001},
    {158, 265, {0, 1, 0}, -101, 1, 0, 1, 0, 0, 0, 0.001, 0.00001},
    {159, 235, {0, 1, 0}, -101, 1, 0, 1, 0, 0, 0, 0.002, 0.0001},
    {160, 235, {0, 1, 0}, -101, 1, 0, 1, 0, 0, 0, 0.002, 0.00001},
    {181, 384, {NAN, 0, 0}, 0, 0, 0, 0, 0, 560, 0, 0.002, 0.00001},
    {186, 384, {NAN, 0, 0}, 0, 0, 0, 0, 0, 3938, 0, 0.002, 0.00001},
    {187, 384, {NAN, 0, 0}, 0, 0, 0, 0, 0, 454, 0, 0.002, 0.00001},
    {190, 384, {NAN, 0, 0}, 0, 0, 0, 0, 0, 3938, 0, 0.002, 0.00001},
    {199, 384, {NAN, 0, 0}, 0, 0, 0, 0, 0, 4074, 0, 0.002, 0.00001},
    {200, 180, {NAN, 0, 0}, 0, 0, 0, 0, 0, 63, 0, 0.0002, 0.00001},
};

TEST(VoronoiSiteSets, CountsFirstSitesAndOptionsPerShape) {
  for (const SiteSetCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << "shape " << c.code);
    List sites;
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    o.patternCode = 4095;  // the gallery item; the Truchet sets take their own pattern
    build_voronoi_pointset(&sites.head, &o, c.code, 0);
    ASSERT_EQ(GetElementCount(&sites.head), c.count);
    HALFSPACE* first = GetFirstElement(&sites.head);
    if (!std::isnan(c.first.x)) {
      EXPECT_NEAR(first->point[0], c.first.x, 1e-12);
      EXPECT_NEAR(first->point[1], c.first.y, 1e-12);
      EXPECT_NEAR(first->point[2], c.first.z, 1e-12);
    }
    EXPECT_EQ(first->index, c.firstIndex);
    EXPECT_EQ(o.shaveSillyVerts, c.shave);
    EXPECT_EQ(o.spareFlag, c.spare);
    EXPECT_EQ(o.siteIndexMode, c.indexMode);
    EXPECT_EQ(o.fanApexRule, c.fanRule);
    if (c.code > 180) EXPECT_EQ(o.patternCode, c.pattern);
    EXPECT_EQ(o.pullToSphere, c.pull);
    EXPECT_EQ(o.mergeDistance, c.merge);
    EXPECT_EQ(o.planeTolerance, c.tolerance);
    EXPECT_EQ(o.skipOverlapTest, 1);
    // Every site is a unit vector, and no two are closer than the merge
    // distance in force when they were laid (the conformal moves come after
    // and may bring them closer, so only the unmoved sets are checked).
    std::vector<Vec3> pts;
    for (HALFSPACE* s = GetFirstElement(&sites.head); !s->isHead; s = s->next) {
      EXPECT_NEAR(std::sqrt(s->point[0] * s->point[0] + s->point[1] * s->point[1] + s->point[2] * s->point[2]), 1,
                  1e-12);
      pts.push_back({s->point[0], s->point[1], s->point[2]});
    }
    if (c.code == 151 || c.code == 153 || c.code == 154 || c.code == 155) {
      for (size_t i = 0; i < pts.size(); ++i)
        for (size_t j = 0; j < i; ++j)
          ASSERT_GE(std::hypot(pts[i].x - pts[j].x, pts[i].y - pts[j].y, pts[i].z - pts[j].z), c.merge);
    }
  }
}

TEST(VoronoiSiteSets, CodesWithoutSitesAddNothing) {
  for (int32_t code : {0, 150, 161, 170, 180, 201, 220, 300}) {
    List sites;
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    build_voronoi_pointset(&sites.head, &o, code, 1);
    EXPECT_EQ(GetElementCount(&sites.head), 0) << code;
    EXPECT_EQ(o.mergeDistance, 0.002) << code;
  }
}

// Gores: the pole first, then rows of three from the row after skipRows on,
// each row's sites a third of a turn apart (before the disk move).
TEST(VoronoiSiteSets, GoresStartAtThePoleAndSkipRows) {
  List sites;
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  crap_Build_voronoi_sites_globegores(&sites.head, &o, 10, 3, 0.25, 0, 0.5, 2);
  ASSERT_EQ(GetElementCount(&sites.head), 1 + (8 - 2) * 3);
  HALFSPACE* s = GetFirstElement(&sites.head);
  EXPECT_EQ(s->index, -101);
  EXPECT_NEAR(s->point[1], 1, 1e-15);
  s = s->next;
  // Row 3: latitude from v = 0.3, columns 0, 1, 2 with indices 0, 2, 4.
  for (int32_t k = 0; k < 3; ++k, s = s->next) {
    EXPECT_EQ(s->index, 2 * k);
    EXPECT_NEAR(s->point[1], std::cos(0.3 * M_PI), 1e-6);
  }
  EXPECT_EQ(o.shaveSillyVerts, 1);
  EXPECT_EQ(o.siteIndexMode, 1);
}

TEST(VoronoiSiteSets, ZigzagTumbleTurnsZYThenXY) {
  const double r = std::sqrt(0.5), c35 = std::cos(0.6108652381980154), s35 = std::sin(0.6108652381980154);
  struct {
    Vec3 in, out;
  } cases[] = {
      {{0, 0, 1}, {-r * s35, r * c35, r}},
      {{1, 0, 0}, {c35, s35, 0}},
      {{0, 1, 0}, {-r * s35, r * c35, -r}},
  };
  for (const auto& c : cases) {
    double p[3] = {c.in.x, c.in.y, c.in.z};
    ExtraTumbleForZigzagD(p);
    EXPECT_NEAR(p[0], c.out.x, 1e-15);
    EXPECT_NEAR(p[1], c.out.y, 1e-15);
    EXPECT_NEAR(p[2], c.out.z, 1e-15);
  }
}

double Dot(const double a[3], Vec3 b) { return a[0] * b.x + a[1] * b.y + a[2] * b.z; }

// Each arc is a third of a turn on the sphere about one corner's diagonal,
// from the midpoint of an edge: its sites keep one angle to that diagonal.
// The pattern bits pick the corner; the second arc of a face is reversed
// whenever the first is.
TEST(VoronoiTruchet, ArcsTurnAboutThePatternsCorners) {
  struct {
    int32_t pattern;
    Vec3 firstPivot, secondPivot;  // on face (1, 0, 0)
  } cases[] = {
      {0, {1, 1, 1}, {1, -1, -1}},    // K1 and K3
      {1, {1, -1, 1}, {1, 1, -1}},    // bit 0: K2, and the second arc reversed too: K4
      {64, {1, 1, 1}, {1, 1, -1}},    // bit 6: only the second arc
  };
  for (const auto& c : cases) {
    List sites;
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    o.patternCode = c.pattern;
    Build_voronoi_sites_truchet(&sites.head, &o, 8);
    const Vec3 pivots[2] = {Unit(c.firstPivot), Unit(c.secondPivot)};
    for (int32_t arc = 0; arc < 2; ++arc) {
      double angle = NAN;
      int32_t n = 0;
      for (HALFSPACE* s = GetFirstElement(&sites.head); !s->isHead; s = s->next) {
        if (s->index != arc) continue;
        ++n;
        if (std::isnan(angle)) angle = Dot(s->point, pivots[arc]);
        EXPECT_NEAR(Dot(s->point, pivots[arc]), angle, 1e-12) << "pattern " << c.pattern << " arc " << arc;
      }
      EXPECT_GE(n, 8) << "pattern " << c.pattern << " arc " << arc;
      // An edge midpoint lies at cos = sqrt(2/3) from its corner's diagonal.
      EXPECT_NEAR(angle, std::sqrt(2.0 / 3), 1e-12);
    }
  }
}

// With an arc list, each step of an arc is one segment from the previous
// site to the next, the first step of each arc marked as its start and the
// last as its end; shared arc ends are one site.
TEST(VoronoiTruchet, SegmentsFollowEveryArc) {
  for (int32_t code : {181, 200}) {
    List sites, arcs;
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    o.arcList = &arcs.head;
    build_voronoi_pointset(&sites.head, &o, code, 1);
    const int32_t steps = code == 200 ? 15 : 32;
    ASSERT_EQ(GetElementCount(&arcs.head), 12 * steps);
    int32_t starts = 0, ends = 0;
    for (HALFSPACE* a = GetFirstElement(&arcs.head); !a->isHead; a = a->next) {
      ASSERT_NE(a->parentA, nullptr);
      ASSERT_NE(a->parentB, nullptr);
      EXPECT_EQ(a->parentA->head, &sites.head) << "segments join sites";
      EXPECT_EQ(a->parentB->head, &sites.head);
      const double* p = a->parentA->point;
      const double* q = a->parentB->point;
      EXPECT_LT(std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]), 0.2) << "a segment joins neighbouring sites";
      starts += a->sliceSeed;
      ends += a->sliceMark;
    }
    EXPECT_EQ(starts, 12);
    EXPECT_EQ(ends, 12);
    EXPECT_EQ(GetElementCount(&sites.head), 12 * (steps + 1) - 12);
  }
}

}  // namespace
