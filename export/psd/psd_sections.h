// The sections of a layered document around its layers: header, colour
// mode data, image resources and the flattened image (the layer and mask
// information is psd_layers.h). Each takes a size-only flag: with 1 it
// answers the section's byte count and writes nothing; with 0 it writes and
// answers 0 or the first failure.
#pragma once

#include <cstdint>

struct Globals;
struct PSDdoc;
struct PyramidDescriptor;
struct TIPTCThing;
struct TEXIFThing;

// What the resources carry besides the fixed blocks; each may be absent
// (null or zero length).
struct PsdMetadata {
  const uint8_t* icc;
  uint32_t iccLength;
  const TIPTCThing* iptc;  // built without the JPEG header
  const TEXIFThing* exif;  // built without the "Exif" prefix
};

// Channels the header declares: 4 for 16-bit canvases, 3 otherwise.
int32_t PsdHeaderChannels(const PyramidDescriptor* canvas);

int64_t WrPSD_file_header_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork, uint8_t sizeOnly);
int64_t WrPSD_color_mode_data_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork,
                                      uint8_t sizeOnly);
int64_t WrPSD_image_resources_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork,
                                      uint8_t sizeOnly, const PsdMetadata* metadata);
int64_t WrPSD_image_data_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork, uint8_t sizeOnly);
