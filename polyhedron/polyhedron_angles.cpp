#include "polyhedron/polyhedron_angles.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/temp_face.h"
#include "projection/complex_math.h"
#include "projection/planes.h"
#include "projection/scalar_math.h"

namespace {

// Two unit vectors can have a dot product a rounding step beyond ±1 (a
// straight corner, a face folded back on itself); acos would give NaN.
float AngleBetweenUnits(const double a[3], const double b[3]) {
  return float(std::acos(std::clamp(Dot3D(a, b), -1.0, 1.0)));
}

struct CornerVectors {
  double toPrev[3];
  double toNext[3];
};

CornerVectors UnitCornerVectors(const double prev[3], const double at[3], const double next[3]) {
  CornerVectors c;
  Sub3D(prev, at, c.toPrev);
  Sub3D(next, at, c.toNext);
  NormalizeVectorSlowlyD(c.toPrev);
  NormalizeVectorSlowlyD(c.toNext);
  return c;
}

// Static shapes do not count their 3D vertices, so only the record's limit
// can be checked here.
bool Vertices3DValid(const PolyFace& f) {
  for (int32_t i = 0; i < f.n3D; ++i)
    if (f.vert3D[i] < 0 || f.vert3D[i] >= kPolyMax3DVerts) return false;
  return true;
}

// Twice the signed area of the flattened face at its lowest corner (the
// rightmost on ties), in single precision: positive when counter-clockwise.
float WindingAtLowestCorner(const temp2Dface& t) {
  const int32_t n = t.nCorners;
  int32_t k = 0;
  for (int32_t i = 1; i < n; ++i) {
    const TempCorner& c = t.corners[i];
    const TempCorner& best = t.corners[k];
    if (c.y < best.y || (c.y == best.y && c.x > best.x)) k = i;
  }
  const TempCorner& p = t.corners[(k + n - 1) % n];
  const TempCorner& q = t.corners[(k + 1) % n];
  const float xp = float(p.x), yp = float(p.y), xk = float(t.corners[k].x), yk = float(t.corners[k].y);
  const float xq = float(q.x), yq = float(q.y);
  return xp * yk - yp * xk + yp * xq - xp * yq + xk * yq - yk * xq;
}

void FaceAngles3D(polyhedron* poly, int32_t f) {
  PolyFace& face = poly->faces[f];
  const int32_t n = face.n3D;
  double last[3] = {0.0, 0.0, 1.0};
  for (int32_t i = 0; i < n; ++i) {
    double prev[3], at[3], next[3];
    grab_coordinates3D_into_vector3D(face.vert3D[(i - 1 + n) % n], poly, prev);
    grab_coordinates3D_into_vector3D(face.vert3D[i], poly, at);
    grab_coordinates3D_into_vector3D(face.vert3D[(i + 1) % n], poly, next);
    const CornerVectors c = UnitCornerVectors(prev, at, next);
    face.angle3D[i] = AngleBetweenUnits(c.toPrev, c.toNext);
    if (i == n - 1) Cross3D(c.toPrev, c.toNext, last);
  }
  NormalizeVectorSlowlyD(last);
  std::copy(last, last + 3, face.normal);

  double first[3];
  grab_coordinates3D_into_vector3D(face.vert3D[0], poly, first);
  const double side = Dot3D(face.normal, first);
  face.orientationSign = side < 0.0 ? -1.0f : (side > 0.0 ? 1.0f : float(side));

  // The normal of the last corner points the wrong way when that corner is
  // reflex or straight; the flattened face's winding tells.
  temp2Dface flat{};
  Make2DVersionOf3DFace(poly, f, &flat, 0);
  if (flat.nCorners > 0 && WindingAtLowestCorner(flat) < 0.0f)
    for (double& c : face.normal) c = -c;
  BuildPlaneFromPointAndDirection(first, face.normal, &face.plane);
}

void FaceAngles2D(polyhedron* poly, int32_t f) {
  PolyFace& face = poly->faces[f];
  const int32_t n = face.n2D;
  for (int32_t i = 0; i < n; ++i) {
    double prev[3] = {0.0, 0.0, 0.0}, at[3] = {0.0, 0.0, 0.0}, next[3] = {0.0, 0.0, 0.0};
    grab_coordinates2DD(face.vert2D[(i - 1 + n) % n], poly, &prev[0], &prev[1]);
    grab_coordinates2DD(face.vert2D[i], poly, &at[0], &at[1]);
    grab_coordinates2DD(face.vert2D[(i + 1) % n], poly, &next[0], &next[1]);
    const CornerVectors c = UnitCornerVectors(prev, at, next);
    face.angle2D[i] = AngleBetweenUnits(c.toPrev, c.toNext);
    face.edgeAngle2D[i] = float(std::acos(std::clamp(c.toNext[1], -1.0, 1.0)));
  }
}

bool Vertices2DValid(const PolyFace& f) {
  for (int32_t i = 0; i < f.n2D; ++i)
    if (f.vert2D[i] < 0 || f.vert2D[i] >= kPolyMax2DVerts) return false;
  return true;
}

}  // namespace

void Calc3DAngles(polyhedron* poly) {
  if (!poly || !poly->coords3D) return;
  const int32_t count = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < count; ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.n3D < 1 || face.n3D > kPolyMaxCorners || !Vertices3DValid(face)) continue;
    FaceAngles3D(poly, f);
  }
}

void Calc2DAnglesAroundFaces(polyhedron* poly) {
  if (!poly || !poly->coords2D) return;
  const int32_t count = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < count; ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.n2D < 1 || face.n2D > kPolyMaxCorners || !Vertices2DValid(face)) continue;
    FaceAngles2D(poly, f);
  }
}
