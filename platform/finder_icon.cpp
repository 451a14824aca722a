#include "platform/finder_icon.h"

int16_t PlatformStoreCustomIcon(const FSRef*, const uint8_t*, uint32_t) { return kResourceForkMissing; }

int32_t PlatformRunScript(const char*, uint32_t, char* resultText, size_t resultBytes) {
  if (resultText && resultBytes > 0) resultText[0] = '\0';
  return kNoScriptComponent;
}
