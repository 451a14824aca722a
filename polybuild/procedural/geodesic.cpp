#include "polybuild/procedural/geodesic.h"

#include "polybuild/procedural/geodesic_scratch.h"
#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/vertex_upkeep.h"
#include "projection/scalar_math.h"

namespace {

int32_t AddSpherePoint(polyhedron* target, double p[3]) {
  NormalizeVectorSlowlyD(p);
  return AddNew3DDVertToPolyhedron(target, p);
}

// The unit-sphere vertex of the weights (wu, wv, ww) on the corners.
int32_t AddWeighted(polyhedron* target, const double u[3], const double v[3], const double w[3], double wu,
                    double wv, double ww) {
  double p[3];
  for (int32_t c = 0; c < 3; ++c) p[c] = wu * u[c] + wv * v[c] + ww * w[c];
  return AddSpherePoint(target, p);
}

}  // namespace

void tesselate_one_face_about_centroid(const polyhedron* source, polyhedron* target, int32_t face) {
  const PolyFace& f = source->faces[face];
  double g[3];
  GetCentroidOf3DFace(face, source, g);
  const int32_t centre = AddSpherePoint(target, g);
  for (int32_t k = 0; k < f.n3D; ++k) {
    double p[3], q[3];
    grab_coordinates3D_into_vector3D(f.vert3D[k], source, p);
    grab_coordinates3D_into_vector3D(f.vert3D[(k + 1) % f.n3D], source, q);
    const int32_t a = AddSpherePoint(target, p);
    const int32_t b = AddSpherePoint(target, q);
    AddSoundTriangle(target, a, b, centre, -1, -1);
  }
}

void geodesate_one_face(const polyhedron* source, polyhedron* target, int32_t frequency, int32_t face) {
  const PolyFace& f = source->faces[face];
  if (f.n3D < 3) return;
  double u[3], v[3], w[3];
  grab_coordinates3D_into_vector3D(f.vert3D[0], source, u);
  grab_coordinates3D_into_vector3D(f.vert3D[1], source, v);
  grab_coordinates3D_into_vector3D(f.vert3D[2], source, w);
  const double n = frequency < 1 ? 1.0 : double(frequency);
  const int32_t rows = frequency < 1 ? 1 : frequency;
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j <= i; ++j) {
      const int32_t p1 = AddWeighted(target, u, v, w, j / n, 1.0 - i / n, (i - j) / n);
      const int32_t p2 = AddWeighted(target, u, v, w, j / n, 1.0 - (i + 1) / n, (i + 1 - j) / n);
      const int32_t p3 = AddWeighted(target, u, v, w, (j + 1) / n, 1.0 - (i + 1) / n, (i - j) / n);
      AddSoundTriangle(target, p1, p2, p3, -1, -1);
      if (j < i) {
        const int32_t p4 = AddWeighted(target, u, v, w, (j + 1) / n, 1.0 - i / n, (i - j - 1) / n);
        AddSoundTriangle(target, p3, p4, p1, -1, -1);
      }
    }
  }
}

void BuildGeodesicNotTriangleFacedClass1(polyhedron* poly, BufferProcs* procs, int32_t a, int32_t b) {
  if (!ReserveSolidStorage(poly, procs)) return;
  const int32_t frequency = a < 1 ? 1 : a;
  ScratchPoly base{};
  // An empty solid would be handed on as if it were one: say why there is none.
  if (const int32_t error = BuildScratchSolid(poly, b, procs, &base); error != kPolyErrorNone) {
    poly->errorCode = error;
    FinishProceduralSolid(poly);
    return;
  }
  ScratchPoly triangles = NewScratchPoly(poly, procs);
  if (!triangles.poly || !ReserveSolidStorage(triangles.poly, procs)) {
    FreeScratchPoly(&triangles, procs);
    FreeScratchPoly(&base, procs);
    poly->errorCode = kPolyErrorNoStorage;
    FinishProceduralSolid(poly);
    return;
  }
  for (int32_t face = 0; face < base.poly->n3DFaces; ++face) {
    if (base.poly->faces[face].n3D == 3)
      geodesate_one_face(base.poly, triangles.poly, 1, face);
    else
      tesselate_one_face_about_centroid(base.poly, triangles.poly, face);
  }
  for (int32_t face = 0; face < triangles.poly->n3DFaces; ++face)
    geodesate_one_face(triangles.poly, poly, frequency, face);
  FreeScratchPoly(&triangles, procs);
  FreeScratchPoly(&base, procs);
  FinishProceduralSolid(poly);
}
