// Recording and replaying the settings through a host's descriptor suite (an
// in-memory stand-in): what is recorded, in which order and form, what a
// replay restores, and what it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "frame/settings/scripting.h"
#include "frame/settings/scripting_sanitize.h"
#include "frame/settings/settings_defaults.h"
#include "scripting_fake_suite.h"

namespace {

using namespace fake_suite;

std::string Text(FourCC c) { return std::string{char(c >> 24), char(c >> 16), char(c >> 8), char(c)}; }

class ScriptingDescriptor : public ::testing::Test {
 protected:
  void SetUp() override {
    S() = State{};
    SetDefaultSettings(&params);
    params.settingsVersion = kSettingsVersionCurrent;
    reads = ReadProcs();
    writes = WriteProcs();
    handles = HandleSuite();
    dp.descriptorParametersVersion = 0;
    dp.readDescriptorProcs = &reads;
    dp.writeDescriptorProcs = &writes;
    fr.parameters = &paramsPtr;
    fr.hostSig = MakeFourCC("8BIM");
    fr.descriptorParameters = &dp;
    fr.handleProcs = &handles;
    g->filterRecord = &fr;
  }
  void TearDown() override {
    for (auto& [h, entries] : S().stored) DisposeHandle(h);
    S() = State{};
  }
  const Entry* Recorded(const char (&key)[5]) {
    for (const Entry& e : S().stored[dp.descriptor])
      if (e.key == MakeFourCC(key)) return &e;
    return nullptr;
  }

  TParameters params{};
  char* paramsPtr = reinterpret_cast<char*>(&params);
  ReadDescriptorProcs reads{};
  WriteDescriptorProcs writes{};
  HandleProcs handles{};
  PIDescriptorParameters dp{};
  FilterRecord fr{};
  std::unique_ptr<Globals> g = std::make_unique<Globals>();
};

// Every stored field away from its default, within its range.
void SetEveryStoredField(TParameters* p) {
  p->colorA[0] = 0x1212, p->colorA[1] = 0x3434, p->colorA[2] = 0x5656;
  p->colorB[0] = 0xABAB, p->colorB[1] = 0xCDCD, p->colorB[2] = 0xEFEF;
  p->inputMode = 17;
  p->twirlXInt = 10, p->twirlSpinInt = -20, p->twirlYInt = 30;
  p->outputMode = 1043;
  p->mirrorInput = 1, p->hqprFlag = 1;
  p->tabSizeInt = 40, p->viewAngleInt = 100, p->sharpeningInt = 60;
  p->glueMode = 62;
  p->falseColors = 1;
  p->brickLayers = 50, p->brickWritePlan = 0, p->brickWriteStats = 0, p->brickWriteLDraw = 1;
  p->brickDither = 1, p->brickPalette = 0xABC, p->brickPlates = 1;
  p->cubeFaceSize = 512, p->facesExportSize = 1000;
  p->transparentVoid = 0, p->edgesOn = 1, p->anamorphic = 1, p->gaussianKernel = 1, p->tissotOn = 1;
  p->graticule = 7;
  p->previewQuality = 3;
  p->twirlX = 10.5f, p->twirlY = -30.25f, p->twirlSpin = 170.5f;
  p->viewAngle = 99.5f, p->tabSize = 12.5f, p->sharpening = 77.25f;
}

#define EXPECT_FIELD(f) EXPECT_EQ(params.f, want.f) << #f

TEST_F(ScriptingDescriptor, RecordThenReplayReproducesEveryStoredField) {
  SetEveryStoredField(&params);
  const TParameters want = params;
  dp.recordInfo = 1;
  EXPECT_EQ(WriteScriptParams_zor(g.get()), 0);
  ASSERT_NE(dp.descriptor, nullptr);
  EXPECT_EQ(dp.recordInfo, 0);  // the dialog is optional when replayed

  // Every key of the list but '0015', in the list's order, each in its form.
  const std::vector<Entry>& recorded = S().stored[dp.descriptor];
  std::vector<DescriptorKeyID> expectedOrder;
  for (int i = 0; i < kScriptKeyListLength; ++i)
    if (kScriptKeyList[i] != MakeFourCC("0015")) expectedOrder.push_back(kScriptKeyList[i]);
  ASSERT_EQ(recorded.size(), expectedOrder.size());
  for (size_t i = 0; i < recorded.size(); ++i) EXPECT_EQ(Text(recorded[i].key), Text(expectedOrder[i])) << i;
  EXPECT_EQ(Recorded("Vers")->i, 47);
  EXPECT_EQ(Recorded("0004")->i, 0xAB);
  EXPECT_EQ(Recorded("Foky")->type, kTypeEnumerated);
  EXPECT_EQ(Text(Recorded("Foky")->enumType), "Foty");
  EXPECT_EQ(Text(Recorded("Foky")->enumCode), "Fp##");
  EXPECT_EQ(Text(Recorded("Fiky")->enumCode), "Fi18");
  EXPECT_EQ(Text(Recorded("GLUE")->enumCode), "GL62");
  EXPECT_EQ(Text(Recorded("Fgky")->enumCode), "Fgr7");
  EXPECT_EQ(Recorded("hqpr")->type, kTypeInteger);
  EXPECT_EQ(Recorded("0011")->type, kTypeBoolean);
  EXPECT_EQ(Recorded("0032")->i, 3);
  EXPECT_EQ(Recorded("0039")->type, kTypeFloat);
  EXPECT_EQ(Recorded("0039")->f, 77.25);

  // Replay over other settings.
  SetDefaultSettings(&params);
  params.settingsVersion = 3;
  dp.playInfo = 0;
  EXPECT_TRUE(ScriptingParamsAreComing(g.get()));
  const Handle recordedHandle = dp.descriptor;
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 0);
  EXPECT_EQ(g->result, kOK);
  EXPECT_EQ(params.settingsVersion, 47);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(params.colorA[c], want.colorA[c]);
    EXPECT_EQ(params.colorB[c], want.colorB[c]);
  }
  EXPECT_FIELD(inputMode);
  EXPECT_FIELD(twirlXInt);
  EXPECT_FIELD(twirlSpinInt);
  EXPECT_FIELD(outputMode);
  EXPECT_FIELD(mirrorInput);
  EXPECT_FIELD(hqprFlag);
  EXPECT_FIELD(twirlYInt);
  EXPECT_FIELD(tabSizeInt);
  EXPECT_FIELD(viewAngleInt);
  EXPECT_FIELD(glueMode);
  EXPECT_FIELD(falseColors);
  EXPECT_FIELD(brickLayers);
  EXPECT_FIELD(brickWritePlan);
  EXPECT_FIELD(brickWriteStats);
  EXPECT_FIELD(cubeFaceSize);
  EXPECT_FIELD(brickWriteLDraw);
  EXPECT_FIELD(brickDither);
  EXPECT_FIELD(brickPalette);
  EXPECT_FIELD(brickPlates);
  EXPECT_FIELD(facesExportSize);
  EXPECT_FIELD(sharpeningInt);
  EXPECT_FIELD(transparentVoid);
  EXPECT_FIELD(edgesOn);
  EXPECT_FIELD(anamorphic);
  EXPECT_FIELD(gaussianKernel);
  EXPECT_FIELD(graticule);
  EXPECT_FIELD(tissotOn);
  EXPECT_FIELD(twirlX);
  EXPECT_FIELD(twirlY);
  EXPECT_FIELD(twirlSpin);
  EXPECT_FIELD(viewAngle);
  EXPECT_FIELD(tabSize);
  EXPECT_FIELD(sharpening);
  // Recorded, never replayed.
  EXPECT_EQ(params.previewQuality, 2);
  // The replayed descriptor is used up.
  EXPECT_EQ(dp.descriptor, nullptr);
  ASSERT_EQ(S().disposed.size(), 1u);
  EXPECT_EQ(S().disposed[0], recordedHandle);
  EXPECT_EQ(S().readersOpen, 0);
}

TEST_F(ScriptingDescriptor, ColoursTravelAsTheirHighByte) {
  params.colorA[0] = 0xABCD;
  WriteScriptParams_zor(g.get());
  EXPECT_EQ(Recorded("0001")->i, 171);
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.colorA[0], 0xABAB);
}

TEST_F(ScriptingDescriptor, HostsThatAreNeverReadAreNeverRead) {
  for (const char* sig : {"PSP8", "PSP9"}) {
    SCOPED_TRACE(sig);
    S().readersOpened = 0;
    fr.hostSig = MakeFourCC(*reinterpret_cast<const char(*)[5]>(sig));
    dp.descriptor = MakeDescriptor({EnumEntry("Foky", "Foty", "Fo70")});
    dp.playInfo = 1;
    EXPECT_FALSE(ScriptingParamsAreComing(g.get()));
    EXPECT_EQ(ReadScriptParams_zor(g.get()), 0);
    EXPECT_EQ(S().readersOpened, 0);
    EXPECT_EQ(params.outputMode, 1);
    EXPECT_NE(dp.descriptor, nullptr);
  }
}

TEST_F(ScriptingDescriptor, AnOldDescriptorFillsTheFloatsFromTheirTwins) {
  dp.descriptor = MakeDescriptor({IntEntry("Vers", 46), IntEntry("0008", 30)});
  params.outputMode = 77;  // replay starts from the defaults
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 0);
  EXPECT_EQ(g->result, kOK);  // missing keys are no error
  TParameters want{};
  SetDefaultSettings(&want);
  EXPECT_EQ(params.outputMode, want.outputMode);
  EXPECT_EQ(params.twirlXInt, 30);
  EXPECT_EQ(params.twirlX, 30.0f);
  EXPECT_EQ(params.viewAngle, 120.0f);
  EXPECT_EQ(params.settingsVersion, 46);
}

TEST_F(ScriptingDescriptor, ExplicitFloatsSurviveADescriptorWithoutVersion) {
  // No 'Vers': the record's own version (0 in a fresh record) counts, which
  // is old, but a float that was delivered is not replaced by its twin.
  params.settingsVersion = 0;
  dp.descriptor = MakeDescriptor({FloatEntry("0037", 99.5), IntEntry("0008", 30), IntEntry("0012", 15),
                                  FloatEntry("0035", -12.5)});
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.viewAngle, 99.5f);
  EXPECT_EQ(params.twirlY, -12.5f);
  EXPECT_EQ(params.twirlX, 30.0f);
  EXPECT_EQ(params.sharpening, 30.0f);
}

TEST_F(ScriptingDescriptor, UnknownCodesAndWrongTypesKeepTheDefault) {
  dp.descriptor = MakeDescriptor({
      IntEntry("Vers", 47),
      EnumEntry("Foky", "Foty", "Fo34"),  // not a code
      IntEntry("Fiky", 5),                // not an enumerated value
      EnumEntry("GLUE", "GLty", "GL07"),
      FloatEntry("0008", 4.0),            // not an integer
      BoolEntry("hqpr", true),
      IntEntry("0011", 1),                // an integer read as a boolean
      IntEntry("Zzzz", 9),                // not ours
      IntEntry("0015", 9),
      IntEntry("0032", 1),                // recorded only
  });
  params.outputMode = params.inputMode = 33;
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.outputMode, 1);
  EXPECT_EQ(params.inputMode, 1);
  EXPECT_EQ(params.glueMode, 7);
  EXPECT_EQ(params.twirlXInt, 0);
  EXPECT_EQ(params.hqprFlag, 1);
  EXPECT_EQ(params.mirrorInput, 1);
  EXPECT_EQ(params.previewQuality, 2);
}

TEST_F(ScriptingDescriptor, OutOfRangeValuesGoBackToTheirDefaults) {
  dp.descriptor = MakeDescriptor({
      IntEntry("Vers", 47),
      IntEntry("0001", 300),        // colour byte past 255: clamped
      IntEntry("0002", -4),
      IntEntry("0018", 1000),       // brick layers
      IntEntry("0021", 1),          // cube face size
      IntEntry("0026", 40000),      // faces export size
      IntEntry("0014", -5),         // view angle twin
      FloatEntry("0034", NAN),      // twirl X
      FloatEntry("0036", 1e300),    // twirl spin, beyond single precision
      FloatEntry("0035", -200.0),   // twirl Y
      FloatEntry("0037", 500.0),    // view angle
      FloatEntry("0039", 55.5),     // sharpening, fine
  });
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.colorA[0], 0xFFFF);
  EXPECT_EQ(params.colorA[1], 0);
  EXPECT_EQ(params.brickLayers, 20);
  EXPECT_EQ(params.cubeFaceSize, 256);
  EXPECT_EQ(params.facesExportSize, 500);
  EXPECT_EQ(params.viewAngleInt, 120);
  EXPECT_EQ(params.twirlX, 0.0f);
  EXPECT_EQ(params.twirlSpin, 0.0f);
  EXPECT_EQ(params.twirlY, 0.0f);
  EXPECT_EQ(params.viewAngle, 120.0f);
  EXPECT_EQ(params.sharpening, 55.5f);
}

TEST_F(ScriptingDescriptor, SanitiserPutsModesQualitiesSizesAndAnglesBack) {
  TParameters want{};
  SetDefaultSettings(&want);
  const struct {
    const char* name;
    void (*spoil)(TParameters*);
    bool (*restored)(const TParameters&, const TParameters&);
  } cases[] = {
      {"input mode 0", [](TParameters* p) { p->inputMode = 0; },
       [](const TParameters& p, const TParameters& d) { return p.inputMode == d.inputMode; }},
      {"input mode 31", [](TParameters* p) { p->inputMode = 31; },
       [](const TParameters& p, const TParameters& d) { return p.inputMode == d.inputMode; }},
      {"output mode 292", [](TParameters* p) { p->outputMode = 292; },
       [](const TParameters& p, const TParameters& d) { return p.outputMode == d.outputMode; }},
      {"output mode 1045 kept", [](TParameters* p) { p->outputMode = 1045; },
       [](const TParameters& p, const TParameters&) { return p.outputMode == 1045; }},
      {"alternative output mode 0", [](TParameters* p) { p->altOutputMode = 0; },
       [](const TParameters& p, const TParameters& d) { return p.altOutputMode == d.altOutputMode; }},
      {"glue mode 63", [](TParameters* p) { p->glueMode = 63; },
       [](const TParameters& p, const TParameters& d) { return p.glueMode == d.glueMode; }},
      {"graticule 8", [](TParameters* p) { p->graticule = 8; },
       [](const TParameters& p, const TParameters& d) { return p.graticule == d.graticule; }},
      {"quality 4", [](TParameters* p) { p->previewQuality = 4; },
       [](const TParameters& p, const TParameters& d) { return p.previewQuality == d.previewQuality; }},
      {"tab size -1", [](TParameters* p) { p->tabSize = -1; },
       [](const TParameters& p, const TParameters& d) { return p.tabSize == d.tabSize; }},
      {"twirl X 90 kept", [](TParameters* p) { p->twirlX = 90; },
       [](const TParameters& p, const TParameters&) { return p.twirlX == 90; }},
      {"twirl X 91", [](TParameters* p) { p->twirlX = 91; },
       [](const TParameters& p, const TParameters& d) { return p.twirlX == d.twirlX; }},
      {"sharpening twin 101", [](TParameters* p) { p->sharpeningInt = 101; },
       [](const TParameters& p, const TParameters& d) { return p.sharpeningInt == d.sharpeningInt; }},
  };
  for (const auto& c : cases) {
    TParameters p = want;
    c.spoil(&p);
    SanitizeSettings(&p);
    EXPECT_TRUE(c.restored(p, want)) << c.name;
  }
  TParameters untouched = want;
  SetEveryStoredField(&untouched);
  TParameters copy = untouched;
  SanitizeSettings(&copy);
  EXPECT_EQ(0, std::memcmp(&copy, &untouched, sizeof copy)) << "valid settings must not change";
}

TEST_F(ScriptingDescriptor, TheProbeLeavesTheDescriptorForTheRead) {
  EXPECT_FALSE(ScriptingParamsAreComing(g.get()));  // nothing to replay
  dp.descriptor = MakeDescriptor({IntEntry("0018", 42)});
  const Handle handed = dp.descriptor;
  EXPECT_TRUE(ScriptingParamsAreComing(g.get()));
  EXPECT_EQ(dp.descriptor, handed);
  EXPECT_TRUE(S().disposed.empty());
  EXPECT_EQ(S().readersOpen, 0);
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.brickLayers, 42);
}

TEST_F(ScriptingDescriptor, AHostWithoutAUsableSuiteGetsNoScripting) {
  dp.readDescriptorProcs = nullptr;
  dp.descriptor = MakeDescriptor({IntEntry("0018", 42)});
  params.brickLayers = 7;
  EXPECT_FALSE(ScriptingParamsAreComing(g.get()));
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 1);
  EXPECT_EQ(params.brickLayers, 7);
  EXPECT_EQ(WriteScriptParams_zor(g.get()), 0);
  EXPECT_EQ(S().writersOpened, 0);
  fr.descriptorParameters = nullptr;
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 1);
  EXPECT_EQ(WriteScriptParams_zor(g.get()), 0);
}

TEST_F(ScriptingDescriptor, CloseErrorsOtherThanAMissingKeyAreReported) {
  dp.descriptor = MakeDescriptor({IntEntry("Vers", 47)});
  S().closeError = -39;
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(g->result, -39);
}

TEST_F(ScriptingDescriptor, TheHostDecidesWhetherTheDialogShows) {
  dp.playInfo = 1;
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 1);
  EXPECT_EQ(params.showDialog, 1);
  dp.playInfo = 0;
  dp.descriptor = MakeDescriptor({IntEntry("Vers", 47)});
  EXPECT_EQ(ReadScriptParams_zor(g.get()), 0);
  EXPECT_EQ(params.showDialog, 0);
}

TEST_F(ScriptingDescriptor, RecordingReplacesTheOldDescriptorAndMarksUnknownValues) {
  const Handle old = MakeDescriptor({IntEntry("Vers", 40)});
  dp.descriptor = old;
  params.outputMode = 1044;  // a mode without a code
  params.hqprFlag = 5;
  params.edgesOn = 0x100;    // booleans travel as their low byte
  WriteScriptParams_zor(g.get());
  ASSERT_EQ(S().disposed.size(), 1u);
  EXPECT_EQ(S().disposed[0], old);
  EXPECT_EQ(Text(Recorded("Foky")->enumCode), "<NO>");
  EXPECT_EQ(Recorded("hqpr")->i, 5);
  EXPECT_EQ(Recorded("0029")->b, 0);
  ReadScriptParams_zor(g.get());
  EXPECT_EQ(params.hqprFlag, 1);
  EXPECT_EQ(params.outputMode, 1);
}

}  // namespace
