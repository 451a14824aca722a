#include "export/metadata/iptc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "export/maker.h"
#include "export/metadata/metadata_bytes.h"
#include "frame/base/dates.h"
#include "frame/base/text_utils.h"

namespace {

constexpr uint8_t kDatasetMarker = 0x1C;
constexpr uint8_t kApplicationRecord = 2;
constexpr uint8_t kRecordVersionTag = 0;
constexpr uint8_t kSourceTag = 115;
constexpr uint8_t kDateCreatedTag = 55;
constexpr uint8_t kCaptionTag = 120;
constexpr uint8_t kKeywordTag = 25;
constexpr char kCaption[] = "Made with Gyrelle 2";
constexpr char kPhotoshopHeader[] = "Photoshop 3.0";  // with its NUL
constexpr int32_t kMaxKeywordLength = kIptcKeywordBytes - 1;

uint32_t Put(TIPTCThing* t, const void* bytes, uint32_t n, uint8_t sizeOnly) {
  return PutMetadataBytes(t, bytes, n, sizeOnly);
}

uint32_t PutByte(TIPTCThing* t, uint8_t v, uint8_t sizeOnly) { return Put(t, &v, 1, sizeOnly); }

uint32_t Dataset(TIPTCThing* t, uint8_t tag, const void* data, uint16_t n, uint8_t sizeOnly) {
  const uint8_t head[5] = {kDatasetMarker, kApplicationRecord, tag, uint8_t(n >> 8), uint8_t(n)};
  return Put(t, head, 5, sizeOnly) + Put(t, data, n, sizeOnly);
}

}  // namespace

void InitIPTC(TIPTCThing* iptc) {
  if (!iptc) return;
  std::memset(iptc, 0, sizeof *iptc);
}

void AddIPTCKeyword(TIPTCThing* iptc, const char* text) {
  if (!iptc || !text || !text[0]) return;
  const size_t n = std::strlen(text);
  if (n > size_t(kMaxKeywordLength)) return;
  if (iptc->keywordCount < 0 || iptc->keywordCount >= kIptcMaxKeywords) return;
  for (int32_t k = 0; k < iptc->keywordCount; ++k) {
    const char* old = iptc->keywords[k];
    // Only an earlier keyword at least as long can start with the new text.
    if (std::strlen(old) >= n && AMatchesB_nocase(text, old, int32_t(n), 0)) return;
  }
  std::memcpy(iptc->keywords[iptc->keywordCount], text, n + 1);
  ++iptc->keywordCount;
}

uint32_t append_all_iptc_tags(TIPTCThing* iptc, uint8_t sizeOnly) {
  if (!iptc) return 0;
  uint32_t n = 0;
  const uint8_t version[2] = {0, 2};
  n += Dataset(iptc, kRecordVersionTag, version, 2, sizeOnly);
  n += Dataset(iptc, kSourceTag, kMakerWebAddress, uint16_t(sizeof kMakerWebAddress - 1), sizeOnly);
  int32_t year = 0, month = 0, day = 0, hour = 0;
  UTCYearMonthDayHour(&year, &month, &day, &hour);
  char date[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d", int(year % 10000), int(month % 100), int(day % 100));
  n += Dataset(iptc, kDateCreatedTag, date, 8, sizeOnly);
  n += Dataset(iptc, kCaptionTag, kCaption, uint16_t(sizeof kCaption - 1), sizeOnly);
  n += Dataset(iptc, kKeywordTag, kProductName, uint16_t(sizeof kProductName - 1), sizeOnly);
  for (int32_t k = 0; k < kIptcKeywordSlots; ++k) {
    const char* w = iptc->keywords[k];
    if (w[0]) n += Dataset(iptc, kKeywordTag, w, uint16_t(strnlen(w, kMaxKeywordLength)), sizeOnly);
  }
  if (n & 1) n += PutByte(iptc, 0, sizeOnly);
  return n;
}

uint32_t build_IPTC_resource(TIPTCThing* iptc, uint8_t withPhotoshopHeader, uint8_t sizeOnly) {
  if (!iptc || iptc->buffer) return 0;
  const uint32_t datasets = append_all_iptc_tags(iptc, 1);
  const uint32_t total = (withPhotoshopHeader ? uint32_t(sizeof kPhotoshopHeader) : 0) + 12 + datasets;
  if (sizeOnly) return total;
  // Nineteen long keywords need more than the usual 1000 bytes: the buffer
  // is never smaller than what the size pass counted.
  const uint32_t capacity = total > kIptcBufferBytes ? total : kIptcBufferBytes;
  iptc->buffer = static_cast<uint8_t*>(std::malloc(capacity));
  if (!iptc->buffer) return 0;
  iptc->cursor = iptc->buffer;
  iptc->length = 0;
  if (withPhotoshopHeader) Put(iptc, kPhotoshopHeader, sizeof kPhotoshopHeader, 0);
  const uint8_t head[12] = {'8', 'B', 'I', 'M', 0x04, 0x04, 0, 0, uint8_t(datasets >> 24), uint8_t(datasets >> 16),
                            uint8_t(datasets >> 8), uint8_t(datasets)};
  Put(iptc, head, sizeof head, 0);
  append_all_iptc_tags(iptc, 0);
  return iptc->length;
}

void dispose_IPTC_resource_memory(TIPTCThing* iptc, uint8_t keep) {
  if (!iptc || keep == 1) return;
  std::free(iptc->buffer);
  iptc->buffer = iptc->cursor = nullptr;
  iptc->length = 0;
}
