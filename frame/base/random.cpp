#include "frame/base/random.h"

#include "frame/base/dates.h"

namespace {

uint64_t g_state = 0x853C49E6748FEA9BULL;

// splitmix64: every seed, 0 included, gives a full-period sequence of
// well-mixed 64-bit words.
uint64_t NextWord() {
  uint64_t z = (g_state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

void ReseedOSRandomNumbers() {
  // Seconds since 2001, as the system clock counts them, clamped to 32 bits.
  int64_t s = ZorNowUnixSeconds() + kSeconds1904To1970 - kSeconds1904To2001;
  if (s < 0) s = 0;
  if (s > int64_t(UINT32_MAX)) s = UINT32_MAX;
  ZorSeedRandom(uint64_t(s));
}

void ZorSeedRandom(uint64_t seed) { g_state = seed; }

int32_t RandomRange(int32_t a, int32_t b) {
  const int64_t lo = a < b ? a : b;
  const int64_t hi = a < b ? b : a;
  const uint64_t span = uint64_t(hi - lo);
  // Draws masked to the smallest all-ones word covering the span, redrawn when
  // past it: every value of the span is equally likely, whatever its size.
  uint64_t mask = span;
  mask |= mask >> 1;
  mask |= mask >> 2;
  mask |= mask >> 4;
  mask |= mask >> 8;
  mask |= mask >> 16;
  uint64_t v;
  do {
    v = NextWord() & mask;
  } while (v > span);
  return int32_t(lo + int64_t(v));
}
