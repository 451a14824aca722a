#include "tests/e2e/dialog/png_probe.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

uint32_t Big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}  // namespace

bool ReadLayerPNG(const std::string& path, ProbedImage* out) {
  std::ifstream f(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (file.size() < 8 + 25) return false;
  std::vector<uint8_t> z;
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const uint32_t n = Big32(&file[at]);
    const std::string type(file.begin() + long(at + 4), file.begin() + long(at + 8));
    if (at + 12 + n > file.size()) return false;
    const uint8_t* data = &file[at + 8];
    if (type == "IHDR") {
      out->width = int(Big32(data));
      out->height = int(Big32(data + 4));
      if (data[8] != 8 || (data[9] != 2 && data[9] != 6)) return false;
      out->channels = data[9] == 6 ? 4 : 3;
    } else if (type == "IDAT") {
      z.insert(z.end(), data, data + n);
    }
    at += 12 + n;
  }
  // zlib header, then stored blocks only.
  std::vector<uint8_t> raw;
  size_t p = 2;
  for (;;) {
    if (p + 5 > z.size()) return false;
    const bool last = z[p] & 1;
    if ((z[p] >> 1) != 0) return false;
    const size_t len = size_t(z[p + 1]) | size_t(z[p + 2]) << 8;
    p += 5;
    if (p + len > z.size()) return false;
    raw.insert(raw.end(), z.begin() + long(p), z.begin() + long(p + len));
    p += len;
    if (last) break;
  }
  const size_t line = size_t(out->width) * size_t(out->channels);
  if (raw.size() != (line + 1) * size_t(out->height)) return false;
  out->pixels.clear();
  for (int y = 0; y < out->height; ++y) {
    const uint8_t* row = &raw[(line + 1) * size_t(y)];
    if (row[0] != 0) return false;
    out->pixels.insert(out->pixels.end(), row + 1, row + 1 + line);
  }
  return true;
}

int64_t CountDifferingPixels(const ProbedImage& a, const ProbedImage& b, int tolerance) {
  if (a.width != b.width || a.height != b.height) return -1;
  int64_t n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      bool differs = false;
      for (int k = 0; k < 3; ++k) differs |= std::abs(int(a.At(x, y)[k]) - int(b.At(x, y)[k])) > tolerance;
      n += differs;
    }
  return n;
}

bool ReadAnyPNG(const std::string& path, ProbedImage* out) {
  char dir[] = "/tmp/gyrelle-png-XXXXXX";
  if (!mkdtemp(dir)) return false;
  const std::string base = dir;
  const std::string cmd = "convert '" + path + "' -alpha off -depth 8 -format '%w %h' -write 'info:" + base +
                          "/size.txt' 'rgb:" + base + "/pixels.rgb' 2>/dev/null";
  bool ok = std::system(cmd.c_str()) == 0;
  std::ifstream size(base + "/size.txt");
  ok = ok && bool(size >> out->width >> out->height);
  std::ifstream raw(base + "/pixels.rgb", std::ios::binary);
  out->channels = 3;
  out->pixels.assign((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
  ok = ok && out->pixels.size() == size_t(out->width) * size_t(out->height) * 3;
  std::system(("rm -rf '" + base + "'").c_str());
  return ok;
}

int64_t DifferenceFromReference(const std::string& shownPath, const std::string& referenceName, int64_t* pixels) {
  ProbedImage shown, reference;
  if (pixels) *pixels = 0;
  if (!ReadLayerPNG(shownPath, &shown) || !ReadAnyPNG(std::string(GYRELLE_TEST_DATA) + "/" + referenceName, &reference))
    return -1;
  if (pixels) *pixels = int64_t(shown.width) * shown.height;
  return CountDifferingPixels(shown, reference, 8);
}
