#include "frame/view_coords.h"

#include "frame/globals.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/vort.h"

namespace {

void UnitAndCentred(float a, float b, const PyramidDescriptor* size, float* u, float* v, float* cx, float* cy,
                    const vort* view) {
  const float w = float(size->levelWidth[0]);
  const float h = float(size->levelHeight[0]);
  *u = (2.0f * a + 1.0f) / (2.0f * w);
  *v = (2.0f * b + 1.0f) / (2.0f * h);
  const float offX = view ? view->unitOffsetX : 0.0f;
  const float offY = view ? view->unitOffsetY : 0.0f;
  *cx = (*u - offX - 0.5f) * size->aspectX;
  *cy = (*v - offY - 0.5f) * size->aspectY;
}

}  // namespace

void GetInputOutputProportions(const Globals* globals, vort* view) {
  const Rect& r = globals->savedFilterRect;
  const float imageWidth = float(int32_t(r.right) - r.left);
  const float imageHeight = float(int32_t(r.bottom) - r.top);
  view->outputWidth = imageWidth;
  view->outputHeight = imageHeight;
  const TParameters* p = Params(globals);
  // The final pass may fill a canvas of its own size (the input keeps its).
  if (const FilterRecord* fr = globals->filterRecord; p && p->runMode == RunMode_Final && fr) {
    view->outputWidth = float(int32_t(fr->filterRect.right) - fr->filterRect.left);
    view->outputHeight = float(int32_t(fr->filterRect.bottom) - fr->filterRect.top);
  }
  if (p && p->runMode == RunMode_ExportLayer && globals->storage && globals->storage->exportCanvas) {
    view->outputWidth = float(globals->storage->exportCanvas->levelWidth[0]);
    view->outputHeight = float(globals->storage->exportCanvas->levelHeight[0]);
  }
  view->outputAspect = view->outputHeight / view->outputWidth;
  view->invOutputWidth = 1.0f / view->outputWidth;
  view->invOutputHeight = 1.0f / view->outputHeight;
  view->imageWidth = imageWidth;
  view->imageHeight = imageHeight;
  view->imageAspect = imageHeight / imageWidth;
}

void Output_Pixels_to_Something(float x, float y, float zoom, float offH, float offV, float* outX, float* outY,
                                 const vort* view) {
  *outX = (offH / zoom + x) * view->invOutputWidth * zoom;
  *outY = zoom * ((offV / zoom + y) * view->invOutputHeight) * view->outputAspect;
}

void PixelsToCorners(float x, float y, float zoom, float offH, float offV, const PyramidDescriptor* size, float* u,
                     float* v, float* cx, float* cy, const vort* view) {
  UnitAndCentred(zoom * x + offH + 0.5f, zoom * y + offV + 0.5f, size, u, v, cx, cy, view);
}

void PixelsToCenters(float x, float y, float zoom, float offH, float offV, const PyramidDescriptor* size, float* u,
                     float* v, float* cx, float* cy, const vort* view) {
  UnitAndCentred((x + 0.5f) * zoom + offH + 0.5f, (y + 0.5f) * zoom + offV + 0.5f, size, u, v, cx, cy, view);
}
