#include "pyramid/pyramid_intake.h"

#include <algorithm>
#include <cstring>

#include "frame/globals.h"  // the intake fills the invocation's pyramids from the host's planes, rects and image mode
#include "frame/base/host_rects.h"
#include "frame/pass_rects.h"  // the preview intake asks the host for the frame's reduced preview rectangle
#include "frame/base/host_suites.h"
#include "frame/base/output_dimensions.h"
#include "frame/base/progress_services.h"
#include "frame/base/result_codes.h"
#include "frame/base/task_pool.h"
#include "platform/memory.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_input_modes.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"

namespace {

// The kind a host image can be copied into; -1 for an image nothing takes.
int32_t KindThatTakesHostImage(const FilterRecord* fr) {
  if (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32)
    return PyramidDataKind_FourFloat;
  if ((fr->imageMode == kImageModeGray16 || fr->imageMode == kImageModeRGB48) && fr->depth == 16)
    return PyramidDataKind_Four16;
  if ((fr->imageMode == kImageModeGray || fr->imageMode == kImageModeRGB) && fr->depth < 9)
    return PyramidDataKind_Packed8;
  return -1;
}

bool IsColourMode(int16_t mode) {
  return mode == kImageModeRGB || mode == kImageModeRGB48 || mode == kImageModeRGB96;
}

// Where the four channels of a host pixel come from, in samples from the
// pixel's start; alpha -1 means full.
struct PlaneMap {
  int32_t stride;
  int32_t red, green, blue, alpha;
};

bool MapPlanes(const Globals* globals, PlaneMap* map) {
  const FilterRecord* fr = globals->filterRecord;
  map->stride = int32_t(fr->inHiPlane) - fr->inLoPlane + 1;
  if (map->stride < 1) return false;
  if (IsColourMode(fr->imageMode)) {
    if (map->stride < 3) return false;
    *map = PlaneMap{map->stride, 0, 1, 2, -1};
  } else {
    *map = PlaneMap{map->stride, 0, 0, 0, -1};
  }
  // The transparency plane sits behind the colour planes; a request that did
  // not deliver it leaves the image opaque rather than reading past a pixel.
  if (ShouldCopyTransparencyForPyramid(globals) && fr->inLayerPlanes >= 0 && fr->inLayerPlanes < map->stride)
    map->alpha = fr->inLayerPlanes;
  return true;
}

template <class T>
T Sample(const uint8_t* row, int32_t index) {
  T v;
  std::memcpy(&v, row + size_t(index) * sizeof(T), sizeof v);
  return v;
}

// A host pixel layout whose plane offsets are known when compiled: the copy
// loops then read nothing per pixel but the samples. It has PlaneMap's
// field names, so the loops take either.
template <int32_t kStride, int32_t kRed, int32_t kGreen, int32_t kBlue, int32_t kAlpha>
struct FixedPlanes {
  static constexpr int32_t stride = kStride, red = kRed, green = kGreen, blue = kBlue, alpha = kAlpha;
  static bool Matches(const PlaneMap& m) {
    return m.stride == stride && m.red == red && m.green == green && m.blue == blue && m.alpha == alpha;
  }
};

// Rows first..end-1 of the tile from the host's buffer. The layout comes by
// value: a copy the stores cannot alias.
template <class Layout>
void CopyRows8(const FilterRecord* fr, const Layout m, const PyramidTile& t, int32_t first, int32_t end) {
  for (int32_t r = first; r < end; ++r) {
    const auto* src = static_cast<const uint8_t*>(fr->inData) + ptrdiff_t(r) * fr->inRowBytes;
    auto* dst = static_cast<uint8_t*>(t.pixels) + size_t(r) * t.width * 4;
    for (int32_t c = 0; c < t.width; ++c, src += m.stride, dst += 4) {
      const uint32_t a = m.alpha < 0 ? 255u : src[m.alpha];
      const uint32_t word = (uint32_t(src[m.red]) << 24) | (uint32_t(src[m.green]) << 16) |
                            (uint32_t(src[m.blue]) << 8) | a;
      std::memcpy(dst, &word, sizeof word);
    }
  }
}

template <class T, class Layout>
void CopyRowsWide(const FilterRecord* fr, const Layout m, const PyramidTile& t, T full, int32_t first,
                  int32_t end) {
  for (int32_t r = first; r < end; ++r) {
    const auto* src = static_cast<const uint8_t*>(fr->inData) + ptrdiff_t(r) * fr->inRowBytes;
    auto* dst = static_cast<uint8_t*>(t.pixels) + size_t(r) * t.width * 4 * sizeof(T);
    for (int32_t c = 0; c < t.width; ++c) {
      const int32_t base = c * m.stride;
      const T px[4] = {Sample<T>(src, base + m.red), Sample<T>(src, base + m.green), Sample<T>(src, base + m.blue),
                       m.alpha < 0 ? full : Sample<T>(src, base + m.alpha)};
      std::memcpy(dst + size_t(c) * sizeof px, px, sizeof px);
    }
  }
}

// One tile's copy, as the tasks share it.
struct TileCopyJob {
  const FilterRecord* fr;
  PlaneMap map;
  const PyramidTile* tile;
  int32_t dataKind;
};

// The copy of every kind in the host's usual layouts (RGB, RGBA, grey, grey
// and alpha) or any other.
template <class Layout>
void CopyTileRowsAs(const TileCopyJob& job, const Layout m, int32_t first, int32_t end) {
  switch (job.dataKind) {
    case PyramidDataKind_Packed8: return CopyRows8(job.fr, m, *job.tile, first, end);
    case PyramidDataKind_Four16: return CopyRowsWide<uint16_t>(job.fr, m, *job.tile, uint16_t(32768), first, end);
    case PyramidDataKind_FourFloat: return CopyRowsWide<float>(job.fr, m, *job.tile, 1.0f, first, end);
    default: return;
  }
}

template <class Layout, class... Others>
void CopyTileRowsFixed(const TileCopyJob& job, int32_t first, int32_t end) {
  if (Layout::Matches(job.map)) return CopyTileRowsAs(job, Layout{}, first, end);
  if constexpr (sizeof...(Others) > 0)
    CopyTileRowsFixed<Others...>(job, first, end);
  else
    CopyTileRowsAs(job, job.map, first, end);
}

void CopyTileRows(const TileCopyJob& job, int32_t first, int32_t end) {
  CopyTileRowsFixed<FixedPlanes<3, 0, 1, 2, -1>, FixedPlanes<4, 0, 1, 2, 3>, FixedPlanes<1, 0, 0, 0, -1>,
                    FixedPlanes<2, 0, 0, 0, 1>>(job, first, end);
}

// Rows of a tile copied as one item of the shared copy.
constexpr int32_t kTileCopyRows = 32;

void CopyTileBand(void* context, int32_t band) {
  const auto* job = static_cast<const TileCopyJob*>(context);
  CopyTileRows(*job, band * kTileCopyRows, std::min(job->tile->height, (band + 1) * kTileCopyRows));
}

// The checks of a copy: false when nothing may be copied.
bool PrepareTileCopy(PyramidDescriptor* pyramid, const Globals* globals, int32_t tileIndex, TileCopyJob* job) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr || !pyramid || pyramid->dataKind != KindThatTakesHostImage(fr)) return false;
  if (!pyramid->tileTable || tileIndex < 0 || tileIndex >= pyramid->tileCount) return false;
  const PyramidTile& t = pyramid->tileTable[tileIndex];
  if (!t.pixels || !fr->inData) return false;
  PlaneMap map{};
  if (!MapPlanes(globals, &map)) return false;
  // The host's buffer must hold the whole tile: never read past what it gave.
  const int32_t sampleBytes = fr->depth == 32 ? 4 : (fr->depth == 16 ? 2 : 1);
  const int32_t gotWidth = int32_t(fr->inRect.right) - fr->inRect.left;
  const int32_t gotHeight = int32_t(fr->inRect.bottom) - fr->inRect.top;
  if (gotWidth < t.width || gotHeight < t.height) return false;
  if (int64_t(fr->inRowBytes) < int64_t(t.width) * map.stride * sampleBytes) return false;
  *job = TileCopyJob{fr, map, &t, pyramid->dataKind};
  return true;
}

// The copy of one tile shared out by rows among the worker tasks: the host
// hands the image over one tile at a time, and a single thread copying it
// would leave every other core idle for the whole intake.
void CopyInRectToTileShared(PyramidDescriptor* pyramid, Globals* globals, int32_t tileIndex) {
  TileCopyJob job{};
  if (!PrepareTileCopy(pyramid, globals, tileIndex, &job)) return;
  if (!globals->taskRecords || globals->taskRecordCount < 1) return CopyTileRows(job, 0, job.tile->height);
  RunItemsOnTasks(globals, (job.tile->height + kTileCopyRows - 1) / kTileCopyRows, CopyTileBand, &job);
}

// Every tile of every level gets its pages before the intake and the level
// build write them: a task takes whole tiles, so no two threads fault in the
// same region of memory at once (the copy and the build share each tile out
// by rows, and their threads would queue on the kernel's locks).
void CommitTilePages(void* context, int32_t tileIndex) {
  const auto* p = static_cast<const PyramidDescriptor*>(context);
  const PyramidTile& t = p->tileTable[tileIndex];
  CommitPagesForWriting(t.pixels, int64_t(t.width) * t.height * p->bytesPerPixel);
}

}  // namespace

int32_t GetPyramidDatakindThatSuitsHostMode(const Globals* globals) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr) return PyramidDataKind_Packed8;
  if (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32)
    return PyramidDataKind_FourFloat;
  if ((fr->imageMode == kImageModeGray16 || fr->imageMode == kImageModeRGB48) && fr->depth == 16)
    return PyramidDataKind_Four16;
  return PyramidDataKind_Packed8;
}

void CopyInRectToTile(PyramidDescriptor* pyramid, const Globals* globals, int32_t tileIndex) {
  TileCopyJob job{};
  if (PrepareTileCopy(pyramid, globals, tileIndex, &job)) CopyTileRows(job, 0, job.tile->height);
}

void FillPyramids(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  TParameters* params = Params(globals);
  PyramidDescriptor* p = &globals->pyramids[kPyramidMain];
  if (!fr || !params || !p->tileTable) {
    globals->result = kInputPyramidMissing;
    globals->moreToDo = 0;
    return;
  }
  const Rect savedIn = fr->inRect, savedOut = fr->outRect, savedMask = fr->maskRect;
  const int32_t savedScale = params->previewScale;
  const Rect filter = fr->filterRect;
  CalcTemporaryDimensions(globals, &filter, 1);

  RunItemsOnTasks(globals, p->tileCount, CommitTilePages, p);
  for (int32_t tile = p->levelFirstTile[0]; tile <= p->levelLastTile[0]; ++tile) {
    Rect chunk;
    GetRectOfTile(p, tile, &chunk);
    SetInputChunkRects(fr, &chunk);
    globals->result = int16_t(HostAdvanceState(fr->advanceState));
    if (globals->result != 0) {
      globals->moreToDo = 0;
      return;
    }
    CopyInRectToTileShared(p, globals, tile);
  }

  p->wrapMode = WrapModeFromGyrelleInputMode(params->inputMode);
  p->overhangMode = OverhangModeFromGyrelleInputMode(params->inputMode);
  paint_mipmap_of_pyramid(p);
  CCUpdateProgress_core(globals, 1, 100);
  params->pyramidsFilled = 1;

  fr->inRect = savedIn;
  fr->outRect = savedOut;
  fr->maskRect = savedMask;
  params->previewScale = savedScale;
  // Only the dialog's preview goes on in proxy mode; a final or export pass
  // sets up its own rectangles next, so asking the host for the proxy would
  // be a wasted (and, without a preview area, empty) request.
  if (params->runMode == RunMode_Preview) SetUpFilterRecordForProxy(globals, savedScale);
}

PyramidDescriptor* GetPyr_with_output_dimensions(Globals* globals) {
  if (TParameters* params = Params(globals);
      params && params->runMode == RunMode_ExportLayer && globals->storage && globals->storage->exportCanvas)
    return globals->storage->exportCanvas;
  return &globals->pyramids[kPyramidMain];
}
