#include "platform/preview_surface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/memory.h"
#include "platform/ui/png_write.h"

namespace {

PreviewSurface* g_current = nullptr;
constexpr int kLiveSurfaces = 8;
const PreviewSurface* g_live[kLiveSurfaces];

// The part of r that lies on the surface, as top, left, bottom, right.
bool ClipToSurface(const PreviewSurface* s, const Rect* r, int32_t* top, int32_t* left, int32_t* bottom,
                   int32_t* right) {
  if (!s || !s->pixels || !r) return false;
  *top = std::max<int32_t>(r->top, 0);
  *left = std::max<int32_t>(r->left, 0);
  *bottom = std::min<int32_t>(r->bottom, s->height);
  *right = std::min<int32_t>(r->right, s->width);
  return *top < *bottom && *left < *right;
}

}  // namespace

bool CreatePreviewSurface(PreviewSurface* surface, int32_t width, int32_t height, uint8_t grey) {
  *surface = PreviewSurface{};
  if (width < 1 || height < 1) return false;
  const int64_t bytes = int64_t(width) * height * 3;
  surface->pixels = static_cast<uint8_t*>(NewPtr(bytes));
  if (!surface->pixels) return false;
  std::memset(surface->pixels, grey, size_t(bytes));
  surface->width = width;
  surface->height = height;
  surface->item.owner = surface;
  surface->item.id = -1;
  for (const PreviewSurface*& slot : g_live)
    if (!slot) {
      slot = surface;
      break;
    }
  return true;
}

void DisposePreviewSurface(PreviewSurface* surface) {
  if (!surface) return;
  if (g_current == surface) g_current = nullptr;
  for (const PreviewSurface*& slot : g_live)
    if (slot == surface) slot = nullptr;
  DisposePtr(surface->pixels);
  *surface = PreviewSurface{};
}

void SetPreviewItem(PreviewSurface* surface, int32_t id, const Rect* bounds) {
  surface->item.owner = surface;
  surface->item.id = id;
  surface->item.bounds = *bounds;
}

PreviewControl* FindPreviewControl(PreviewSurface* surface, int32_t id) {
  if (!surface || surface->item.id != id) return nullptr;
  return &surface->item;
}

bool IsPreviewSurface(const void* p) {
  if (!p) return false;
  for (const PreviewSurface* s : g_live)
    if (s == p) return true;
  return false;
}

PreviewSurface* GetCurrentSurface() { return g_current; }
void SetCurrentSurface(PreviewSurface* surface) { g_current = surface; }

void FillSurfaceRect(PreviewSurface* surface, const Rect* r, uint8_t red, uint8_t green, uint8_t blue) {
  int32_t top, left, bottom, right;
  if (!ClipToSurface(surface, r, &top, &left, &bottom, &right)) return;
  for (int32_t y = top; y < bottom; ++y) {
    uint8_t* p = surface->pixels + (size_t(y) * surface->width + left) * 3;
    for (int32_t x = left; x < right; ++x, p += 3) {
      p[0] = red;
      p[1] = green;
      p[2] = blue;
    }
  }
}

void DrawPixelMapOnSurface(PreviewSurface* surface, const PSPixelMap* map, const VRect* source, int32_t destRow,
                           int32_t destColumn) {
  if (!surface || !surface->pixels || !map || !map->baseAddr || !source) return;
  const bool colour = map->imageMode == 3;
  if ((!colour && map->imageMode != 1) || map->colBytes < (colour ? 3 : 1)) return;
  // Only what the map holds, and only what lands on the surface.
  const int32_t top = std::max(source->top, map->bounds.top);
  const int32_t left = std::max(source->left, map->bounds.left);
  const int32_t bottom = std::min(source->bottom, map->bounds.bottom);
  const int32_t right = std::min(source->right, map->bounds.right);
  const auto* base = static_cast<const uint8_t*>(map->baseAddr);
  for (int32_t y = top; y < bottom; ++y) {
    const int32_t dy = destRow + (y - source->top);
    if (dy < 0 || dy >= surface->height) continue;
    const uint8_t* row = base + int64_t(y - map->bounds.top) * map->rowBytes;
    for (int32_t x = left; x < right; ++x) {
      const int32_t dx = destColumn + (x - source->left);
      if (dx < 0 || dx >= surface->width) continue;
      const uint8_t* px = row + int64_t(x - map->bounds.left) * map->colBytes;
      uint8_t* d = surface->pixels + (size_t(dy) * surface->width + dx) * 3;
      d[0] = px[0];
      d[1] = colour ? px[1] : px[0];
      d[2] = colour ? px[2] : px[0];
    }
  }
}

void FlushSurfaceRect(PreviewSurface* surface, const Rect* r) {
  if (!surface || !r) return;
  ++surface->flushCount;
  surface->lastFlush = *r;
}

bool WritePreviewSurfacePNG(const PreviewSurface* surface, const char* path) {
  if (!surface || !surface->pixels) return false;
  return UiWritePNG(path, surface->pixels, surface->width, surface->height, surface->width * 3, 3);
}
