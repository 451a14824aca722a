#include "polyhedron/temp_face.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"
#include "projection/complex_math.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"

namespace {

// Beyond this |normal · down| the direct turn onto (0, 0, -1) is near-parallel
// and goes round by way of (1, 0, 0) instead.
constexpr double kDirectTurnLimit = 0.9;
constexpr double kOnEdgeFraction = 0.0001;  // squared: a hundredth of the edge length
constexpr double kParallelDeterminant = 0.001;
constexpr double kCrossingMargin = 0.001;  // crossings this near an edge end do not count

int32_t ValidCorners(int32_t n) { return n >= 1 && n <= kPolyMaxCorners ? n : 0; }

bool ValidVertex2D(int32_t v) { return v >= 0 && v < kPolyMax2DVerts; }

// The net face's corner points; false when the face has no usable corners.
bool NetFacePoint(const polyhedron* poly, const PolyFace& face, int32_t corner, double* x, double* y) {
  const int32_t v = face.vert2D[corner];
  if (!ValidVertex2D(v)) return false;
  grab_coordinates2DD(v, poly, x, y);
  return true;
}

bool MidpointInside(float mx, float my, const temp2Dface* temp) {
  const int32_t n = ValidCorners(temp->nCorners);
  bool inside = false;
  for (int32_t i = 0, j = n - 1; i < n; j = i++) {
    const float xa = float(temp->corners[j].x), ya = float(temp->corners[j].y);
    const float xb = float(temp->corners[i].x), yb = float(temp->corners[i].y);
    const bool straddles = (ya <= my && my < yb) || (yb <= my && my < ya);
    if (!straddles) continue;
    const float crossX = xa + (my - ya) * (xb - xa) / (yb - ya);
    if (crossX > mx) inside = !inside;
  }
  return inside;
}

// The mean of the corners, when it lies inside the face and off its edges:
// a point that only an overlapping face can cover.
bool InteriorPoint(const temp2Dface* face, double* x, double* y) {
  const int32_t n = ValidCorners(face->nCorners);
  if (n < 3) return false;
  double sx = 0.0, sy = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    sx += face->corners[i].x;
    sy += face->corners[i].y;
  }
  *x = sx / n;
  *y = sy / n;
  return MidpointInside(float(*x), float(*y), face) && !PointIsOnEdgeOfTempface(*x, *y, face);
}

bool Covers(const temp2Dface* face, double x, double y) {
  return !PointIsOnEdgeOfTempface(x, y, face) && MidpointInside(float(x), float(y), face);
}

bool EdgesCross(const polyhedron* poly, const temp2Dface* temp, int32_t face2D, int32_t excludeFace,
                int32_t sharedEdge) {
  const PolyFace& face = poly->faces[face2D];
  const int32_t nj = ValidCorners(face.n2D);
  const int32_t nt = ValidCorners(temp->nCorners);
  for (int32_t a = 0; a < nj; ++a) {
    if (face2D == excludeFace && a == sharedEdge) continue;
    double px, py, qx, qy;
    if (!NetFacePoint(poly, face, a, &px, &py) || !NetFacePoint(poly, face, (a + 1) % nj, &qx, &qy)) continue;
    const double dx = qx - px, dy = qy - py;
    for (int32_t b = 0; b < nt; ++b) {
      const TempCorner& r = temp->corners[b];
      const TempCorner& r2 = temp->corners[Next2DvertexTempface(temp, b)];
      const double ex = r2.x - r.x, ey = r2.y - r.y;
      const double den = dx * ey - dy * ex;
      if (den > -kParallelDeterminant && den < kParallelDeterminant) continue;
      const double s = ex * (py - r.y) - ey * (px - r.x);
      const double t = dx * (py - r.y) - dy * (px - r.x);
      // Bounds scaled by den itself: only den > 0 can pass. Two consistently
      // wound faces whose outlines cross do so at least once that way round.
      const double lo = kCrossingMargin * den, hi = (1.0 - kCrossingMargin) * den;
      if (lo <= s && s <= hi && lo <= t && t <= hi) return true;
    }
  }
  return false;
}

}  // namespace

int32_t Next2DvertexTempface(const temp2Dface* temp, int32_t i) {
  const int32_t n = temp->nCorners;
  return n > 0 ? (i + 1) % n : 0;
}

void Make2DVersionOf3DFace(const polyhedron* poly, int32_t face3D, temp2Dface* temp, int32_t fragment) {
  if (!poly || !temp || face3D < 0 || face3D >= std::min(poly->n3DFaces, kPolyMaxFaces)) return;
  if (!poly->coords3D) return;
  const PolyFace& face = poly->faces[face3D];
  const int32_t n = ValidCorners(face.n3D);
  const double down[3] = {0.0, 0.0, -1.0};
  const double xAxis[3] = {1.0, 0.0, 0.0};
  const double d = Dot3D(face.normal, down);
  temp->normalDotDown = d;
  const bool direct = d >= -kDirectTurnLimit && d <= kDirectTurnLimit;
  double first[4][4] = {}, second[4][4] = {};
  if (direct) {
    FromToBuildRotationD(face.normal, down, first);
  } else {
    FromToBuildRotationD(face.normal, xAxis, first);
    FromToBuildRotationD(xAxis, down, second);
  }
  for (int32_t i = 0; i < n; ++i) {
    double p[3];
    grab_coordinates3D_into_vector3D(face.vert3D[i], poly, p);
    MultiplyRowVectorBy3x3D(p, first, p);
    if (!direct) MultiplyRowVectorBy3x3D(p, second, p);
    temp->corners[i] = TempCorner{p[0], p[1], face.vert3D[i], fragment, -1, i, 0};
  }
  temp->nCorners = n;
  temp->face3D = face3D;
}

void TranslateTempface_core(temp2Dface* temp, int32_t corner, int32_t face2D, int32_t edge, const polyhedron* poly) {
  const int32_t n = ValidCorners(temp->nCorners);
  if (n == 0 || corner < 0 || corner >= n || face2D < 0 || face2D >= kPolyMaxFaces) return;
  const PolyFace& face = poly->faces[face2D];
  if (edge < 0 || edge >= ValidCorners(face.n2D)) return;
  double ax, ay, bx, by;
  if (!NetFacePoint(poly, face, edge, &ax, &ay) ||
      !NetFacePoint(poly, face, Next2Dvertex(poly, face2D, edge), &bx, &by))
    return;

  const float shiftX = float(ax - temp->corners[corner].x);
  const float shiftY = float(ay - temp->corners[corner].y);
  for (int32_t i = 0; i < n; ++i) {
    temp->corners[i].x += shiftX;
    temp->corners[i].y += shiftY;
  }

  const TempCorner& before = temp->corners[(corner + n - 1) % n];
  float u[3] = {float(bx - ax), float(by - ay), 0.0f};
  float v[3] = {float(before.x - ax), float(before.y - ay), 0.0f};
  NormalizeVectorSlowly(u);
  NormalizeVectorSlowly(v);
  const float angle = std::atan2(-u[0], -u[1]) - std::atan2(-v[0], -v[1]);
  const float axis[3] = {0.0f, 0.0f, 1.0f};
  float turn[4][4] = {};
  MatrixFromAxisAngle(axis, angle, turn);

  const float fx = float(ax), fy = float(ay);
  for (int32_t i = 0; i < n; ++i) {
    TempCorner& c = temp->corners[i];
    float rel[3] = {float(c.x) - fx, float(c.y) - fy, 0.0f};
    MultiplyRowVectorBy3x3(rel, turn, rel);
    c.x = double(fx + rel[0]);
    c.y = double(fy + rel[1]);
  }
}

float FindOrientationOfTempface(const temp2Dface* temp) {
  const int32_t n = ValidCorners(temp->nCorners);
  if (n == 0) return 0.0f;
  int32_t best = 0;
  float bestX = float(temp->corners[0].x), bestY = float(temp->corners[0].y);
  for (int32_t i = 1; i < n; ++i) {
    const float x = float(temp->corners[i].x), y = float(temp->corners[i].y);
    if (y < bestY || (y == bestY && x > bestX)) {
      best = i;
      bestX = x;
      bestY = y;
    }
  }
  const TempCorner& p = temp->corners[(best + n - 1) % n];
  const TempCorner& q = temp->corners[(best + 1) % n];
  const float xp = float(p.x), yp = float(p.y), xq = float(q.x), yq = float(q.y);
  const float xc = bestX, yc = bestY;
  const float cross = xp * yc - yp * xc + yp * xq - xp * yq + xc * yq - yc * xq;
  if (cross > 0.0f) return 1.0f;
  if (cross < 0.0f) return -1.0f;
  return 0.0f;
}

void PutNetfaceIntoTempface(temp2Dface* temp, int32_t face2D, const polyhedron* poly) {
  if (face2D < 0 || face2D >= kPolyMaxFaces) {
    temp->nCorners = 0;
    temp->face3D = -1;
    return;
  }
  const PolyFace& face = poly->faces[face2D];
  const int32_t n = std::clamp(face.n2D, 0, kPolyMaxCorners);
  temp->nCorners = n;
  temp->face3D = face.face3D;
  for (int32_t c = 0; c < n; ++c) {
    const int32_t v = face.vert2D[c];
    if (!ValidVertex2D(v) || !poly->coords2D) {
      temp->corners[c] = TempCorner{0.0, 0.0, -1, -1, -1, c, 0};
      continue;
    }
    // u16 "none" (65535) becomes -1 through the signed 16-bit view.
    temp->corners[c] = TempCorner{poly->coords2D[v][0],
                                  poly->coords2D[v][1],
                                  int32_t(int16_t(poly->vert3DOf2D[v])),
                                  int32_t(poly->fragmentOf2D[v]),
                                  v,
                                  c,
                                  poly->vert2DUsed[v]};
  }
}

bool PointIsOnEdgeOfTempface(double x, double y, const temp2Dface* temp) {
  const int32_t n = ValidCorners(temp->nCorners);
  for (int32_t c = 0; c < n; ++c) {
    const TempCorner& s = temp->corners[c];
    const TempCorner& e = temp->corners[Next2DvertexTempface(temp, c)];
    const double ex = e.x - s.x, ey = e.y - s.y;
    const double lengthSq = ex * ex + ey * ey;
    double cx = s.x, cy = s.y;
    if (lengthSq != 0.0) {
      const double t = std::clamp(((x - s.x) * ex + (y - s.y) * ey) / lengthSq, 0.0, 1.0);
      cx = s.x + t * ex;
      cy = s.y + t * ey;
    }
    const double dx = x - cx, dy = y - cy;
    if (dx * dx + dy * dy < kOnEdgeFraction * lengthSq) return true;
  }
  return false;
}

bool New2DConflict(const temp2Dface* temp, int32_t face2D, const polyhedron* poly, int32_t excludeFace,
                   int32_t sharedEdge) {
  if (!temp || !poly || !poly->coords2D || face2D < 0 || face2D >= kPolyMaxFaces) return false;
  if (EdgesCross(poly, temp, face2D, excludeFace, sharedEdge)) return true;
  if (face2D == excludeFace) return false;
  temp2Dface net{};
  PutNetfaceIntoTempface(&net, face2D, poly);
  for (int32_t c = 0; c < net.nCorners; ++c) {
    const TempCorner& a = net.corners[c];
    const TempCorner& b = net.corners[Next2DvertexTempface(&net, c)];
    const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
    if (PointIsOnEdgeOfTempface(mx, my, temp)) continue;
    if (MidpointInside(float(mx), float(my), temp)) return true;
  }
  // Faces lying exactly on each other (all placements of a lattice net do)
  // or one wholly inside the other have no crossing edges, and the midpoints
  // of the net face's edges lie on or outside the scratch face.
  double x, y;
  if (InteriorPoint(&net, &x, &y) && Covers(temp, x, y)) return true;
  if (InteriorPoint(temp, &x, &y) && Covers(&net, x, y)) return true;
  return false;
}
