// Small kernels of the polyhedral projections: rays through triangles,
// barycentric conversions, points on a net triangle, and rays against a
// sphere, cylinder or cone. Double precision, no state.
#pragma once

// True when the ray from the origin along d passes through the triangle
// a, b, c (an edge or corner counts). Only the side of d facing a triangle
// whose corners run clockwise seen from outside passes.
bool DoesIntersect(const double a[3], const double b[3], const double c[3], const double d[3]);

// Two-sided ray-triangle intersection: 1 and the ray parameter t with the
// barycentrics u (toward T1) and v (toward T2) on a hit, 0 on a miss or a
// triangle seen edge-on.
int intersect_triangle2(const double o[3], const double d[3], const double T0[3], const double T1[3],
                        const double T2[3], double* t, double* u, double* v);

// Barycentrics of (x, y) in the triangle (x1, y1), (x2, y2), (x3, y3). A
// degenerate triangle gives non-finite values.
void XY_and_3points_to_barycentrics(double x, double y, double x1, double y1, double x2, double y2, double x3,
                                    double y3, double* a, double* b, double* c);
// D = a·A + b·B + c·C per coordinate.
void D_Gets_Barycentric_of_A_B_C(double a, double b, double c, const double A[3], const double B[3],
                                 const double C[3], double D[3]);

// The point of a net triangle with corners A, B, C for the barycentrics b0,
// b1, b2. With fancyPointMode 0 it is the linear combination; otherwise the
// corners are interpolated as equirectangular coordinates, so that a net
// laid out as a map covers the sphere smoothly (across the u = 0/1 seam, and
// with a corner at a pole taking its longitude from its neighbours), and the
// result is a unit direction. The polyhedron's per-triangle lookups wrap this.
void Get3DPointFromCornersAndBarys(const double A[3], const double B[3], const double C[3], float b0, float b1,
                                   float b2, int fancyPointMode, double out[3]);

// p becomes (u, v, 0), its equirectangular unit coordinates. Returns 1.0, or
// 0.0 within 0.001 of a pole in v, where the longitude means nothing.
double Normalize_and_RectangularizeD(double p[3]);

enum QuadricKind : int {
  kQuadricSphere = 0,    // x² + y² + z² = 1
  kQuadricCylinder = 1,  // x² + y² = 1, along z
  kQuadricCone = 2,      // x² + y² = z²
};

// The ray (origin ray[0..2], direction ray[3..5]) against a quadric about
// `centre` scaled by s. On a hit returns 1 and writes the point of the smaller
// ray parameter to nearOut[0..2] and of the larger to farOut[0..2] (farOut
// may be null); the sphere and the cylinder also get the unit surface normal
// in elements 3 to 5. Either hit may lie behind the origin. A ray that meets
// the surface once (parallel to a cone's side) gives that point as both hits.
// Returns 0 and writes nothing on a miss or an unknown kind.
int IntersectRayWithQuadricSurface(const double ray[6], const double centre[3], double s, double nearOut[6],
                                   double farOut[6], int kind);
