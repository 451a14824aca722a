#include "projection/input/input_modes_cylindrical.h"

#include <cmath>

#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

constexpr float kCylinderScale = 0.125f;  // tan(lat) of 4 fills the height of a square picture
constexpr float kQuarterShift = 1.0f / 24.0f;  // centres the quarter strip on the front
constexpr double kPiD = 3.141592653;

}  // namespace

void InputCylindrical(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  const float phi = (t - 0.5f) * kPiF;
  a->u = 1.0f - s;
  a->v = std::tan(phi) * kCylinderScale / q.aspect + 0.5f;
  if (!InUnit(a->v)) MarkOutside(a);
}

void InputEquirectangularHalf(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  a->u = 1.0f - ((2.0f * s - 1.0f) + 0.5f);
  a->v = t;
  if (!InUnit(a->u)) MarkOutside(a);
}

void InputEquirectangularQuarter(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  a->u = 1.0f - (4.0f * ((s - 0.5f) + kQuarterShift) + 0.5f);
  a->v = t;
  if (!InUnit(a->u)) MarkOutside(a);
}

// Beyond the picture's height the point is flagged but keeps its place, so
// that neighbouring corners still measure a sensible footprint.
void InputMercator(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  const float phi = (t - 0.5f) * kPiF;
  a->u = 1.0f - s;
  a->v = std::asinh(std::tan(phi)) / (q.aspect * kTwoPiF) + 0.5f;
  if (!InUnit(a->v)) a->outside = 1;
}

void InputEqualAreaCylinder(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  a->u = 1.0f - s;
  a->v = static_cast<float>(std::sin((static_cast<double>(t) - 0.5) * kPiD) / 2.0 + 0.5);
}
