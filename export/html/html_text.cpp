#include "export/html/html_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/base/dates.h"
#include "platform/mac_roman.h"

namespace {

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// Mac OS Roman 128..255, as the pages have always shown them. The &MacNNN;
// names are no entity of HTML: browsers show them as they stand, which keeps
// old pages reading as they did.
constexpr const char* kHighEntities[128] = {
    "&Auml;",   "&Aring;",  "&Ccedil;", "&Eacute;", "&Ntilde;", "&Ouml;",   "&Uuml;",   "&aacute;",
    "&agrave;", "&acirc;",  "&auml;",   "&atilde;", "&aring;",  "&ccedil;", "&eacute;", "&egrave;",
    "&ecirc;",  "&euml;",   "&iacute;", "&igrave;", "&icirc;",  "&iuml;",   "&ntilde;", "&oacute;",
    "&ograve;", "&ocirc;",  "&ouml;",   "&otilde;", "&uacute;", "&ugrave;", "&ucirc;",  "&uuml;",
    "&#134;",   "&deg;",    "&cent;",   "&pound;",  "&sect;",   "&#149;",   "&para;",   "&szlig;",
    "&reg;",    "&copy;",   "&#153;",   "&acute;",  "&uml;",    "&Mac173;", "&AElig;",  "&Oslash;",
    "&Mac176;", "&plusmn;", "&Mac178;", "&Mac179;", "&yen;",    "&micro;",  "&Mac182;", "&Mac183;",
    "&Mac184;", "&Mac185;", "&Mac186;", "&ordf;",   "&ordm;",   "&Mac189;", "&aelig;",  "&oslash;",
    "&iquest;", "&iexcl;",  "&not;",    "&Mac195;", "&#131;",   "&Mac197;", "&Mac198;", "&laquo;",
    "&raquo;",  "&#133;",   "&nbsp;",   "&Agrave;", "&Atilde;", "&Otilde;", "&#140;",   "&#156;",
    "&#150;",   "&#151;",   "&#147;",   "&#148;",   "&#145;",   "&#146;",   "&divide;", "&Mac215;",
    "&yuml;",   "&Mac217;", "&Mac218;", "&euro;",   "&Mac220;", "&Mac221;", "&Mac222;", "&Mac223;",
    "&#135;",   "&#183;",   "&Mac226;", "&#132;",   "&#137;",   "&Acirc;",  "&Ecirc;",  "&Aacute;",
    "&Euml;",   "&Egrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&Igrave;", "&Oacute;", "&Ocirc;",
    "&Mac240;", "&Ograve;", "&Uacute;", "&Ucirc;",  "&Ugrave;", "&Mac245;", "&Mac246;", "&Mac247;",
    "&#175;",   "&Mac249;", "&Mac250;", "&Mac251;", "&cedil;",  "&Mac253;", "&Mac254;", "&Mac255;",
};

bool IsAlphaNumeric(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The page's text for one Mac OS Roman byte: ASCII as it is except the four
// markup characters, the upper half by the entity table.
const char* HTMLTextOfCharacter(uint8_t c, char single[2]) {
  if (c >= 128) return kHighEntities[c - 128];
  switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: single[0] = char(c); single[1] = 0; return single;
  }
}

}  // namespace

void GetOnDateString(char text[kDateTextBytes]) {
  int32_t year, month, day, hour, minute, second;
  LocalYearMonthDayHourMinutesSeconds(&year, &month, &day, &hour, &minute, &second);
  const char* name = (month >= 1 && month <= 12) ? kMonths[month - 1] : "";
  std::snprintf(text, kDateTextBytes, "on %d %s %d at %02d:%02d:%02d", day, name, year, hour, minute, second);
}


void ExcreteInteger(int32_t value, HTMLStatus* status) {
  char n[16];
  std::snprintf(n, sizeof n, "%d", int(value));
  status->text += n;
}

void ExcreteFloat(float value, HTMLStatus* status) {
  char n[64];
  std::snprintf(n, sizeof n, "%.8f", double(value));
  status->text += n;
}

void ExcreteQuotedInteger(int32_t value, HTMLStatus* status) {
  status->text += '"';
  ExcreteInteger(value, status);
  status->text += '"';
}

void WriteHTMLCharacter(uint8_t c, HTMLStatus* status) {
  char single[2];
  const char* text = HTMLTextOfCharacter(c, single);
  // Names no browser knows (&MacNNN;) and references into the C1 controls
  // (&#128; to &#159;, meant as another code page's letters) would show as
  // stray text or nothing; the character's own code point shows it.
  const bool c1 = text[0] == '&' && text[1] == '#' && std::atoi(text + 2) >= 128 && std::atoi(text + 2) < 160;
  if (c >= 128 && (std::strncmp(text, "&Mac", 4) == 0 || c1)) {
    char ref[16];
    std::snprintf(ref, sizeof ref, "&#%u;", unsigned(MacRomanToUnicode(c)));
    status->text += ref;
    return;
  }
  status->text += text;
}

void ExcreteFileNameMinusExtensionsHTML(const char* name, bool urlForm, HTMLStatus* status) {
  if (!name) return;
  const char* dot = std::strrchr(name, '.');
  const size_t n = dot ? size_t(dot - name) : std::strlen(name);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = uint8_t(name[i]);
    if (!urlForm) {
      WriteHTMLCharacter(c, status);
    } else if (IsAlphaNumeric(c)) {
      status->text += char(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02x", c);
      status->text += hex;
    }
  }
}
