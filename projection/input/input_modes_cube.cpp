#include "projection/input/input_modes_cube.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kFaceBack = 0;
constexpr int32_t kFaceDown = 2;
constexpr int32_t kFaceUp = 5;
// Zenith/nadir layout: the down face on the right half, the up face left.
constexpr int32_t kNadirLayer = 2;
constexpr int32_t kZenithLayer = 3;
// The seam weight falls from 1 to 0 over the last 1/15 of the picture's
// height and the last 1/30 of its width at the outer edges and the seam
// between the two faces.
constexpr float kSeamRamp = 15.0f;

// A point of a face lies in [-1, 1]^2; only the tie rule sends a direction
// to a face it does not belong to, and then (a, b) leave that square or are
// infinite (NaN fails the test as well).
bool OnFace(float fa, float fb) { return std::fabs(fa) <= 1.0f && std::fabs(fb) <= 1.0f; }

void Cross(const InputQuery& q, InputAnswer* a, bool turnBack) {
  float fa, fb;
  const int32_t f = SphereToCubeFaceCoords(q.point, &fa, &fb);
  if (!OnFace(fa, fb)) {
    // An edge between two faces: neither face pyramid holds it.
    MarkOutsideNoLayer(a);
    return;
  }
  if (turnBack && f == kFaceBack) {
    fa = -fa;
    fb = -fb;
  }
  a->u = fa / 2.0f + 0.5f;
  a->v = fb / 2.0f + 0.5f;
  a->face = f;
  a->layer = f + 1;
}

// 15·x + 15·x, the doubled ramp of the sides.
float DoubleRamp(float x) { return kSeamRamp * x + kSeamRamp * x; }

}  // namespace

int32_t SphereToCubeFaceCoords(const float point[3], float* a, float* b) {
  const float x = point[0], y = point[1], z = point[2];
  const float ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  if (ay > ax && ay > az) {
    *b = z / y;
    if (y > 0.0f) {
      *a = -x / y;
      return kFaceUp;
    }
    *a = x / y;
    return kFaceDown;
  }
  if (ax > az && ax > ay) {
    *a = z / x;
    if (x > 0.0f) {
      *b = -y / x;
      return 4;
    }
    *b = y / x;
    return 1;
  }
  *a = -x / z;
  if (z > 0.0f) {
    *b = -y / z;
    return 3;
  }
  *b = y / z;
  return kFaceBack;
}

void InputCubeFaceLayers(const InputQuery& q, InputAnswer* a) {
  float fa, fb;
  const int32_t f = SphereToCubeFaceCoords(q.point, &fa, &fb);
  a->u = fa / 2.0f + 0.5f;
  a->v = fb / 2.0f + 0.5f;
  a->layer = f + 1;
  if (!InUnit(a->u) || !InUnit(a->v)) MarkOutside(a);
}

void InputZenithNadir(const InputQuery& q, InputAnswer* a) {
  float fa, fb;
  const int32_t f = SphereToCubeFaceCoords(q.point, &fa, &fb);
  if (f == kFaceDown) {
    a->u = fa * 0.25f + 0.75f;
    a->layer = kNadirLayer;
  } else {
    a->u = fa * 0.25f + 0.25f;
    a->layer = kZenithLayer;
  }
  a->v = fb / 2.0f + 0.5f;
  const float u = a->u, v = a->v;
  float w = 1.0f;
  w = std::min(w, kSeamRamp * v);
  w = std::min(w, kSeamRamp * (1.0f - v));
  w = std::min(w, DoubleRamp(u));
  w = std::min(w, DoubleRamp(1.0f - u));
  w = std::min(w, DoubleRamp(std::fabs(0.5f - u)));
  // A NaN (possible only off the faces) must not reach the renderer.
  if (!(w >= 0.0f)) w = 0.0f;
  *a->blendWeight = std::min(w, 1.0f);
  if (InUnit(u) && InUnit(v) && (f == kFaceDown || f == kFaceUp)) return;
  MarkOutsideNoLayer(a);
}

void InputHorizontalCross(const InputQuery& q, InputAnswer* a) { Cross(q, a, false); }

// The vertical cross stores the back face upside down below the others.
void InputVerticalCross(const InputQuery& q, InputAnswer* a) { Cross(q, a, true); }
