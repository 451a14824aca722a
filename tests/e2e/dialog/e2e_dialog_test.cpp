// The dialog through gyrelle's headless driver: scripts click, type, slide
// and choose; the settings the run records, the controls' values and the
// window's pictures show what the dialog did.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/e2e/dialog/png_probe.h"

namespace {

const std::string kImage = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";

struct ScriptRun {
  int status = -1;
  std::string err;
  std::map<std::string, std::string> recorded;  // descriptor key -> "type value"
  bool wroteOutput = false;
  std::string dir;
};

std::string Slurp(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs gyrelle on the built-in image with the script, in a home of its own
// (so that no cached settings of another run leak in).
ScriptRun RunScript(const std::string& script, const std::string& extra = "") {
  ScriptRun r;
  char dir[] = "/tmp/gyrelle-dialog-XXXXXX";
  if (!mkdtemp(dir)) return r;
  r.dir = dir;
  std::string text = script;
  for (size_t at; (at = text.find("$DIR")) != std::string::npos;) text.replace(at, 4, r.dir);
  std::ofstream(r.dir + "/script.txt") << text;
  const std::string cmd = "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + r.dir + "' '" + GYRELLE_EXE + "' -q --dialog-script '" + r.dir +
                          "/script.txt' --record '" + r.dir + "/rec.txt' " + extra + " '" + kImage + "' '" + r.dir +
                          "/out.png' 2>'" + r.dir + "/err.txt'";
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.err = Slurp(r.dir + "/err.txt");
  std::istringstream rec(Slurp(r.dir + "/rec.txt"));
  std::string key, rest;
  while (rec >> key && std::getline(rec >> std::ws, rest)) r.recorded[key] = rest;
  r.wroteOutput = std::ifstream(r.dir + "/out.png").good();
  return r;
}

void Clean(const ScriptRun& r) {
  if (!r.dir.empty()) std::system(("rm -rf '" + r.dir + "'").c_str());
}

// One control of each kind changes its setting (read back from the
// recorded settings after OK) and shows the value it took.
TEST(DialogScript, EachKindOfControlChangesItsSetting) {
  struct Case {
    const char* what;
    const char* steps;
    const char* key;
    const char* recorded;
  } cases[] = {
      {"checkbox", "click 48\nexpect value 48 1\n", "0011", "boolean true"},
      {"checkbox twice", "click 48\nclick 48\nexpect value 48 0\n", "0011", "boolean false"},
      {"slider", "slide 37 45\nexpect value 37 45\nexpect text 86 45\n", "0034", "float 45"},
      {"typed past the range", "focus 86\nkey backspace\ntype 200\nadvance 1000\nexpect value 37 90\n", "0034",
       "float 90"},
      // OK right after typing, before the typing timer refreshed: the shown value renders.
      {"typed fraction", "focus 85\nkey backspace\ntype 12.5\n", "0036", "float 12.5"},
      {"popup", "popup 51 7\nexpect value 51 7\n", "Foky", "enum Foty Fo07"},
      {"next button", "popup 51 2\nclick 94\nexpect value 51 3\n", "Foky", "enum Foty Fo03"},
      // A layout the renderer refuses in the preview leaves the next choice free.
      {"refused preview", "popup 51 289\npopup 51 3\n", "Foky", "enum Foty Fo03"},
      {"next glue", "click 81\nexpect value 73 2\n", "GLUE", "enum GLty GL02"},
      {"straighten", "slide 57 90\nclick 75\nexpect value 57 0\n", "0035", "float 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptRun r = RunScript(std::string("window xparams\n") + c.steps + "click 2\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.wroteOutput);
    EXPECT_EQ(r.recorded[c.key], c.recorded) << r.err;
    Clean(r);
  }
}

// Controls that do not apply to the output mode are dimmed and come back.
TEST(DialogScript, DependentItemsDimAndReturnWithTheOutputMode) {
  ScriptRun r = RunScript(
      "window xparams\n"
      "popup 51 91\nexpect active 103 0\nexpect active 104 0\nexpect active 102 0\n"
      "popup 51 92\nexpect active 103 1\nexpect active 104 1\n"
      "popup 51 1\nexpect active 59 0\nexpect active 83 0\n"
      "click 3\n");
  EXPECT_EQ(r.status, 1) << "cancelled";
  EXPECT_EQ(r.err.find("script.txt:"), std::string::npos) << r.err;
  Clean(r);
}

TEST(DialogScript, OkRendersWithTheShownSettingsAndCancelLeavesTheImage) {
  ScriptRun ok = RunScript("window xparams\npopup 51 3\nclick 2\n");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(ok.wroteOutput);
  EXPECT_EQ(ok.recorded["Foky"], "enum Foty Fo03");
  Clean(ok);
  ScriptRun cancel = RunScript("window xparams\npopup 51 3\nclick 3\n");
  EXPECT_EQ(cancel.status, 1);
  EXPECT_FALSE(cancel.wroteOutput) << "Cancel leaves the image untouched";
  EXPECT_NE(cancel.err.find("cancelled"), std::string::npos) << cancel.err;
  Clean(cancel);
  // The escape key is the Cancel button; the script running out cancels too.
  for (const char* steps : {"window xparams\nkey escape\n", "window xparams\n"}) {
    ScriptRun r = RunScript(steps);
    EXPECT_EQ(r.status, 1) << steps;
    EXPECT_FALSE(r.wroteOutput);
    Clean(r);
  }
}

TEST(DialogScript, TheLastAcceptedSettingsAreWhereTheNextDialogStarts) {
  ScriptRun first = RunScript("window xparams\nslide 37 30\nclick 2\n");
  ASSERT_EQ(first.status, 0) << first.err;
  // The same home: the next run's dialog shows what OK stored.
  std::ofstream(first.dir + "/script.txt") << "window xparams\nexpect value 37 30\nclick 2\n";
  const std::string cmd = "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + first.dir + "' '" + GYRELLE_EXE + "' -q --dialog-script '" +
                          first.dir + "/script.txt' '" + kImage + "' '" + first.dir + "/again.png' 2>/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  Clean(first);
}

TEST(DialogScript, AnAlertOverTheDialogReturnsToIt) {
  ScriptRun r = RunScript(
      "window xparams\nclick 99\n"
      "expect window quickinfo\nwindow quickinfo\nclick 4\n"
      "window xparams\nexpect window xparams\nclick 48\nexpect value 48 1\nclick 2\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.recorded["0011"], "boolean true");
  Clean(r);
}

// The preview shows the render of the shown settings: its middle changes
// with the output mode, and the surroundings stay.
TEST(DialogScript, ThePreviewFollowsTheOutputMode) {
  ScriptRun r = RunScript(
      "window xparams\nscreenshot $DIR/a.png\npopup 51 3\nscreenshot $DIR/b.png\npopup 51 1\n"
      "screenshot $DIR/c.png\nclick 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  ProbedImage a, b, c;
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/a.png", &a));
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/b.png", &b));
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/c.png", &c));
  int changed = 0;
  for (int y = 40; y < 340; y += 10)
    for (int x = 40; x < 460; x += 10)
      changed += std::abs(int(a.At(x, y)[0]) - int(b.At(x, y)[0])) + std::abs(int(a.At(x, y)[2]) - int(b.At(x, y)[2])) > 30;
  EXPECT_GT(changed, 100) << "the preview area shows another layout";
  // Outside the memory dots: the dot that held the opening settings is no
  // longer current once a setting changed, and shows it.
  int64_t differing = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (!(y >= 426 && y < 576 && x >= 10 && x < 168))
        for (int k = 0; k < 3; ++k) differing += a.At(x, y)[k] != c.At(x, y)[k];
  EXPECT_EQ(differing, 0) << "back to the first mode, the same picture";
  EXPECT_GT(CountDifferingPixels(a, c, 0), 0) << "the first dot is no longer current";
  // The settings column is the same but for the output popup and the dimmed items.
  EXPECT_EQ(a.At(700, 590)[0], b.At(700, 590)[0]);
  Clean(r);
}

// Dragging in the preview pans it when zoomed in, and not at the scale that
// shows the whole image; the zoom button's title follows the scale.
TEST(DialogScript, DraggingThePreviewPansOnlyWhenZoomedIn) {
  ScriptRun r = RunScript(
      "window xparams\nexpect text 34 33%\nscreenshot $DIR/whole.png\ndrag 250 190 210 170\n"
      "screenshot $DIR/whole-dragged.png\nclick 32\nexpect text 34 50%\nscreenshot $DIR/zoomed.png\n"
      "drag 250 190 230 180 210 170\nscreenshot $DIR/panned.png\nclick 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  ProbedImage whole, wholeDragged, zoomed, panned;
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/whole.png", &whole));
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/whole-dragged.png", &wholeDragged));
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/zoomed.png", &zoomed));
  ASSERT_TRUE(ReadLayerPNG(r.dir + "/panned.png", &panned));
  EXPECT_EQ(CountDifferingPixels(whole, wholeDragged, 0), 0);
  EXPECT_GT(CountDifferingPixels(zoomed, panned, 8), 10000);
  Clean(r);
}

// The parameter window as it opens, against the reference picture.
TEST(DialogScript, TheWindowMatchesItsReferencePicture) {
  ScriptRun r = RunScript("window xparams\nscreenshot $DIR/shown.png\nclick 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  int64_t pixels = 0;
  const int64_t differing = DifferenceFromReference(r.dir + "/shown.png", "xparams.png", &pixels);
  ASSERT_GE(differing, 0) << "unreadable, or the sizes differ";
  EXPECT_LT(differing, pixels / 200) << "more than 0.5% of the pixels moved";
  Clean(r);
}

TEST(DialogScript, NothingIsLeftAllocatedAfterThreeInvocations) {
  ScriptRun r = RunScript("window xparams\nclick 48\nslide 39 20\nclick 2\n", "--invocations 3 --memory-report");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(" 0 outstanding"), std::string::npos) << r.err;
  Clean(r);
}

TEST(DialogScript, BadStepsFailTheRun) {
  // A line that is no step refuses the whole script before anything runs.
  ScriptRun r = RunScript("window xparams\nexpect value 48 1\nfrobnicate\nclick 2\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("script.txt:3: unknown step \"frobnicate\""), std::string::npos) << r.err;
  EXPECT_FALSE(r.wroteOutput);
  Clean(r);
  // A step that runs and finds something else fails the run.
  r = RunScript("window xparams\nexpect value 48 1\nclick 2\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("item 48 has the value 0"), std::string::npos) << r.err;
  Clean(r);
}

}  // namespace
