#include "projection/inverse/special_views_fold.h"

#include <cmath>

#include "projection/planes.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

constexpr double kFoldPi = 3.141592653;

}  // namespace

float spheretabwidth(float n, float p) {
  return static_cast<float>(static_cast<double>(p) / ((2.0 * p + 1.0) * static_cast<double>(n)));
}

float GetZorFoldingSphereCompleteHeight(float, float p) {
  const float h = static_cast<float>(0.5 / (2.0 * static_cast<double>(p) + 1.0));
  return h + 0.037f;
}

void GetZorFoldingSphere(float x, float y, float n, float p, float point[3], uint8_t* outside, int32_t* regionCode,
                         int32_t* glueMark) {
  *outside = 1;
  *regionCode = kFoldRegionNothing;
  point[0] = 1.0f;
  point[1] = 0.0f;
  point[2] = 0.0f;
  *glueMark = kFoldGlueNone;

  const double D = 2.0 * static_cast<double>(p) + 1.0;
  const float h = static_cast<float>(0.5 / D);
  const float H = h + 0.037f;
  if (!(y >= -H * 0.5f && y <= H * 0.5f)) return;
  const bool band = y < -h * 0.5f || y > h * 0.5f;

  const float w = static_cast<float>(static_cast<double>(p) / (static_cast<double>(n) * D) * 0.5);
  const double X = (static_cast<double>(x) - w) + 0.5;
  if (X < 0.0 && X > -2.0 * w) {
    *regionCode = kFoldRegionMargin;
    return;
  }
  const double T = X * n;
  const double k = std::floor(T);
  // Written so that a NaN position or tab count stays outside.
  if (!(k >= 0.0 && k <= static_cast<double>(n) - 1.0)) return;

  *outside = 0;
  *regionCode = kFoldRegionTab;
  const float f = static_cast<float>(D * (T - k)) - p;
  const float sy = y / h;
  const double tn = std::tan(kFoldPi / n);

  const float edge = static_cast<float>(std::cos(sy * kFoldPi) * -0.5 + 0.5);
  double g = f;
  double j = 0.0;
  if (edge > f) {
    *regionCode = kFoldRegionGlue;
    *glueMark = kFoldGlueStrip;
    // The glue strip is the neighbouring tab's picture, mirrored across the
    // edge the two tabs share.
    g = (1.0 + p) - p - f;
    j = -1.0;
  }

  RectangularToSpherical(band ? 0.5f : 0.0f, sy + 0.5f, point);
  point[0] = static_cast<float>((g - 0.5) * 2.0 * tn);
  NormalizeVectorSlowly(point);

  double q[3] = {point[0], point[1], point[2]};
  LongitudeIt(q, -(j + k) * 2.0 * kPi / n);
  point[0] = static_cast<float>(q[0]);
  point[1] = static_cast<float>(q[1]);
  point[2] = static_cast<float>(q[2]);
}
