// projection/: sphere geometry and the tumble; its folders map directions to input and output planes.
// Rotation matrices. A matrix is a 4x4 array stored by rows of which only
// the upper-left 3x3 block is read, and it acts on row vectors: p' = p·M.
// A matrix built from an axis and an angle turns points by minus the angle
// about the axis: axis (0, 0, 1) and pi/2 carry (1, 0, 0) to (0, -1, 0).
#pragma once

using MATRIX4 = float[4][4];
using MATRIX4D = double[4][4];

// The axis must be of unit length; it is not normalised here. Writes the
// whole matrix (row 3 and column 3 as the identity's).
void MatrixFromAxisAngleD(const double axis[3], double angle, double M[4][4]);
// Computed in double; writes only columns 0 to 2, the fourth column of M is
// left as it was.
void MatrixFromAxisAngle(const float axis[3], float angle, float M[4][4]);

// M = A·B on the 3x3 blocks; the rest of M is not written. M may be A or B.
void Multiply3x3D(const double A[4][4], const double B[4][4], double M[4][4]);
// out = p·M; out may be p.
void MultiplyRowVectorBy3x3(const float p[3], const float M[4][4], float out[3]);
void MultiplyRowVectorBy3x3D(const double p[3], const double M[4][4], double out[3]);

// The 3x3 block of a rotation with from·M = to, for unit vectors. Pairs that
// are parallel or opposite within 1e-7 go through an intermediate direction.
void FromToBuildRotationD(const double from[3], const double to[3], double M[4][4]);
void FromToBuildRotation(const float from[3], const float to[3], float M[4][4]);

// The rotation about a × b by the angle between a and b; applied to row
// vectors it carries b onto a. Parallel arguments give the identity.
void crazy_new_FromToBuildRotationD(const double a[3], const double b[3], double M[4][4]);

// a turned toward b by the fraction t of the angle between the unit vectors
// a and b; t = 0 returns a bit for bit, t = 1 gives b.
void CGetsAngularInterpolantOfAB(const double a[3], const double b[3], double out[3], double t);
