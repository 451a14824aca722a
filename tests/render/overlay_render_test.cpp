// The overlays through the row renderer: whole pictures rendered row by row
// through DoSolarRect on worker tasks, as the frame drives a final render,
// from a flat grey input, so that every dark pixel is overlay.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/settings/tparameters.h"
#include "render/rows/column_record.h"
#include "render/render_services.h"
#include "support/row_render_harness.h"

namespace {

constexpr float kGrey = 0.8f;
constexpr int kGreyByte = 204;
constexpr int kDark = 185;  // below this a pixel of the grey input carries a line

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  int Red(int x, int y) const { return rgb[(size_t(y) * width + x) * 3]; }
  bool Dark(int x, int y) const { return Red(x, y) < kDark; }
};

struct Settings {
  int32_t outputMode = 1;
  int32_t graticule = Graticule_Off;
  bool tissot = false, edges = false;
  int tasks = 2;
};

Picture Render(int width, int height, const Settings& s) {
  RowRenderHarness h(width, height, s.tasks);
  TParameters* p = h.Settings();
  p->outputMode = s.outputMode;
  p->graticule = s.graticule;
  p->tissotOn = s.tissot ? 1 : 0;
  p->edgesOn = s.edges ? 1 : 0;
  EXPECT_TRUE(h.PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = kGrey; }));
  return Picture{width, height, h.RenderFinal()};
}

// Distance from v to the nearest multiple of step.
double OffGrid(double v, double step) {
  const double k = std::round(v / step);
  return std::fabs(v - k * step);
}

// Graticule on the equirectangular map: meridians every 180/N degrees at
// the columns x = k W / 2N (only every 90 degrees inside the first and last
// latitude bands), parallels at the rows y = k H / N, each within a pixel.
TEST(OverlayRender, GraticuleLinesOnTheEquirectangularMap) {
  constexpr int W = 720, H = 360;
  const int bands[] = {36, 30, 18, 12, 6, 4};
  for (int32_t g = 2; g <= 7; ++g) {
    Settings s;
    s.graticule = g;
    const Picture pic = Render(W, H, s);
    const int n = bands[g - 2];
    const double column = double(W) / (2 * n), row = double(H) / n;
    const double polarColumn = W / 4.0;
    int stray = 0;
    for (int y = 0; y < H; ++y) {
      // Boundary pixels (x, y) lie between corner lines x - 1 and x.
      const double cy = y - 0.5;
      const bool polar = cy < row - 1.5 || cy > H - row + 0.5;
      const bool nearPolarBand = cy < row + 1.5 || cy > H - row - 1.5;
      for (int x = 0; x < W; ++x) {
        if (!pic.Dark(x, y)) continue;
        const double cx = x - 0.5;
        const bool onParallel = OffGrid(cy, row) <= 1.5;
        const bool onMeridian = OffGrid(cx, polar ? polarColumn : column) <= 1.5 ||
                                (nearPolarBand && OffGrid(cx, polarColumn) <= 1.5);
        if (!onParallel && !onMeridian) ++stray;
      }
    }
    EXPECT_EQ(stray, 0) << "graticule " << g;
    // Every line is there: each meridian crosses the middle of the first
    // band below the polar one, each parallel the middle of a column cell.
    const int midRow = int(1.5 * row), midColumn = int(0.5 * column) + 1;
    for (int k = 1; k < 2 * n; ++k) {
      const int x = int(std::lround(k * column));
      EXPECT_TRUE(pic.Dark(x - 1, midRow) || pic.Dark(x, midRow) || pic.Dark(x + 1, midRow))
          << "graticule " << g << " meridian " << k;
    }
    for (int k = 1; k < n; ++k) {
      const int y = int(std::lround(k * row));
      EXPECT_TRUE(pic.Dark(midColumn, y - 1) || pic.Dark(midColumn, y) || pic.Dark(midColumn, y + 1))
          << "graticule " << g << " parallel " << k;
    }
  }
  // Graticule off: the flat input everywhere.
  const Picture off = Render(W, H, Settings{});
  for (size_t i = 0; i < off.rgb.size(); ++i) ASSERT_NEAR(off.rgb[i], kGreyByte, 1) << i;
}

// Connected sets of dark pixels; the map wraps round at its left and right
// edges, so a ring cut by the seam counts once.
int CountRings(const Picture& pic) {
  std::vector<int> label(size_t(pic.width) * pic.height, 0);
  std::vector<int> stack;
  int rings = 0;
  for (int y0 = 0; y0 < pic.height; ++y0) {
    for (int x0 = 0; x0 < pic.width; ++x0) {
      if (!pic.Dark(x0, y0) || label[size_t(y0) * pic.width + x0]) continue;
      ++rings;
      stack.assign(1, y0 * pic.width + x0);
      label[size_t(y0) * pic.width + x0] = rings;
      while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const int x = at % pic.width, y = at / pic.width;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = (x + dx + pic.width) % pic.width, ny = y + dy;
            if (ny < 0 || ny >= pic.height || !pic.Dark(nx, ny)) continue;
            int& l = label[size_t(ny) * pic.width + nx];
            if (l) continue;
            l = rings;
            stack.push_back(ny * pic.width + nx);
          }
        }
      }
    }
  }
  return rings;
}

// 126 circles on seven parallels (every 20 degrees of longitude, every 40
// near the poles) and one round each pole: 128 rings of one size.
TEST(OverlayRender, TissotRings) {
  constexpr int W = 720, H = 360;
  Settings s;
  s.tissot = true;
  const Picture pic = Render(W, H, s);
  EXPECT_EQ(CountRings(pic), 128);
  // A circle of chord radius sqrt(0.005) spans about 4 degrees: 8 pixels
  // up and down from its centre, which stays clear.
  for (int r = 2; r <= 7; ++r) {
    const int cy = r * H / 9;
    for (int c = 0; c < 18; ++c) {
      const int cx = c * W / 18;
      const int x = cx % W;
      EXPECT_FALSE(pic.Dark(x, cy)) << r << ", " << c;
      bool above = false, below = false;
      for (int d = 6; d <= 10; ++d) {
        for (int dx = -1; dx <= 1; ++dx) {
          above = above || pic.Dark((x + dx + W) % W, cy - d);
          below = below || pic.Dark((x + dx + W) % W, cy + d);
        }
      }
      EXPECT_TRUE(above && below) << "circle on parallel " << r << " meridian " << c;
    }
  }
}

// Mollweide with edges: the only region boundary is the ellipse's rim
// (the map against the transparent outside), and only it is traced.
TEST(OverlayRender, EdgesTraceTheMollweideRim) {
  constexpr int W = 360, H = 180;
  Settings s;
  s.outputMode = 46;
  const Picture plain = Render(W, H, s);
  s.edges = true;
  const Picture edged = Render(W, H, s);
  // Inside the map the plain picture is the grey input; outside, the white
  // backdrop; the rim pixels lie between.
  const auto inside = [&](int x, int y) { return plain.Red(x, y) <= kGreyByte + 1; };
  const auto nearRim = [&](int x, int y) {
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const int nx = x + dx, ny = y + dy;
        // The ellipse touches the picture's edges: past them is outside.
        const bool past = nx < 0 || ny < 0 || nx >= W || ny >= H;
        if ((past ? false : inside(nx, ny)) != inside(x, y)) return true;
      }
    }
    return false;
  };
  int dark = 0, rim = 0, rimDark = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const bool r = nearRim(x, y);
      rim += r;
      if (edged.Dark(x, y)) {
        ++dark;
        EXPECT_TRUE(r) << "dark pixel away from the rim at " << x << ", " << y;
        rimDark += r;
      }
    }
  }
  // The ellipse is about 3.1 (W/2 + H/2) = 840 pixels round; most of its
  // rim pixels carry the line.
  EXPECT_GT(dark, 500);
  EXPECT_GT(rim, 0);
  // Without edges, no rim pixel is darker than the input.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_FALSE(plain.Dark(x, y)) << x << ", " << y;
}

// Every overlay at once, on a map with a rim and a seam: the same bytes
// however the rows are split between tasks.
TEST(OverlayRender, SameBytesAtAnyTaskCount) {
  constexpr int W = 360, H = 180;
  for (const int32_t mode : {46, 1}) {
    Settings s;
    s.outputMode = mode;
    s.graticule = 4;
    s.tissot = true;
    s.edges = true;
    s.tasks = 1;
    const Picture one = Render(W, H, s);
    int dark = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) dark += one.Dark(x, y);
    EXPECT_GT(dark, 1000) << "mode " << mode;
    for (const int tasks : {2, 8}) {
      s.tasks = tasks;
      EXPECT_TRUE(Render(W, H, s).rgb == one.rgb) << "mode " << mode << " on " << tasks << " tasks";
    }
  }
}

// The marble surface lights the orthographic disc that mode 134 shows flat.
TEST(OverlayRender, MarbleSurfaceIsLit) {
  constexpr int W = 96, H = 48;
  Settings s;
  s.outputMode = 134;
  const Picture flat = Render(W, H, s);
  s.outputMode = 139;
  const Picture lit = Render(W, H, s);
  int changed = 0, disc = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      if (flat.Red(x, y) == 255) {
        EXPECT_EQ(lit.Red(x, y), 255) << "backdrop at " << x << ", " << y;
      }
      if (flat.Red(x, y) != kGreyByte) continue;
      ++disc;
      changed += lit.Red(x, y) != kGreyByte;
    }
  }
  EXPECT_GT(disc, 500);
  EXPECT_EQ(changed, disc);
}

}  // namespace
