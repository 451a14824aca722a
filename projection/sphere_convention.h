// The sphere convention of the whole system. A direction is a unit vector
// with y up, the picture centre at +z and positive longitude toward +x.
// Equirectangular unit coordinates (u across, v down, both in [0, 1]) stand
// for longitude (u - 0.5)·2·pi and latitude (0.5 - v)·pi, so (0.5, 0.5) is
// (0, 0, 1) and v = 0 is the north pole (0, 1, 0).
//
// The float pair runs for every corner of every output pixel; the double
// pair serves the set-up geometry.
#pragma once

void RectangularToSpherical(float u, float v, float p[3]);
// RectangularToSpherical in two steps, for layouts whose rows keep one
// latitude: the height y and radius r of the circle at v, then the point at
// u on it. Together they give RectangularToSpherical's bits.
void LatitudeCircle(float v, float* y, float* r);
void OnLatitudeCircle(float u, float y, float r, float p[3]);
void RectangularToSphericalD(double u, double v, double p[3]);

// y is clamped to [-1, 1] on a local copy; the arccosine is the fast
// polynomial one, so (0, 0, 1) gives v = 0.49998, not 0.5. A v that is
// not a number becomes 0.
void SphericalToRectangular(const float p[3], float* u, float* v);

// Exact arccosine. A y outside [-1, 1] is clamped and the clamped value is
// written back into p. Returns nonzero when u or v is not a number.
int SphericalToRectangularD(double p[3], double* u, double* v);
