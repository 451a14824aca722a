#include "projection/nets/florets.h"

#include <cmath>

#include "projection/inverse/classic_projections.h"
#include "projection/planes.h"
#include "projection/render_hint.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views_thorn.h"
#include "projection/inverse/stereographic.h"

namespace {

// The thorn petal's cube net is turned so that a cube corner, not a face,
// faces the petal's tip. The ten-digit quarter turn is the one the thorn
// florets were drawn with.
constexpr double kThornSpin = 0.78539816325;
constexpr double kThornTilt = -0.6154797086703873;
// The Lagrange petal's plane is scaled to its half-width.
constexpr double kLagrangeHalfWidth = 1.2070313;
// The ellipse petal is moved so that its focus sits at the floret's centre.
constexpr double kEllipseOffset = 0.4343354807430048;
constexpr double kPhenylTurn = 3.6651914285982987;

void Widen(const float f[3], double p[3]) {
  p[0] = f[0];
  p[1] = f[1];
  p[2] = f[2];
}

// A petal on the thorn view; false when the point falls off the net.
bool ThornPetal(fcomplex w, uint8_t* outside, double p[3]) {
  float q[3];
  GetThornView(static_cast<float>(w.re), static_cast<float>(w.im), 4, 4, q, outside, 0, 0);
  if (*outside) return false;
  Widen(q, p);
  SpinIt(p, kThornSpin);
  LatitudeIt(p, kThornTilt);
  return true;
}

// Net(q): the petal's net read at the plane point q. A net kind without a
// net to read is off the floret.
bool NetPetal(const FloretNet* net, fcomplex q, uint8_t* outside, renderhinttype* hint, double f[3]) {
  if (net == nullptr || net->transform == nullptr) {
    *outside = 1;
    return false;
  }
  float g[3] = {0.0f, 0.0f, 1.0f};
  net->transform(net->context, static_cast<float>(q.re), static_cast<float>(q.im), g, outside, hint);
  Widen(g, f);
  return true;
}

void Assign(double p[3], double x, double y, double z) {
  p[0] = x;
  p[1] = y;
  p[2] = z;
}

// Step 8: the petal map of w by the basis kind. Leaves *outside at 1 when w
// is off the petal.
void PetalMap(const FloretBasis* basis, const FloretNet* net, fcomplex w, int32_t k, uint8_t* outside, double p[3],
              renderhinttype* hint) {
  double f[3];
  switch (basis->kind) {
    case FloretKind_Circle:
      *outside = 0;
      PreFloret_Circle(w, outside, p);
      return;
    case FloretKind_Lagrange: {
      *outside = 0;
      double q[3];
      const fcomplex s = {2.0 * w.re / kLagrangeHalfWidth, 2.0 * w.im / kLagrangeHalfWidth};
      LagrangeInverse_AvantGarde(s, 1.3333333333333333, outside, q, 1);
      Assign(p, q[0], q[2], -q[1]);
      return;
    }
    case FloretKind_Ellipse:
      *outside = 0;
      TotalEllipse(-w.im, w.re - kEllipseOffset, outside, p);
      return;
    case FloretKind_Guyou: {
      *outside = 0;
      float q[3] = {0.0f, 0.0f, 1.0f};
      TotalGuyou(w.re, w.im, outside, q, nullptr);
      Assign(p, q[0], q[2], -q[1]);
      return;
    }
    case FloretKind_EllipseTurned: {
      *outside = 0;
      double q[3] = {0.0, 0.0, 1.0};
      TotalEllipse(w.re, w.im, outside, q);
      Assign(p, q[0], q[2], -q[1]);
      return;
    }
    case FloretKind_Thorn:
      ThornPetal(w, outside, p);
      return;
    case FloretKind_ThornSpun:
      if (ThornPetal(w, outside, p)) hint->quadrant = 2 * (w.re <= 0.0) + (w.im <= 0.0);
      return;
    default:
      break;
  }

  // The net kinds.
  fcomplex q = w;
  switch (basis->kind) {
    case FloretKind_Net51:
      q = RCmul(1.2, w);
      break;
    case FloretKind_TridentNet:
      q = Cmul(w, Cspun(-kPi / 4));
      break;
    case FloretKind_BurstNet:
      q = Cadd(Cpow(w, 0.8333333333333334), Complex(net ? net->firstVertexX : 0.0f, net ? net->firstVertexY : 0.0f));
      break;
    case FloretKind_PhenylNet:
    case FloretKind_QuatretatNet:
      q = Cmul(w, Cspun(kPhenylTurn));
      break;
    case FloretKind_Rind1Net:
    case FloretKind_Rind2Net:
    case FloretKind_Rind3Net:
    case FloretKind_ShurikenNet:
    case FloretKind_AstercurveNet:
    case FloretKind_TrizagNet:
    case FloretKind_SharkNet:
    case FloretKind_ShardNet:
      break;
    default:
      return;  // no petal map: the point stays outside
  }
  if (!NetPetal(net, q, outside, hint, f)) return;
  hint->petalIndex = k;
  switch (basis->kind) {
    case FloretKind_TridentNet:
      Assign(p, -f[2], f[1], f[0]);
      break;
    case FloretKind_TrizagNet:
      Assign(p, -f[1], f[2], -f[0]);
      break;
    case FloretKind_SharkNet:
      LongitudeIt(f, kPi / 10);
      Assign(p, f[0], f[2], -f[1]);
      break;
    case FloretKind_BurstNet:
      Assign(p, f[0], f[1], f[2]);
      break;
    case FloretKind_ShardNet:
      SpinIt(f, kPi / 4);
      Assign(p, f[0], f[1], f[2]);
      break;
    case FloretKind_QuatretatNet:
      Assign(p, f[1], f[2], f[0]);
      break;
    default:
      Assign(p, f[0], f[2], -f[1]);
      break;
  }
}

}  // namespace

void PreFloret_Circle(fcomplex w, uint8_t* outside, double point[3]) {
  const fcomplex s = {2.0 * w.re - 1.0, 2.0 * w.im};
  double q[3];
  StereoIntersect_NiceD(s.re, s.im, q);
  if (q[2] < 0.0) {
    *outside = 1;
    Assign(point, q[0], q[1], q[2]);
    return;
  }
  Assign(point, -q[1], q[0], q[2]);
}

void CopsInTroubleCore(fcomplex z, uint8_t* outside, double point[3], const FloretBasis* basis, const FloretNet* net,
                       renderhinttype* hint) {
  hint->petalIndex = -1;
  *outside = 1;
  // A basis that is not a floret has no petals to find; its petal count may
  // never have been written, so nothing below may read it.
  if (basis->kind == FloretKind_None || basis->petalCount < 1) return;
  const double n = basis->petalCount;

  z = Cmul(z, basis->spin);
  const double theta = std::atan2(z.re, z.im);
  const double v = (theta - kPi / 2) * n / (2 * kPi) + (n + 0.5);
  // v lies in [n/4 + 1/2, 5n/4 + 1/2] for a finite z; anything else (a NaN
  // plane point) has no petal.
  if (!(v >= 0.0 && v < 2.0 * n + 1.0)) return;
  int32_t k = static_cast<int32_t>(v);
  if (k >= basis->petalCount) k -= basis->petalCount;
  z = Cmul(z, Cspun(2 * kPi * k / n));

  hint->petalIndex = 0;
  const double alpha = (n / 2) / basis->exponentDivisor;
  z = Cpow(z, alpha);
  const fcomplex w = RCmul(basis->scale, z);

  PetalMap(basis, net, w, k, outside, point, hint);
  if (*outside) return;

  uint8_t stretchVerdict = 0;
  const double segment = basis->kind == FloretKind_Ellipse ? n / basis->exponentDivisor : alpha;
  SubstituteSphereSegment_NiceD(point, segment, &stretchVerdict, basis->diskShift);
  LongitudeIt(point, -2 * kPi * basis->turnFraction * k / n);
  Assign(point, point[0], -point[2], point[1]);
  if (basis->finalSpin != 0.0) SpinIt(point, basis->finalSpin);
  if (basis->finalLongitude != 0.0 || std::isnan(basis->finalLongitude)) LongitudeIt(point, basis->finalLongitude);
}

void CopsInTrouble(fcomplex z, uint8_t* outside, float point[3], const FloretBasis* basis, const FloretNet* net,
                   renderhinttype* hint) {
  double p[3] = {0.0, 0.0, 1.0};
  CopsInTroubleCore(z, outside, p, basis, net, hint);
  point[0] = static_cast<float>(p[0]);
  point[1] = static_cast<float>(p[1]);
  point[2] = static_cast<float>(p[2]);
}
