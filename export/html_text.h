// Text pieces shared by the model, brick and page writers: the date line of
// their headers, and the HTML and URL forms of Mac OS Roman names.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kDateTextBytes = 64;

// "on 7 March 2026 at 09:05:01" in local time; an unknown month leaves its
// name empty.
void GetOnDateString(char text[kDateTextBytes]);

// The HTML text of one Mac OS Roman byte: ASCII as it is except the four
// markup characters, the upper half by the page's entity table.
const char* HTMLTextOfCharacter(uint8_t c, char single[2]);
void AppendHTMLCharacter(std::string* out, uint8_t c);
void AppendHTMLText(std::string* out, const char* text);
// A name without its extension (from the last dot): plainly through the
// entity table, or as a URL path piece (letters and digits kept, every other
// byte as %xx in lower-case hex).
void AppendNameMinusExtension(std::string* out, const char* name, bool urlForm);
