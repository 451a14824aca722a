// The settings file (".q2q"): a versioned big-endian record of the settings
// with a small JPEG preview inside, the one form in which settings outlive an
// invocation (presets, the cached last settings, memory dots, undo files).
// This header has the writer and what the reader and writer share.
#pragma once

#include <cstdint>

struct Globals;

constexpr int32_t kSettingsFileVersion = 47;
constexpr int32_t kSettingsFileEmpty = 2;           // the file has no bytes
constexpr int32_t kSettingsFileDamaged = 4;         // a preview block with a negative size
constexpr int32_t kSettingsFileUnknownVersion = 5;  // a version outside 0..47

// Settings files store the preview at this size and quality, and hold at
// most this many bytes of JPEG data.
constexpr int32_t kSettingsPreviewSide = 128;
constexpr int16_t kSettingsPreviewQuality = 80;
constexpr int32_t kSettingsPreviewMaxBytes = 49152;

// The fixed-point placeholders of slots 70 and 71.
constexpr int32_t kSettingsFixedPlaceholder = -1;

// Writes the settings (and the preview, when there is one) to the open fork
// from its mark, as version 47; sets settingsVersion to 47 and scratch to 0.
// The first failed write is answered, else 0. The caller cuts the fork
// afterwards so that no tail of an older file stays behind.
int32_t ParametersOutToFile(Globals* globals, int16_t refNum);
