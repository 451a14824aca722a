// Reading back the PNG files the UI layer writes (8-bit RGB or RGBA,
// stored deflate blocks, no filters), for pixel probes and for comparing
// screenshots with reference images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProbedImage {
  int width = 0, height = 0, channels = 0;
  std::vector<uint8_t> pixels;  // rows of width * channels bytes
  const uint8_t* At(int x, int y) const { return pixels.data() + (size_t(y) * width + x) * channels; }
};

// False for files of any other make.
bool ReadLayerPNG(const std::string& path, ProbedImage* out);
// Any PNG, decoded by ImageMagick into RGB; false when it cannot.
bool ReadAnyPNG(const std::string& path, ProbedImage* out);

// Pixels whose channels differ by more than `tolerance` anywhere; -1 when
// the sizes differ.
int64_t CountDifferingPixels(const ProbedImage& a, const ProbedImage& b, int tolerance);

// Pixels of a screenshot that differ (by more than 8 in a channel) from the
// reference picture of that name in the test data; -1 when either cannot be
// read or the sizes differ. `pixels` gets the screenshot's pixel count.
int64_t DifferenceFromReference(const std::string& shownPath, const std::string& referenceName, int64_t* pixels);
