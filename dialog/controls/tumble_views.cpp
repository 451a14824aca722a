#include "dialog/controls/tumble_views.h"

#include <algorithm>
#include <cmath>

#include "dialog/controls/ball_control.h"
#include "dialog/dialog_controls.h"
#include "dialog/nib_gyre.h"
#include "platform/ui/window.h"

namespace {

constexpr double kDegrees = 180.0 / 3.141592653589793;

UiControl* View(void* window, int32_t id) {
  UiControl* c = nullptr;
  if (UiWindow* w = UiWindowFromRef(window)) UiGetControlByID(w, UiControlID{kPluginCreator, id}, &c);
  return c && c->viewClass ? c : nullptr;
}

}  // namespace

void TumbleFromBallPoint(const triplex& p, double* tilt, double* turn) {
  *tilt = std::asin(std::clamp(-p.y, -1.0, 1.0)) * kDegrees;
  *turn = (p.x == 0 && p.z == 0) ? 0.0 : std::atan2(p.x, p.z) * kDegrees;
}

triplex BallPointFromTumble(double tilt, double turn) {
  const double t = tilt / kDegrees, u = turn / kDegrees;
  return triplex{std::sin(u) * std::cos(t), -std::sin(t), std::cos(u) * std::cos(t)};
}

void ShowTumbleInViews(void* window, float tilt, float turn, float spin) {
  if (UiControl* ball = View(window, kTrackballID)) HIBallControlSetXYZ(ball, BallPointFromTumble(tilt, turn));
  if (UiControl* dial = View(window, kAngleDialID)) HIBallControlSetDegrees(dial, spin);
}

int16_t TakeTumbleFromView(void* window, FourCC command) {
  if (command == kCmdTrackball) {
    triplex point{};
    if (HIBallControlGetXYZ(View(window, kTrackballID), &point) != kUiNoErr) return 0;
    double tilt = 0, turn = 0;
    TumbleFromBallPoint(point, &tilt, &turn);
    StashValue_core(window, 37, float(tilt));
    StashValue_core(window, 57, float(turn));
    return 37;
  }
  if (command == kCmdAngleDial) {
    float degrees = 0;
    if (HIBallControlGetDegrees(View(window, kAngleDialID), &degrees) != kUiNoErr) return 0;
    StashValue_core(window, 39, degrees);
    return 39;
  }
  return 0;
}
