// The small IPTC-NAA record every exported document carries (source, date,
// caption, keywords), as the same bytes for a layered document's image
// resource and a JPEG stream's APP13 segment. Built in two passes: a size
// pass that only counts, and a write pass that fills a buffer of its own.
#pragma once

#include <cstdint>

constexpr int32_t kIptcKeywordSlots = 20;
constexpr int32_t kIptcKeywordBytes = 50;
// Slot 20 always stays empty.
constexpr int32_t kIptcMaxKeywords = kIptcKeywordSlots - 1;
constexpr uint32_t kIptcBufferBytes = 1000;

struct TIPTCThing {
  uint32_t length;  // bytes written into the buffer so far
  uint8_t* buffer;  // null until the write pass
  uint8_t* cursor;
  char keywords[kIptcKeywordSlots][kIptcKeywordBytes];
  int32_t keywordCount;
};

void InitIPTC(TIPTCThing* iptc);
// Ignores a null or empty text, one longer than 49 characters, a call when
// 19 keywords are held already, and a text that equals or is a prefix of an
// earlier keyword (ASCII case folded): the order of calls decides which of
// two such words stays.
void AddIPTCKeyword(TIPTCThing* iptc, const char* text);
// The whole block ("Photoshop 3.0" and a NUL first when asked): its length,
// or 0 for a null builder, one that holds a buffer already, or no memory.
uint32_t build_IPTC_resource(TIPTCThing* iptc, uint8_t withPhotoshopHeader, uint8_t sizeOnly);
// The datasets and the pad byte that makes their total even.
uint32_t append_all_iptc_tags(TIPTCThing* iptc, uint8_t sizeOnly);
// Frees the buffer unless keep is 1; null-safe.
void dispose_IPTC_resource_memory(TIPTCThing* iptc, uint8_t keep);
