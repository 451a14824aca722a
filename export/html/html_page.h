// One gallery page being written: a table of JPEG thumbnails, each framed by
// the four drop-shadow images, with every image in a "web_images" folder
// beside the page. The page and its images are gathered in memory and put in
// place together at the end, so a failed or cancelled page changes nothing.
#pragma once

#include <cstdint>

#include "export/html/html_text.h"
#include "platform/files.h"

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
// Completes the last row and ends the page; then writes web_images (made
// when missing) with the shadow images and the thumbnails, and the page
// last. 0, or the first failure; on a failure the page is not written.
int32_t FinishAndCloseWebPage(HTMLStatus* status, const FSRef* page);

// The image element: web_images/<name in URL form><ext>.
void ExcreteImage(HTMLStatus* status, int32_t width, int32_t height, const char* name, const char* extension,
                  bool withAlt);
// The 3 x 3 table of the drop-shadow frame around an image of w x h: the
// shadow's top and bottom strips span all three columns, its sides stand
// beside the image, which goes between the start and the end.
void ExcreteShadowTableStart(HTMLStatus* status, int32_t width, int32_t height);
void ExcreteShadowTableEnd(HTMLStatus* status, int32_t width, int32_t height);
