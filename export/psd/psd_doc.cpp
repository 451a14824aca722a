#include "export/psd/psd_doc.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/globals.h"  // the document's metrics come from the invocation, which keeps its progress counts
#include "export/brick/brick_plan.h"
#include "export/brick/lego_build.h"
#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr const char* kCubeTags[6] = {"_d", "_u", "_l", "_b", "_r", "_f"};
constexpr const char kPlainLayerName[] = "Layer 1";
constexpr float kTabDepthPerUnit = 0.005f;
constexpr int32_t kCramUnitScales = 1;
constexpr int32_t kExportNetMethod = 3;

void PolyhedronFacesMetrics(Globals* globals, PSDdoc* doc, int32_t size) {
  TParameters* p = Params(globals);
  polyhedron* poly = globals->storage ? &globals->storage->outputPolyhedron : nullptr;
  if (!poly) return;
  // The groups are those of the current mode's solid, which no render may
  // have built yet (an export straight after the dialog opened).
  const uint8_t fullDetail = p->runMode != RunMode_Preview ? 1 : 0;
  DarOzoPolySetup(p->outputMode, poly, 1.0f, p->tabSize * kTabDepthPerUnit, kCramUnitScales, 0.0f, kExportNetMethod,
                  HostBuffers(globals), fullDetail);
  if (poly->n3DFaces <= 0) return;
  doc->layerCount = NewCountFacegroupsInPoly(poly);
  const double r = PlanCrammingForExportation(globals, p->outputMode, doc->layerCount, HostBuffers(globals), poly);
  // A ratio above 1 is taller than wide.
  if (r > 1.0) {
    doc->width = int32_t(std::trunc(double(size) / r));
    doc->height = size;
  } else {
    doc->width = size;
    doc->height = int32_t(std::trunc(double(size) * r));
  }
}

}  // namespace

int32_t BytesPerChannelForHost(int16_t imageMode, int16_t depth) {
  if ((imageMode == kImageModeGray || imageMode == kImageModeRGB) && depth <= 8) return 1;
  if ((imageMode == kImageModeGray16 || imageMode == kImageModeRGB48) && depth == 16) return 2;
  if (imageMode == kImageModeRGB96 || imageMode == kImageModeGray32 || depth == 32) return 4;
  return 1;
}

int32_t CanvasKindForDepth(int32_t bytesPerChannel) {
  switch (bytesPerChannel) {
    case 2: return PyramidDataKind_Four16;
    case 4: return PyramidDataKind_FourFloat;
    default: return PyramidDataKind_Packed8;
  }
}

void GrabPSDMetrics(Globals* globals, PSDdoc* doc) {
  if (!doc) return;
  std::memset(doc, 0, sizeof *doc);
  doc->channels = 4;
  doc->firstLayer = 1;
  doc->outputMode = -1;
  doc->currentLayer = -1;
  doc->bytesPerChannel = 1;
  TParameters* p = Params(globals);
  if (!p) return;
  const FilterRecord* fr = globals->filterRecord;
  doc->exportKind = p->exportKind;
  doc->bytesPerChannel = BytesPerChannelForHost(fr->imageMode, fr->depth);
  const int32_t size = p->facesExportSize;
  switch (p->exportKind) {
    case ExportKind_CubeFaces:
      doc->layerCount = 6;
      doc->width = doc->height = p->cubeFaceSize;
      doc->oneFilePerLayer = 1;
      break;
    case ExportKind_PolyhedronFaces: PolyhedronFacesMetrics(globals, doc, size); break;
    case ExportKind_ResultImage:
      doc->layerCount = 1;
      doc->width = int32_t(globals->savedFilterRect.right) - globals->savedFilterRect.left;
      doc->height = int32_t(globals->savedFilterRect.bottom) - globals->savedFilterRect.top;
      break;
    case ExportKind_ObjTexture:
      doc->layerCount = 1;
      doc->width = doc->height = size;
      break;
    case ExportKind_SizedResult:
      doc->layerCount = 1;
      doc->width = p->sizedExportWidth;
      doc->height = p->sizedExportHeight;
      break;
    case ExportKind_EquiPolyMap:
      doc->layerCount = 1;
      doc->width = 2 * size;
      doc->height = size;
      break;
    case ExportKind_Bricks:
      // One plan per layer, each a grid of 9-pixel cells sharing borders.
      doc->layerCount = p->brickLayers;
      doc->width = doc->height = LegoPlanSide(LegoBallWidth(p->brickLayers, p->brickPlates));
      break;
    default: break;
  }
}

const char* CNameOfLayer(int32_t layer, const PSDdoc* doc) {
  static char name[64];
  std::snprintf(name, sizeof name, "%s", kPlainLayerName);
  if (!doc) return name;
  switch (doc->exportKind) {
    case ExportKind_Bricks:
      if (layer == doc->layerCount)
        std::snprintf(name, sizeof name, "%01d top", int(layer));
      else if (layer == 1)
        std::snprintf(name, sizeof name, "%01d bottom", 1);
      else
        std::snprintf(name, sizeof name, "%d", int(layer));
      break;
    case ExportKind_CubeFaces:
      if (layer >= 1 && layer <= 6) std::snprintf(name, sizeof name, "%s", kCubeTags[layer - 1]);
      break;
    case ExportKind_PolyhedronFaces:
    case ExportKind_ObjTexture: std::snprintf(name, sizeof name, "face %d", int(layer)); break;
    default: break;
  }
  return name;
}

void InitMondoProgressParams(Globals* globals, int32_t layers) {
  if (!globals) return;
  globals->progressLayersDone = 0;
  globals->progressLayerCount = layers;
}
