// The byte appender both metadata builders (IPTC and EXIF) run twice: a
// size pass that only counts and a write pass that stores into the buffer
// the size pass sized.
#pragma once

#include <cstdint>
#include <cstring>

template <typename Builder>
uint32_t PutMetadataBytes(Builder* b, const void* bytes, uint32_t n, uint8_t sizeOnly) {
  if (!sizeOnly) {
    std::memcpy(b->cursor, bytes, n);
    b->cursor += n;
    b->length += n;
  }
  return n;
}
