#include "export/exif.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint8_t kExifHeader[kExifHeaderBytes] = {'E', 'x', 'i', 'f', 0, 0};
// "MM", 42, IFD0 at 8; one entry: Software (0x0131), ASCII, 10 characters
// at offset 26; no next IFD; then the text.
constexpr uint8_t kExifBody[kExifBlockBytes] = {
    'M', 'M', 0x00, 0x2A, 0, 0, 0, 8, 0, 1, 0x01, 0x31, 0, 2, 0, 0, 0, 10, 0, 0, 0, 26, 0, 0, 0, 0,
    'G', 'y', 'r', 'e', 'l', 'l', 'e', ' ', '2', 0};

}  // namespace

void InitEXIF(TEXIFThing* exif) {
  if (!exif) return;
  std::memset(exif, 0, sizeof *exif);
}

int32_t build_EXIF_resource(TEXIFThing* exif, uint8_t withExifHeader, uint8_t sizeOnly) {
  if (!exif || exif->buffer) return 0;
  const uint32_t total = (withExifHeader ? kExifHeaderBytes : 0) + kExifBlockBytes;
  if (sizeOnly) return int32_t(total);
  exif->buffer = static_cast<uint8_t*>(std::malloc(total));
  if (!exif->buffer) return 0;
  exif->cursor = exif->buffer;
  if (withExifHeader) {
    std::memcpy(exif->cursor, kExifHeader, kExifHeaderBytes);
    exif->cursor += kExifHeaderBytes;
  }
  std::memcpy(exif->cursor, kExifBody, kExifBlockBytes);
  exif->cursor += kExifBlockBytes;
  exif->length = total;
  return int32_t(total);
}

void dispose_EXIF_resource_memory(TEXIFThing* exif, uint8_t keep) {
  if (!exif || keep == 1) return;
  std::free(exif->buffer);
  exif->buffer = exif->cursor = nullptr;
  exif->length = 0;
}
