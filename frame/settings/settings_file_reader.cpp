#include "frame/settings/settings_file_reader.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "frame/base/file_fields.h"
#include "frame/base/file_layer.h"
#include "frame/globals.h"
#include "frame/settings/scripting_sanitize.h"
#include "frame/settings/settings_file.h"
#include "frame/settings/settings_file_preview.h"

namespace {

constexpr int32_t kLastUncompressedOnlyVersion = 30;  // such a file ends after its preview block

struct SlotReader {
  int16_t fork;
  bool intoRecord;
  int32_t firstError;
};

void Note(SlotReader& r, int32_t e) {
  if (e != 0 && r.firstError == 0) r.firstError = e;
}

void Slot(SlotReader& r, int32_t* field) {
  int32_t v = 0;
  const int32_t e = NewRdSInt32(&v, r.fork);
  Note(r, e);
  if (e == 0 && r.intoRecord && field) *field = v;
}

void Drop(SlotReader& r) { Slot(r, nullptr); }

// Colour channels travel zero-extended; only the low 16 bits count.
void Colour(SlotReader& r, uint16_t (&c)[3]) {
  for (uint16_t& channel : c) {
    int32_t v = channel;
    Slot(r, &v);
    channel = uint16_t(v);
  }
}

void Triple(SlotReader& r, float (&t)[3]) {
  for (float& value : t) {
    int32_t v = 0;
    const int32_t e = NewRdSInt32(&v, r.fork);
    Note(r, e);
    if (e == 0 && r.intoRecord) value = float(double(v) * 0.01);
  }
}

void Single(SlotReader& r, float* field) {
  float v = 0.0f;
  const int32_t e = rdIEEEFloatSingle(&v, r.fork);
  Note(r, e);
  if (e == 0 && r.intoRecord) *field = v;
}

// Upgrade arithmetic on values from a file must not overflow, whatever the
// file holds.
int32_t Saturate(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return int32_t(v);
}

int32_t Plus(int32_t a, int32_t b) { return Saturate(double(a) + double(b)); }
int32_t Minus(int32_t a, int32_t b) { return Saturate(double(a) - double(b)); }

// Older files counted the output modes differently; each renumbering is
// undone in the order it was made.
void UpgradeModeNumbers(TParameters* w, int32_t v) {
  if (v < 27) w->falseColors = 0;
  if (v < 28) w->outputMode = Plus(w->outputMode, 1);
  if (v < 29 && w->outputMode > 24) w->outputMode = Plus(w->outputMode, 1);
  if (v < 32 && w->outputMode > 33) w->outputMode = Plus(w->outputMode, 1);
  if (v < 24) {
    w->legacyInt130 = 0;
    w->inputMode = Saturate(std::trunc(double(w->inputMode) / 0.3));
  }
  if (v < 40 && w->outputMode > 15) w->outputMode = Plus(w->outputMode, 1);
  // Mode 14 once took its view angle on another scale; the fraction is a
  // real division (an integer one would flatten every angle below 180 to 0).
  if (w->outputMode == 14 && v < 34) {
    double a = double(w->viewAngleInt) / 180.0;
    if (a < 0.0) a = 0.0;
    if (a < 1.0) {
      const float b = float(0.6366197724870984 * std::atan(0.5 * std::tan(a * 1.5707963265)));
      w->viewAngleInt = int32_t(b * 180.0f);
      w->viewAngle = b * 180.0f;
    }
  }
}

// The fields of slots 2 to 65, then the upgrades that older versions need.
void ReadEarlySlots(SlotReader& r, TParameters* w, int32_t v) {
  const bool m0 = r.intoRecord;
  Colour(r, w->colorA);
  Colour(r, w->colorB);
  Colour(r, w->legacyColorC);
  for (int32_t* f : {&w->inputMode, &w->legacyInt108, &w->legacyInt109, &w->legacyInt110, &w->twirlXInt,
                     &w->twirlSpinInt, &w->legacyInt113, &w->legacyInt114, &w->legacyInt115, &w->legacyInt116,
                     &w->outputMode, &w->mirrorInput, &w->hqprFlag, &w->legacyInt121, &w->twirlYInt})
    Slot(r, f);
  if (m0 && v <= 14) w->twirlYInt = Minus(100, w->twirlYInt);
  for (int32_t* f : {&w->tabSizeInt, &w->legacyInt147, &w->legacyInt125, &w->legacyInt128, &w->legacyInt129})
    Slot(r, f);
  Colour(r, w->legacyColorF);
  Colour(r, w->legacyColorF);  // the second triple is the one that stays
  if (v >= 2) {
    Colour(r, w->legacyColorH);
    Slot(r, &w->viewAngleInt);
    Slot(r, &w->legacyInt127);
    Slot(r, &w->gridLegacy);
    if (m0 && v <= 10) w->gridLegacy = Plus(w->gridLegacy, 1);
  }
  if (v >= 3) {
    Slot(r, &w->glueMode);
    Drop(r);
  }
  if (v >= 4) {
    Slot(r, &w->legacyInt130);
    Slot(r, &w->legacyInt131);
    Slot(r, &w->falseColors);
  }
  if (m0 && v < 25) w->falseColors = 0;
  if (v >= 5) {
    Slot(r, &w->legacyInt134);
    Slot(r, &w->legacyInt135);
    if (m0 && v < 13) w->legacyInt135 = Minus(100, w->legacyInt135);
  }
  if (m0 && v < 7) {
    std::memcpy(w->legacyColorF, w->colorA, sizeof w->legacyColorF);
    w->legacyInt134 = 100;
    w->outputMode = 50;
  }
  if (v >= 8) Triple(r, w->legacyTripleA);
  if (m0 && v < 9) w->viewAngleInt = 0;
  if (v >= 8) Triple(r, w->legacyTripleB);
  if (v >= 12) Slot(r, &w->legacyInt80);
  if (v >= 14) Slot(r, &w->legacyInt132);
  if (v >= 16) Drop(r);
  if (v >= 17) Slot(r, &w->legacyInt136);
  if (v >= 18) {
    Colour(r, w->legacyColorD);
    Colour(r, w->legacyColorE);
  }
  if (m0) {
    if (v < 19) w->twirlSpinInt = 57;
    if (v < 20) w->tabSizeInt = 0;
    if (v < 21) w->viewAngleInt = 50;
    UpgradeModeNumbers(w, v);
  }
}

// Slots 67 to 89 and the six singles, around the JPEG preview block.
void ReadLateSlots(SlotReader& r, Globals* globals, TParameters* w, int32_t v, int32_t mode, uint8_t* previewRead) {
  if (v >= 23) Colour(r, w->legacyColorG);
  if (v >= 26) {
    for (int k = 0; k < 2; ++k) {
      int32_t fixed = 0;
      Slot(r, &fixed);
      if (r.intoRecord && r.firstError == 0) w->legacyInt136 = fixed / 65536;
    }
  }
  if (v >= 31)
    for (int32_t* f : {&w->brickLayers, &w->legacyInt138, &w->brickWritePlan, &w->brickWriteStats}) Slot(r, f);
  if (v >= 33) Slot(r, &w->cubeFaceSize);
  if (v >= 35)
    for (int32_t* f : {&w->brickWriteLDraw, &w->brickDither, &w->brickPalette, &w->brickPlates}) Slot(r, f);
  if (v >= 36) Slot(r, &w->facesExportSize);
  if (v >= 37) Slot(r, &w->sharpeningInt);
  if (v >= 38) {
    Slot(r, &w->transparentVoid);
    Slot(r, &w->edgesOn);
  }
  if (v >= 40 && r.firstError == 0) Note(r, Read_a_JPEG_preview(globals, r.fork, previewRead, mode));
  if (v >= 41) Slot(r, &w->anamorphic);
  if (v >= 42) Slot(r, &w->gaussianKernel);
  if (v >= 43) Slot(r, &w->graticule);
  if (v >= 44) Slot(r, &w->previewQuality);
}

int32_t ReadFields(Globals* globals, int16_t fork, int32_t mode, TParameters* w, uint8_t* previewRead) {
  int32_t v = -1;
  if (const int32_t e = NewRdSInt32(&v, fork)) return e;
  if (v < 0 || v > kSettingsFileVersion) return kSettingsFileUnknownVersion;
  SlotReader r{fork, mode == SettingsRead_All, 0};
  const bool m0 = r.intoRecord;
  if (m0) w->settingsVersion = v;
  ReadEarlySlots(r, w, v);
  if (v >= 22 && r.firstError == 0) Note(r, Read_an_uncompressed_preview(globals, fork, previewRead, mode));
  if (v == kLastUncompressedOnlyVersion) {
    *previewRead = 0;
  } else {
    ReadLateSlots(r, globals, w, v, mode, previewRead);
  }
  if (m0 && v <= 44 && w->outputMode == 35) {
    w->outputMode = 38;
    w->viewAngleInt = 33;
  }
  if (v >= 46 && v != kLastUncompressedOnlyVersion) Slot(r, &w->tissotOn);
  if (v >= 47)
    for (float* f : {&w->twirlX, &w->twirlY, &w->twirlSpin, &w->viewAngle, &w->tabSize, &w->sharpening})
      Single(r, f);
  // Files before the singles carry only the whole-number twins; a version-30
  // file, which ends early, needs them as much as any other.
  if (m0 && v < kSettingsFileVersion) {
    w->twirlX = float(w->twirlXInt);
    w->twirlY = float(w->twirlYInt);
    w->twirlSpin = float(w->twirlSpinInt);
    w->viewAngle = float(w->viewAngleInt);
    w->tabSize = float(w->tabSizeInt);
    w->sharpening = float(w->sharpeningInt);
  }
  return r.firstError;
}

}  // namespace

int32_t ReadSettingsFileSwitchably(Globals* globals, const FSRef* file, uint32_t, int32_t mode,
                                   uint8_t* previewRead) {
  uint8_t flag = 0;
  if (previewRead) *previewRead = 0;
  TParameters* p = Params(globals);
  if (!globals || !file || (mode == SettingsRead_All && !p)) return kBadParameter;
  int16_t fork = 0;
  if (const int32_t e = OpenAFileRef(file, &fork, 0, FileKind_Reading)) return e;
  if (MacFileLegthIsZero(fork)) {
    ZorCloseFile(fork);
    return kSettingsFileEmpty;
  }
  TParameters work;
  if (p)
    std::memcpy(&work, p, sizeof work);
  else
    std::memset(&work, 0, sizeof work);
  int32_t e = ReadFields(globals, fork, mode, &work, &flag);
  const int32_t closed = ZorCloseFile(fork);
  if (e == 0) e = closed;
  if (e != 0) return e;
  if (mode == SettingsRead_All) {
    // Files, the cached settings and memory dots all pass here: whatever a
    // file held, nothing out of range reaches the renderer.
    SanitizeReport report;
    SanitizeSettings(&work, &report);
    ReportSettingCorrections(report, "Settings file: values out of range were replaced");
    std::memcpy(p, &work, sizeof work);
  }
  if (previewRead) *previewRead = flag;
  return 0;
}

int32_t ReadSettingsFileSwitchably_ref(Globals* globals, const FSRef* file, uint32_t ignored, int32_t mode,
                                       uint8_t* previewRead) {
  return ReadSettingsFileSwitchably(globals, file, ignored, mode, previewRead);
}

int32_t ReadSettingsFile_ref(Globals* globals, const FSRef* file, uint32_t ignored) {
  return ReadSettingsFileSwitchably(globals, file, ignored, SettingsRead_All, nullptr);
}
