#include "pyramid/pyramid_filter_table.h"

#include <cmath>

namespace {

// The constant the weights were always built with; changing its digits moves
// some ×2048 weights by one.
constexpr double kTablePi = 3.141592653;
constexpr double kPhaseStep = 0.0078125;  // 1/128
constexpr int kSincSubPositions = 20;
constexpr double kSincSubSpacing = -21.0;         // sub-positions 1/21 apart, walking back from the phase
constexpr double kGaussFloor = 1.52587890625e-5;  // 2^-16: the weight falls to 0 at distance 2

void StoreInt(float* table, int32_t array, int32_t phase, int32_t v) {
  std::memcpy(table + array * kFilterPhases + phase, &v, sizeof v);
}

// The two-lobe windowed sinc, zero outside the open interval (-2, 2).
double WindowedSinc(double y) {
  if (!(-2.0 < y && y < 2.0)) return 0.0;
  if (y == 0.0) return 1.0;
  const double a = kTablePi * y;
  const double b = a * 0.5;
  return (std::sin(a) / a) * (std::sin(b) / b);
}

// Stores the five normalised taps in all four number forms. t4 is whatever
// the first four leave of the scale, so every form sums exactly to its scale
// and a flat area reads back without drift.
void StorePhase(float* table, int32_t phase, const float t[kFilterTaps]) {
  for (int k = 0; k < 4; ++k) table[(kFilterFloatArrays + k) * kFilterPhases + phase] = t[k];
  table[(kFilterFloatArrays + 4) * kFilterPhases + phase] = 1.0f - (t[0] + t[1] + t[2] + t[3]);

  int32_t sum2048 = 0, sum32768 = 0;
  for (int k = 0; k < 4; ++k) {
    const int32_t w2048 = int32_t(t[k] * 2048.0f);
    const int32_t w32768 = int32_t(t[k] * 32768.0f);
    StoreInt(table, kFilter2048Arrays + k, phase, w2048);
    StoreInt(table, kFilter32768Arrays + k, phase, w32768);
    sum2048 += w2048;
    sum32768 += w32768;
  }
  StoreInt(table, kFilter2048Arrays + 4, phase, 2048 - sum2048);
  StoreInt(table, kFilter32768Arrays + 4, phase, 32768 - sum32768);

  for (int k = 0; k < 4; ++k) table[(kFilterFloatCopyArrays + k) * kFilterPhases + phase] = t[k];
  table[(kFilterFloatCopyArrays + 4) * kFilterPhases + phase] = 1.0f - (t[3] + (t[0] + t[1] + t[2]));
}

}  // namespace

// Each tap is the kernel averaged over 20 positions of one pixel's width
// behind the phase (a box-integrated sinc), which keeps the fine lobes of the
// kernel from aliasing into the weights.
void initGaussianPyrTable_sinc(float* table) {
  for (int32_t p = 0; p < kFilterPhases; ++p) {
    const float base = float(double(p) * kPhaseStep - 2.0);
    float acc[kFilterTaps] = {0, 0, 0, 0, 0};
    for (int s = 0; s < kSincSubPositions; ++s) {
      const float x = float(double(s) / kSincSubSpacing + double(base));
      for (int k = 0; k < kFilterTaps; ++k) acc[k] = float(double(acc[k]) + WindowedSinc(double(x) + k));
    }
    const float norm = 1.0f / (acc[1] + acc[0] + acc[2] + acc[3] + acc[4]);
    float t[kFilterTaps];
    for (int k = 0; k < 4; ++k) t[k] = acc[k] * norm;
    t[4] = 1.0f - (t[0] + t[1] + t[2] + t[3]);
    StorePhase(table, p, t);
  }
}

void initGaussianPyrTable_gauss(float* table) {
  for (int32_t p = 0; p < kFilterPhases; ++p) {
    const float d0 = float(double(p) * kPhaseStep - 2.0) - 0.5f;
    float w[kFilterTaps];
    for (int k = 0; k < kFilterTaps; ++k) {
      const double d = double(d0) + k;
      const float e = (-2.0 <= d && d <= 2.0) ? float(-4.0 * d * d) : -16.0f;
      w[k] = float(std::pow(2.0, double(e)) - kGaussFloor);
    }
    const float norm = 1.0f / (w[4] + (w[0] + w[1] + w[2] + w[3]));
    float t[kFilterTaps];
    for (int k = 0; k < 4; ++k) t[k] = w[k] * norm;
    t[4] = 1.0f - (t[0] + t[1] + t[2] + t[3]);
    StorePhase(table, p, t);
  }
}

void initGaussianPyrTable(float* table) { initGaussianPyrTable_sinc(table); }

void initGaussianPyrTable_switchable(float* table, int32_t kernel) {
  if (kernel == FilterKernel_WindowedSinc)
    initGaussianPyrTable_sinc(table);
  else if (kernel == FilterKernel_Gaussian)
    initGaussianPyrTable_gauss(table);
}

const float* DefaultFilterTable() {
  struct Table {
    float words[kFilterTableSize];
    Table() { initGaussianPyrTable_sinc(words); }
  };
  static const Table table;  // built once; thread-safe initialisation
  return table.words;
}
