#include "projection/input/input_mapping.h"

#include <cmath>

#include "projection/input/input_modes_azimuthal.h"
#include "projection/input/input_modes_cylindrical.h"
#include "projection/input/input_modes_nets.h"

namespace {

struct InputModeRow {
  int32_t mode;
  InputRoute route;
  int32_t category;  // 1: needs the input polyhedron
};

constexpr InputModeRow kInputModes[] = {
    {InputMode_Equirectangular, InputEquirectangular, 0},
    {InputMode_MirrorBall, InputMirrorBall, 0},
    {InputMode_Polar, InputPolar, 0},
    {InputMode_Orthographic, InputOrthographic, 0},
    {InputMode_Cylindrical, InputCylindrical, 0},
    {InputMode_MirrorBallK1149, InputMirrorBallK1149, 0},
    {InputMode_Mollweide, InputMollweide, 0},
    {InputMode_HalfPolar, InputHalfPolar, 0},
    {InputMode_FullFrameFisheye, InputFullFrameFisheye, 0},
    {InputMode_Rectilinear, InputRectilinear, 0},
    {InputMode_CubeFaceLayers, InputCubeFaceLayers, 0},
    {InputMode_Gores12, InputGores12, 0},
    {InputMode_EquirectangularHalf, InputEquirectangularHalf, 0},
    {InputMode_TwoCircles, InputTwoCircles, 0},
    {InputMode_Stereographic, InputStereographic, 0},
    {InputMode_EquirectangularQuarter, InputEquirectangularQuarter, 0},
    {InputMode_Robinson, InputRobinson, 0},
    {InputMode_MirrorBallK155, InputMirrorBallK155, 0},
    {InputMode_Gores12Half, InputGores12Half, 0},
    {InputMode_Mercator, InputMercator, 0},
    {InputMode_Lagrange, InputLagrange, 0},
    {InputMode_WinkelTripel, InputWinkelTripel, 0},
    {InputMode_Hammer, InputHammer, 0},
    {InputMode_EqualAreaCylinder, InputEqualAreaCylinder, 0},
    {InputMode_Gores6, InputGores6, 0},
    {InputMode_ZenithNadir, InputZenithNadir, 0},
    {InputMode_HorizontalCross, InputHorizontalCross, 0},
    {InputMode_VerticalCross, InputVerticalCross, 0},
    {InputMode_PolyhedronNet, InputPolyhedronNet, 1},
    {InputMode_Oval, InputOval, 0},
};

constexpr int32_t kModeCount = kLastInputMode - kFirstInputMode + 1;
static_assert(sizeof(kInputModes) / sizeof(kInputModes[0]) == kModeCount, "one row per input mode");

constexpr bool RowsInModeOrder() {
  for (int32_t i = 0; i < kModeCount; ++i) {
    // (Whether each row has a route is not asked here: with sanitizers on,
    // function addresses are not constant expressions.)
    if (kInputModes[i].mode != kFirstInputMode + i) return false;
  }
  return true;
}
static_assert(RowsInModeOrder(), "row i is mode i + 1");

const InputModeRow* RowFor(int32_t inputMode) {
  if (inputMode < kFirstInputMode || inputMode > kLastInputMode) return nullptr;
  return &kInputModes[inputMode - kFirstInputMode];
}

}  // namespace

void RouteSphereToInput(int32_t inputMode, const InputQuery& q, InputAnswer* a) {
  const InputModeRow* row = RowFor(inputMode);
  if (row != nullptr) {
    row->route(q, a);
  } else {
    // The view build refuses unknown modes; should one slip through, it
    // maps nothing rather than reading past the table.
    MarkOutsideNoLayer(a);
  }
}

int32_t InputModeCategory(int32_t inputMode) {
  const InputModeRow* row = RowFor(inputMode);
  return row != nullptr ? row->category : 0;
}
