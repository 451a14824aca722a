#include "projection/inverse/classic_adams.h"

#include "projection/inverse/classic_peirce.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr fcomplex kMinusEighthTurn = {0.707106781186548, -0.707106781186548};

// Disk shifts that centre the opened hemisphere of the wide rectangle and of
// the ellipse on their plane's centre.
constexpr double kWiderectShift = 0.17162937594758676;
constexpr double kEllipseShift = 0.08645612373948097;
constexpr double kInvPi = 0.3183098861837907;

}  // namespace

void TotalAdams(double x, double y, uint8_t* outside, double point[3], int32_t variant, fcomplex* aux) {
  *outside = 0;
  const fcomplex z = {x + 0.5, y + 0.5};
  if (!(z.re >= 0.0 && z.re <= 1.0 && z.im >= 0.0 && z.im <= 1.0)) {
    *outside = 1;
    if (aux != nullptr) *aux = {0.0, 0.0};
    return;
  }
  fcomplex w = PeirceInverseMagically(z);
  if (variant == 2 || variant == 3) w = Cmul(w, kMinusEighthTurn);
  LagrangeInverse_AvantGarde(w, 2.0, outside, point, 1);
  if (aux != nullptr) *aux = w;
}

void TotalWiderect(double x, double y, uint8_t* outside, double point[3]) {
  double p[3];
  TotalAdams(y + 0.25, -x, outside, p, 2, nullptr);
  // Off the square p holds nothing to carry on with.
  if (*outside != 0) return;
  point[0] = -p[1];
  point[1] = p[2];
  point[2] = -p[0];
  SubstituteSphereSegment_NiceD(point, 0.5, outside, 0.0);
  automorphicDisk_prettily_on_sphere(point, kWiderectShift);
}

void TotalEllipse(double x, double y, uint8_t* outside, double point[3]) {
  const fcomplex z = RCmul(kInvPi, Carcsin(RCmul(2.0, Complex(x, y))));
  double p[3];
  TotalAdams(z.im, -z.re, outside, p, 3, nullptr);
  if (*outside != 0) return;
  double q[3] = {-p[1], p[2], -p[0]};
  automorphicDisk_prettily_on_sphere(q, kEllipseShift);
  SubstituteSphereSegment_northD(q, 0.5, outside);
  point[0] = q[0];
  point[1] = -q[2];
  point[2] = q[1];
}
