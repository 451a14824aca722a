// Neighbouring elements built apart, each in its own record, so that no
// merging hides a gap: where their points come close they coincide.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "polybuild/curved/vivo_curves.h"
#include "polybuild/curved/vivo_elements.h"
#include "support/poly_fixture.h"

namespace {

struct Element {
  PolyPtr poly;
  VivoContext ctx;
};

Element BuildAlone(const triplex* corners, int32_t n, spintype spin, int32_t k, int32_t style, triplex* out) {
  Element e{NewOwningPoly(), VivoContext{}};
  e.ctx.poly = e.poly.get();
  triplex copy[5];
  for (int32_t i = 0; i < n; ++i) copy[i] = corners[i];
  BuildOneAnyElement(copy, n, &e.ctx, spin, out, k, style);
  return e;
}

double Nearest(const polyhedron* p, const double q[3]) {
  double best = 1e9;
  for (int32_t v = 0; v < p->n3DVerts; ++v)
    best = std::min(best, std::hypot(p->coords3D[v][0] - q[0], p->coords3D[v][1] - q[1], p->coords3D[v][2] - q[2]));
  return best;
}

// Vertices of b within 1e-3 of a vertex of a, and the worst such distance.
void CompareSeam(const polyhedron* a, const polyhedron* b, int32_t* shared, double* worst) {
  *shared = 0;
  *worst = 0.0;
  for (int32_t v = 0; v < b->n3DVerts; ++v) {
    const double d = Nearest(a, b->coords3D[v]);
    if (d > 1e-3) continue;
    ++*shared;
    *worst = std::max(*worst, d);
  }
}

triplex T(fcomplex p) { return Triplex(p.re, p.im, 0.0); }

}  // namespace

TEST(VivoSeams, TriboxTwinsMeetAlongTheirOuterEdges) {
  MakeVivo2DPoints();
  constexpr int32_t style = 5;
  const triplex corners[3] = {T(YCurve(0.5, style)), T(CCurve(0.5, style)), T(ACurve(0.5, style))};
  triplex P[3];
  Element first = BuildAlone(corners, 3, GetSpintypeForIdentity(), 0, style, P);
  const triplex M = Tmidpoint(P[1], P[2]);
  const spintype twin{M, TUnitVectorFromTo(P[0], M), std::numbers::pi};
  triplex scratch[3];
  Element second = BuildAlone(corners, 3, twin, 1, style, scratch);
  int32_t shared = 0;
  double worst = 0.0;
  CompareSeam(first.poly.get(), second.poly.get(), &shared, &worst);
  // Three sides meet, each along the outer edge of both wing rows' ends.
  RecordProperty("worst_gap", std::to_string(worst));
  RecordProperty("shared", shared);
  EXPECT_GE(shared, 3 * (kVivoWingSteps + 1));
  EXPECT_LT(worst, 1e-6);
}

TEST(VivoSeams, TetrahedronElementsMeetTheirNeighbours) {
  MakeVivo2DPoints();
  constexpr int32_t style = 0;
  const triplex corners[3] = {T(YCurve(0.5, style)), T(CCurve(0.5, style)), T(ACurve(0.5, style))};
  triplex P[3];
  Element first = BuildAlone(corners, 3, GetSpintypeForIdentity(), 0, style, P);
  const double e = Tdist(P[0], P[1]);
  const triplex c = RTmul(1.0 / 3.0, Taddthree(P[0], P[1], P[2]));
  const triplex apex = Tadd(c, TMakeLength(Tcross_product(Tsub(P[2], P[0]), Tsub(P[1], P[0])), e * 0.816496580927726));
  const triplex F0 = RTmul(1.0 / 3.0, Taddthree(P[2], P[1], apex));
  triplex scratch[3];
  Element second = BuildAlone(corners, 3, spintype{P[0], TUnitVectorFromTo(P[0], F0), 2.0 * std::numbers::pi / 3.0},
                              1, style, scratch);
  int32_t shared = 0;
  double worst = 0.0;
  CompareSeam(first.poly.get(), second.poly.get(), &shared, &worst);
  RecordProperty("worst_gap", std::to_string(worst));
  RecordProperty("shared", shared);
  EXPECT_GE(shared, kVivoWingSteps + 1) << "one side in common";
  EXPECT_LT(worst, 1e-6);
}
