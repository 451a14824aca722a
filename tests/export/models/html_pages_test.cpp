// The gallery pages through the save dispatcher: tidy finds no error in
// them, a headless browser draws them, every image they name exists, their
// rows are whole; a page that cannot be finished changes nothing.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "dialog/dialog_services.h"
#include "export/html/html_galleries.h"
#include "export/html/html_page.h"
#include "export/html/html_text.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "frame/save_dispatch.h"
#include "model_scratch.h"
#include "support/driver_host.h"

using namespace models_test;

namespace {

constexpr int kW = 64, kH = 32;

struct PageHost {
  PageHost() : h(kW, kH, 3) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint8_t* px = &h.image[(size_t(y) * kW + x) * 3];
        px[0] = uint8_t(x * 4), px[1] = uint8_t(y * 8), px[2] = 128;
      }
    g = h.OpenInvocation();
    // The picture is read as the dialog's preview reads it.
    h.SetUpPreview(Rect{0, 0, 100, 100}, 1);
    DoPreviewFiltration(g);
    h.Settings()->outputMode = 1;
  }
  ~PageHost() { h.CloseInvocation(); }
  DriverHost h;
  Globals* g = nullptr;
};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string UrlDecoded(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out.push_back(char(std::stoi(s.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

// Every src and href of the page, relative to its folder, exists.
void ExpectEveryImageAndLinkExists(const Scratch& dir, const std::string& page) {
  const std::regex ref("(src|href)=\"([^\"]*)\"");
  int n = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), ref); it != std::sregex_iterator(); ++it, ++n)
    EXPECT_TRUE(Exists(dir.Path(UrlDecoded((*it)[2].str())))) << (*it)[2].str();
  EXPECT_GT(n, 0);
}

// tidy -errors: exit 2 means errors; the report must hold none.
void ExpectTidyFindsNoError(const std::string& path) {
  if (!HaveTool("tidy")) {
    ADD_FAILURE() << "tidy is missing: run scripts/setup-debian.sh";
    return;
  }
  std::string out;
  const int status = RunCommand("tidy -errors -q '" + path + "'", &out);
  EXPECT_LT(status, 2) << out;
  EXPECT_EQ(out.find("Error:"), std::string::npos) << out;
}

// A headless browser draws the page; the screenshot stays in the test output
// folder and must not be one flat colour.
void ExpectBrowserDraws(const std::string& path, const std::string& shot) {
  const char* browser = HaveTool("chromium") ? "chromium" : (HaveTool("chromium-headless-shell") ? "chromium-headless-shell" : nullptr);
  if (!browser) {
    ADD_FAILURE() << "chromium is missing: run scripts/setup-debian.sh";
    return;
  }
  std::string out;
  const std::string cmd = std::string(browser) +
                          " --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1400,1800"
                          " --screenshot='" + shot + "' 'file://" + path + "'";
  RunCommand("HOME=/tmp timeout 120 " + cmd, &out);
  ASSERT_TRUE(Exists(shot)) << out;
  std::string stats;
  ASSERT_EQ(RunCommand("identify -format '%[fx:standard_deviation]' '" + shot + "'", &stats), 0) << stats;
  EXPECT_GT(std::atof(stats.c_str()), 0.01) << "the screenshot is blank";
  std::printf("[ screenshot ] %s\n", shot.c_str());
}

std::string ShotPath(const std::string& name) {
  const std::string folder = std::string(GYRELLE_TEST_OUTPUT) + "/screenshots";
  std::string out;
  RunCommand("mkdir -p '" + folder + "'", &out);
  return folder + "/" + name;
}

}  // namespace

TEST(HtmlPages, MemoryDotPageOfTwentyFiveRendersInSevenRows) {
  PageHost host;
  Scratch dir;
  FSRef page = dir.MadeFile("Gyrelle 2 memory dots.html");
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_MemoryDotsGallery), 0);
  const std::string text = ReadWhole(page.path);
  EXPECT_EQ(text.find('\n'), std::string::npos) << "lines end with CR alone";
  EXPECT_NE(text.find("<title>Gyrelle 2 memory dots</title>"), std::string::npos);
  EXPECT_EQ(Count(text, "alt=\"dot "), 25u);
  EXPECT_EQ(Count(text, "Hoefler Text"), 3u) << "the seventh row is filled with three empty cells";
  EXPECT_EQ(Count(text, "<tr>"), Count(text, "</tr>"));
  EXPECT_EQ(Count(text, "<p>&nbsp;</p>"), 7u * 4u) << "a spacer row after each of the seven rows";
  // 64 x 32 renders at 300 x 150, framed 306 x 157.
  EXPECT_NE(text.find("width=\"306\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"157\""),
            std::string::npos);
  EXPECT_NE(text.find("<img src=\"web_images/dot%201.jpg\" alt=\"dot 1.jpg\" width=\"300\" height=\"150\""),
            std::string::npos);
  const std::vector<std::string> images = dir.Names("web_images");
  EXPECT_EQ(images.size(), 29u);
  std::string out;
  ASSERT_EQ(RunCommand("identify '" + dir.Path("web_images/dot 25.jpg") + "' '" + dir.Path("web_images/top.gif") + "'", &out), 0);
  EXPECT_NE(out.find("300x150"), std::string::npos) << out;
  EXPECT_NE(out.find("GIF 94x2"), std::string::npos) << out;
  // The thumbnails show the picture, not an empty canvas.
  ASSERT_EQ(RunCommand("identify -format '%[fx:mean]' '" + dir.Path("web_images/dot 7.jpg") + "'", &out), 0);
  EXPECT_GT(std::atof(out.c_str()), 0.2) << out;
  ExpectEveryImageAndLinkExists(dir, text);
  ExpectTidyFindsNoError(page.path);
  ExpectBrowserDraws(page.path, ShotPath("memory_dots_page.png"));
}

TEST(HtmlPages, OutputModePageThatCannotRenderLeavesNothing) {
  PageHost host;
  Scratch dir;
  FSRef page = dir.MadeFile("Gyrelle 2 results.html");
  WriteWhole(page.path, "old page");
  const int32_t e = DoSaveThings(host.g, &page, 0, SaveKind_OutputModesGallery);
  if (e == 0) {
    // Once its solid is built the page holds 64 cells in 16 full rows.
    const std::string text = ReadWhole(page.path);
    EXPECT_EQ(Count(text, "alt=\"code "), 64u);
    EXPECT_EQ(Count(text, "Hoefler Text"), 0u);
    ExpectEveryImageAndLinkExists(dir, text);
    ExpectTidyFindsNoError(page.path);
    return;
  }
  EXPECT_EQ(ReadWhole(page.path), "old page");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"Gyrelle 2 results.html"});
  EXPECT_EQ(host.h.Settings()->outputMode, 287) << "the gallery's mode stays, as after a finished page";
  EXPECT_EQ(host.g->galleryItem, 0);
}

TEST(HtmlPages, CancelledPageChangesNothing) {
  PageHost host;
  Scratch dir;
  FSRef page = dir.MadeFile("dots.html");
  WriteWhole(page.path, "old page");
  // The user cancels in the progress window while the first images render.
  ProgressWindowStandIn window{};
  host.g->progressWindow = &window;
  host.g->storage->exportCancelled = 1;
  EXPECT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_MemoryDotsGallery), -128);
  host.g->progressWindow = nullptr;
  EXPECT_EQ(ReadWhole(page.path), "old page");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"dots.html"});
}

// The gallery renders under the export's progress window: each image moves
// it on, and a cancel the host's abort poll reports midway goes through the
// window's cancel mark, stops the page and leaves nothing behind: the old
// page as it was, no image folder that was not there before.
TEST(HtmlPages, GalleryShowsProgressAndACancelMidwayLeavesNothing) {
  PageHost host;
  Scratch dir;
  FSRef page = dir.MadeFile("dots.html");
  WriteWhole(page.path, "old page");
  host.h.abortAfterPolls = 8;
  host.h.abortPolls = 0;
  EXPECT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_MemoryDotsGallery), -128);
  EXPECT_EQ(host.g->progressWindow, nullptr) << "the window is taken down";
  EXPECT_EQ(host.g->storage->exportCancelled, 1) << "the cancel was seen through the progress window";
  EXPECT_EQ(host.g->progressLayerCount, 26);
  EXPECT_GT(host.g->progressLayersDone, 0) << "some images were done";
  EXPECT_LT(host.g->progressLayersDone, 25) << "the rest were not rendered";
  EXPECT_EQ(ReadWhole(page.path), "old page");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"dots.html"});

  // Uncancelled, the window counts every image and the page itself.
  host.h.abortAfterPolls = -1;
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_MemoryDotsGallery), 0);
  EXPECT_EQ(host.g->progressWindow, nullptr);
  EXPECT_EQ(host.g->progressLayersDone, 26);
}

// The folder chosen in the dialog's folder chooser is the one the presets
// page lists, once; the page's own folder otherwise.
TEST(HtmlPages, PresetsPageListsTheFolderHandedOver) {
  PageHost host;
  Scratch chosen, other;
  for (const auto& [dir, name] : {std::pair{&chosen, "Chosen one.q2q"}, std::pair{&other, "Beside the page.q2q"}}) {
    FSRef preset = dir->MadeFile(name);
    ASSERT_EQ(DoSaveThings(host.g, &preset, 0, SaveKind_Settings), 0);
  }
  FSRef folder{};
  std::snprintf(folder.path, sizeof folder.path, "%s", chosen.path().c_str());
  FSRef page = other.MadeFile("Gyrelle 2 presets.html");

  HandPresetsFolderToNextPage(host.g, &folder);
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  std::string text = ReadWhole(page.path);
  EXPECT_NE(text.find("Chosen one</font>"), std::string::npos) << text;
  EXPECT_EQ(text.find("Beside the page"), std::string::npos);
  const std::string folderName = chosen.path().substr(chosen.path().rfind('/') + 1);
  EXPECT_NE(text.find(" presets from " + folderName), std::string::npos);
  EXPECT_TRUE(Exists(other.Path("web_images/Chosen one.jpg")));

  // Taken once: the next page lists its own folder again.
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  text = ReadWhole(page.path);
  EXPECT_NE(text.find("Beside the page</font>"), std::string::npos);
  EXPECT_EQ(text.find("Chosen one"), std::string::npos);

  // A folder handed over and then forgotten (the page's chooser was
  // cancelled), or handed to another invocation, is not used.
  HandPresetsFolderToNextPage(host.g, &folder);
  HandPresetsFolderToNextPage(host.g, nullptr);
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  EXPECT_EQ(ReadWhole(page.path).find("Chosen one"), std::string::npos);
  Globals elsewhere{};
  HandPresetsFolderToNextPage(&elsewhere, &folder);
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  EXPECT_EQ(ReadWhole(page.path).find("Chosen one"), std::string::npos);
  FSRef taken{};
  EXPECT_TRUE(TakePresetsFolderForPage(&elsewhere, &taken));
  EXPECT_STREQ(taken.path, folder.path);
}

TEST(HtmlPages, PresetsPageShowsEachPresetWithItsPreview) {
  PageHost host;
  Scratch dir;
  // Two presets, one with a blank and an e acute in its name.
  for (const char* name : {"Little planet.q2q", "Caf\xc3\xa9 night.q2q"}) {
    FSRef preset = dir.MadeFile(name);
    ASSERT_EQ(DoSaveThings(host.g, &preset, 0, SaveKind_Settings), 0);
  }
  WriteWhole(dir.Path("notes.txt"), "not a preset");
  FSRef page = dir.MadeFile("Gyrelle 2 presets.html");
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  const std::string text = ReadWhole(page.path);
  EXPECT_NE(text.find("<title>Gyrelle 2 presets</title>"), std::string::npos);
  EXPECT_NE(text.find("Caf&eacute; night</font>"), std::string::npos);
  EXPECT_NE(text.find("web_images/Little%20planet.jpg"), std::string::npos);
  // The image's name is cleaned for the web, its caption is not.
  EXPECT_NE(text.find("web_images/Caf%5f%20night.jpg"), std::string::npos);
  EXPECT_EQ(Count(text, "alt=\""), 2u);
  EXPECT_EQ(Count(text, "Hoefler Text"), 3u) << "a row of five";
  EXPECT_TRUE(Exists(dir.Path("web_images/Caf_ night.jpg")));
  EXPECT_TRUE(Exists(dir.Path("web_images/Little planet.jpg")));
  ExpectTidyFindsNoError(page.path);
  ExpectBrowserDraws(page.path, ShotPath("presets_page.png"));
}

TEST(HtmlPages, EmptyFolderGivesHeadAndEmptyTable) {
  PageHost host;
  Scratch dir;
  FSRef page = dir.MadeFile("p.html");
  ASSERT_EQ(DoSaveThings(host.g, &page, 0, SaveKind_PresetsPage), 0);
  const std::string text = ReadWhole(page.path);
  EXPECT_NE(text.find("cellpadding=\"0\" align=\"center\"></table><br>\r</body></html>"), std::string::npos) << text;
}

TEST(HtmlPages, NamesAsTextAndAsAddresses) {
  struct Case {
    const char* name;
    bool url;
    const char* want;
  } cases[] = {
      {"a \"b\" & <c>.q2q", false, "a &quot;b&quot; &amp; &lt;c&gt;"},
      {"\x8e" "t\xe9.jpg", false, "&eacute;t&Egrave;"},
      {"x y-1.jpg", true, "x%20y%2d1"},
      {"\x8e.a.b", true, "%8e%2ea"},
      // Characters the entity table had no HTML name for, and references
      // into the C1 range, become the character's own code point.
      {"\xa0\xad\xd0\xf0", false, "&#8224;&#8800;&#8211;&#63743;"},
      {"\xb6\xdb", false, "&#8706;&euro;"},
  };
  for (const Case& c : cases) {
    HTMLStatus out{};
    ExcreteFileNameMinusExtensionsHTML(c.name, c.url, &out);
    EXPECT_EQ(out.text, c.want) << c.name;
  }
}

namespace {

TEST(HtmlPages, NumberWriters) {
  struct Case {
    void (*write)(HTMLStatus*);
    const char* want;
  } cases[] = {
      {[](HTMLStatus* s) { ExcreteInteger(-12, s); }, "-12"},
      {[](HTMLStatus* s) { ExcreteFloat(0.5f, s); }, "0.50000000"},
      {[](HTMLStatus* s) { ExcreteFloat(-1.0f / 3.0f, s); }, "-0.33333334"},  // the f32's own digits
      {[](HTMLStatus* s) { ExcreteQuotedInteger(7, s); }, "\"7\""},
  };
  for (const Case& c : cases) {
    HTMLStatus s{};
    s.text = "x";
    c.write(&s);
    EXPECT_EQ(s.text, std::string("x") + c.want);
  }
}

// The frame of a 300 x 150 thumbnail, byte for byte: 306 x 157, the strips
// across, the sides beside the image, no alt text on the frame's images.
TEST(HtmlPages, ShadowFrameAroundAThumbnail) {
  HTMLStatus s{};
  ExcreteShadowTableStart(&s, 300, 150);
  s.text += "IMAGE";
  ExcreteShadowTableEnd(&s, 300, 150);
  EXPECT_EQ(s.text,
            "<table id=\"Table_01\" width=\"306\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"157\">\r"
            "<tr>\r<td colspan=\"3\"><img src=\"web_images/top.gif\" width=\"306\" height=\"2\" border=\"0\"></td>\r"
            "</tr>\r<tr>\r<td><img src=\"web_images/left.gif\" width=\"3\" height=\"150\" border=\"0\"></td>\r"
            "<td>IMAGE</td>\r<td><img src=\"web_images/right.gif\" width=\"3\" height=\"150\" border=\"0\"></td>\r"
            "</tr>\r<tr>\r<td colspan=\"3\"><img src=\"web_images/bottom.gif\" width=\"306\" height=\"5\" "
            "border=\"0\"></td>\r</tr>\r</table>\r");
}

}  // namespace
