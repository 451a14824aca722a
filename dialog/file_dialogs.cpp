#include "dialog/file_dialogs.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "export/html/html_galleries.h"
#include "export/psd/psd_writer.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/result_codes.h"
#include "dialog/frame_services.h"
#include "platform/file_replace.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/services.h"

namespace {

constexpr FourCC kTypeSettings = MakeFourCC("Wq2q");
constexpr FourCC kCreatorSettings = 0x53406EB6;
constexpr FourCC kTypePSD = MakeFourCC("8BPS");
constexpr FourCC kCreatorPSD = MakeFourCC("8BIM");
constexpr FourCC kTypeText = MakeFourCC("TEXT");
constexpr FourCC kCreatorText = MakeFourCC("sfri");
constexpr FourCC kTypeJPEG = MakeFourCC("JPEG");

// Export kinds of the layered writer.
constexpr int32_t kExportBricks = 0, kExportCubeFaces = 1, kExportPolyhedronFaces = 2, kExportSizedResult = 6;

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void ReportSaveFailure(const std::string& path, int32_t e) {
  std::string message;
  if (e == kWriterNotBuilt)
    message = "cannot save \"" + path + "\": this build has no writer for that kind of file; nothing was written";
  else if (e == kDocumentTooLarge || e == kFaceFormatUnknown)
    message = "cannot save \"" + path + "\": " + ExportRefusalText() + "; nothing was written";
  else
    message = "cannot save \"" + path + "\": " + SaveFailureWords(e) + "; nothing was written";
  UiNoteCommandFailure(message.c_str());
  UiRunCautionAlert("The file could not be saved", message.c_str());
}

TParameters* P(Globals* g) { return g ? Params(g) : nullptr; }

}  // namespace

bool GenericDoc_FilterProc(const char* name, bool isFolder, FourCC fileType, FourCC wantedType, const char* extension) {
  if (isFolder || !name || (fileType != 0 && fileType == wantedType)) return true;
  char ext[64];
  get_extender_with_dot(ext, sizeof ext, name);
  std::string lower(ext), want(extension ? extension : "");
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : want) c = char(std::tolower(static_cast<unsigned char>(c)));
  return !want.empty() && lower.find(want) != std::string::npos;
}

bool Presets_FilterProc(const char* name, bool isFolder, FourCC fileType) {
  return GenericDoc_FilterProc(name, isFolder, fileType, kTypeSettings, ".q2q");
}

bool PICT_FilterProc(const char* name, bool isFolder, FourCC fileType) {
  return GenericDoc_FilterProc(name, isFolder, fileType, MakeFourCC("PICT"), ".pict") ||
         GenericDoc_FilterProc(name, isFolder, fileType, MakeFourCC("PICT"), ".pct");
}

namespace {

// This platform keeps no Finder types: the extension decides.
bool ListsSettings(const char* name, bool isFolder, void*) { return Presets_FilterProc(name, isFolder, 0); }
bool ListsPictures(const char* name, bool isFolder, void*) { return PICT_FilterProc(name, isFolder, 0); }

}  // namespace

int32_t PromptAndLoadSomethingNavServices(Globals* globals, int32_t kind, void*, FSRef* out, const char* message) {
  NavContext context{globals, 0, kind, 0, 0, 0, 0, {}};
  char path[1024];
  UiChooserRequest request{kind == kOpenKindFolder ? kUiChooseFolder : kUiChooseFile, message, nullptr, nullptr,
                           nullptr, nullptr};
  if (kind == kOpenKindSettings) {
    request.filter = ListsSettings;
    if (!message) request.message = "Open a settings file";
  } else if (kind == kOpenKindPicture) {
    request.filter = ListsPictures;
    if (!message) request.message = "Open a PICT image";
  }
  const bool chosen = UiRunFileChooser(request, path, sizeof path);
  if (!chosen) return 0;  // cancelled
  bool isFolder = false;
  if (FSPathMakeRef(path, &context.chosen, &isFolder) != 0 || isFolder != (kind == kOpenKindFolder)) {
    const std::string message = std::string("cannot open \"") + path + "\": " +
                                (isFolder ? "it is a folder" : kind == kOpenKindFolder ? "no such folder" : "no such file");
    UiNoteCommandFailure(message.c_str());
    UiRunCautionAlert("The file could not be opened", message.c_str());
    return 0;
  }
  context.result = uint8_t(DoOpenThings(globals, &context.chosen, kind));
  if (context.result == 0 && kind == kOpenKindSettings) {
    const std::string message = std::string("cannot read the settings file \"") + path + "\"; the settings are as they were";
    UiNoteCommandFailure(message.c_str());
    UiRunCautionAlert("The settings could not be loaded", message.c_str());
  }
  context.done = 1;
  if (out) *out = context.chosen;
  return context.result;
}

int32_t PromptAndLoadSettings(Globals* globals, void* parent) {
  if (!globals || !globals->parametersSelectorSeen) return 0;
  return PromptAndLoadSomethingNavServices(globals, kOpenKindSettings, parent, nullptr, "Open a settings file");
}

int32_t PromptForFolder(Globals* globals, FSRef* out, void* parent, const char* message) {
  if (!globals || !globals->parametersSelectorSeen) return 0;
  FSRef folder{};
  if (PromptAndLoadSomethingNavServices(globals, kOpenKindFolder, parent, &folder, message) != 1) return 99;
  if (out) *out = folder;
  return 0;
}

int32_t NavDoSaveThings(const char* path, NavContext* context) {
  if (!context || !path || !*path) return kBadParameter;
  const std::string target(path);
  const std::string name = BaseName(target);
  FSRef parent{};
  bool isFolder = false;
  if (name.empty() || FSPathMakeRef(Folder(target).c_str(), &parent, &isFolder) != 0 || !isFolder) {
    const std::string message = "cannot save \"" + target + "\": its folder does not exist";
    UiNoteCommandFailure(message.c_str());
    UiRunCautionAlert("The file could not be saved", message.c_str());
    return kFileNotFound;
  }
  if (IsFolder(target)) {
    const std::string message = "cannot save \"" + target + "\": it is a folder; a folder is never replaced";
    UiNoteCommandFailure(message.c_str());
    UiRunCautionAlert("The file could not be saved", message.c_str());
    return kNotAFile;
  }
  // The writers put a whole new file over the old one by renaming into the
  // folder, which a read-only folder refuses even for a writable file.
  if (::access(Folder(target).c_str(), W_OK | X_OK) != 0) {
    const std::string message =
        "cannot save \"" + target + "\": the folder " + Folder(target) + " is read-only; nothing was written";
    UiNoteCommandFailure(message.c_str());
    UiRunCautionAlert("The file could not be saved", message.c_str());
    return kPermission;
  }
  // Every writer fills a temporary beside the file and renames it over the
  // file only once it is whole, so the old file stays in place, untouched,
  // until then: a failed, cancelled or killed save leaves it as it was.
  FSRef file{};
  int32_t e = FSMakeRefForName(&parent, name.c_str(), &file);
  if (e == 0) e = DoSaveThings(context->globals, &file, context->extra, context->kind);
  if (e != 0) {
    if (e != kUserCancelled) ReportSaveFailure(target, e);
    return e;
  }
  return 0;
}

int32_t PromptSaveWithNav(Globals* globals, FourCC fileType, FourCC creator, int32_t kind, const char* defaultName,
                          int32_t extra, void*) {
  NavContext context{globals, extra, kind, 0, 0, fileType, creator, {}};
  char path[1024];
  const UiChooserRequest request{kUiPutFile, nullptr, defaultName, nullptr, nullptr, nullptr};
  const bool chosen = UiRunFileChooser(request, path, sizeof path);
  if (!chosen) return 0;  // cancelled: nothing is written
  const int32_t e = NavDoSaveThings(path, &context);
  context.done = 1;
  return e;
}

int32_t PromptAndSaveSettings(Globals* globals, void* parent) {
  TParameters* p = P(globals);
  return PromptSaveWithNav(globals, kTypeSettings, kCreatorSettings, SaveKind_Settings, p ? p->settingsName : "", 0,
                           parent);
}

int32_t ReactToExport3DModelRequest(Globals* g, void* parent) {
  return PromptSaveWithNav(g, kTypeText, kCreatorText, SaveKind_Model, "Model.obj", 0, parent);
}

int32_t ReactToExportEquiPolyMapRequest(Globals* g, void* parent) {
  return PromptSaveWithNav(g, kTypePSD, kCreatorPSD, SaveKind_EquiPolyMap, "Polyhedron map.psd", 0, parent);
}

int32_t ReactToExportPSDWithSizeRequest(Globals* g, void* parent) {
  if (TParameters* p = P(g)) p->exportKind = kExportSizedResult;
  return PromptSaveWithNav(g, kTypePSD, kCreatorPSD, SaveKind_PSD, "Gyrelle 2 result.psd", 0, parent);
}

int32_t ReactToExportFacesRenderingRequest(Globals* g, void* parent) {
  if (TParameters* p = P(g)) p->exportKind = kExportPolyhedronFaces;
  return PromptSaveWithNav(g, kTypePSD, kCreatorPSD, SaveKind_PSD, "Poly faces.psd", 0, parent);
}

int32_t ReactToCubeRenderingRequest(Globals* g, void* parent) {
  if (TParameters* p = P(g)) p->exportKind = kExportCubeFaces;
  return PromptSaveWithNav(g, kTypePSD, kCreatorPSD, SaveKind_PSD, "Cube map.psd", 0, parent);
}

int32_t ReactToLegoRenderingRequest(Globals* g, void* parent) {
  TParameters* p = P(g);
  if (!p) return kBadParameter;
  p->exportKind = kExportBricks;
  int32_t plan = 0;
  if (p->brickWritePlan)
    plan = PromptSaveWithNav(g, kTypePSD, kCreatorPSD, SaveKind_PSD, "Sphere plan.psd", 0, parent);
  // The statistics page counts the sphere the plan built, or one of its own
  // (the save dispatcher builds it when no plan came first).
  if ((!p->brickWritePlan || plan == 0) && p->brickWriteStats)
    PromptSaveWithNav(g, kTypeText, kCreatorText, SaveKind_BrickStats, "Sphere statistics.html", 0, parent);
  if (p->brickWriteLDraw)
    return PromptSaveWithNav(g, kTypeText, MakeFourCC("LdVr"), SaveKind_LDraw, "LDraw file.ldr", 0, parent);
  return 0;
}

int32_t ReactToExportJPEGResultRequest(Globals* g, void* parent) {
  if (TParameters* p = P(g)) p->exportKind = ExportKind_Result;
  return PromptSaveWithNav(g, kTypeJPEG, kCreatorPSD, SaveKind_JPEGResult, "Gyrelle 2 result.jpg", 0, parent);
}

int32_t BuildGenericWebPage(Globals* g, void* parent) {
  FSRef folder{};
  if (PromptForFolder(g, &folder, parent, "Choose a folder of Gyrelle 2 presets") != 0) return 0;
  HandPresetsFolderToNextPage(g, &folder);
  const int32_t e =
      PromptSaveWithNav(g, kTypeText, kCreatorText, SaveKind_PresetsPage, "Gyrelle 2 presets.html", 0, parent);
  HandPresetsFolderToNextPage(g, nullptr);
  return e;
}

int32_t BuildOutputGalleryWebPage(Globals* g, void* parent) {
  return PromptSaveWithNav(g, kTypeText, kCreatorText, SaveKind_OutputModesGallery, "Gyrelle 2 results.html", 0,
                           parent);
}

int32_t BuildMemdotGalleryWebPage(Globals* g, void* parent) {
  return PromptSaveWithNav(g, kTypeText, kCreatorText, SaveKind_MemoryDotsGallery, "Gyrelle 2 memory dots.html", 0,
                           parent);
}
