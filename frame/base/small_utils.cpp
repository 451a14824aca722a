#include "frame/base/small_utils.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// The smallest magnitude that rounds to infinity when narrowed to float: the
// largest float plus half its last step (the tie rounds to the even side,
// which is infinity).
constexpr double kFloatOverflow = 0x1.ffffffp+127;

}  // namespace

bool zor_isnan(float x) {
  uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return (bits & 0x7FFFFFFFu) > 0x7F7FFFFFu;
}

// Tested without the narrowing itself, whose overflow C++ leaves undefined.
bool zor_isnanD(double x) { return std::isnan(x) || std::fabs(x) >= kFloatOverflow; }

void MacBeep() {
  std::fputc('\a', stderr);
  std::fflush(stderr);
}
