// projection/input/: where a direction on the sphere lies in the input image, for every input mode.
// Where a direction on the sphere lies in the input image, for each of the
// 30 input layouts: unit coordinates (u, v) of the input picture (or of one
// cube-face pyramid), an outside flag, the layout part ("layer") the point
// falls in, the cube face to sample and, for the zenith/nadir layout, a seam
// weight. Runs for every corner of every output pixel on every worker task:
// single precision, no state, no allocation.
#pragma once

#include <cmath>
#include <cstdint>

#include "projection/complex_math.h"
#include "projection/input/input_modes_common.h"
#include "projection/input/input_modes_cube.h"   // SphereToCubeFaceCoords
#include "projection/input/input_modes_cylindrical.h"
#include "projection/input/input_modes_world.h"  // WinkelTripelForward
#include "projection/render_hint.h"

struct polyhedron;

enum InputMode : int32_t {
  InputMode_Equirectangular = 1,
  InputMode_MirrorBall = 2,
  InputMode_Polar = 3,
  InputMode_Orthographic = 4,
  InputMode_Cylindrical = 5,
  InputMode_MirrorBallK1149 = 6,
  InputMode_Mollweide = 7,
  InputMode_HalfPolar = 8,
  InputMode_FullFrameFisheye = 9,
  InputMode_Rectilinear = 10,
  InputMode_CubeFaceLayers = 11,
  InputMode_Gores12 = 12,
  InputMode_EquirectangularHalf = 13,
  InputMode_TwoCircles = 14,
  InputMode_Stereographic = 15,
  InputMode_EquirectangularQuarter = 16,
  InputMode_Robinson = 17,
  InputMode_MirrorBallK155 = 18,
  InputMode_Gores12Half = 19,
  InputMode_Mercator = 20,
  InputMode_Lagrange = 21,
  InputMode_WinkelTripel = 22,
  InputMode_Hammer = 23,
  InputMode_EqualAreaCylinder = 24,
  InputMode_Gores6 = 25,
  InputMode_ZenithNadir = 26,
  InputMode_HorizontalCross = 27,
  InputMode_VerticalCross = 28,
  InputMode_PolyhedronNet = 29,
  InputMode_Oval = 30,
};

constexpr int32_t kFirstInputMode = 1;
constexpr int32_t kLastInputMode = 30;

// The layout's own route for inputMode, on an answer cleared as
// TransformSphereToInput clears it; a mode out of 1..30 maps nothing.
void RouteSphereToInput(int32_t inputMode, const InputQuery& q, InputAnswer* a);

namespace input_mapping_detail {

// What every layout's answer goes through on its way out. By value, so that
// an answer worked out inline never needs a place in memory.
inline void HandOver(InputAnswer a, int32_t mirror, float* u, float* v, uint8_t* outside, int32_t* face,
                     int32_t* layer) {
  // Whatever a layout's arithmetic does at its singular directions, no
  // infinity or NaN reaches the sampler.
  if (!std::isfinite(a.u) || !std::isfinite(a.v)) {
    a.face = -1;
    MarkOutsideNoLayer(&a);
  }
  if (mirror != 0) a.u = 1.0f - a.u;
  *u = a.u;
  *v = a.v;
  *outside = a.outside;
  *face = a.face;
  *layer = a.layer;
}

}  // namespace input_mapping_detail

// Maps the direction `point` (read only) for inputMode 1..30. Always writes
// u, v, outside (0 or 1), face (-1: the main input pyramid; 0..5: a cube-face
// pyramid) and layer (2 unless the layout has parts; -1 off the layout);
// blendWeight is written only by the zenith/nadir layout. A nonzero mirror
// flips u as the last step. aspect is the input's height over its width.
// mollweideTable is MollweideThetaTable(). inputPolyhedron and inputHint
// serve only the polyhedron-net layout (may be null otherwise). u and v are
// always finite; a direction that would give anything else is outside.
// Inline, with the equirectangular layout inline in it: every mapped point
// passes here.
inline void TransformSphereToInput(int32_t inputMode, int32_t mirror, float aspect, const float point[3], float* u,
                                   float* v, uint8_t* outside, const float* mollweideTable, int32_t* face,
                                   int32_t* layer, float* blendWeight, polyhedron* inputPolyhedron,
                                   renderhinttype* inputHint) {
  const InputQuery q = {point, aspect, mollweideTable, inputPolyhedron, inputHint};
  if (inputMode == InputMode_Equirectangular) {
    InputAnswer a = {0.0f, 0.0f, 0, -1, kDefaultLayer, blendWeight};
    InputEquirectangular(q, &a);
    input_mapping_detail::HandOver(a, mirror, u, v, outside, face, layer);
  } else {
    InputAnswer a = {0.0f, 0.0f, 0, -1, kDefaultLayer, blendWeight};
    RouteSphereToInput(inputMode, q, &a);
    input_mapping_detail::HandOver(a, mirror, u, v, outside, face, layer);
  }
}

// TransformSphereToInput's equirectangular path from the point's
// SphericalToRectangular (s, t), worked out beforehand.
inline void EquirectangularToInput(float s, float t, int32_t mirror, float* u, float* v, uint8_t* outside,
                                   int32_t* face, int32_t* layer, float* blendWeight) {
  InputAnswer a = {0.0f, 0.0f, 0, -1, kDefaultLayer, blendWeight};
  EquirectangularAnswer(s, t, &a);
  input_mapping_detail::HandOver(a, mirror, u, v, outside, face, layer);
}

// 1 for the one layout that needs an input polyhedron (and its search hint)
// prepared before the pass, 0 for every other.
int32_t InputModeCategory(int32_t inputMode);
