#include "platform/ui/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/memory.h"
#include "platform/ui/font_table.h"
#include "platform/ui/png_write.h"

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
              std::min(a.right, b.right)};
}

void Blend(uint8_t* d, UiColor c) {
  if (c.a == 255) {
    d[0] = c.r, d[1] = c.g, d[2] = c.b, d[3] = 255;
    return;
  }
  const int a = c.a, na = 255 - a;
  d[0] = uint8_t((c.r * a + d[0] * na + 127) / 255);
  d[1] = uint8_t((c.g * a + d[1] * na + 127) / 255);
  d[2] = uint8_t((c.b * a + d[2] * na + 127) / 255);
  d[3] = uint8_t(std::min(255, a + d[3] * na / 255));
}

void Span(UiCanvas* canvas, int32_t y, int32_t x0, int32_t x1, UiColor c) {
  const Rect clip = UiCurrentClip(canvas);
  if (y < clip.top || y >= clip.bottom) return;
  x0 = std::max<int32_t>(x0, clip.left);
  x1 = std::min<int32_t>(x1, clip.right);
  uint8_t* p = canvas->pixels + (size_t(y) * size_t(canvas->width) + size_t(std::max(x0, 0))) * 4;
  for (int32_t x = x0; x < x1; ++x, p += 4) Blend(p, c);
}

void Dot(UiCanvas* canvas, int32_t x, int32_t y, UiColor c) { Span(canvas, y, x, x + 1, c); }

}  // namespace

bool UiPointInRect(UiPoint p, const Rect& r) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool UiCanvasCreate(UiCanvas* canvas, int32_t width, int32_t height, UiColor fill) {
  *canvas = UiCanvas{};
  if (width < 1 || height < 1 || width > 8192 || height > 8192) return false;
  canvas->pixels = static_cast<uint8_t*>(NewPtr(int64_t(width) * height * 4));
  if (!canvas->pixels) return false;
  canvas->width = width;
  canvas->height = height;
  for (int64_t i = 0; i < int64_t(width) * height; ++i) std::memcpy(canvas->pixels + i * 4, &fill, 4);
  return true;
}

void UiCanvasDispose(UiCanvas* canvas) {
  if (!canvas) return;
  DisposePtr(canvas->pixels);
  *canvas = UiCanvas{};
}

Rect UiCurrentClip(const UiCanvas* canvas) {
  const Rect whole{0, 0, int16_t(canvas->height), int16_t(canvas->width)};
  return canvas->clipCount > 0 ? Intersect(canvas->clips[canvas->clipCount - 1], whole) : whole;
}

void UiPushClip(UiCanvas* canvas, const Rect& r) {
  // Past the depth the innermost clip is narrowed in place.
  const Rect next = Intersect(UiCurrentClip(canvas), r);
  if (canvas->clipCount < kUiClipDepth) ++canvas->clipCount;
  canvas->clips[canvas->clipCount - 1] = next;
}

void UiPopClip(UiCanvas* canvas) {
  if (canvas->clipCount > 0) --canvas->clipCount;
}

void UiFillRect(UiCanvas* canvas, const Rect& r, UiColor c) {
  if (!canvas || !canvas->pixels) return;
  const Rect clip = Intersect(UiCurrentClip(canvas), r);
  for (int32_t y = clip.top; y < clip.bottom; ++y) Span(canvas, y, clip.left, clip.right, c);
}

void UiStrokeRect(UiCanvas* canvas, const Rect& r, UiColor c, int32_t w) {
  if (w < 1) w = 1;
  const auto t = int16_t(w);
  UiFillRect(canvas, Rect{r.top, r.left, int16_t(r.top + t), r.right}, c);
  UiFillRect(canvas, Rect{int16_t(r.bottom - t), r.left, r.bottom, r.right}, c);
  UiFillRect(canvas, Rect{int16_t(r.top + t), r.left, int16_t(r.bottom - t), int16_t(r.left + t)}, c);
  UiFillRect(canvas, Rect{int16_t(r.top + t), int16_t(r.right - t), int16_t(r.bottom - t), r.right}, c);
}

void UiDrawLine(UiCanvas* canvas, int32_t x0, int32_t y0, int32_t x1, int32_t y1, UiColor c, int32_t w) {
  if (!canvas || !canvas->pixels) return;
  if (w < 1) w = 1;
  const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int32_t err = dx + dy;
  const int32_t lo = -(w - 1) / 2, hi = w / 2;
  for (;;) {
    for (int32_t oy = lo; oy <= hi; ++oy) Span(canvas, y0 + oy, x0 + lo, x0 + hi + 1, c);
    if (x0 == x1 && y0 == y1) break;
    const int32_t e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

void UiFillEllipse(UiCanvas* canvas, const Rect& r, UiColor c) {
  if (!canvas || !canvas->pixels || r.right <= r.left || r.bottom <= r.top) return;
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    const double t = (y + 0.5 - cy) / ry;
    if (t * t > 1) continue;
    const double half = rx * std::sqrt(1 - t * t);
    Span(canvas, y, int32_t(std::lround(cx - half)), int32_t(std::lround(cx + half)), c);
  }
}

void UiStrokeEllipse(UiCanvas* canvas, const Rect& r, UiColor c, int32_t w) {
  if (!canvas || !canvas->pixels || r.right <= r.left || r.bottom <= r.top) return;
  if (w < 1) w = 1;
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x) {
      const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
      const double d = std::sqrt(u * u + v * v);
      // Distance to the outline in pixels, along the smaller radius.
      if (d <= 1 && (1 - d) * std::min(rx, ry) < w) Dot(canvas, x, y, c);
    }
}

void UiFillPolygon(UiCanvas* canvas, const UiPoint* pts, int32_t count, UiColor c) {
  if (!canvas || !canvas->pixels || !pts || count < 3 || count > 64) return;
  float top = pts[0].y, bottom = pts[0].y;
  for (int32_t i = 1; i < count; ++i) top = std::min(top, pts[i].y), bottom = std::max(bottom, pts[i].y);
  float xs[64];
  for (int32_t y = int32_t(std::floor(top)); y <= int32_t(std::ceil(bottom)); ++y) {
    const float sy = float(y) + 0.5f;
    int32_t n = 0;
    for (int32_t i = 0, j = count - 1; i < count; j = i++) {
      const UiPoint a = pts[j], b = pts[i];
      if ((a.y <= sy) != (b.y <= sy)) xs[n++] = a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x);
    }
    std::sort(xs, xs + n);
    for (int32_t k = 0; k + 1 < n; k += 2)
      Span(canvas, y, int32_t(std::lround(xs[k])), int32_t(std::lround(xs[k + 1])), c);
  }
}

void UiDrawImage(UiCanvas* canvas, const uint8_t* src, int32_t sw, int32_t sh, int32_t rowBytes, int32_t channels,
                 const Rect& dest) {
  if (!canvas || !canvas->pixels || !src || sw < 1 || sh < 1 || (channels != 3 && channels != 4)) return;
  const int32_t dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (dw < 1 || dh < 1) return;
  const Rect clip = Intersect(UiCurrentClip(canvas), dest);
  for (int32_t y = clip.top; y < clip.bottom; ++y) {
    const int32_t sy0 = int32_t(int64_t(y - dest.top) * sh / dh);
    const int32_t sy1 = std::max(sy0 + 1, int32_t(int64_t(y - dest.top + 1) * sh / dh));
    for (int32_t x = clip.left; x < clip.right; ++x) {
      const int32_t sx0 = int32_t(int64_t(x - dest.left) * sw / dw);
      const int32_t sx1 = std::max(sx0 + 1, int32_t(int64_t(x - dest.left + 1) * sw / dw));
      uint32_t sum[4] = {0, 0, 0, 0}, n = 0;
      for (int32_t yy = sy0; yy < sy1; ++yy)
        for (int32_t xx = sx0; xx < sx1; ++xx, ++n) {
          const uint8_t* p = src + size_t(yy) * size_t(rowBytes) + size_t(xx) * size_t(channels);
          for (int k = 0; k < 3; ++k) sum[k] += p[k];
          sum[3] += channels == 4 ? p[3] : 255;
        }
      Dot(canvas, x, y, UiColor{uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n), uint8_t(sum[3] / n)});
    }
  }
}

int32_t UiTextAscent() { return kUiFontAscent; }
int32_t UiTextLineHeight() { return kUiFontCellHeight; }

int32_t UiTextWidth(const char* text) {
  int32_t w = 0;
  for (const char* s = text; s && *s; ++s) {
    const int ch = uint8_t(*s);
    w += (ch >= kUiFontFirst && ch <= kUiFontLast) ? kUiFontGlyphs[ch - kUiFontFirst].advance : 7;
  }
  return w;
}

void UiDrawText(UiCanvas* canvas, int32_t x, int32_t baseline, const char* text, UiColor c) {
  if (!canvas || !canvas->pixels || !text) return;
  const int32_t top = baseline - kUiFontAscent;
  for (const char* s = text; *s; ++s) {
    const int ch = uint8_t(*s);
    if (ch < kUiFontFirst || ch > kUiFontLast) {
      UiStrokeRect(canvas, Rect{int16_t(top + 3), int16_t(x + 1), int16_t(baseline), int16_t(x + 6)}, c, 1);
      x += 7;
      continue;
    }
    const UiGlyph& g = kUiFontGlyphs[ch - kUiFontFirst];
    for (int32_t row = 0; row < kUiFontCellHeight; ++row)
      for (int32_t bit = 0; bit < 16; ++bit)
        if (g.rows[row] & (0x8000u >> bit)) Dot(canvas, x + bit, top + row, c);
    x += g.advance;
  }
}

UiColor UiPixelAt(const UiCanvas* canvas, int32_t x, int32_t y) {
  if (!canvas || !canvas->pixels || x < 0 || y < 0 || x >= canvas->width || y >= canvas->height) return {};
  const uint8_t* p = canvas->pixels + (size_t(y) * size_t(canvas->width) + size_t(x)) * 4;
  return UiColor{p[0], p[1], p[2], p[3]};
}

bool UiWriteCanvasPNG(const UiCanvas* canvas, const char* path) {
  if (!canvas || !canvas->pixels) return false;
  return UiWritePNG(path, canvas->pixels, canvas->width, canvas->height, canvas->width * 4, 4);
}
