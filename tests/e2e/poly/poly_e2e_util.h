// What the end-to-end polyhedron tests share: a scratch folder, gyrelle with
// the built plug-in, and reading its pictures back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_image.h"

namespace polye2e {

// A fresh folder under /tmp, removed with everything in it.
struct Scratch {
  std::string path;
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// gyrelle with the built plug-in and the given --set options on `threads`
// tasks; the settings it stores stay in the scratch folder. Its exit code,
// -1 when it did not exit.
int RunGyrelle(const Scratch& dir, const std::vector<std::string>& sets, const std::string& in,
               const std::string& out, int32_t threads = 4);

gyhost::HostImage Read(const std::string& path);

// Channel c of pixel (x, y) of an 8-bit image.
double At(const gyhost::HostImage& im, int32_t x, int32_t y, int32_t c);

}  // namespace polye2e
