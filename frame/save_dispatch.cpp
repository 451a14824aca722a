#include "frame/save_dispatch.h"

#include <cstring>

#include "export/models/obj_save_kinds.h"
#include "export/finder_icon.h"
#include "export/psd/psd_writer.h"
#include "export/safe_output.h"
#include "frame/base/file_layer.h"
#include "frame/base/result_codes.h"
#include "frame/globals.h"
#include "frame/settings/persistence.h"
#include "frame/settings/settings_defaults.h"
#include "frame/settings/settings_file.h"
#include "frame/settings/settings_file_reader.h"

namespace {

int32_t SaveSettingsFile(Globals* globals, const FSRef* file) {
  TParameters* p = Params(globals);
  if (!p) return kBadParameter;
  // Written whole beside the file, then put in place: a failed save leaves
  // an older settings file as it was.
  SafeOutput out{};
  int32_t e = SafeOutputOpen(&out, file, FileKind_Settings);
  if (e == 0) e = ParametersOutToFile(globals, out.fork);
  if (out.made) e = SafeOutputFinish(&out, FileKind_Settings, e);
  // A failed write left the old file: the icon of these settings is not its.
  if (e != 0) return e;
  ApplyOSXIconToPresetFile(file, globals);
  char name[kSettingsNameSize];
  if (MacRefToCString(file, name, kSettingsNameSize)) std::memcpy(p->settingsName, name, sizeof name);
  return 0;
}

// A cancelled export answers -128 so that the dialog can tell it from a
// written file; the chosen file is then as it was.
int32_t SaveLayeredDocument(Globals* globals, const FSRef* file) {
  uint8_t cancelled = 0;
  const int16_t e = WriteImageFile(globals, file, &cancelled, kImageFormatPSD);
  return e == 0 && cancelled ? int32_t(kUserCancelled) : int32_t(e);
}

}  // namespace

int32_t OpenTheDarnPreset(Globals* globals, const FSRef* file) {
  TParameters* p = Params(globals);
  if (!p || !file) return kBadParameter;
  TParameters before;
  std::memcpy(&before, p, sizeof before);
  GrabDefaultSettings(globals);
  const int32_t e = ReadSettingsFile_ref(globals, file, 0);
  if (e != 0) {
    std::memcpy(p, &before, sizeof before);
    return e;
  }
  RefToCname(file, p->settingsName);
  return 0;
}

int32_t DoOpenThings(Globals* globals, const FSRef* file, int32_t kind) {
  switch (kind) {
    case SaveKind_Settings: return OpenTheDarnPreset(globals, file) == 0 ? 1 : 0;
    case SaveKind_BrickStats:
    case SaveKind_PresetsPage: return 1;  // the dialog acts on these choices itself
    default: return 0;
  }
}

int32_t DoSaveThings(Globals* globals, const FSRef* file, int32_t, int32_t kind) {
  if (!globals || !file) return kBadParameter;
  if (IsModelOrPageKind(kind)) return SaveModelOrPage(globals, file, kind);
  switch (kind) {
    case SaveKind_Settings: return SaveSettingsFile(globals, file);
    case SaveKind_PSD: return SaveLayeredDocument(globals, file);
    case SaveKind_JPEGResult: {
      uint8_t cancelled = 0;
      const int16_t e = WriteImageFile(globals, file, &cancelled, kImageFormatJPEG);
      return e == 0 && cancelled ? int32_t(kUserCancelled) : int32_t(e);
    }
    case SaveKind_BrickStats:
    case SaveKind_PresetsPage:
    case SaveKind_LDraw:
    case SaveKind_Model:
    case SaveKind_OutputModesGallery:
    case SaveKind_MemoryDotsGallery: return kWriterNotBuilt;
    default: return kBadParameter;
  }
}

int32_t ApplyOSXIconToPresetFile(const FSRef* file, Globals* globals) {
  if (!globals || !file) return 0;
  return MaybeAddOSXIcon(&globals->previewPyramid, file);
}

const char* SaveFailureWords(int32_t result) {
  switch (result) {
    case kDiskFull: return "the disk is full";
    case kIOError: return "the disk reported an error while writing";
    case kBadName: return "the name is too long or not allowed here";
    case kEndOfFile: return "a file it needed ended too soon";
    case kTooManyOpenFiles: return "too many files are open";
    case kFileNotFound:
    case kFolderNotFound: return "the folder does not exist";
    case kDuplicateName: return "another file of that name appeared while saving";
    case kBadParameter: return "the current settings do not allow this export";
    case kPermission: return "permission denied";
    case kWritePermission: return "the folder or the disk is read-only";
    case kNotAFile: return "a folder has that name";
    case kOutOfMemory: return "out of memory";
    case kUserCancelled: return "it was cancelled";
    case kWriterNotBuilt: return "this build has no writer for that kind of file";
    default: return "the file could not be written";
  }
}
