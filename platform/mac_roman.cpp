#include "platform/mac_roman.h"

#include <cstdint>

#include "platform/mac_roman_table.h"

namespace {

// Length of the UTF-8 sequence that encodes code point u.
size_t Utf8Length(char32_t u) { return u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4; }

void PutUtf8(char32_t u, char* out) {
  switch (Utf8Length(u)) {
    case 1: out[0] = char(u); break;
    case 2:
      out[0] = char(0xC0 | (u >> 6));
      out[1] = char(0x80 | (u & 0x3F));
      break;
    case 3:
      out[0] = char(0xE0 | (u >> 12));
      out[1] = char(0x80 | ((u >> 6) & 0x3F));
      out[2] = char(0x80 | (u & 0x3F));
      break;
    default:
      out[0] = char(0xF0 | (u >> 18));
      out[1] = char(0x80 | ((u >> 12) & 0x3F));
      out[2] = char(0x80 | ((u >> 6) & 0x3F));
      out[3] = char(0x80 | (u & 0x3F));
  }
}

// Decodes one UTF-8 character at s; false for a malformed, overlong or
// surrogate sequence (then *used is 1 so the caller can go on).
bool NextUtf8(const unsigned char* s, char32_t* u, size_t* used) {
  *used = 1;
  const unsigned char c = s[0];
  if (c < 0x80) {
    *u = c;
    return true;
  }
  size_t n;
  char32_t v;
  if ((c & 0xE0) == 0xC0) {
    n = 2;
    v = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    n = 3;
    v = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    n = 4;
    v = c & 0x07;
  } else {
    return false;
  }
  for (size_t i = 1; i < n; ++i) {
    if ((s[i] & 0xC0) != 0x80) return false;  // also stops at the NUL
    v = (v << 6) | (s[i] & 0x3F);
  }
  if (v < 0x80 || Utf8Length(v) != n || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
  *u = v;
  *used = n;
  return true;
}

int RomanByteOf(char32_t u) {
  if (u < 0x80) return int(u);
  for (int i = 0; i < 128; ++i)
    if (kMacRomanUpperHalf[i] == u) return 0x80 + i;
  return -1;
}

}  // namespace

char32_t MacRomanToUnicode(unsigned char c) { return c < 0x80 ? char32_t(c) : char32_t(kMacRomanUpperHalf[c - 0x80]); }

bool MacRomanToUtf8(const char* roman, char* out, size_t outSize) {
  if (!out || outSize == 0) return false;
  size_t at = 0;
  bool whole = true;
  for (const unsigned char* s = reinterpret_cast<const unsigned char*>(roman); s && *s; ++s) {
    const char32_t u = MacRomanToUnicode(*s);
    const size_t n = Utf8Length(u);
    if (at + n >= outSize) {
      whole = false;
      break;
    }
    PutUtf8(u, out + at);
    at += n;
  }
  out[at] = '\0';
  return whole;
}

bool Utf8ToMacRoman(const char* utf8, char* out, size_t outSize) {
  if (!out || outSize == 0) return false;
  size_t at = 0;
  bool whole = true;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
  while (s && *s) {
    if (at + 1 >= outSize) {
      whole = false;
      break;
    }
    char32_t u = 0;
    size_t used = 1;
    int byte = -1;
    if (NextUtf8(s, &u, &used)) byte = RomanByteOf(u);
    if (byte < 0) {
      whole = false;
      byte = '?';
    }
    out[at++] = char(byte);
    s += used;
  }
  out[at] = '\0';
  return whole;
}
