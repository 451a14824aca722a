#include "render/routes/routes_stars.h"

#include <cmath>

#include "projection/nets/florets.h"
#include "projection/nets/florets_basis.h"
#include "projection/planes.h"
#include "projection/render_hint.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views_ellipsoid.h"
#include "projection/sphere_convention.h"
#include "render/vort.h"

namespace {

constexpr float kHalfPiF = 1.5707964f;
constexpr double kPiD = 3.141592653589793;
constexpr double kQuarterPiD = 0.7853981633974483;
// The gore width factor is slightly above 2 pi; the layouts are drawn with it.
constexpr float kGoreFactor = 6.2846084f;
constexpr float kEquatorLatitude = 5e-5f;
constexpr float kNewtonDone = 5e-6f;
constexpr float kNewtonRunaway = 10.0f;
constexpr int32_t kNewtonSteps = 10;
// The ellipsoid and egg gores widen both coordinates by up to this share.
constexpr float kProfileWiden = 0.38f;
// Stars: the inner disc radius and the arms' reach.
constexpr float kStarDisc = 0.4f;
constexpr float kStarArm = 0.6f;

// One table for the tunable gores, rebuilt by the prefill on the main thread
// when the shape changes; the tasks only read it.
EllipsoidArcTable gProfileTable = [] {
  EllipsoidArcTable t;
  InitEllipsoidArcTable(&t);
  return t;
}();

int32_t ProfileKind(int32_t mode) { return mode == 74 ? EllipsoidProfile_Egg : EllipsoidProfile_Ellipse; }

bool StrictlyInsideUnit(float v) { return v < 1.0f; }  // false for NaN

}  // namespace

float InversePolyconicLatitude(float x, float y) {
  if (y == 0.0f) return kEquatorLatitude;
  const float b = x * x + y * y;
  float phi = y;
  for (int32_t i = 0; i < kNewtonSteps; ++i) {
    const float tp = std::tan(phi);
    const float d = (y * (phi * tp + 1.0f) - phi - (phi * phi + b) * tp / 2.0f) / ((phi - y) / tp - 1.0f);
    phi -= d;
    const float ad = std::fabs(d);
    if (ad < kNewtonDone || ad > kNewtonRunaway) break;
  }
  return phi;
}

void PrefillGoreProfile(const vort& view) {
  if (view.outputMode != 73 && view.outputMode != 74) return;
  PrepareEllipsoidArcTable(&gProfileTable, view.viewAngleFactor, ProfileKind(view.outputMode));
}

void Route_Gores(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const int32_t mode = view.outputMode;
  const float n = view.goreCount;
  if (!(n >= 1.0f)) return;
  const float x = float(plane.re), y = float(plane.im);
  float X = 2.0f * x, Y = 2.0f * y, h = 0.5f;
  if (mode == 53) {
    X = x;
    Y = y;
  } else if (mode == 61) {
    X = x / 2.0f;
    Y = y / 2.0f;
  }
  int32_t j = 0;
  if (mode == 63) {
    // The umbrella: eight gores fanned about the centre, each turned upright.
    float alpha, rho;
    RectangularToPolar(x, y, &alpha, &rho);
    const int32_t k = int32_t(std::floor((kPiF / n + alpha) * 8.0f / kTwoPiF));
    j = ((18 - k) % 8 + 8) % 8;
    const float beta = float(j) * kPiF / 4.0f;
    const float x1 = X * std::cos(beta) - Y * std::sin(beta);
    const float y1 = Y * std::cos(beta) + X * std::sin(beta);
    float t = view.viewAngle / 180.0f;
    if (t > 0.5f && t < 1.0f) t = t + (0.0625f - (t - 0.75f) * (t - 0.75f)) * 0.3f;
    X = (2.0f * float(j) - n + 1.0f) / n + x1 * t;
    Y = y1 * t - 0.5f;
    h = 0.5f;
  }
  float g = (X + 1.0f) * h * n;
  if (mode == 61) g += h;
  const float gi = std::floor(g);
  if (!std::isfinite(gi)) return;
  const int32_t i = int32_t(gi);
  const float f = g - gi;
  int32_t lo = 0, hi = int32_t(n);
  float phiMax = kHalfPiF;
  if (mode == 53) {
    lo = 3;
    hi = 9;
  } else if (mode == 61) {
    lo = 5;
    hi = 8;
  } else if (mode == 63) {
    lo = j;
    hi = j + 1;
    phiMax = kPiF * view.viewAngle / 180.0f - kHalfPiF;
  }
  if (i < lo || i >= hi) return;

  float gx = ((f - h) / n) * kGoreFactor;
  float a = Y * h * kGoreFactor;
  const bool profiled = mode == 73 || mode == 74;
  if (profiled) {
    float e = view.viewAngleFactor - 1.0f;
    e = e < 0.0f ? 0.0f : (e > 1.0f ? 1.0f : e);
    const float m = 1.0f + kProfileWiden * (1.0f - (1.0f - e) * (1.0f - e));
    gx *= m;
    a *= m;
  }
  const float phi = InversePolyconicLatitude(gx, a);
  if (!(phi > -kHalfPiF && phi < phiMax)) return;
  const float sp = std::sin(phi);
  float lam = 0.0f;
  if (sp != 0.0f) {
    lam = std::asin(gx * std::tan(phi)) / sp;
    if (std::isnan(lam)) lam = 0.0f;
  }
  float U = lam / kTwoPiF + 0.5f;
  const float V = phi / kPiF + 0.5f;
  if (profiled) {
    const int32_t kind = ProfileKind(mode);
    const float w = view.viewAngleFactor;
    const float pr = binary_search_for_parameter_from_distance(V, &gProfileTable, w, kind);
    float q[3] = {0.0f, 0.0f, 0.0f};
    GrabPointOnEllipsoidProfile(pr, q, w, kind);
    const float r = q[0];
    const float c = std::cos(phi);
    const float k = c != 0.0f ? r / c : 1.0f;
    U = (U - 0.5f) * (EllipsoidProfileLength(&gProfileTable, w, kind) / kPiF) / k + 0.5f;
  }
  const float half = 1.0f / (2.0f * n);
  if (!(U >= 0.5f - half && U <= 0.5f + half)) return;
  const float s = float(i) / n + 0.5f + U + 0.5f / n;
  RectangularToSpherical(1.0f - (s - std::floor(s)), V, sphere);
  *outside = 0;
}

void Route_Star(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const bool five = view.outputMode == 49;
  const int32_t arms = five ? 5 : 3;
  const float k0 = five ? 2.0f : 1.0f;
  const float shift = five ? 0.81f : 0.616f;
  const float nf = float(arms);
  const float X = 2.0f * float(plane.re);
  const float Y = 2.0f * float(plane.im) + (shift - 1.0f) / 2.0f;
  const float r = std::sqrt(X * X + Y * Y);
  const float theta = XYtoRadians(X, Y) + kPiF / nf;
  float b = 0.0f, s = 1.0f, lo = -kPiF, hi = kPiF;
  if (r > kStarDisc) {
    const float j = std::floor(theta * nf / kTwoPiF);
    b = (j - k0) * kTwoPiF / nf;
    s = 1.0f - (r - kStarDisc) / kStarArm;
    lo = -kPiF / nf - b;
    hi = kPiF / nf - b;
  }
  float psi = std::fmod(theta - b, kTwoPiF);
  if (psi < 0.0f) psi += kTwoPiF;
  psi += b;
  if (s == 0.0f) return;
  const float lam = -((psi - kPiF - b) / s + b);
  if (!(lam >= lo && lam <= hi && r >= 0.0f && r <= 1.0f)) return;
  RectangularToSpherical((kPiF + lam + kPiF / nf) / kTwoPiF, r, sphere);
  const float py = sphere[1], pz = sphere[2];
  sphere[1] = -pz;
  sphere[2] = py;
  *outside = 0;
}

void Route_Floret(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  // The basis is one row copied from a constant table; the petals' own hint
  // (petal index, quadrant) is not read after the route.
  FloretBasis basis;
  GetBasisOfWarpyPolyprojection(view.outputMode, &basis);
  if (basis.kind == FloretKind_None || basis.polyhedronId >= 0) return;
  renderhinttype hint{};
  uint8_t off = 1;
  float p[3];
  CopsInTrouble(plane, &off, p, &basis, nullptr, &hint);
  if (off) return;
  for (int i = 0; i < 3; ++i) sphere[i] = p[i];
  *outside = 0;
}

void Route_TwoCylinders(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const fcomplex w = Cmul(plane, Cspun(-kQuarterPiD));
  const double a = -w.re, b = -w.im;
  double A[3] = {std::sin(a), b, std::cos(a)};
  double B[3] = {a, std::sin(b), std::cos(b)};
  const double nA = A[0] * A[0] + A[1] * A[1] + A[2] * A[2];
  const double nB = B[0] * B[0] + B[1] * B[1] + B[2] * B[2];
  double* p = A;
  if (nB <= nA) {
    const double cb = std::cos(b);
    if (b >= -kPiD && b <= kPiD && a * a + cb * cb < 1.0) {
      p = B;
      *outside = 0;
    }
  } else {
    const double ca = std::cos(a);
    if (a >= -kPiD && a <= kPiD && b * b + ca * ca < 1.0) *outside = 0;
  }
  SpinIt(p, kQuarterPiD);
  for (int i = 0; i < 3; ++i) sphere[i] = float(p[i]);
  NormalizeVector(sphere);
}

void Route_ThreeCylinders(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const float p = float(-plane.re), q = float(-plane.im);
  float pt[3] = {std::sin(p), q, std::cos(p)};
  const auto take = [&](float x, float y, float z, float m) {
    const float cq = std::cos(q), sq = std::sin(q);
    if (StrictlyInsideUnit(cq * cq + m * m) && StrictlyInsideUnit(m * m + sq * sq)) {
      pt[0] = x;
      pt[1] = y;
      pt[2] = z;
      *outside = 0;
    }
  };
  {
    const float cp = std::cos(p), sp = std::sin(p);
    if (p >= -kPiF && p <= kPiF && StrictlyInsideUnit(cp * cp + q * q) && StrictlyInsideUnit(q * q + sp * sp))
      *outside = 0;
  }
  if (q >= -kHalfPiF && q <= kHalfPiF) {
    const float cq = std::cos(q), sq = std::sin(q);
    take(p, sq, cq, p);
    const float t = float(plane.re - kPiD);
    take(t, sq, -cq, t);
    const float s = float(kPiD / 2.0 - plane.re);
    take(-cq, sq, s, s);
    const float r = float(plane.re + kPiD / 2.0);
    take(cq, sq, r, r);
  }
  for (int i = 0; i < 3; ++i) sphere[i] = pt[i];
  NormalizeVector(sphere);
}
