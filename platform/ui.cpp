#include "platform/ui.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/mac_roman.h"

namespace {

// Messages are Mac OS Roman; the console speaks UTF-8 (at most three bytes
// per Roman character).
std::string RomanToUtf8(const char* s) {
  if (!s) return {};
  std::string out(std::strlen(s) * 3 + 1, '\0');
  MacRomanToUtf8(s, out.data(), out.size());
  out.resize(std::strlen(out.c_str()));
  return out;
}

char g_lastMessage[256];
char g_lastExplanation[256];

}  // namespace

const char* PlatformLastAlertMessage() { return g_lastMessage; }
const char* PlatformLastAlertExplanation() { return g_lastExplanation; }
void PlatformForgetLastAlert() { g_lastMessage[0] = g_lastExplanation[0] = 0; }

void PlatformShowAlert(const char* message, const char* explanation) {
  std::snprintf(g_lastMessage, sizeof g_lastMessage, "%s", message ? message : "");
  std::snprintf(g_lastExplanation, sizeof g_lastExplanation, "%s", explanation ? explanation : "");
  std::fprintf(stderr, "%s\n%s\n", RomanToUtf8(message).c_str(), RomanToUtf8(explanation).c_str());
}

void PlatformShowWindow(const char* windowName) {
  std::fprintf(stderr, "[window \"%s\"]\n", RomanToUtf8(windowName).c_str());
}
