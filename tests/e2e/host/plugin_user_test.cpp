// gyrelle tried as a new user would, with the real plug-in: recorded runs
// replay to the same bytes, bad settings are refused before any work, values
// out of range are named, notes say what the user would otherwise guess,
// the canvas, metadata and an unwritable output.
#include <gtest/gtest.h>

#include "e2e_run.h"
#include "plugin_fixture.h"
#include "host/io/image_io.h"

namespace gyhost_e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class NewUser : public PluginOnPlasma {};

TEST_F(NewUser, ARecordedRunReplaysToTheSameBytes) {
  for (const char* mode : {"Foky=Fo45", "Foky=Fo01"}) {
    SCOPED_TRACE(mode);
    const std::string record = dir_ / "d.txt";
    RunResult r = Run({"--set", mode, "--record", record, in_, dir_ / "r1.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Run({"--descriptor", record, in_, dir_ / "r2.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Samples(dir_ / "r1.png", "rgb", 8, dir_), Samples(dir_ / "r2.png", "rgb", 8, dir_));
  }
}

TEST_F(NewUser, BadSettingsAreRefusedBeforeAnyWork) {
  const std::string desc = dir_ / "bad.txt";
  WriteFile(desc, "gyrelle-descriptor 1\nFoky enum Foty Fo4S\n");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"--set", "foky=Fo45"}, "did you mean Foky?"},
      {{"--set", "Foky=Fo4S"}, "did you mean Fo45?"},
      {{"--set", "Foky=Fo34"}, "Fo33 or Fo35"},
      {{"--set", "GLUE=GL99"}, "GL62"},
      {{"--set", "Foky=45"}, "needs a code such as Fo45"},
      {{"--descriptor", desc}, "did you mean Fo45?"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {in_, dir_ / "o.png"});
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << c.args[1] << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
    EXPECT_FALSE(Exists(dir_ / "o.png")) << c.args[1];
  }
}

// A value out of range renders as the default does, and says so, whichever
// way it came.
TEST_F(NewUser, ValuesOutOfRangeAreNamedAndPutBack) {
  ASSERT_EQ(Run({"--set", "Foky=Fo45", in_, dir_ / "plain.png"}).status, 0);
  const std::string desc = dir_ / "nan.txt";
  WriteFile(desc, "gyrelle-descriptor 1\nFoky enum Foty Fo45\n0035 float nan\n");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"--set", "Foky=Fo45", "--set", "0035=270"}, "0035 (turn of the sphere"},
      {{"--set", "Foky=Fo45", "--set", "0035=nan"}, "nan is out of range"},
      {{"--descriptor", desc}, "nan is out of range"},
      {{"--set", "Foky=Fo45", "--set", "0037=0"}, "the default 120 is used"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {in_, dir_ / "o.png"});
    const RunResult r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
    EXPECT_EQ(Samples(dir_ / "o.png", "rgb", 8, dir_), Samples(dir_ / "plain.png", "rgb", 8, dir_)) << c.says;
  }
}

TEST_F(NewUser, NotesSayWhatTheUserWouldOtherwiseGuess) {
  RunResult r = RunGyrelle({"--list"}, dir_);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "  Fo45    46  Mollweide\n"));
  r = RunGyrelle({"--version"}, dir_);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "Gyrelle 2"));
  r = RunGyrelle({"--help"}, dir_);
  EXPECT_TRUE(Contains(r.out, "--list") && Contains(r.out, "--canvas")) << r.out;

  // Glue modes never touch floats.
  const std::string floats = dir_ / "in.tif";
  {
    gyhost::HostImage grey;
    ASSERT_TRUE(gyhost::ResizeHostImageZeroed(&grey, 40, 20, 3, false, gyhost::SampleType::F32));
    std::string error;
    ASSERT_TRUE(gyhost::WriteImageFile(floats, gyhost::ImageFormat::Tiff, grey, &error)) << error;
  }
  r = Run({"--set", "GLUE=GL09", floats, dir_ / "o.tif"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "a glue mode has no effect on a floating-point image")) << r.err;

  // After --dialog a plain run says where its settings came from.
  ASSERT_EQ(Run({"--dialog", "--set", "Foky=Fo45", in_, dir_ / "o.png"}).status, 0);
  r = Run({in_, dir_ / "o.png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "starting from the settings last accepted with --dialog")) << r.err;
  EXPECT_TRUE(Contains(r.err, "cached settings")) << r.err;
}

TEST_F(NewUser, TheCanvasSetsTheResultsSize) {
  const RunResult r = Run({"--set", "Foky=Fo70", "--canvas", "100x100", in_, dir_ / "planet.png"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Samples(dir_ / "planet.png", "rgb", 8, dir_).size(), 100u * 100u * 3u);
  EXPECT_EQ(Run({"--canvas", "100", in_, dir_ / "o.png"}).status, 2);
}

TEST_F(NewUser, MetadataTravelsToTheOutput) {
  gyhost::HostImage image;
  std::string error;
  ASSERT_TRUE(gyhost::ReadImageFile(in_, &image, &error)) << error;
  const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
  image.meta.xmp.assign(xmp.begin(), xmp.end());
  image.meta.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(gyhost::WriteImageFile(dir_ / "tagged.png", gyhost::ImageFormat::Png, image, &error)) << error;
  for (const char* out : {"o.png", "o.jpg"}) {
    ASSERT_EQ(Run({"--set", "Foky=Fo45", dir_ / "tagged.png", dir_ / out}).status, 0);
    gyhost::HostImage back;
    ASSERT_TRUE(gyhost::ReadImageFile(dir_ / out, &back, &error)) << error;
    EXPECT_EQ(back.meta.xmp, image.meta.xmp) << out;
    EXPECT_EQ(back.meta.exif, image.meta.exif) << out;
  }
}

TEST_F(NewUser, AnUnwritableOutputIsFoundBeforeTheRender) {
  const RunResult r = Run({"--set", "Foky=Fo45", in_, dir_ / "missing/o.png"});
  EXPECT_EQ(r.status, 4);
  EXPECT_TRUE(Contains(r.err, "does not exist")) << r.err;
  EXPECT_FALSE(Contains(r.err, "filter")) << r.err;
}

}  // namespace
}  // namespace gyhost_e2e

namespace gyhost_e2e {
namespace {

// Host faults the plug-in must not take for success: a descriptor whose
// reader closes with an error was not read as recorded, and a write suite
// that lacks a procedure must not be called through it.
TEST_F(NewUser, HostSuiteFaultsAreNotTakenForSuccess) {
  RunResult r = Run({"--descriptor-close-error", "-50", "--set", "Foky=Fo45", in_, dir_ / "o.png"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_FALSE(Exists(dir_ / "o.png"));
  r = Run({"--write-suite-gaps", "--set", "Foky=Fo45", "--record", dir_ / "d.txt", in_, dir_ / "o.png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "the filter recorded no settings")) << r.err;
  EXPECT_TRUE(Exists(dir_ / "o.png"));
}

}  // namespace
}  // namespace gyhost_e2e
