// The four-character codes under which the host's scripting records the
// enumerated settings. They are an external interface: a recorded action
// replays only when these tables match it exactly, case included.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

constexpr FourCC kEnumTypeOutputMode = MakeFourCC("Foty");
constexpr FourCC kEnumTypeInputMode = MakeFourCC("Fity");
constexpr FourCC kEnumTypeGraticule = MakeFourCC("Fgty");
constexpr FourCC kEnumTypeGlueMode = MakeFourCC("GLty");
constexpr FourCC kEnumTypeQuality = MakeFourCC("IQty");  // in the tables, but no key uses it
constexpr FourCC kEnumCodeNone = MakeFourCC("<NO>");

struct EnumCodeEntry {
  int32_t value;
  FourCC code;
};

// The whole table of a type in value order; empty for an unknown type.
struct EnumCodeTable {
  const EnumCodeEntry* entries;
  int32_t count;
};
EnumCodeTable EnumCodesOfType(FourCC type);

// The code of a value; '<NO>' for an unknown type or a value without a code.
void zor_ValueToEnum(int32_t value, FourCC type, FourCC* code);
// The value of a code and true; 0 and false for an unknown type or code.
bool zor_EnumToValue(FourCC type, FourCC code, int32_t* value);
