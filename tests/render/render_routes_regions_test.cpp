// Regions that routes impose or paint: the two halves of the zenith-and-nadir
// sheet, the folding sphere's margin, glue strips and tabs, point by point
// through the mapping of a built view and, for the margin, through the row
// renderer; and the 18-gore layout, which only a settings record selects.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/base/task_pool.h"
#include "projection/framing.h"
#include "projection/input/input_mapping.h"
#include "projection/inverse/special_views_fold.h"
#include "projection/task_record.h"
#include "render/rows/column_record.h"
#include "render/rows/inverse_mapping.h"
#include "render/output_modes.h"
#include "render/render_services.h"
#include "render/routes/routes_views.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

constexpr int kWidth = 96, kHeight = 48;

// A 2:1 host with an equirectangular input pyramid, its view built for
// `outputMode` as the first row of a pass builds it.
struct MappingHost : RowRenderHarness {
  MappingHost(int32_t outputMode, float viewAngle = 120.0f, int32_t inputMode = InputMode_Equirectangular)
      : RowRenderHarness(kWidth, kHeight, 2) {
    TParameters* p = Settings();
    p->outputMode = outputMode;
    p->viewAngle = viewAngle;
    p->inputMode = inputMode;
    p->colorA[0] = 65535;
    p->colorA[1] = p->colorA[2] = 0;
    EXPECT_TRUE(PaintInput([](int x, int y, float c[4]) {
      c[0] = 0.2f + 0.3f * float(x) / kWidth;
      c[1] = 0.6f;
      c[2] = 0.3f + 0.2f * float(y) / kHeight;
    }));
  }

  ViewBuildStatus Build() { return BuildPrimaryView(host.globals, &view); }

  // Maps the point of the mode's plane as a pixel corner there is mapped.
  TransformationReply MapPlane(double x, double y) {
    double u, v;
    UnitOfPlane(Complex(x, y), view, &u, &v);
    return MapUnit(float(u), float(v));
  }
  TransformationReply MapUnit(float u, float v) {
    CrazyDoSolarRect(u, v, view, &reply, Task());
    return reply;
  }
  PerTaskStuffType* Task() { return &host.globals->taskRecords[0]; }

  vort view{};
  TransformationReply reply{};  // one slot, reused corner after corner as the row renderer does
};

TEST(RouteRegions, ZenithAndNadirForceTheirHalves) {
  struct Case {
    const char* what;
    double x, y;
    int32_t forced;  // -1: outside
  };
  const Case cases[] = {
      {"left view centre", -0.25, 0.0, 1},    {"x = 0 is the left view", 0.0, 0.0, 1},
      {"left rim", -0.5, 0.1, 1},             {"top edge is inside", -0.1, -0.25, 1},
      {"bottom edge is inside", -0.1, 0.25, 1}, {"just right of the seam", 1e-9, 0.0, 2},
      {"right view centre", 0.25, 0.0, 2},    {"right rim", 0.5, -0.25, 2},
      {"above the views", -0.25, -0.2501, -1}, {"below the views", 0.25, 0.2501, -1},
      {"beyond the right rim", 0.5001, 0.0, -1}, {"beyond the left rim", -0.5001, 0.0, -1},
  };
  vort view{};
  for (const Case& c : cases) {
    RouteMarks marks;
    float p[3];
    uint8_t outside = 7;
    Route_ZenithNadir(Complex(c.x, c.y), view, p, &outside, &marks);
    EXPECT_EQ(outside, c.forced < 0 ? 1 : 0) << c.what;
    EXPECT_EQ(marks.forcedRegion, c.forced) << c.what;
    EXPECT_EQ(marks.regionCode, kRegionNothing) << c.what;
    EXPECT_EQ(marks.tabHit, 0) << c.what;
  }
}

// Through the mapping, the forced half is the region code: the two views
// never share a region, so pixels are not blended across the seam.
TEST(RouteRegions, ZenithAndNadirHalvesAreRegionsOneAndTwo) {
  MappingHost h(OutputMode_ZenithNadir);
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  struct Case {
    double x, y;
    int32_t region;
  };
  const Case cases[] = {{0.0, 0.0, 1},    {-0.25, 0.25, 1}, {-0.4, -0.25, 1}, {0.01, 0.0, 2},
                        {0.3, 0.25, 2},   {0.45, -0.25, 2}, {-0.2, 0.0, 1},   {0.2, 0.1, 2}};
  for (const Case& c : cases) {
    const TransformationReply r = h.MapPlane(c.x, c.y);
    EXPECT_EQ(r.regionCode, c.region) << c.x << ", " << c.y;
    EXPECT_GE(r.inputU, 0.0f);
    EXPECT_LE(r.inputU, 1.0f);
    EXPECT_EQ(r.sheetCell, -1);
  }
  // The left view looks up, the right one down.
  EXPECT_GT(h.MapPlane(-0.25, 0.0).spherePoint[1], 0.99f);
  EXPECT_LT(h.MapPlane(0.25, 0.0).spherePoint[1], -0.99f);
}

// Where the input has no picture the point is void, whatever region the
// route imposed: a straight-view input cannot see the zenith.
TEST(RouteRegions, AVoidInputBeatsAForcedRegion) {
  MappingHost h(OutputMode_ZenithNadir, 120.0f, InputMode_Rectilinear);
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.MapPlane(-0.25, 0.0).regionCode, kRegionVoid);
  EXPECT_EQ(h.MapPlane(0.25, 0.0).regionCode, kRegionVoid);
}

// The folding sphere of three tabs (view angle 15): the margin before the
// first tab is outside and painted in the first colour, the glue strips
// stay glue, the tabs are a surface. Cases run on one reply slot and one
// task, so nothing of a corner may leak into the next.
TEST(RouteRegions, FoldingSpherePaintsMarginGlueAndTabs) {
  MappingHost h(OutputMode_FoldingSphere, 15.0f);
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  ASSERT_EQ(h.view.goreCount, 3.0f);
  const double n = 3.0, w = 1.0 / (6.0 * n);  // half a glue strip's width
  const double tab0 = -0.5 + w;               // where tab 0 begins
  const float halfHeight = GetZorFoldingSphereCompleteHeight(3.0f, 1.0f) / 2.0f;
  struct Case {
    const char* what;
    double x, y;
    int32_t region, glueMark;
    uint8_t tabHit;
  };
  const Case cases[] = {
      {"middle of the margin", -0.5, 0.0, kRegionColorA, -1, 1},
      {"tab picture", tab0 + 0.5 / n, 0.0, kRegionSurface, -1, 0},
      {"margin, just before tab 0", tab0 - 1e-4, 0.05, kRegionColorA, -1, 1},
      {"glue strip of tab 0", tab0 + 1.0 / (6.0 * n), 0.0, kRegionGlueStrip, 1, 0},
      {"tab 1 picture", tab0 + 1.5 / n, 0.02, kRegionSurface, -1, 0},
      {"glue strip of tab 2", tab0 + 2.0 / n + 1.0 / (6.0 * n), -0.02, kRegionGlueStrip, 1, 0},
      {"above the sheet", tab0 + 0.5 / n, double(halfHeight) + 0.01, kRegionNothing, -1, 0},
      {"glue band above the strip", tab0 + 0.9 / n, double(halfHeight) - 0.005, kRegionSurface, -1, 0},
      {"left of the margin", -0.5 - 2.5 * w, 0.0, kRegionNothing, -1, 0},
  };
  for (const Case& c : cases) {
    const TransformationReply r = h.MapPlane(c.x, c.y);
    EXPECT_EQ(r.regionCode, c.region) << c.what;
    EXPECT_EQ(r.glueMark, c.glueMark) << c.what;
    EXPECT_EQ(h.Task()->outputHint.tabHit, c.tabHit) << c.what;
    const bool mapped = c.region == kRegionSurface || c.region == kRegionGlueStrip;
    EXPECT_EQ(r.inputU >= 0.0f && r.inputU <= 1.0f, mapped) << c.what << " " << r.inputU;
  }
}

// Rendered through the row renderer, every pixel wholly inside the margin
// shows the first colour, every pixel wholly off the sheet the backdrop,
// and the tabs show the picture.
TEST(RouteRegions, FoldingSphereMarginIsPaintedInTheFirstColour) {
  MappingHost h(OutputMode_FoldingSphere, 15.0f);
  const std::vector<uint8_t> picture = h.RenderFinal();
  Globals* g = h.globals();

  // Classify each pixel by the folding sphere at its four corners.
  const vort& view = g->storage->view;
  auto regionAt = [&](int px, int py) {
    fcomplex z;
    UF_to_snuggle(float(px) / kWidth, float(py) / kHeight, &z, &view.snuggle);
    float p[3];
    uint8_t outside;
    int32_t region, glue;
    GetZorFoldingSphere(float(z.re), float(z.im), view.goreCount, 1.0f, p, &outside, &region, &glue);
    return region;
  };
  int margin = 0, off = 0, tab = 0;
  for (int py = 0; py < kHeight; ++py) {
    for (int px = 0; px < kWidth; ++px) {
      const int32_t r = regionAt(px, py);
      if (r != regionAt(px + 1, py) || r != regionAt(px, py + 1) || r != regionAt(px + 1, py + 1)) continue;
      const uint8_t* rgb = &picture[(size_t(py) * kWidth + px) * 3];
      if (r == kFoldRegionMargin) {
        ++margin;
        EXPECT_EQ(rgb[0], 255) << px << ", " << py;
        EXPECT_EQ(rgb[1], 0) << px << ", " << py;
        EXPECT_EQ(rgb[2], 0) << px << ", " << py;
      } else if (r == kFoldRegionNothing) {
        ++off;
        EXPECT_EQ(rgb[0], 255) << px << ", " << py;  // the white backdrop
        EXPECT_EQ(rgb[1], 255) << px << ", " << py;
      } else if (r == kFoldRegionTab) {
        ++tab;
        EXPECT_NEAR(rgb[1], 153, 3) << px << ", " << py;  // the input's green 0.6
      }
    }
  }
  EXPECT_GT(margin, 50);
  EXPECT_GT(off, 500);
  EXPECT_GT(tab, 300);
}

// Mode 1044 has no scripting code; a settings record that names it renders
// eighteen gores side by side, each centred on its own meridian.
TEST(RouteRegions, EighteenGoresFromTheSettingsRecord) {
  MappingHost h(OutputMode_Gores18);
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.view.goreCount, 18.0f);
  // At a high latitude the gores are narrow and apart: count them.
  int runs = 0;
  bool inside = false;
  for (int i = 0; i < 1800; ++i) {
    const TransformationReply r = h.MapUnit((float(i) + 0.5f) / 1800.0f, 0.9f);
    const bool now = r.regionCode == kRegionSurface;
    if (now && !inside) ++runs;
    inside = now;
  }
  EXPECT_EQ(runs, 18);
  // On the equator, gore k's centre shows the meridian k/18 of a turn from
  // gore 0's.
  const float first = h.MapUnit(0.5f / 18.0f, 0.5f).inputU;
  for (int k = 0; k < 18; ++k) {
    const TransformationReply r = h.MapUnit((float(k) + 0.5f) / 18.0f, 0.5f);
    ASSERT_EQ(r.regionCode, kRegionSurface) << k;
    EXPECT_NEAR(r.inputV, 0.5f, 1e-4f) << k;
    float d = std::fabs(r.inputU - first) * 18.0f;
    d = std::fmod(d, 18.0f);
    EXPECT_NEAR(d, std::round(d), 1e-3f) << k;
    EXPECT_NEAR(std::fmin(d, 18.0f - d), std::fmin(float(k), 18.0f - float(k)), 1e-3f) << k;
  }
}

}  // namespace
