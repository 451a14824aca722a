#include "projection/inverse/special_views.h"

#include <cmath>

#include "projection/render_hint.h"
#include "projection/scalar_math.h"

namespace {

constexpr float kTwoOverRootThree = 1.1547005384f;
constexpr float kHalfPiF = 1.5707964f;

// v wrapped `repeats` times into [lo, hi). The float rounding of the last
// step can land on hi itself; that point belongs to the start of the range.
float WrapInto(float v, float lo, float hi, float repeats) {
  const double span = static_cast<double>(hi) - lo;
  if (!(span > 0.0)) return lo;
  double q = (static_cast<double>(v) - lo) / span * repeats;
  q -= std::floor(q);
  float r = static_cast<float>(span * q + lo);
  if (!(r < hi)) r = lo;
  if (r < lo) r = lo;
  return r;
}

// atan(s)/s, 1 at s = 0.
double AtanRatio(double s) { return s == 0.0 ? 1.0 : std::atan(s) / s; }

}  // namespace

void calc_skewed_coordinates(float scale, float netMinY, float netMaxY, float x, float y, float* outX, float* outY,
                             const renderhinttype* hint) {
  const float ys = y * kTwoOverRootThree;
  const float X = static_cast<float>(static_cast<double>(x) + static_cast<double>(ys) * 0.5);
  *outY = WrapInto(ys, netMinY, netMaxY, scale);
  *outX = WrapInto(X, hint->bandMinX, hint->bandMaxX, scale);
}

void AnamorphicIntersect(float point[3]) {
  point[0] = point[0] * 0.5f;
  point[1] = point[1] * 0.5f;
  point[2] = point[2] * 0.5f + 0.5f;
  NormalizeVectorSlowly(point);
}

void DoUnFishWarp(float x, float y, float* outX, float* outY, uint8_t* outside) {
  const float a = 3.0f * y;
  if (a < -kHalfPiF || a > kHalfPiF) {
    *outside = 1;
    *outX = -1.0f;
    *outY = -1.0f;
    return;
  }
  const float y1 = static_cast<float>(std::sin(static_cast<double>(a)) / 3.0);
  const double twoX = 2.0 * static_cast<double>(x);
  const float gy = x == 0.0f ? 1.0f : static_cast<float>(AtanRatio(twoX * 2.1));
  *outY = gy * y1;
  *outX = x == 0.0f ? x : x * static_cast<float>(AtanRatio(twoX * 1.55));
}

void transform_2D_equi_to_sphere(float x, float y, float point[3], uint8_t* outside) {
  *outside = 1;
  // Written so that a NaN fails every comparison and stays outside.
  if (!(y >= -0.5f && y <= 0.5f && x >= -0.5f && x <= 0.5f)) return;
  *outside = 0;
  const float Y = std::sin(-kPiF * y);
  const float r = std::sqrt(std::fmax(0.0f, 1.0f - Y * Y));
  const float lon = 2.0f * x * kPiF;
  point[0] = -std::sin(lon) * r;
  point[1] = Y;
  point[2] = r * std::cos(lon);
}

bool IsMultiview(int32_t outputMode) { return outputMode >= 75 && outputMode <= 79; }

int32_t NearestTetrahedronVertex(const float point[3]) {
  float v[4][3] = {{0.94280905f, 0.0f, -0.33333334f},
                   {-0.47140452f, 0.8164966f, -0.33333334f},
                   {-0.47140452f, -0.8164966f, -0.33333334f},
                   {0.0f, 0.0f, 1.0f}};
  int32_t best = 0;
  float bestDot = 0.0f;
  for (int32_t i = 0; i < 4; ++i) {
    NormalizeVectorSlowly(v[i]);
    const float d = point[0] * v[i][0] + point[1] * v[i][1] + point[2] * v[i][2];
    if (i == 0 || d > bestDot) {
      best = i;
      bestDot = d;
    }
  }
  return best;
}
