// Any bytes as a settings file: the reader answers a code and never crashes,
// reads past its buffers or leaves a fork open, in either read mode.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/settings/settings_file_reader.h"
#include "platform/files.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

struct Bench {
  FilterRecord record{};
  Globals* globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
  std::string path;
  FSRef file{};

  Bench() {
    record.parameters = NewHandleClear(sizeof(TParameters));
    globals->filterRecord = &record;
    InitPyramidProcs(&globals->previewPyramid, globals, nullptr);
    TryToAllocatePyramid_2006(&globals->previewPyramid, 128, 128, PyramidDataKind_Packed8, 0);
    // The input lives in memory (an anonymous memory file), not on disk:
    // the reader opens it by path as it opens any settings file, and each
    // input costs two system calls instead of creating and writing a file.
    fd = ::memfd_create("gyrelle-fuzz-settings", 0);
    path = "/proc/self/fd/" + std::to_string(fd);
    std::snprintf(file.path, sizeof file.path, "%s", path.c_str());
  }
  ~Bench() {
    if (fd >= 0) ::close(fd);
  }
  int fd = -1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Bench bench;
  if (bench.fd < 0 || ::ftruncate(bench.fd, 0) != 0) return 0;
  if (size && ::pwrite(bench.fd, data, size, 0) != ssize_t(size)) return 0;
  TParameters* p = reinterpret_cast<TParameters*>(*bench.record.parameters);
  SetDefaultSettings(p);
  uint8_t previewRead = 0;
  ReadSettingsFileSwitchably(bench.globals, &bench.file, 0, SettingsRead_All, &previewRead);
  ReadSettingsFileSwitchably(bench.globals, &bench.file, 0, SettingsRead_PreviewOnly, &previewRead);
  if (FSOpenForkCount() != 0) std::abort();
  return 0;
}
