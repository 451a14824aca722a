// Where the dialog's open and save commands arrive: settings files here, the
// result image and every export through the writers of each kind.
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;

// Kinds the open and save dialogs pass.
enum SaveKind : int32_t {
  SaveKind_Settings = 0,
  SaveKind_PSD = 2,
  SaveKind_BrickStats = 3,
  SaveKind_PresetsPage = 4,
  SaveKind_LDraw = 7,
  SaveKind_Model = 10,
  SaveKind_EquiPolyMap = 12,
  SaveKind_OutputModesGallery = 13,
  SaveKind_MemoryDotsGallery = 14,
  SaveKind_JPEGResult = 5,  // the result as a JPEG file with its metadata
};

// A save kind whose writer is not part of this build yet.
constexpr int32_t kWriterNotBuilt = -4;

// Why a save failed, in the user's words ("permission denied", "the disk is
// full", "the folder does not exist"), for a result of the file layer or a
// writer.
const char* SaveFailureWords(int32_t result);

// Loads a preset over the defaults and takes the file's name as the settings
// name. A file that cannot be read leaves the settings as they were.
int32_t OpenTheDarnPreset(Globals* globals, const FSRef* file);
// 1 when the kind is one the open dialog may choose (a settings file only
// when it was read), else 0.
int32_t DoOpenThings(Globals* globals, const FSRef* file, int32_t kind);
// 0, the first failure of the writer, kWriterNotBuilt, or kBadParameter for
// a kind no dialog passes. The file exists already (the save dialog made it).
int32_t DoSaveThings(Globals* globals, const FSRef* file, int32_t extra, int32_t kind);
// The preset icon from the file's own preview; the store's answer (this
// platform keeps no custom icons).
int32_t ApplyOSXIconToPresetFile(const FSRef* file, Globals* globals);
