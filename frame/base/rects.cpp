#include "frame/base/rects.h"

#include <algorithm>

void ZorSetRect(Rect* r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!r) return;
  r->top = int16_t(top);
  r->left = int16_t(left);
  r->bottom = int16_t(bottom);
  r->right = int16_t(right);
}

void copyRectBtoA(Rect* a, const Rect* b) { *a = *b; }
void TWCopyRectA2B(const Rect* a, Rect* b) { *b = *a; }
void MacRect2QDRect(const Rect* a, Rect* b) { *b = *a; }

void ZorOffsetRect(Rect* r, int32_t dh, int32_t dv) {
  if (!r) return;
  r->left = int16_t(r->left + dh);
  r->right = int16_t(r->right + dh);
  r->top = int16_t(r->top + dv);
  r->bottom = int16_t(r->bottom + dv);
}

void ZorInsetRect(Rect* r, int32_t dh, int32_t dv) {
  if (r) ShrinkRect_zor(r, dh, dv);
}

void ShrinkRect_zor(Rect* r, int32_t dh, int32_t dv) {
  r->left = int16_t(r->left + dh);
  r->right = int16_t(r->right - dh);
  r->top = int16_t(r->top + dv);
  r->bottom = int16_t(r->bottom - dv);
}

void ClipAAgainstB(Rect* a, const Rect* b) {
  a->top = std::max(a->top, b->top);
  a->left = std::max(a->left, b->left);
  a->bottom = std::min(a->bottom, b->bottom);
  a->right = std::min(a->right, b->right);
}

void ScaleRect_zor(Rect* r, int32_t m, int32_t d) {
  if (d == 0) d = 1;
  auto scale = [&](int16_t v) { return int16_t(int64_t(v) * m / d); };
  r->top = scale(r->top);
  r->left = scale(r->left);
  r->bottom = scale(r->bottom);
  r->right = scale(r->right);
}

bool QDEmptyRect(const Rect* r) { return r->left >= r->right || r->top >= r->bottom; }

bool ZorPtInRect(Point pt, const Rect* r) {
  if (!r) return false;
  return r->left <= pt.h && pt.h <= r->right && r->top <= pt.v && pt.v <= r->bottom;
}

void CenterAonPoint_HIRect(CGRect* a, const CGPoint* p) {
  a->origin.x = p->x - a->size.width / 2;
  a->origin.y = p->y - a->size.height / 2;
}

void CenterAonB_HIRect(CGRect* a, const CGRect* b) {
  if (!a || !b) return;
  a->origin.x = b->origin.x + b->size.width / 2 - a->size.width / 2;
  a->origin.y = b->origin.y + b->size.height / 2 - a->size.height / 2;
}
