#include "export/jpeg/jpeg_result.h"

#include "export/metadata/exif.h"
#include "export/finder_icon.h"
#include "export/metadata/host_icc.h"
#include "export/metadata/iptc.h"
#include "export/metadata/keywords.h"
#include "export/psd/psd_doc.h"
#include "export/psd/psd_writer.h"
#include "export/safe_output.h"
#include "frame/export_layer.h"  // the layer is rendered by the frame's export-layer pass, which drives the whole invocation
#include "frame/base/file_layer.h"
#include "frame/globals.h"  // the export writers take the whole invocation: they read its settings, sizes and host procs
#include "frame/render_passes.h"  // the host rectangles and preview state are saved and put back by the frame's pass driver
#include "frame/base/result_codes.h"
#include "export/export_services.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pushpull.h"

namespace {

constexpr int16_t kResultQuality = 80;

int16_t RenderAndWrite(Globals* globals, PyramidDescriptor* canvas, const PSDdoc* doc, uint8_t* cancelled,
                       SafeOutput* out) {
  TParameters* p = Params(globals);
  int32_t e = SafeOutputOpen(out, &out->target, FileKind_JPEG);
  if (e != 0) return int16_t(e);
  const bool texture = doc->exportKind == ExportKind_ObjTexture;
  const int32_t transparentBackground = p->transparentBackground;
  if (texture) p->transparentBackground = 1;
  // Whatever the kind, a JPEG file holds the plain result.
  GenerateOneLayerOfBasicResult(globals, canvas, 1, cancelled);
  int32_t rendered = *cancelled ? int32_t(kUserCancelled) : int32_t(globals->result);
  if (!*cancelled) globals->result = kOK;
  if (texture) {
    // A texture has no holes: what the net leaves transparent is filled
    // from its surroundings.
    paint_pushpull_of_pyramid_above(canvas);
    p->transparentBackground = transparentBackground;
  }
  ++globals->progressLayersDone;
  if (rendered != 0) {
    SafeOutputAbandon(out);
    return int16_t(rendered);
  }
  e = TagAndWritePyr(globals, canvas, out->fork, doc->exportKind, 0);
  const int32_t c = SafeOutputClose(out);
  if (e == 0) e = c;
  if (e == 0) {
    MaybeAddOSXIcon(canvas, &out->temp, &out->target);
    e = SafeOutputCommit(out);
  }
  if (e != 0) SafeOutputAbandon(out);
  return int16_t(e);
}

}  // namespace

int32_t TagAndWritePyr(Globals* globals, const PyramidDescriptor* canvas, int16_t fork, int32_t exportKind,
                       uint8_t closeFork) {
  TIPTCThing iptc;
  InitIPTC(&iptc);
  AddTaskSpecificKeywords(&iptc, nullptr, exportKind);
  TEXIFThing exif;
  InitEXIF(&exif);
  build_EXIF_resource(&exif, 1, 0);
  const HostIccProfile icc = GrabHostIccProfile(globals ? globals->filterRecord : nullptr);
  int32_t e = WritePyrToJFIF(canvas, fork, 0, kResultQuality, icc.length, icc.data, &iptc, &exif);
  dispose_IPTC_resource_memory(&iptc, 0);
  dispose_EXIF_resource_memory(&exif, 0);
  if (closeFork) {
    const int32_t t = TruncateFile(fork);
    const int32_t c = ZorCloseFile(fork);
    if (e == 0) e = t != 0 ? t : c;
  }
  return e;
}

int16_t ReallyWriteJPEGFile(Globals* globals, const FSRef* file, uint8_t* cancelled) {
  TParameters* p = Params(globals);
  if (!p || !globals->storage || !file || !cancelled) return kBadParameter;
  InvocationStorage* s = globals->storage;
  StateStructure state;
  PushRectAndPreviewState(&state, globals);
  const int32_t runMode = p->runMode;
  PyramidDescriptor* savedCanvas = s->exportCanvas;
  PyramidDescriptor* canvas = &s->exportCanvasPyramid;
  p->runMode = RunMode_ExportLayer;
  s->exportCanvas = canvas;
  PSDdoc doc;
  GrabPSDMetrics(globals, &doc);
  InitMondoProgressParams(globals, doc.layerCount);
  InitPyramidProcs(canvas, globals, s->filterTable);
  int16_t e = kCanvasRefused;
  if (doc.layerCount >= 1 && doc.width >= 1 && doc.height >= 1 &&
      TryToAllocatePyramid_new(canvas, doc.width, doc.height, PyramidDataKind_Packed8, 0)) {
    SafeOutput out{};
    out.target = *file;
    e = RenderAndWrite(globals, canvas, &doc, cancelled, &out);
    DisposePyramidData(canvas);
  }
  s->exportCanvas = savedCanvas;
  p->runMode = runMode;
  PopRectAndPreviewState(&state, globals);
  return e;
}
