#include "frame/settings/persistence.h"

#include <cstdio>

#include "frame/base/file_fields.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"
#include "frame/settings/settings_file.h"
#include "frame/settings/settings_file_reader.h"
#include "platform/config.h"

namespace {

constexpr FourCC kPrefsType = MakeFourCC("pref");

int32_t FirstOf(int32_t a, int32_t b) { return a != 0 ? a : b; }

}  // namespace

void Cache2Settings(Globals* globals) { ReadCachedSettings(globals); }
// A host that drives the dialog for one run's saves asks that the next run
// start where this one did.
void Settings2Cache(Globals* globals) {
  if (!PlatformKeepsCachedSettings()) WriteCachedSettings(globals);
}
void ReadInvocationBracketingSettingsFile(Globals* globals) { ReadMemdotMap(globals); }
void WriteInvocationBracketingSettingsFile(Globals* globals) { WriteMemdotMap(globals); }

int32_t ReadCachedSettings(Globals* globals) {
  FSRef file;
  if (const int32_t e = GetPrefsFileRefC_for_reading(&file, kCachedSettingsFileName)) return e;
  return ReadSettingsFile_ref(globals, &file, 0);
}

int32_t WriteCachedSettings(Globals* globals) {
  FSRef file;
  if (const int32_t e = GetPrefsFileRefC_for_writing(&file, kCachedSettingsFileName)) return e;
  const int32_t e = WriteSettingsFile_ref(globals, &file);
  return FirstOf(e, MacApplyTypeCreator_ref(&file, kPrefsType, kPluginCreator));
}

int32_t ReadMemdotMap(Globals* globals) {
  if (!globals || !globals->storage) return kBadParameter;
  FSRef file;
  if (const int32_t e = GetPrefsFileRefC_for_reading(&file, kMemdotMapFileName)) return e;
  int16_t fork = 0;
  if (const int32_t e = OpenAFileRef(&file, &fork, 0, FileKind_Reading)) return e;
  int32_t version = 0, entries[kMemoryDotCount];
  int32_t e = NewRdSInt32(&version, fork);
  for (int32_t& entry : entries) e = FirstOf(e, NewRdSInt32(&entry, fork));
  // A map cut short says nothing reliable about any dot.
  if (e == 0)
    for (int i = 0; i < kMemoryDotCount; ++i) globals->storage->memdotPersistent[i] = entries[i];
  return FirstOf(e, ZorCloseFile(fork));
}

int32_t WriteMemdotMap(Globals* globals) {
  if (!globals || !globals->storage) return kBadParameter;
  FSRef file;
  if (const int32_t e = GetPrefsFileRefC_for_writing(&file, kMemdotMapFileName)) return e;
  int16_t fork = 0;
  if (const int32_t e = OpenAFileRef(&file, &fork, 1, FileKind_Preferences)) return e;
  int32_t e = wrSInt32(kMemdotMapVersion, fork);
  for (int32_t entry : globals->storage->memdotPersistent) e = FirstOf(e, wrSInt32(entry, fork));
  e = FirstOf(e, TruncateFile(fork));
  return FirstOf(e, ZorCloseFile(fork));
}

int32_t GetMemoryDotsFileRef(FSRef* out, int32_t n, uint8_t forWriting) {
  if (!out || n < 0 || n > kStashMemoryDot) return kBadParameter;
  char name[64];
  std::snprintf(name, sizeof name, "%s memory dot %d%s", "Gyrelle 2", int(n), ".q2q");
  return forWriting ? GetPrefsFileRefC_for_writing(out, name) : GetPrefsFileRefC_for_reading(out, name);
}

int32_t SaveToMemoryDot(Globals* globals, int32_t n) {
  FSRef file;
  if (const int32_t e = GetMemoryDotsFileRef(&file, n, 1)) return e;
  return WriteSettingsFile_ref(globals, &file);
}

int32_t LoadFromMemoryDot(Globals* globals, int32_t n) {
  FSRef file;
  if (const int32_t e = GetMemoryDotsFileRef(&file, n, 0)) return e;
  return ReadSettingsFile_ref(globals, &file, 0);
}

int32_t WriteSettingsFile_ref(Globals* globals, const FSRef* file) {
  if (!file) return kNullReferenceArgument;
  int16_t fork = 0;
  if (const int32_t e = OpenAFileRef(file, &fork, 1, FileKind_Settings)) return e;
  int32_t e = ParametersOutToFile(globals, fork);
  e = FirstOf(e, TruncateFile(fork));
  return FirstOf(e, ZorCloseFile(fork));
}

int32_t WriteSettingsFile(Globals* globals, const FSRef* file) { return WriteSettingsFile_ref(globals, file); }
