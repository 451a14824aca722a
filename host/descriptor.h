// The host's scripting descriptor: an ordered list of keyed values, its
// private binary form inside a descriptor handle, and its text form for
// --record, --descriptor and --set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/plugin_api.h"

namespace gyhost {

enum class DescKind : uint8_t {
  Integer,
  Float,
  UnitFloat,
  Boolean,
  Enumerated,
  Class,
  Count,
  Text,
  Alias,
  String,
  Object
};

// Type codes reported by getKeyProc for the kinds that have no code in the
// interface header.
constexpr DescType kTypeUnitFloat = MakeFourCC("UntF");
constexpr DescType kTypeClass = MakeFourCC("type");
constexpr DescType kTypeCount = MakeFourCC("cont");
constexpr DescType kTypeText = MakeFourCC("TEXT");
constexpr DescType kTypeAlias = MakeFourCC("alis");
constexpr DescType kTypeString = MakeFourCC("pstr");
constexpr DescType kTypeObject = MakeFourCC("Objc");
constexpr FourCC kUnitNone = MakeFourCC("#Nne");

struct DescEntry {
  DescriptorKeyID key = 0;
  DescKind kind = DescKind::Integer;
  int64_t integer = 0;         // Integer, Boolean (0 or 1), Count
  double real = 0.0;           // Float, UnitFloat
  FourCC code = 0;             // UnitFloat unit, Enumerated type, Class, Object type
  FourCC value = 0;            // Enumerated value
  std::vector<uint8_t> bytes;  // Text, Alias, String, Object (a nested descriptor's binary form)
};

using Descriptor = std::vector<DescEntry>;

DescType TypeOfKind(DescKind kind);

// Binary form held in descriptor handles.
std::vector<uint8_t> EncodeDescriptor(const Descriptor& d);
bool DecodeDescriptor(const uint8_t* bytes, size_t size, Descriptor* d);

// Text form: the line "gyrelle-descriptor 1", then one line per entry in
// order: KEY KIND VALUE, e.g. "Foky enum Foty Fo45", "0011 boolean true",
// "0008 integer -30", "0034 float 0.25" (17 digits, so replay is exact),
// "Unit unitfloat #Pxl 2.5", "Clss class Layr", "Nmbr count 3", and hex
// bytes ("-" when empty) for text, alias, string and "object TYPE HEX".
// A code with a blank or an unprintable byte is written 0xHHHHHHHH.
std::string FormatDescriptorText(const Descriptor& d);
bool ParseDescriptorText(const std::string& text, Descriptor* d, std::string* error);

// A four-character code as text: the characters when all are printable, else 0xHHHHHHHH.
std::string FormatFourCC(FourCC code);
bool ParseFourCC(const std::string& token, FourCC* code);

// "KEY=VALUE" from the command line: VALUE is true/false, an integer, a float
// or a four-character enumeration code (its enumeration type left 0).
bool ParseSetting(const std::string& arg, DescEntry* entry, std::string* error);
// Adds or replaces (keeping the first position) the entry for its key.
void SetDescriptorEntry(Descriptor* d, const DescEntry& entry);

}  // namespace gyhost
