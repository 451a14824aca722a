// Conformal warps of the barycentric coordinates of a point on a face of a
// polyhedron. Drawn straight, a face's picture on the sphere is stretched
// toward its corners; a warp replaces the point's barycentrics (b0, b1, b2)
// in place by those of the central view of the face's conformal image, so
// that building the 3D point from them and normalising it gives the
// angle-preserving map of the flat face onto its sphere face.
//
// Each warp reads two of the coordinates as a unit point z, fetches w from
// its table and writes the fetched pair back, the third coordinate then
// being 1 minus the other two (formed in double, rounded to float). The
// tables are laid out for the order of coordinates each warp uses:
//   icosahedron, octahedron: the whole face;        z = (b2, b0) -> b2, b0
//   tetrahedron: a sixth (centre b0, edge midpoint b1, corner b2); as above
//   dodecahedron: a tenth of the pentagon (centre b0, edge midpoint b1,
//     corner b2); z = (b1, b2), returned crosswise: re w -> b2, im w -> b1
//   cube: an eighth of the square (centre b0, edge midpoint b1, corner b2);
//     z = (1 - b0, b2), the flat face coordinate: 1 - re w -> b0, im w -> b2
#pragma once

void WarpBarysForConformalIcosahedron(float* b0, float* b1, float* b2);
void WarpBarysForConformalOctahedron(float* b0, float* b1, float* b2);
void WarpBarysForTetrahedron(float* b0, float* b1, float* b2);
void WarpBarysForConformalDodecahedron(float* b0, float* b1, float* b2);
void WarpBarysForCube(float* b0, float* b1, float* b2);

// The half turn about the axis (1, -1, 0): (x, y, z) -> (-y, -x, -z), which
// puts the sphere where the tetrahedron's tables expect it.
void TumbleSphereForConformalTetrahedron(float point[3]);
