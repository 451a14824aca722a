#include "host/descriptor.h"

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace gyhost {

namespace {

constexpr uint32_t kBinaryMagic = MakeFourCC("GYD1");
constexpr const char* kTextHeader = "gyrelle-descriptor 1";

struct KindName {
  DescKind kind;
  const char* name;
};

constexpr KindName kKindNames[] = {
    {DescKind::Integer, "integer"}, {DescKind::Float, "float"},     {DescKind::UnitFloat, "unitfloat"},
    {DescKind::Boolean, "boolean"}, {DescKind::Enumerated, "enum"}, {DescKind::Class, "class"},
    {DescKind::Count, "count"},     {DescKind::Text, "text"},       {DescKind::Alias, "alias"},
    {DescKind::String, "string"},   {DescKind::Object, "object"},
};
static_assert(sizeof kKindNames / sizeof kKindNames[0] == size_t(DescKind::Object) + 1, "every kind has a name");

// ---- binary form ----

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

void Put64(std::vector<uint8_t>* out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

void PutBytes(std::vector<uint8_t>* out, const std::vector<uint8_t>& bytes) {
  Put32(out, uint32_t(bytes.size()));
  out->insert(out->end(), bytes.begin(), bytes.end());
}

struct Reader {
  const uint8_t* p;
  size_t left;
  bool Get8(uint8_t* v) {
    if (left < 1) return false;
    *v = *p++;
    --left;
    return true;
  }
  bool Get32(uint32_t* v) {
    if (left < 4) return false;
    *v = 0;
    for (int i = 0; i < 4; ++i) *v |= uint32_t(p[i]) << (8 * i);
    p += 4;
    left -= 4;
    return true;
  }
  bool Get64(uint64_t* v) {
    if (left < 8) return false;
    *v = 0;
    for (int i = 0; i < 8; ++i) *v |= uint64_t(p[i]) << (8 * i);
    p += 8;
    left -= 8;
    return true;
  }
  bool GetBytes(std::vector<uint8_t>* bytes) {
    uint32_t n;
    if (!Get32(&n) || left < n) return false;
    bytes->assign(p, p + n);
    p += n;
    left -= n;
    return true;
  }
};

uint64_t DoubleBits(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

double BitsDouble(uint64_t bits) {
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// ---- text form ----

std::string Hex(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return "-";
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string s;
  for (uint8_t b : bytes) {
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(const std::string& s, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (s == "-") return true;
  if (s.size() % 2) return false;
  for (size_t i = 0; i < s.size(); i += 2) {
    const int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes->push_back(uint8_t(hi * 16 + lo));
  }
  return true;
}

std::string FormatDouble(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

bool ParseInt64(const std::string& s, int64_t* v) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long r = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != 0) return false;
  *v = r;
  return true;
}

bool ParseDouble(const std::string& s, double* v) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double r = std::strtod(s.c_str(), &end);
  if (*end != 0 || errno == ERANGE) return false;
  *v = r;
  return true;
}

bool KindFromName(const std::string& name, DescKind* kind) {
  for (const KindName& k : kKindNames) {
    if (name == k.name) {
      *kind = k.kind;
      return true;
    }
  }
  return false;
}

// The value tokens after KEY and KIND; false when they do not fit the kind.
bool ParseValueTokens(DescKind kind, const std::vector<std::string>& t, DescEntry* e) {
  e->kind = kind;
  switch (kind) {
    case DescKind::Integer:
      return t.size() == 1 && ParseInt64(t[0], &e->integer) && e->integer >= INT32_MIN && e->integer <= INT32_MAX;
    case DescKind::Count:
      return t.size() == 1 && ParseInt64(t[0], &e->integer) && e->integer >= 0 && e->integer <= UINT32_MAX;
    case DescKind::Float:
      return t.size() == 1 && ParseDouble(t[0], &e->real);
    case DescKind::UnitFloat:
      return t.size() == 2 && ParseFourCC(t[0], &e->code) && ParseDouble(t[1], &e->real);
    case DescKind::Boolean:
      if (t.size() != 1 || (t[0] != "true" && t[0] != "false")) return false;
      e->integer = t[0] == "true" ? 1 : 0;
      return true;
    case DescKind::Enumerated:
      return t.size() == 2 && ParseFourCC(t[0], &e->code) && ParseFourCC(t[1], &e->value);
    case DescKind::Class:
      return t.size() == 1 && ParseFourCC(t[0], &e->code);
    case DescKind::Text:
    case DescKind::Alias:
    case DescKind::String:
      return t.size() == 1 && ParseHex(t[0], &e->bytes);
    case DescKind::Object:
      return t.size() == 2 && ParseFourCC(t[0], &e->code) && ParseHex(t[1], &e->bytes);
  }
  return false;
}

}  // namespace

DescType TypeOfKind(DescKind kind) {
  switch (kind) {
    case DescKind::Integer:
      return kTypeInteger;
    case DescKind::Float:
      return kTypeFloat;
    case DescKind::UnitFloat:
      return kTypeUnitFloat;
    case DescKind::Boolean:
      return kTypeBoolean;
    case DescKind::Enumerated:
      return kTypeEnumerated;
    case DescKind::Class:
      return kTypeClass;
    case DescKind::Count:
      return kTypeCount;
    case DescKind::Text:
      return kTypeText;
    case DescKind::Alias:
      return kTypeAlias;
    case DescKind::String:
      return kTypeString;
    case DescKind::Object:
      return kTypeObject;
  }
  return 0;
}

std::vector<uint8_t> EncodeDescriptor(const Descriptor& d) {
  std::vector<uint8_t> out;
  Put32(&out, kBinaryMagic);
  Put32(&out, uint32_t(d.size()));
  for (const DescEntry& e : d) {
    Put32(&out, e.key);
    out.push_back(uint8_t(e.kind));
    switch (e.kind) {
      case DescKind::Integer:
      case DescKind::Boolean:
      case DescKind::Count:
        Put64(&out, uint64_t(e.integer));
        break;
      case DescKind::Float:
        Put64(&out, DoubleBits(e.real));
        break;
      case DescKind::UnitFloat:
        Put32(&out, e.code);
        Put64(&out, DoubleBits(e.real));
        break;
      case DescKind::Enumerated:
        Put32(&out, e.code);
        Put32(&out, e.value);
        break;
      case DescKind::Class:
        Put32(&out, e.code);
        break;
      case DescKind::Text:
      case DescKind::Alias:
      case DescKind::String:
        PutBytes(&out, e.bytes);
        break;
      case DescKind::Object:
        Put32(&out, e.code);
        PutBytes(&out, e.bytes);
        break;
    }
  }
  return out;
}

bool DecodeDescriptor(const uint8_t* bytes, size_t size, Descriptor* d) {
  d->clear();
  Reader r{bytes, size};
  uint32_t magic = 0, count = 0;
  if (!bytes || !r.Get32(&magic) || magic != kBinaryMagic || !r.Get32(&count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    DescEntry e;
    uint8_t kind = 0;
    uint64_t v = 0;
    if (!r.Get32(&e.key) || !r.Get8(&kind) || kind > uint8_t(DescKind::Object)) return false;
    e.kind = DescKind(kind);
    bool ok = true;
    switch (e.kind) {
      case DescKind::Integer:
      case DescKind::Boolean:
      case DescKind::Count:
        ok = r.Get64(&v);
        e.integer = int64_t(v);
        break;
      case DescKind::Float:
        ok = r.Get64(&v);
        e.real = BitsDouble(v);
        break;
      case DescKind::UnitFloat:
        ok = r.Get32(&e.code) && r.Get64(&v);
        e.real = BitsDouble(v);
        break;
      case DescKind::Enumerated:
        ok = r.Get32(&e.code) && r.Get32(&e.value);
        break;
      case DescKind::Class:
        ok = r.Get32(&e.code);
        break;
      case DescKind::Text:
      case DescKind::Alias:
      case DescKind::String:
        ok = r.GetBytes(&e.bytes);
        break;
      case DescKind::Object:
        ok = r.Get32(&e.code) && r.GetBytes(&e.bytes);
        break;
    }
    if (!ok) return false;
    d->push_back(std::move(e));
  }
  return r.left == 0;
}

std::string FormatFourCC(FourCC code) {
  char c[5];
  bool printable = true;
  for (int i = 0; i < 4; ++i) {
    c[i] = char((code >> (24 - 8 * i)) & 0xFF);
    if (uint8_t(c[i]) < 0x21 || uint8_t(c[i]) > 0x7E) printable = false;
  }
  c[4] = 0;
  if (printable) return c;
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08" PRIX32, code);
  return buf;
}

bool ParseFourCC(const std::string& token, FourCC* code) {
  if (token.size() == 4) {
    *code = 0;
    for (char c : token) *code = (*code << 8) | uint8_t(c);
    return true;
  }
  if (token.size() == 10 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
    FourCC v = 0;
    for (size_t i = 2; i < 10; ++i) {
      const int d = HexDigit(token[i]);
      if (d < 0) return false;
      v = (v << 4) | FourCC(d);
    }
    *code = v;
    return true;
  }
  return false;
}

std::string FormatDescriptorText(const Descriptor& d) {
  std::string out = std::string(kTextHeader) + "\n";
  for (const DescEntry& e : d) {
    out += FormatFourCC(e.key);
    out += ' ';
    out += kKindNames[size_t(e.kind)].name;
    out += ' ';
    switch (e.kind) {
      case DescKind::Integer:
      case DescKind::Count:
        out += std::to_string(e.integer);
        break;
      case DescKind::Float:
        out += FormatDouble(e.real);
        break;
      case DescKind::UnitFloat:
        out += FormatFourCC(e.code) + " " + FormatDouble(e.real);
        break;
      case DescKind::Boolean:
        out += e.integer ? "true" : "false";
        break;
      case DescKind::Enumerated:
        out += FormatFourCC(e.code) + " " + FormatFourCC(e.value);
        break;
      case DescKind::Class:
        out += FormatFourCC(e.code);
        break;
      case DescKind::Text:
      case DescKind::Alias:
      case DescKind::String:
        out += Hex(e.bytes);
        break;
      case DescKind::Object:
        out += FormatFourCC(e.code) + " " + Hex(e.bytes);
        break;
    }
    out += '\n';
  }
  return out;
}

bool ParseDescriptorText(const std::string& text, Descriptor* d, std::string* error) {
  d->clear();
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  bool sawHeader = false;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    if (!sawHeader) {
      if (line != kTextHeader) {
        *error = "line " + std::to_string(lineNo) + ": expected \"" + kTextHeader + "\"";
        return false;
      }
      sawHeader = true;
      continue;
    }
    // The key is the first four characters (a key may contain any printable
    // character), or a 0x form; the rest is split at blanks.
    std::string keyToken;
    std::string rest;
    FourCC probe = 0;
    if (line.size() >= 10 && line[0] == '0' && line[1] == 'x' && (line.size() == 10 || line[10] == ' ') &&
        ParseFourCC(line.substr(0, 10), &probe)) {
      keyToken = line.substr(0, 10);
      rest = line.substr(10);
    } else {
      keyToken = line.substr(0, 4);
      rest = line.size() > 4 ? line.substr(4) : "";
    }
    std::istringstream fields(rest);
    std::vector<std::string> tokens;
    for (std::string t; fields >> t;) tokens.push_back(t);
    DescEntry e;
    DescKind kind;
    if (!ParseFourCC(keyToken, &e.key) || (!rest.empty() && rest[0] != ' ') || tokens.empty() ||
        !KindFromName(tokens[0], &kind) ||
        !ParseValueTokens(kind, std::vector<std::string>(tokens.begin() + 1, tokens.end()), &e)) {
      *error = "line " + std::to_string(lineNo) + ": cannot read \"" + line + "\"";
      return false;
    }
    d->push_back(std::move(e));
  }
  if (!sawHeader) {
    *error = std::string("not a descriptor file (no \"") + kTextHeader + "\" line)";
    return false;
  }
  return true;
}

bool ParseSetting(const std::string& arg, DescEntry* entry, std::string* error) {
  const size_t eq = arg.find('=');
  if (eq == std::string::npos) {
    *error = "expected KEY=VALUE, got \"" + arg + "\"";
    return false;
  }
  const std::string key = arg.substr(0, eq);
  const std::string value = arg.substr(eq + 1);
  *entry = DescEntry{};
  if (!ParseFourCC(key, &entry->key)) {
    *error = "the key \"" + key + "\" is not four characters";
    return false;
  }
  int64_t i = 0;
  double f = 0.0;
  if (value == "true" || value == "false") {
    entry->kind = DescKind::Boolean;
    entry->integer = value == "true" ? 1 : 0;
  } else if (ParseInt64(value, &i) && i >= INT32_MIN && i <= INT32_MAX) {
    entry->kind = DescKind::Integer;
    entry->integer = i;
  } else if (ParseDouble(value, &f)) {
    // NaN and infinities pass here so that the range check treats them as a
    // descriptor file's would be treated: named, and put back to the default.
    entry->kind = DescKind::Float;
    entry->real = f;
  } else if (ParseFourCC(value, &entry->value)) {
    entry->kind = DescKind::Enumerated;
  } else {
    *error = "the value \"" + value + "\" of " + key +
             " is neither true/false, an integer, a number nor a four-character code";
    return false;
  }
  return true;
}

void SetDescriptorEntry(Descriptor* d, const DescEntry& entry) {
  for (DescEntry& e : *d) {
    if (e.key == entry.key) {
      e = entry;
      return;
    }
  }
  d->push_back(entry);
}

}  // namespace gyhost
