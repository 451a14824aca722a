#include "export/photo_handoff.h"

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "export/export_services.h"
#include "export/desktop_open.h"
#include "export/maker.h"
#include "export/psd/psd_writer.h"
#include "frame/base/dates.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the export writers take the whole invocation: they read its settings, sizes and host procs
#include "platform/file_replace.h"
#include "platform/finder_icon.h"
#include "platform/opener.h"

namespace {

constexpr char kPhotoApplication[] = "iPhoto";
constexpr int32_t kMaxHandoffNames = 100;

}  // namespace

void HandoffFileName(char* out, size_t outSize, int32_t year, int32_t month, int32_t day, int32_t hour,
                     int32_t minute, int32_t second) {
  std::snprintf(out, outSize, "from %s %04d %02d %02d %02d %02d %02d%s", kProductName, int(year), int(month),
                int(day), int(hour), int(minute), int(second), ".psd");
}

void HandoffScript(char* out, size_t outSize, const char* posixPath) {
  std::snprintf(out, outSize, "  tell application \"%s\"  \nactivate\nimport from \"%s\"  \nend tell\n",
                kPhotoApplication, posixPath ? posixPath : "");
}

int32_t LowRunAppleScript(const char* text, uint32_t length, char* resultText, size_t resultBytes) {
  if (!text) return kNoScriptComponent;
  return PlatformRunScript(text, length, resultText, resultBytes);
}

int32_t SimpleRunAppleScript(const char* text) {
  return LowRunAppleScript(text, text ? uint32_t(std::strlen(text)) : 0, nullptr, 0);
}

namespace {

// The hand-off's file in the pictures folder, as a photo library imports
// into its own: a name not taken yet, so that no earlier hand-off of the
// same second is replaced. Without a pictures folder, the temporary one.
int32_t HandoffRef(const char* name, FSRef* out) {
  char pictures[kFSRefPathBytes];
  if (!PlatformPicturesFolder(pictures, sizeof pictures)) return GetTempFileRefC(out, name);
  FSRef folder{};
  std::snprintf(folder.path, sizeof folder.path, "%s", pictures);
  char base[kCNameBytes];
  std::snprintf(base, sizeof base, "%s", name);
  char* dot = std::strrchr(base, '.');
  if (dot) *dot = '\0';
  for (int32_t n = 1; n < kMaxHandoffNames; ++n) {
    char candidate[kCNameBytes + 8];
    if (n == 1)
      std::snprintf(candidate, sizeof candidate, "%s", name);
    else
      std::snprintf(candidate, sizeof candidate, "%s %d.psd", base, int(n));
    if (const int16_t e = FSMakeRefForName(&folder, candidate, out)) return e;
    struct stat st;
    if (::lstat(out->path, &st) != 0) return 0;
  }
  return kDuplicateName;
}

}  // namespace

int32_t ExportToiPhoto(Globals* globals, char* writtenPath, size_t writtenBytes) {
  TParameters* p = Params(globals);
  if (!p) return kBadParameter;
  if (writtenPath && writtenBytes) writtenPath[0] = '\0';
  int32_t year, month, day, hour, minute, second;
  LocalYearMonthDayHourMinutesSeconds(&year, &month, &day, &hour, &minute, &second);
  char name[kCNameBytes];
  HandoffFileName(name, sizeof name, year, month, day, hour, minute, second);
  FSRef file;
  if (const int32_t e = HandoffRef(name, &file)) return e;
  p->exportKind = ExportKind_Result;
  uint8_t cancelled = 0;
  const int16_t w = WriteImageFile(globals, &file, &cancelled, kImageFormatPSD);
  if (cancelled) return 0;
  if (w != 0) return w;
  if (writtenPath && writtenBytes) std::snprintf(writtenPath, writtenBytes, "%s", file.path);
  // Where the photo application's script would import the file, the
  // desktop's image viewer is handed it.
  return OpenOrSayWhere(file.path, "No image viewer could be opened.");
}

int32_t ExportToiPhoto_with_warning(Globals* globals) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (fr && (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32))
    ShowOSAlertoid("iPhoto and 32-bit images", "iPhoto may not understand 32-bit images.");
  const int32_t e = ExportToiPhoto(globals);
  // Written but not opened: the user has been told where the file is.
  return e == kNoDesktopOpener || e == kOpenerNotStarted ? 0 : e;
}
