#include "export/psd/psd_writer.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "export/export_services.h"
#include "export/metadata/exif.h"
#include "export/face_files.h"
#include "export/export_progress.h"
#include "export/finder_icon.h"
#include "export/metadata/host_icc.h"
#include "export/metadata/iptc.h"
#include "export/jpeg/jpeg_result.h"
#include "export/metadata/keywords.h"
#include "export/psd/psd_doc.h"
#include "export/psd/psd_layers.h"
#include "export/psd/psd_sections.h"
#include "export/safe_output.h"
#include "frame/base/file_layer.h"
#include "frame/globals.h"  // the export writers take the whole invocation: they read its settings, sizes and host procs
#include "frame/render_passes.h"  // the host rectangles and preview state are saved and put back by the frame's pass driver
#include "frame/base/result_codes.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

bool UsableSize(const PSDdoc* doc) {
  return doc->layerCount >= 1 && doc->width >= 1 && doc->height >= 1 && doc->width <= kPyramidMaxSide &&
         doc->height <= kPyramidMaxSide;
}

char gRefusalText[400];

// Every length field of the format is 32 bits: a document whose layers
// hold more is refused before anything is allocated or written, with
// what it would need, rather than written with lengths cut short.
int16_t RefuseOversizedDocument(const PSDdoc* doc) {
  const bool floatCanvas = CanvasKindForDepth(doc->bytesPerChannel) == PyramidDataKind_FourFloat;
  const int64_t length = PsdLayerSectionLength(doc, floatCanvas);
  if (length <= kPsdMaxSectionLength) return 0;
  std::snprintf(gRefusalText, sizeof gRefusalText,
                "its %d layer%s of %d x %d pixels at %d bits need %lld bytes in one section of the layered document, "
                "which holds at most %lld bytes (4 GiB); choose a smaller size",
                int(doc->layerCount), doc->layerCount == 1 ? "" : "s", int(doc->width), int(doc->height),
                int(8 * doc->bytesPerChannel), static_cast<long long>(length),
                static_cast<long long>(kPsdMaxSectionLength));
  return kDocumentTooLarge;
}

struct Metadata {
  TIPTCThing iptc;
  TEXIFThing exif;
};

void BuildMetadata(Globals* globals, const PSDdoc* doc, Metadata* m) {
  InitIPTC(&m->iptc);
  AddTaskSpecificKeywords(&m->iptc, doc, doc->exportKind);
  AddSettingsSpecificKeywords(&m->iptc, globals);
  InitEXIF(&m->exif);
  // Built once for both passes, so the counting pass sees the very bytes
  // the writing pass writes.
  build_IPTC_resource(&m->iptc, 0, 0);
  build_EXIF_resource(&m->exif, 0, 0);
}

void FreeMetadata(Metadata* m) {
  dispose_IPTC_resource_memory(&m->iptc, 0);
  dispose_EXIF_resource_memory(&m->exif, 0);
}

int32_t WriteSections(Globals* globals, PyramidDescriptor* canvas, PSDdoc* doc, int16_t fork, uint8_t* cancelled,
                      const PsdMetadata* metadata) {
  if (const int64_t e = WrPSD_file_header_section(canvas, doc, fork, 0)) return int32_t(e);
  if (const int64_t e = WrPSD_color_mode_data_section(canvas, doc, fork, 0)) return int32_t(e);
  if (const int64_t e = WrPSD_image_resources_section(canvas, doc, fork, 0, metadata)) return int32_t(e);
  if (const int64_t e = WrPSD_layer_and_mask_section(canvas, doc, fork, 0, globals, cancelled)) return int32_t(e);
  if (*cancelled) return kUserCancelled;
  return int32_t(WrPSD_image_data_section(canvas, doc, fork, 0));
}

// Writes one document into a temporary file beside `file`, left in `out`
// closed but not yet in place; on any failure or cancel nothing is left.
int16_t ReallyWritePSDFile_core(Globals* globals, const FSRef* file, uint8_t* cancelled, PSDdoc* doc,
                                SafeOutput* out) {
  InvocationStorage* s = globals->storage;
  PyramidDescriptor* canvas = &s->exportCanvasPyramid;
  InitPyramidProcs(canvas, globals, s->filterTable);
  if (!UsableSize(doc)) return kCanvasRefused;
  if (const int16_t e = RefuseOversizedDocument(doc)) return e;
  Metadata m;
  BuildMetadata(globals, doc, &m);
  const HostIccProfile icc = GrabHostIccProfile(globals ? globals->filterRecord : nullptr);
  const PsdMetadata metadata{icc.data, icc.length, &m.iptc, &m.exif};
  if (!TryToAllocatePyramid_new(canvas, doc->width, doc->height, CanvasKindForDepth(doc->bytesPerChannel), 0)) {
    FreeMetadata(&m);
    return kCanvasRefused;
  }
  Params(globals)->runMode = RunMode_ExportLayer;
  s->exportCanvas = canvas;
  int32_t e = SafeOutputOpen(out, file, FileKind_PSD);
  if (e == 0) {
    e = WriteSections(globals, canvas, doc, out->fork, cancelled, &metadata);
    const int32_t c = SafeOutputClose(out);
    if (e == 0) e = c;
    if (e == 0 && !*cancelled && ExportStopRequested(globals)) *cancelled = 1;
    if (e == 0 && *cancelled) e = kUserCancelled;
    if (e == 0) {
      MaybeAddOSXIcon(canvas, &out->temp, &out->target);
      MacApplyTypeCreator_ref(&out->temp, MakeFourCC("8BPS"), MakeFourCC("8BIM"));
    } else {
      SafeOutputAbandon(out);
    }
  }
  DisposePyramidData(canvas);
  FreeMetadata(&m);
  return int16_t(e);
}

// One face rendered into the canvas and coded whole in the format its name
// says, left staged in `out` beside `file`; on any failure or cancel
// nothing is left.
int16_t WriteFaceImageFile(Globals* globals, const FSRef* file, uint8_t* cancelled, PSDdoc* doc,
                           FaceFileFormat format, SafeOutput* out) {
  InvocationStorage* s = globals->storage;
  PyramidDescriptor* canvas = &s->exportCanvasPyramid;
  InitPyramidProcs(canvas, globals, s->filterTable);
  if (!UsableSize(doc)) return kCanvasRefused;
  if (!TryToAllocatePyramid_new(canvas, doc->width, doc->height, CanvasKindForDepth(doc->bytesPerChannel), 0))
    return kCanvasRefused;
  Params(globals)->runMode = RunMode_ExportLayer;
  s->exportCanvas = canvas;
  int32_t e = RenderExportLayer(globals, canvas, doc->firstLayer + doc->currentLayer - 1, cancelled, doc);
  if (e == 0 && ExportStopRequested(globals)) *cancelled = 1;
  if (e == 0 && *cancelled) e = kUserCancelled;
  if (e == 0) {
    ++globals->progressLayersDone;
    std::vector<uint8_t> bytes;
    e = EncodeFaceImage(canvas, format, &bytes) ? 0 : kIOError;
    if (e == 0) e = StageExportFile(out, file, bytes.data(), bytes.size(), FileKind_Copy);
  }
  DisposePyramidData(canvas);
  return int16_t(e);
}

int16_t WriteLayerFiles(Globals* globals, const FSRef* file, uint8_t* cancelled, PSDdoc* doc) {
  SafeOutput outs[kSafeOutputMaxFiles] = {};
  if (doc->layerCount > kSafeOutputMaxFiles) return kBadParameter;
  // A face file's content follows its name; a name of no known format is
  // refused before any face is rendered.
  if (FaceFileFormatOf(file) == FaceFile_Unknown) {
    char name[kFSRefPathBytes] = "";
    FSGetName(file, name, sizeof name);
    const char* dot = std::strrchr(name, '.');
    std::snprintf(gRefusalText, sizeof gRefusalText, "a face file is written as %s, not as \"%s\"",
                  FaceFileExtensions(), dot ? dot : name);
    return kFaceFormatUnknown;
  }
  int16_t e = 0;
  int32_t written = 0;
  for (int32_t layer = 1; layer <= doc->layerCount && e == 0; ++layer) {
    FSRef sibling;
    e = int16_t(SiblingWithTag(file, CNameOfLayer(layer, doc), &sibling));
    if (e != 0) break;
    doc->currentLayer = layer;
    const FaceFileFormat format = FaceFileFormatOf(file);
    e = format == FaceFile_PSD ? ReallyWritePSDFile_core(globals, &sibling, cancelled, doc, &outs[layer - 1])
                               : WriteFaceImageFile(globals, &sibling, cancelled, doc, format, &outs[layer - 1]);
    if (e == 0) written = layer;
  }
  // Every face or none: the files appear together once all are whole.
  for (int32_t k = 0; k < written; ++k) {
    if (e == 0) {
      e = int16_t(SafeOutputCommit(&outs[k]));
      if (e != 0) SafeOutputAbandon(&outs[k]);
    } else {
      SafeOutputAbandon(&outs[k]);
    }
  }
  // The chosen name only gives the faces theirs: a file already under it
  // is the user's and stays.
  return e;
}

}  // namespace

int16_t ReallyWritePSDFile(Globals* globals, const FSRef* file, uint8_t* cancelled) {
  TParameters* p = Params(globals);
  if (!p || !globals->storage || !file || !cancelled) return kBadParameter;
  StateStructure state;
  PushRectAndPreviewState(&state, globals);
  const int32_t runMode = p->runMode;
  PyramidDescriptor* savedCanvas = globals->storage->exportCanvas;
  PSDdoc doc;
  GrabPSDMetrics(globals, &doc);
  InitMondoProgressParams(globals, doc.layerCount);
  int16_t e;
  // The planning of a face-group layout is long work the user may stop.
  if (ExportStopRequested(globals)) {
    *cancelled = 1;
    e = kUserCancelled;
  } else if (!doc.oneFilePerLayer) {
    SafeOutput out{};
    e = ReallyWritePSDFile_core(globals, file, cancelled, &doc, &out);
    if (e == 0) {
      e = int16_t(SafeOutputCommit(&out));
      if (e != 0) SafeOutputAbandon(&out);
    }
  } else {
    e = WriteLayerFiles(globals, file, cancelled, &doc);
  }
  EndExportLayers(globals);
  globals->storage->exportCanvas = savedCanvas;
  p->runMode = runMode;
  PopRectAndPreviewState(&state, globals);
  return e;
}

int16_t WriteImageFile_Mac(Globals* globals, const FSRef* file, uint8_t* cancelled, int32_t format) {
  if (format != kImageFormatPSD && format != kImageFormatJPEG) return int16_t(format);
  // The writers count their layers into the window once they know them.
  ExportProgress progress;
  BeginExportProgress(globals, &progress, 1);
  const int16_t e = format == kImageFormatPSD ? ReallyWritePSDFile(globals, file, cancelled)
                                              : ReallyWriteJPEGFile(globals, file, cancelled);
  EndExportProgress(globals, &progress);
  return e;
}

const char* ExportRefusalText() { return gRefusalText; }

int16_t WriteImageFile(Globals* globals, const FSRef* file, uint8_t* cancelled, int32_t format) {
  if (!cancelled) return kBadParameter;
  *cancelled = 0;
  return WriteImageFile_Mac(globals, file, cancelled, format);
}
