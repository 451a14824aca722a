// One gallery page being written: a table of JPEG thumbnails, each framed by
// the four drop-shadow images, with every image in a "web_images" folder
// beside the page. The page and its images are gathered in memory and put in
// place together at the end, so a failed or cancelled page changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

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

struct HTMLStatus {
  int32_t column, row;
  int32_t columnsPerRow, spacerColumns;
  int32_t pageKind;
  std::string text;                 // the page so far
  std::vector<HTMLImage> images;    // thumbnails waiting to be written
};

// The maker named in the pages' generator tag.
inline constexpr char kPageMaker[] = "Gyrelle";

// Starts the page: columns (at most 10), kind, and the head, which names the
// folder when one is given (Mac OS Roman).
void OpenAndStartWebPage(HTMLStatus* status, const char* folderName, int32_t pageKind, int32_t columns);
// One image cell for the JPEG named after `fileName` (its extension goes),
// w x h pixels, captioned with the name.
void StartCell(HTMLStatus* status, const char* fileName, int32_t width, int32_t height);
void emit_empty_web_page_item(HTMLStatus* status);
// After every cell: the next column, or the row's end and the spacer row.
void AdvanceColumn(HTMLStatus* status);
// Opens a row where a cell starts one.
void StartRowIfFirstColumn(HTMLStatus* status);
void FlushTheStash(HTMLStatus* status);
// Completes the last row and ends the page text.
void FinishWebPage(HTMLStatus* status);
// Writes web_images (made when missing) with the shadow images and the
// thumbnails, then the page. 0, or the first failure; on a failure before
// the page, the page is not written.
int32_t CommitWebPage(HTMLStatus* status, const FSRef* page);

// The image element: web_images/<name in URL form><ext>.
void ExcreteImage(HTMLStatus* status, int32_t width, int32_t height, const char* name, const char* extension,
                  bool withAlt);
