// The layer and mask information of a layered document, and the layers'
// render: each layer is rendered into the one canvas and streamed out
// before the next, so only one layer is ever in memory.
#include <cstring>
#include <initializer_list>

#include "export/export_services.h"
#include "export/psd/psd_layers.h"
#include "export/psd/psd_doc.h"
#include "export/psd/psd_pixels.h"
#include "export/psd/psd_sink.h"
#include "frame/export_layer.h"  // the layer is rendered by the frame's export-layer pass, which drives the whole invocation
#include "frame/globals.h"  // the layers render through the whole invocation and count their progress in it
#include "frame/base/result_codes.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr uint8_t kOpaque = 255;
constexpr uint8_t kUpperBrickOpacity = 230;
constexpr int32_t kMaxPascalName = 255;

bool IsFloat(const PyramidDescriptor* c) { return c->dataKind == PyramidDataKind_FourFloat; }
int64_t RoundUp4(int64_t n) { return (n + 3) & ~int64_t(3); }
int64_t ChannelBlockBytes(const PSDdoc* doc) { return PsdPlaneBytes(doc) + 2; }
int64_t LayerDataBytes(const PSDdoc* doc) { return 4 * ChannelBlockBytes(doc); }

// The name as a length-prefixed string padded to a multiple of 4.
void WrCstringToPSDFile(PsdSink* s, const char* name) {
  const size_t n = name ? std::strlen(name) : 0;
  const uint8_t length = uint8_t(n > size_t(kMaxPascalName) ? kMaxPascalName : n);
  PsdPut8(s, length);
  PsdPutBytes(s, name, length);
  PsdPutZeros(s, RoundUp4(1 + length) - (1 + length));
}

int64_t NameBytes(const char* name) {
  PsdSink count = PsdSinkFor(0, 1);
  WrCstringToPSDFile(&count, name);
  return count.count;
}

void WrPSD_layer_record(PsdSink* s, int32_t layer, const PSDdoc* doc, const char* name, uint8_t opacity) {
  PsdPut32(s, 0);
  PsdPut32(s, 0);
  PsdPut32(s, uint32_t(doc->height));
  PsdPut32(s, uint32_t(doc->width));
  PsdPut16(s, 4);
  // Channel length info: transparency, red, green, blue.
  for (int16_t id : {int16_t(-1), int16_t(0), int16_t(1), int16_t(2)}) {
    PsdPut16(s, uint16_t(id));
    PsdPut32(s, uint32_t(ChannelBlockBytes(doc)));
  }
  PsdPutBytes(s, "8BIMnorm", 8);
  PsdPut8(s, opacity);
  PsdPut8(s, 0);                          // clipping
  PsdPut8(s, doc->bytesPerChannel == 4 ? 8 : 40);  // flags
  PsdPut8(s, 0);
  PsdPut32(s, uint32_t(4 + 44 + NameBytes(name)));
  PsdPut32(s, 0);  // no layer mask
  // Blending ranges: grey and four channels, each passing everything.
  PsdPut32(s, 40);
  for (int k = 0; k < 10; ++k) PsdPut32(s, 0x0000FFFF);
  WrCstringToPSDFile(s, name);
  (void)layer;
}

uint8_t OpacityOf(int32_t layer, const PSDdoc* doc) {
  return doc->exportKind == ExportKind_Bricks && layer >= 2 ? kUpperBrickOpacity : kOpaque;
}

// Names in the file are Mac OS Roman, as every name of ours.
void WrPSD_layer_structure(PsdSink* s, const PSDdoc* doc) {
  PsdPut16(s, uint16_t(doc->layerCount));
  for (int32_t layer = 1; layer <= doc->layerCount; ++layer)
    WrPSD_layer_record(s, layer, doc, CNameOfLayer(layer, doc), OpacityOf(layer, doc));
}

int64_t LayerStructureBytes(const PSDdoc* doc) {
  PsdSink count = PsdSinkFor(0, 1);
  WrPSD_layer_structure(&count, doc);
  return count.count;
}

int64_t ChannelDataBytes(const PSDdoc* doc) { return int64_t(doc->layerCount) * LayerDataBytes(doc); }

// L: the layer info with its own length field.
int64_t LayerInfoBytes(const PSDdoc* doc) {
  const int64_t data = ChannelDataBytes(doc);
  return 4 + LayerStructureBytes(doc) + data + (data & 1);
}

void CountLayerDone(Globals* globals) {
  ++globals->progressLayersDone;
  MondoProgressUpdate(globals, 0, 1, globals->progressLayerCount);
}

// Renders and streams every layer; stops at a cancel (the caller throws the
// partial file away) or at the first failed write.
int32_t WrPSD_layer_info_subsection(PsdSink* s, PyramidDescriptor* canvas, PSDdoc* doc, Globals* globals,
                                    uint8_t* cancelled) {
  const int64_t data = ChannelDataBytes(doc);
  PsdPut32(s, uint32_t(LayerInfoBytes(doc) - 4));
  WrPSD_layer_structure(s, doc);
  if (s->sizeOnly) {
    s->count += data + (data & 1);
    return 0;
  }
  for (int32_t layer = 1; layer <= doc->layerCount; ++layer) {
    if (!doc->layersPreRendered)
      if (const int32_t e = RenderExportLayer(globals, canvas, layer + doc->firstLayer - 1, cancelled, doc)) return e;
    WrPSD_4channels_image_data(canvas, doc, s);
    if (s->error) return s->error;
    CountLayerDone(globals);
  }
  if (data & 1) PsdPut8(s, 0);
  return s->error;
}

int32_t WrPSD_layer_Lr_subsection(PsdSink* s, PyramidDescriptor* canvas, PSDdoc* doc, Globals* globals,
                                  uint8_t* cancelled, const char* mt, const char* lr) {
  PsdPut32(s, 0);  // empty layer info
  PsdPut32(s, 0);  // no global mask
  PsdPutBytes(s, "8BIM", 4);
  PsdPutBytes(s, mt, 4);
  PsdPut32(s, 0);
  PsdPutBytes(s, "8BIM", 4);
  PsdPutBytes(s, lr, 4);
  const int64_t l = LayerInfoBytes(doc);
  if (const int32_t e = WrPSD_layer_info_subsection(s, canvas, doc, globals, cancelled)) return e;
  PsdPutZeros(s, RoundUp4(l) - l);
  return s->error;
}

void WrPSD_layer_Lr32_subsection_trailer(PsdSink* s) {
  PsdPutBytes(s, "8BIMLMsk", 8);
  PsdPut32(s, 14);
  PsdPut16(s, 0);  // colour space
  PsdPut16(s, 65535);
  PsdPut16(s, 0);
  PsdPut16(s, 0);
  PsdPut16(s, 0);
  PsdPut16(s, 50);  // opacity
  PsdPut8(s, 128);
  PsdPut8(s, 0);
  PsdPutBytes(s, "8BIMPat3", 8);
  PsdPut32(s, 0);
}

}  // namespace

int32_t RenderExportLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled,
                          PSDdoc* doc) {
  GenerateOneLayer(globals, canvas, layer, cancelled, doc);
  if (*cancelled) return kUserCancelled;
  const int32_t e = globals->result;
  globals->result = kOK;
  return e;
}

int64_t PsdLayerSectionLength(const PSDdoc* doc, bool floatCanvas) {
  if (doc->oneFilePerLayer) return 8;
  if (doc->bytesPerChannel == 1) return LayerInfoBytes(doc) + 4;
  return (floatCanvas ? 66 : 28) + RoundUp4(LayerInfoBytes(doc));
}

int64_t WrPSD_layer_and_mask_section(PyramidDescriptor* canvas, PSDdoc* doc, int16_t fork, uint8_t sizeOnly,
                                     Globals* globals, uint8_t* cancelled) {
  PsdSink s = PsdSinkFor(fork, sizeOnly);
  int32_t e = 0;
  if (doc->oneFilePerLayer) {
    PsdPut32(&s, 8);
    PsdPut32(&s, 0);
    PsdPut32(&s, 0);
    if (!sizeOnly && s.error == 0) {
      if (const int32_t e = RenderExportLayer(globals, canvas, doc->firstLayer + doc->currentLayer - 1, cancelled, doc))
        return e;
      CountLayerDone(globals);
    }
  } else if (doc->bytesPerChannel == 1) {
    PsdPut32(&s, uint32_t(PsdLayerSectionLength(doc, false)));
    e = WrPSD_layer_info_subsection(&s, canvas, doc, globals, cancelled);
    PsdPut32(&s, 0);  // no global layer mask
  } else if (!IsFloat(canvas)) {
    PsdPut32(&s, uint32_t(PsdLayerSectionLength(doc, false)));
    e = WrPSD_layer_Lr_subsection(&s, canvas, doc, globals, cancelled, "Mt16", "Lr16");
  } else {
    PsdPut32(&s, uint32_t(PsdLayerSectionLength(doc, true)));
    e = WrPSD_layer_Lr_subsection(&s, canvas, doc, globals, cancelled, "Mt32", "Lr32");
    WrPSD_layer_Lr32_subsection_trailer(&s);
  }
  if (sizeOnly) return s.count;
  return e != 0 ? e : s.error;
}
