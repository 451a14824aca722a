// The dialog's own views through gyrelle's headless dialog: the colour
// swatches with their picker and colour drags, the trackball and the angle
// dial driven by drag paths, and files dragged in and out.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

class CustomViews : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/gyrelle-views-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // Runs the steps, then OK (unless told not to), and answers the recorded settings.
  std::map<std::string, std::string> Run(const std::string& steps, const std::string& sets = "", bool ok = true) {
    std::ofstream(dir_ + "/steps.txt") << steps << (ok ? "click 2\n" : "");
    const std::string cmd = "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir_ + "' '" + GYRELLE_EXE + "' -q " + sets +
                            " --dialog-script '" + dir_ + "/steps.txt' --record '" + dir_ + "/rec.txt' '" +
                            GYRELLE_SOURCE_DIR + "/resources/default_panorama.png' '" + dir_ + "/out.png' 2>'" + dir_ +
                            "/err.txt'";
    const int raw = std::system(cmd.c_str());
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::stringstream err;
    err << std::ifstream(dir_ + "/err.txt").rdbuf();
    err_ = err.str();
    std::map<std::string, std::string> rec;
    std::ifstream in(dir_ + "/rec.txt");
    std::string key, type;
    while (in >> key >> type) {
      std::string rest;
      std::getline(in >> std::ws, rest);
      rec[key] = rest;
    }
    return rec;
  }

  std::string dir_;
  int status_ = -1;
  std::string err_;
};

TEST_F(CustomViews, ThePickerSetsColourAAndADragCarriesItToColourB) {
  auto rec = Run("picker 65535 8224 0\nclick 7\nexpect colour 7 65535 8224 0\nexpect command-ok\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0001"], "255");
  EXPECT_EQ(rec["0002"], "32");
  EXPECT_EQ(rec["0003"], "0");
  EXPECT_EQ(rec["0004"], "255");  // colour B untouched
  rec = Run(
      "picker 0 32896 65535\nclick 7\n"
      "drag 682 437 688 437 737 437\n"
      "expect colour 8 0 32896 65535\nexpect command-ok\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "0");
  EXPECT_EQ(rec["0005"], "128");
  EXPECT_EQ(rec["0006"], "255");
}

TEST_F(CustomViews, ACancelledPickerAndAStillPressChangeNothing) {
  auto rec = Run("picker cancel\nclick 8\nexpect colour 8 65535 65535 65535\n", "--set 0004=255 --set 0005=255 --set 0006=255");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "255");
  // A press that moves less than the drag threshold is a click: the picker.
  rec = Run("picker 0 0 0\ndrag 737 437 738 437\nexpect colour 8 0 0 0\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0004"], "0");
}

TEST_F(CustomViews, ThePickerWindowTakesTheUsersSliders) {
  auto rec = Run(
      "click 7\nwindow color picker\nslide 1 0\nslide 2 255\nslide 3 0\nclick 10\n"
      "window xparams\nexpect colour 7 0 65535 0\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0001"], "0");
  EXPECT_EQ(rec["0002"], "255");
  EXPECT_EQ(rec["0003"], "0");
}

}  // namespace
