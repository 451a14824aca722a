#include "lut_schwarz.h"

#include <cmath>
#include <vector>

namespace lut {
namespace {

// Double-exponential (tanh-sinh) nodes on [0, 1]. Each node keeps its
// distance to 1 as well, so that a factor that vanishes at the end of the
// path is formed without cancellation.
struct Node {
  double u;
  double complement;
  double weight;  // du/dt
};

constexpr int kMaxLevel = 11;
// Newton steps may pass the corners' circle a little: F continues
// analytically across it everywhere but on the rays out of the corners, and
// a target on the rim (an edge of the polygon) has its root on the circle.
constexpr double kReachLimit = 1.2;
constexpr double kTMax = 4.6;  // 1 - u reaches 1e-68, far below every tail

struct Levels {
  std::vector<Node> level[kMaxLevel + 1];
};

Node NodeAt(double t) {
  const double halfPi = 1.5707963267948966;
  const double x = halfPi * std::sinh(t);
  const double e = std::exp(2.0 * x);
  Node node;
  node.u = e / (1.0 + e);
  node.complement = 1.0 / (1.0 + e);
  if (!std::isfinite(node.u)) node.u = 1.0;
  const double ch = std::cosh(x);
  node.weight = 0.5 * halfPi * std::cosh(t) / (ch * ch);
  return node;
}

const Levels& TheLevels() {
  static const Levels levels = [] {
    Levels L;
    for (int j = -4; j <= 4; ++j) L.level[0].push_back(NodeAt(double(j)));
    for (int k = 1; k <= kMaxLevel; ++k) {
      const double h = std::ldexp(1.0, -k);
      for (double t = h; t <= kTMax; t += 2.0 * h) {
        L.level[k].push_back(NodeAt(t));
        L.level[k].push_back(NodeAt(-t));
      }
    }
    return L;
  }();
  return levels;
}

// The integrand at s*u, written with the distance of u from 1.
cplx Integrand(const SymmetricIntegral& f, const cplx q[], double u, double complement) {
  double sum = 0.0, power = 1.0;
  for (int k = 0; k < f.n; ++k) {
    sum += power;
    power *= u;
  }
  const double oneMinusUn = complement * sum;
  cplx value = 1.0;
  for (int r = 0; r < f.rings; ++r) {
    // A path that ends on a corner has 1 - q exactly 0 in exact arithmetic;
    // the rounding of s^n would otherwise move the corner by 1e-16, which
    // this steep integrand turns into an error of 1e-6.
    cplx gap = 1.0 - q[r];
    if (std::abs(gap) < 1e-13) gap = 0.0;
    const cplx factor = gap + q[r] * oneMinusUn;
    value *= std::exp(-f.beta[r] * std::log(factor));
  }
  return value;
}

}  // namespace

cplx IntegrandAt(const SymmetricIntegral& f, cplx s) {
  cplx value = f.scale;
  const cplx sn = std::pow(s, f.n);
  for (int r = 0; r < f.rings; ++r) value *= std::exp(-f.beta[r] * std::log(1.0 - f.c[r] * sn));
  return value;
}

double RingReach(const SymmetricIntegral& f, cplx s) {
  double reach = 0.0;
  const double sn = std::pow(std::abs(s), f.n);
  for (int r = 0; r < f.rings; ++r) reach = std::max(reach, std::abs(f.c[r]) * sn);
  return reach;
}

cplx IntegralTo(const SymmetricIntegral& f, cplx s) {
  if (s == cplx(0.0)) return 0.0;
  cplx q[kMaxRings];
  const cplx sn = std::pow(s, f.n);
  for (int r = 0; r < f.rings; ++r) q[r] = f.c[r] * sn;
  const Levels& L = TheLevels();
  cplx sum = 0.0;
  for (const Node& node : L.level[0]) sum += node.weight * Integrand(f, q, node.u, node.complement);
  cplx estimate = sum;
  for (int k = 1; k <= kMaxLevel; ++k) {
    for (const Node& node : L.level[k]) sum += node.weight * Integrand(f, q, node.u, node.complement);
    const cplx next = sum * std::ldexp(1.0, -k);
    const bool settled = std::abs(next - estimate) <= 1e-15 * std::abs(next);
    estimate = next;
    if (k >= 4 && settled) break;
  }
  return f.scale * s * estimate;
}

bool InvertIntegral(const SymmetricIntegral& f, cplx target, cplx guess, cplx* s) {
  const double tolerance = 1e-13 * std::max(1.0, std::abs(target));
  cplx x = guess;
  cplx residual = IntegralTo(f, x) - target;
  for (int iteration = 0; iteration < 80; ++iteration) {
    if (std::abs(residual) <= tolerance) {
      *s = x;
      return true;
    }
    const cplx step = residual / IntegrandAt(f, x);
    double damping = 1.0;
    bool moved = false;
    for (int tries = 0; tries < 40; ++tries, damping *= 0.5) {
      const cplx next = x - damping * step;
      if (!(RingReach(f, next) < kReachLimit)) continue;
      const cplx nextResidual = IntegralTo(f, next) - target;
      if (std::abs(nextResidual) < std::abs(residual)) {
        x = next;
        residual = nextResidual;
        moved = true;
        break;
      }
    }
    if (!moved) break;
  }
  *s = x;
  return std::abs(residual) <= tolerance;
}

bool InvertIntegralFromCentre(const SymmetricIntegral& f, cplx target, cplx* s) {
  const cplx slope = 1.0 / IntegrandAt(f, 0.0);
  const cplx first = target * slope;
  if (RingReach(f, first) < kReachLimit && InvertIntegral(f, target, first, s)) return true;
  cplx x = 0.0;
  constexpr int kSteps = 16;
  for (int k = 1; k <= kSteps; ++k) {
    const cplx partial = target * (double(k) / kSteps);
    if (!InvertIntegral(f, partial, x, &x) && k == kSteps) {
      *s = x;
      return false;
    }
  }
  *s = x;
  return true;
}

namespace {

bool InvertAtCorner(const SymmetricIntegral& f, const Corner& corner, cplx target, cplx* s) {
  const double k = 1.0 / (1.0 - corner.beta);
  const double kPi = 3.141592653589793;
  auto sOf = [&](cplx sigma) { return corner.prevertex * (1.0 - std::pow(sigma, k)); };
  // F(s(sigma)) - image is about C sigma; C from one probe toward the centre.
  const double probe = 0.02;
  const cplx slope = (IntegralTo(f, sOf(probe)) - corner.image) / probe;
  cplx sigma = (target - corner.image) / slope;
  const double tolerance = 1e-13 * std::max(1.0, std::abs(target));
  cplx residual = IntegralTo(f, sOf(sigma)) - target;
  for (int iteration = 0; iteration < 80; ++iteration) {
    if (std::abs(residual) <= tolerance) {
      *s = sOf(sigma);
      return true;
    }
    const cplx derivative = IntegrandAt(f, sOf(sigma)) * (-corner.prevertex * k * std::pow(sigma, k - 1.0));
    const cplx step = residual / derivative;
    double damping = 1.0;
    bool moved = false;
    for (int tries = 0; tries < 40; ++tries, damping *= 0.5) {
      const cplx next = sigma - damping * step;
      if (!(std::fabs(std::arg(next)) < 0.9 * kPi / k)) continue;
      if (!(RingReach(f, sOf(next)) < kReachLimit)) continue;
      const cplx nextResidual = IntegralTo(f, sOf(next)) - target;
      if (std::abs(nextResidual) < std::abs(residual)) {
        sigma = next;
        residual = nextResidual;
        moved = true;
        break;
      }
    }
    if (!moved) break;
  }
  *s = sOf(sigma);
  return std::abs(residual) <= tolerance;
}

}  // namespace

bool InvertIntegralNearCorners(const SymmetricIntegral& f, const Corner* corners, int count, cplx target,
                               cplx* s) {
  int nearest = -1;
  double best = 1e300;
  for (int i = 0; i < count; ++i) {
    const double d = std::abs(target - corners[i].image);
    if (d < best) {
      best = d;
      nearest = i;
    }
  }
  if (nearest >= 0 && best < 1e-12) {
    *s = corners[nearest].prevertex;
    return true;
  }
  // Within a third of the corner's distance from the centre the corner's
  // own variable is the better one; either method is the other's fallback.
  const bool cornerFirst = nearest >= 0 && best < std::abs(corners[nearest].image) / 3.0;
  if (cornerFirst && InvertAtCorner(f, corners[nearest], target, s)) return true;
  if (InvertIntegralFromCentre(f, target, s)) return true;
  return !cornerFirst && nearest >= 0 && InvertAtCorner(f, corners[nearest], target, s);
}

}  // namespace lut
