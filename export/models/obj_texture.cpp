#include "export/models/obj_texture.h"

#include <new>

#include "export/jpeg/jpeg_coder.h"
#include "frame/export_layer.h"  // the layer is rendered by the frame's export-layer pass, which drives the whole invocation
#include "frame/globals.h"  // the textures render the result through the whole invocation
#include "frame/base/result_codes.h"
#include "platform/files.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr int16_t kJpegQuality = 90;
constexpr int32_t kMinSide = 2, kMaxSide = 30000;
constexpr uint32_t kJpegHeadroom = 65536;

}  // namespace

int32_t RenderCanvasJPEG(Globals* globals, int32_t width, int32_t height, std::vector<uint8_t>* jpeg,
                         uint8_t* cancel) {
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!s || !jpeg || !cancel) return kBadParameter;
  PyramidDescriptor* canvas = &s->exportCanvasPyramid;
  const PyramidDescriptor& main = globals->pyramids[kPyramidMain];
  if (!TryToAllocatePyramid_2006(canvas, width, height, main.dataKind, main.wrapMode)) return kOutOfMemory;
  const int16_t resultBefore = globals->result;
  // The pass marks its view built once it could build it; a mode that cannot
  // be rendered leaves the canvas as the plain picture, which is no image of
  // the export (the invocation itself goes on).
  s->viewBuilt = 0;
  GenerateOneLayerOfBasicResult(globals, canvas, 1, cancel);
  int32_t e = globals->result != kOK ? int32_t(globals->result) : 0;
  if (e == 0 && !*cancel && !s->viewBuilt) e = kRefused;
  globals->result = resultBefore;
  if (e == 0 && !*cancel) {
    // A raw 8-bit picture is the most a baseline JPEG of it can take, and
    // more: its headroom covers the markers of a tiny one.
    const uint64_t bound = uint64_t(width) * uint64_t(height) * 3u + kJpegHeadroom;
    try {
      jpeg->resize(bound);
    } catch (const std::bad_alloc&) {
      e = kOutOfMemory;
    }
    if (e == 0) {
      const Rect area{0, 0, int16_t(height), int16_t(width)};
      uint32_t length = 0;
      if (CompressJPEG(canvas, &area, jpeg->data(), uint32_t(jpeg->size()), kJpegQuality, 1, &length, 0, nullptr,
                       nullptr, nullptr) != kJpegOK)
        e = 1;
      jpeg->resize(e == 0 ? length : 0);
    }
  }
  DisposePyramidData(canvas);
  return e;
}

int32_t RenderNetTextureJPEG(Globals* globals, std::vector<uint8_t>* jpeg, uint8_t* cancel) {
  const TParameters* p = Params(globals);
  if (!p) return kBadParameter;
  int32_t side = p->facesExportSize;
  side = side < kMinSide ? kMinSide : (side > kMaxSide ? kMaxSide : side);
  return RenderCanvasJPEG(globals, side, side, jpeg, cancel);
}
