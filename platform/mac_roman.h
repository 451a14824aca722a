// Names and messages are Mac OS Roman bytes inside the plug-in; the file
// system and the console speak UTF-8. These two conversions are the only
// place where the two meet.
#pragma once

#include <cstddef>

// Both write at most outSize bytes including the terminating NUL, never split
// a character, and always terminate the output when outSize > 0. They answer
// false when the output had to be cut, or (UTF-8 to Roman) when the input is
// not valid UTF-8 or holds a character Mac OS Roman lacks; such a character
// becomes '?', so the output is still usable for display.
bool MacRomanToUtf8(const char* roman, char* out, size_t outSize);
bool Utf8ToMacRoman(const char* utf8, char* out, size_t outSize);

// The Unicode code point of one Mac OS Roman byte.
char32_t MacRomanToUnicode(unsigned char c);
