// frame/settings/: the settings record, its defaults, its files and their preview, persistence, scripting.
// The settings record: every user choice plus a few words of run state that
// the host keeps for us between invocations in its parameters handle. Its file
// and descriptor forms are written field by field, so the in-memory layout is
// ours alone.
#pragma once

#include <cstdint>

enum RunMode : int32_t {
  RunMode_Final = 0,
  RunMode_Preview = 1,
  RunMode_ExportLayer = 2,
};

enum SampleQuality : int32_t {
  SampleQuality_Fast = 1,
  SampleQuality_Anisotropic = 2,
  SampleQuality_Deluxe = 3,
};

enum Graticule : int32_t {
  Graticule_Off = 1,
};

enum ExportKind : int32_t {
  ExportKind_Result = 3,
};

constexpr int32_t kSettingsVersionCurrent = 47;
constexpr int kSettingsNameSize = 260;
constexpr const char* kDefaultSettingsName = "Gyrelle 2 settings";

struct TParameters {
  int32_t showDialog;
  uint8_t zoomersDirty;
  float legacyTripleA[3];
  float legacyTripleB[3];
  int32_t scratch;
  int32_t glueMode;
  int32_t previewScale;
  int32_t runMode;
  int32_t autoPreview;
  int32_t previewOffsetH, previewOffsetV;
  int32_t settingsVersion;
  int32_t legacyInt80;
  int32_t facesExportOption;
  int32_t sizedExportChoice;
  int32_t sizedExportWidth, sizedExportHeight;
  uint8_t pyramidsFilled;
  uint16_t colorA[3];
  uint16_t colorB[3];
  uint16_t legacyColorC[3], legacyColorD[3], legacyColorE[3], legacyColorF[3], legacyColorG[3], legacyColorH[3];
  int32_t inputMode;
  int32_t legacyInt108, legacyInt109, legacyInt110;
  int32_t twirlXInt;
  int32_t twirlSpinInt;
  int32_t legacyInt113, legacyInt114, legacyInt115, legacyInt116;
  int32_t outputMode;
  int32_t mirrorInput;
  int32_t hqprFlag;
  int32_t gridLegacy;
  int32_t legacyInt121;
  int32_t twirlYInt;
  int32_t tabSizeInt;
  int32_t sharpeningInt;
  int32_t legacyInt125;
  int32_t viewAngleInt;
  int32_t legacyInt127, legacyInt128, legacyInt129, legacyInt130, legacyInt131, legacyInt132;
  int32_t falseColors;
  int32_t legacyInt134, legacyInt135, legacyInt136;
  int32_t brickLayers;
  int32_t legacyInt138;
  int32_t brickPalette;
  int32_t brickWritePlan;
  int32_t brickWriteStats;
  int32_t brickWriteLDraw;
  int32_t brickDither;
  int32_t brickPlates;
  int32_t cubeFaceSize;
  int32_t facesExportSize;
  int32_t legacyInt147;
  float twirlX;
  float twirlY;
  float twirlSpin;
  float viewAngle;
  float tabSize;
  float sharpening;
  int32_t transparentVoid;
  int32_t tissotOn;
  int32_t edgesOn;
  int32_t anamorphic;
  int32_t transparentBackground;
  int32_t gaussianKernel;
  int32_t graticule;
  int32_t previewQuality;
  uint8_t programmaticView;
  int32_t altOutputMode;
  int32_t exportKind;
  char settingsName[kSettingsNameSize];
};
