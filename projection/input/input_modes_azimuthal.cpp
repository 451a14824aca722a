#include "projection/input/input_modes_azimuthal.h"

#include <cmath>

#include "projection/scalar_math.h"

namespace {

constexpr float kInvPiF = 0.31830987f;
constexpr float kMirrorBallWide = 1.1490611f;
constexpr float kMirrorBallWider = 1.55f;
// Closer to the horizon than this a pinhole picture would need an
// unbounded plane; such directions get no place, without a layer change.
constexpr float kRectilinearMinZ = 0.3f;

// The mirror ball's normal for a direction: half-way between it and +z,
// its sideways part widened by k. The back pole has no half-way vector
// (the rim of the ball): outside rather than a NaN.
void MirrorBallNormal(const InputQuery& q, InputAnswer* a, float k) {
  const float* p = q.point;
  const float w = p[2] + 1.0f;
  if (!(w > 0.0f)) {
    MarkOutside(a);
    return;
  }
  const float c = std::sqrt(w * 0.5f);
  const float s = InvSqrtQuakey(2.0f * w);
  float n[3] = {k * p[0] * s, k * p[1] * s, c};
  NormalizeVectorSlowly(n);
  a->u = 1.0f - (n[0] / 2.0f + 0.5f);
  a->v = 1.0f - (n[1] / 2.0f + 0.5f);
}

// Polar disc of radius r (in picture widths, 0.5 at the rim) about the
// centre, the angle measured as XYtoRadians does.
void PlaceOnDisc(const float* p, float r, float vScale, InputAnswer* a) {
  const float angle = XYtoRadians(p[0], p[1]);
  a->u = 0.5f + r * std::sin(angle) / 2.0f;
  a->v = 0.5f + r * std::cos(angle) / vScale;
}

}  // namespace

void InputMirrorBall(const InputQuery& q, InputAnswer* a) {
  const float* p = q.point;
  const float w2 = 2.0f * (p[2] + 1.0f);
  if (!(w2 > 0.0f)) {
    MarkOutside(a);
    return;
  }
  const float s = InvSqrtQuakey(w2);
  a->u = 0.5f - s * p[0] / 2.0f;
  a->v = 0.5f - s * p[1] / 2.0f;
}

void InputMirrorBallK1149(const InputQuery& q, InputAnswer* a) { MirrorBallNormal(q, a, kMirrorBallWide); }

void InputMirrorBallK155(const InputQuery& q, InputAnswer* a) { MirrorBallNormal(q, a, kMirrorBallWider); }

void InputPolar(const InputQuery& q, InputAnswer* a) {
  const float r = fast_acos(q.point[2]) * kInvPiF;
  PlaceOnDisc(q.point, r, 2.0f, a);
}

void InputHalfPolar(const InputQuery& q, InputAnswer* a) {
  const float r = 2.0f * fast_acos(q.point[2]) * kInvPiF;
  PlaceOnDisc(q.point, r, 2.0f, a);
  if (r > 1.0f) MarkOutside(a);
}

// The image circle touches the picture's corners: radius half the diagonal.
void InputFullFrameFisheye(const InputQuery& q, InputAnswer* a) {
  const float r = fast_acos(q.point[2]) * kInvPiF * 2.0f * std::sqrt(q.aspect * q.aspect + 1.0f);
  PlaceOnDisc(q.point, r, 2.0f * q.aspect, a);
  if (!InUnit(a->u) || !InUnit(a->v)) MarkOutside(a);
}

void InputOrthographic(const InputQuery& q, InputAnswer* a) {
  const float* p = q.point;
  if (p[2] < 0.0f || 1.0f - p[1] * p[1] < 0.0f) {
    MarkOutside(a);
    return;
  }
  a->u = 1.0f - (p[0] + 1.0f) / 2.0f;
  a->v = 1.0f - (p[1] + 1.0f) / 2.0f;
}

void InputRectilinear(const InputQuery& q, InputAnswer* a) {
  const float* p = q.point;
  if (p[2] < kRectilinearMinZ) {
    a->u = 0.0f;
    a->v = 0.0f;
    a->outside = 1;
    return;
  }
  a->u = 0.5f - p[0] / (2.0f * p[2]);
  a->v = 0.5f - p[1] / (2.0f * p[2]);
  if (!InUnit(a->u) || !InUnit(a->v)) MarkOutsideNoLayer(a);
}

void InputStereographic(const InputQuery& q, InputAnswer* a) {
  const float* p = q.point;
  if (p[2] < 0.0f) {
    MarkOutside(a);
    return;
  }
  float d[2] = {p[0], p[1]};
  // The front pole has no direction in the plane; it is the centre.
  if (d[0] * d[0] + d[1] * d[1] == 0.0f) {
    a->u = 0.5f;
    a->v = 0.5f;
    return;
  }
  const float theta = fast_acos(p[2]);
  const float r = static_cast<float>(std::tan(static_cast<double>(theta) / 2.0) * 0.5);
  normalize2(d);
  a->u = 0.5f - d[0] * r;
  a->v = 0.5f - d[1] * r;
}
