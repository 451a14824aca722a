// export/metadata/: what the exported files say of themselves: EXIF, IPTC, keywords, colour profile.
// The small EXIF block of every exported document: a big-endian TIFF
// structure whose one IFD names the software and carries the resolution and
// sample-positioning tags that readers of JPEG files require beside it
// ("Exif" and two NULs come first in a JPEG stream's APP1 segment).
#pragma once

#include <cstdint>

constexpr uint32_t kExifBlockBytes = 100;
constexpr uint32_t kExifHeaderBytes = 6;

struct TEXIFThing {
  uint32_t length;
  uint8_t* buffer;  // null until the write pass
  uint8_t* cursor;
};

void InitEXIF(TEXIFThing* exif);
// The block's length; 0 for a null builder, one that holds a buffer
// already, or no memory.
int32_t build_EXIF_resource(TEXIFThing* exif, uint8_t withExifHeader, uint8_t sizeOnly);
void dispose_EXIF_resource_memory(TEXIFThing* exif, uint8_t keep);
