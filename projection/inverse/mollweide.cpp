#include "projection/inverse/mollweide.h"

#include <cmath>

namespace {

constexpr float kPiF = 3.1415927f;
constexpr float kInvPiF = 0.31830987f;
constexpr double kPiOfFloat = 3.1415927410125732;  // the float pi, widened
constexpr double kNewtonTolerance = 0.0001;
// Near the pole the root of x + sin x = pi·s is nearly triple, so Newton
// crawls (ratio about 2/3) before it speeds up; 100 steps is far more than
// any node needs, and keeps a stalled step (zero slope, NaN) from looping.
constexpr int kNewtonCap = 100;
constexpr float kLastIndex = static_cast<float>(kMollweideTableSize - 1);

struct ThetaTable {
  float entries[kMollweideTableSize];
};

ThetaTable Built() {
  ThetaTable t;
  BuildMollweideThetaTable(t.entries);
  return t;
}

}  // namespace

void BuildMollweideThetaTable(float table[kMollweideTableSize]) {
  for (int i = 0; i < kMollweideTableSize; ++i) {
    const float t = static_cast<float>(i) * kPiF / kLastIndex;
    const double target = kPiOfFloat * static_cast<double>(std::sin(t));
    double x = t / 2.0f;
    for (int step = 0; step < kNewtonCap; ++step) {
      const double slope = std::cos(x) + 1.0;
      if (!(slope > 0.0)) break;
      const double d = -(std::sin(x) + x - target) / slope;
      if (!std::isfinite(d)) break;
      x += d;
      if (std::fabs(d) <= kNewtonTolerance) break;
    }
    table[i] = static_cast<float>(x / 2.0);
  }
}

// A function-local static is built once even if several threads ask at
// once; the call below makes that happen while the library loads, so no
// worker task ever waits for (or races) the build.
const float* MollweideThetaTable() {
  static const ThetaTable table = Built();
  return table.entries;
}

namespace {
[[maybe_unused]] const float* const g_builtAtLoad = MollweideThetaTable();
}  // namespace

float LookupTable400(const float* table, float f) {
  if (!(f >= 0.0f)) return table[0];
  if (f >= kLastIndex) return table[kMollweideTableSize - 1];
  const int i = static_cast<int>(std::floor(f));
  return table[i] + (f - static_cast<float>(i)) * (table[i + 1] - table[i]);
}

float Molltheta(float phi, const float* table) {
  const float value = LookupTable400(table, std::fabs(phi) * kInvPiF * kLastIndex);
  return phi < 0.0f ? -value : value;
}
