// What the host knows of the plug-in's recorded settings: every scripting
// key with its type, range, default and meaning, and the checks --set and
// --descriptor values pass before any work starts.
#pragma once

#include <cstdint>
#include <string>

#include "host/descriptor.h"

namespace gyhost {

enum class SettingType : uint8_t {
  Integer,
  Boolean,
  Enumerated,  // a four-character code of `enumType`
  Float,
  Colour,      // one 0..255 channel
  Recorded,    // written by the plug-in, never read back
};

struct SettingKey {
  const char* key;
  SettingType type;
  FourCC enumType;  // Enumerated only
  double lo, hi;    // the allowed range (numbers)
  bool openBelow;   // `lo` itself is not allowed
  double fallback;  // the default, used for a value out of range
  const char* meaning;
};

int32_t SettingKeyCount();
const SettingKey& SettingKeyAt(int32_t index);
const SettingKey* FindSettingKey(FourCC key);

enum class SettingCheck { Accepted, Replaced, Refused };

// Checks one entry against its key and brings it to the form the plug-in
// reads (a 0/1 integer for a boolean key becomes a boolean, an integer for a
// float key a float, a code gets its enumeration type). Refused: `message`
// names the key, what was given and what is valid. Replaced: the value was
// out of range and is now the default; `message` says both.
SettingCheck CheckSetting(DescEntry* entry, std::string* message);

// The --list line of a key: key, type, range, default and meaning.
std::string KeyListLine(const SettingKey& k);

// Display names of the input modes (1..30) and graticules (1..7); "" outside.
const char* InputModeName(int32_t mode);
const char* GraticuleName(int32_t graticule);

}  // namespace gyhost
