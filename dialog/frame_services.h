// What the dialog asks of the frame: the memory dots and undo files, the
// open and save commands, the progress report, the preview's dimensions and
// the about box. The frame defines them; the dialog sees only these
// declarations (and those of export/export_services.h, which it shares with
// the exports).
#pragma once

#include <cstdint>

#include "export/export_services.h"
#include "frame/base/output_dimensions.h"

struct FSRef;
struct Globals;
struct PyramidDescriptor;
struct Rect;

// Re-renders the dialog's preview (the progressive count back to 0); only a
// host that offers advanceState and displayPixels is asked.
void DoPreviewFiltration(Globals* globals);

// Memory-dot file N (0..25): for writing created when missing, else only
// when it exists (kFileNotFound otherwise). kBadParameter for another N.
int32_t GetMemoryDotsFileRef(FSRef* out, int32_t n, uint8_t forWriting);
// Writes the settings into the file from its start and cuts what an older,
// longer content left behind.
int32_t WriteSettingsFile_ref(Globals* globals, const FSRef* file);
int32_t ReadSettingsFile_ref(Globals* globals, const FSRef* file, uint32_t ignored);
// Blank preview, then the file's preview (mode 1), copied into a size x size
// canvas of kind 3 when one was read; true when the canvas holds it.
bool LoadPresetPreviewIntoPyr(const FSRef* file, PyramidDescriptor* canvas, Globals* globals, int32_t size);

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

// The host's progress report, and in an export layer the export's progress
// window as well.
void CCUpdateProgressMulti(Globals* globals, int32_t done, int32_t total, int32_t layers);

void InitMemoryDots(Globals* globals, void* window);

int32_t DoAbout_zor(void* parentWindow);
