// The dialog as a person uses it, through gyrelle's headless driver: popups
// open their menus, every named mode can be picked, what the window offers
// renders, a refused preview says why and keeps the settings that rendered,
// and a pan renders again once the drag ends.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/e2e/dialog/png_probe.h"
#include "tests/e2e/dialog/script_run.h"

namespace {

class Menus : public ScriptDirTest {
 protected:
  ScriptRun Run(const std::string& steps, const std::string& sets = "") {
    std::string text = steps;
    for (size_t at; (at = text.find("$DIR")) != std::string::npos;) text.replace(at, 4, dir_);
    std::remove((dir_ + "/rec.txt").c_str());
    std::remove((dir_ + "/result.png").c_str());
    return RunDialogScript(dir_, text, sets, "result.png");
  }
};

TEST_F(Menus, AMenuOpensOnAClickAndItsItemIsPickedByKeysTypingOrAClick) {
  struct Case {
    const char* what;
    const char* steps;
    const char* key;
    const char* recorded;
  } cases[] = {
      {"typing the first letters, then Return", "click 51\nexpect window menu\ntype Moll\nkey return\n"
       "expect window xparams\nexpect text 51 Mollweide\n", "Foky", "Foty Fo45"},
      {"a click on the item", "menu 51 46\nexpect value 51 46\n", "Foky", "Foty Fo45"},
      {"Escape leaves the mode", "popup 51 1\nclick 51\nkey down\nkey down\nkey escape\nexpect value 51 1\n", "Foky", "Foty Fo01"},
      {"mode 290 is in the list", "menu 51 290\nexpect text 51 VivoDodecahedron\n", "Foky", "Foty Fr92"},
      {"the dimmed 291 is passed over", "menu 51 290\nclick 51\nkey down\nkey return\nexpect value 51 292\n"
       "menu 51 3\n", "Foky", "Foty Fo03"},
      {"a click on the dimmed row chooses nothing", "popup 51 1\nmenu 51 291\nkey escape\nexpect value 51 1\n", "Foky", "Foty Fo01"},
      {"input modes by name", "expect text 12 equirectangular\nmenu 12 7\nexpect text 12 Mollweide\n", "Fiky",
       "Fity Fi07"},
      {"graticules by name", "expect text 21 none\nmenu 21 3\nexpect text 21 every 6 degrees\n", "Fgky", "Fgty Fgr3"},
  };
  for (const Case& c : cases) {
    ScriptRun r = Run(std::string("window xparams\n") + c.steps + "window xparams\nclick 2\n");
    EXPECT_EQ(r.status, 0) << c.what << "\n" << r.err;
    EXPECT_EQ(r.recorded.count(c.key) ? r.recorded.at(c.key) : "", c.recorded) << c.what;
  }
}

TEST_F(Menus, ASettingAtModeTwoNinetyShowsItsOwnName) {
  ScriptRun r = Run("window xparams\nexpect value 51 290\nexpect text 51 VivoDodecahedron\nclick 2\n",
                          "--set Foky=Fr92");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.recorded["Foky"], "Foty Fr92");
  EXPECT_TRUE(Wrote());
}

TEST_F(Menus, TheDimmedModeCannotBeChosenByAScriptEither) {
  ScriptRun r = Run("window xparams\npopup 51 291\nclick 2\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("item 291 of the popup is dimmed"), std::string::npos) << r.err;
}

// The open menu over the window, against the reference picture.
TEST_F(Menus, TheOpenMenuMatchesItsReferencePicture) {
  ScriptRun r = Run("window xparams\nmenu 51 7\nclick 51\nkey down\nscreenshot $DIR/menu.png\nkey escape\nclick 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  int64_t pixels = 0;
  const int64_t differing = DifferenceFromReference(dir_ + "/menu.png", "menu.png", &pixels);
  ASSERT_GE(differing, 0) << "unreadable, or the sizes differ";
  EXPECT_LT(differing, pixels / 200) << "more than 0.5% of the pixels moved";
}

// A person drags the window larger: the preview grows and renders again,
// against the reference picture; it never gets smaller than it opens.
TEST_F(Menus, TheResizedWindowMatchesItsReferencePicture) {
  ScriptRun r = Run("window xparams\nresize 1100 760\nscreenshot $DIR/resized.png\nresize 100 100\n"
                    "screenshot $DIR/least.png\nclick 2\n", "--set Foky=Fo45");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Wrote());
  ProbedImage least;
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/least.png", &least));
  EXPECT_EQ(least.width, 860);
  EXPECT_EQ(least.height, 598);
  int64_t pixels = 0;
  const int64_t differing = DifferenceFromReference(dir_ + "/resized.png", "resized.png", &pixels);
  ASSERT_GE(differing, 0) << "unreadable, or the sizes differ";
  EXPECT_LT(differing, pixels / 200) << "more than 0.5% of the pixels moved";
}

// The View slider stops at the least angle the renderer takes; typing 0
// puts the box there too, and OK renders.
TEST_F(Menus, TheViewAngleAtItsLeastRenders) {
  ScriptRun r = Run("window xparams\nslide 103 0\nexpect value 103 1\nexpect text 104 1\n"
                          "fill 104 0\nadvance 1100\nexpect text 104 1\nexpect command-ok\nclick 2\n",
                          "--set Foky=Fo14");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.recorded["0037"], "1") << r.err;
  EXPECT_TRUE(Wrote());
  EXPECT_EQ(r.err.find("view angle"), std::string::npos) << r.err;
}

// A settings file the renderer refuses, dropped on the window: the alert
// says why, the settings that rendered come back, and OK renders them.
TEST_F(Menus, ARefusedPreviewSaysWhyAndKeepsTheSettingsThatRendered) {
  const std::string preset = dir_ + "/icosa.q2q";
  // The window opens with the alert of its first preview over it.
  Run("window caution alert\nclick 1\nwindow xparams\nchooser " + preset + "\nclick 26\nclick 2\n", "--set Foky=Fr93");
  struct stat st;
  ASSERT_EQ(::stat(preset.c_str(), &st), 0) << "the settings file was saved";
  ScriptRun r = Run("window xparams\ndrop-file 300 200 " + preset + "\nexpect window caution alert\n"
                          "window caution alert\nexpect text 2 This output mode's solid has no faces, so there is "
                          "nothing to draw.\nexpect text 3 The settings that rendered last are back.\nclick 1\n"
                          "window xparams\nexpect value 51 46\nclick 2\n",
                          "--set Foky=Fo45");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.recorded["Foky"], "Foty Fo45");
  EXPECT_TRUE(Wrote());
}

// After a pan of the zoomed preview the picture is rendered again: it is
// the one a later refresh at the same place gives, not the raw input.
TEST_F(Menus, APannedPreviewIsRenderedAgainWhenTheDragEnds) {
  ScriptRun r = Run("window xparams\nclick 32\nclick 32\ndrag 250 190 230 180 200 170\n"
                          "screenshot $DIR/panned.png\ncheck 71 1\ncheck 71 0\nscreenshot $DIR/refreshed.png\n"
                          "click 2\n",
                          "--set Foky=Fo45");
  ASSERT_EQ(r.status, 0) << r.err;
  ProbedImage panned, refreshed;
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/panned.png", &panned));
  ASSERT_TRUE(ReadLayerPNG(dir_ + "/refreshed.png", &refreshed));
  EXPECT_EQ(CountDifferingPixels(panned, refreshed, 2), 0);
}

}  // namespace
