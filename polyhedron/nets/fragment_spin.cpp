#include "polyhedron/nets/fragment_spin.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/nets/hull_calipers.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/vertex_maps.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kQuarterPi = 0.7853981633974483;

double SpinFromCalipers(int32_t style, double minAngle) {
  switch (style) {
    case 0: return kHalfPi - minAngle;
    case 5: return -minAngle;
    case 6: return kQuarterPi - minAngle;
    default: return 0.0;
  }
}

}  // namespace

void SpinFragmentsFelicitously(polyhedron* poly, int32_t first, int32_t last) {
  if (!poly) return;
  const int32_t style = poly->spinStyle;
  if (style == 1 || style == 2 || last == kPolyMaxFragments) return;
  for (int32_t k = std::max(first, 0); k <= last && k < kPolyFragmentSlots; ++k) {
    poly->fragmentSpin[k] = 0.0;
    if (style == 0 || style == 5 || style == 6) {
      CaliperResult result{};
      if (BuildConvexHullOfFragmentAndMeasureIt(poly, k, &result)) poly->fragmentSpin[k] = SpinFromCalipers(style, result.minAngle);
    } else if (style == 3 || style == 4) {
      poly->fragmentSpin[k] = AngleForExtremumSpin(poly, k);
    }
  }
  SpinAllFragments(poly);
}

double AngleForExtremumSpin(polyhedron* poly, int32_t fragment) {
  if (!poly) return 0.0;
  HALFSPACE head;
  InitEmptyList(&head);
  CollectFragmentPoints(poly, fragment, &head);
  BuildConvexHull_core(&head, 0);
  const fcomplex c = FindMeanOfConvexHull(&head);
  uint8_t upper = 0;
  const HALFSPACE* p = poly->spinStyle == 4 ? Find2DDistanceExtremumAmongPointlist(poly, &head, c)
                                            : Find3DVerticalExtremumAmongPointlist(poly, &head, &upper);
  double spin = 0.0;
  // A fragment without a usable corner is left as it lies.
  if (p) spin = -HullAngle(c.re - p->point[0], c.im - p->point[1]);
  DisposeListExceptForHead(&head);
  return spin;
}

fcomplex FindMeanOfConvexHull(HALFSPACE* list) {
  double x = 0.0, y = 0.0;
  int32_t n = 0;
  for (HALFSPACE* e = GetFirstElement(list); !e->isHead; e = e->next, ++n) {
    x += e->point[0];
    y += e->point[1];
  }
  return n > 0 ? Complex(x / n, y / n) : Complex(0.0, 0.0);
}

HALFSPACE* Find2DDistanceExtremumAmongPointlist(const polyhedron*, HALFSPACE* list, fcomplex centre) {
  HALFSPACE* best = GetFirstElement(list);
  if (best->isHead) return nullptr;
  double bestDistance = 0.0, bestKey = 0.0;
  for (HALFSPACE* e = best; !e->isHead; e = e->next) {
    const double r = std::hypot(e->point[0] - centre.re, e->point[1] - centre.im);
    const double key = HullAngle(e->point[0], e->point[1]);
    if (r > 1.005 * bestDistance || (r > 0.995 * bestDistance && bestKey > key)) {
      best = e;
      bestDistance = r;
      bestKey = key;
    }
  }
  return best;
}

HALFSPACE* Find3DVerticalExtremumAmongPointlist(const polyhedron* poly, HALFSPACE* list, uint8_t* upper) {
  HALFSPACE* first = GetFirstElement(list);
  if (first->isHead || !poly) return nullptr;
  HALFSPACE* best = nullptr;
  double bestHeight = 0.0, bestAzimuth = 0.0;
  for (HALFSPACE* e = first; !e->isHead; e = e->next) {
    const int32_t v3D = Vert_Index_2D_to_3D(poly, e->index);
    if (v3D < 0 || v3D >= kPolyMax3DVerts) continue;
    const triplex t = grab_coordinates3D_into_T(v3D, poly);
    const double h = std::fabs(t.y);
    const double azimuth = HullAngle(t.x, t.z);
    if (!best) best = e;  // all at height 0: the first corner with a solid point
    if (h > 1.01 * bestHeight || (h > 0.99 * bestHeight && bestAzimuth > azimuth)) {
      if (upper) *upper = t.y >= 0.0 ? 1 : 0;
      best = e;
      bestHeight = h;
      bestAzimuth = azimuth;
    }
  }
  return best;
}

void SpinAllFragments(polyhedron* poly) {
  if (!poly || !poly->coords2D) return;
  fcomplex rotor[kPolyFragmentSlots];
  for (int32_t k = 0; k < kPolyFragmentSlots; ++k) rotor[k] = Cspun(poly->fragmentSpin[k]);
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!poly->vert2DUsed[v]) continue;
    DPoint p;
    Grab2DPoint(v, &p, poly);
    if (p.fragment < 0 || p.fragment >= kPolyFragmentSlots) continue;
    const fcomplex q = Cmul(Complex(p.x, p.y), rotor[p.fragment]);
    p.x = q.re;
    p.y = q.im;
    Set2DPoint(v, p, poly);
  }
}
