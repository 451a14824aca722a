#include "render/output/compositing.h"

namespace {

// An opaque front hides what lies behind it, so its colour is taken as it
// is: b + (a - b) would round a dark a against a light b (1 + (a - 1) keeps
// only the bits of a that 1 has room for), and the output step, which
// truncates, would then write a dark level one step darker.
bool TakeOpaqueFront(const float a[4], float b[4]) {
  if (!(a[3] >= 1.0f)) return false;
  for (int i = 0; i < 3; ++i) b[i] = a[i];
  return true;
}

}  // namespace

void CompositeAoverB(const float a[4], float b[4]) {
  if (!(a[3] > 0.0f)) return;
  if (TakeOpaqueFront(a, b)) {
    b[3] = b[3] + a[3] * (1.0f - b[3]);
    return;
  }
  const float total = a[3] + b[3] - a[3] * b[3];
  const float t = a[3] / total;
  for (int i = 0; i < 3; ++i) b[i] += (a[i] - b[i]) * t;
  b[3] = b[3] + a[3] * (1.0f - b[3]);
}

void CompositeAoverOpaquePortionOfB(const float a[4], float b[4]) {
  if (!(a[3] > 0.0f) || TakeOpaqueFront(a, b)) return;
  for (int i = 0; i < 3; ++i) b[i] += (a[i] - b[i]) * a[3];
}
