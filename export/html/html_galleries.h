// export/html/: the HTML gallery pages and their images.
// The three gallery pages: the presets of a folder, the renders of the
// current image in output mode 287 (one per gallery item 0..63), and the
// current image with each of the 25 memory dots.
#pragma once

#include <cstdint>
#include <vector>

struct FSRef;
struct Globals;
struct HTMLStatus;
struct Rect;

constexpr int32_t kGalleryOutputMode = 287;
constexpr int32_t kGalleryOutputItems = 64;
constexpr int32_t kGalleryMemoryDots = 25;
constexpr int32_t kGalleryThumbnailSide = 300;

// Every preset (".q2q") of the folder, with its embedded preview as the
// thumbnail, five to a row. 0 or the first failure.
int32_t IterateAndWriteAny_presets_web_page(Globals* globals, const FSRef* page, const FSRef* folder,
                                            int32_t pageKind);
// The presets page (page kind 0).
int32_t IterateAndWriteGeneric_presets_web_page(Globals* globals, const FSRef* page, const FSRef* folder);
// One preset's cell: its name as the caption, its preview as the
// thumbnail (read into the invocation's preview by the caller).
void emit_Generic_web_page_item(Globals* globals, const FSRef* preset, HTMLStatus* status);
// The dialog asks for the folder of presets before it asks where the page
// goes; it hands the folder over here, and the next presets page of that
// invocation lists it (once). Null forgets a folder handed over, as when
// the page's chooser was cancelled. Without a folder handed over the page
// lists the presets of its own folder.
void HandPresetsFolderToNextPage(const Globals* globals, const FSRef* folder);
// The folder handed over for `globals`, forgotten once taken; false when
// none was.
bool TakePresetsFolderForPage(const Globals* globals, FSRef* folder);
// kind 13: the output-mode page; kind 14: the memory-dot page. 0, -128 when
// the user cancelled, or the first failure (a render that cannot be made
// included); the page and its images are written only when all went well.
int32_t IterateAndWrite_output_or_memdot_gallery_web_page(Globals* globals, const FSRef* page, int32_t kind);
// One gallery image as JPEG bytes, its longer side 300 pixels; the settings
// are as they were afterwards.
int32_t paint_one_output_or_memdot_gallery_image(int32_t item, Globals* globals, std::vector<uint8_t>* jpeg,
                                                 uint8_t* cancelled, Rect* sizeOut, int32_t kind);
// Opens the page with the desktop's browser where there is one; else says
// where the page is. 0 when the browser was asked.
int32_t LaunchFileInBrowser(const FSRef* page);
