#include "polyhedron/nets/wedge_joins.h"

#include <cmath>
#include <initializer_list>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/vertex_maps.h"
#include "projection/complex_math.h"
#include "projection/scalar_math.h"

namespace {

bool UsedVertex(const polyhedron* poly, int32_t v) {
  return v >= 0 && v < kPolyMax2DVerts && poly->vert2DUsed[v];
}

int32_t KeyVertex(const polyhedron* poly, int32_t key, int32_t fragment) {
  if (key < 0 || key >= kPolyKey3DVerts) return -1;
  return Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(poly, poly->key3DVerts[key], fragment);
}

// The midpoint of p and q as a vertex of q's fragment carrying q's solid
// vertex; -1 when either is missing or no slot is free.
int32_t Midpoint(polyhedron* poly, int32_t p, int32_t q) {
  if (!UsedVertex(poly, p) || !UsedVertex(poly, q)) return -1;
  const double x = 0.5 * (poly->coords2D[p][0] + poly->coords2D[q][0]);
  const double y = 0.5 * (poly->coords2D[p][1] + poly->coords2D[q][1]);
  const int32_t v3D = Vert_Index_2D_to_3D(poly, q);
  return AddNew2DVertToPolyhedron(poly, x, y, uint16_t(v3D < 0 ? kPolyNoVertex16 : v3D), poly->fragmentOf2D[q]);
}

}  // namespace

int32_t AlignFragments(polyhedron* poly, int32_t a, int32_t b, int32_t c, int32_t d, int32_t fragment) {
  if (!poly || !poly->coords2D) return -1;
  for (const int32_t v : {a, b, c, d})
    if (!UsedVertex(poly, v)) return -1;
  const fcomplex pa = Complex(poly->coords2D[a][0], poly->coords2D[a][1]);
  const fcomplex pb = Complex(poly->coords2D[b][0], poly->coords2D[b][1]);
  const fcomplex pc = Complex(poly->coords2D[c][0], poly->coords2D[c][1]);
  const fcomplex pd = Complex(poly->coords2D[d][0], poly->coords2D[d][1]);
  const float lengthAB = std::sqrt(float((pa.re - pb.re) * (pa.re - pb.re) + (pa.im - pb.im) * (pa.im - pb.im)));
  const float lengthCD = std::sqrt(float((pc.re - pd.re) * (pc.re - pd.re) + (pc.im - pd.im) * (pc.im - pd.im)));
  // An edge of no length has no direction to turn onto its target.
  if (lengthCD == 0.0f && lengthAB != 0.0f) return -1;
  const double s = lengthAB == 0.0f ? 1.0 : double(lengthAB) / double(lengthCD);
  const float angleAB = XYtoRadians(float(pa.re - pb.re), float(pa.im - pb.im));
  const float angleCD = XYtoRadians(float(pc.re - pd.re), float(pc.im - pd.im));
  const fcomplex rotor = Cspun(double(angleCD - angleAB));
  const fcomplex offset = Complex(double(float(-pc.re)), double(float(-pc.im)));
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!poly->vert2DUsed[v] || poly->fragmentOf2D[v] != fragment) continue;
    DPoint p;
    Grab2DPoint(v, &p, poly);
    const fcomplex moved = Cadd(pa, Cmul(rotor, RCmul(s, Cadd(Complex(p.x, p.y), offset))));
    p.x = moved.re;
    p.y = moved.im;
    Set2DPoint(v, p, poly);
  }
  return 0;
}

int32_t JoinFirstWedge(polyhedron* poly) {
  if (!poly) return -1;
  const int32_t a = KeyVertex(poly, 0, 1), b = KeyVertex(poly, 1, 1);
  const int32_t c = KeyVertex(poly, 2, 2), d = KeyVertex(poly, 3, 2);
  const int32_t m = Midpoint(poly, c, d);
  return AlignFragments(poly, a, b, c, m, 2);
}

int32_t JoinWedges(polyhedron* poly, int32_t k1, int32_t k2, int32_t fragmentA, int32_t fragmentB) {
  if (!poly) return -1;
  const int32_t p = KeyVertex(poly, k1, fragmentA), q = KeyVertex(poly, k1 + 1, fragmentA);
  const int32_t m1 = Midpoint(poly, p, q);
  const int32_t r = KeyVertex(poly, k2, fragmentB), s = KeyVertex(poly, k2 + 1, fragmentB);
  const int32_t m2 = Midpoint(poly, r, s);
  return AlignFragments(poly, m1, q, r, m2, fragmentB);
}

int32_t JoinLastWedgeToLastCap(polyhedron* poly, int32_t k1, int32_t k2, int32_t fragmentA, int32_t fragmentB) {
  if (!poly) return -1;
  const int32_t p = KeyVertex(poly, k1, fragmentA), q = KeyVertex(poly, k1 + 1, fragmentA);
  const int32_t m1 = Midpoint(poly, p, q);
  const int32_t r = KeyVertex(poly, k2, fragmentB), s = KeyVertex(poly, k2 + 1, fragmentB);
  return AlignFragments(poly, m1, q, r, s, fragmentB);
}
