// A reader of the layered documents we write, written from the published
// format independently of the writer: it walks every section by its length
// fields and fails on any field that disagrees with what follows, so a
// count that differs from the bytes written is caught.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PsdLayer {
  int32_t top, left, bottom, right;
  std::vector<std::pair<int16_t, uint32_t>> channels;  // id, length
  uint8_t opacity, flags;
  std::string name;
  std::vector<std::vector<uint8_t>> data;  // per channel, raw samples (after the compression word)
};

struct PsdResource {
  uint16_t id;
  std::vector<uint8_t> data;
};

struct PsdFile {
  uint16_t channels, depth, mode;
  uint32_t width, height;
  std::vector<uint8_t> colourModeData;
  std::vector<PsdResource> resources;
  uint32_t layerSectionLength;
  std::string layerBlockKey;  // "" for 8-bit, "Lr16" or "Lr32"
  std::vector<PsdLayer> layers;
  std::vector<std::vector<uint8_t>> composite;  // per plane, big-endian samples
};

// Empty error text on success.
std::string ReadPsd(const std::vector<uint8_t>& bytes, PsdFile* out);
// The whole file, or nothing if it cannot be read (with the shared
// fixtures, tests/support/settings_host.cpp).
std::vector<uint8_t> ReadWholeFile(const std::string& path);
const PsdResource* FindResource(const PsdFile& f, uint16_t id);
