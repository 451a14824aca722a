// Memory dots through gyrelle's headless dialog, over several runs that
// share one Preferences folder: a dot keeps its settings across runs, an
// option-click empties it, a control-click leaves a dot that is not kept.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class MemoryDots : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/gyrelle-dots-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // The tilt the run renders with, after the steps and OK.
  double TiltAfter(const std::string& steps, int startTilt) {
    std::ofstream(dir_ + "/steps.txt") << steps << "click 2\n";
    const std::string cmd = "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir_ + "' '" + GYRELLE_EXE + "' -q --set 0034=" +
                            std::to_string(startTilt) + " --dialog-script '" + dir_ + "/steps.txt' --record '" + dir_ +
                            "/rec.txt' '" + GYRELLE_SOURCE_DIR + "/resources/default_panorama.png' '" + dir_ +
                            "/out.png' 2>'" + dir_ + "/err.txt'";
    const int raw = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << std::ifstream(dir_ + "/err.txt").rdbuf();
    std::ifstream rec(dir_ + "/rec.txt");
    std::string key, type;
    double value = 1e9;
    while (rec >> key >> type) {
      std::string rest;
      std::getline(rec >> std::ws, rest);
      if (key == "0034") value = std::atof(rest.c_str());
    }
    return value;
  }

  std::string dir_;
};

TEST_F(MemoryDots, ADotKeepsItsSettingsAcrossRuns) {
  EXPECT_EQ(TiltAfter("click 47\n", 33), 33);  // empty: stores
  EXPECT_EQ(TiltAfter("click 47\n", -10), 33);  // full: loads, in a later run
  std::ifstream file(dir_ + "/.config/Gyrelle 2/Gyrelle 2 memory dot 1.q2q");
  EXPECT_TRUE(file.good()) << "the dot's file in the Preferences folder";
}

TEST_F(MemoryDots, OptionClickEmptiesTheDot) {
  EXPECT_EQ(TiltAfter("click 47\n", 33), 33);
  // Emptied, the next click stores the settings of this run instead.
  EXPECT_EQ(TiltAfter("click 47 option\nclick 47\n", -20), -20);
  EXPECT_EQ(TiltAfter("click 47\n", 0), -20);
}

TEST_F(MemoryDots, ControlClickMakesADotThatIsNotKept) {
  EXPECT_EQ(TiltAfter("click 113 control\nslide 37 10\nclick 113\n", 33), 33);  // loads back within the run
  EXPECT_EQ(TiltAfter("click 113\n", 5), 5);  // gone after the run: stores
}

}  // namespace
