// The description of one exported document: what the export kind in the
// settings asks for (layer count, size, depth, one file per layer), the
// names of its layers, and the progress counts of the running export.
#pragma once

#include <cstdint>

#include "export/brick/lego_structure.h"

struct Globals;

// The values of TParameters.exportKind (there is no kind 5).
constexpr int32_t ExportKind_Bricks = 0;
constexpr int32_t ExportKind_CubeFaces = 1;
constexpr int32_t ExportKind_PolyhedronFaces = 2;
constexpr int32_t ExportKind_ResultImage = 3;
constexpr int32_t ExportKind_ObjTexture = 4;
constexpr int32_t ExportKind_SizedResult = 6;
constexpr int32_t ExportKind_EquiPolyMap = 7;

struct PSDdoc {
  int32_t channels;  // always 4: red, green, blue, transparency
  int32_t layerCount;
  int32_t width;
  int32_t height;
  int32_t firstLayer;  // always 1
  int32_t exportKind;
  int32_t outputMode;  // -1
  int32_t bytesPerChannel;  // 1, 2 or 4
  uint8_t oneFilePerLayer;
  uint8_t layersPreRendered;
  int32_t currentLayer;  // 1-based file being written with one file per layer, else -1
  LegoStructure brickSphere;
};

// Fills the document from the settings and the host image's mode and depth.
// A kind without metrics (bricks while the brick sphere is not built, or an
// unknown kind) gets no layers and a zero size.
void GrabPSDMetrics(Globals* globals, PSDdoc* doc);
// Bytes per channel for a host image mode and depth.
int32_t BytesPerChannelForHost(int16_t imageMode, int16_t depth);
// The canvas pyramid kind for a document depth: 3, 4 or 9.
int32_t CanvasKindForDepth(int32_t bytesPerChannel);
// The layer's name in a static buffer that the next call overwrites.
const char* CNameOfLayer(int32_t layer, const PSDdoc* doc);
void InitMondoProgressParams(Globals* globals, int32_t layers);
