#include "render/compositing.h"

void CompositeAoverB(const float a[4], float b[4]) {
  if (!(a[3] > 0.0f)) return;
  const float total = a[3] + b[3] - a[3] * b[3];
  const float t = a[3] / total;
  for (int i = 0; i < 3; ++i) b[i] += (a[i] - b[i]) * t;
  b[3] = b[3] + a[3] * (1.0f - b[3]);
}

void CompositeAoverOpaquePortionOfB(const float a[4], float b[4]) {
  if (!(a[3] > 0.0f)) return;
  for (int i = 0; i < 3; ++i) b[i] += (a[i] - b[i]) * a[3];
}
