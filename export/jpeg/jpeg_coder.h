// Baseline JPEG coding between a pyramid's level 0 and a byte block in
// memory. The coder never writes past the caller's buffer nor reads past the
// data it is given, and a fault of the library (a damaged stream, a full
// buffer, no memory) ends the call with kJpegFailed instead of ending the
// process.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct PyramidDescriptor;
struct TIPTCThing;
struct TEXIFThing;

constexpr uint32_t kJpegOK = 0;
constexpr uint32_t kJpegFailed = 1;

// The comment every stream carries right after its header.
inline constexpr char kJpegComment[] = "gyrelle 2 sphere projection";
static_assert(sizeof kJpegComment == 28, "the comment marker holds 27 characters and a NUL");

// Codes the area's size (at least 16 x 16) of the source's level 0, always
// from its top-left corner, with edge pixels repeated where the source is
// smaller. quality 0..99 (clamped); useLibraryScaling 0 selects our own
// tables by quality tenth. The ICC profile is embedded when iccData is given;
// the EXIF block (APP1) and the IPTC block (APP13) when their builders are
// given, built here in their JPEG forms unless they hold a block already.
uint32_t CompressJPEG(const PyramidDescriptor* source, const Rect* area, uint8_t* buffer, uint32_t bufferSize,
                      int16_t quality, uint8_t useLibraryScaling, uint32_t* sizeOut, uint32_t iccLength,
                      const uint8_t* iccData, TIPTCThing* iptc, TEXIFThing* exif);

// Decodes into level 0 of a pyramid of 4 bytes (r, g, b, 255) or 1 byte
// (grey) per pixel, from (0, 0); only what lies inside both the area's size
// and the level is stored.
uint32_t DecompressJPEG(PyramidDescriptor* target, const Rect* area, const uint8_t* data, uint32_t length);
