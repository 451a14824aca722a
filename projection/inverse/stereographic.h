// Stereographic maps, the sphere-segment (lune) substitution and the
// Lagrange projection built from them.
//
// The stereographic coordinate of a sphere point (x, y, z) is
// (-x / (1 + z), -y / (1 + z)): the projection from (0, 0, -1) onto the
// plane z = 0, turned a half-turn so that it reads like the picture; points
// with 1 + z <= 0 get (0, 0), which maps back to the picture centre.
//
// An outside flag is only ever set to 1 here (the Lagrange inverses with
// keep 0 excepted, which clear it); callers clear it first.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

fcomplex StereographicCoordinateD(const double p[3]);

// The sphere point seen through the plane point (-u, -v, 1) from the centre
// (0, 0, pole): pole -1 is the stereographic projection onto the tangent
// plane at +z (distance 2·tan(theta/2)), pole 0 the gnomonic one (tan(theta)),
// poles between give the perspectives between.
void StereoIntersectCore(float u, float v, float point[3], float pole);
void StereoIntersectCoreD(double u, double v, double point[3], double pole);
void StereoIntersect(float u, float v, float point[3]);
void StereoIntersectD(double u, double v, double point[3]);
// Exact inverse of the stereographic coordinate (equatorial plane, distance
// tan(theta/2)): StereoIntersect(2u, 2v) and StereoIntersect_NiceD(u, v)
// agree. Inline: the stereographic route takes it for every mapped point.
inline void StereoIntersect_NiceD(double u, double v, double point[3]) {
  const double r2 = u * u + v * v;
  const double d = 1.0 + r2;
  point[0] = -2.0 * u / d;
  point[1] = -2.0 * v / d;
  point[2] = -(r2 - 1.0) / d;
}

// The point moved by the disk automorphism of centre (0, shift), worked on
// the upper hemisphere and mirrored back. shift 0 leaves the point untouched.
void automorphicDisk_prettily_on_sphere(double point[3], double shift);
// The point's stereographic coordinate moved by c; a point at the projection
// pole stays where it is.
void parabolic_mobius_on_sphere(double point[3], fcomplex c);

// Opens the lune of width 2·pi·alpha about the y axis to the whole sphere by
// raising the stereographic coordinate (about the poles) to the power
// 1/alpha, then applies the disk shift. Points beyond the lune set *outside.
void SubstituteSphereSegment_NiceD(double point[3], double alpha, uint8_t* outside, double shift);
void SubstituteSphereSegmentD(double point[3], double alpha, uint8_t* outside);
void SubstituteSphereSegment(float point[3], double alpha, uint8_t* outside);
// The same substitution about the z axis.
void SubstituteSphereSegment_northD(double point[3], double alpha, uint8_t* outside);

// Lagrange inverse with exponent n: the stereographic plane point z to the
// sphere, with the lune of width 2·pi/n opened. Unless keep is 1 the outside
// flag ends cleared.
void LagrangeInverse_AvantGarde(fcomplex z, double n, uint8_t* outside, double point[3], uint8_t keep);
void LagrangeInverse(fcomplex z, double n, uint8_t* outside, float point[3], uint8_t keep);
// Lagrange forward: the whole sphere squeezed into a lune of width 2·pi·n
// (n = 1/W), returned as a stereographic coordinate. The caller's point is
// left substituted.
fcomplex LagrangeForward_AvantGarde(double point[3], double n);
