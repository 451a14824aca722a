#include "polybuild/curved/vivo_hinge.h"

#include <cmath>

#include "projection/planes.h"

void Build_D_and_F(HingeSearchRecord* r) {
  const spintype turn{r->centre, r->axis, r->angle};
  r->pointD = SpinPointAroundAxis(turn, r->pivot);
  r->pointE = Tadd(r->pointD, RTmul(r->lenA, TUnitVectorFromTo(r->centre, r->anchorA)));
  r->pointF = Tadd(r->pointD, RTmul(r->lenB, TUnitVectorFromTo(r->centre, r->anchorB)));
}

double hinge_error(HingeSearchRecord* r) {
  const double a = r->angle;
  if (a < 0.0) return kHingePenalty - a;
  if (a > kHingeAngleLimit) return a + kHingePenalty;
  Build_D_and_F(r);
  return std::fabs(Tdist(r->pointE, r->anchorA) - r->target);
}
