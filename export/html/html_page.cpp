#include "export/html/html_page.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "export/html/html_gifs.h"
#include "export/html/html_text.h"
#include "export/safe_output.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "frame/base/text_utils.h"
#include "platform/mac_roman.h"

namespace {

constexpr char kCR[] = "\r";
constexpr char kCellStart[] = "<td align=\"center\" valign=\"top\" width=\"20%\">";
constexpr char kSpanningCell[] = "<td colspan=\"3\">";
constexpr char kImageFolder[] = "web_images";
constexpr int32_t kMaxColumns = 10;

// The reference of a file in the folder by its Mac OS Roman name, made
// without creating it: the file only comes into being whole.
int32_t ChildRef(const FSRef* folder, const char* romanName, FSRef* out) {
  char utf8[kCNameBytes * 3];
  MacRomanToUtf8(romanName, utf8, sizeof utf8);
  for (char* c = utf8; *c; ++c)
    if (*c == '/') *c = ':';  // as the file layer stores a slash in a name
  const int n = std::snprintf(out->path, sizeof out->path, "%s/%s", folder->path, utf8);
  return (n < 0 || size_t(n) >= sizeof out->path || !utf8[0]) ? kBadName : 0;
}

// A tag on a line of its own.
void Line(std::string* t, const char* tag) {
  *t += tag;
  *t += kCR;
}

// One cell of the drop-shadow frame, holding one of its images.
void ShadowCell(HTMLStatus* s, const char* open, int32_t w, int32_t h, const char* gif) {
  s->text += open;
  ExcreteImage(s, w, h, gif, ".gif", false);
  Line(&s->text, "</td>");
}

// A file of the page's image folder, staged whole beside its place.
int32_t StageImage(const FSRef* folder, const char* romanName, const void* bytes, size_t length, int32_t kind,
                   std::vector<SafeOutput>* staged) {
  FSRef ref{};
  if (int32_t e = ChildRef(folder, romanName, &ref)) return e;
  SafeOutput out{};
  if (int32_t e = StageExportFile(&out, &ref, bytes, length, kind)) return e;
  staged->push_back(out);
  return 0;
}

// One of the frame's images, whole from its header to its trailer byte.
int32_t EmitOneGIF(const FSRef* imageFolder, const char* name, const uint8_t* bytes, size_t length,
                   std::vector<SafeOutput>* staged) {
  return StageImage(imageFolder, name, bytes, length, FileKind_GIF, staged);
}

// Puts every staged file in place, the page last; on the first failure the
// rest are dropped.
int32_t CommitStaged(std::vector<SafeOutput>* staged, int32_t e) {
  for (SafeOutput& out : *staged) {
    if (e == 0) e = SafeOutputCommit(&out);
    SafeOutputAbandon(&out);  // nothing left once committed
  }
  return e;
}

}  // namespace

void ExcreteImage(HTMLStatus* s, int32_t w, int32_t h, const char* name, const char* extension, bool withAlt) {
  char clean[kCNameBytes];
  std::snprintf(clean, sizeof clean, "%s", name);
  MakeCFilenameNonWeirdForHTMLDisplay(clean);
  std::string& t = s->text;
  t += "<img src=\"";
  t += kImageFolder;
  t += "/";
  ExcreteFileNameMinusExtensionsHTML(clean, true, s);
  t += extension;
  t += "\"";
  if (withAlt) {
    t += " alt=\"";
    ExcreteFileNameMinusExtensionsHTML(clean, false, s);
    t += extension;
    t += "\"";
  }
  t += " width=";
  ExcreteQuotedInteger(w, s);
  t += " height=";
  ExcreteQuotedInteger(h, s);
  t += " border=\"0\">";
}

void ExcreteShadowTableStart(HTMLStatus* s, int32_t w, int32_t h) {
  std::string& t = s->text;
  t += "<table id=\"Table_01\" width=";
  ExcreteQuotedInteger(w + 6, s);
  t += " border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=";
  ExcreteQuotedInteger(h + 7, s);
  Line(&t, ">");
  Line(&t, "<tr>");
  ShadowCell(s, kSpanningCell, w + 6, 2, "top.gif");
  Line(&t, "</tr>");
  Line(&t, "<tr>");
  ShadowCell(s, "<td>", 3, h, "left.gif");
  t += "<td>";
}

void ExcreteShadowTableEnd(HTMLStatus* s, int32_t w, int32_t h) {
  std::string& t = s->text;
  Line(&t, "</td>");
  ShadowCell(s, "<td>", 3, h, "right.gif");
  Line(&t, "</tr>");
  Line(&t, "<tr>");
  ShadowCell(s, kSpanningCell, w + 6, 5, "bottom.gif");
  Line(&t, "</tr>");
  Line(&t, "</table>");
}

void OpenAndStartWebPage(HTMLStatus* s, const char* folderName, int32_t pageKind, int32_t columns) {
  s->column = s->row = 1;
  s->columnsPerRow = s->spacerColumns = columns < kMaxColumns ? columns : kMaxColumns;
  s->pageKind = pageKind;
  s->text.clear();
  s->images.clear();
  std::string& t = s->text;
  t += "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">";
  t += "\r\r<html>\r<head>\r";
  t += "<meta http-equiv=\"content-type\" content=\"text/html;charset=ISO-8859-1\">\r";
  t += "<meta name=\"generator\" content=\"";
  t += kPageMaker;
  t += " Gyrelle 2\">";
  t += "<title>Gyrelle 2";
  static constexpr const char* kTitles[] = {" presets", " images", " output modes", " memory dots"};
  if (pageKind >= 0 && pageKind <= 3) t += kTitles[pageKind];
  t += "</title>\r</head>\r\r";
  t += "<body bgcolor=\"#ffffff\">\r<p><br>\r\r";
  t += "<font size=\"4\" face=\"Gill Sans,Verdana,Helvetica,Arial,Geneva\"><b>Gyrelle 2";
  if (folderName) {
    t += pageKind == HTMLPage_Presets ? " presets from " : " images from ";
    for (const char* c = folderName; *c; ++c) WriteHTMLCharacter(uint8_t(*c), s);
  }
  if (pageKind == HTMLPage_OutputModes) t += " output modes ";
  if (pageKind == HTMLPage_MemoryDots) t += " memory dots ";
  t += "<br>\r</b></font></p>";
  t += "<table width=\"100%\" border=\"0\" cellspacing=\"12\" cellpadding=\"0\" align=\"center\">";
}

void StartRowIfFirstColumn(HTMLStatus* s) {
  if (s->column == 1) s->text += "<tr>";
}

void StartCell(HTMLStatus* s, const char* fileName, int32_t w, int32_t h) {
  std::string& t = s->text;
  t += kCellStart;
  t += kCR;
  ExcreteShadowTableStart(s, w, h);
  ExcreteImage(s, w, h, fileName, ".jpg", true);
  ExcreteShadowTableEnd(s, w, h);
  t += "<div align=\"center\">\r<br><font  size=\"3\" face=\"Gill Sans,Verdana,Helvetica,Arial\">";
  ExcreteFileNameMinusExtensionsHTML(fileName, false, s);
  t += "</font></div></td>\r\r";
}

void FlushTheStash(HTMLStatus* s) {
  std::string& t = s->text;
  t += "\r<tr>";
  for (int32_t i = 0; i < s->spacerColumns; ++i) {
    t += kCellStart;
    t += "<p>&nbsp;</p></td>";
  }
  t += "</tr>";
}

void AdvanceColumn(HTMLStatus* s) {
  if (++s->column <= s->columnsPerRow) return;
  s->text += "</tr>";
  FlushTheStash(s);
  ++s->row;
  s->column = 1;
}

void emit_empty_web_page_item(HTMLStatus* s) {
  std::string& t = s->text;
  StartRowIfFirstColumn(s);
  t += kCellStart;
  t += "<p></p>\r<div align=\"center\">\r<p><font face=\"Hoefler Text,Times New Roman,Georgia,Times\"><b>";
  t += "</b></font></p>\r</div>\r</td>\r\r";
  AdvanceColumn(s);
}

int32_t FinishAndCloseWebPage(HTMLStatus* s, const FSRef* page) {
  if (s->column >= 2 && s->column <= s->columnsPerRow) {
    while (s->column != 1) emit_empty_web_page_item(s);
  }
  s->text += "</table><br>\r</body></html>";
  FSRef parent{}, folder{};
  if (int32_t e = GetParentDirectory(page, &parent)) return e;
  FSRef existing{};
  const bool hadFolder = FSMakeRefByName(&parent, kImageFolder, &existing) == 0;
  if (int32_t e = ZorDirCreate(&parent, kImageFolder, &folder)) return e;
  struct Fixed {
    const char* name;
    const uint8_t* bytes;
    size_t length;
  } gifs[] = {{"top.gif", kGallery_top_gif, sizeof kGallery_top_gif},
              {"left.gif", kGallery_left_gif, sizeof kGallery_left_gif},
              {"right.gif", kGallery_right_gif, sizeof kGallery_right_gif},
              {"bottom.gif", kGallery_bottom_gif, sizeof kGallery_bottom_gif}};
  // Every file is whole on the disk before any is put in place, so that a
  // failure leaves the old page with its old images.
  std::vector<SafeOutput> staged;
  int32_t e = 0;
  for (const Fixed& g : gifs)
    if (e == 0) e = EmitOneGIF(&folder, g.name, g.bytes, g.length, &staged);
  for (const HTMLImage& image : s->images)
    if (e == 0)
      e = StageImage(&folder, image.name.c_str(), image.bytes.data(), image.bytes.size(), FileKind_JPEG, &staged);
  SafeOutput pageOut{};
  if (e == 0) e = StageExportFile(&pageOut, page, s->text.data(), s->text.size(), FileKind_PresetsPage);
  if (e == 0) staged.push_back(pageOut);
  e = CommitStaged(&staged, e);
  // A folder this page made and could not fill goes again.
  if (e != 0 && !hadFolder) FSDeleteObject(&folder);
  return e;
}
