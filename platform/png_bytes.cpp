#include "platform/png_bytes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr size_t kMaxKeywordBytes = 79;

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void PutBig32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data) {
  PutBig32(out, uint32_t(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  PutBig32(out, Crc32(out->data() + start, out->size() - start) ^ 0xFFFFFFFFu);
}

std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  constexpr size_t kBlock = 65535;
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min(kBlock, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + std::ptrdiff_t(at), raw.begin() + std::ptrdiff_t(at + n));
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  PutBig32(&z, (b << 16) | a);
  return z;
}

bool UsableKeyword(const char* k) {
  const size_t n = k ? std::strlen(k) : 0;
  if (n < 1 || n > kMaxKeywordBytes || k[0] == ' ' || k[n - 1] == ' ') return false;
  for (size_t i = 0; i < n; ++i)
    if (uint8_t(k[i]) < 32 || (uint8_t(k[i]) > 126 && uint8_t(k[i]) < 161)) return false;
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePNG(const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                               int32_t channels, const PNGText* texts, int32_t textCount) {
  if (!pixels || width < 1 || height < 1 || (channels != 3 && channels != 4)) return {};
  for (int32_t i = 0; i < textCount; ++i)
    if (!UsableKeyword(texts[i].keyword) || !texts[i].text) return {};
  const size_t lineBytes = size_t(width) * size_t(channels);
  std::vector<uint8_t> raw;
  raw.reserve((lineBytes + 1) * size_t(height));
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    const uint8_t* row = pixels + size_t(rowBytes) * size_t(y);
    raw.insert(raw.end(), row, row + lineBytes);
  }
  std::vector<uint8_t> header;
  PutBig32(&header, uint32_t(width));
  PutBig32(&header, uint32_t(height));
  header.insert(header.end(), {8, uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(&file, "IHDR", header);
  for (int32_t i = 0; i < textCount; ++i) {
    std::vector<uint8_t> t(texts[i].keyword, texts[i].keyword + std::strlen(texts[i].keyword));
    t.push_back(0);
    t.insert(t.end(), texts[i].text, texts[i].text + std::strlen(texts[i].text));
    PutChunk(&file, "tEXt", t);
  }
  PutChunk(&file, "IDAT", StoredZlib(raw));
  PutChunk(&file, "IEND", {});
  return file;
}
