// pyramid/: the tiled mip-map image pyramids: intake, level builds and filtered reads.
// A tiled mip-map image: every picture the system holds (input, cube faces,
// previews, export canvases, projection lookup grids) is one of these.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

constexpr int kPyramidMaxLevels = 20;
constexpr int kPyramidTileShift = 9;
constexpr int kPyramidTileSize = 1 << kPyramidTileShift;  // 512
constexpr int kPyramidTileMask = kPyramidTileSize - 1;
// Level rectangles travel as 16-bit Rects, so no side may be longer.
constexpr int32_t kPyramidMaxSide = 32767;

enum PyramidDataKind : int32_t {
  PyramidDataKind_Byte = 0,
  PyramidDataKind_Grey16 = 1,
  PyramidDataKind_Single16 = 2,
  PyramidDataKind_Packed8 = 3,
  PyramidDataKind_Four16 = 4,
  PyramidDataKind_GreyFloat = 5,
  PyramidDataKind_ThreeSigned16 = 7,
  PyramidDataKind_FourFloat = 9,
};

struct PyramidTile {
  BufferID bufferId;
  void* pixels;
  int32_t top, left, width, height;
};

struct PyramidDescriptor {
  int32_t levelWidth[kPyramidMaxLevels];
  int32_t levelHeight[kPyramidMaxLevels];
  int32_t scaleWidth[kPyramidMaxLevels];
  int32_t scaleHeight[kPyramidMaxLevels];
  int32_t baseWidth;
  int32_t baseHeight;
  float levelLastX[kPyramidMaxLevels];
  float levelLastY[kPyramidMaxLevels];
  int32_t levelClampX[kPyramidMaxLevels];
  int32_t levelClampY[kPyramidMaxLevels];
  int32_t topLevel;
  // 64-bit: a large float image with its levels passes 2 GB.
  int64_t totalBytes;
  int32_t bytesPerPixel;
  int32_t channels;
  int32_t bytesPerChannel;
  int32_t dataKind;
  int32_t tileCount;
  PyramidTile* tileTable;
  BufferID tileTableBufferId;
  int32_t levelFirstTile[kPyramidMaxLevels];
  int32_t levelLastTile[kPyramidMaxLevels];
  int32_t levelTilesPerRow[kPyramidMaxLevels];
  BufferProcs* bufferProcs;
  Globals* owner;
  float* filterTable;
  float pixelStepX[kPyramidMaxLevels];
  float pixelStepY[kPyramidMaxLevels];
  int32_t wrapMode;
  int32_t overhangMode;
  float aspectX;
  float aspectY;
  float toUnitScale;
  float fromUnitScale;
  int32_t cacheId;
};

// Why an allocation did not happen; callers that only need yes or no use
// TryToAllocatePyramid_2006.
enum PyramidAllocStatus : int32_t {
  PyramidAlloc_OK = 0,
  PyramidAlloc_BadRequest = 1,   // no descriptor, a side below 1, or a kind that does not exist
  PyramidAlloc_TooLarge = 2,     // a side above kPyramidMaxSide
  PyramidAlloc_OutOfMemory = 3,  // the tile table or a tile could not be had
};

PyramidDescriptor* InitPyramidProcs(PyramidDescriptor* pyramid, Globals* globals, float* filterTable);
PyramidDescriptor* InitPyramidProcs_from_another_pyr(PyramidDescriptor* pyramid, const PyramidDescriptor* other);

// Refused requests leave the descriptor untouched; a failure after that leaves
// it unallocated with none of its blocks outstanding.
PyramidAllocStatus AllocatePyramidWithStatus(PyramidDescriptor* pyramid, int32_t width, int32_t height,
                                             int32_t kind, int32_t wrapMode);
const char* PyramidAllocStatusText(PyramidAllocStatus status);
bool TryToAllocatePyramid_2006(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                               int32_t wrapMode);
bool TryToAllocatePyramid_new(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                              int32_t wrapMode);
bool TryToAllocateCanvas_new(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                             int32_t wrapMode);
// 1 channel: kind 0; 2 channels: kind 2; anything else: kind 3.
bool TryToAllocateCanvas_old(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t channelCount,
                             int32_t wrapMode);
// The main colour pyramid in the kind that suits the host's image. Returns 0,
// -108 when memory ran out, or 999 (after an alert) when the size cannot be
// held at all.
int16_t AllocateColorPyramids(int32_t width, int32_t height, Globals* globals);

void DisposePyramidData(PyramidDescriptor* pyramid);
void DumpAnyCorpus(Globals* globals);  // the six cube-face pyramids

// Pixel memory of a pyramid of this size and kind over all its levels; -1 for
// a request that allocation would refuse.
int64_t PyramidByteCount(int32_t width, int32_t height, int32_t kind);
// Bytes per pixel of a data kind, 0 for a kind that does not exist.
int32_t BytesPerPixelOfKind(int32_t kind);

void GetBoundingRectOfPyrLevel(const PyramidDescriptor* pyramid, int32_t level, Rect* rect);
void GetRectOfTile(const PyramidDescriptor* pyramid, int32_t tileIndex, Rect* rect);
int32_t PixelsInTile(const PyramidDescriptor* pyramid, int32_t tileIndex);
bool PyramidsAreSimilar(const PyramidDescriptor* a, const PyramidDescriptor* b);
bool PyramidsAreSimilarSizeAtLevel0(const PyramidDescriptor* a, const PyramidDescriptor* b);

// True when `level` exists in an allocated pyramid.
inline bool PyramidHasLevel(const PyramidDescriptor* p, int32_t level) {
  return p && p->tileTable && level >= 0 && level <= p->topLevel;
}

// The tile that holds pixel (x, y) of `level`; x and y must lie in the level.
inline const PyramidTile& PyramidTileOf(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y) {
  return p->tileTable[p->levelFirstTile[level] + (x >> kPyramidTileShift) +
                      (y >> kPyramidTileShift) * p->levelTilesPerRow[level]];
}

// Address of pixel (x, y) of `level`; x and y must lie in the level.
inline uint8_t* PyramidPixelAddress(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y) {
  const PyramidTile& t = PyramidTileOf(p, level, x, y);
  const ptrdiff_t element = ptrdiff_t(x & kPyramidTileMask) + ptrdiff_t(y & kPyramidTileMask) * t.width;
  return static_cast<uint8_t*>(t.pixels) + element * p->bytesPerPixel;
}
