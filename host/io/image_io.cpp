#include "host/io/image_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "host/io/exr_io.h"
#include "host/io/jpeg_io.h"
#include "host/io/png_io.h"
#include "host/io/tiff_io.h"

#include <tiffio.h>

namespace gyhost {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool StartsWith(const unsigned char* bytes, size_t count, const unsigned char* sig, size_t n) {
  return count >= n && std::memcmp(bytes, sig, n) == 0;
}

std::string Lowercase(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

template <typename Writer>
bool WriteThroughStdio(const std::string& path, const HostImage& image, std::string* error, Writer writer) {
  std::FILE* raw = std::fopen(path.c_str(), "wb");
  if (!raw) {
    *error = std::strerror(errno);
    return false;
  }
  bool ok = writer(raw, image, error);
  if (std::fflush(raw) != 0 || std::ferror(raw)) {
    if (ok) *error = std::strerror(errno);
    ok = false;
  }
  if (std::fclose(raw) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  return ok;
}

}  // namespace

ImageFormat FormatFromSignature(const unsigned char* bytes, size_t count) {
  static constexpr unsigned char kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static constexpr unsigned char kJpeg[] = {0xFF, 0xD8, 0xFF};
  static constexpr unsigned char kTiffLE[] = {'I', 'I', 42, 0};
  static constexpr unsigned char kTiffBE[] = {'M', 'M', 0, 42};
  static constexpr unsigned char kBigTiffLE[] = {'I', 'I', 43, 0};
  static constexpr unsigned char kBigTiffBE[] = {'M', 'M', 0, 43};
  static constexpr unsigned char kExr[] = {0x76, 0x2F, 0x31, 0x01};
  if (StartsWith(bytes, count, kPng, sizeof kPng)) return ImageFormat::Png;
  if (StartsWith(bytes, count, kJpeg, sizeof kJpeg)) return ImageFormat::Jpeg;
  if (StartsWith(bytes, count, kTiffLE, 4) || StartsWith(bytes, count, kTiffBE, 4) ||
      StartsWith(bytes, count, kBigTiffLE, 4) || StartsWith(bytes, count, kBigTiffBE, 4)) {
    return ImageFormat::Tiff;
  }
  if (StartsWith(bytes, count, kExr, sizeof kExr)) return ImageFormat::Exr;
  return ImageFormat::Unknown;
}

ImageFormat FormatFromExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ImageFormat::Unknown;
  const std::string ext = Lowercase(path.substr(dot + 1));
  if (ext == "png") return ImageFormat::Png;
  if (ext == "jpg" || ext == "jpeg") return ImageFormat::Jpeg;
  if (ext == "tif" || ext == "tiff") return ImageFormat::Tiff;
  if (ext == "exr") return ImageFormat::Exr;
  return ImageFormat::Unknown;
}

const char* FormatName(ImageFormat format) {
  switch (format) {
    case ImageFormat::Png:
      return "PNG";
    case ImageFormat::Jpeg:
      return "JPEG";
    case ImageFormat::Tiff:
      return "TIFF";
    case ImageFormat::Exr:
      return "OpenEXR";
    case ImageFormat::Unknown:
      break;
  }
  return "unknown";
}

bool ReadImageFile(const std::string& path, HostImage* image, std::string* error, int32_t threads) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  unsigned char head[8] = {};
  const size_t got = std::fread(head, 1, sizeof head, file.get());
  const ImageFormat format = FormatFromSignature(head, got);
  std::string detail;
  bool ok = false;
  switch (format) {
    case ImageFormat::Png:
      std::rewind(file.get());
      ok = ReadPng(file.get(), image, &detail);
      break;
    case ImageFormat::Jpeg:
      std::rewind(file.get());
      ok = ReadJpeg(file.get(), image, &detail);
      break;
    case ImageFormat::Tiff:
      file.reset();
      ok = ReadTiff(path, image, &detail, threads);
      break;
    case ImageFormat::Exr:
      file.reset();
      ok = ReadExr(path, image, &detail);
      break;
    case ImageFormat::Unknown:
      *error = "not a PNG, JPEG, TIFF or OpenEXR image";
      return false;
  }
  if (!ok) *error = std::string(FormatName(format)) + ": " + detail;
  return ok;
}

uint16_t TiffCompressionFromName(const std::string& name) {
  if (name == "none") return COMPRESSION_NONE;
  if (name == "lzw") return COMPRESSION_LZW;
  if (name == "deflate") return COMPRESSION_ADOBE_DEFLATE;
  return 0;
}

bool WriteImageFile(const std::string& path, ImageFormat format, const HostImage& image, std::string* error,
                    const WriteOptions& options) {
  switch (format) {
    case ImageFormat::Png:
      return WriteThroughStdio(path, image, error, [&](std::FILE* f, const HostImage& i, std::string* e) {
        return WritePng(f, i, options.pngLevel, e);
      });
    case ImageFormat::Jpeg:
      return WriteThroughStdio(path, image, error, [](std::FILE* f, const HostImage& i, std::string* e) {
        return WriteJpeg(f, i, e);
      });
    case ImageFormat::Tiff:
      return WriteTiff(path, image, options.tiffCompression, error, options.threads);
    case ImageFormat::Exr:
      return WriteExr(path, image, error);
    case ImageFormat::Unknown:
      break;
  }
  *error = "unknown output format";
  return false;
}

}  // namespace gyhost
