#include "export/html/html_galleries.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "export/desktop_open.h"
#include "export/export_progress.h"
#include "export/html/html_page.h"
#include "export/jpeg/jpeg_coder.h"
#include "export/models/obj_texture.h"
#include "export/preset_preview.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the galleries render every preset and mode through the whole invocation
#include "export/export_services.h"
#include "frame/base/result_codes.h"
#include "frame/base/text_utils.h"
#include "platform/mac_roman.h"
#include "projection/framing.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr int32_t kPresetColumns = 5, kGalleryColumns = 4;
constexpr int32_t kPresetThumbnail = 88;
constexpr int32_t kSpareMemoryDot = 25;
constexpr FourCC kPresetType = MakeFourCC("Wq2q");

// The presets of a folder by name, so that a page lists them in one order
// on every system.
std::vector<std::string> PresetNames(const FSRef* folder) {
  std::vector<std::string> names;
  DIR* d = ::opendir(folder->path);
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    FSRef ref{};
    const int n = std::snprintf(ref.path, sizeof ref.path, "%s/%s", folder->path, e->d_name);
    if (n < 0 || size_t(n) >= sizeof ref.path || FSRefIsFolder(&ref)) continue;
    char roman[kCNameBytes];
    Utf8ToMacRoman(e->d_name, roman, sizeof roman);
    if (MacFileKindMatches(roman, 0, ".q2q", kPresetType)) names.push_back(e->d_name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

std::string JpegNameOf(const char* romanName) {
  char name[kCNameBytes];
  std::snprintf(name, sizeof name, "%s", romanName);
  StripAnyExtender(name);
  AppendJPG(name);
  MakeCFilenameNonWeirdForHTMLDisplay(name);
  return name;
}

int32_t PreviewJPEG(Globals* globals, std::vector<uint8_t>* jpeg) {
  const int32_t w = globals->previewWidth > 0 ? globals->previewWidth : kPresetPreviewSide;
  const int32_t h = globals->previewHeight > 0 ? globals->previewHeight : kPresetPreviewSide;
  PyramidDescriptor p{};
  InitPyramidProcs(&p, globals, globals->storage ? globals->storage->filterTable : nullptr);
  if (!TryToAllocatePyramid_2006(&p, w, h, PyramidDataKind_Packed8, 0)) return kOutOfMemory;
  CopyPreviewIntoPyramid(globals, &p);
  jpeg->resize(size_t(w) * h * 3 + 65536);
  const Rect area{0, 0, int16_t(h), int16_t(w)};
  uint32_t length = 0;
  const uint32_t e = CompressJPEG(&p, &area, jpeg->data(), uint32_t(jpeg->size()), 90, 1, &length, 0, nullptr,
                                  nullptr, nullptr);
  jpeg->resize(e == kJpegOK ? length : 0);
  DisposePyramidData(&p);
  return e == kJpegOK ? 0 : 1;
}

// The folder the dialog chose, between its two choosers and the page; the
// dialog and the exports run on one thread.
struct HandedFolder {
  const Globals* owner = nullptr;
  FSRef folder{};
};
HandedFolder gHandedFolder;

}  // namespace

void HandPresetsFolderToNextPage(const Globals* globals, const FSRef* folder) {
  gHandedFolder = HandedFolder{};
  if (globals && folder && folder->path[0]) gHandedFolder = HandedFolder{globals, *folder};
}

bool TakePresetsFolderForPage(const Globals* globals, FSRef* folder) {
  if (!globals || !folder || gHandedFolder.owner != globals) return false;
  *folder = gHandedFolder.folder;
  gHandedFolder = HandedFolder{};
  return true;
}

int32_t IterateAndWriteAny_presets_web_page(Globals* globals, const FSRef* page, const FSRef* folder,
                                            int32_t pageKind) {
  if (!globals || !page || !folder) return kBadParameter;
  HTMLStatus status;
  char folderName[kCNameBytes] = {};
  RefToCname(folder, folderName);
  OpenAndStartWebPage(&status, folderName, pageKind, kPresetColumns);
  for (const std::string& utf8 : PresetNames(folder)) {
    FSRef preset{};
    const int n = std::snprintf(preset.path, sizeof preset.path, "%s/%s", folder->path, utf8.c_str());
    if (n < 0 || size_t(n) >= sizeof preset.path) continue;
    Build_blank_preview(globals);
    uint8_t previewRead = 0;
    if (ReadSettingsFileSwitchably_ref(globals, &preset, 0, SettingsRead_PreviewOnly, &previewRead) != 0) break;
    emit_Generic_web_page_item(globals, &preset, &status);
  }
  return FinishAndCloseWebPage(&status, page);
}

int32_t IterateAndWriteGeneric_presets_web_page(Globals* globals, const FSRef* page, const FSRef* folder) {
  return IterateAndWriteAny_presets_web_page(globals, page, folder, HTMLPage_Presets);
}

void emit_Generic_web_page_item(Globals* globals, const FSRef* preset, HTMLStatus* status) {
  char roman[kCNameBytes];
  RefToCname(preset, roman);
  StartRowIfFirstColumn(status);
  StartCell(status, roman, kPresetThumbnail, kPresetThumbnail);
  // A thumbnail that cannot be made is left out; the page still names it.
  HTMLImage image{JpegNameOf(roman), {}};
  if (PreviewJPEG(globals, &image.bytes) == 0) status->images.push_back(std::move(image));
  AdvanceColumn(status);
}

int32_t paint_one_output_or_memdot_gallery_image(int32_t item, Globals* globals, std::vector<uint8_t>* jpeg,
                                                 uint8_t* cancelled, Rect* sizeOut, int32_t kind) {
  TParameters* p = Params(globals);
  if (!p || !jpeg || !cancelled) return kBadParameter;
  const Rect& full = globals->savedFilterRect;
  int32_t w = int32_t(full.right) - full.left, h = int32_t(full.bottom) - full.top;
  MakeSnug(&w, &h, kGalleryThumbnailSide);
  if (sizeOut) *sizeOut = Rect{0, 0, int16_t(h), int16_t(w)};

  const int32_t savedGlue = p->glueMode, savedMode = p->outputMode, savedKind = p->exportKind;
  if (kind == SaveKind_OutputModesGallery) {
    p->glueMode = 1;
    p->outputMode = item;
  } else {
    SaveToMemoryDot(globals, kSpareMemoryDot);
    LoadFromMemoryDot(globals, item);  // an empty dot leaves the settings as they are
  }
  p->exportKind = kExportKindResult;
  const int32_t e = RenderCanvasJPEG(globals, w, h, jpeg, cancelled);
  if (kind == SaveKind_OutputModesGallery) {
    p->glueMode = savedGlue;
    p->outputMode = savedMode;
  } else {
    LoadFromMemoryDot(globals, kSpareMemoryDot);
  }
  p->exportKind = savedKind;
  return e;
}

int32_t IterateAndWrite_output_or_memdot_gallery_web_page(Globals* globals, const FSRef* page, int32_t kind) {
  TParameters* p = Params(globals);
  if (!p || !page || (kind != SaveKind_OutputModesGallery && kind != SaveKind_MemoryDotsGallery))
    return kBadParameter;
  const bool outputs = kind == SaveKind_OutputModesGallery;
  const int32_t items = outputs ? kGalleryOutputItems : kGalleryMemoryDots;
  HTMLStatus status;
  OpenAndStartWebPage(&status, nullptr, outputs ? HTMLPage_OutputModes : HTMLPage_MemoryDots, kGalleryColumns);
  // One step per image and one for putting the page and its images in place.
  ExportProgress progress;
  BeginExportProgress(globals, &progress, items + 1);
  int32_t e = 0;
  uint8_t cancelled = 0;
  for (int32_t i = 0; i < items && e == 0 && !cancelled; ++i) {
    // A cancel in the progress window is seen between images too: one
    // image may take too few rows for the row loop's own poll.
    if (ExportProgressCancelled(globals)) {
      cancelled = 1;
      break;
    }
    char name[kCNameBytes];
    std::snprintf(name, sizeof name, outputs ? "code %d.jpg" : "dot %d.jpg", outputs ? i : i + 1);
    MakeCFilenameNonWeirdForHTMLDisplay(name);
    globals->galleryItem = i;
    if (outputs) p->outputMode = kGalleryOutputMode;
    HTMLImage image{name, {}};
    Rect size{};
    e = paint_one_output_or_memdot_gallery_image(outputs ? kGalleryOutputMode : i, globals, &image.bytes,
                                                 &cancelled, &size, kind);
    if (e != 0 || cancelled) break;
    StartRowIfFirstColumn(&status);
    StartCell(&status, name, size.right, size.bottom);
    status.images.push_back(std::move(image));
    AdvanceColumn(&status);
    ++globals->progressLayersDone;
  }
  globals->galleryItem = 0;
  if (e == 0 && cancelled) e = kUserCancelled;
  if (e == 0) {
    e = FinishAndCloseWebPage(&status, page);
    if (e == 0) ++globals->progressLayersDone;
  }
  EndExportProgress(globals, &progress);
  return e;
}

int32_t LaunchFileInBrowser(const FSRef* page) {
  if (!page) return kBadParameter;
  return OpenOrSayWhere(page->path, "The page could not be opened in a web browser.");
}
