// A window of the plug-in's dialog without a window system: an 8-bit RGB
// back buffer that the drawing calls paint, holding one control (the
// preview item) at fixed bounds, made current the way a window's port is.
// Tests dump it to PNG to see what the dialog would have shown.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct PreviewSurface;

// The one control a surface holds.
struct PreviewControl {
  PreviewSurface* owner;
  int32_t id;
  Rect bounds;  // window coordinates
};

struct PreviewSurface {
  int32_t width, height;
  uint8_t* pixels;  // red, green, blue; rows top to bottom, no padding
  PreviewControl item;
  int32_t flushCount;
  Rect lastFlush;
};

// Every pixel `grey`; false (and nothing held) without memory or for an
// empty size.
bool CreatePreviewSurface(PreviewSurface* surface, int32_t width, int32_t height, uint8_t grey);
void DisposePreviewSurface(PreviewSurface* surface);
void SetPreviewItem(PreviewSurface* surface, int32_t id, const Rect* bounds);

// The control with this id, or null.
PreviewControl* FindPreviewControl(PreviewSurface* surface, int32_t id);

// True for a surface made by CreatePreviewSurface and not yet disposed.
bool IsPreviewSurface(const void* p);

// The surface that drawing goes to; null when none is current.
PreviewSurface* GetCurrentSurface();
void SetCurrentSurface(PreviewSurface* surface);

// Both clip to the surface.
void FillSurfaceRect(PreviewSurface* surface, const Rect* r, uint8_t red, uint8_t green, uint8_t blue);
// Copies `source` of an 8-bit pixel map (image mode 1 or 3) to (destRow,
// destColumn); grey maps fill red, green and blue alike.
void DrawPixelMapOnSurface(PreviewSurface* surface, const PSPixelMap* map, const VRect* source, int32_t destRow,
                           int32_t destColumn);
// A window system would now show the rectangle; here it is only counted.
void FlushSurfaceRect(PreviewSurface* surface, const Rect* r);

// An 8-bit RGB PNG of the whole surface; false when the file cannot be written.
bool WritePreviewSurfacePNG(const PreviewSurface* surface, const char* path);
