#include "render_e2e_util.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/io/image_io.h"

namespace render_e2e {

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

Scratch::Scratch() {
  char pattern[] = "/tmp/gyrelle-render-XXXXXX";
  const char* made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  path_ = made ? made : "/tmp";
}

Scratch::~Scratch() {
  std::error_code ignored;
  if (path_ != "/tmp") std::filesystem::remove_all(path_, ignored);
}

Run RunGyrelle(const std::vector<std::string>& options, const std::string& input, const std::string& output,
               const Scratch& dir) {
  // Settings a run stores (the last accepted ones) stay in this scratch
  // folder, so no run sees another's and the user's own are never touched.
  std::string cmd = "XDG_CONFIG_HOME=" + Quote(dir / "config") + " " + Quote(GYRELLE_EXE) + " --quiet --plugin " +
                    Quote(GYRELLE_PLUGIN);
  for (const std::string& o : options) cmd += " " + Quote(o);
  cmd += " " + Quote(input) + " " + Quote(output);
  const std::string err = dir / ".stderr";
  const int raw = std::system((cmd + " >/dev/null 2>" + Quote(err)).c_str());
  Run r;
  r.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
  r.err = Slurp(err);
  return r;
}

gyhost::HostImage CoordinateImage(int32_t width, int32_t height, bool alpha) {
  gyhost::HostImage image;
  EXPECT_TRUE(gyhost::ResizeHostImage(&image, width, height, 3, alpha, gyhost::SampleType::F32));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      float px[4] = {float((x + 0.5) / width), float((y + 0.5) / height), 0.5f, 1.0f};
      std::memcpy(gyhost::PixelAddress(image, x, y), px, sizeof(float) * (alpha ? 4 : 3));
    }
  }
  return image;
}

gyhost::HostImage SmoothPanorama(int32_t width, int32_t height) {
  gyhost::HostImage image;
  EXPECT_TRUE(gyhost::ResizeHostImage(&image, width, height, 3, false, gyhost::SampleType::U8));
  constexpr double kTwoPi = 6.283185307179586;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const double a = kTwoPi * (x + 0.5) / width, b = 3.141592653589793 * (y + 0.5) / height;
      uint8_t* p = gyhost::PixelAddress(image, x, y);
      p[0] = uint8_t(std::lround(127.5 + 100.0 * std::sin(a) * std::sin(b)));
      p[1] = uint8_t(std::lround(127.5 + 100.0 * std::cos(2.0 * a + b)));
      p[2] = uint8_t(std::lround(127.5 + 100.0 * std::cos(b)));
    }
  }
  return image;
}

void WriteImage(const std::string& path, const gyhost::HostImage& image) {
  std::string error;
  ASSERT_TRUE(gyhost::WriteImageFile(path, gyhost::FormatFromExtension(path), image, &error)) << error;
}

gyhost::HostImage ReadImage(const std::string& path) {
  gyhost::HostImage image;
  std::string error;
  EXPECT_TRUE(gyhost::ReadImageFile(path, &image, &error)) << path << ": " << error;
  return image;
}

double Sample(const gyhost::HostImage& image, int32_t x, int32_t y, int32_t plane) {
  const uint8_t* p = gyhost::PixelAddress(image, x, y);
  switch (image.type) {
    case gyhost::SampleType::U8: return p[plane];
    case gyhost::SampleType::U16: {
      uint16_t v;
      std::memcpy(&v, p + 2 * plane, 2);
      return v;
    }
    case gyhost::SampleType::F32: {
      float v;
      std::memcpy(&v, p + 4 * plane, 4);
      return v;
    }
  }
  return 0.0;
}

double Psnr8(const gyhost::HostImage& a, const gyhost::HostImage& b, int32_t shift) {
  double sum = 0.0;
  int64_t n = 0;
  const int32_t planes = gyhost::PlaneCount(a);
  for (int32_t y = 0; y < a.height; ++y) {
    for (int32_t x = 0; x < a.width; ++x) {
      const int32_t xb = ((x - shift) % b.width + b.width) % b.width;
      for (int32_t c = 0; c < planes; ++c) {
        const double d = Sample(a, x, y, c) - Sample(b, xb, y, c);
        sum += d * d;
        ++n;
      }
    }
  }
  const double mse = sum / double(n);
  return mse > 0.0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : 99.0;
}

}  // namespace render_e2e
