#include "polybuild/procedural/tattoo_faces.h"

#include <cmath>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_record.h"

namespace {

// Twice the area of the face (the length of its Newell normal) below this
// counts as none: every face of these solids is many orders larger.
constexpr double kMinDoubleArea = 1e-12;

double NewellDoubleArea(const polyhedron* poly, const int32_t* corners, int32_t n) {
  double nx = 0.0, ny = 0.0, nz = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    double a[3], b[3];
    grab_coordinates3D_into_vector3D(corners[i], poly, a);
    grab_coordinates3D_into_vector3D(corners[(i + 1) % n], poly, b);
    nx += (a[1] - b[1]) * (a[2] + b[2]);
    ny += (a[2] - b[2]) * (a[0] + b[0]);
    nz += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return std::sqrt(nx * nx + ny * ny + nz * nz);
}

bool IsStoredVertex(const polyhedron* poly, int32_t v) { return v >= 0 && v < poly->n3DVerts; }

}  // namespace

bool AddSoundFace(polyhedron* poly, const int32_t* corners, int32_t n, int32_t cutEdgeA, int32_t cutEdgeB,
                  int32_t facegroup, int32_t extra) {
  if (n < kPolyMinCorners || n > kPolyMaxCorners) return false;
  int32_t kept[kPolyMaxCorners + 1];
  int32_t m = 0, cutA = -1, cutB = -1;
  for (int32_t i = 0; i < n; ++i) {
    // A vertex the adder could not store (its store was full) makes no face.
    if (!IsStoredVertex(poly, corners[i])) return false;
    if (corners[i] == corners[(i + 1) % n]) continue;
    // The edge leaving a kept corner is the original edge i.
    if (i == cutEdgeA) cutA = m;
    if (i == cutEdgeB) cutB = m;
    kept[m++] = corners[i];
  }
  if (m < kPolyMinCorners) return false;
  for (int32_t i = 0; i < m; ++i)
    for (int32_t j = i + 1; j < m; ++j)
      if (kept[i] == kept[j]) return false;
  if (NewellDoubleArea(poly, kept, m) < kMinDoubleArea) return false;
  int32_t takeExtra = 0;
  if (m == 3 && IsStoredVertex(poly, extra) && extra != kept[0] && extra != kept[1] && extra != kept[2]) {
    kept[3] = extra;
    takeExtra = 1;
  }
  const int32_t before = poly->n3DFaces;
  Add3DFaceToPolyhedron_macro(poly, kept, m, cutA, 1, takeExtra, facegroup, cutB, -1);
  return poly->n3DFaces > before;
}

bool AddSoundTriangle(polyhedron* poly, int32_t a, int32_t b, int32_t c, int32_t cutEdgeA, int32_t facegroup,
                      int32_t extra) {
  const int32_t corners[3] = {a, b, c};
  return AddSoundFace(poly, corners, 3, cutEdgeA, -1, facegroup, extra);
}

void FinishProceduralSolid(polyhedron* poly) {
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
  if (poly->n3DFaces <= 0 && poly->errorCode == kPolyErrorNone) poly->errorCode = kPolyErrorShapeNotAvailable;
}
