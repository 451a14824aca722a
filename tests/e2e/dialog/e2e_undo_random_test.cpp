// Undo, redo, the undo files and the dice through gyrelle's headless
// dialog: the settings the run records tell what the buttons did.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

struct DialogRun {
  int status = -1;
  std::string err, recorded;
  std::map<std::string, double> numbers;  // key -> value of the "number"/"integer" entries
  std::string dir;
};

std::string Slurp(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// `home` lets runs share a Preferences folder; empty: one of the run's own.
DialogRun RunSteps(const std::string& steps, const std::string& home = "", const std::string& extra = "") {
  DialogRun r;
  char dir[] = "/tmp/gyrelle-undo-XXXXXX";
  if (!mkdtemp(dir)) return r;
  r.dir = dir;
  std::string text = steps;
  for (size_t at; (at = text.find("$DIR")) != std::string::npos;) text.replace(at, 4, r.dir);
  std::ofstream(r.dir + "/steps.txt") << text;
  const std::string h = home.empty() ? r.dir : home;
  const std::string cmd = "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + h + "' '" + GYRELLE_EXE + "' -q --dialog-script '" + r.dir +
                          "/steps.txt' --record '" + r.dir + "/rec.txt' " + extra + " '" + GYRELLE_SOURCE_DIR +
                          "/resources/default_panorama.png' '" + r.dir + "/out.png' 2>'" + r.dir + "/err.txt'";
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.err = Slurp(r.dir + "/err.txt");
  r.recorded = Slurp(r.dir + "/rec.txt");
  std::istringstream rec(r.recorded);
  std::string key, type;
  while (rec >> key >> type) {
    std::string rest;
    std::getline(rec >> std::ws, rest);
    if (type == "float" || type == "integer") r.numbers[key] = std::atof(rest.c_str());
  }
  return r;
}

void Clean(const DialogRun& r) {
  if (r.dir.rfind("/tmp/gyrelle-undo-", 0) == 0) std::system(("rm -rf '" + r.dir + "'").c_str());
}

TEST(DialogUndo, UndoTwiceIsRedoByteForByte) {
  const DialogRun changed = RunSteps("slide 37 45\nslide 57 30\nclick 2\n");
  const DialogRun undone = RunSteps("slide 37 45\nslide 57 30\nclick 74\nclick 2\n");
  const DialogRun redone = RunSteps("slide 37 45\nslide 57 30\nclick 74\nclick 74\nclick 2\n");
  for (const DialogRun* r : {&changed, &undone, &redone}) ASSERT_EQ(r->status, 0) << r->err;
  EXPECT_EQ(changed.numbers.at("0034"), 45);
  EXPECT_EQ(changed.numbers.at("0035"), 30);
  // One undo goes back to the state after the first slider only.
  EXPECT_EQ(undone.numbers.at("0034"), 45);
  EXPECT_EQ(undone.numbers.at("0035"), 0);
  EXPECT_EQ(redone.recorded, changed.recorded);
  for (const DialogRun* r : {&changed, &undone, &redone}) Clean(*r);
}

// A load is a snapshot kept in an undo file of the Preferences folder: an
// undo after a change brings back the whole loaded settings.
TEST(DialogUndo, UndoAfterALoadComesBackThroughTheUndoFile) {
  const DialogRun saved = RunSteps("popup 51 45\nslide 37 20\nchooser $DIR/look.q2q\nclick 26\nclick 2\n");
  ASSERT_EQ(saved.status, 0) << saved.err;
  char home[] = "/tmp/gyrelle-undo-XXXXXX";
  ASSERT_TRUE(mkdtemp(home));
  const DialogRun r = RunSteps("chooser " + saved.dir + "/look.q2q\nclick 35\nslide 37 -60\nclick 74\nclick 2\n", home);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.numbers.at("0034"), 20);
  const size_t mode = saved.recorded.find("Foky");
  ASSERT_NE(mode, std::string::npos);
  const std::string modeLine = saved.recorded.substr(mode, saved.recorded.find('\n', mode) - mode);
  EXPECT_NE(r.recorded.find(modeLine), std::string::npos) << modeLine << " in\n" << r.recorded;
  std::string listing;
  const std::string cmd = std::string("find '") + home + "' -name 'Gyrelle 2 undo *' | wc -l";
  FILE* p = popen(cmd.c_str(), "r");
  char buf[32] = {};
  if (p && fgets(buf, sizeof buf, p)) listing = buf;
  if (p) pclose(p);
  EXPECT_GE(std::atoi(listing.c_str()), 1) << "no undo file in " << home;
  Clean(saved);
  Clean(r);
  std::system((std::string("rm -rf '") + home + "'").c_str());
}

TEST(DialogDice, RandomSettingsStayInRangeAndReplayFromTheSeed) {
  const struct {
    const char* item;
    bool rightAngles;
  } dice[] = {{"72", false}, {"46", true}};
  for (const auto& d : dice) {
    SCOPED_TRACE(d.item);
    for (int seed : {1, 7, 12345}) {
      const std::string steps = "seed " + std::to_string(seed) + "\nclick " + d.item + "\nclick 2\n";
      const DialogRun a = RunSteps(steps), b = RunSteps(steps);
      ASSERT_EQ(a.status, 0) << a.err;
      EXPECT_EQ(a.recorded, b.recorded) << "seed " << seed;
      const double tilt = a.numbers.at("0034"), turn = a.numbers.at("0035"), spin = a.numbers.at("0036");
      EXPECT_GE(tilt, -90);
      EXPECT_LE(tilt, 90);
      for (double v : {turn, spin}) {
        EXPECT_GE(v, -180);
        EXPECT_LE(v, 180);
      }
      if (d.rightAngles)
        for (double v : {tilt, turn, spin}) EXPECT_EQ(int(v) % 90, 0) << v;
      Clean(a);
      Clean(b);
    }
  }
}

}  // namespace
