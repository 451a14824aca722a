#include "frame/base/file_copy.h"

#include "frame/base/file_layer.h"

namespace {

constexpr int32_t kCopyBufferBytes = 2048;

int32_t FirstOf(int32_t a, int32_t b) { return a != 0 ? a : b; }

// Opens both forks, copies, closes both; a fork that this platform does not
// have (the resource fork) is skipped without complaint.
template <class OpenSource, class OpenDestination>
int32_t CopyOneFork(OpenSource openSource, OpenDestination openDestination, uint8_t* buffer, bool optional) {
  int16_t from = 0, to = 0;
  int32_t e = openSource(&from);
  if (e != 0) return (optional && e == kResourceForkMissing) ? 0 : e;
  e = openDestination(&to);
  if (e != 0) {
    ZorCloseFile(from);
    return e;
  }
  e = ZorCopyFork(from, to, buffer, kCopyBufferBytes);
  e = FirstOf(e, ZorCloseFile(from));
  return FirstOf(e, ZorCloseFile(to));
}

}  // namespace

int32_t ZorCopyFork(int16_t source, int16_t destination, uint8_t* buffer, int32_t bufferSize) {
  if (!buffer || bufferSize <= 0) return kBadParameter;
  int64_t left = 0;
  if (const int32_t e = FSGetForkSize(source, &left)) return e;
  if (const int32_t e = MoveFilePointerToBegining(source)) return e;
  if (const int32_t e = MoveFilePointerToBegining(destination)) return e;
  while (left > 0) {
    const uint32_t chunk = uint32_t(left < bufferSize ? left : bufferSize);
    if (const int32_t e = FSReadFork(source, chunk, buffer, nullptr)) return e;
    if (const int32_t e = FSWriteFork(destination, chunk, buffer, nullptr)) return e;
    left -= chunk;
  }
  return TruncateFile(destination);
}

int32_t MacCopyFromTo(const FSRef* from, const FSRef* to) {
  if (!from || !to) return kNullReferenceArgument;
  uint8_t buffer[kCopyBufferBytes];
  int32_t e = CopyOneFork([&](int16_t* n) { return OpenAFileRef(from, n, 0, FileKind_Reading); },
                          [&](int16_t* n) { return OpenAFileRef(to, n, 1, FileKind_Copy); }, buffer, false);
  e = FirstOf(e, CopyOneFork([&](int16_t* n) { return OpenAFileMacRef_resfork(from, n, 0); },
                             [&](int16_t* n) { return OpenAFileMacRef_resfork(to, n, 1); }, buffer, true));
  uint8_t info[kFinderInfoBytes];
  int32_t infoResult = nuGetFileInfo(from, info);
  if (infoResult == 0) infoResult = nuSetFileInfo(to, info);
  e = FirstOf(e, infoResult);
  return FirstOf(e, MacSetModDateToNow(to));
}
