// The pixel planes of a layered document, row by row from level 0 of the
// canvas: a layer's raw channel blocks and the flattened picture.
#pragma once

#include <cstdint>

struct PSDdoc;
struct PsdSink;
struct PyramidDescriptor;

// Bytes of one plane of the canvas at the document's depth.
int64_t PsdPlaneBytes(const PSDdoc* doc);
// One layer channel (1 red, 2 green, 3 blue, 0 or 4 transparency) as raw
// samples, after its compression word when asked: 16-bit samples as stored
// doubled (full scale 32768 becomes 65535), floats as stored.
void WrPSD_channel_image_data_fast(int32_t channel, uint8_t writeCompressionWord, const PyramidDescriptor* canvas,
                                   const PSDdoc* doc, PsdSink* sink);
// The four channel blocks of a layer: transparency, red, green, blue.
void WrPSD_4channels_image_data(const PyramidDescriptor* canvas, const PSDdoc* doc, PsdSink* sink);
// The flattened planes: 8- and 16-bit colour over a checkerboard of 8-pixel
// squares (16-bit with a fourth, opaque plane), floats as stored.
void WrPSD_composite_planes(PsdSink* sink, const PyramidDescriptor* canvas, const PSDdoc* doc);
