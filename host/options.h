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
  std::string pluginPath;             // empty: Gyrelle2.so beside the executable
  std::vector<std::string> settings;  // --set KEY=VALUE, in order
  std::string descriptorFile;         // --descriptor
  std::string recordFile;             // --record
  bool dialog = false;
  bool quiet = false;
  bool help = false;
  int32_t threads = 0;  // 0: every core

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

}  // namespace gyhost
