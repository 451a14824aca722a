// host/cli/: gyrelle's command line: options, setting keys and names, batches and save requests.
// The command line of gyrelle. Options for tests (fault injection, probes)
// are accepted but not listed in the help text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/driver.h"

namespace gyhost {

struct HostOptions {
  std::string input;
  std::string output;
  // -o TARGET IN...: a batch, TARGET a folder or a pattern with {name}.
  std::vector<std::string> inputs;
  std::string outputTarget;
  std::string format;  // --format: the batch's output format; empty: each input's own
  std::string pluginPath;             // empty: Gyrelle2.so beside the executable
  std::vector<std::string> settings;  // --set KEY=VALUE, in order
  std::string descriptorFile;         // --descriptor
  std::string recordFile;             // --record
  bool dialog = false;
  bool quiet = false;
  bool help = false;
  bool list = false;       // --list: the codes, names and keys
  std::string listFilter;  // --list FILTER: only what matches
  bool version = false;  // --version
  int32_t threads = 0;   // 0: every core
  // --canvas WxH: the size of the result; 0: the input's size.
  int32_t canvasWidth = 0;
  int32_t canvasHeight = 0;
  // --png-level N: zlib level of PNG output (the default keeps large writes fast).
  int32_t pngLevel = -1;  // -1: the writer's default
  // --tiff-compression: "same" (as the input), "none", "lzw" or "deflate".
  std::string tiffCompression = "same";

  // For tests only.
  HostFaults faults;
  bool haveAllocBudget = false;
  int64_t systemAllocBudget = -1;
  int32_t invocations = 1;
  std::string maskFile;
  bool memoryReport = false;
  bool probe = false;
  int16_t probeSelector = 0;
};

bool ParseOptions(int argc, const char* const* argv, HostOptions* options, std::string* error);
std::string UsageText();
std::string VersionText();

}  // namespace gyhost
