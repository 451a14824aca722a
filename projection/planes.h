// Rays, planes, segments, spins about an arbitrary axis, reflection across
// a plane line and the three axis turns of a sphere point. Double precision,
// no state.
#pragma once

#include "projection/complex_math.h"

// Twelve doubles. A plane built through p with unit normal n holds the points
// x with n·x = d (d = n·p), and a point's side is n·x + classifyOffset.
struct PLANED {
  double normal[3];       // unit normal n
  double negDot;          // -n·p
  double classifyOffset;  // -n·p divided by the length of n
  double d;               // n·p
  double unitNormal[3];   // n normalised once more; what classification reads
  double point[3];        // the point p the plane was built through
};
static_assert(sizeof(PLANED) == 12 * sizeof(double), "PLANED is twelve doubles in a row");

// A rotation about the axis through `centre` along the unit vector `axis`.
struct spintype {
  triplex centre;
  triplex axis;
  double angle;  // radians
};

// A ray is six doubles: origin, then direction. The ray keeps the direction
// as given; the caller's direction vector itself is normalised in place.
void BuildRay(double ray[6], const double origin[3], double direction[3]);

void BuildPlaneFromPointAndDirection(const double p[3], const double direction[3], PLANED* plane);
// The plane through b with normal (b - a) × (c - a), normalised.
void BuildPlaneFromThreePoints(const double a[3], const double b[3], const double c[3], PLANED* plane);
void BuildPlaneFromThreePointsT(triplex a, triplex b, triplex c, PLANED* plane);

// +1 when n·x + offset > e, -1 when it is < -e, else 0.
int Classify_PointD(const PLANED* plane, const double x[3], double e);
int Classify_PointDT(const PLANED* plane, triplex x, double e);

// The common point of three planes; false (nothing written) when their
// normals are linearly dependent.
bool IntersectionOf3PlanesD(const PLANED* P, const PLANED* Q, const PLANED* R, double x[3]);

// Distance from p to the segment a-b; the nearest point goes to `nearest`.
// With snap 1 a parameter within 1e-8 of an end is moved onto it.
double DistanceFromPointToLineSegmentD(const double a[3], const double b[3], const double p[3], double nearest[3],
                                       int snap);
// The cosine of the angle at b: unit(b - a)·unit(b - c).
double DotProductAround3DpointsD(const double a[3], const double b[3], const double c[3]);
// unit(b - a) × unit(b - c); the product itself is not normalised.
void NormalizedCrossProductAround3DpointsD(const double a[3], const double b[3], const double c[3], double out[3]);

// p turned by s.angle about the line through s.centre along s.axis, in the
// sense of MatrixFromAxisAngleD: axis (0, 0, 1) and +pi/2 take (1, 0, 0) to
// (0, -1, 0).
triplex SpinPointAroundAxis(spintype s, triplex p);
spintype GetSpintypeForIdentity();

// p mirrored across the line through a and b. With a = b there is no line;
// the result is then p mirrored through the point a.
fcomplex ReflectAroundLine(fcomplex a, fcomplex b, fcomplex p);

// Turns in place by t radians, each as a complex product with Cspun(t):
// SpinIt turns (x, y), LatitudeIt (z, y), LongitudeIt (z, x).
void SpinIt(double p[3], double t);
void LatitudeIt(double p[3], double t);
void LongitudeIt(double p[3], double t);
