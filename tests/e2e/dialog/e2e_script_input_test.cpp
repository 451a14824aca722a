// Dialog scripts are input too: gyrelle refuses a script that is not one
// before anything runs (exit 2, with the line), reads endless files only up
// to a limit, takes CR LF line ends, and finishes huge clock advances.
// Text fields edit through the real binary as a person types.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/dialog/script_run.h"

namespace {

using ScriptInput = ScriptDirTest;

TEST_F(ScriptInput, AMalformedStepIsRefusedWithItsLineAndNothingRuns) {
  struct Case {
    const char* step;
    const char* words;
  } cases[] = {
      {"click-at abc def", "steps.txt:2: click-at needs X Y"},
      {"click-at 1e308 nan", "steps.txt:2: click-at needs X Y"},
      {"slide 51 nan", "steps.txt:2: slide needs ITEM VALUE"},
      {"slide 51 inf", "steps.txt:2: slide needs ITEM VALUE"},
      {"advance -1", "steps.txt:2: advance needs a number of milliseconds"},
      {"drop-file 300 200 /no/such/settings.q2q", "steps.txt:2: drop-file: there is no file /no/such/settings.q2q"},
      {"drop-file 300 200 /tmp", "steps.txt:2: drop-file: /tmp is not a file"},
  };
  for (const Case& c : cases) {
    const ScriptRun r = RunDialogScript(dir_, std::string("window xparams\n") + c.step + "\nclick 2\n", "", "result.png");
    EXPECT_EQ(r.status, 2) << c.step << "\n" << r.err;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << c.step << "\n" << r.err;
    EXPECT_FALSE(Wrote()) << c.step;
  }
}

TEST_F(ScriptInput, NulBytesAndEndlessFilesAreRefused) {
  std::ofstream(dir_ + "/nul.txt") << std::string("window xparams\nclick\0 2\n", 24);
  const std::string gyrelle = std::string("cd '") + dir_ + "' && HOME='" + dir_ + "' '" + GYRELLE_EXE + "' -q ";
  const std::string image = " '" + std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png' out.png 2>err.txt";
  struct Case {
    const char* script;
    const char* words;
  } cases[] = {{"nul.txt", "nul.txt:2: the line holds a NUL byte"}, {"/dev/zero", "/dev/zero"}};
  for (const Case& c : cases) {
    const int raw = std::system((gyrelle + "--dialog-script " + c.script + image).c_str());
    std::stringstream err;
    err << std::ifstream(dir_ + "/err.txt").rdbuf();
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2) << c.script << "\n" << err.str();
    EXPECT_NE(err.str().find(c.words), std::string::npos) << c.script << "\n" << err.str();
  }
}

TEST_F(ScriptInput, CrLfLinesAndHugeAdvancesRun) {
  const ScriptRun r = RunDialogScript(
      dir_, "window xparams\r\nclick 48\r\nadvance 9223372036854775807\r\nadvance 1e23\r\nexpect value 48 1\r\nclick 2\r\n",
      "", "result.png");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Wrote());
  EXPECT_EQ(r.recorded.count("0011") ? r.recorded.at("0011") : "", "true");
}

TEST_F(ScriptInput, APixelOutsideTheWindowIsAnError) {
  const ScriptRun r = RunDialogScript(dir_, "window xparams\nexpect pixel 5000 10 0 0 0\nclick 2\n", "", "result.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("pixel 5000,10 lies outside the window \"xparams\""), std::string::npos) << r.err;
}

// Copy the tilt, paste it over the turn; select a part with Shift and type
// over it; Delete and the arrows; the settings follow the text.
TEST_F(ScriptInput, TextFieldsEditWithTheKeysOfAnyField) {
  const ScriptRun r = RunDialogScript(dir_,
                                      "window xparams\n"
                                      "focus 86\nkey control a\nkey control c\n"
                                      "focus 91\nkey control a\nkey control v\nexpect text 91 12.5\n"
                                      "key left\nkey shift left\nkey shift left\ntype 7\nexpect text 91 175\n"
                                      "key home\nkey delete\nkey end\nkey backspace\ntype 5\n"
                                      "expect text 91 75\n"
                                      "advance 1100\nexpect value 57 75\nclick 2\n",
                                      "--set 0034=12.5", "result.png");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.recorded.count("0035") ? r.recorded.at("0035") : "", "75");
}

}  // namespace
