// The row renderer in process: a small picture rendered row by row through
// DoSolarRect on worker tasks, as the frame drives it, in the final run mode
// (one row of buffers at a time) and in the dialog's preview (the whole
// reduced picture at once).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "frame/settings/settings_defaults.h"
#include "render/rows/column_record.h"
#include "render/render_services.h"
#include "support/fake_host.h"
#include "support/row_render_harness.h"

namespace {

constexpr int kWidth = 96, kHeight = 48;

struct RowHost : RowRenderHarness {
  RowHost(int tasks, int32_t outputMode) : RowRenderHarness(kWidth, kHeight, tasks) {
    Settings()->outputMode = outputMode;
    EXPECT_TRUE(PaintInput([](int x, int y, float c[4]) {
      c[0] = float(x) / kWidth;
      c[1] = float(y) / kHeight;
      c[2] = 0.5f + 0.4f * std::sin(x * 0.3f + y * 0.2f);
    }));
  }
};

// The tasks share each row by columns; however it is split, the bytes are
// the same (pixels on the rim of the map are super-sampled, so boundary
// pixels at a task's first and last columns are among them).
TEST(RowRenderer, AnyTaskCountGivesTheSameBytes) {
  for (const int32_t mode : {46, 3, 1}) {
    std::vector<uint8_t> reference;
    for (const int tasks : {1, 3, 5}) {
      RowHost h(tasks, mode);
      const std::vector<uint8_t> picture = h.RenderFinal();
      // The middle of every map shows the input, not the white backdrop.
      const size_t middle = (size_t(kHeight / 2) * kWidth + kWidth / 2) * 3;
      EXPECT_LT(picture[middle], 200) << "mode " << mode;
      if (reference.empty()) {
        reference = picture;
        continue;
      }
      EXPECT_TRUE(picture == reference) << "mode " << mode << " on " << tasks << " tasks";
    }
  }
}

// A second pass on the same invocation is built afresh at its first row.
TEST(RowRenderer, EachPassBuildsItsOwnView) {
  RowHost h(2, 46);
  const std::vector<uint8_t> mollweide = h.RenderFinal();
  h.host.Settings()->outputMode = 1;
  const std::vector<uint8_t> equirect = h.RenderFinal();
  EXPECT_FALSE(mollweide == equirect);
  EXPECT_EQ(mollweide[0], 255);  // the backdrop beyond the ellipse
  RowHost fresh(2, 1);
  EXPECT_TRUE(fresh.RenderFinal() == equirect);
}

// The preview renders a reduced picture into the whole buffer at once; at
// zoom-out 2 its pixels sample the full-size input every other pixel.
TEST(RowRenderer, PreviewAtHalfSize) {
  RowHost full(2, 1);
  const std::vector<uint8_t> picture = full.RenderFinal();

  RowHost h(2, 1);
  TParameters* p = h.host.Settings();
  p->runMode = RunMode_Preview;
  p->previewScale = 2;
  p->previewQuality = 3;
  constexpr int w = kWidth / 2, hgt = kHeight / 2;
  std::vector<uint8_t> preview(size_t(w) * hgt * 3), in(size_t(w) * hgt * 3, 0);
  FilterRecord& r = h.host.record;
  r.outRect = Rect{0, 0, int16_t(hgt), int16_t(w)};
  r.outRowBytes = r.inRowBytes = w * 3;
  r.outData = preview.data();
  r.inData = in.data();
  for (int y = 0; y < hgt; ++y) {
    h.host.globals->drawingRow = y;
    DoSolarRect(h.host.globals);
    ASSERT_EQ(h.host.globals->result, 0);
  }
  // Preview corner c is full-size corner 2c, so preview pixel (x, y) covers
  // full pixels 2x - 1 and 2x (and rows 2y - 1, 2y): its colour lies between
  // theirs (red and green run linearly across the picture).
  for (int y = 2; y < hgt - 2; y += 5) {
    for (int x = 2; x < w - 2; x += 7) {
      for (int c = 0; c < 2; ++c) {
        const int a = picture[(size_t(2 * y - 1) * kWidth + 2 * x - 1) * 3 + c];
        const int b = picture[(size_t(2 * y) * kWidth + 2 * x) * 3 + c];
        const int got = preview[(size_t(y) * w + x) * 3 + c];
        EXPECT_GE(got, std::min(a, b) - 1) << x << ", " << y;
        EXPECT_LE(got, std::max(a, b) + 1) << x << ", " << y;
      }
    }
  }
}

TEST(RowRenderer, FailuresAreReported) {
  {
    RowHost h(1, 46);
    h.host.record.outData = nullptr;
    std::vector<uint8_t> in(kWidth * 3);
    h.host.record.inData = in.data();
    h.host.globals->drawingRow = 0;
    DoSolarRect(h.host.globals);
    EXPECT_EQ(h.host.globals->result, kOutOfMemory);
  }
  {
    // The poly-map of a layout without a solid: refused before anything is
    // written.
    RowHost h(1, 1045);
    h.Settings()->altOutputMode = 1;
    std::vector<uint8_t> out(kWidth * 3, 7), in(kWidth * 3);
    h.host.record.outData = out.data();
    h.host.record.inData = in.data();
    h.host.record.outRect = Rect{0, 0, 1, int16_t(kWidth)};
    h.host.globals->drawingRow = 0;
    DoSolarRect(h.host.globals);
    EXPECT_EQ(h.host.globals->result, kRefused);
    EXPECT_EQ(out[0], 7);
  }
}

}  // namespace
