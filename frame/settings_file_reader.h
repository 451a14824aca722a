// Reading settings files of every version from 0 to 47, with the upgrades
// that give old values their current meaning.
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;

enum SettingsReadMode : int32_t {
  SettingsRead_All = 0,          // the settings and the preview
  SettingsRead_PreviewOnly = 1,  // the preview; the settings stay untouched
};

// A file is taken whole or not at all: the settings change only when every
// field its version promises was read (a version-30 file ends after its
// preview block). The fields a file does not carry keep their values; a
// caller that wants defaults for them resets the record first. After a read
// the out-of-range values go back to their defaults.
//
// Answers the open error, kSettingsFileEmpty, kSettingsFileUnknownVersion,
// kSettingsFileDamaged, the end-of-file code for a file shorter than its
// version promises, or the result of closing. previewRead is 1 when the
// file's preview was decoded into Globals.previewPyramid.
int32_t ReadSettingsFileSwitchably(Globals* globals, const FSRef* file, uint32_t ignored, int32_t mode,
                                   uint8_t* previewRead);
int32_t ReadSettingsFileSwitchably_ref(Globals* globals, const FSRef* file, uint32_t ignored, int32_t mode,
                                       uint8_t* previewRead);
int32_t ReadSettingsFile_ref(Globals* globals, const FSRef* file, uint32_t ignored);
