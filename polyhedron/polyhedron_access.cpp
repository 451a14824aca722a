#include "polyhedron/polyhedron_access.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

}  // namespace

void grab_coordinates2DD(int32_t i, const polyhedron* poly, double* x, double* y) {
  *x = poly->coords2D[i][0];
  *y = poly->coords2D[i][1];
}

void grab_coordinates3DD(int32_t i, const polyhedron* poly, double* x, double* y, double* z) {
  *x = poly->coords3D[i][0];
  *y = poly->coords3D[i][1];
  *z = poly->coords3D[i][2];
}

void grab_coordinates3D_into_vector3D(int32_t i, const polyhedron* poly, double out[3]) {
  out[0] = poly->coords3D[i][0];
  out[1] = poly->coords3D[i][1];
  out[2] = poly->coords3D[i][2];
}

triplex grab_coordinates3D_into_T(int32_t i, const polyhedron* poly) {
  return triplex{poly->coords3D[i][0], poly->coords3D[i][1], poly->coords3D[i][2]};
}

void Set3DVert_T(polyhedron* poly, int32_t i, triplex point) {
  double(*coords)[3] = MutableCoords3D(poly);
  if (!coords || !InRange(i, kPolyMax3DVerts)) return;
  coords[i][0] = point.x;
  coords[i][1] = point.y;
  coords[i][2] = point.z;
}

void Grab2DPoint(int32_t i, DPoint* out, const polyhedron* poly) {
  if (!InRange(i, kPolyMax2DVerts)) {
    *out = DPoint{0.0, 0.0, -1, -1, -1, 0};
    return;
  }
  // Vertex numbers stay far below 32768, so the u16 "none" (65535) reads back
  // as the -1 of the i32 fields through a signed 16-bit view.
  *out = DPoint{poly->coords2D[i][0],
                poly->coords2D[i][1],
                int32_t(int16_t(poly->vert3DOf2D[i])),
                int32_t(poly->fragmentOf2D[i]),
                i,
                poly->vert2DUsed[i]};
}

void Set2DPoint(int32_t i, DPoint in, polyhedron* poly) {
  if (!InRange(i, kPolyMax2DVerts)) return;
  double(*coords)[2] = MutableCoords2D(poly);
  if (!coords) {
    poly->errorCode = kPolyErrorNoStorage;
    return;
  }
  coords[i][0] = in.x;
  coords[i][1] = in.y;
  poly->vert3DOf2D[i] = uint16_t(in.vert3D);
  poly->fragmentOf2D[i] = int16_t(in.fragment);
  poly->vert2DUsed[i] = 1;
}

fcomplex GrabRederingVertIntoComplex(int32_t i, const polyhedron* poly) {
  if (i < 0) return fcomplex{0.0, 0.0};
  return fcomplex{double(poly->verts2D[i].x), double(poly->verts2D[i].y)};
}

// The owned arrays came from our own allocator as writable blocks; only the
// record's view of them is read-only, so that borrowed tables stay safe.
double (*MutableCoords2D(polyhedron* poly))[2] {
  return poly && poly->ownsArrays ? const_cast<double(*)[2]>(poly->coords2D) : nullptr;
}

double (*MutableCoords3D(polyhedron* poly))[3] {
  return poly && poly->ownsArrays ? const_cast<double(*)[3]>(poly->coords3D) : nullptr;
}

int16_t* MutableFaces2DRows(polyhedron* poly) {
  return poly && poly->ownsArrays ? const_cast<int16_t*>(poly->faces2DRows) : nullptr;
}

int16_t* MutableFaces3DRows(polyhedron* poly) {
  return poly && poly->ownsArrays ? const_cast<int16_t*>(poly->faces3DRows) : nullptr;
}
