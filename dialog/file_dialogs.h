// The open, save and folder prompts of the dialog, and the export requests
// that ask where to save and hand the chosen file to the save dispatcher.
// The answer comes from the layer's chooser: a script's queued answer when
// the dialog runs headless.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/plugin_api.h"

struct Globals;

// One running prompt; lives on the caller's stack.
struct NavContext {
  Globals* globals;
  int32_t extra;
  int32_t kind;
  uint8_t done;
  uint8_t result;
  FourCC fileType, creator;
  FSRef chosen;
};

constexpr int32_t kOpenKindSettings = 0;
constexpr int32_t kOpenKindPicture = 3;
constexpr int32_t kOpenKindFolder = 4;

// Kinds 0 and 3 choose a file, 4 a folder; the open dispatcher's answer.
int32_t PromptAndLoadSomethingNavServices(Globals* globals, int32_t kind, void* parent, FSRef* out,
                                          const char* message);
// 1 when a settings file was chosen and loaded.
int32_t PromptAndLoadSettings(Globals* globals, void* parent);
// 0 when a folder was chosen, 99 otherwise.
int32_t PromptForFolder(Globals* globals, FSRef* out, void* parent, const char* message);
// Asks where to save and writes the kind there; 0 also when cancelled.
int32_t PromptSaveWithNav(Globals* globals, FourCC fileType, FourCC creator, int32_t kind, const char* defaultName,
                          int32_t extra, void* parent);
int32_t PromptAndSaveSettings(Globals* globals, void* parent);

// Saves the kind into the file at `path` as the chooser named it. An
// existing file there is kept aside and put back when the save fails or
// is cancelled; a file the save created is removed then. A failure is
// reported to the user. The dispatcher's answer.
int32_t NavDoSaveThings(const char* path, NavContext* context);

// True when the chooser lists the item: folders always, a file when its
// type is the wanted one or its extension (from the last dot) contains
// `extension`, ASCII case ignored.
bool GenericDoc_FilterProc(const char* name, bool isFolder, FourCC fileType, FourCC wantedType, const char* extension);
bool Presets_FilterProc(const char* name, bool isFolder, FourCC fileType);
bool PICT_FilterProc(const char* name, bool isFolder, FourCC fileType);

// The export requests of the export sheets.
int32_t ReactToExport3DModelRequest(Globals* globals, void* parent);
int32_t ReactToExportEquiPolyMapRequest(Globals* globals, void* parent);
int32_t ReactToExportPSDWithSizeRequest(Globals* globals, void* parent);
int32_t ReactToExportFacesRenderingRequest(Globals* globals, void* parent);
int32_t ReactToCubeRenderingRequest(Globals* globals, void* parent);
int32_t ReactToLegoRenderingRequest(Globals* globals, void* parent);
// The JPEG result file (the result with its metadata).
int32_t ReactToExportJPEGResultRequest(Globals* globals, void* parent);
// The gallery pages: presets of a chosen folder, output modes, memory dots.
int32_t BuildGenericWebPage(Globals* globals, void* parent);
int32_t BuildOutputGalleryWebPage(Globals* globals, void* parent);
int32_t BuildMemdotGalleryWebPage(Globals* globals, void* parent);
