// Custom file icons and script components: services this platform does not
// have. Each stand-in answers the code its missing service gives, so the
// callers run their whole path (building the icon, the script text) and
// report that the last step is not available on this system.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files.h"

// No file here has a resource fork to hold an icon family.
int16_t PlatformStoreCustomIcon(const FSRef* file, const uint8_t* icns, uint32_t length);

// No script component is installed.
constexpr int32_t kNoScriptComponent = -50;
int32_t PlatformRunScript(const char* text, uint32_t length, char* resultText, size_t resultBytes);
