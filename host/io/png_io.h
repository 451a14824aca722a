// PNG files through libpng: 8- and 16-bit grey or RGB, with or without alpha
// (palettes, low bit depths and tRNS chunks are expanded on reading).
#pragma once

#include <cstdio>
#include <string>

#include "host/host_image.h"
#include "host/io/row_gate.h"

namespace gyhost {

bool ReadPng(std::FILE* file, HostImage* image, std::string* error);
// Writes 8-bit samples for an 8-bit image and 16-bit samples otherwise.
// zlib level 0..9 with the Up filter (none at 0); -1 (or out of range): level
// kDefaultPngLevel with zlib's run-length strategy, about a second for
// 8192x4096.
constexpr int kDefaultPngLevel = 1;
bool WritePng(std::FILE* file, const HostImage& image, int level, std::string* error);
// The same file with `meta` for the picture's own, each row read once
// `gate` lets it; false without an error when the gate stops the writing.
bool WritePng(std::FILE* file, const HostImage& image, const ImageMetadata& meta, int level, const RowGate& gate,
              std::string* error);

}  // namespace gyhost
