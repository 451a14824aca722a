#include "platform/ui.h"

#include <cstdio>
#include <string>

namespace {

// Messages are Mac OS Roman; the console speaks UTF-8. Only the punctuation
// our messages use is mapped here; anything else shows as '?'.
std::string RomanToUtf8(const char* s) {
  std::string out;
  for (; s && *s; ++s) {
    const unsigned char c = static_cast<unsigned char>(*s);
    switch (c) {
      case 0xC9: out += "\u2026"; break;
      case 0xD0: out += "\u2013"; break;
      case 0xD1: out += "\u2014"; break;
      case 0xD2: out += "\u201C"; break;
      case 0xD3: out += "\u201D"; break;
      case 0xD4: out += "\u2018"; break;
      case 0xD5: out += "\u2019"; break;
      default: out += c < 0x80 ? char(c) : '?';
    }
  }
  return out;
}

}  // namespace

void PlatformShowAlert(const char* message, const char* explanation) {
  std::fprintf(stderr, "%s\n%s\n", RomanToUtf8(message).c_str(), RomanToUtf8(explanation).c_str());
}

void PlatformShowWindow(const char* windowName) {
  std::fprintf(stderr, "[window \"%s\"]\n", RomanToUtf8(windowName).c_str());
}
