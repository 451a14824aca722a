#include "frame/settings/settings_defaults.h"

#include <cstring>

#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/invocation.h"
#include "frame/base/result_codes.h"

namespace {

void SetColour(uint16_t (&c)[3], uint8_t r, uint8_t g, uint8_t b) {
  // A byte repeated is the 16-bit colour that reads back as that byte.
  c[0] = uint16_t(r * 257);
  c[1] = uint16_t(g * 257);
  c[2] = uint16_t(b * 257);
}

}  // namespace

void SetDefaultSettings(TParameters* p) {
  p->programmaticView = 0;
  p->inputMode = 1;
  p->outputMode = 1;
  p->twirlXInt = 0;
  p->twirlX = 0.0f;
  p->twirlYInt = 0;
  p->twirlY = 0.0f;
  p->twirlSpinInt = 0;
  p->twirlSpin = 0.0f;
  p->viewAngleInt = 120;
  p->viewAngle = 120.0f;
  p->tabSizeInt = 33;
  p->tabSize = 33.0f;
  p->sharpeningInt = 30;
  p->sharpening = 30.0f;
  SetColour(p->colorA, 215, 172, 220);
  SetColour(p->colorB, 255, 255, 255);
  p->mirrorInput = 0;
  p->hqprFlag = 0;
  p->legacyInt80 = 21;
  p->glueMode = 1;
  p->gridLegacy = 0;
  p->falseColors = 0;
  p->brickLayers = 20;
  p->legacyInt138 = 0;
  p->brickPalette = 63;
  p->brickWritePlan = 1;
  p->brickWriteStats = 1;
  p->brickWriteLDraw = 0;
  p->brickDither = 0;
  p->brickPlates = 0;
  p->cubeFaceSize = 256;
  p->facesExportSize = 500;
  p->transparentVoid = 1;
  p->tissotOn = 0;
  p->edgesOn = 0;
  p->anamorphic = 0;
  p->transparentBackground = 0;
  p->gaussianKernel = 0;
  p->graticule = Graticule_Off;
  p->previewQuality = SampleQuality_Anisotropic;
  p->altOutputMode = 6;
}

void GrabDefaultSettings(Globals* globals) {
  if (TParameters* p = Params(globals)) SetDefaultSettings(p);
}

void ValidateParameters(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (!fr || fr->parameters) return;
  fr->parameters = HostNewHandle(fr->handleProcs, int32_t(sizeof(TParameters)));
  if (!fr->parameters) {
    globals->result = kOutOfMemory;
    return;
  }
  TParameters* p = Params(globals);
  // Start from zeros so that no field carries garbage into a settings file.
  std::memset(p, 0, sizeof(TParameters));
  Nullify_buffers(globals, nullptr);
  globals->parametersSelectorSeen = 0;
  p->previewScale = 1;
  p->runMode = RunMode_Final;
  p->autoPreview = 1;
  p->glueMode = 1;
  std::strncpy(p->settingsName, kDefaultSettingsName, kSettingsNameSize - 1);
  GrabDefaultSettings(globals);
  // The first-run export choices belong to a new record, not to each run.
  p->facesExportOption = 0;
  p->sizedExportChoice = 1;
  p->sizedExportWidth = 100;
  p->sizedExportHeight = 100;
  p->exportKind = ExportKind_Result;
}
