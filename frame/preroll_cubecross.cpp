#include "frame/preroll_cubecross.h"

#include "frame/globals.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_levels.h"

namespace {

// Where face pyramid 3 + i finds its cell, in cells from the cross's top-left.
struct FaceCell {
  int32_t column, row;
};

constexpr int32_t kFaces = kPyramidSlots - kPyramidFirstCubeFace;
static_assert(kFaces == 6, "a cube has six faces");

constexpr FaceCell kHorizontalCells[kFaces] = {{3, 1}, {2, 1}, {1, 2}, {1, 1}, {0, 1}, {1, 0}};
// The same faces, but the one behind hangs below the bottom face.
constexpr FaceCell kVerticalCells[kFaces] = {{1, 3}, {2, 1}, {1, 2}, {1, 1}, {0, 1}, {1, 0}};
// Pyramids in the order they are filled.
constexpr int kFillOrder[kFaces] = {8, 5, 7, 4, 6, 3};

// A face that could not be had is retried at the next pass, whichever it is.
bool AllFacesHold(const Globals* globals, int32_t mark) {
  for (int i = kPyramidFirstCubeFace; i < kPyramidSlots; ++i) {
    if (globals->pyramids[i].cacheId != mark) return false;
  }
  return true;
}

void CutCubeCross(Globals* globals, int32_t columns, int32_t rows, const FaceCell (&cells)[kFaces], int32_t mark) {
  PyramidDescriptor* main = &globals->pyramids[kPyramidMain];
  if (AllFacesHold(globals, mark)) return;
  // Nothing to cut before the image is read.
  if (!PyramidHasLevel(main, 0)) return;
  // Leftover pixels right of and below the last whole cell are never read.
  const int32_t w = main->levelWidth[0] / columns;
  const int32_t h = main->levelHeight[0] / rows;
  for (int i = kPyramidFirstCubeFace; i < kPyramidSlots; ++i) {
    PyramidDescriptor* face = &globals->pyramids[i];
    // A face that cannot be had stays unmarked, so the next pass tries again.
    if (!TryToAllocatePyramid_2006(face, w, h, main->dataKind, 0)) {
      DisposePyramidData(face);
      continue;
    }
    face->cacheId = mark;
    face->overhangMode = 3;
  }
  for (int i : kFillOrder) {
    PyramidDescriptor* face = &globals->pyramids[i];
    if (!PyramidHasLevel(face, 0)) continue;
    const FaceCell& c = cells[i - kPyramidFirstCubeFace];
    const Rect source{int16_t(c.row * h), int16_t(c.column * w), int16_t(c.row * h + face->levelHeight[0]),
                      int16_t(c.column * w + face->levelWidth[0])};
    CopyPartOfAtoB(main, &source, face, 0, 0, 0);
    paint_mipmap_of_pyramid(face);
  }
}

}  // namespace

void Fill_4x3_cubecross(Globals* globals) {
  CutCubeCross(globals, 4, 3, kHorizontalCells, kCubeCrossHorizontalMark);
}

void Fill_vertical_cubecross(Globals* globals) {
  CutCubeCross(globals, 3, 4, kVerticalCells, kCubeCrossVerticalMark);
}
