#include "export/preset_preview.h"

#include <algorithm>
#include <cstring>

#include "frame/globals.h"  // the previews live in the invocation's preview pyramid and output rectangle
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"

namespace {

bool HasTiles(const PyramidDescriptor* p) { return p && p->tileTable && PyramidHasLevel(p, 0); }

}  // namespace

void Build_blank_preview(Globals* globals) {
  PyramidDescriptor* p = globals ? &globals->previewPyramid : nullptr;
  if (!HasTiles(p)) return;
  for (int32_t y = 0; y < p->levelHeight[0] && y < kPresetPreviewSide; ++y) {
    const int32_t v = 255 - y;
    for (int32_t x = 0; x < p->levelWidth[0]; ++x) set_pyramid_sample_point4(x, y, p, 0, v, v, v, 255);
  }
  // The preview is scaled into thumbnails of other sizes from its levels.
  paint_mipmap_of_pyramid(p);
}

void CopyPreviewIntoPyramid(Globals* globals, PyramidDescriptor* target) {
  if (!globals || !HasTiles(&globals->previewPyramid) || !HasTiles(target)) return;
  CopyOrScalePyrToPyr(&globals->previewPyramid, target);
}

void CopyPyramidIntoPreview(Globals* globals, const PyramidDescriptor* source) {
  if (!globals || !HasTiles(&globals->previewPyramid) || !HasTiles(source)) return;
  CopyOrScalePyrToPyr(source, &globals->previewPyramid);
}

namespace {

enum class HostSamples { Bytes, Words, Floats };

HostSamples SamplesOf(const FilterRecord* fr) {
  if (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32)
    return HostSamples::Floats;
  if ((fr->imageMode == kImageModeGray16 || fr->imageMode == kImageModeRGB48) && fr->depth == 16)
    return HostSamples::Words;
  return HostSamples::Bytes;
}

int32_t Reduce16(uint16_t v) { return std::min((int32_t(v) + 1) >> 7, 255); }

}  // namespace

void CopyPartOfOutrectIntoPyr(Globals* globals, const Rect* area, PyramidDescriptor* target) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr || !fr->outData || !area || !HasTiles(target)) return;
  const HostSamples kind = SamplesOf(fr);
  const int32_t sampleBytes = kind == HostSamples::Bytes ? 1 : kind == HostSamples::Words ? 2 : 4;
  const int32_t planes = std::max<int32_t>(1, fr->planes);
  // With one or two planes (grey, grey and transparency) the first is grey.
  const int32_t g = planes <= 2 ? 0 : 1, b = planes <= 2 ? 0 : 2;
  const int32_t rows = std::min<int32_t>(area->bottom - area->top, target->levelHeight[0]);
  const int32_t cols = std::min<int32_t>(area->right - area->left, target->levelWidth[0]);
  const uint8_t* base = static_cast<const uint8_t*>(fr->outData);
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* row = base + ptrdiff_t(area->top + y) * fr->outRowBytes;
    for (int32_t x = 0; x < cols; ++x) {
      const uint8_t* px = row + ptrdiff_t(area->left + x) * planes * sampleBytes;
      int32_t c[3];
      const int32_t at[3] = {0, g, b};
      for (int k = 0; k < 3; ++k) {
        const uint8_t* s = px + at[k] * sampleBytes;
        if (kind == HostSamples::Bytes) {
          c[k] = s[0];
        } else if (kind == HostSamples::Words) {
          uint16_t v;
          std::memcpy(&v, s, 2);
          c[k] = Reduce16(v);
        } else {
          float f;
          std::memcpy(&f, s, 4);
          c[k] = make8from32f_for_little_previews(f);
        }
      }
      set_pyramid_sample_point4(x, y, target, 0, c[0], c[1], c[2], 255);
    }
  }
}

void Build_preview(Globals* globals) {
  if (!globals || !HasTiles(&globals->previewPyramid) || !globals->filterRecord ||
      !globals->filterRecord->advanceState)
    return;
  const FilterRecord* fr = globals->filterRecord;
  if (globals->storage) initGaussianPyrTable(globals->storage->filterTable);
  Build_blank_preview(globals);
  const int32_t w = fr->outRect.right - fr->outRect.left, h = fr->outRect.bottom - fr->outRect.top;
  const int32_t side = std::min(w, h);
  if (side < 1 || !fr->outData) return;
  const int16_t left = int16_t((w - side) / 2), top = int16_t((h - side) / 2);
  const Rect square{top, left, int16_t(top + side), int16_t(left + side)};
  PyramidDescriptor copy{};
  InitPyramidProcs_from_another_pyr(&copy, &globals->previewPyramid);
  if (!TryToAllocatePyramid_2006(&copy, side, side, PyramidDataKind_Packed8, 0)) return;
  CopyPartOfOutrectIntoPyr(globals, &square, &copy);
  paint_mipmap_of_pyramid(&copy);
  CopyOrScalePyrToPyr(&copy, &globals->previewPyramid);
  DisposePyramidData(&copy);
}
