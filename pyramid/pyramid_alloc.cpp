#include <cmath>
#include <cstring>

#include "frame/globals.h"  // owner of every pyramid: its host buffer suite, its pyramid slots and the host image mode
#include "frame/base/host_suites.h"
#include "frame/base/result_codes.h"
#include "platform/ui.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_intake.h"

namespace {

struct KindInfo {
  int32_t bytesPerPixel, channels, bytesPerChannel;
  float toUnit, fromUnit;
};

// 1/255 rounds to the float 0x3B808081 and 1/32768 is exact.
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

struct LevelPlan {
  int32_t widths[kPyramidMaxLevels];
  int32_t heights[kPyramidMaxLevels];
  int32_t topLevel;
  int32_t tiles;
  int64_t pixels;
};

// Level 0 down to the first 1 x 1 level after it, never past level 19.
LevelPlan PlanLevels(int32_t width, int32_t height) {
  LevelPlan plan{};
  for (int32_t L = 0, w = width, h = height; L < kPyramidMaxLevels; ++L) {
    plan.widths[L] = w;
    plan.heights[L] = h;
    plan.pixels += int64_t(w) * h;
    plan.tiles += CeilDiv(w, kPyramidTileSize) * CeilDiv(h, kPyramidTileSize);
    plan.topLevel = L;
    if (L > 0 && w == 1 && h == 1) break;
    w = NextLevelSize(w);
    h = NextLevelSize(h);
  }
  return plan;
}

PyramidAllocStatus CheckRequest(const PyramidDescriptor* p, int32_t width, int32_t height, int32_t kind) {
  if (!p || width < 1 || height < 1 || InfoOfKind(kind).bytesPerPixel == 0) return PyramidAlloc_BadRequest;
  if (width > kPyramidMaxSide || height > kPyramidMaxSide) return PyramidAlloc_TooLarge;
  return PyramidAlloc_OK;
}

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

// Allocates every tile of the plan; on the first refusal releases what it had.
bool AllocateTiles(PyramidDescriptor* p, const LevelPlan& plan, int32_t bytesPerPixel) {
  int32_t index = 0;
  for (int32_t L = 0; L <= plan.topLevel; ++L) {
    const int32_t cols = CeilDiv(plan.widths[L], kPyramidTileSize);
    const int32_t rows = CeilDiv(plan.heights[L], kPyramidTileSize);
    p->levelFirstTile[L] = index;
    p->levelTilesPerRow[L] = cols;
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < cols; ++c, ++index) {
        PyramidTile& t = p->tileTable[index];
        t.left = c * kPyramidTileSize;
        t.top = r * kPyramidTileSize;
        t.width = c == cols - 1 ? plan.widths[L] - kPyramidTileSize * (cols - 1) : kPyramidTileSize;
        t.height = r == rows - 1 ? plan.heights[L] - kPyramidTileSize * (rows - 1) : kPyramidTileSize;
        const uint64_t bytes = uint64_t(t.width) * uint64_t(t.height) * uint64_t(bytesPerPixel);
        t.pixels = RobustNewPtr(bytes, &t.bufferId, p->bufferProcs);
        if (!t.pixels) {
          ReleaseTiles(p);
          return false;
        }
        p->levelLastTile[L] = index;
      }
    }
  }
  return true;
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

int32_t BytesPerPixelOfKind(int32_t kind) { return InfoOfKind(kind).bytesPerPixel; }

int64_t PyramidByteCount(int32_t width, int32_t height, int32_t kind) {
  PyramidDescriptor probe{};
  if (CheckRequest(&probe, width, height, kind) != PyramidAlloc_OK) return -1;
  return PlanLevels(width, height).pixels * InfoOfKind(kind).bytesPerPixel;
}

PyramidAllocStatus AllocatePyramidWithStatus(PyramidDescriptor* p, int32_t width, int32_t height, int32_t kind,
                                             int32_t wrapMode) {
  if (const PyramidAllocStatus refused = CheckRequest(p, width, height, kind); refused != PyramidAlloc_OK)
    return refused;
  if (p->tileCount > 0 && p->tileTable) ReleaseTiles(p);
  p->cacheId = 0;
  const KindInfo info = InfoOfKind(kind);
  const LevelPlan plan = PlanLevels(width, height);

  p->tileTable = static_cast<PyramidTile*>(
      RobustNewPtr(sizeof(PyramidTile) * uint64_t(plan.tiles), &p->tileTableBufferId, p->bufferProcs));
  if (!p->tileTable) {
    p->tileCount = 0;
    return PyramidAlloc_OutOfMemory;
  }
  p->tileCount = plan.tiles;
  for (int32_t i = 0; i < plan.tiles; ++i) p->tileTable[i] = PyramidTile{0, nullptr, -1, -1, -1, -1};
  p->topLevel = plan.topLevel;
  if (!AllocateTiles(p, plan, info.bytesPerPixel)) return PyramidAlloc_OutOfMemory;

  p->dataKind = kind;
  p->bytesPerPixel = info.bytesPerPixel;
  p->channels = info.channels;
  p->bytesPerChannel = info.bytesPerChannel;
  for (int32_t L = 0; L <= plan.topLevel; ++L) {
    p->levelWidth[L] = p->scaleWidth[L] = plan.widths[L];
    p->levelHeight[L] = p->scaleHeight[L] = plan.heights[L];
    p->levelClampX[L] = plan.widths[L] - 1;
    p->levelClampY[L] = plan.heights[L] - 1;
    p->levelLastX[L] = float(plan.widths[L] - 1);
    p->levelLastY[L] = float(plan.heights[L] - 1);
    p->pixelStepX[L] = 1.0f / float(plan.widths[L]);
    p->pixelStepY[L] = 1.0f / float(plan.heights[L]);
  }
  p->baseWidth = width;
  p->baseHeight = height;
  p->aspectX = width > height ? float(width) / float(height) : 1.0f;
  p->aspectY = height > width ? float(height) / float(width) : 1.0f;
  p->totalBytes = plan.pixels * info.bytesPerPixel;
  p->overhangMode = 3;
  p->wrapMode = wrapMode;
  p->toUnitScale = info.toUnit;
  p->fromUnitScale = info.fromUnit;
  p->cacheId = 0;
  return PyramidAlloc_OK;
}

const char* PyramidAllocStatusText(PyramidAllocStatus status) {
  switch (status) {
    case PyramidAlloc_OK: return "The image memory was allocated.";
    case PyramidAlloc_BadRequest: return "The image has no pixels or an unknown pixel format.";
    case PyramidAlloc_TooLarge: return "The image is larger than 32767 pixels on a side.";
    case PyramidAlloc_OutOfMemory: return "There is not enough memory for the image.";
  }
  return "The image memory could not be allocated.";
}

bool TryToAllocatePyramid_2006(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                               int32_t wrapMode) {
  return AllocatePyramidWithStatus(pyramid, width, height, kind, wrapMode) == PyramidAlloc_OK;
}

bool TryToAllocatePyramid_new(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                              int32_t wrapMode) {
  return TryToAllocatePyramid_2006(pyramid, width, height, kind, wrapMode);
}

bool TryToAllocateCanvas_new(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                             int32_t wrapMode) {
  return TryToAllocatePyramid_2006(pyramid, width, height, kind, wrapMode);
}

bool TryToAllocateCanvas_old(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t channelCount,
                             int32_t wrapMode) {
  const int32_t kind = channelCount == 1   ? PyramidDataKind_Byte
                       : channelCount == 2 ? PyramidDataKind_Single16
                                           : PyramidDataKind_Packed8;
  return TryToAllocatePyramid_2006(pyramid, width, height, kind, wrapMode);
}

int16_t AllocateColorPyramids(int32_t width, int32_t height, Globals* globals) {
  if (!globals) return kInputPyramidMissing;
  const PyramidAllocStatus status = AllocatePyramidWithStatus(
      &globals->pyramids[kPyramidMain], width, height, GetPyramidDatakindThatSuitsHostMode(globals), 0);
  switch (status) {
    case PyramidAlloc_OK: return kOK;
    case PyramidAlloc_OutOfMemory: return kOutOfMemory;
    default:
      PlatformShowAlert("The image cannot be read.", PyramidAllocStatusText(status));
      return kInputPyramidMissing;
  }
}

void DisposePyramidData(PyramidDescriptor* pyramid) {
  if (!pyramid) return;
  if (pyramid->tileCount > 0 && pyramid->tileTable) ReleaseTiles(pyramid);
  pyramid->cacheId = 0;
}

void DumpAnyCorpus(Globals* globals) {
  if (!globals) return;
  for (int i = kPyramidFirstCubeFace; i < kPyramidSlots; ++i) DisposePyramidData(&globals->pyramids[i]);
}

void GetBoundingRectOfPyrLevel(const PyramidDescriptor* pyramid, int32_t level, Rect* rect) {
  *rect = Rect{0, 0, 0, 0};
  if (!pyramid || level < 0 || level > pyramid->topLevel || level >= kPyramidMaxLevels) return;
  rect->bottom = int16_t(pyramid->levelHeight[level]);
  rect->right = int16_t(pyramid->levelWidth[level]);
}

void GetRectOfTile(const PyramidDescriptor* pyramid, int32_t tileIndex, Rect* rect) {
  *rect = Rect{0, 0, 0, 0};
  if (!pyramid || !pyramid->tileTable || tileIndex < 0 || tileIndex >= pyramid->tileCount) return;
  const PyramidTile& t = pyramid->tileTable[tileIndex];
  *rect = Rect{int16_t(t.top), int16_t(t.left), int16_t(t.top + t.height), int16_t(t.left + t.width)};
}

int32_t PixelsInTile(const PyramidDescriptor* pyramid, int32_t tileIndex) {
  if (!pyramid || !pyramid->tileTable || tileIndex < 0 || tileIndex >= pyramid->tileCount) return 0;
  const PyramidTile& t = pyramid->tileTable[tileIndex];
  return t.width * t.height;
}

bool PyramidsAreSimilar(const PyramidDescriptor* a, const PyramidDescriptor* b) {
  return a->levelWidth[0] == b->levelWidth[0] && a->levelHeight[0] == b->levelHeight[0] &&
         a->bytesPerPixel == b->bytesPerPixel && a->topLevel == b->topLevel;
}

bool PyramidsAreSimilarSizeAtLevel0(const PyramidDescriptor* a, const PyramidDescriptor* b) {
  return a->levelWidth[0] == b->levelWidth[0] && a->levelHeight[0] == b->levelHeight[0];
}
