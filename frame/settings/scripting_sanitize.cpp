#include "frame/settings/scripting_sanitize.h"

#include <cmath>
#include <cstdio>

#include "frame/settings/settings_defaults.h"
#include "frame/settings/tparameters.h"
#include "platform/ui.h"

namespace {

constexpr int32_t kInputModes = 30;
constexpr int32_t kGlueModes = 62;
constexpr int32_t kGraticules = 7;
constexpr int32_t kSampleQualities = 3;
constexpr int32_t kMinExportSize = 2, kMaxExportSize = 30000;
constexpr int32_t kMinBrickLayers = 3, kMaxBrickLayers = 150;

void Note(SanitizeReport* report, const char* name, double given, double used) {
  if (!report || report->count >= kMaxSettingCorrections) return;
  report->corrections[report->count++] = SettingCorrection{name, given, used};
}

void KeepInRange(int32_t& field, int32_t lo, int32_t hi, int32_t fallback, const char* name, SanitizeReport* r) {
  if (field >= lo && field <= hi) return;
  Note(r, name, field, fallback);
  field = fallback;
}

bool FloatInRange(float v, float lo, float hi, bool openBelow) {
  if (!std::isfinite(v)) return false;
  return (openBelow ? v > lo : v >= lo) && v <= hi;
}

// An angle or percentage: its float and its whole-number twin share a range.
struct FloatRange {
  const char* name;
  const char* twinName;
  float TParameters::*value;
  int32_t TParameters::*twin;
  float lo, hi;
  bool openBelow;  // the low end itself is not allowed
};

constexpr FloatRange kFloatRanges[] = {
    {"tilt (0034)", "tilt (0008)", &TParameters::twirlX, &TParameters::twirlXInt, -90, 90, false},
    {"turn (0035)", "turn (0012)", &TParameters::twirlY, &TParameters::twirlYInt, -180, 180, false},
    {"spin (0036)", "spin (0009)", &TParameters::twirlSpin, &TParameters::twirlSpinInt, -180, 180, false},
    {"view angle (0037)", "view angle (0014)", &TParameters::viewAngle, &TParameters::viewAngleInt, 0, 180, true},
    {"tab size (0038)", "tab size (0013)", &TParameters::tabSize, &TParameters::tabSizeInt, 0, 100, false},
    {"sharpening (0039)", "sharpening (0027)", &TParameters::sharpening, &TParameters::sharpeningInt, 0, 100, false},
};

}  // namespace

bool IsKnownOutputMode(int32_t mode) { return (mode >= 1 && mode <= 291) || (mode >= 1035 && mode <= 1049); }

bool ViewAngleInRange(double degrees) { return std::isfinite(degrees) && degrees > 0.0 && degrees <= 180.0; }

void SanitizeSettings(TParameters* p, SanitizeReport* r) {
  if (!p) return;
  TParameters d{};
  SetDefaultSettings(&d);
  KeepInRange(p->inputMode, 1, kInputModes, d.inputMode, "input mode (Fiky)", r);
  if (!IsKnownOutputMode(p->outputMode)) {
    Note(r, "output mode (Foky)", p->outputMode, d.outputMode);
    p->outputMode = d.outputMode;
  }
  if (!IsKnownOutputMode(p->altOutputMode)) {
    Note(r, "second output mode", p->altOutputMode, d.altOutputMode);
    p->altOutputMode = d.altOutputMode;
  }
  KeepInRange(p->glueMode, 1, kGlueModes, d.glueMode, "glue mode (GLUE)", r);
  KeepInRange(p->graticule, 1, kGraticules, d.graticule, "graticule (Fgky)", r);
  KeepInRange(p->previewQuality, 1, kSampleQualities, d.previewQuality, "preview quality (0032)", r);
  KeepInRange(p->cubeFaceSize, kMinExportSize, kMaxExportSize, d.cubeFaceSize, "cube face size (0021)", r);
  KeepInRange(p->facesExportSize, kMinExportSize, kMaxExportSize, d.facesExportSize, "faces export size (0026)", r);
  KeepInRange(p->brickLayers, kMinBrickLayers, kMaxBrickLayers, d.brickLayers, "brick layers (0018)", r);
  for (const FloatRange& f : kFloatRanges) {
    float& value = p->*f.value;
    if (!FloatInRange(value, f.lo, f.hi, f.openBelow)) {
      Note(r, f.name, value, d.*f.value);
      value = d.*f.value;
    }
    int32_t& twin = p->*f.twin;
    if (!FloatInRange(float(twin), f.lo, f.hi, f.openBelow)) {
      Note(r, f.twinName, twin, d.*f.twin);
      twin = d.*f.twin;
    }
  }
}

void ReportSettingCorrections(const SanitizeReport& report, const char* source) {
  for (int32_t i = 0; i < report.count; ++i) {
    const SettingCorrection& c = report.corrections[i];
    char line[200];
    std::snprintf(line, sizeof line, "%s: %g is out of range; %g is used instead", c.name, c.given, c.used);
    PlatformShowAlert(source, line);
  }
}
