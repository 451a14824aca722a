#include "export/metadata/exif.h"

#include <cstdlib>
#include <cstring>

#include "export/metadata/metadata_bytes.h"

namespace {

constexpr uint8_t kExifHeader[kExifHeaderBytes] = {'E', 'x', 'i', 'f', 0, 0};
constexpr char kSoftware[] = "Gyrelle 2";  // written with its NUL

enum : uint16_t { kTypeAscii = 2, kTypeShort = 3, kTypeLong = 4, kTypeRational = 5 };

// One IFD entry: tag, type, count and either the value itself (left-justified
// in the four bytes) or the offset of the value from the TIFF header.
struct IfdEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t valueOrOffset;
};

constexpr uint32_t kIfdOffset = 8;
constexpr uint16_t kEntryCount = 5;
constexpr uint32_t kValuesAt = kIfdOffset + 2 + kEntryCount * 12 + 4;
constexpr uint32_t kXResolutionAt = kValuesAt;
constexpr uint32_t kYResolutionAt = kXResolutionAt + 8;
constexpr uint32_t kSoftwareAt = kYResolutionAt + 8;
constexpr uint16_t kInches = 2;
constexpr uint16_t kCentred = 1;
constexpr uint32_t kDotsPerInch = 72;  // as the layered document's resolution resource

// In ascending tag order, as the TIFF structure requires.
constexpr IfdEntry kEntries[kEntryCount] = {
    {0x011A, kTypeRational, 1, kXResolutionAt},                  // XResolution
    {0x011B, kTypeRational, 1, kYResolutionAt},                  // YResolution
    {0x0128, kTypeShort, 1, uint32_t(kInches) << 16},            // ResolutionUnit
    {0x0131, kTypeAscii, uint32_t(sizeof kSoftware), kSoftwareAt},  // Software
    {0x0213, kTypeShort, 1, uint32_t(kCentred) << 16},           // YCbCrPositioning
};
static_assert(kSoftwareAt + sizeof kSoftware == kExifBlockBytes);

uint32_t Put(TEXIFThing* e, const void* bytes, uint32_t n, uint8_t sizeOnly) {
  return PutMetadataBytes(e, bytes, n, sizeOnly);
}

uint32_t Put16(TEXIFThing* e, uint16_t v, uint8_t sizeOnly) {
  const uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
  return Put(e, b, 2, sizeOnly);
}

uint32_t Put32(TEXIFThing* e, uint32_t v, uint8_t sizeOnly) {
  const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  return Put(e, b, 4, sizeOnly);
}

uint32_t AppendBlock(TEXIFThing* e, uint8_t withExifHeader, uint8_t sizeOnly) {
  uint32_t n = withExifHeader ? Put(e, kExifHeader, kExifHeaderBytes, sizeOnly) : 0;
  n += Put(e, "MM", 2, sizeOnly) + Put16(e, 42, sizeOnly) + Put32(e, kIfdOffset, sizeOnly);
  n += Put16(e, kEntryCount, sizeOnly);
  for (const IfdEntry& entry : kEntries)
    n += Put16(e, entry.tag, sizeOnly) + Put16(e, entry.type, sizeOnly) + Put32(e, entry.count, sizeOnly) +
         Put32(e, entry.valueOrOffset, sizeOnly);
  n += Put32(e, 0, sizeOnly);  // no next IFD
  for (int k = 0; k < 2; ++k) n += Put32(e, kDotsPerInch, sizeOnly) + Put32(e, 1, sizeOnly);
  n += Put(e, kSoftware, uint32_t(sizeof kSoftware), sizeOnly);
  return n;
}

}  // namespace

void InitEXIF(TEXIFThing* exif) {
  if (!exif) return;
  std::memset(exif, 0, sizeof *exif);
}

int32_t build_EXIF_resource(TEXIFThing* exif, uint8_t withExifHeader, uint8_t sizeOnly) {
  if (!exif || exif->buffer) return 0;
  const uint32_t total = AppendBlock(exif, withExifHeader, 1);
  if (sizeOnly) return int32_t(total);
  exif->buffer = static_cast<uint8_t*>(std::malloc(total));
  if (!exif->buffer) return 0;
  exif->cursor = exif->buffer;
  exif->length = 0;
  AppendBlock(exif, withExifHeader, 0);
  return int32_t(exif->length);
}

void dispose_EXIF_resource_memory(TEXIFThing* exif, uint8_t keep) {
  if (!exif || keep == 1) return;
  std::free(exif->buffer);
  exif->buffer = exif->cursor = nullptr;
  exif->length = 0;
}
