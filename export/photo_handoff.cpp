#include "export/photo_handoff.h"

#include <cstdio>
#include <cstring>

#include "export/maker.h"
#include "export/psd_writer.h"
#include "frame/dates.h"
#include "frame/file_layer.h"
#include "frame/file_refs.h"
#include "frame/globals.h"
#include "platform/finder_icon.h"

namespace {

constexpr char kPhotoApplication[] = "iPhoto";
constexpr int16_t kMaxPathBytes = 1000;

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

int32_t ExportToiPhoto(Globals* globals) {
  TParameters* p = Params(globals);
  if (!p) return kBadParameter;
  int32_t year, month, day, hour, minute, second;
  LocalYearMonthDayHourMinutesSeconds(&year, &month, &day, &hour, &minute, &second);
  char name[kCNameBytes];
  HandoffFileName(name, sizeof name, year, month, day, hour, minute, second);
  FSRef temp;
  if (const int32_t e = GetTempFileRefC(&temp, name)) return e;
  p->exportKind = ExportKind_Result;
  uint8_t cancelled = 0;
  const int16_t w = WriteImageFile(globals, &temp, &cancelled, kImageFormatPSD);
  if (cancelled) return 0;
  if (w != 0) return w;
  char path[kMaxPathBytes];
  if (const int32_t e = OSX_MakeCompletePathnameFromRef(path, kMaxPathBytes, &temp)) return e;
  char script[kMaxPathBytes + 128];
  HandoffScript(script, sizeof script, path);
  return SimpleRunAppleScript(script);
}
