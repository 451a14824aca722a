// A tiled mip-map image: every picture the system holds (input, cube faces,
// previews, export canvases, projection lookup grids) is one of these.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

constexpr int kPyramidMaxLevels = 20;
constexpr int kPyramidTileShift = 9;
constexpr int kPyramidTileSize = 1 << kPyramidTileShift;  // 512
constexpr int kPyramidTileMask = kPyramidTileSize - 1;

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

PyramidDescriptor* InitPyramidProcs(PyramidDescriptor* pyramid, Globals* globals, float* filterTable);
PyramidDescriptor* InitPyramidProcs_from_another_pyr(PyramidDescriptor* pyramid, const PyramidDescriptor* other);
bool TryToAllocatePyramid_2006(PyramidDescriptor* pyramid, int32_t width, int32_t height, int32_t kind,
                               int32_t wrapMode);
void DisposePyramidData(PyramidDescriptor* pyramid);
