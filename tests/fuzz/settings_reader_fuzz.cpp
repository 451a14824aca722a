// Any bytes as a settings file: the reader answers a code and never crashes,
// reads past its buffers or leaves a fork open, in either read mode.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/globals.h"
#include "frame/settings_defaults.h"
#include "frame/settings_file_reader.h"
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
    char name[] = "/tmp/gyrelle-fuzz-settings-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    path = name;
    std::snprintf(file.path, sizeof file.path, "%s", name);
  }
  ~Bench() { ::unlink(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Bench bench;
  FILE* f = std::fopen(bench.path.c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  TParameters* p = reinterpret_cast<TParameters*>(*bench.record.parameters);
  SetDefaultSettings(p);
  uint8_t previewRead = 0;
  ReadSettingsFileSwitchably(bench.globals, &bench.file, 0, SettingsRead_All, &previewRead);
  ReadSettingsFileSwitchably(bench.globals, &bench.file, 0, SettingsRead_PreviewOnly, &previewRead);
  if (FSOpenForkCount() != 0) std::abort();
  return 0;
}
