// host/io/: reading and writing PNG, JPEG, TIFF and OpenEXR files with their metadata.
// Reading and writing image files: the input's format is found from its
// first bytes, the output's from its file name.
#pragma once

#include <string>

#include "host/host_image.h"

namespace gyhost {

enum class ImageFormat { Unknown, Png, Jpeg, Tiff, Exr };

ImageFormat FormatFromSignature(const unsigned char* bytes, size_t count);
ImageFormat FormatFromExtension(const std::string& path);
const char* FormatName(ImageFormat format);

// False with a message when the file cannot be read or is not a supported image.
// threads: how many may decode at once where the format allows; 0 every core.
bool ReadImageFile(const std::string& path, HostImage* image, std::string* error, int32_t threads = 0);
struct WriteOptions {
  int pngLevel = -1;             // zlib level 0..9; -1: the PNG writer's default
  uint16_t tiffCompression = 0;  // a libtiff COMPRESSION_ code; 0: as the input
  int32_t threads = 0;           // how many may code at once where the format allows; 0 every core
};

// Writes `image` to `path` in `format`, in the image's depth where the format
// allows, with the metadata the format holds.
bool WriteImageFile(const std::string& path, ImageFormat format, const HostImage& image, std::string* error,
                    const WriteOptions& options = WriteOptions{});
// "none", "lzw", "deflate" as a libtiff code; "same" (and anything else) 0.
uint16_t TiffCompressionFromName(const std::string& name);

}  // namespace gyhost
