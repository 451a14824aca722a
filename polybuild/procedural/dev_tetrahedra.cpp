#include "polybuild/procedural/dev_tetrahedra.h"

#include <cmath>
#include <initializer_list>

#include "polybuild/procedural/geodesic_scratch.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/vertex_upkeep.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"

namespace {

constexpr int32_t kTetrahedronMode = 6;
constexpr double kLineEpsilon = 1e-5;

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Cross(const double a[3], const double b[3], double out[3]) {
  const double x = a[1] * b[2] - a[2] * b[1], y = a[2] * b[0] - a[0] * b[2], z = a[0] * b[1] - a[1] * b[0];
  out[0] = x, out[1] = y, out[2] = z;
}

bool NearZero(const double v[3]) {
  return std::fabs(v[0]) < kLineEpsilon && std::fabs(v[1]) < kLineEpsilon && std::fabs(v[2]) < kLineEpsilon;
}

void CornerOnSphere(const polyhedron* base, int32_t face, int32_t corner, double out[3]) {
  const PolyFace& f = base->faces[face];
  grab_coordinates3D_into_vector3D(f.vert3D[((corner % f.n3D) + f.n3D) % f.n3D], base, out);
  NormalizeVectorSlowlyD(out);
}

// The edge of sliver j of n left uncut so that its face joins the next
// sector or face in the net; -1 when every sliver keeps edge 1 cut.
int32_t SliverCutEdge(int32_t j, int32_t n, int32_t kind, int32_t tag) {
  if (kind == kSliverConic) {
    if (j == 0 && (tag == 0 || tag == 6 || tag == 9)) return -1;
    if (j == n - 1 && (tag == 3 || tag == 4 || tag == 5)) return -1;
    return 1;
  }
  if (kind == 2 && tag == 3) return j == 0 ? 0 : 1;
  return 1;
}

// The scratch tetrahedron both solids start from, or false with the error.
bool BuildTetrahedron(polyhedron* poly, BufferProcs* procs, ScratchPoly* base) {
  PolyhedronParams params{};
  get_polyhedron_params_from_output_mode(kTetrahedronMode, &params);
  const int32_t error = BuildScratchSolid(poly, params.shapeCode, procs, base);
  if (error != kPolyErrorNone) poly->errorCode = error;
  return error == kPolyErrorNone;
}

}  // namespace

int32_t LineLineIntersect(const double p1[3], const double p2[3], const double p3[3], const double p4[3], double pa[3],
                          double pb[3], double* mua, double* mub) {
  double p13[3], p43[3], p21[3];
  for (int32_t c = 0; c < 3; ++c) {
    p13[c] = p1[c] - p3[c];
    p43[c] = p4[c] - p3[c];
    p21[c] = p2[c] - p1[c];
  }
  if (NearZero(p43) || NearZero(p21)) return 0;
  const double d1343 = Dot(p13, p43), d4321 = Dot(p43, p21), d1321 = Dot(p13, p21);
  const double d4343 = Dot(p43, p43), d2121 = Dot(p21, p21);
  const double denom = d2121 * d4343 - d4321 * d4321;
  if (std::fabs(denom) < kLineEpsilon) return 0;
  *mua = (d1343 * d4321 - d1321 * d4343) / denom;
  *mub = (d1343 + d4321 * *mua) / d4343;
  for (int32_t c = 0; c < 3; ++c) {
    pa[c] = p1[c] + *mua * p21[c];
    pb[c] = p3[c] + *mub * p43[c];
  }
  return 1;
}

void MakeLieOnCone(const double apex[3], double turn, const double P[3], double out[3]) {
  double U[3] = {apex[0], apex[1], apex[2]};
  NormalizeVectorSlowlyD(U);
  double D[3] = {P[0] - apex[0], P[1] - apex[1], P[2] - apex[2]};
  NormalizeVectorSlowlyD(D);
  double N[3];
  Cross(U, D, N);
  NormalizeVectorSlowlyD(N);
  double M[4][4];
  MatrixFromAxisAngleD(N, turn, M);
  const double toCentre[3] = {-apex[0], -apex[1], -apex[2]};
  double R[3];
  MultiplyRowVectorBy3x3D(toCentre, M, R);
  const double centre[3] = {0.0, 0.0, 0.0};
  const double far[3] = {apex[0] + R[0], apex[1] + R[1], apex[2] + R[2]};
  double pa[3], pb[3], mua = 0.0, mub = 0.0;
  if (!LineLineIntersect(centre, P, apex, far, pa, pb, &mua, &mub)) {
    out[0] = P[0], out[1] = P[1], out[2] = P[2];
    return;
  }
  out[0] = pa[0], out[1] = pa[1], out[2] = pa[2];
}

void BuildDevelopableSliverCore(polyhedron* poly, const double S[3], const double A[3], const double B[3], int32_t j,
                                int32_t n, int32_t kind, int32_t tag) {
  double s[3] = {S[0], S[1], S[2]}, x1[3], x2[3];
  CGetsAngularInterpolantOfAB(A, B, x1, double(j) / n);
  CGetsAngularInterpolantOfAB(A, B, x2, double(j + 1) / n);
  if (kind == kSliverConic) {
    double c1[3], c2[3];
    MakeLieOnCone(S, kConeTurn, x1, c1);
    MakeLieOnCone(S, kConeTurn, x2, c2);
    for (int32_t c = 0; c < 3; ++c) x1[c] = c1[c], x2[c] = c2[c];
  } else if (kind == kSliverDevelopable) {
    // A half turn about the axis (1, -1, 0): it keeps the winding.
    for (double* p : {s, x1, x2}) {
      const double x = p[0], y = p[1], z = p[2];
      p[0] = -y, p[1] = -x, p[2] = -z;
    }
  }
  const int32_t vs = AddNew3DDVertToPolyhedron(poly, s);
  const int32_t v1 = AddNew3DDVertToPolyhedron(poly, x1);
  const int32_t v2 = AddNew3DDVertToPolyhedron(poly, x2);
  AddSoundTriangle(poly, vs, v1, v2, SliverCutEdge(j, n, kind, tag), -1);
}

void BuildDevelopableSliver(const polyhedron* base, polyhedron* poly, int32_t face, int32_t apexCorner,
                            int32_t fromCorner, int32_t toCorner, int32_t j, int32_t n, int32_t kind) {
  double s[3], a[3], b[3];
  CornerOnSphere(base, face, apexCorner, s);
  CornerOnSphere(base, face, fromCorner, a);
  CornerOnSphere(base, face, toCorner, b);
  BuildDevelopableSliverCore(poly, s, a, b, j, n, kind, face);
}

void AddQuadrilateralFace(polyhedron* poly, const double P1[3], const double P2[3], const double P3[3],
                          const double P4[3]) {
  const int32_t corners[4] = {AddNew3DDVertToPolyhedron(poly, P1), AddNew3DDVertToPolyhedron(poly, P2),
                              AddNew3DDVertToPolyhedron(poly, P3), AddNew3DDVertToPolyhedron(poly, P4)};
  AddSoundFace(poly, corners, 4, 1, 3, -1);
}

void BuildDevTet(polyhedron* poly, BufferProcs* procs) {
  if (!ReserveSolidStorage(poly, procs)) return;
  ScratchPoly base{};
  if (BuildTetrahedron(poly, procs, &base)) {
    // Faces 0 to 2 fan from their corner 0 over the arc from corner 1 to
    // corner 2, face 3 from its corner 2 over the arc from corner 0 to
    // corner 1. The tetrahedron's face order puts those arcs on two opposite
    // edges, two on each, so arcs meet arcs and chords meet chords.
    const int32_t faces = base.poly->n3DFaces < 4 ? base.poly->n3DFaces : 4;
    for (int32_t face = 0; face < faces; ++face) {
      const int32_t apex = face < 3 ? 0 : 2;
      for (int32_t j = 0; j < kSliversPerArc; ++j)
        BuildDevelopableSliver(base.poly, poly, face, apex, (apex + 1) % 3, (apex + 2) % 3, j, kSliversPerArc,
                               kSliverDevelopable);
    }
    FreeScratchPoly(&base, procs);
  }
  FinishProceduralSolid(poly);
}

void BuildConeTet(polyhedron* poly, BufferProcs* procs) {
  if (!ReserveSolidStorage(poly, procs)) return;
  ScratchPoly base{};
  if (BuildTetrahedron(poly, procs, &base)) {
    for (int32_t face = 0; face < base.poly->n3DFaces; ++face) {
      const int32_t tag = 3 * face;
      double g[3];
      GetCentroidOf3DFace(face, base.poly, g);
      NormalizeVectorSlowlyD(g);
      for (int32_t k = 0; k < base.poly->faces[face].n3D; ++k) {
        double a[3], b[3];
        CornerOnSphere(base.poly, face, k - 1, a);
        CornerOnSphere(base.poly, face, k, b);
        for (int32_t j = 0; j < kSliversPerArc; ++j)
          BuildDevelopableSliverCore(poly, g, a, b, j, kSliversPerArc, kSliverConic, tag);
      }
    }
    FreeScratchPoly(&base, procs);
  }
  FinishProceduralSolid(poly);
}
