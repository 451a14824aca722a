// Sampling and compositing of one pixel: how its corners are classified,
// the colours of regions without input, the seam-aware corner average, and
// the two compositing rules.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/base/task_pool.h"
#include "frame/globals.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_footprint.h"
#include "render/rows/adaptive_sampling.h"
#include "render/rows/column_record.h"
#include "render/rows/inverse_mapping.h"
#include "render/output/compositing.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

TEST(CornerAverage, TakesTheShortWayAcrossTheSeam) {
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.98f, 0.02f, true, true), 0.0f);
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.90f, 0.04f, true, true), 0.97f);
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.98f, 0.02f, false, true), 0.5f);  // no wrap: plain mean
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.98f, 0.02f, true, false), 1.0f);  // v keeps its excess
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(-1.0f, 0.3f, true, true), 0.3f);    // -1 is missing
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.3f, -1.0f, true, true), 0.3f);
  EXPECT_FLOAT_EQ(CombineCornerCoordinate(0.2f, 0.4f, true, true), 0.3f);
}

TEST(Compositing, AOverBAndOverTheOpaquePortion) {
  float b[4] = {0.0f, 0.0f, 1.0f, 0.5f};
  const float a[4] = {1.0f, 0.0f, 0.0f, 0.5f};
  CompositeAoverB(a, b);
  EXPECT_FLOAT_EQ(b[3], 0.75f);
  EXPECT_FLOAT_EQ(b[0], 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(b[2], 1.0f / 3.0f);
  float c[4] = {0.0f, 0.0f, 1.0f, 0.5f};
  CompositeAoverOpaquePortionOfB(a, c);
  EXPECT_FLOAT_EQ(c[0], 0.5f);
  EXPECT_FLOAT_EQ(c[2], 0.5f);
  EXPECT_FLOAT_EQ(c[3], 0.5f);  // alpha kept
  const float clear[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  float d[4] = {0.2f, 0.3f, 0.4f, 0.0f};
  CompositeAoverB(clear, d);  // nothing to lay over: no 0/0
  EXPECT_FLOAT_EQ(d[0], 0.2f);
  EXPECT_FLOAT_EQ(d[3], 0.0f);
}

// A pixel of one sample skips the average's arithmetic; it must give the
// bits the average of one gives: composited over nothing, weighed by alpha
// in double, divided by the alpha again. Specials go the long way, finite
// colours the short one, both checked here.
TEST(Compositing, ALoneSampleGivesTheAveragesBits) {
  const auto average = [](const float sample[4], float out[4]) {
    float front[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    CompositeAoverB(sample, front);
    const double r = 0.0 + double(front[0]) * front[3], g = 0.0 + double(front[1]) * front[3];
    const double b = 0.0 + double(front[2]) * front[3], a = 0.0 + front[3];
    if (a > 0.0) {
      out[0] = float(r / a), out[1] = float(g / a), out[2] = float(b / a), out[3] = float(a / 1);
    } else {
      out[0] = float(r), out[1] = float(g), out[2] = float(b), out[3] = float(a);
    }
  };
  const float inf = INFINITY, nan = NAN, tiny = 1e-45f, huge = 3.4e38f;
  std::vector<std::array<float, 4>> cases = {
      {0.25f, 0.5f, 0.75f, 1.0f},   {-0.0f, 0.0f, -0.0f, 1.0f}, {-0.0f, 0.3f, 0.2f, 0.5f},
      {0.1f, 0.2f, 0.3f, 0.0f},     {0.1f, 0.2f, 0.3f, -0.0f},  {0.1f, 0.2f, 0.3f, -0.5f},
      {0.1f, -0.2f, 1.7f, 0.999f},  {0.4f, 0.5f, 0.6f, 1.5f},   {0.4f, 0.5f, 0.6f, tiny},
      {tiny, -tiny, huge, 0.7f},    {huge, -huge, 0.0f, huge},  {0.4f, 0.5f, 0.6f, inf},
      {nan, 0.5f, 0.6f, 1.0f},      {0.4f, inf, 0.6f, 0.5f},    {0.4f, 0.5f, 0.6f, nan},
      {-inf, 0.5f, 0.6f, 0.0f},     {0.0f, 0.0f, -0.0f, 1.0f},  {-0.0f, -0.0f, -0.0f, -0.0f},
  };
  uint32_t bits = 12345;
  for (int i = 0; i < 2000; ++i) {
    std::array<float, 4> c;
    for (float& v : c) v = float((bits = bits * 1664525u + 1013904223u) >> 8) / float(1 << 24) * 2.5f - 0.5f;
    cases.push_back(c);
  }
  for (const auto& c : cases) {
    float lone[4], reference[4];
    FinishLoneSample(c.data(), lone);
    average(c.data(), reference);
    for (int k = 0; k < 4; ++k) {
      const bool bothNan = std::isnan(lone[k]) && std::isnan(reference[k]);
      EXPECT_TRUE(bothNan || std::memcmp(&lone[k], &reference[k], sizeof(float)) == 0)
          << "channel " << k << " of (" << c[0] << ", " << c[1] << ", " << c[2] << ", " << c[3] << "): " << lone[k]
          << " against " << reference[k];
    }
  }
}

// An opaque colour hides the backdrop to the last bit: every dark 8-bit
// level over white must still truncate back to itself.
TEST(Compositing, OpaqueColourOverALightBackdropKeepsItsLevel) {
  for (int32_t level = 0; level < 256; ++level) {
    const float a[4] = {float(level) / 255.0f, float(level) / 255.0f, 0.0f, 1.0f};
    float over[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    CompositeAoverB(a, over);
    float portion[4] = {1.0f, 1.0f, 1.0f, 0.5f};
    CompositeAoverOpaquePortionOfB(a, portion);
    EXPECT_EQ(int32_t(over[0] * 255.0f), level);
    EXPECT_EQ(over[3], 1.0f);
    EXPECT_EQ(int32_t(portion[0] * 255.0f), level);
    EXPECT_EQ(portion[3], 0.5f);
  }
}

TransformationReply ReplyIn(int32_t region, int32_t layer = 0) {
  TransformationReply r;
  ResetTransformationReply(&r);
  r.regionCode = region;
  r.layer = layer;
  return r;
}

TEST(ArtificialColours, ByRegion) {
  vort v{};
  v.colorAUnit[0] = 0.8f;
  v.colorMidUnit[1] = 0.6f;
  float c[4];
  GetArtificialRegionColors(ReplyIn(kRegionColorA), v, c);
  EXPECT_EQ(c[0], 0.8f);
  EXPECT_EQ(c[3], 1.0f);
  GetArtificialRegionColors(ReplyIn(kRegionVoid), v, c);
  EXPECT_EQ(c[1], 0.6f);
  EXPECT_EQ(c[3], 1.0f);
  v.transparentVoid = 1;
  GetArtificialRegionColors(ReplyIn(kRegionVoid), v, c);
  EXPECT_EQ(c[3], 0.0f);
  GetArtificialRegionColors(ReplyIn(kRegionNothing), v, c);
  EXPECT_EQ(c[3], 0.0f);
  v.falseColors = 1;
  GetArtificialRegionColors(ReplyIn(3), v, c);  // k = 5
  EXPECT_FLOAT_EQ(c[0], 100.0f / 255.0f);
  EXPECT_FLOAT_EQ(c[1], 185.0f / 255.0f);
  EXPECT_FLOAT_EQ(c[2], 245.0f / 255.0f);

  EXPECT_TRUE(IsNonSampleableRegion(ReplyIn(kRegionNothing), v));
  EXPECT_TRUE(IsNonSampleableRegion(ReplyIn(kRegionColorA), v));
  EXPECT_TRUE(IsNonSampleableRegion(ReplyIn(-10002), v));
  EXPECT_TRUE(IsNonSampleableRegion(ReplyIn(4), v));  // false colours on
  EXPECT_FALSE(IsNonSampleableRegion(ReplyIn(kRegionSurface), v));
  v.falseColors = 0;
  EXPECT_FALSE(IsNonSampleableRegion(ReplyIn(4), v));
}

// Two column records make one pixel (x = 0, row 0, newest slot 0), its four
// corners set directly.
struct OnePixel {
  OnePixel() {
    ResetColumnRecords(records, 2);
    view.colorMidUnit[3] = 1.0f;
    view.transparentVoid = 1;
    job.view = &view;
    job.records = records;
    job.replySlot = 0;
    job.quality = 3;
    job.task = &task;
    job.state = &state;
  }
  // Corners in the order newest-right, newest-left, previous-right, previous-left.
  void Corners(const int32_t regions[4], const int32_t outside[4] = nullptr) {
    const int rec[4] = {1, 0, 1, 0}, slot[4] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k) {
      records[rec[k]].reply[slot[k]].regionCode = regions[k];
      records[rec[k]].outside[slot[k]] = outside ? outside[k] : 0;
    }
  }
  ColumnRecord records[2];
  vort view{};
  PerTaskStuffType task{};
  AnisoState state{};
  PixelSampling job{};
  SuperSamplerReply ssr{};
  float colour[4] = {9, 9, 9, 9};
};

TEST(PixelClassification, VoidWithTransparentVoidIsOneClearSample) {
  OnePixel p;
  const int32_t voids[4] = {kRegionVoid, kRegionVoid, kRegionVoid, kRegionVoid};
  p.Corners(voids);
  for (const int32_t quality : {1, 2}) {
    p.job.quality = quality;
    GetAdaptivelySampledColor(p.job, 0, 0, &p.ssr, p.colour);
    EXPECT_EQ(p.ssr.boundaryKind, 0);
    EXPECT_EQ(p.ssr.sampleCount, 1);
    for (const float c : p.colour) EXPECT_EQ(c, 0.0f);
  }
}

TEST(PixelClassification, CornersThatDifferOnlyInTheOutsideFlagAreABoundary) {
  OnePixel p;
  const int32_t same[4] = {kRegionVoid, kRegionVoid, kRegionVoid, kRegionVoid};
  const int32_t rowDiffers[4] = {1, 0, 1, 0};  // the right column is outside
  p.Corners(same, rowDiffers);
  p.job.quality = 2;  // no sub-sampling at quality 2, but the pixel is still classified
  GetAdaptivelySampledColor(p.job, 0, 0, &p.ssr, p.colour);
  EXPECT_EQ(p.ssr.sampleCount, 1);
  EXPECT_EQ(p.ssr.samplingMode, 1);
  const int32_t colDiffers[4] = {1, 1, 0, 0};
  p.Corners(same, colDiffers);
  p.job.quality = 7;  // no such quality: the colour is left alone
  p.colour[0] = 9.0f;
  GetAdaptivelySampledColor(p.job, 0, 0, &p.ssr, p.colour);
  EXPECT_EQ(p.ssr.boundaryKind, 2);
  EXPECT_EQ(p.colour[0], 9.0f);
}

TEST(PixelClassification, LayersDifferAcrossAndDown) {
  OnePixel p;
  const int32_t regions[4] = {kRegionVoid, kRegionVoid, kRegionVoid, kRegionVoid};
  p.Corners(regions);
  p.records[1].reply[0].layer = 3;  // newest-right on another layer
  p.job.quality = 1;
  GetAdaptivelySampledColor(p.job, 0, 0, &p.ssr, p.colour);
  EXPECT_EQ(p.ssr.layerFlags, 3);
  EXPECT_EQ(p.ssr.cornerLayer[0], 3);
  EXPECT_EQ(p.ssr.cornerRegion[3], kRegionVoid);
  EXPECT_EQ(p.ssr.sampleCount, 1);  // quality 1 never sub-samples
}

// A Mollweide view over a painted equirectangular input, built as the
// first row of a pass builds it, and the task whose state its mappings may
// touch.
struct MappedView : RowRenderHarness {
  explicit MappedView(bool tissot, int32_t outputMode = 46, bool mirror = false, int32_t graticule = 0)
      : RowRenderHarness(64, 32, 1) {
    Settings()->outputMode = outputMode;
    Settings()->tissotOn = tissot ? 1 : 0;
    Settings()->mirrorInput = mirror ? 1 : 0;
    Settings()->graticule = graticule;
    EXPECT_TRUE(PaintInput([](int x, int y, float c[4]) {
      c[0] = float(x) / 64.0f;
      c[1] = float(y) / 32.0f;
      c[2] = 0.5f;
    }));
    EXPECT_EQ(BuildPrimaryView(globals(), &view), ViewBuild_OK);
    frame.levelWidth[0] = 64;
    frame.levelHeight[0] = 32;
  }
  PerTaskStuffType* Task() { return &globals()->taskRecords[0]; }
  // What a later mapping or the sampler could read of the task.
  std::vector<uint8_t> TaskState() {
    const PerTaskStuffType* t = Task();
    std::vector<uint8_t> bytes(sizeof t->outputHint + sizeof t->inputHint + sizeof t->tissotSearchStart);
    std::memcpy(bytes.data(), &t->outputHint, sizeof t->outputHint);
    std::memcpy(bytes.data() + sizeof t->outputHint, &t->inputHint, sizeof t->inputHint);
    std::memcpy(bytes.data() + sizeof t->outputHint + sizeof t->inputHint, &t->tissotSearchStart,
                sizeof t->tissotSearchStart);
    return bytes;
  }
  // Maps output pixel (px, py) as the super-sampler maps a sub-sample.
  TransformationReply Map(float px, float py) {
    TransformationReply r;
    Float_Pixels_to_Reply(px, py, view.previewScale, view.previewOffsetH, view.previewOffsetV,
                          &frame, view, &r, Task());
    return r;
  }
  vort view{};
  PyramidDescriptor frame{};  // the output's size, all a mapping asks of it
};

// The super-sampler leaves out the probes of a sub-sample outside the map
// only where mapping a point writes nothing but its reply: then the task
// after a point and its probes is the task after the point alone, so every
// later mapping, and so every byte, is as it was. A view whose mappings
// move a search start must keep its probes.
TEST(RimProbes, LeftOutOnlyWhereMappingLeavesNoTrace) {
  MappedView plain(false);
  EXPECT_TRUE(ProbesLeaveNoTrace(plain.view));
  int outsidePoints = 0;
  for (float py = -0.5f; py < 32.0f; py += 1.25f) {
    for (float px = -0.5f; px < 64.0f; px += 0.75f) {
      const TransformationReply point = plain.Map(px, py);
      if (!IsNonSampleableRegion(point, plain.view)) continue;
      ++outsidePoints;
      const std::vector<uint8_t> afterPoint = plain.TaskState();
      for (const float d : {0.5f, -0.5f}) {
        plain.Map(px + 0.5f, py + d);
        plain.Map(px - 0.5f, py + d);
      }
      ASSERT_EQ(plain.TaskState(), afterPoint) << px << ", " << py;
    }
  }
  EXPECT_GT(outsidePoints, 100);  // the corners of the frame lie outside the ellipse

  // Tissot spots are searched from the last one found: mapping moves it.
  MappedView tissot(true);
  ASSERT_GT(tissot.view.tissotSpotCount, 1);
  EXPECT_FALSE(ProbesLeaveNoTrace(tissot.view));
  bool moved = false;
  const int32_t start = tissot.Task()->tissotSearchStart;
  for (float py = 0.0f; py < 32.0f && !moved; py += 0.5f)
    for (float px = 0.0f; px < 64.0f && !moved; px += 0.5f) {
      tissot.Map(px, py);
      moved = tissot.Task()->tissotSearchStart != start;
    }
  EXPECT_TRUE(moved);

  // Net searches start from the last face found, in the output net and in
  // an input net; a brick sphere maps no further than its route.
  vort v = plain.view;
  v.isPolyhedral = 1;
  EXPECT_FALSE(ProbesLeaveNoTrace(v));
  v = plain.view;
  polyhedron* someNet = reinterpret_cast<polyhedron*>(&v);  // only its presence is asked
  v.inputPolyhedron = someNet;
  EXPECT_FALSE(ProbesLeaveNoTrace(v));
  v = plain.view;
  v.legoMode = 1;
  v.isPolyhedral = 1;
  EXPECT_TRUE(ProbesLeaveNoTrace(v));
}

// A run of points maps each as a point alone does, bit for bit, its input
// step taken for the whole run at once: for runs of any length (the lanes'
// tail among them), across the rim of the map, on a turned and a mirrored
// view, with the graticule and the Tissot search (whose start passes from
// point to point) on.
TEST(MappedRuns, GiveEachPointsOwnReply) {
  struct Case {
    int32_t mode;
    bool tissot, mirror;
    int32_t graticule;
  };
  const Case cases[] = {{46, false, false, 0}, {46, true, true, 4}, {1, false, true, 0}, {16, false, false, 4}};
  for (const Case& c : cases) {
    MappedView run(c.tissot, c.mode, c.mirror, c.graticule), alone(c.tissot, c.mode, c.mirror, c.graticule);
    for (const int32_t n : {1, 5, 8, 13, kMapRunCapacity}) {
      for (float py = -0.5f; py < 32.0f; py += 3.25f) {
        for (float x0 = -0.5f; x0 < 64.0f; x0 += float(n) * 0.75f) {
          float px[kMapRunCapacity], pys[kMapRunCapacity];
          TransformationReply runs[kMapRunCapacity], ones[kMapRunCapacity];
          TransformationReply* targets[kMapRunCapacity];
          int32_t hints[kMapRunCapacity];
          std::memset(runs, 0x5a, sizeof runs);
          std::memset(ones, 0x5a, sizeof ones);
          for (int32_t i = 0; i < n; ++i) {
            px[i] = x0 + 0.75f * float(i);
            pys[i] = py;
            targets[i] = &runs[i];
            hints[i] = i % 3;
          }
          MapPixelRun(px, pys, n, &run.frame, run.view, targets, hints, run.Task());
          for (int32_t i = 0; i < n; ++i) {
            alone.Task()->tissotSearchStart = i % 3;
            Float_Pixels_to_Reply(px[i], py, alone.view.previewScale, alone.view.previewOffsetH,
                                  alone.view.previewOffsetV, &alone.frame, alone.view, &ones[i], alone.Task());
            ASSERT_EQ(std::memcmp(&runs[i], &ones[i], sizeof runs[i]), 0)
                << "mode " << c.mode << " point (" << px[i] << ", " << py << ") of a run of " << n;
            ASSERT_EQ(hints[i], alone.Task()->tissotSearchStart) << "mode " << c.mode;
          }
          ASSERT_EQ(run.TaskState(), alone.TaskState()) << "mode " << c.mode;
        }
      }
    }
  }
}

}  // namespace
