// Text pieces shared by the model, brick and page writers: the date line of
// their headers, and the writers of numbers and Mac OS Roman names into a
// gallery page being written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kDateTextBytes = 64;

// "on 7 March 2026 at 09:05:01" in local time; an unknown month leaves its
// name empty.
void GetOnDateString(char text[kDateTextBytes]);

enum HTMLPageKind : int32_t {
  HTMLPage_Presets = 0,
  HTMLPage_Images = 1,
  HTMLPage_OutputModes = 2,
  HTMLPage_MemoryDots = 3,
};

struct HTMLImage {
  std::string name;  // Mac OS Roman, inside web_images
  std::vector<uint8_t> bytes;
};

// One gallery page being written. The page and its images are gathered in
// memory and put in place together at its end.
struct HTMLStatus {
  int32_t column, row;
  int32_t columnsPerRow, spacerColumns;
  int32_t pageKind;
  std::string text;                 // the page so far
  std::vector<HTMLImage> images;    // thumbnails waiting to be written
};

// Numbers by "%d", by "%.8f", and by "%d" between two double quotes.
void ExcreteInteger(int32_t value, HTMLStatus* status);
void ExcreteFloat(float value, HTMLStatus* status);
void ExcreteQuotedInteger(int32_t value, HTMLStatus* status);

// One Mac OS Roman byte as HTML: ASCII as it is except the four markup
// characters as entities, the upper half by the page's entity table (where
// the table names no entity a browser knows, the character's code point).
void WriteHTMLCharacter(uint8_t c, HTMLStatus* status);
// A name without its extension (from the last dot): plainly, byte by byte
// through WriteHTMLCharacter, or as a URL path piece (letters and digits
// kept, every other byte as %xx in lower-case hex).
void ExcreteFileNameMinusExtensionsHTML(const char* name, bool urlForm, HTMLStatus* status);
