#include <cmath>
#include <cstring>

#include "frame/globals.h"
#include "frame/host_suites.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

struct KindInfo {
  int32_t bytesPerPixel, channels, bytesPerChannel;
  float toUnit, fromUnit;
};

KindInfo InfoOfKind(int32_t kind) {
  switch (kind) {
    case 0: return {1, 1, 1, 1.0f / 255.0f, 255.0f};
    case 1: return {2, 1, 2, 1.0f / 32768.0f, 32768.0f};
    case 2: return {2, 1, 2, 1.0f, 1.0f};
    case 3: return {4, 4, 1, 1.0f / 255.0f, 255.0f};
    case 4: return {8, 4, 2, 1.0f / 32768.0f, 32768.0f};
    case 5: return {4, 1, 4, 1.0f, 1.0f};
    case 7: return {6, 3, 2, 1.0f, 1.0f};
    case 9: return {16, 4, 4, 1.0f, 1.0f};
    default: return {0, 0, 0, 1.0f, 1.0f};
  }
}

// ceil(n / 2) in single precision, and an odd result above 2 goes up by one
// so that levels stay even until they reach 2.
int32_t NextLevelSize(int32_t n) {
  int32_t m = int32_t(std::ceil(float(n) / 2.0f));
  if (m > 2 && (m & 1)) ++m;
  return m;
}

int32_t CeilDiv(int32_t n, int32_t d) { return (n + d - 1) / d; }

void ReleaseTiles(PyramidDescriptor* p) {
  if (p->tileTable) {
    for (int32_t i = 0; i < p->tileCount; ++i) {
      PyramidTile& t = p->tileTable[i];
      RobustDisposePtr(&t.pixels, &t.bufferId, p->bufferProcs);
    }
    RobustDispose(&p->tileTable, &p->tileTableBufferId, p->bufferProcs);
  }
  p->tileCount = 0;
  p->tileTable = nullptr;
}

}  // namespace

PyramidDescriptor* InitPyramidProcs(PyramidDescriptor* pyramid, Globals* globals, float* filterTable) {
  pyramid->owner = globals;
  pyramid->bufferProcs = HostBuffers(globals);
  pyramid->filterTable = filterTable;
  pyramid->tileCount = 0;
  pyramid->tileTable = nullptr;
  pyramid->tileTableBufferId = 0;
  return pyramid;
}

PyramidDescriptor* InitPyramidProcs_from_another_pyr(PyramidDescriptor* pyramid, const PyramidDescriptor* other) {
  pyramid->owner = other->owner;
  pyramid->bufferProcs = other->bufferProcs;
  pyramid->filterTable = other->filterTable;
  pyramid->tileCount = 0;
  pyramid->tileTable = nullptr;
  pyramid->tileTableBufferId = 0;
  return pyramid;
}

bool TryToAllocatePyramid_2006(PyramidDescriptor* p, int32_t width, int32_t height, int32_t kind, int32_t wrapMode) {
  if (!p || width < 1 || height < 1 || width > 32767 || height > 32767) return false;
  if (p->tileCount > 0 && p->tileTable) ReleaseTiles(p);
  p->cacheId = 0;
  const KindInfo info = InfoOfKind(kind);

  int32_t widths[kPyramidMaxLevels], heights[kPyramidMaxLevels];
  int32_t top = 0;
  int64_t pixels = 0;
  int32_t tiles = 0;
  for (int32_t L = 0, w = width, h = height; L < kPyramidMaxLevels; ++L) {
    widths[L] = w;
    heights[L] = h;
    pixels += int64_t(w) * h;
    tiles += CeilDiv(w, kPyramidTileSize) * CeilDiv(h, kPyramidTileSize);
    top = L;
    if (L > 0 && w == 1 && h == 1) break;
    w = NextLevelSize(w);
    h = NextLevelSize(h);
  }

  p->tileTable = static_cast<PyramidTile*>(
      RobustNewPtr(sizeof(PyramidTile) * uint64_t(tiles), &p->tileTableBufferId, p->bufferProcs));
  if (!p->tileTable) {
    p->tileCount = 0;
    return false;
  }
  p->tileCount = tiles;
  for (int32_t i = 0; i < tiles; ++i) p->tileTable[i] = PyramidTile{0, nullptr, -1, -1, -1, -1};
  p->topLevel = top;

  int32_t index = 0;
  for (int32_t L = 0; L <= top; ++L) {
    const int32_t cols = CeilDiv(widths[L], kPyramidTileSize);
    const int32_t rows = CeilDiv(heights[L], kPyramidTileSize);
    p->levelFirstTile[L] = index;
    p->levelTilesPerRow[L] = cols;
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < cols; ++c, ++index) {
        PyramidTile& t = p->tileTable[index];
        t.left = c * kPyramidTileSize;
        t.top = r * kPyramidTileSize;
        t.width = c == cols - 1 ? widths[L] - kPyramidTileSize * (cols - 1) : kPyramidTileSize;
        t.height = r == rows - 1 ? heights[L] - kPyramidTileSize * (rows - 1) : kPyramidTileSize;
        const uint64_t bytes = uint64_t(t.width) * uint64_t(t.height) * uint64_t(info.bytesPerPixel);
        t.pixels = RobustNewPtr(bytes, &t.bufferId, p->bufferProcs);
        if (!t.pixels) {
          ReleaseTiles(p);
          p->cacheId = 0;
          return false;
        }
        p->levelLastTile[L] = index;
      }
    }
  }

  p->dataKind = kind;
  p->bytesPerPixel = info.bytesPerPixel;
  p->channels = info.channels;
  p->bytesPerChannel = info.bytesPerChannel;
  for (int32_t L = 0; L <= top; ++L) {
    p->levelWidth[L] = p->scaleWidth[L] = widths[L];
    p->levelHeight[L] = p->scaleHeight[L] = heights[L];
    p->levelClampX[L] = widths[L] - 1;
    p->levelClampY[L] = heights[L] - 1;
    p->levelLastX[L] = float(widths[L] - 1);
    p->levelLastY[L] = float(heights[L] - 1);
    p->pixelStepX[L] = 1.0f / float(widths[L]);
    p->pixelStepY[L] = 1.0f / float(heights[L]);
  }
  p->baseWidth = width;
  p->baseHeight = height;
  p->aspectX = width > height ? float(width) / float(height) : 1.0f;
  p->aspectY = height > width ? float(height) / float(width) : 1.0f;
  p->totalBytes = pixels * info.bytesPerPixel;
  p->overhangMode = 3;
  p->wrapMode = wrapMode;
  p->toUnitScale = info.toUnit;
  p->fromUnitScale = info.fromUnit;
  p->cacheId = 0;
  return true;
}

void DisposePyramidData(PyramidDescriptor* pyramid) {
  if (!pyramid) return;
  if (pyramid->tileCount > 0 && pyramid->tileTable) ReleaseTiles(pyramid);
  pyramid->cacheId = 0;
}
