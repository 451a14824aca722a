// The chooser window through gyrelle's headless dialog: a script lets the
// chooser show its window ("chooser window") and drives it as a user would:
// a folder typed and opened, a row pressed, a name typed, OK or Cancel.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/e2e/dialog/script_run.h"

namespace {

class Chooser : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/gyrelle-chooser-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
    ::mkdir((dir_ + "/files").c_str(), 0755);
    ::mkdir((dir_ + "/files/sub").c_str(), 0755);
    std::ofstream(dir_ + "/files/notes.txt") << "not settings\n";
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::map<std::string, std::string> Run(const std::string& steps, const std::string& sets = "") {
    const ScriptRun run = RunDialogScript(dir_, steps + "window xparams\nclick 2\n", sets, "out.png");
    status_ = run.status;
    err_ = run.err;
    return run.recorded;
  }
  bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }

  int64_t SizeOfFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? int64_t(st.st_size) : -1;
  }

  std::string dir_;
  int status_ = -1;
  std::string err_;
};

// Rows of the list start 57 pixels down, 16 apart; folders come first.
std::string Row(int row) { return "click-at 100 " + std::to_string(57 + 16 * row + 8) + "\n"; }

TEST_F(Chooser, SavingTypesANameInTheFolderShownAndCancelWritesNothing) {
  // The folder is typed and opened first (OK on a folder enters it), then the name.
  Run("chooser window\nclick 26\nwindow chooser\nexpect text 4 Gyrelle 2 settings.q2q\nfill 4 " + dir_ +
          "/files\nclick 8\nexpect window chooser\nfill 4 mine.q2q\nclick 8\nexpect command-ok\n",
      "--set 0034=21");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_TRUE(Exists(dir_ + "/files/mine.q2q"));
  Run("chooser window\nclick 26\nwindow chooser\nfill 4 " + dir_ + "/files/other.q2q\nclick 9\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_FALSE(Exists(dir_ + "/files/other.q2q")) << "Cancel writes nothing";
  // Saving over a file asks first: Cancel there goes back to the chooser and
  // leaves the file; Replace writes it.
  Run("chooser window\nclick 26\nwindow chooser\nfill 4 " + dir_ +
      "/files/notes.txt\nclick 8\nwindow replace\nclick 2\nwindow chooser\nexpect window chooser\nclick 9\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(SizeOfFile(dir_ + "/files/notes.txt"), 13);
  Run("chooser window\nclick 26\nwindow chooser\nfill 4 " + dir_ + "/files/notes.txt\nclick 8\nwindow replace\nclick 1\n");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_GT(SizeOfFile(dir_ + "/files/notes.txt"), 13) << "replaced by the settings";
}

TEST_F(Chooser, OpeningListsOnlySettingsAndFoldersAndLoadsTheRowPressed) {
  Run("chooser " + dir_ + "/files/saved.q2q\nclick 26\nexpect command-ok\n", "--set 0034=-33");
  ASSERT_EQ(status_, 0) << err_;
  ASSERT_TRUE(Exists(dir_ + "/files/saved.q2q"));
  // Row 0 is the folder "sub", row 1 the settings file; notes.txt is not listed.
  auto rec = Run("chooser window\nclick 35\nwindow chooser\nfill 4 " + dir_ +
                 "/files\nclick 8\nfill 4 \nscreenshot " + dir_ + "/list.png\n" + Row(1) +
                 "click 8\nexpect command-ok\n",
                 "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "-33");
  // A second press on the chosen row takes it, as OK would.
  rec = Run("chooser window\nclick 35\nwindow chooser\nfill 4 " + dir_ + "/files\nclick 8\nfill 4 \n" + Row(1) + Row(1) +
                "expect command-ok\n",
            "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "-33");
  // Pressing a folder's row opens it: the sub folder is empty, OK finds no file.
  rec = Run("chooser window\nclick 35\nwindow chooser\nfill 4 " + dir_ + "/files\nclick 8\nfill 4 \n" + Row(0) +
                "click 8\nexpect window chooser\nclick 9\n",
            "--set 0034=10");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(rec["0034"], "10");
}

std::string Bytes(const std::string& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

TEST_F(Chooser, OptionPresetsRefreshesThePreviewsOfEveryPresetInAFolder) {
  // Two presets saved from the panorama, then refreshed in a run on a red
  // picture: their previews change, their settings stay, the dialog's own
  // settings come back, and files that are no presets are left alone.
  Run("chooser " + dir_ + "/files/a.q2q\nclick 26\n", "--set 0034=-33");
  Run("chooser " + dir_ + "/files/b.q2q\nclick 26\n", "--set 0034=44");
  const std::string a = Bytes(dir_ + "/files/a.q2q"), b = Bytes(dir_ + "/files/b.q2q");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  ASSERT_EQ(std::system(("convert -size 256x128 xc:red '" + dir_ + "/red.png'").c_str()), 0);
  std::ofstream(dir_ + "/steps.txt") << "chooser " << dir_ << "/files\nclick 15 option\nexpect command-ok\nclick 2\n";
  const std::string cmd = "cd '" + dir_ + "' && env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir_ + "' '" + GYRELLE_EXE +
                          "' -q --set 0034=7 --dialog-script steps.txt --record rec.txt red.png out.png 2>err.txt";
  const int raw = std::system(cmd.c_str());
  std::stringstream err;
  err << std::ifstream(dir_ + "/err.txt").rdbuf();
  ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << err.str();
  std::ifstream rec(dir_ + "/rec.txt");
  std::string key, type, value, tilt;
  while (rec >> key >> type >> value)
    if (key == "0034") tilt = value;
  EXPECT_EQ(tilt, "7") << "the dialog's settings come back";
  EXPECT_NE(Bytes(dir_ + "/files/a.q2q"), a);
  EXPECT_NE(Bytes(dir_ + "/files/b.q2q"), b);
  EXPECT_EQ(Bytes(dir_ + "/files/notes.txt"), "not settings\n");
  for (const auto& [name, want] : {std::pair{"a", "-33"}, std::pair{"b", "44"}}) {
    auto loaded = Run("chooser " + dir_ + "/files/" + name + ".q2q\nclick 35\n");
    ASSERT_EQ(status_, 0) << err_;
    EXPECT_EQ(loaded["0034"], want) << name;
  }
}

}  // namespace
