#include "host/plugin_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "platform/config.h"

namespace gyhost {

namespace {
constexpr const char* kDefaultPluginName = "Gyrelle2.so";
}  // namespace

bool LoadPlugin(const std::string& path, PluginModule* module, std::string* error) {
  // A bare file name would make dlopen search the library path; the user
  // means a file.
  const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    *error = why ? why : "cannot load the plug-in";
    return false;
  }
  auto entry = reinterpret_cast<PluginMainProc>(dlsym(library, kPluginMainSymbol));
  if (!entry) {
    *error = path + " has no " + kPluginMainSymbol + " entry point";
    dlclose(library);
    return false;
  }
  module->path = path;
  module->library = library;
  module->entry = entry;
  module->configure = reinterpret_cast<PlatformConfigureProc>(dlsym(library, kPlatformConfigureSymbol));
  return true;
}

std::string DefaultPluginPath() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return kDefaultPluginName;
  std::string dir(self, size_t(n));
  const size_t slash = dir.find_last_of('/');
  dir = slash == std::string::npos ? "." : dir.substr(0, slash);
  return dir + "/" + kDefaultPluginName;
}

}  // namespace gyhost
