// The dialog's own views through gyrelle's headless dialog: the colour
// swatches with their picker and colour drags, the trackball and the angle
// dial driven by drag paths, and files dragged in and out.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/e2e/dialog/script_run.h"

namespace {

struct UiPointLike {
  double x, y;
};

class CustomViews : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/gyrelle-views-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // Runs the steps, then OK (unless told not to), and answers the recorded settings.
  std::map<std::string, std::string> Run(const std::string& steps, const std::string& sets = "", bool ok = true) {
    const ScriptRun run = RunDialogScript(dir_, steps + (ok ? "click 2\n" : ""), sets, "out.png");
    status_ = run.status;
    err_ = run.err;
    return run.recorded;
  }

  std::string dir_;
  int status_ = -1;
  std::string err_;
};

TEST_F(CustomViews, ThePickerSetsColourAAndADragCarriesItToColourB) {
  auto rec = Run("picker 65535 8224 0\nclick 7\nexpect colour 7 65535 8224 0\nexpect command-ok\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0001"], "255");
  EXPECT_EQ(rec["0002"], "32");
  EXPECT_EQ(rec["0003"], "0");
  EXPECT_EQ(rec["0004"], "255");  // colour B untouched
  rec = Run(
      "picker 0 32896 65535\nclick 7\n"
      "drag 682 437 688 437 737 437\n"
      "expect colour 8 0 32896 65535\nexpect command-ok\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "0");
  EXPECT_EQ(rec["0005"], "128");
  EXPECT_EQ(rec["0006"], "255");
}

TEST_F(CustomViews, ACancelledPickerAndAStillPressChangeNothing) {
  auto rec = Run("picker cancel\nclick 8\nexpect colour 8 65535 65535 65535\n", "--set 0004=255 --set 0005=255 --set 0006=255");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "255");
  // A press that moves less than the drag threshold is a click: the picker.
  rec = Run("picker 0 0 0\ndrag 737 437 738 437\nexpect colour 8 0 0 0\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "0");
}

TEST_F(CustomViews, ThePickerWindowTakesTheUsersSliders) {
  auto rec = Run(
      "click 7\nwindow color picker\nslide 1 0\nslide 2 255\nslide 3 0\nclick 10\n"
      "window xparams\nexpect colour 7 0 65535 0\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0001"], "0");
  EXPECT_EQ(rec["0002"], "255");
  EXPECT_EQ(rec["0003"], "0");
}

// The trackball sits at window (316, 516), the dial at (410, 516), both
// 74 pixels square: side 69, scale 69/128, disc radius 57 scale units.
constexpr double kScale = 69.0 / 128, kRadius = 57 * kScale;

// The tilt and turn a trackball point (view coordinates) stands for.
void ExpectedTumble(float x, float y, double* tilt, double* turn, float* zOut) {
  float dx = float((x - 74 * 63.0 / 128) / kRadius), dy = float((y - 74 * 60.5 / 128) / kRadius);
  const float r = std::sqrt(dx * dx + dy * dy);
  if (r > 1) {
    dx /= r;
    dy /= r;
  }
  const float z = std::sqrt(std::max(0.0f, 1 - dx * dx - dy * dy));
  *tilt = std::asin(-dy) * 180 / M_PI;
  *turn = std::atan2(dx, z) * 180 / M_PI;
  *zOut = z;
}

TEST_F(CustomViews, ATrackballDragTurnsAndTiltsTheSphere) {
  auto rec = Run("window xparams\ndrag 352 551 360 545 366 536\nexpect command-ok\n");
  ASSERT_EQ(status_, 0) << err_;
  double tilt = 0, turn = 0;
  float z = 0;
  ExpectedTumble(50, 20, &tilt, &turn, &z);
  EXPECT_NEAR(std::atof(rec["0034"].c_str()), tilt, 1e-3);
  EXPECT_NEAR(std::atof(rec["0035"].c_str()), turn, 1e-3);
  EXPECT_NEAR(std::atof(rec["0036"].c_str()), 0, 1e-9) << "the spin is the dial's";

  // Far outside the disc the point stays on the rim (z = 0): nearly straight up.
  rec = Run("window xparams\ndrag 352 551 352 530 352 400\n");
  ASSERT_EQ(status_, 0) << err_;
  ExpectedTumble(36, -116, &tilt, &turn, &z);
  EXPECT_EQ(z, 0.0f);
  EXPECT_NEAR(std::atof(rec["0034"].c_str()), tilt, 1e-3);
  EXPECT_GT(tilt, 89.5);
  EXPECT_NEAR(std::atof(rec["0035"].c_str()), turn, 1e-3);

  // A press in the corner, outside the ball's square, tracks nothing.
  rec = Run("window xparams\ndrag 317 517 352 551\n", "--set 0034=12 --set 0035=-7");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(std::atof(rec["0034"].c_str()), 12);
  EXPECT_EQ(std::atof(rec["0035"].c_str()), -7);
}

TEST_F(CustomViews, TheDialSetsTheSpinAndFollowsTheSlider) {
  auto rec = Run("window xparams\ndrag 440 551 476 551\n");
  ASSERT_EQ(status_, 0) << err_;
  const UiPointLike centre{2.5 + 69 * 63.0 / 128, 2.5 + 69 * 60.5 / 128};
  const float dx = float((66 - centre.x) / kRadius), dy = float((35 - centre.y) / kRadius);
  const float r = std::sqrt(dx * dx + dy * dy);
  const double angle = std::atan2(double(dx / r), double(dy / r)) * 180 / 3.141592653;
  EXPECT_NEAR(std::atof(rec["0036"].c_str()), angle, 1e-3);
  // The slider moves the dial: its pointer then points down and to the right.
  rec = Run("window xparams\nslide 39 45\nscreenshot " + dir_ + "/dial.png\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_NEAR(std::atof(rec["0036"].c_str()), 45, 1e-9);
}

}  // namespace
