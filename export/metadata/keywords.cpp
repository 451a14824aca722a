#include "export/metadata/keywords.h"

#include "export/metadata/iptc.h"
#include "export/mode_names.h"
#include "export/psd/psd_doc.h"
#include "frame/globals.h"  // the keywords are drawn from the invocation's settings

namespace {

constexpr int32_t kTaskGallery = 5;

struct CubeFaceWords {
  const char* side;
  const char* degrees;  // null: none
};
// By file (layer) 1..6: down, up, left, back, right, front.
constexpr CubeFaceWords kCubeFaceWords[6] = {{"bottom", nullptr}, {"top", nullptr}, {"left", "270"},
                                             {"back", "180"},     {"right", "90"},  {"front", "0"}};

void Add(TIPTCThing* iptc, const char* word) { AddIPTCKeyword(iptc, word); }

void AddModelWords(TIPTCThing* iptc) {
  Add(iptc, "texturemap");
  Add(iptc, "3D");
  Add(iptc, "obj");
}

void AddDocumentKindWords(TIPTCThing* iptc, const PSDdoc* doc) {
  switch (doc->exportKind) {
    case ExportKind_Bricks:
      Add(iptc, "lego");
      Add(iptc, "sphere");
      break;
    case ExportKind_ObjTexture:
      Add(iptc, "3D");
      Add(iptc, "texturemap");
      Add(iptc, "obj");
      break;
    case ExportKind_CubeFaces:
      Add(iptc, "cube");
      Add(iptc, "cubemap");
      if (doc->currentLayer >= 1 && doc->currentLayer <= 6) {
        Add(iptc, kCubeFaceWords[doc->currentLayer - 1].side);
        Add(iptc, kCubeFaceWords[doc->currentLayer - 1].degrees);
      }
      break;
    case ExportKind_PolyhedronFaces: Add(iptc, "polyhedron"); break;
    default: break;
  }
}

}  // namespace

void AddTaskSpecificKeywords(TIPTCThing* iptc, const PSDdoc* doc, int32_t task) {
  if (!iptc) return;
  if (doc) {
    if (doc->outputMode != -1) Add(iptc, GyrelleOutputModeName(doc->outputMode));
    if (doc->bytesPerChannel == 4) {
      Add(iptc, "HDR");
      Add(iptc, "high dynamic range");
    }
  }
  Add(iptc, "panorama");
  if (doc) AddDocumentKindWords(iptc, doc);
  if (task == ExportKind_ObjTexture) AddModelWords(iptc);
  if (task == kTaskGallery) {
    Add(iptc, "gallery");
    Add(iptc, "preset");
  }
}

void AddSettingsSpecificKeywords(TIPTCThing* iptc, Globals* globals) {
  const TParameters* p = Params(globals);
  if (!iptc || !p) return;
  if (p->exportKind > 1) {
    Add(iptc, GyrelleOutputModeName(p->outputMode));
    Add(iptc, GyrelleOutputModeNameSynonym(p->outputMode));
  }
  if (p->exportKind == ExportKind_Bricks) Add(iptc, p->brickPlates ? "plates" : "bricks");
  if (p->gridLegacy > 1) {
    Add(iptc, "grid");
    Add(iptc, "graticule");
  }
  if (p->anamorphic) Add(iptc, "anamorphic");
  if (p->glueMode != 1) Add(iptc, GlueModeKeyword(p->glueMode));
}
