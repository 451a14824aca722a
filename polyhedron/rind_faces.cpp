#include "polyhedron/rind_faces.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/polyhedron_links.h"
#include "projection/ray_geometry.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

struct NetPoint {
  double x, y;
};

// A curved face: three corners and a partner, all existing 2D vertices.
bool IsCurvedFace(const PolyFace& f) {
  if (f.n2D != 3 || !InRange(f.extraVertex2D, kPolyMax2DVerts)) return false;
  for (int k = 0; k < 3; ++k)
    if (!InRange(f.vert2D[k], kPolyMax2DVerts)) return false;
  return true;
}

NetPoint NetPointOf(const polyhedron* poly, int32_t v) { return {poly->verts2D[v].x, poly->verts2D[v].y}; }

// P0, P1, P2 the face's corners, P3 its partner.
void PatchCorners(const polyhedron* poly, const PolyFace& f, NetPoint P[4]) {
  for (int k = 0; k < 3; ++k) P[k] = NetPointOf(poly, f.vert2D[k]);
  P[3] = NetPointOf(poly, f.extraVertex2D);
}

// The root (-b + sqrt(b² - 4·a·c)) / (2·a) of a·r² + b·r + c = 0, with h =
// 0.5 / a as stored. The stored form cancels badly when a is small against
// b, which is the usual case (a patch close to a parallelogram), and means
// nothing at a = 0, where the equation is linear: there the one root -c/b is
// taken, and for b >= 0 the same root is reached through 2·c / (-b - sqrt),
// which does not cancel. A discriminant a rounding step below zero (points
// on the patch's fold) is read as zero.
double PatchRoot(double a, double b, double c, double h) {
  const double r = SqrtQuakeyDouble(std::max(b * b - 4.0 * a * c, 0.0));
  if (a == 0.0) return b != 0.0 ? -c / b : 0.0;
  if (b >= 0.0) {
    const double q = -b - r;
    if (q != 0.0) return 2.0 * c / q;
  }
  return (-b + r) * h;
}

// The solid point under corner k of a net face, or false when the face is
// not matched to a solid face with a stored vertex there.
bool SolidCorner(const polyhedron* poly, int32_t face2D, int32_t k, double out[3]) {
  int32_t face3D = -1, corner3D = -1;
  Face_and_Index_2D_to_3D(face2D, k, &face3D, &corner3D, poly);
  if (!InRange(face3D, kPolyMaxFaces) || !InRange(corner3D, kPolyMaxCorners)) return false;
  const int32_t v = poly->faces[face3D].vert3D[corner3D];
  if (!InRange(v, std::min(poly->n3DVerts, kPolyMax3DVerts)) || !poly->coords3D) return false;
  for (int i = 0; i < 3; ++i) out[i] = poly->coords3D[v][i];
  return true;
}

bool SolidPartner(const polyhedron* poly, int32_t vert2D, double out[3]) {
  const int32_t v = poly->vert3DOfVert2D[vert2D];
  if (!InRange(v, std::min(poly->n3DVerts, kPolyMax3DVerts)) || !poly->coords3D) return false;
  for (int i = 0; i < 3; ++i) out[i] = poly->coords3D[v][i];
  return true;
}

double Bilinear(const double q[4], double s, double t) {
  const double a = q[0] + (q[1] - q[0]) * s;
  const double b = q[3] + (q[2] - q[3]) * s;
  return a + (b - a) * t;
}

}  // namespace

void Fill_in_rind_precalculables(polyhedron* poly) {
  if (!poly) return;
  const int32_t count = std::clamp(poly->n2DFaces, 0, kPolyMaxFaces);
  for (int32_t i = 0; i < count; ++i) {
    PolyFace& f = poly->faces[i];
    if (!IsCurvedFace(f)) continue;
    NetPoint P[4];
    PatchCorners(poly, f, P);
    const double x0 = P[0].x, y0 = P[0].y, x1 = P[1].x, y1 = P[1].y;
    const double x2 = P[2].x, y2 = P[2].y, x3 = P[3].x, y3 = P[3].y;
    const double a = x3 * y1 - x3 * y0 + y3 * x0 - x1 * y3 + x2 * y0 - x2 * y1 - y2 * x0 + x1 * y2;
    const double b = 2 * y0 * x3 - x3 * y1 - 2 * x0 * y3 + x1 * y3 - x2 * y0 + y2 * x0;
    const double c = y2 * x0 - y1 * x0 + x1 * y0 - x2 * y0 + x3 * y1 - y2 * x3 - x1 * y3 + x2 * y3;
    const double d = x1 * y3 + x2 * y0 + 2 * x0 * y1 - y2 * x0 - 2 * x1 * y0 - x3 * y1;
    f.rindQuadS[0] = a;
    f.rindQuadS[1] = b;
    f.rindQuadS[2] = a == 0.0 ? 1.0 : 0.5 / a;
    f.rindQuadT[0] = c;
    f.rindQuadT[1] = d;
    f.rindQuadT[2] = c == 0.0 ? 1.0 : 0.5 / c;
  }
}

void Get3DPointFancily(int32_t triangle, float x, float y, float out[3], const polyhedron* poly) {
  out[0] = 1.0f;
  out[1] = 0.0f;
  out[2] = 0.0f;
  if (!InRange(triangle, kPolyMaxTriangles)) return;
  const int32_t face = poly->triangles[triangle].face2D;
  if (!InRange(face, kPolyMaxFaces) || !IsCurvedFace(poly->faces[face])) return;
  const PolyFace& f = poly->faces[face];

  double Q[4][3];
  for (int k = 0; k < 3; ++k)
    if (!SolidCorner(poly, face, k, Q[k])) return;
  if (!SolidPartner(poly, f.extraVertex2D, Q[3])) return;

  NetPoint P[4];
  PatchCorners(poly, f, P);
  const double x0 = P[0].x, y0 = P[0].y, x1 = P[1].x, y1 = P[1].y;
  const double x2 = P[2].x, y2 = P[2].y, x3 = P[3].x, y3 = P[3].y;
  const double p = x, q = y;
  const double a = f.rindQuadS[0], b = f.rindQuadS[1], ha = f.rindQuadS[2];
  const double c = f.rindQuadT[0], d = f.rindQuadT[1], hc = f.rindQuadT[2];
  const double bs = x0 * q - y0 * p - x1 * q + y1 * p - x3 * q + y3 * p + x2 * q - y2 * p + b;
  const double cs = x3 * q - x0 * q + y0 * p - y0 * x3 - y3 * p + x0 * y3;
  const double s = PatchRoot(a, bs, cs, ha);
  const double bt = x1 * q - y1 * p - x2 * q + y2 * p - x0 * q + y0 * p + x3 * q - y3 * p + d;
  const double ct = x0 * q - x1 * q + y1 * p - x0 * y1 - y0 * p + y0 * x1;
  const double t = PatchRoot(c, bt, ct, hc);

  if (poly->fancyPointMode == 0) {
    for (int i = 0; i < 3; ++i) {
      const double column[4] = {Q[0][i], Q[1][i], Q[2][i], Q[3][i]};
      out[i] = float(Bilinear(column, s, t));
    }
    NormalizeVectorSlowly(out);
  } else if (poly->fancyPointMode == 1) {
    double u[4], v[4];
    int quadrant[4];
    bool anyFirst = false, anyLast = false;
    for (int k = 0; k < 4; ++k) {
      double r[3] = {Q[k][0], Q[k][1], Q[k][2]};
      Normalize_and_RectangularizeD(r);
      u[k] = r[0];
      v[k] = r[1];
      quadrant[k] = int((u[k] - std::floor(u[k])) * 4.0);
      anyFirst = anyFirst || quadrant[k] == 0;
      anyLast = anyLast || quadrant[k] == 3;
    }
    // A patch with corners in both the first and the last quarter straddles
    // the seam of longitude: blend it across the seam, not around the sphere.
    if (anyFirst && anyLast)
      for (int k = 0; k < 4; ++k)
        if (quadrant[k] == 0) u[k] += 1.0;
    RectangularToSpherical(float(Bilinear(u, s, t)), float(Bilinear(v, s, t)), out);
  }
  out[0] = -out[0];
  out[1] = -out[1];
}
