#include "frame/settings/settings_file.h"

#include <cstdint>
#include <initializer_list>

#include "frame/base/file_fields.h"
#include "frame/globals.h"
#include "frame/settings/settings_file_preview.h"
#include "platform/files.h"

namespace {

struct SlotWriter {
  int16_t fork;
  int32_t firstError;
};

void Note(SlotWriter& w, int32_t e) {
  if (e != 0 && w.firstError == 0) w.firstError = e;
}

void Slot(SlotWriter& w, int32_t v) { Note(w, wrSInt32(v, w.fork)); }

void Colour(SlotWriter& w, const uint16_t (&c)[3]) {
  for (uint16_t v : c) Slot(w, int32_t(v));
}

// Hundredths toward zero, in single precision as the values are kept; a value
// beyond the slot's range saturates and NaN stores 0.
int32_t Hundredths(float x) {
  const float v = x * 100.0f;
  if (!(v == v)) return 0;
  if (v >= 2147483647.0f) return INT32_MAX;
  if (v <= -2147483648.0f) return INT32_MIN;
  return int32_t(v);
}

void Triple(SlotWriter& w, const float (&t)[3]) {
  for (float v : t) Slot(w, Hundredths(v));
}

}  // namespace

int32_t ParametersOutToFile(Globals* globals, int16_t refNum) {
  TParameters* p = Params(globals);
  if (!p) return kBadParameter;
  p->settingsVersion = kSettingsFileVersion;
  SlotWriter w{refNum, 0};
  Slot(w, p->settingsVersion);  // 1
  Colour(w, p->colorA);          // 2-4
  Colour(w, p->colorB);          // 5-7
  Colour(w, p->legacyColorC);    // 8-10
  Slot(w, p->inputMode);         // 11
  Slot(w, p->legacyInt108);
  Slot(w, p->legacyInt109);
  Slot(w, p->legacyInt110);
  Slot(w, p->twirlXInt);  // 15
  Slot(w, p->twirlSpinInt);
  Slot(w, p->legacyInt113);
  Slot(w, p->legacyInt114);
  Slot(w, p->legacyInt115);
  Slot(w, p->legacyInt116);
  Slot(w, p->outputMode);  // 21
  Slot(w, p->mirrorInput);
  Slot(w, p->hqprFlag);
  Slot(w, p->legacyInt121);
  Slot(w, p->twirlYInt);  // 25
  Slot(w, p->tabSizeInt);
  Slot(w, p->legacyInt147);
  Slot(w, p->legacyInt125);
  Slot(w, p->legacyInt128);
  Slot(w, p->legacyInt129);    // 30
  Colour(w, p->legacyColorF);  // 31-33
  Colour(w, p->legacyColorF);  // 34-36: older files kept a second triple here
  Colour(w, p->legacyColorH);  // 37-39
  Slot(w, p->viewAngleInt);    // 40
  Slot(w, p->legacyInt127);
  Slot(w, p->gridLegacy);
  Slot(w, p->glueMode);  // 43
  p->scratch = 0;
  Slot(w, p->scratch);  // 44
  Slot(w, p->legacyInt130);
  Slot(w, p->legacyInt131);
  Slot(w, p->falseColors);
  Slot(w, p->legacyInt134);
  Slot(w, p->legacyInt135);      // 49
  Triple(w, p->legacyTripleA);   // 50-52
  Triple(w, p->legacyTripleB);   // 53-55
  Slot(w, p->legacyInt80);       // 56
  Slot(w, p->legacyInt132);
  p->scratch = 0;
  Slot(w, p->scratch);  // 58
  Slot(w, p->legacyInt136);
  Colour(w, p->legacyColorD);  // 60-62
  Colour(w, p->legacyColorE);  // 63-65
  Slot(w, 0);                  // 66: the uncompressed preview block, empty
  Colour(w, p->legacyColorG);  // 67-69
  Slot(w, kSettingsFixedPlaceholder);
  Slot(w, kSettingsFixedPlaceholder);
  Slot(w, p->brickLayers);  // 72
  Slot(w, p->legacyInt138);
  Slot(w, p->brickWritePlan);
  Slot(w, p->brickWriteStats);
  Slot(w, p->cubeFaceSize);  // 76
  Slot(w, p->brickWriteLDraw);
  Slot(w, p->brickDither);
  Slot(w, p->brickPalette);
  Slot(w, p->brickPlates);
  Slot(w, p->facesExportSize);  // 81
  Slot(w, p->sharpeningInt);
  Slot(w, p->transparentVoid);
  Slot(w, p->edgesOn);  // 84
  Note(w, Write_a_JPEG_preview(globals, refNum, 1, kSettingsPreviewSide, kSettingsPreviewSide,
                               kSettingsPreviewQuality, nullptr, nullptr));
  Slot(w, p->anamorphic);  // 85
  Slot(w, p->gaussianKernel);
  Slot(w, p->graticule);
  Slot(w, p->previewQuality);
  Slot(w, p->tissotOn);  // 89
  for (float f : {p->twirlX, p->twirlY, p->twirlSpin, p->viewAngle, p->tabSize, p->sharpening})
    Note(w, wrIEEEFloatSingle(f, refNum));  // 90-95
  return w.firstError;
}
