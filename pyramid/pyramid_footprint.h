// Footprint sampling: the colour of the input under one output pixel.
//
// The renderer maps a pixel's corners into the input and hands us the
// mapped centre, two mapped neighbours and the point to sample. The
// anisotropic sampler fits an ellipse to that footprint, picks the mip level
// from its minor axis and averages up to 20 trilinear reads along its major
// axis; the fast sampler picks a level from the larger derivative components
// and returns the nearest pixel of that level.
//
// All coordinates are unit coordinates of the pyramid's level 0; every
// result is unit colour, (0, 0, 0, 0) for an empty or non-finite point.
#pragma once

#include <cstdint>

struct PyramidDescriptor;

// One per worker task (never shared between tasks that run at the same
// time): the anisotropic sampler leaves the level it fitted here, and while
// reuseLevel is 1 both samplers take that level instead of fitting one, so
// that every sub-sample of a pixel uses the level fitted for the pixel.
struct AnisoState {
  float level;
  uint8_t reuseLevel;
  uint8_t spareFlag;
};

// Which of the two neighbours is missing (marked by u == -1).
enum FootprintMissing : int32_t {
  FootprintMissing_None = 0,
  FootprintMissing_First = 1,
  FootprintMissing_Second = 2,
  FootprintMissing_Both = 3,
};

// The u value the renderer gives a neighbour it could not map.
constexpr float kFootprintMissingU = -1.0f;
constexpr int32_t kFootprintMaxSamples = 20;

// (uA, vA) and (uB, vB): the mapped neighbours along the two screen axes;
// (uC, vC): the mapped point they are measured from; (u, v): the point to
// sample. `sharpen` only shifts the level choice. A neighbour that is not a
// finite number counts as missing.
void SampleAnisotropicallyColor_Centered_unitary(float uA, float vA, float uB, float vB, float uC, float vC, float u,
                                                 float v, const PyramidDescriptor* p, float colour[4], float sharpen,
                                                 AnisoState* state);
void SampleUglyColor_Centered_unitary(float uA, float vA, float uB, float vB, float uC, float vC, float u, float v,
                                      const PyramidDescriptor* p, float colour[4], float sharpen, AnisoState* state);

// The cores take the two footprint vectors (in unit coordinates) directly;
// `missing` is a FootprintMissing value. A null state acts as a cleared one.
void SampleAnisotropicallyColorCore_unitary(float duX, float dvX, float duY, float dvY, float u, float v,
                                            int32_t missing, const PyramidDescriptor* p, float colour[4], float sharpen,
                                            AnisoState* state);
void SampleUglyColorCore_core(float duX, float dvX, float duY, float dvY, float u, float v, int32_t missing,
                              const PyramidDescriptor* p, float colour[4], float sharpen, AnisoState* state);

// The footprint maths, free of any pyramid.

// The ellipse through the two footprint vectors (a, b) and (c, d) in level-0
// pixels, as the implicit form EA·x² + EB·x·y + EC·y² = 1.
struct FootprintEllipse {
  float EA, EB, EC;
  float major;  // the major semi-axis, shrunk by sharpening
  float minor;  // the minor semi-axis, shrunk by sharpening, at least half a pixel
  float level;  // log2(minor): the mip level whose pixels match the short side
  float ratio;  // major / minor
};
FootprintEllipse FitFootprintEllipse(float a, float b, float c, float d, float sharpen);

// How many reads along the major axis and the step between them in unit
// coordinates (one level-0 pixel is pixelStepU wide).
struct FootprintSamples {
  int32_t count;
  float spread;  // 1, or less while the ratio is just past one read
  float stepU, stepV;
};
FootprintSamples PlanFootprintSamples(const FootprintEllipse& e, float pixelStepU, float pixelStepV);

// Direction of the major axis, radians.
float FootprintMajorAngle(const FootprintEllipse& e);

// log2 of a positive float from its exponent and mantissa bits (error below
// 0.02), for the fast sampler's level.
float FastLog2Sloppy(float m);
