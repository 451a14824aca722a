// TIFF files through libtiff: grey or RGB with an optional alpha sample, 8- or
// 16-bit unsigned or 32-bit float samples. Other 8-bit layouts (palettes,
// tiles, YCbCr, CMYK) are read through libtiff's RGBA conversion.
#pragma once

#include <string>

#include "host/host_image.h"

namespace gyhost {

// threads: how many may decode strips side by side; 0 every core.
bool ReadTiff(const std::string& path, HostImage* image, std::string* error, int32_t threads = 0);
// Writes the image's own depth: 8, 16 (0..65535) or 32-bit float samples.
// compression: a libtiff COMPRESSION_ code, or 0 for the input's compression
// (uncompressed stays uncompressed; LZW when the input was not a TIFF).
// threads: how many may code strips side by side; 0 every core.
bool WriteTiff(const std::string& path, const HostImage& image, uint16_t compression, std::string* error,
               int32_t threads = 0);

}  // namespace gyhost
