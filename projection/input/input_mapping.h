// projection/input/: where a direction on the sphere lies in the input image, for every input mode.
// Where a direction on the sphere lies in the input image, for each of the
// 30 input layouts: unit coordinates (u, v) of the input picture (or of one
// cube-face pyramid), an outside flag, the layout part ("layer") the point
// falls in, the cube face to sample and, for the zenith/nadir layout, a seam
// weight. Runs for every corner of every output pixel on every worker task:
// single precision, no state, no allocation.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"
#include "projection/input/input_modes_cube.h"   // SphereToCubeFaceCoords
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

// Maps the direction `point` (read only) for inputMode 1..30. Always writes
// u, v, outside (0 or 1), face (-1: the main input pyramid; 0..5: a cube-face
// pyramid) and layer (2 unless the layout has parts; -1 off the layout);
// blendWeight is written only by the zenith/nadir layout. A nonzero mirror
// flips u as the last step. aspect is the input's height over its width.
// mollweideTable is MollweideThetaTable(). inputPolyhedron and inputHint
// serve only the polyhedron-net layout (may be null otherwise). u and v are
// always finite; a direction that would give anything else is outside.
void TransformSphereToInput(int32_t inputMode, int32_t mirror, float aspect, const float point[3], float* u,
                            float* v, uint8_t* outside, const float* mollweideTable, int32_t* face,
                            int32_t* layer, float* blendWeight, polyhedron* inputPolyhedron,
                            renderhinttype* inputHint);

// 1 for the one layout that needs an input polyhedron (and its search hint)
// prepared before the pass, 0 for every other.
int32_t InputModeCategory(int32_t inputMode);
