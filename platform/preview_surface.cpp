#include "platform/preview_surface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/memory.h"

namespace {

PreviewSurface* g_current = nullptr;

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

// PNG without a compression library: the image data goes into stored
// (uncompressed) deflate blocks, which every reader accepts.
uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void PutBig32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data) {
  PutBig32(out, uint32_t(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  PutBig32(out, Crc32(out->data() + start, out->size() - start) ^ 0xFFFFFFFFu);
}

std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  constexpr size_t kBlock = 65535;
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min(kBlock, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + n));
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  PutBig32(&z, (b << 16) | a);
  return z;
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
  return true;
}

void DisposePreviewSurface(PreviewSurface* surface) {
  if (!surface) return;
  if (g_current == surface) g_current = nullptr;
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
  if (!surface || !surface->pixels || !path) return false;
  const size_t rowBytes = size_t(surface->width) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * size_t(surface->height));
  for (int32_t y = 0; y < surface->height; ++y) {
    raw.push_back(0);  // no filter
    const uint8_t* row = surface->pixels + rowBytes * size_t(y);
    raw.insert(raw.end(), row, row + rowBytes);
  }
  std::vector<uint8_t> header;
  PutBig32(&header, uint32_t(surface->width));
  PutBig32(&header, uint32_t(surface->height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(&file, "IHDR", header);
  PutChunk(&file, "IDAT", StoredZlib(raw));
  PutChunk(&file, "IEND", {});
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && written;
}
