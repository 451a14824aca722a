#include "host/io/xmp_panorama.h"

#include <cctype>
#include <string>

namespace gyhost {

namespace {

constexpr char kPanoramaNamespace[] = "http://ns.google.com/photos/1.0/panorama/";

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.'; }

size_t SkipSpaces(const std::string& s, size_t at) {
  while (at < s.size() && IsSpace(s[at])) ++at;
  return at;
}

size_t SkipName(const std::string& s, size_t at) {
  while (at < s.size() && IsNameChar(s[at])) ++at;
  return at;
}

// The end of `name = "value"` starting at `at` (just after the name), or npos.
size_t AttributeValueEnd(const std::string& s, size_t at, std::string* value) {
  at = SkipSpaces(s, at);
  if (at >= s.size() || s[at] != '=') return std::string::npos;
  at = SkipSpaces(s, at + 1);
  if (at >= s.size() || (s[at] != '"' && s[at] != '\'')) return std::string::npos;
  const size_t close = s.find(s[at], at + 1);
  if (close == std::string::npos) return close;
  if (value) *value = s.substr(at + 1, close - at - 1);
  return close + 1;
}

// Where the white space before `at` starts.
size_t SpaceBefore(const std::string& s, size_t at) {
  while (at > 0 && IsSpace(s[at - 1])) --at;
  return at;
}

// Removes the declarations of the namespace; the prefixes they bound go to
// `prefixes`, each followed by a space.
void DropDeclarations(std::string* text, std::string* prefixes) {
  const std::string marker = "xmlns:";
  for (size_t at = text->find(marker); at != std::string::npos; at = text->find(marker, at + 1)) {
    if (at == 0 || !IsSpace((*text)[at - 1])) continue;
    const size_t nameStart = at + marker.size(), nameEnd = SkipName(*text, nameStart);
    std::string value;
    const size_t end = AttributeValueEnd(*text, nameEnd, &value);
    if (end == std::string::npos || value != kPanoramaNamespace) continue;
    *prefixes += text->substr(nameStart, nameEnd - nameStart) + " ";
    const size_t from = SpaceBefore(*text, at);
    text->erase(from, end - from);
    at = from;
  }
}

// Removes every attribute and element named PREFIX:something.
void DropProperties(std::string* text, const std::string& prefix) {
  const std::string qualified = prefix + ":";
  for (size_t at = text->find(qualified); at != std::string::npos; at = text->find(qualified, at)) {
    const char before = at > 0 ? (*text)[at - 1] : ' ';
    const size_t nameEnd = SkipName(*text, at + qualified.size());
    size_t from = std::string::npos, end = std::string::npos;
    if (before == '<') {
      const size_t tagEnd = text->find('>', nameEnd);
      if (tagEnd != std::string::npos && (*text)[tagEnd - 1] == '/') {
        end = tagEnd + 1;
      } else if (tagEnd != std::string::npos) {
        const std::string closing = "</" + text->substr(at, nameEnd - at);
        const size_t close = text->find(closing, tagEnd);
        const size_t closeEnd = close == std::string::npos ? close : text->find('>', close);
        if (closeEnd != std::string::npos) end = closeEnd + 1;
      }
      from = SpaceBefore(*text, at - 1);
    } else if (IsSpace(before)) {
      end = AttributeValueEnd(*text, nameEnd, nullptr);
      from = SpaceBefore(*text, at);
    }
    if (end == std::string::npos || from == std::string::npos) {
      at += qualified.size();  // not a property (a closing tag, text): left alone
      continue;
    }
    text->erase(from, end - from);
    at = from;
  }
}

}  // namespace

std::vector<uint8_t> XmpWithoutPanorama(const std::vector<uint8_t>& xmp) {
  std::string text(xmp.begin(), xmp.end());
  if (text.find(kPanoramaNamespace) == std::string::npos) return xmp;
  std::string prefixes;
  DropDeclarations(&text, &prefixes);
  for (size_t at = 0; at < prefixes.size();) {
    const size_t space = prefixes.find(' ', at);
    DropProperties(&text, prefixes.substr(at, space - at));
    at = space + 1;
  }
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace gyhost
