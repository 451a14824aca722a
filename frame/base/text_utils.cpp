#include "frame/base/text_utils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>

namespace {

constexpr int kWorkBufferSize = kStr255Capacity + 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

void deSpaceCString_core(char* s, bool keepDecimal) {
  if (!s) return;
  // The working copy holds 255 characters; a longer input is cut there
  // rather than run past the buffer.
  char work[kWorkBufferSize];
  const int32_t n = std::min<int32_t>(zor_PIstrlen(s), kStr255Capacity);
  std::memcpy(work, s, size_t(n));
  int32_t out = 0;
  for (int32_t i = 0; i < n; ++i) {
    const char c = work[i];
    if (IsDigit(c) || c == '+' || c == '-' || (keepDecimal && c == '.')) s[out++] = c;
  }
  s[out] = '\0';
}

// Blanks, then one sign; answers where the digits start and the sign.
const char* SkipToNumber(const char* s, const char* end, bool* negative) {
  while (s < end && IsBlank(*s)) ++s;
  *negative = false;
  if (s < end && (*s == '+' || *s == '-')) {
    *negative = *s == '-';
    ++s;
  }
  return s;
}

void CleanForDisplay(char* s) {
  for (; *s; ++s) {
    auto c = static_cast<unsigned char>(*s);
    if (c < 32) {
      c = ' ';
    } else if (c >= 128) {
      c = static_cast<unsigned char>((c & 127) + 32);
      if (c == '.') c = '_';
    }
    if (c == '/' || c == ':' || c == '\\') c = '_';
    *s = static_cast<char>(c);
  }
}

}  // namespace

int32_t zor_PIstrlen(const char* s) { return s ? int32_t(strnlen(s, kMaxCStringLength)) : 0; }

char* PIstrcpy(char* dst, const char* src) {
  if (!dst || !src) return dst;
  const int32_t n = zor_PIstrlen(src);
  std::memmove(dst, src, size_t(n));
  dst[n] = '\0';
  return dst;
}

char* PIstrcat(char* dst, const char* src) {
  if (!dst || !src) return dst;
  PIstrcpy(dst + zor_PIstrlen(dst), src);
  return dst;
}

void AppendCharToCString(char* s, char c) {
  if (!s) return;
  const int32_t n = zor_PIstrlen(s);
  s[n] = c;
  s[n + 1] = '\0';
}

void deSpaceCString(char* s) { deSpaceCString_core(s, false); }
void deSpaceCString_keeping_decimal(char* s) { deSpaceCString_core(s, true); }

int32_t MacCStringToNum(const char* s) {
  if (!s) return 0;
  const char* end = s + zor_PIstrlen(s);
  bool negative = false;
  const char* p = SkipToNumber(s, end, &negative);
  int64_t value = 0;
  bool any = false;
  for (; p < end && IsDigit(*p); ++p) {
    any = true;
    value = value * 10 + (*p - '0');
    if (value > int64_t(INT32_MAX) + 1) value = int64_t(INT32_MAX) + 1;  // saturated; keep scanning
  }
  if (!any) return 0;
  if (negative) return value > int64_t(INT32_MAX) ? INT32_MIN : int32_t(-value);
  return value > INT32_MAX ? INT32_MAX : int32_t(value);
}

double MacCStringToFloat(const char* s) {
  if (!s) return 0.0;
  const char* end = s + zor_PIstrlen(s);
  bool negative = false;
  const char* p = SkipToNumber(s, end, &negative);
  // Only a decimal number: no "inf", "nan" or hexadecimal forms.
  const bool startsNumber = p < end && (IsDigit(*p) || (*p == '.' && p + 1 < end && IsDigit(p[1])));
  if (!startsNumber) return 0.0;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(p, end, value, std::chars_format::general);
  (void)ptr;
  if (ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

void ZorStr2552Cstring(unsigned char* buffer) {
  if (!buffer) return;
  // Only the string's own bytes move: a short string may sit in a buffer
  // smaller than 256 bytes.
  const unsigned char n = buffer[0];
  std::memmove(buffer, buffer + 1, n);
  buffer[n] = '\0';
}

void CopyPascalToC(const unsigned char* source, char* destination) {
  if (!source || !destination) return;
  const unsigned char n = source[0];
  std::memcpy(destination, source + 1, n);
  destination[n] = '\0';
}

void Cstring2Str255(char* buffer) {
  if (!buffer) return;
  const int32_t n = std::min<int32_t>(zor_PIstrlen(buffer), kStr255Capacity);
  std::memmove(buffer + 1, buffer, size_t(n));
  buffer[0] = static_cast<char>(static_cast<unsigned char>(n));
}

void AppendBreak(char* s) {
  PIstrcat(s, "<br>");
  AppendCharToCString(s, '\r');
}

void AppendJPG(char* s) { PIstrcat(s, ".jpg"); }

void SpacesToScores(char* s) {
  if (!s) return;
  for (; *s; ++s)
    if (*s == ' ') *s = '_';
}

void MakeCFilenameNonWeirdForHTMLDisplay(char* s) {
  if (s) CleanForDisplay(s);
}

void MakeNameNonWeirdForOBJ(char* s) {
  if (!s) return;
  SpacesToScores(s);
  CleanForDisplay(s);
}

int32_t AMatchesB_nocase(const char* a, const char* b, int32_t n, int32_t k) {
  if (n < 1) return 1;
  if (!a || !b) return 0;
  for (int32_t i = 0; i < n; ++i)
    if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[k + i]))) return 0;
  return 1;
}

int32_t findAinB(const char* a, const char* b, int32_t caseBlind) {
  const int32_t la = zor_PIstrlen(a), lb = zor_PIstrlen(b);
  if (la == 0 || lb == 0 || la > lb) return -1;
  for (int32_t p = 0; p <= lb - la; ++p) {
    int32_t i = 0;
    for (; i < la; ++i) {
      auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[p + i]);
      if (caseBlind) {
        x = Fold(x);
        y = Fold(y);
      }
      if (x != y) break;
    }
    if (i == la) return p;
  }
  return -1;
}
