// Settings from outside put back to their defaults are named, one line each;
// a view angle of 0 (no image plane at all) is out of range as a negative one.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame/settings/scripting_sanitize.h"
#include "frame/settings/settings_defaults.h"
#include "frame/settings/tparameters.h"

namespace {

TEST(SanitizeReport, EveryReplacementIsListedWithGivenAndUsed) {
  const struct {
    const char* name;
    void (*spoil)(TParameters*);
    double given, used;
  } cases[] = {
      {"view angle (0037)", [](TParameters* p) { p->viewAngle = 0.0f; }, 0, 120},
      {"view angle (0037)", [](TParameters* p) { p->viewAngle = -5.0f; }, -5, 120},
      {"view angle (0014)", [](TParameters* p) { p->viewAngleInt = 0; }, 0, 120},
      {"turn (0035)", [](TParameters* p) { p->twirlY = 270.0f; }, 270, 0},
      {"tilt (0034)", [](TParameters* p) { p->twirlX = NAN; }, NAN, 0},
      {"output mode (Foky)", [](TParameters* p) { p->outputMode = 5000; }, 5000, 1},
      {"brick layers (0018)", [](TParameters* p) { p->brickLayers = 1000; }, 1000, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TParameters p{};
    SetDefaultSettings(&p);
    c.spoil(&p);
    SanitizeReport report;
    SanitizeSettings(&p, &report);
    ASSERT_EQ(report.count, 1);
    EXPECT_STREQ(report.corrections[0].name, c.name);
    if (std::isnan(c.given))
      EXPECT_TRUE(std::isnan(report.corrections[0].given));
    else
      EXPECT_EQ(report.corrections[0].given, c.given);
    EXPECT_EQ(report.corrections[0].used, c.used);
  }
  TParameters fine{};
  SetDefaultSettings(&fine);
  fine.viewAngle = 0.5f;
  SanitizeReport none;
  SanitizeSettings(&fine, &none);
  EXPECT_EQ(none.count, 0);
  EXPECT_EQ(fine.viewAngle, 0.5f);
  EXPECT_FALSE(ViewAngleInRange(0.0));
  EXPECT_TRUE(ViewAngleInRange(180.0));
}

}  // namespace
