// Point maps of the output views that are neither map projections nor
// polyhedra: the skewed repeat of a tiling, the anamorphic mirror, the
// un-fisheye warp and a flat sheet read as an equirectangular picture, and
// two small predicates. The gore profile, the thorn view and the folding
// sphere have files of their own (special_views_ellipsoid.h,
// special_views_thorn.h, special_views_fold.h).
//
// Outside flags follow the projection contract: each function sets the
// caller's flag where it says so and leaves it alone otherwise.
#pragma once

#include <cstdint>

struct renderhinttype;

// The skewed repeat of a tiling (output mode 64): the plane is sheared by
// 60 degrees and the point wrapped `scale` times into the net's height
// [netMinY, netMaxY) and into the hint's band [bandMinX, bandMaxX), so the
// result always lies in both ranges. An empty or reversed range gives its
// lower bound.
void calc_skewed_coordinates(float scale, float netMinY, float netMaxY, float x, float y, float* outX, float* outY,
                             const renderhinttype* hint);

// The view in a spherical mirror: p becomes (x/2, y/2, z/2 + 1/2),
// normalised (a zero result becomes (0, 0, 1)).
void AnamorphicIntersect(float point[3]);

// Un-fisheye warp of a sheet point. 3y beyond plus or minus pi/2 sets the
// flag and writes (-1, -1); otherwise the flag is left alone.
void DoUnFishWarp(float x, float y, float* outX, float* outY, uint8_t* outside);

// A sheet point in [-0.5, 0.5]^2 as an equirectangular picture (x grows to
// the left on the sphere, unlike RectangularToSpherical). Outside the square
// or for NaN the flag is set and the point left untouched.
void transform_2D_equi_to_sphere(float x, float y, float point[3], uint8_t* outside);

// True for the multi-view sheets, output modes 75 to 79.
bool IsMultiview(int32_t outputMode);

// The vertex (0 to 3) of the regular tetrahedron with a vertex at +z that is
// nearest to the direction p; ties go to the lower index.
int32_t NearestTetrahedronVertex(const float point[3]);
