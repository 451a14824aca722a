// Files dragged into and out of gyrelle's headless dialog, and the memory
// well: settings dropped on the window load, other files are refused,
// presets dropped on the well fill empty dots; the drag button, the
// settings name and the well drag the result, the settings and the dot shown
// into a folder; hovering over the dots shows their thumbnails.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/e2e/dialog/png_probe.h"
#include "tests/e2e/dialog/script_run.h"

namespace {

class DragDrop : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/gyrelle-dnd-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
    ::mkdir((dir_ + "/out").c_str(), 0755);
    std::ofstream(dir_ + "/notes.txt") << "not settings\n";
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::map<std::string, std::string> Run(const std::string& steps, const std::string& sets = "") {
    const ScriptRun run = RunDialogScript(dir_, "window xparams\n" + steps + "click 2\n", sets, "result.png");
    status_ = run.status;
    err_ = run.err;
    return run.recorded;
  }
  int64_t SizeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? int64_t(st.st_size) : -1;
  }
  // A settings file with this tilt, saved through the dialog.
  std::string SettingsWithTilt(int tilt) {
    const std::string path = dir_ + "/tilt" + std::to_string(tilt) + ".q2q";
    Run("chooser " + path + "\nclick 26\n", "--set 0034=" + std::to_string(tilt));
    EXPECT_GT(SizeOf(path), 0) << err_;
    return path;
  }

  std::string dir_;
  int status_ = -1;
  std::string err_;
};

// Window points: the preview (300, 200), the well's centre (84, 485), the
// drag button (198, 470), the settings name (300, 387); dot 1 (item 47) at
// (28, 444); a point left of the window (-50, y) is outside it.

TEST_F(DragDrop, ASettingsFileDroppedOnTheWindowLoadsAndOtherFilesAreRefused) {
  const std::string preset = SettingsWithTilt(-33);
  auto rec = Run("drop-file 300 200 " + preset + "\nexpect text 76 tilt-33.q2q\nexpect command-ok\n", "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "-33");
  rec = Run("drop-file 300 200 " + dir_ + "/notes.txt\n", "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "10");
}

TEST_F(DragDrop, APresetDroppedOnTheWellFillsAnEmptyDotAndLeavesTheSettings) {
  const std::string preset = SettingsWithTilt(-33);
  // Dot 0 holds the settings the dialog opened with; the drop goes to dot 1.
  auto rec = Run("drop-file 84 485 " + preset + "\n", "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "10") << "the drop on the well loads nothing";
  rec = Run("click 47\n", "--set 0034=5");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "-33") << "dot 1 holds the dropped preset, across runs";
}

TEST_F(DragDrop, TheResultTheSettingsAndTheDotShownGoOutAsFiles) {
  // The result goes out through an export with its progress window: the
  // script waits for it before the next drag.
  Run("drop-folder " + dir_ + "/out\n"
      "drag 198 470 206 470 -50 470\nsettle\n"
      "drag 198 470 206 470 -50 470\nsettle\n"
      "drag 300 387 310 387 -50 387\n"
      "drag 84 485 92 485 -50 485\n"
      "expect command-ok\n",
      "--set 0034=21");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_GT(SizeOf(dir_ + "/out/Gyrelle 2 image.psd"), 1000);
  EXPECT_GT(SizeOf(dir_ + "/out/Gyrelle 2 image 2.psd"), 1000) << "a second drop is renumbered beside the first";
  EXPECT_GT(SizeOf(dir_ + "/out/Gyrelle 2 settings.q2q"), 0);
  EXPECT_GT(SizeOf(dir_ + "/out/Gyrelle 2 settings 2.q2q"), 0) << "the dot shown";
  // Both settings files load back with the tilt the run had.
  for (const char* name : {"/out/Gyrelle 2 settings.q2q", "/out/Gyrelle 2 settings 2.q2q"}) {
    auto rec = Run("drop-file 300 200 " + dir_ + name + "\n");
    ASSERT_EQ(status_, 0) << err_;
    EXPECT_EQ(rec["0034"], "21") << name;
  }
  // A press that does not move is a click: nothing goes anywhere.
  Run("drop-folder " + dir_ + "/out\nclick-at 198 470\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(SizeOf(dir_ + "/out/Gyrelle 2 image 3.psd"), -1);
}

bool WellIsEmpty(const ProbedImage& shot) {
  // The well without a picture is one flat colour round its centre.
  for (int y = 450; y < 520; y += 7)
    for (int x = 50; x < 120; x += 7)
      for (int k = 0; k < 3; ++k)
        if (shot.At(x, y)[k] != shot.At(84, 485)[k]) return false;
  return true;
}

TEST_F(DragDrop, HoveringOverTheDotsShowsTheirThumbnailsInTheWell) {
  // Dot 1 stores a tilted view; hovering over the empty dot 2 clears the
  // well; back over dot 0 its own (level) thumbnail shows; the timer ticks
  // every 0.1 s, so nothing changes before it does.
  Run("slide 37 60\nclick 47\nscreenshot " + dir_ + "/a.png\n"
      "move 28 456\nadvance 100\nscreenshot " + dir_ + "/b.png\n"
      "move 24 432\nscreenshot " + dir_ + "/c.png\nadvance 100\nscreenshot " + dir_ + "/d.png\n");
  ASSERT_EQ(status_, 0) << err_;
  ProbedImage a, b, c, d;
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/a.png", &a));
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/b.png", &b));
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/c.png", &c));
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/d.png", &d));
  EXPECT_FALSE(WellIsEmpty(a)) << "a dot just stored shows its thumbnail";
  EXPECT_TRUE(WellIsEmpty(b)) << "an empty dot clears the well";
  EXPECT_TRUE(WellIsEmpty(c)) << "before the timer's tick";
  EXPECT_FALSE(WellIsEmpty(d));
  int differing = 0;
  for (int y = 445; y < 525; y += 4)
    for (int x = 44; x < 124; x += 4) differing += std::abs(int(a.At(x, y)[2]) - int(d.At(x, y)[2])) > 20;
  EXPECT_GT(differing, 20) << "dot 0's thumbnail is not dot 1's";
}

TEST_F(DragDrop, OptionClickOnTheCurrentDotClearsTheWellAndAWellClickThenDoesNothing) {
  // Dot 0 (item 10) holds the opening settings and shows in the well.
  auto rec = Run("screenshot " + dir_ + "/a.png\nclick 10 option\nscreenshot " + dir_ +
                     "/b.png\nslide 37 15\nclick-at 84 485\n",
                 "--set 0034=-20");
  ASSERT_EQ(status_, 0) << err_;
  ProbedImage a, b;
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/a.png", &a));
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/b.png", &b));
  EXPECT_FALSE(WellIsEmpty(a));
  EXPECT_TRUE(WellIsEmpty(b));
  EXPECT_EQ(rec["0034"], "15") << "a click on the empty well loads nothing";
}

}  // namespace
