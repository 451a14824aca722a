// JPEG files through libjpeg: 8-bit grey or RGB (other colour spaces are refused).
#pragma once

#include <cstdio>
#include <string>

#include "host/host_image.h"
#include "host/io/row_gate.h"

namespace gyhost {

bool ReadJpeg(std::FILE* file, HostImage* image, std::string* error);
// Deeper images are written as 8 bits; alpha is dropped (JPEG has none).
bool WriteJpeg(std::FILE* file, const HostImage& image, std::string* error);
// As WritePng's gated form.
bool WriteJpeg(std::FILE* file, const HostImage& image, const ImageMetadata& meta, const RowGate& gate,
               std::string* error);

}  // namespace gyhost
