// gyrelle beside the tools people already use: a batch of files in one
// process, and the notes that say where a result may surprise, checked by
// their words.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e_run.h"
#include "frame/settings/enum_codes.h"
#include "host/descriptor.h"
#include "host/cli/mode_keys_table.h"

namespace gyhost_e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Cli : public ::testing::Test {
 protected:
  RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", GYRELLE_PLUGIN});
    return RunGyrelle(args, dir_);
  }
  // Without --quiet, so that the notes show.
  RunResult RunAloud(const std::vector<std::string>& args) {
    std::string command = "XDG_CONFIG_HOME=" + Quote(dir_ / "config") + " " + Quote(GYRELLE_EXE);
    for (const std::string& a : args) command += " " + Quote(a);
    return RunCommand(command, dir_);
  }
  std::string Plasma(const std::string& name, const std::string& size, int seed, int depth = 8) {
    const std::string path = dir_ / name;
    Convert("-seed " + std::to_string(seed) + " -size " + size + " plasma: -depth " + std::to_string(depth) + " " +
                Quote(path),
            dir_);
    return path;
  }
  ScratchDir dir_;
};

// One failing file does not stop the rest; two inputs of one name never
// write one file; what is written is what single runs write.
TEST_F(Cli, ABatchWritesTheRestAndNamesEachFailure) {
  std::filesystem::create_directories(dir_ / "a");
  std::filesystem::create_directories(dir_ / "b");
  const std::string one = Plasma("a/pano.png", "128x64", 1), two = Plasma("b/pano.png", "128x64", 2);
  const std::string three = Plasma("three.tif", "96x48", 3), broken = dir_ / "broken.png";
  WriteFile(broken, "not an image");
  const RunResult r = Run({"--set", "Foky=mollweide", "-o", dir_ / "out", one, broken, two, three});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Contains(r.err, "cannot read " + broken)) << r.err;
  EXPECT_TRUE(Contains(r.err, two + ": not rendered: its output " + dir_ / "out/pano.png" + " is already the output of " + one))
      << r.err;
  EXPECT_TRUE(Contains(r.err, "2 of 4 files written; failed: " + broken + " " + two)) << r.err;
  ASSERT_TRUE(Exists(dir_ / "out/pano.png"));
  ASSERT_TRUE(Exists(dir_ / "out/three.tif"));
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_ / "out")) ++files;
  EXPECT_EQ(files, 2u);
  ASSERT_EQ(Run({"--set", "Foky=Fo45", one, dir_ / "single.png"}).status, 0);
  EXPECT_EQ(ReadFile(dir_ / "single.png"), ReadFile(dir_ / "out/pano.png"));
  ASSERT_EQ(Run({"--set", "Foky=Fo45", three, dir_ / "single.tif"}).status, 0);
  EXPECT_EQ(ReadFile(dir_ / "single.tif"), ReadFile(dir_ / "out/three.tif"));

  // All well: exit 0; a pattern and --format name the results.
  const RunResult ok = Run({"--set", "Foky=Fo45", "--format", "jpg", "-o", dir_ / "{name}_moll", one, three});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(Exists(dir_ / "pano_moll.jpg") && Exists(dir_ / "three_moll.jpg"));
  // -o naming a file is an ordinary run for one input, refused for two.
  EXPECT_EQ(Run({"--set", "Foky=Fo45", one, "-o", dir_ / "named.png"}).status, 0);
  EXPECT_EQ(ReadFile(dir_ / "named.png"), ReadFile(dir_ / "single.png"));
  const RunResult two_to_one = Run({"--set", "Foky=Fo45", "-o", dir_ / "both.png", one, three});
  EXPECT_EQ(two_to_one.status, 2);
  EXPECT_TRUE(Contains(two_to_one.err, "names one file for 2 inputs")) << two_to_one.err;
  EXPECT_FALSE(Exists(dir_ / "both.png"));
  // A batch whose result would replace its input refuses that file only.
  const std::string before = ReadFile(three);
  EXPECT_EQ(Run({"--set", "Foky=Fo45", "-o", dir_.path(), three}).status, 1);
  EXPECT_EQ(ReadFile(three), before);
}

TEST_F(Cli, NotesSayWhereTheResultMaySurprise) {
  const std::string squat = Plasma("squat.png", "100x60", 4), wide = Plasma("wide.png", "100x50", 5);
  const std::string deep = Plasma("deep.png", "64x32", 6, 16);
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;  // "" for no note at all
  } cases[] = {
      {{"--set", "Foky=Fo45", squat, dir_ / "o.png"}, 0, "the input is 100x60, not 2:1"},
      {{"--set", "Foky=Fo45", "--set", "Fiky=Fi02", squat, dir_ / "o.png"}, 0, ""},  // a mirror ball needs no 2:1
      {{"-q", "--set", "Foky=Fo45", squat, dir_ / "o.png"}, 0, ""},
      {{"--set", "Foky=Fo45", wide, dir_ / "o.png"}, 0, ""},
      {{"--set", "Foky=Fo45", deep, dir_ / "o.jpg"}, 0, "the 16-bit result is written as 8-bit"},
      {{"--set", "Foky=Fo45", deep, dir_ / "o.png"}, 0, ""},
      {{"--set", "Foky=Fr93", wide, dir_ / "o.png"}, 1, "output mode Fr93 (291, VivoIcosahedron), from --set Foky=Fr93, is not drawable"},
      {{"--set", "Foky=vivoicosahedron", wide, dir_ / "o.png"}, 1, "from --set Foky=vivoicosahedron, is not drawable"},
      {{"--set", "Foky=Fo45", dir_.path(), dir_ / "o.png"}, 3, "is a folder, not an image"},
      {{"--set", "Foky=Fo45", wide, dir_ / "x.png", dir_ / "y.png"}, 2, "give an output folder, gyrelle [options] -o OUTDIR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 3] + " " + c.args[c.args.size() - 2]);
    std::filesystem::remove(dir_ / "o.png");
    std::vector<std::string> args = {"--plugin", GYRELLE_PLUGIN};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult r = RunAloud(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.says[0])
      EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
    else
      EXPECT_FALSE(Contains(r.err, "note:")) << r.err;
  }
}

}  // namespace
}  // namespace gyhost_e2e

namespace gyhost_e2e {
namespace {

// The table --list reads the keys of a mode from agrees with the filter: a
// sample of its rows, rendered as the generator renders them.
TEST_F(Cli, TheKeysListedForAModeChangeItsPicture) {
  const std::string in = dir_ / "in.png";
  Convert(Quote(std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png") + " -resize 256x128! -depth 8 " +
              Quote(in),
          dir_);
  const auto render = [&](const std::string& code, const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--set", "Foky=" + code};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {in, dir_ / "k.png"});
    std::filesystem::remove(dir_ / "k.png");
    return Run(args).status == 0 ? ReadFile(dir_ / "k.png") : std::string();
  };
  int32_t sampled = 0;
  for (size_t i = 0; i < std::size(kModeKeys); i += 23) {
    const ModeKeysRow& row = kModeKeys[i];
    FourCC code = 0;
    zor_ValueToEnum(row.mode, kEnumTypeOutputMode, &code);
    const std::string c = gyhost::FormatFourCC(code);
    SCOPED_TRACE(c);
    const std::string plain = render(c, {});
    if (plain.empty()) continue;
    ++sampled;
    EXPECT_EQ(render(c, {"--set", "0037=60"}) != plain, row.viewAngle);
    EXPECT_EQ(render(c, {"--set", "0038=5"}) != plain, row.tabSize);
    EXPECT_EQ(render(c, {"--set", "0017=true"}) != plain, row.falseColours);
  }
  EXPECT_GE(sampled, 10);
}

}  // namespace
}  // namespace gyhost_e2e
