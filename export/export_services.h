// What the exports ask of the floors above them: the dialog's progress
// window and alerts, the host's abort poll, the memory dots and settings
// files, the save kinds and the JFIF coder. The dialog and the frame define
// them; the writers see only these declarations.
#pragma once

#include <cstdint>

#include "frame/base/progress_services.h"

struct FSRef;
struct Globals;
struct PyramidDescriptor;
struct TIPTCThing;
struct TEXIFThing;

// A caution alert (a window when a front end shows windows; the message
// goes to the platform's message sink either way); answers the item hit.
int32_t ShowOSAlertoid(const char* message, const char* explanation);

// An export progress window (Globals.progressWindow) is a window of the
// definitions; tests may hang this record there instead.
struct ProgressWindowStandIn {
  int16_t barValue;  // 0..1000
  char text[32];
};
void CreateMondoProgressWindow(Globals* globals);
void DestroyMondoProgress(Globals* globals);
// Sets the open progress window's bar from the layers done and this layer's
// progress; nothing when no window is open.
void MondoProgressUpdate(Globals* globals, int32_t done, int32_t total, int32_t layers);
// Fills the bar and says "Cancelling..."; marks the export cancelled when a
// window is open.
void MondoProgressShowCancelling(Globals* globals);

// After the last layer of an export, whether it finished, failed or was
// cancelled: gives back what the layers shared (the face groups' unfolded
// solid).
void EndExportLayers(Globals* globals);

int32_t SaveToMemoryDot(Globals* globals, int32_t n);
// No reset to defaults first: the fields a dot lacks keep their values.
int32_t LoadFromMemoryDot(Globals* globals, int32_t n);

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

// Results of WritePyrToJFIF besides 0 and write failures.
constexpr int32_t kJfifNoPyramid = 1;
constexpr int32_t kJfifNoTiles = 2;
constexpr int32_t kJfifCodingFailed = 6;

// Codes level 0 of the pyramid into the open fork, with the preview block's
// words (flag, width, height, length) first when withHeader is 1. With the
// header a picture that cannot be coded (no memory, a coder fault) becomes
// the single flag 0, so the file stays readable; without it that is an
// error.
int32_t WritePyrToJFIF(const PyramidDescriptor* pyramid, int16_t refNum, uint8_t withHeader, int16_t quality,
                       uint32_t iccLength, const uint8_t* iccData, TIPTCThing* iptc, TEXIFThing* exif);
