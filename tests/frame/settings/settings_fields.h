// Every settings field a settings file carries, by name, so that the suites
// can fill, scramble and compare them without a list per test.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "frame/settings/tparameters.h"

enum class FieldType { Int, Channel, Single, Tenths };

struct FieldRef {
  std::string name;
  FieldType type;
  void* address;
};

// The file fields of a record, in no particular order; colour channels and
// the legacy triples appear one element at a time ("colorA.1").
template <class Visit>
void ForEachFileField(TParameters* p, Visit visit) {
  const struct {
    const char* name;
    int32_t* field;
  } ints[] = {
      {"settingsVersion", &p->settingsVersion}, {"inputMode", &p->inputMode},
      {"legacyInt108", &p->legacyInt108},       {"legacyInt109", &p->legacyInt109},
      {"legacyInt110", &p->legacyInt110},       {"twirlXInt", &p->twirlXInt},
      {"twirlSpinInt", &p->twirlSpinInt},       {"legacyInt113", &p->legacyInt113},
      {"legacyInt114", &p->legacyInt114},       {"legacyInt115", &p->legacyInt115},
      {"legacyInt116", &p->legacyInt116},       {"outputMode", &p->outputMode},
      {"mirrorInput", &p->mirrorInput},         {"hqprFlag", &p->hqprFlag},
      {"legacyInt121", &p->legacyInt121},       {"twirlYInt", &p->twirlYInt},
      {"tabSizeInt", &p->tabSizeInt},           {"legacyInt147", &p->legacyInt147},
      {"legacyInt125", &p->legacyInt125},       {"legacyInt128", &p->legacyInt128},
      {"legacyInt129", &p->legacyInt129},       {"viewAngleInt", &p->viewAngleInt},
      {"legacyInt127", &p->legacyInt127},       {"gridLegacy", &p->gridLegacy},
      {"glueMode", &p->glueMode},               {"legacyInt130", &p->legacyInt130},
      {"legacyInt131", &p->legacyInt131},       {"falseColors", &p->falseColors},
      {"legacyInt134", &p->legacyInt134},       {"legacyInt135", &p->legacyInt135},
      {"legacyInt80", &p->legacyInt80},         {"legacyInt132", &p->legacyInt132},
      {"legacyInt136", &p->legacyInt136},       {"brickLayers", &p->brickLayers},
      {"legacyInt138", &p->legacyInt138},       {"brickWritePlan", &p->brickWritePlan},
      {"brickWriteStats", &p->brickWriteStats}, {"cubeFaceSize", &p->cubeFaceSize},
      {"brickWriteLDraw", &p->brickWriteLDraw}, {"brickDither", &p->brickDither},
      {"brickPalette", &p->brickPalette},       {"brickPlates", &p->brickPlates},
      {"facesExportSize", &p->facesExportSize}, {"sharpeningInt", &p->sharpeningInt},
      {"transparentVoid", &p->transparentVoid}, {"edgesOn", &p->edgesOn},
      {"anamorphic", &p->anamorphic},           {"gaussianKernel", &p->gaussianKernel},
      {"graticule", &p->graticule},             {"previewQuality", &p->previewQuality},
      {"tissotOn", &p->tissotOn},
  };
  for (const auto& f : ints) visit(FieldRef{f.name, FieldType::Int, f.field});
  const struct {
    const char* name;
    uint16_t* channels;
  } colours[] = {{"colorA", p->colorA},           {"colorB", p->colorB},
                 {"legacyColorC", p->legacyColorC}, {"legacyColorD", p->legacyColorD},
                 {"legacyColorE", p->legacyColorE}, {"legacyColorF", p->legacyColorF},
                 {"legacyColorG", p->legacyColorG}, {"legacyColorH", p->legacyColorH}};
  for (const auto& c : colours)
    for (int k = 0; k < 3; ++k)
      visit(FieldRef{std::string(c.name) + "." + std::to_string(k), FieldType::Channel, &c.channels[k]});
  const struct {
    const char* name;
    float* field;
  } singles[] = {{"twirlX", &p->twirlX},       {"twirlY", &p->twirlY},   {"twirlSpin", &p->twirlSpin},
                 {"viewAngle", &p->viewAngle}, {"tabSize", &p->tabSize}, {"sharpening", &p->sharpening}};
  for (const auto& s : singles) visit(FieldRef{s.name, FieldType::Single, s.field});
  for (int k = 0; k < 3; ++k) {
    visit(FieldRef{"legacyTripleA." + std::to_string(k), FieldType::Tenths, &p->legacyTripleA[k]});
    visit(FieldRef{"legacyTripleB." + std::to_string(k), FieldType::Tenths, &p->legacyTripleB[k]});
  }
}

// Values of the settings a sanitiser may check (modes, switches, sizes,
// angles), each in range and none a default, so that a read keeps them.
// Legacy fields and colours take any value.
inline const std::map<std::string, double>& PlausibleSettings() {
  static const std::map<std::string, double> table = {
      {"inputMode", 7},        {"outputMode", 45},      {"glueMode", 5},          {"graticule", 3},
      {"previewQuality", 3},   {"mirrorInput", 1},      {"hqprFlag", 1},          {"falseColors", 1},
      {"transparentVoid", 0},  {"tissotOn", 1},         {"edgesOn", 1},           {"anamorphic", 1},
      {"gaussianKernel", 1},   {"gridLegacy", 2},       {"brickLayers", 12},      {"brickPalette", 4095},
      {"brickWritePlan", 0},   {"brickWriteStats", 0},  {"brickWriteLDraw", 1},   {"brickDither", 1},
      {"brickPlates", 1},      {"cubeFaceSize", 512},   {"facesExportSize", 800}, {"twirlXInt", 12},
      {"twirlYInt", -30},      {"twirlSpinInt", 45},    {"viewAngleInt", 90},     {"tabSizeInt", 20},
      {"sharpeningInt", 55},   {"twirlX", 12.5},        {"twirlY", -30.25},       {"twirlSpin", 45.75},
      {"viewAngle", 90.5},     {"tabSize", 20.25},      {"sharpening", 55.5},
  };
  return table;
}
