// Running gyrelle with the real plug-in on images made by the tests, and
// reading the results back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_image.h"

namespace render_e2e {

// A fresh directory under /tmp, removed when the object goes.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct Run {
  int status = -1;
  std::string err;
};

// gyrelle --quiet with the built plug-in, the given options, input and output.
Run RunGyrelle(const std::vector<std::string>& options, const std::string& input, const std::string& output,
               const Scratch& dir);

// An image whose first two channels hold the unit coordinates of each
// pixel's centre: red u = (x + 0.5) / width, green v = (y + 0.5) / height,
// blue 0.5, alpha (when asked) 1.
gyhost::HostImage CoordinateImage(int32_t width, int32_t height, bool alpha);
// A smooth 8-bit RGB picture that wraps around horizontally.
gyhost::HostImage SmoothPanorama(int32_t width, int32_t height);

void WriteImage(const std::string& path, const gyhost::HostImage& image);
gyhost::HostImage ReadImage(const std::string& path);

// Sample of plane `plane` of pixel (x, y) as a float in the host's scale
// (8-bit 0..255, 16-bit 0..32768, float as stored).
double Sample(const gyhost::HostImage& image, int32_t x, int32_t y, int32_t plane);

// Peak signal-to-noise ratio of two 8-bit images of one size, the second
// shifted right by `shift` columns (wrapping).
double Psnr8(const gyhost::HostImage& a, const gyhost::HostImage& b, int32_t shift);

}  // namespace render_e2e
