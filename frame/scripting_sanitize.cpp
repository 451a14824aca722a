#include "frame/scripting_sanitize.h"

#include <cmath>

#include "frame/settings_defaults.h"
#include "frame/tparameters.h"

namespace {

constexpr int32_t kInputModes = 30;
constexpr int32_t kGlueModes = 62;
constexpr int32_t kGraticules = 7;
constexpr int32_t kSampleQualities = 3;
constexpr int32_t kMinExportSize = 2, kMaxExportSize = 30000;
constexpr int32_t kMinBrickLayers = 3, kMaxBrickLayers = 150;

void KeepInRange(int32_t& field, int32_t lo, int32_t hi, int32_t fallback) {
  if (field < lo || field > hi) field = fallback;
}

// An angle or percentage: its float and its whole-number twin share a range.
void KeepInRange(float& field, int32_t& twin, float lo, float hi, const TParameters& d, float TParameters::*f,
                 int32_t TParameters::*t) {
  if (!std::isfinite(field) || field < lo || field > hi) field = d.*f;
  if (twin < lo || twin > hi) twin = d.*t;
}

}  // namespace

bool IsKnownOutputMode(int32_t mode) { return (mode >= 1 && mode <= 291) || (mode >= 1035 && mode <= 1049); }

void SanitizeSettings(TParameters* p) {
  if (!p) return;
  TParameters d{};
  SetDefaultSettings(&d);
  KeepInRange(p->inputMode, 1, kInputModes, d.inputMode);
  if (!IsKnownOutputMode(p->outputMode)) p->outputMode = d.outputMode;
  if (!IsKnownOutputMode(p->altOutputMode)) p->altOutputMode = d.altOutputMode;
  KeepInRange(p->glueMode, 1, kGlueModes, d.glueMode);
  KeepInRange(p->graticule, 1, kGraticules, d.graticule);
  KeepInRange(p->previewQuality, 1, kSampleQualities, d.previewQuality);
  KeepInRange(p->cubeFaceSize, kMinExportSize, kMaxExportSize, d.cubeFaceSize);
  KeepInRange(p->facesExportSize, kMinExportSize, kMaxExportSize, d.facesExportSize);
  KeepInRange(p->brickLayers, kMinBrickLayers, kMaxBrickLayers, d.brickLayers);
  KeepInRange(p->twirlX, p->twirlXInt, -90, 90, d, &TParameters::twirlX, &TParameters::twirlXInt);
  KeepInRange(p->twirlY, p->twirlYInt, -180, 180, d, &TParameters::twirlY, &TParameters::twirlYInt);
  KeepInRange(p->twirlSpin, p->twirlSpinInt, -180, 180, d, &TParameters::twirlSpin, &TParameters::twirlSpinInt);
  KeepInRange(p->viewAngle, p->viewAngleInt, 0, 180, d, &TParameters::viewAngle, &TParameters::viewAngleInt);
  KeepInRange(p->tabSize, p->tabSizeInt, 0, 100, d, &TParameters::tabSize, &TParameters::tabSizeInt);
  KeepInRange(p->sharpening, p->sharpeningInt, 0, 100, d, &TParameters::sharpening, &TParameters::sharpeningInt);
}
