// Florets whose petals are the net of a polyhedron: the view frames them by
// the floret's canvas, every petal reads the one net, and the points of the
// output land on the net's faces or nowhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "projection/task_record.h"
#include "support/fake_host.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/base/task_pool.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/nets/florets_basis.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/render_hint.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/rows/column_record.h"
#include "render/routes/crammed_floret.h"
#include "render/rows/inverse_mapping.h"
#include "render/view_build.h"
#include "render/vort.h"

namespace {

// The florets on a polyhedral base whose petal solids the catalogue builds.
constexpr int32_t kCrammedModes[] = {156, 157, 161, 162, 247, 1043};
// With them, the florets on the shuriken, star, sunburst and cross nets.
constexpr int32_t kAllCrammedModes[] = {145, 152, 153, 154, 156, 157, 158, 161, 162, 163, 166, 247, 1043};
constexpr int32_t kAllFacegroups = -1;

struct CramHost {
  CramHost() : host(64, 32, kImageModeRGB, 8, 3, false) {
    SetDefaultSettings(host.Settings());
    host.Settings()->previewScale = 1;
    EXPECT_TRUE(TryToAllocatePyramid_2006(&host.globals->pyramids[kPyramidMain], 64, 32, PyramidDataKind_Packed8, 2));
    host.StartTasks(1);
  }
  ViewBuildStatus Build(int32_t mode) {
    host.Settings()->outputMode = mode;
    const ViewBuildStatus s = BuildPrimaryView(host.globals, view.get());
    // Every triangle of the net, as the row set-up lists them for a solid
    // that is not culled by bands.
    if (s == ViewBuild_OK)
      PrepareShortTriList(view->polyhedron, 0.0f, 0.0f, kAllFacegroups, 0.0f, &task().outputHint, 0.0f, 0.0f, false);
    return s;
  }
  PerTaskStuffType& task() { return host.globals->taskRecords[0]; }
  FakeHost host;
  std::unique_ptr<vort> view = std::make_unique<vort>();
};

// The output point of a plane point of the view's framing.
void PlaneToUnit(const SnuggleRecord& s, double x, double y, float* u, float* v) {
  *u = float((x - s.centerX) / s.invScale + 0.5);
  *v = float((y - s.centerY) / (s.aspect * s.invScale) + 0.5);
}

TEST(CrammedFloret, ViewIsFramedByTheFloretCanvas) {
  CramHost h;
  for (int32_t mode : kCrammedModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    const vort& view = *h.view;
    EXPECT_TRUE(IsCrammedFloretView(view)) << "mode " << mode;
    FloretBasis basis;
    GetBasisOfWarpyPolyprojection(mode, &basis);
    EXPECT_EQ(view.floret.kind, basis.kind) << "mode " << mode;
    EXPECT_EQ(view.floret.petalCount, basis.petalCount) << "mode " << mode;
    // The frame holds the canvas, and grows past it only where petals reach.
    EXPECT_LE(view.snuggle.xMin, basis.canvasMin.re * 0.001 - 0.5) << "mode " << mode;
    EXPECT_LE(view.snuggle.yMin, basis.canvasMin.im * 0.001 - 0.5) << "mode " << mode;
    EXPECT_GE(view.snuggle.xMax, basis.canvasMax.re * 0.001 - 0.5) << "mode " << mode;
    EXPECT_GE(view.snuggle.yMax, basis.canvasMax.im * 0.001 - 0.5) << "mode " << mode;
    EXPECT_DOUBLE_EQ(view.snuggle.aspect, double(view.outputAspect)) << "mode " << mode;
  }
}

// A plain polyhedral view keeps its net's own framing and the plain search.
TEST(CrammedFloret, PlainNetsAreNotCrammed) {
  CramHost h;
  for (int32_t mode : {6, 7, 9}) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    EXPECT_FALSE(IsCrammedFloretView(*h.view)) << "mode " << mode;
  }
  EXPECT_FALSE(SetUpCrammedFloretView(h.view.get())) << "mode 9 is no floret";
}

// Every petal is the same map of the net: turning a plane point by one
// petal about the floret's centre lands on the same net triangle. Points
// that hit must lie on the sphere; points far off the canvas hit nothing.
TEST(CrammedFloret, EveryPetalReadsTheSameNet) {
  CramHost h;
  for (int32_t mode : kCrammedModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    const vort& view = *h.view;
    renderhinttype& hint = h.task().outputHint;
    const double turn = 2.0 * M_PI / view.floret.petalCount;
    int32_t hits = 0, agree = 0, tried = 0;
    for (int32_t i = 1; i < 40; ++i) {
      for (int32_t j = 1; j < 40; ++j) {
        const double x = view.snuggle.xMin + (view.snuggle.xMax - view.snuggle.xMin) * i / 40.0;
        const double y = view.snuggle.yMin + (view.snuggle.yMax - view.snuggle.yMin) * j / 40.0;
        float u, v, p[3];
        uint8_t outside = 1;
        PlaneToUnit(view.snuggle, x, y, &u, &v);
        CrammedFloretPoint(u, v, view, p, &outside, &hint);
        if (outside) continue;
        ++hits;
        EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0, 1e-4) << "mode " << mode;
        const int32_t face = hint.lastFace;
        const double xr = x * std::cos(turn) - y * std::sin(turn), yr = x * std::sin(turn) + y * std::cos(turn);
        PlaneToUnit(view.snuggle, xr, yr, &u, &v);
        CrammedFloretPoint(u, v, view, p, &outside, &hint);
        ++tried;
        if (!outside && hint.hit && hint.lastFace == face) ++agree;
      }
    }
    EXPECT_GT(hits, 200) << "mode " << mode;
    // Only points that straddle a triangle edge may tell the petals apart.
    EXPECT_GE(agree, tried * 95 / 100) << "mode " << mode;
    float p[3];
    uint8_t outside = 0;
    CrammedFloretPoint(-3.0f, -3.0f, view, p, &outside, &hint);
    EXPECT_EQ(outside, 1) << "mode " << mode;
  }
}

// Through the inverse mapping: a point on a petal is a face region under
// false colours and a sampled surface without them; a point off the floret
// shows nothing.
TEST(CrammedFloret, RegionsOfThePetals) {
  CramHost h;
  for (bool falseColors : {false, true}) {
    h.host.Settings()->falseColors = falseColors;
    for (int32_t mode : kCrammedModes) {
      ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
      const vort& view = *h.view;
      // The first point of a scan across the output that lies on a petal.
      float u = 0.0f, v = 0.0f, p[3];
      uint8_t outside = 1;
      for (int32_t k = 0; k < 400 && outside; ++k) {
        u = 0.3f + 0.02f * float(k % 20);
        v = 0.3f + 0.02f * float(k / 20);
        CrammedFloretPoint(u, v, view, p, &outside, &h.task().outputHint);
      }
      ASSERT_EQ(outside, 0) << "mode " << mode;
      TransformationReply reply{};
      CrazyDoSolarRect(u, v, view, &reply, &h.task());
      if (falseColors) {
        EXPECT_GE(reply.regionCode, 0) << "mode " << mode;
        EXPECT_GE(reply.faceRegion, 0) << "mode " << mode;
        EXPECT_EQ(reply.inputU, -1.0f) << "mode " << mode << ": a false-coloured face needs no input";
      } else {
        EXPECT_EQ(reply.regionCode, kRegionSurface) << "mode " << mode;
        EXPECT_GE(reply.inputU, 0.0f) << "mode " << mode;
        EXPECT_LE(reply.inputU, 1.0f) << "mode " << mode;
      }
      CrazyDoSolarRect(-2.0f, -2.0f, view, &reply, &h.task());
      EXPECT_EQ(reply.regionCode, kRegionNothing) << "mode " << mode;
    }
  }
}

// No petal reaches past the frame: a ring of points just outside it, finer
// than a pixel of a 4096-pixel output, is all off the floret. The petal nets
// of shark and shard reached up to 0.09 past their table canvas.
TEST(CrammedFloret, EveryFloretStaysInsideItsFrame) {
  CramHost h;
  constexpr int32_t kSteps = 1500;
  int32_t grownSides = 0;
  for (int32_t mode : kAllCrammedModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    const vort& view = *h.view;
    const SnuggleRecord& s = view.snuggle;
    const double w = s.xMax - s.xMin, ht = s.yMax - s.yMin, gap = 0.05 * std::max(w, ht);
    int32_t spills = 0;
    for (int32_t ring = 1; ring <= 8; ++ring) {
      const double d = gap * ring / 8.0;
      for (int32_t k = 0; k <= kSteps; ++k) {
        const double t = double(k) / kSteps;
        const double xs[4] = {s.xMin - d, s.xMax + d, s.xMin - d + t * (w + 2 * d), s.xMin - d + t * (w + 2 * d)};
        const double ys[4] = {s.yMin - d + t * (ht + 2 * d), s.yMin - d + t * (ht + 2 * d), s.yMin - d, s.yMax + d};
        for (int e = 0; e < 4; ++e) {
          float u, v, p[3];
          uint8_t outside = 1;
          PlaneToUnit(s, xs[e], ys[e], &u, &v);
          CrammedFloretPoint(u, v, view, p, &outside, &h.task().outputHint);
          if (!outside) ++spills;
        }
      }
    }
    // ... while a side the petals pushed past the canvas is reached by them.
    FloretBasis basis;
    GetBasisOfWarpyPolyprojection(mode, &basis);
    const bool grew[4] = {s.xMin < basis.canvasMin.re * 0.001 - 0.5, s.xMax > basis.canvasMax.re * 0.001 - 0.5,
                          s.yMin < basis.canvasMin.im * 0.001 - 0.5, s.yMax > basis.canvasMax.im * 0.001 - 0.5};
    int32_t reached[4] = {0, 0, 0, 0};
    for (int32_t k = 0; k <= kSteps; ++k) {
      const double t = double(k) / kSteps, d = 0.004 * std::max(w, ht);
      const double xs[4] = {s.xMin + d, s.xMax - d, s.xMin + t * w, s.xMin + t * w};
      const double ys[4] = {s.yMin + t * ht, s.yMin + t * ht, s.yMin + d, s.yMax - d};
      for (int e = 0; e < 4; ++e) {
        float u, v, p[3];
        uint8_t outside = 1;
        PlaneToUnit(s, xs[e], ys[e], &u, &v);
        CrammedFloretPoint(u, v, view, p, &outside, &h.task().outputHint);
        if (!outside) ++reached[e];
      }
    }
    EXPECT_EQ(spills, 0) << "mode " << mode;
    for (int e = 0; e < 4; ++e) {
      grownSides += grew[e];
      if (grew[e]) {
        EXPECT_GT(reached[e], 0) << "mode " << mode << " side " << e << ": the frame outgrew the petals";
      }
    }
  }
  EXPECT_GT(grownSides, 0) << "shark and shard reach past their table canvas";
}

// The shark florets on their icosahedron net: a petal reads the half of the
// net right of its centre, which must show the half sphere that the petal's
// lune opens, and only it, so that the petals tile the sphere.
constexpr int32_t kSharkModes[] = {156, 157};

// A rectangular sample of the view's frame: the sphere point and petal of
// every point on the floret.
struct FloretSample {
  static constexpr int32_t kSize = 240;
  bool hit[kSize][kSize] = {};
  float point[kSize][kSize][3] = {};
  int32_t petal[kSize][kSize] = {};
  int32_t hits = 0;
};

void SampleFloret(CramHost& h, FloretSample* out) {
  const vort& view = *h.view;
  renderhinttype& hint = h.task().outputHint;
  for (int32_t j = 0; j < FloretSample::kSize; ++j) {
    for (int32_t i = 0; i < FloretSample::kSize; ++i) {
      const float u = (i + 0.5f) / FloretSample::kSize, v = (j + 0.5f) / FloretSample::kSize;
      uint8_t outside = 1;
      CrammedFloretPoint(u, v, view, out->point[j][i], &outside, &hint);
      out->hit[j][i] = !outside;
      out->petal[j][i] = hint.petalIndex;
      out->hits += !outside;
    }
  }
}

// Each petal lands in its own lune about the floret's axis: the sphere
// point, turned back by its petal's share of the turn, lies within one
// petal's width of longitude. (The disk shift that slides the whole floret
// afterwards is left out, so that the lunes are exact.) The icosahedron
// map's net gave a petal a piece of sphere that reached into the lunes of
// its neighbours: a fifth of 156's points and a quarter of 157's lay outside.
TEST(CrammedFloret, SharkPetalsStayInTheirLunes) {
  CramHost h;
  for (int32_t mode : kSharkModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    h.view->floret.diskShift = 0.0;
    auto sample = std::make_unique<FloretSample>();
    SampleFloret(h, sample.get());
    const int32_t n = h.view->floret.petalCount;
    const double width = 2.0 * M_PI / n, slack = 1e-3;
    int32_t inLune = 0;
    for (int32_t j = 0; j < FloretSample::kSize; ++j) {
      for (int32_t i = 0; i < FloretSample::kSize; ++i) {
        if (!sample->hit[j][i]) continue;
        const float* p = sample->point[j][i];
        // The petals turn about the picture's depth axis.
        double lon = std::atan2(double(p[0]), -double(p[1])) + width * sample->petal[j][i];
        lon -= 2.0 * M_PI * std::floor(lon / (2.0 * M_PI));
        if (lon <= width + slack || lon >= 2.0 * M_PI - slack) ++inLune;
      }
    }
    EXPECT_GT(sample->hits, 10000) << "mode " << mode;
    EXPECT_GE(inLune, sample->hits * 998 / 1000) << "mode " << mode;
  }
}

// About the centre the petals meet edge to edge: a small circle round it
// lies wholly on the floret and its points run on over the seams without a
// jump on the sphere.
TEST(CrammedFloret, SharkPetalsMeetAtTheCentre) {
  CramHost h;
  constexpr int32_t kSteps = 4000;
  for (int32_t mode : kSharkModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    const vort& view = *h.view;
    for (double r : {0.02, 0.06, 0.12}) {
      int32_t off = 0, jumps = 0;
      float prev[3] = {0, 0, 0};
      for (int32_t k = 0; k <= kSteps; ++k) {
        const double a = 2.0 * M_PI * k / kSteps;
        float u, v, p[3];
        uint8_t outside = 1;
        PlaneToUnit(view.snuggle, r * std::cos(a), r * std::sin(a), &u, &v);
        CrammedFloretPoint(u, v, view, p, &outside, &h.task().outputHint);
        if (outside) {
          ++off;
          continue;
        }
        const double d = std::hypot(p[0] - prev[0], p[1] - prev[1], p[2] - prev[2]);
        if (k > 0 && d > 0.05) ++jumps;
        std::copy(p, p + 3, prev);
      }
      EXPECT_EQ(off, 0) << "mode " << mode << " radius " << r;
      EXPECT_EQ(jumps, 0) << "mode " << mode << " radius " << r;
    }
  }
}

// The petals make one outline: the points on the floret are one connected
// region of the frame (notches cut into it, but no petal comes apart).
TEST(CrammedFloret, SharkPetalsMakeOneOutline) {
  CramHost h;
  constexpr int32_t N = FloretSample::kSize;
  for (int32_t mode : kSharkModes) {
    ASSERT_EQ(h.Build(mode), ViewBuild_OK) << "mode " << mode;
    auto sample = std::make_unique<FloretSample>();
    SampleFloret(h, sample.get());
    std::vector<uint8_t> seen(N * N, 0);
    int32_t largest = 0;
    for (int32_t start = 0; start < N * N; ++start) {
      if (seen[start] || !sample->hit[start / N][start % N]) continue;
      std::vector<int32_t> stack = {start};
      seen[start] = 1;
      int32_t size = 0;
      while (!stack.empty()) {
        const int32_t c = stack.back();
        stack.pop_back();
        ++size;
        const int32_t x = c % N, y = c / N;
        const int32_t next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& q : next) {
          if (q[0] < 0 || q[0] >= N || q[1] < 0 || q[1] >= N) continue;
          const int32_t d = q[1] * N + q[0];
          if (!seen[d] && sample->hit[q[1]][q[0]]) {
            seen[d] = 1;
            stack.push_back(d);
          }
        }
      }
      largest = std::max(largest, size);
    }
    // A sample that grazes a notch may leave a lone point.
    EXPECT_GE(largest, sample->hits * 998 / 1000) << "mode " << mode;
  }
}

}  // namespace
