#include "export/preset_preview.h"

#include "frame/globals.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
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
