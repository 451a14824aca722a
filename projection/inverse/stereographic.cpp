#include "projection/inverse/stereographic.h"

#include <cmath>

#include "projection/scalar_math.h"

namespace {

constexpr double kInvTwoPi = 0.15915494309189535;

}  // namespace

fcomplex StereographicCoordinateD(const double p[3]) {
  const double d = 1.0 + p[2];
  if (d <= 0.0) return {0.0, 0.0};
  return {-p[0] / d, -p[1] / d};
}

void StereoIntersectCore(float u, float v, float point[3], float pole) {
  float d[3] = {-u, -v, 1.0f - pole};
  NormalizeVectorSlowly(d);
  const float b = -pole * d[2];
  const float t = b + std::sqrt(1.0f - (pole * pole - b * b));
  point[0] = t * d[0];
  point[1] = t * d[1];
  point[2] = pole + t * d[2];
}

void StereoIntersectCoreD(double u, double v, double point[3], double pole) {
  double d[3] = {-u, -v, 1.0 - pole};
  NormalizeVectorSlowlyD(d);
  const double b = -pole * d[2];
  const double t = b + std::sqrt(1.0 - (pole * pole - b * b));
  point[0] = t * d[0];
  point[1] = t * d[1];
  point[2] = pole + t * d[2];
}

void StereoIntersect(float u, float v, float point[3]) { StereoIntersectCore(u, v, point, -1.0f); }

void StereoIntersectD(double u, double v, double point[3]) { StereoIntersectCoreD(u, v, point, -1.0); }

void automorphicDisk_prettily_on_sphere(double point[3], double shift) {
  if (shift == 0.0) return;
  double sign = 1.0;
  if (point[2] < 0.0) {
    point[2] = -point[2];
    sign = -1.0;
  }
  const fcomplex w = automorphicDisk(StereographicCoordinateD(point), Complex(0.0, shift));
  StereoIntersect_NiceD(w.re, w.im, point);
  point[2] *= sign;
}

void parabolic_mobius_on_sphere(double point[3], fcomplex c) {
  if (1.0 + point[2] <= 0.0) return;
  const fcomplex s = Cadd(StereographicCoordinateD(point), c);
  StereoIntersect_NiceD(s.re, s.im, point);
}

void SubstituteSphereSegment_NiceD(double point[3], double alpha, uint8_t* outside, double shift) {
  const double k = 1.0 / alpha;
  // Turn the y axis onto z so that the lune's poles sit at the centre of the
  // stereographic plane, and fold the far hemisphere onto the near one.
  double q3[3] = {point[0], point[2], -point[1]};
  double sign = 1.0;
  if (q3[2] < 0.0) {
    q3[2] = std::fabs(q3[2]);
    sign = -1.0;
  }
  const fcomplex s = StereographicCoordinateD(q3);
  const fcomplex q = {-s.im, s.re};

  const float a = XYtoRadians(static_cast<float>(q.re), static_cast<float>(q.im));
  double f = a * kInvTwoPi + 0.75;
  f = f - std::floor(f) - 0.5;
  const double reach = 2.0 * f * k;
  if (reach < -1.0 || reach > 1.0) *outside = 1;

  const fcomplex w = Cpow(q, k);
  double r[3];
  StereoIntersect_NiceD(w.re, w.im, r);
  point[0] = r[1];
  point[1] = -sign * r[2];
  point[2] = -r[0];
  if (shift != 0.0) automorphicDisk_prettily_on_sphere(point, shift);
}

void SubstituteSphereSegmentD(double point[3], double alpha, uint8_t* outside) {
  SubstituteSphereSegment_NiceD(point, alpha, outside, 0.0);
}

void SubstituteSphereSegment(float point[3], double alpha, uint8_t* outside) {
  double p[3] = {point[0], point[1], point[2]};
  SubstituteSphereSegment_NiceD(p, alpha, outside, 0.0);
  for (int i = 0; i < 3; ++i) point[i] = static_cast<float>(p[i]);
}

void SubstituteSphereSegment_northD(double point[3], double alpha, uint8_t* outside) {
  double p[3] = {point[0], -point[2], point[1]};
  SubstituteSphereSegment_NiceD(p, alpha, outside, 0.0);
  point[0] = p[0];
  point[1] = p[2];
  point[2] = -p[1];
}

void LagrangeInverse_AvantGarde(fcomplex z, double n, uint8_t* outside, double point[3], uint8_t keep) {
  StereoIntersect_NiceD(z.re, z.im, point);
  SubstituteSphereSegment_NiceD(point, 1.0 / n, outside, 0.0);
  if (keep == 0) *outside = 0;
}

void LagrangeInverse(fcomplex z, double n, uint8_t* outside, float point[3], uint8_t keep) {
  double p[3];
  LagrangeInverse_AvantGarde(z, n, outside, p, keep);
  for (int i = 0; i < 3; ++i) point[i] = static_cast<float>(p[i]);
}

fcomplex LagrangeForward_AvantGarde(double point[3], double n) {
  uint8_t discarded = 0;
  SubstituteSphereSegment_NiceD(point, 1.0 / n, &discarded, 0.0);
  return StereographicCoordinateD(point);
}
