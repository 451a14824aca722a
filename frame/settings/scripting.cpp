#include "frame/settings/scripting.h"

#include <algorithm>
#include <iterator>

#include "frame/settings/enum_codes.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/base/result_codes.h"
#include "frame/settings/scripting_host.h"
#include "frame/settings/scripting_sanitize.h"
#include "frame/settings/settings_defaults.h"
#include "frame/base/small_utils.h"

namespace {

enum class KeyKind {
  Integer,
  ColourA,               // high byte of one colorA channel
  ColourB,               // high byte of one colorB channel
  Enumerated,            // a code of `enumType`
  Boolean,               // written from the field's low byte, read as 0 or 1
  IntegerReadAsBoolean,  // an old key: recorded as an integer, replayed as a boolean
  WriteOnlyInteger,      // recorded for the record's sake, never replayed
  Float,                 // the single-precision field widened
};

struct ScriptKey {
  DescriptorKeyID key;
  KeyKind kind;
  int32_t TParameters::*intField;
  float TParameters::*floatField;
  int channel;
  FourCC enumType;
};

constexpr ScriptKey Int(const char (&k)[5], int32_t TParameters::*f) {
  return {MakeFourCC(k), KeyKind::Integer, f, nullptr, 0, 0};
}
constexpr ScriptKey Bool(const char (&k)[5], int32_t TParameters::*f) {
  return {MakeFourCC(k), KeyKind::Boolean, f, nullptr, 0, 0};
}
constexpr ScriptKey Enum(const char (&k)[5], int32_t TParameters::*f, FourCC type) {
  return {MakeFourCC(k), KeyKind::Enumerated, f, nullptr, 0, type};
}
constexpr ScriptKey Colour(const char (&k)[5], KeyKind which, int channel) {
  return {MakeFourCC(k), which, nullptr, nullptr, channel, 0};
}
constexpr ScriptKey Float(const char (&k)[5], float TParameters::*f) {
  return {MakeFourCC(k), KeyKind::Float, nullptr, f, 0, 0};
}

using P = TParameters;

// In recording order.
constexpr ScriptKey kScriptKeys[] = {
    Int("Vers", &P::settingsVersion),
    Colour("0001", KeyKind::ColourA, 0),
    Colour("0002", KeyKind::ColourA, 1),
    Colour("0003", KeyKind::ColourA, 2),
    Colour("0004", KeyKind::ColourB, 0),
    Colour("0005", KeyKind::ColourB, 1),
    Colour("0006", KeyKind::ColourB, 2),
    Enum("Fiky", &P::inputMode, kEnumTypeInputMode),
    Int("0008", &P::twirlXInt),
    Int("0009", &P::twirlSpinInt),
    Enum("Foky", &P::outputMode, kEnumTypeOutputMode),
    Bool("0011", &P::mirrorInput),
    {MakeFourCC("hqpr"), KeyKind::IntegerReadAsBoolean, &P::hqprFlag, nullptr, 0, 0},
    Int("0012", &P::twirlYInt),
    Int("0013", &P::tabSizeInt),
    Int("0014", &P::viewAngleInt),
    Enum("GLUE", &P::glueMode, kEnumTypeGlueMode),
    Bool("0017", &P::falseColors),
    Int("0018", &P::brickLayers),
    Bool("0019", &P::brickWritePlan),
    Bool("0020", &P::brickWriteStats),
    Int("0021", &P::cubeFaceSize),
    Bool("0022", &P::brickWriteLDraw),
    Bool("0023", &P::brickDither),
    Int("0024", &P::brickPalette),
    Bool("0025", &P::brickPlates),
    Int("0026", &P::facesExportSize),
    Int("0027", &P::sharpeningInt),
    Bool("0028", &P::transparentVoid),
    Bool("0029", &P::edgesOn),
    Bool("0030", &P::anamorphic),
    Bool("0031", &P::gaussianKernel),
    Enum("Fgky", &P::graticule, kEnumTypeGraticule),
    {MakeFourCC("0032"), KeyKind::WriteOnlyInteger, &P::previewQuality, nullptr, 0, 0},
    Bool("0033", &P::tissotOn),
    Float("0034", &P::twirlX),
    Float("0035", &P::twirlY),
    Float("0036", &P::twirlSpin),
    Float("0037", &P::viewAngle),
    Float("0038", &P::tabSize),
    Float("0039", &P::sharpening),
};
static_assert(std::size(kScriptKeys) == kScriptKeyListLength - 1, "every listed key but '0015' is recorded");

constexpr FourCC kHostNeverReadA = MakeFourCC("PSP8");
constexpr FourCC kHostNeverReadB = MakeFourCC("PSP9");

bool HostNeverReadsScripts(const FilterRecord* fr) {
  return fr->hostSig == kHostNeverReadA || fr->hostSig == kHostNeverReadB;
}

const ScriptKey* FindKey(DescriptorKeyID key) {
  for (const ScriptKey& k : kScriptKeys)
    if (k.key == key) return &k;
  return nullptr;
}

uint16_t (&ColourOf(TParameters* p, KeyKind kind))[3] { return kind == KeyKind::ColourA ? p->colorA : p->colorB; }

// A value the host cannot deliver as the key's type leaves the field as it is.
// Answers whether the field was stored.
bool ReadOneKey(PIDescriptorParameters* dp, PIReadDescriptor token, const ScriptKey& k, TParameters* p) {
  switch (k.kind) {
    case KeyKind::Integer: {
      int32_t v = 0;
      if (HostGetInt(dp, token, &v) != 0) return false;
      p->*k.intField = v;
      return true;
    }
    case KeyKind::ColourA:
    case KeyKind::ColourB: {
      int32_t v = 0;
      if (HostGetInt(dp, token, &v) != 0) return false;
      // The byte repeated: the 16-bit colour the recording came from when it
      // was set as a byte (defaults, dialog), so a replay renders the same;
      // 255 stays full white rather than 0xFF00.
      ColourOf(p, k.kind)[k.channel] = uint16_t(std::clamp(v, 0, 255) * 257);
      return true;
    }
    case KeyKind::Enumerated: {
      DescriptorEnumID code = 0;
      int32_t v = 0;
      // An unknown code keeps the default: 0 is no mode at all.
      if (HostGetEnum(dp, token, &code) != 0 || !zor_EnumToValue(k.enumType, code, &v)) return false;
      p->*k.intField = v;
      return true;
    }
    case KeyKind::Boolean:
    case KeyKind::IntegerReadAsBoolean: {
      uint8_t b = 0;
      if (HostGetBool(dp, token, &b) != 0) return false;
      p->*k.intField = b ? 1 : 0;
      return true;
    }
    case KeyKind::Float: {
      double d = 0.0;
      // A NaN or a value past single precision is stored as it came, so that
      // the range check names it to the user instead of dropping it unseen.
      if (HostGetFloat(dp, token, &d) != 0) return false;
      p->*k.floatField = float(d);
      return true;
    }
    case KeyKind::WriteOnlyInteger:
      return false;
  }
  return false;
}

void WriteOneKey(PIDescriptorParameters* dp, PIWriteDescriptor token, const ScriptKey& k, const TParameters* p) {
  switch (k.kind) {
    case KeyKind::Integer:
    case KeyKind::IntegerReadAsBoolean:
    case KeyKind::WriteOnlyInteger:
      HostPutInt(dp, token, k.key, p->*k.intField);
      break;
    case KeyKind::ColourA:
      HostPutInt(dp, token, k.key, p->colorA[k.channel] >> 8);
      break;
    case KeyKind::ColourB:
      HostPutInt(dp, token, k.key, p->colorB[k.channel] >> 8);
      break;
    case KeyKind::Enumerated: {
      FourCC code = kEnumCodeNone;
      zor_ValueToEnum(p->*k.intField, k.enumType, &code);
      HostPutEnum(dp, token, k.key, k.enumType, code);
      break;
    }
    case KeyKind::Boolean:
      HostPutBool(dp, token, k.key, uint8_t(p->*k.intField & 0xFF));
      break;
    case KeyKind::Float: {
      const double d = p->*k.floatField;
      HostPutFloat(dp, token, k.key, &d);
      break;
    }
  }
}

// The six float settings and their whole-number twins.
struct FloatTwin {
  float TParameters::*value;
  int32_t TParameters::*twin;
};
constexpr FloatTwin kFloatTwins[] = {
    {&P::twirlX, &P::twirlXInt},       {&P::twirlY, &P::twirlYInt}, {&P::twirlSpin, &P::twirlSpinInt},
    {&P::viewAngle, &P::viewAngleInt}, {&P::tabSize, &P::tabSizeInt}, {&P::sharpening, &P::sharpeningInt},
};

// Settings older than the float fields carry only their whole-number twins.
// A float the descriptor did deliver is kept: a descriptor without 'Vers'
// counts as old, and its explicit values must not be thrown away.
void FloatsFromTwins(TParameters* p, const bool (&delivered)[std::size(kFloatTwins)]) {
  for (size_t i = 0; i < std::size(kFloatTwins); ++i)
    if (!delivered[i]) p->*kFloatTwins[i].value = float(p->*kFloatTwins[i].twin);
}

bool RecordingProcsPresent(const WriteDescriptorProcs* w) {
  return w->openWriteDescriptorProc && w->closeWriteDescriptorProc && w->putIntegerProc && w->putFloatProc &&
         w->putBooleanProc && w->putEnumeratedProc;
}

int FloatIndex(float TParameters::*field) {
  for (size_t i = 0; i < std::size(kFloatTwins); ++i)
    if (kFloatTwins[i].value == field) return int(i);
  return -1;
}

}  // namespace

const DescriptorKeyID kScriptKeyList[kScriptKeyListLength + 1] = {
    MakeFourCC("Vers"), MakeFourCC("0001"), MakeFourCC("0002"), MakeFourCC("0003"), MakeFourCC("0004"),
    MakeFourCC("0005"), MakeFourCC("0006"), MakeFourCC("Fiky"), MakeFourCC("0008"), MakeFourCC("0009"),
    MakeFourCC("Foky"), MakeFourCC("0011"), MakeFourCC("hqpr"), MakeFourCC("0012"), MakeFourCC("0013"),
    MakeFourCC("0014"), MakeFourCC("0015"), MakeFourCC("GLUE"), MakeFourCC("0017"), MakeFourCC("0018"),
    MakeFourCC("0019"), MakeFourCC("0020"), MakeFourCC("0021"), MakeFourCC("0022"), MakeFourCC("0023"),
    MakeFourCC("0024"), MakeFourCC("0025"), MakeFourCC("0026"), MakeFourCC("0027"), MakeFourCC("0028"),
    MakeFourCC("0029"), MakeFourCC("0030"), MakeFourCC("0031"), MakeFourCC("Fgky"), MakeFourCC("0032"),
    MakeFourCC("0033"), MakeFourCC("0034"), MakeFourCC("0035"), MakeFourCC("0036"), MakeFourCC("0037"),
    MakeFourCC("0038"), MakeFourCC("0039"), 0,
};

bool ScriptingParamsAreComing(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (!fr || HostNeverReadsScripts(fr)) return false;
  PIDescriptorParameters* dp = fr->descriptorParameters;
  if (!HostDescriptorAvailable(dp) || !dp->descriptor) return false;
  PIReadDescriptor token = ZHostOpenReader(dp, kScriptKeyList);
  if (!token) return false;
  ZHostCloseProbeReader(dp, &token);
  return true;
}

int32_t ReadScriptParams_zor(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  TParameters* p = Params(globals);
  if (!fr || !p) return 0;
  if (HostNeverReadsScripts(fr)) return 0;
  PIDescriptorParameters* dp = fr->descriptorParameters;
  if (!HostDescriptorAvailable(dp)) return 1;
  PIReadDescriptor token = dp->descriptor ? ZHostOpenReader(dp, kScriptKeyList) : nullptr;
  const bool replaying = token != nullptr;
  bool floatDelivered[std::size(kFloatTwins)] = {};
  if (replaying) {
    GrabDefaultSettings(globals);
    DescriptorKeyID key = 0;
    DescType type = 0;
    int32_t flags = 0;
    while (HostGetKey(dp, token, &key, &type, &flags)) {
      const ScriptKey* k = FindKey(key);
      if (k && ReadOneKey(dp, token, *k, p) && k->kind == KeyKind::Float)
        floatDelivered[FloatIndex(k->floatField)] = true;
    }
    const OSErr16 err = ZHostCloseReader(dp, fr->handleProcs, &token);
    if (err != kOK && err != kDescriptorKeyMissing) globals->result = err;
  }
  if (p->settingsVersion < kSettingsVersionCurrent) FloatsFromTwins(p, floatDelivered);
  if (replaying) {
    SanitizeReport report;
    SanitizeSettings(p, &report);
    ReportSettingCorrections(report, "Replayed settings: values out of range were replaced");
  }
  p->showDialog = HostPlayDialog(dp) ? 1 : 0;
  return p->showDialog;
}

void ParametersOutToDescriptor(Globals* globals, PIWriteDescriptor token) {
  TParameters* p = Params(globals);
  PIDescriptorParameters* dp = globals->filterRecord->descriptorParameters;
  p->settingsVersion = kSettingsVersionCurrent;
  p->scratch = 0;
  for (const ScriptKey& k : kScriptKeys) WriteOneKey(dp, token, k, p);
}

int32_t WriteScriptParams_zor(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (!fr || !Params(globals)) return 0;
  PIDescriptorParameters* dp = fr->descriptorParameters;
  // The suite check counts the write procedures without looking at them;
  // the ones the recording calls must be there, or nothing is recorded.
  if (!HostDescriptorAvailable(dp) || !RecordingProcsPresent(dp->writeDescriptorProcs)) return 0;
  PIWriteDescriptor token = ZHostOpenWriter(dp);
  if (!token) return 0;
  ParametersOutToDescriptor(globals, token);
  return ZHostCloseWriter(dp, fr->handleProcs, &token);
}
