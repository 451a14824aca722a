// File names are the user's data: every byte a name may hold reaches the
// dialog's chooser unchanged (or the name is refused with a message), and a
// run writes exactly the files it names and nothing else. A --save run also
// leaves the settings later runs start from as they were.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "save_run.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kPanorama = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";

struct Outcome {
  int status = -1;
  std::string err;
};

// gyrelle with these arguments exactly (no shell between), in `dir`, with
// a home of `home`; the result goes to $dir/out.png unless `output` is given.
Outcome Gyrelle(const std::string& dir, const std::vector<std::string>& args, const std::string& home,
            const std::string& output = "") {
  std::vector<std::string> all = {GYRELLE_EXE, "-q"};
  all.insert(all.end(), args.begin(), args.end());
  all.push_back(kPanorama);
  all.push_back(output.empty() ? dir + "/out.png" : output);
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"HOME=" + home, "PATH=/usr/bin:/bin"};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string errPath = home + "/err.txt";
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  pid_t pid = 0;
  Outcome r;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  r.err = Slurp(errPath);
  return r;
}

// Every file under `dir` (not the home) with a digest of its bytes.
std::map<std::string, size_t> Snapshot(const std::string& dir) {
  std::map<std::string, size_t> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string rel = e.path().string().substr(dir.size() + 1);
    if (rel.rfind("home", 0) == 0) continue;
    files[rel] = e.is_regular_file() ? std::hash<std::string>{}(Slurp(e.path().string())) : 0;
  }
  return files;
}

// The files that are new or changed between two snapshots.
std::vector<std::string> Changes(const std::map<std::string, size_t>& before, const std::map<std::string, size_t>& after) {
  std::vector<std::string> changed;
  for (const auto& [name, digest] : after) {
    const auto it = before.find(name);
    if (it == before.end() || it->second != digest) changed.push_back(name);
  }
  for (const auto& [name, digest] : before)
    if (!after.count(name)) changed.push_back("(gone) " + name);
  return changed;
}

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& x : v) s += "[" + x + "] ";
  return s;
}

// Files a careless script would hit: the name up to '#', up to the newline,
// the step a newline would inject.
void PutDecoys(const std::string& dir) {
  for (const char* name : {"victim", "victim.q2q", "a", "x.q2q", "injected.png", "-x"})
    std::system(("printf old > '" + dir + "/" + name + "'").c_str());
}

struct OddName {
  const char* what;
  std::string stem;  // the extension of each kind is added
};

std::vector<OddName> OddNames() {
  return {
      {"a hash", "victim#2"},
      {"a newline and a step", "a\nscreenshot injected"},
      {"spaces and quotes", "two words \"and\" 'more'"},
      {"a backslash", "back\\slash"},
      {"non-ASCII UTF-8", "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"},
      {"a leading dash", "-x"},
      {"a comma before an equals sign of no option", "a,B=1"},
      {"255 bytes", std::string(251, 'n')},
  };
}

struct KindRow {
  const char* kind;
  const char* extension;
  const char* set;                        // settings the kind needs, or ""
  std::vector<std::string> siblings;      // files beside the one named, by what they add
  bool everyName;                         // through every odd name (else the first two)
};

TEST(OddNames, EveryKindWritesExactlyTheNameGivenOrRefusesIt) {
  const KindRow kinds[] = {
      {"settings", ".q2q", "", {}, true},
      {"psd", ".psd", "", {}, false},
      {"jpeg", ".jpg", "", {}, false},
      {"faces", ".psd", "Foky=Fo07", {}, false},
      {"obj", ".obj", "Foky=Fo07", {".jpg", ".mtl", ".stl"}, false},
      {"polymap", ".psd", "Foky=Fo07", {}, false},
      {"cubemap", ".psd", "", {"_d", "_u", "_l", "_b", "_r", "_f"}, false},
      {"ldraw", ".ldr", "", {}, false},
      {"brickstats", ".html", "", {}, false},
      {"presets", ".html", "", {}, false},
      {"dots-gallery", ".html", "", {"web_images"}, false},
  };
  const std::vector<OddName> names = OddNames();
  for (const KindRow& k : kinds) {
    for (size_t n = 0; n < names.size(); ++n) {
      if (!k.everyName && n >= 2 && n != names.size() - 1) continue;
      SCOPED_TRACE(std::string(k.kind) + ", " + names[n].what);
      const std::string dir = NewDir(), home = dir + "/home";
      ::mkdir(home.c_str(), 0755);
      PutDecoys(dir);
      const std::string name = names[n].stem + k.extension;
      std::vector<std::string> args;
      if (*k.set) args = {"--set", k.set};
      args.push_back(std::string("--save=") + k.kind + "=" + dir + "/" + name);
      const auto before = Snapshot(dir);
      const Outcome r = Gyrelle(dir, args, home);
      const std::vector<std::string> changed = Changes(before, Snapshot(dir));
      if (r.status != 0) {
        // Refused: said why, and nothing at all was written.
        EXPECT_TRUE(r.status == 1 || r.status == 2) << r.err;
        EXPECT_TRUE(r.err.find("bytes") != std::string::npos || r.err.find("too long") != std::string::npos) << r.err;
        EXPECT_TRUE(changed.empty()) << Joined(changed);
        RemoveDir(dir);
        continue;
      }
      std::vector<std::string> expected = {"out.png"};
      const bool tagged = std::string(k.kind) == "cubemap";
      if (!tagged) expected.push_back(name);
      for (const std::string& s : k.siblings) {
        if (s == "web_images") continue;
        expected.push_back(tagged ? names[n].stem + s + k.extension : names[n].stem + s);
      }
      std::vector<std::string> got;
      for (const std::string& c : changed)
        if (c.rfind("web_images", 0) != 0) got.push_back(c);
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(got, expected) << r.err;
      RemoveDir(dir);
    }
  }
}

TEST(OddNames, LoadReadsTheFileOfThatName) {
  for (const OddName& n : OddNames()) {
    SCOPED_TRACE(n.what);
    const std::string dir = NewDir(), home = dir + "/home";
    ::mkdir(home.c_str(), 0755);
    PutDecoys(dir);
    const std::string path = dir + "/" + n.stem + ".q2q";
    const Outcome saved = Gyrelle(dir, {"--set", "Foky=Fo45", "--save", "settings=" + path}, home);
    ASSERT_EQ(saved.status, 0) << saved.err;
    const auto before = Snapshot(dir);
    const Outcome loaded = Gyrelle(dir, {"--load", path, "--record", dir + "/rec.txt"}, home, dir + "/loaded.png");
    EXPECT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(Slurp(dir + "/rec.txt").find("Foky enum Foty Fo45"), std::string::npos) << loaded.err;
    std::vector<std::string> expected = {"loaded.png", "rec.txt"};
    EXPECT_EQ(Changes(before, Snapshot(dir)), expected);
    RemoveDir(dir);
  }
}

// The settings a plain run starts from are those last accepted with
// --dialog; a --save run presses the dialog's OK but chooses nothing.
TEST(DialogSaveSettings, ASaveRunLeavesTheNextRenderAsItWas) {
  const std::string dir = NewDir(), home = dir + "/home";
  ::mkdir(home.c_str(), 0755);
  const Outcome first = Gyrelle(dir, {}, home, dir + "/before.png");
  ASSERT_EQ(first.status, 0) << first.err;
  const std::vector<std::vector<std::string>> saves = {
      {"--set", "Foky=Fo45", "--save", "psd=" + dir + "/r.psd"},
      {"--save", "ldraw=" + dir + "/b.ldr,layers=10"},
      {"--set", "Foky=Fo07", "--save", "obj=" + dir + "/m.obj"},
      {"--save", "settings=" + dir + "/s.q2q"},
      {"--load", dir + "/s.q2q"},
  };
  for (const auto& args : saves) {
    SCOPED_TRACE(args[args.size() - 1]);
    const Outcome save = Gyrelle(dir, args, home, dir + "/saved.png");
    ASSERT_EQ(save.status, 0) << save.err;
    const Outcome after = Gyrelle(dir, {}, home, dir + "/after.png");
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(Slurp(dir + "/after.png"), Slurp(dir + "/before.png"));
  }
  // The sheet's ticks are not kept either: a bare ldraw has the default layers.
  const std::string fresh = NewDir(), freshHome = fresh + "/home";
  ::mkdir(freshHome.c_str(), 0755);
  ASSERT_EQ(Gyrelle(fresh, {"--save", "ldraw=" + fresh + "/b.ldr"}, freshHome).status, 0);
  ASSERT_EQ(Gyrelle(dir, {"--save", "ldraw=" + dir + "/b2.ldr"}, home).status, 0);
  const auto layers = [](const std::string& text) {
    const size_t at = text.find("Layer 1 of ");
    return at == std::string::npos ? std::string("none") : text.substr(at, text.find_first_not_of("0123456789", at + 11) - at);
  };
  EXPECT_EQ(layers(Slurp(dir + "/b2.ldr")), layers(Slurp(fresh + "/b.ldr")));
  EXPECT_NE(layers(Slurp(dir + "/b.ldr")), layers(Slurp(dir + "/b2.ldr"))) << "layers=10 made no difference";
  // --dialog is the way to choose them.
  const Outcome chosen = Gyrelle(dir, {"--dialog", "--set", "Foky=Fo45"}, home, dir + "/chosen.png");
  ASSERT_EQ(chosen.status, 0) << chosen.err;
  ASSERT_EQ(Gyrelle(dir, {}, home, dir + "/later.png").status, 0);
  EXPECT_EQ(Slurp(dir + "/later.png"), Slurp(dir + "/chosen.png"));
  EXPECT_NE(Slurp(dir + "/later.png"), Slurp(dir + "/before.png"));
  RemoveDir(dir);
  RemoveDir(fresh);
}

}  // namespace
