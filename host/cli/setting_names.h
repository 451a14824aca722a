// The names of the values of enumerated settings, as --list shows them:
// output, input and glue modes, graticules and preview qualities. --set
// takes a name where a code is expected ("--set Foky=mollweide"); what is
// handed to the filter and recorded is still the code, so a recorded run
// replays in any host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/descriptor.h"

namespace gyhost {

// The preview quality is recorded as a number, but the scripting tables give
// its values codes of their own.
constexpr FourCC kQualityKey = MakeFourCC("0032");

// The name of a value of an enumerated type; "" when it has none.
const char* EnumValueName(FourCC type, int32_t value);
// What a user calls a value of the type: "output mode", "glue mode"...
const char* EnumTypeNoun(FourCC type);

// The value named `name` (case, blanks and underscores aside), the first in
// value order that has a code; false when no value has that name.
bool FindEnumValueByName(FourCC type, const std::string& name, int32_t* value);

// The names closest to `given`, at most four, joined by ", " or " or "; ""
// when none is close.
std::string NearestNames(FourCC type, const std::string& given);

// The enumerated type whose names the key takes; 0 for a key without one.
FourCC NamedTypeOfKey(FourCC key);

// "KEY=VALUE" as ParseSetting reads it, except that a key of an enumerated
// type also takes the name of a value, which becomes its code (the preview
// quality, recorded as a number, becomes its number). A name that matches
// nothing is refused with the nearest names.
bool ParseSettingByName(const std::string& arg, DescEntry* entry, std::string* error);

// Edit distance (insertions, deletions, substitutions) of two short texts.
int EditDistance(const std::string& a, const std::string& b);
std::string LowerCase(std::string s);
// The form names are compared in: lower case, without blanks or underscores.
std::string NameKey(const std::string& name);

}  // namespace gyhost
