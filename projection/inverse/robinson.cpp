#include "projection/inverse/robinson.h"

#include <cmath>

#include "projection/inverse/mollweide.h"

namespace {

constexpr float kNodeSteps = 18.0f;  // 5-degree intervals from equator to pole
constexpr int kBisections = 20;
constexpr float kBracket = 0.2f;  // the latitude fraction never differs from the distance by more
constexpr float kLastIndex = static_cast<float>(kRobinsonInverseSize - 1);

static_assert(kRobinsonInverseSize == kMollweideTableSize, "both tables share one lookup");

struct InverseTable {
  float entries[kRobinsonInverseSize];
};

// Index and fraction of |y| on the node grid; |y| <= 1 reaches index 18 at
// most, whose right neighbour is the repeated pole entry.
void NodeOf(float ay, int* i, float* f) {
  const float scaled = ay * kNodeSteps;
  *i = static_cast<int>(std::floor(scaled));
  *f = scaled - static_cast<float>(*i);
}

float Interpolate(const float* table, int i, float f) { return table[i] + (table[i + 1] - table[i]) * f; }

// Map distance of latitude fraction l, sign kept.
float DistanceOf(float l) {
  int i;
  float f;
  NodeOf(std::fabs(l), &i, &f);
  const float d = Interpolate(RobinsonLatitudeByMapY, i, f);
  return l < 0.0f ? -d : d;
}

}  // namespace

uint8_t RobinsonForward(float x, float y, float* mx, float* my) {
  const float ay = std::fabs(y);
  if (!(ay <= 1.0f)) {
    *mx = x;
    *my = y;
    return 1;
  }
  int i;
  float f;
  NodeOf(ay, &i, &f);
  const float d = Interpolate(RobinsonLatitudeByMapY, i, f);
  *my = y < 0.0f ? -d : d;
  *mx = Interpolate(RobinsonXScaleByLatitude, i, f) * x;
  return (*mx < -1.0f || *mx > 1.0f) ? 1 : 0;
}

void BuildRobinsonInverseTable(float table[kRobinsonInverseSize]) {
  for (int i = 0; i < kRobinsonInverseSize; ++i) {
    const float target = static_cast<float>(i) / kLastIndex;
    float lo = std::fmax(0.0f, target - kBracket);
    float hi = std::fmin(1.0f, target + kBracket);
    float l = target;
    for (int step = 0; step < kBisections; ++step) {
      if (DistanceOf(l) > target) {
        hi = l;
      } else {
        lo = l;
      }
      l = (lo + hi) / 2.0f;
    }
    table[i] = l;
  }
}

// Built once, thread-safe, and (through the call below) while the library
// loads, before any pass starts its worker tasks.
const float* RobinsonInverseTable() {
  static const InverseTable table = [] {
    InverseTable t;
    BuildRobinsonInverseTable(t.entries);
    return t;
  }();
  return table.entries;
}

namespace {
[[maybe_unused]] const float* const g_builtAtLoad = RobinsonInverseTable();
}  // namespace

float RobinsonInverse_function(float v, const float* table) {
  const float value = LookupTable400(table, std::fabs(v) * kLastIndex);
  return v < 0.0f ? -value : value;
}

void RobinsonInverse(float* x, float* y, uint8_t* outside, const float* table) {
  *y = 2.0f * *y;
  if (!(std::fabs(*y) <= 1.0f) || !(std::fabs(*x) <= 1.0f)) {
    *outside = 1;
    return;
  }
  const float l = RobinsonInverse_function(*y, table);
  int i;
  float f;
  NodeOf(std::fabs(l), &i, &f);
  const float length = Interpolate(RobinsonXScaleByLatitude, i, f);
  if (std::fabs(*x) > length) {
    *outside = 1;
    return;
  }
  *x = -*x / length;
  *y = l;
  *outside = 0;
}
