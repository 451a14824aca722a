#include "export/psd/psd_pixels.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "export/psd/psd_doc.h"
#include "export/psd/psd_sink.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr int32_t kCheckerLight8 = 255, kCheckerDark8 = 204;
constexpr int32_t kCheckerLight16 = 32640, kCheckerDark16 = 26112;
constexpr int32_t kFull16 = 32768;

// Component index in memory order of a writer channel: red, green, blue,
// transparency.
int32_t ComponentOf(int32_t channel) { return channel >= 1 && channel <= 3 ? channel - 1 : 3; }

uint8_t Byte8(const uint8_t* px, int32_t component) {
  uint32_t v;
  std::memcpy(&v, px, 4);
  return uint8_t(v >> (24 - 8 * component));
}

int32_t Value16(const uint8_t* px, int32_t component) {
  uint16_t v;
  std::memcpy(&v, px + 2 * component, 2);
  return v;
}

uint16_t Out16(int32_t v) { return v >= kFull16 ? 65535 : uint16_t(v < 0 ? 0 : 2 * v); }

void Put16(PsdSink* s, uint16_t v) {
  PsdPlaneByte(s, uint8_t(v >> 8));
  PsdPlaneByte(s, uint8_t(v));
}

void PutFloatBits(PsdSink* s, const uint8_t* at) {
  uint32_t bits;
  std::memcpy(&bits, at, 4);
  for (int k = 3; k >= 0; --k) PsdPlaneByte(s, uint8_t(bits >> (8 * k)));
}

bool Checker(int32_t x, int32_t y) { return ((x ^ y) & 8) == 0; }

// Calls f(x, pixel) for every pixel of row y, one tile span at a time, so
// the tile lookup happens once per span rather than once per pixel.
template <typename F>
void ForRow(const PyramidDescriptor* c, int32_t y, int32_t width, F f) {
  for (int32_t x0 = 0; x0 < width; x0 += kPyramidTileSize) {
    const int32_t x1 = std::min(width, x0 + kPyramidTileSize);
    const uint8_t* px = PyramidPixelAddress(c, 0, x0, y);
    for (int32_t x = x0; x < x1; ++x, px += c->bytesPerPixel) f(x, px);
  }
}

void RawRow(PsdSink* s, const PyramidDescriptor* c, int32_t y, int32_t width, int32_t component) {
  switch (c->dataKind) {
    case PyramidDataKind_Packed8:
      ForRow(c, y, width, [&](int32_t, const uint8_t* px) { PsdPlaneByte(s, Byte8(px, component)); });
      break;
    case PyramidDataKind_Four16:
      ForRow(c, y, width, [&](int32_t, const uint8_t* px) { Put16(s, Out16(Value16(px, component))); });
      break;
    case PyramidDataKind_FourFloat:
      ForRow(c, y, width, [&](int32_t, const uint8_t* px) { PutFloatBits(s, px + 4 * component); });
      break;
    default:
      for (int32_t x = 0; x < width * c->bytesPerChannel; ++x) PsdPlaneByte(s, 0);
      break;
  }
}

void CompositeRow(PsdSink* s, const PyramidDescriptor* c, int32_t y, int32_t width, int32_t component) {
  switch (c->dataKind) {
    case PyramidDataKind_Packed8:
      ForRow(c, y, width, [&](int32_t x, const uint8_t* px) {
        const int32_t a = Byte8(px, 3), v = Byte8(px, component);
        const int32_t k = Checker(x, y) ? kCheckerLight8 : kCheckerDark8;
        PsdPlaneByte(s, uint8_t(((255 - a) * k + a * v) / 255));
      });
      break;
    case PyramidDataKind_Four16:
      if (component == 3) {
        for (int32_t x = 0; x < width; ++x) Put16(s, 65535);
        break;
      }
      ForRow(c, y, width, [&](int32_t x, const uint8_t* px) {
        const int32_t a = std::min(Value16(px, 3), kFull16), v = std::min(Value16(px, component), kFull16);
        const int32_t k = Checker(x, y) ? kCheckerLight16 : kCheckerDark16;
        Put16(s, Out16(((kFull16 - a) * k + a * v) >> 15));
      });
      break;
    case PyramidDataKind_FourFloat:
      ForRow(c, y, width, [&](int32_t, const uint8_t* px) { PutFloatBits(s, px + 4 * component); });
      break;
    case PyramidDataKind_GreyFloat:
      ForRow(c, y, width, [&](int32_t, const uint8_t* px) { PutFloatBits(s, px); });
      break;
    default:
      for (int32_t x = 0; x < width * c->bytesPerChannel; ++x) PsdPlaneByte(s, 0);
      break;
  }
}

using RowWriter = void (*)(PsdSink*, const PyramidDescriptor*, int32_t, int32_t, int32_t);

void Plane(PsdSink* s, const PyramidDescriptor* c, const PSDdoc* doc, int32_t component, RowWriter row) {
  const int64_t n = PsdPlaneBytes(doc);
  PsdPlaneBegin(s);
  if (!s->sizeOnly && s->error == 0) {
    // The canvas may be smaller than the document only when its allocation
    // was refused, and then nothing is written at all.
    for (int32_t y = 0; y < doc->height; ++y) row(s, c, y, doc->width, component);
  }
  PsdPlaneEnd(s, n);
}

}  // namespace

int64_t PsdPlaneBytes(const PSDdoc* doc) {
  return int64_t(doc->width) * int64_t(doc->height) * int64_t(doc->bytesPerChannel);
}

void WrPSD_channel_image_data_fast(int32_t channel, uint8_t writeCompressionWord, const PyramidDescriptor* canvas,
                                   const PSDdoc* doc, PsdSink* sink) {
  if (writeCompressionWord) PsdPut16(sink, 0);
  Plane(sink, canvas, doc, ComponentOf(channel), RawRow);
}

void WrPSD_4channels_image_data(const PyramidDescriptor* canvas, const PSDdoc* doc, PsdSink* sink) {
  for (int32_t channel : {0, 1, 2, 3}) WrPSD_channel_image_data_fast(channel, 1, canvas, doc, sink);
}

void WrPSD_composite_planes(PsdSink* sink, const PyramidDescriptor* canvas, const PSDdoc* doc) {
  const int32_t planes = canvas->dataKind == PyramidDataKind_Four16 ? 4 : 3;
  for (int32_t component = 0; component < planes; ++component) Plane(sink, canvas, doc, component, CompositeRow);
}
