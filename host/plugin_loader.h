// Loading the plug-in library and finding its entry point and its platform
// configuration hook.
#pragma once

#include <cstdint>
#include <string>

#include "platform/plugin_api.h"

namespace gyhost {

using PlatformConfigureProc = int (*)(const char* key, int64_t value);

struct PluginModule {
  std::string path;
  void* library = nullptr;
  PluginMainProc entry = nullptr;
  PlatformConfigureProc configure = nullptr;  // null when the plug-in has none
};

// The plug-in stays loaded for the life of the process, as a host keeps it.
bool LoadPlugin(const std::string& path, PluginModule* module, std::string* error);

// Gyrelle2.so in the directory of the running executable.
std::string DefaultPluginPath();

}  // namespace gyhost
