#include "export/psd/psd_sections.h"

#include "export/metadata/exif.h"
#include "export/metadata/iptc.h"
#include "export/maker.h"
#include "export/psd/psd_doc.h"
#include "export/psd/psd_pixels.h"
#include "export/psd/psd_sink.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

// The print record every document carries, value for value.
constexpr uint16_t kPrintRecord[60] = {
    0x0028, 0,      0x0048, 0x0048, 0,      0,      0x02E7, 0x0252, 0xFFF7, 0xFFF7, 0x030F, 0x025B,
    0x2002, 0x0528, 0x03FC, 0,      0,      0x0168, 0x0168, 0,      0,      0x0E83, 0x0B9A, 0x0174,
    0x0032, 0x0B9A, 0x48A8, 0x004B, 1,      0x0101, 0,      1,      0x270F, 1,      1,      0,
    0,      0,      0,      0,      0,      0,      0,      0,      0,      1,      0x0064, 0x0300,
    0,      0,      0,      0x0203, 0x20B1, 0x0400, 0x1200, 0x0300, 0x4500, 0,      0x3644, 0x6120};

// The colour mode data of float documents.
constexpr uint8_t kHdrtBlock[] = {
    0x68, 0x64, 0x72, 0x74, 0x00, 0x00, 0x00, 0x03, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
    0x08, 0x00, 'D',  0x00, 'e',  0x00, 'f',  0x00, 'a',  0x00, 'u',  0x00, 'l',  0x00, 't',  0x00, 0x00, 0x00, 0x02,
    0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x41, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00};
static_assert(sizeof kHdrtBlock == 74);

bool IsFloat(const PyramidDescriptor* c) {
  return c->dataKind == PyramidDataKind_GreyFloat || c->dataKind == PyramidDataKind_FourFloat;
}

int64_t Answer(const PsdSink& s) { return s.sizeOnly ? s.count : s.error; }

void ResourceHead(PsdSink* s, uint16_t id, uint32_t length) {
  PsdPutBytes(s, "8BIM", 4);
  PsdPut16(s, id);
  PsdPut16(s, 0);  // empty name
  PsdPut32(s, length);
}

void WrPSD_print_info_record(PsdSink* s) {
  ResourceHead(s, 1001, sizeof kPrintRecord);
  for (uint16_t v : kPrintRecord) PsdPut16(s, v);
}

void WrPSD_URL_resource(PsdSink* s, const char* url, uint32_t n) {
  ResourceHead(s, 1035, n);
  PsdPutBytes(s, url, n);
  if (n & 1) PsdPut8(s, 0);
}

void FixedResources(PsdSink* s) {
  ResourceHead(s, 1005, 16);  // 72 pixels per inch both ways
  for (int k = 0; k < 2; ++k) {
    PsdPut32(s, 0x00480000);
    PsdPut16(s, 1);
    PsdPut16(s, 1);
  }
  ResourceHead(s, 1011, 9);
  PsdPutZeros(s, 8);
  PsdPut8(s, 1);
  PsdPut8(s, 0);
  ResourceHead(s, 1016, 112);
  for (int k = 0; k < 4; ++k) {
    PsdPut16(s, 0);
    for (int j = 0; j < 11; ++j) PsdPut16(s, 0xFFFF);
    PsdPut16(s, 1000);
    PsdPut16(s, 0);
  }
}

}  // namespace

int32_t PsdHeaderChannels(const PyramidDescriptor* canvas) {
  return canvas && (canvas->dataKind == PyramidDataKind_Grey16 || canvas->dataKind == PyramidDataKind_Four16) ? 4
                                                                                                              : 3;
}

int64_t WrPSD_file_header_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork, uint8_t sizeOnly) {
  PsdSink s = PsdSinkFor(fork, sizeOnly);
  PsdPutBytes(&s, "8BPS", 4);
  PsdPut16(&s, 1);
  PsdPutZeros(&s, 6);
  PsdPut16(&s, uint16_t(PsdHeaderChannels(canvas)));
  PsdPut32(&s, uint32_t(doc->height));
  PsdPut32(&s, uint32_t(doc->width));
  PsdPut16(&s, uint16_t(8 * doc->bytesPerChannel));
  PsdPut16(&s, doc->channels == 1 ? 1 : 3);
  return Answer(s);
}

int64_t WrPSD_color_mode_data_section(const PyramidDescriptor* canvas, const PSDdoc*, int16_t fork, uint8_t sizeOnly) {
  PsdSink s = PsdSinkFor(fork, sizeOnly);
  if (IsFloat(canvas)) {
    PsdPut32(&s, sizeof kHdrtBlock);
    PsdPutBytes(&s, kHdrtBlock, sizeof kHdrtBlock);
  } else {
    PsdPut32(&s, 0);
  }
  return Answer(s);
}

namespace {

void AllResources(PsdSink* s, const PyramidDescriptor* canvas, const PSDdoc* doc, const PsdMetadata* m) {
  const bool layered = !doc->oneFilePerLayer;
  WrPSD_print_info_record(s);
  FixedResources(s);
  WrPSD_URL_resource(s, kMakerWebAddress, sizeof kMakerWebAddress - 1);
  if (m && m->icc && m->iccLength > 0) {
    ResourceHead(s, 1039, m->iccLength);
    PsdPutBytes(s, m->icc, m->iccLength);
    // Every resource starts on an even offset; an odd profile left unpadded
    // would shift every block after it.
    if (m->iccLength & 1) PsdPut8(s, 0);
  }
  if (m && m->iptc && m->iptc->buffer && m->iptc->length > 0) PsdPutBytes(s, m->iptc->buffer, m->iptc->length);
  if (m && m->exif && m->exif->buffer && m->exif->length > 0) {
    ResourceHead(s, 1058, m->exif->length);
    PsdPutBytes(s, m->exif->buffer, m->exif->length);
    if (m->exif->length & 1) PsdPut8(s, 0);
  }
  if (layered && IsFloat(canvas)) {
    ResourceHead(s, 1069, 6);
    const uint8_t v[6] = {0, 1, 0, 0, 0, 0x0C};
    PsdPutBytes(s, v, 6);
    ResourceHead(s, 1072, uint32_t(doc->layerCount));
    for (int32_t k = 0; k < doc->layerCount; ++k) PsdPut8(s, 1);
    if (doc->layerCount & 1) PsdPut8(s, 0);
  }
  if (layered) {
    ResourceHead(s, 1024, 2);
    PsdPut16(s, uint16_t(doc->layerCount));
    ResourceHead(s, 1026, uint32_t(2 * doc->layerCount));
    for (int32_t k = 0; k < doc->layerCount; ++k) PsdPut16(s, 0);
  }
}

}  // namespace

int64_t WrPSD_image_resources_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork,
                                      uint8_t sizeOnly, const PsdMetadata* metadata) {
  PsdSink count = PsdSinkFor(fork, 1);
  AllResources(&count, canvas, doc, metadata);
  PsdSink s = PsdSinkFor(fork, sizeOnly);
  PsdPut32(&s, uint32_t(count.count));
  if (sizeOnly)
    s.count += count.count;
  else
    AllResources(&s, canvas, doc, metadata);
  return Answer(s);
}

int64_t WrPSD_image_data_section(const PyramidDescriptor* canvas, const PSDdoc* doc, int16_t fork, uint8_t sizeOnly) {
  PsdSink s = PsdSinkFor(fork, sizeOnly);
  PsdPut16(&s, 0);  // raw samples
  WrPSD_composite_planes(&s, canvas, doc);
  return Answer(s);
}
