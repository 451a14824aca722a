// Host rectangles (top, left, bottom, right in 16 bits; right and bottom
// exclusive) and the floating-point view rectangles of the window system.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Point {
  int16_t v, h;
};

struct CGPoint {
  float x, y;
};
struct CGSize {
  float width, height;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
};

// Note the argument order: left, top, right, bottom. Null-safe.
void ZorSetRect(Rect* r, int32_t left, int32_t top, int32_t right, int32_t bottom);
void copyRectBtoA(Rect* a, const Rect* b);     // a := b
void TWCopyRectA2B(const Rect* a, Rect* b);    // b := a
void MacRect2QDRect(const Rect* a, Rect* b);   // b := a
void ZorOffsetRect(Rect* r, int32_t dh, int32_t dv);  // null-safe
void ZorInsetRect(Rect* r, int32_t dh, int32_t dv);   // null-safe
void ShrinkRect_zor(Rect* r, int32_t dh, int32_t dv);
// a := a intersected with b; an empty or inverted result is left as it is.
void ClipAAgainstB(Rect* a, const Rect* b);
// Every value := value * m / d truncated toward zero; d = 0 counts as 1.
void ScaleRect_zor(Rect* r, int32_t m, int32_t d);
bool QDEmptyRect(const Rect* r);
// All four edges count as inside; false for a null rectangle.
bool ZorPtInRect(Point pt, const Rect* r);

void CenterAonPoint_HIRect(CGRect* a, const CGPoint* p);
void CenterAonB_HIRect(CGRect* a, const CGRect* b);
