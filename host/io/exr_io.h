// OpenEXR files: half or float channels R, G, B (or Y) and an optional A,
// always held as 32-bit floats in the host.
#pragma once

#include <string>

#include "host/host_image.h"

namespace gyhost {

bool ReadExr(const std::string& path, HostImage* image, std::string* error);
// Writes float channels whatever the image's depth (8 and 16 bits become 0..1).
bool WriteExr(const std::string& path, const HostImage& image, std::string* error);

}  // namespace gyhost
