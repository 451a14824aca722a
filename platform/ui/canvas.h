// The drawing surface of every window: 8-bit RGBA pixels with a clip stack.
// No anti-aliasing and one built-in bitmap font, so a window's picture is
// the same bytes on every machine and tests can probe its pixels.
#pragma once

#include <cstdint>

#include "platform/ui/ui_types.h"

struct UiColor {
  uint8_t r, g, b, a;
};

constexpr int kUiClipDepth = 16;

struct UiCanvas {
  int32_t width, height;
  uint8_t* pixels;  // red, green, blue, alpha; rows width*4 bytes apart
  Rect clips[kUiClipDepth];
  int32_t clipCount;  // clips[clipCount-1] is in force; none: the whole canvas
};

// False (and nothing held) for an empty size or without memory.
bool UiCanvasCreate(UiCanvas* canvas, int32_t width, int32_t height, UiColor fill);
void UiCanvasDispose(UiCanvas* canvas);

// Clips nest: each is the intersection with the one before.
void UiPushClip(UiCanvas* canvas, const Rect& r);
void UiPopClip(UiCanvas* canvas);
Rect UiCurrentClip(const UiCanvas* canvas);

// Alpha below 255 blends over what is there.
void UiFillRect(UiCanvas* canvas, const Rect& r, UiColor c);
void UiStrokeRect(UiCanvas* canvas, const Rect& r, UiColor c, int32_t lineWidth);
void UiDrawLine(UiCanvas* canvas, int32_t x0, int32_t y0, int32_t x1, int32_t y1, UiColor c, int32_t lineWidth);
void UiFillEllipse(UiCanvas* canvas, const Rect& r, UiColor c);
void UiStrokeEllipse(UiCanvas* canvas, const Rect& r, UiColor c, int32_t lineWidth);
// Even-odd fill of a closed polygon of `count` points (at most 64).
void UiFillPolygon(UiCanvas* canvas, const UiPoint* points, int32_t count, UiColor c);

// Draws an RGBA (or RGB, channels 3) image into `dest`, box-filtered when
// it shrinks and repeated pixels when it grows; source alpha blends.
void UiDrawImage(UiCanvas* canvas, const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                 int32_t channels, const Rect& dest);

// Mac Roman text on a baseline; characters outside the font draw as a box.
void UiDrawText(UiCanvas* canvas, int32_t x, int32_t baseline, const char* text, UiColor c);
int32_t UiTextWidth(const char* text);
int32_t UiTextAscent();
int32_t UiTextLineHeight();

// The pixel at (x, y); transparent black outside.
UiColor UiPixelAt(const UiCanvas* canvas, int32_t x, int32_t y);
bool UiWriteCanvasPNG(const UiCanvas* canvas, const char* path);

constexpr UiColor kUiBlack{0, 0, 0, 255};
constexpr UiColor kUiWhite{255, 255, 255, 255};
