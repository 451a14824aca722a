// Every gyrelle command README.md shows, run as a reader would run it from
// the top of the tree (the reader's own panoramas stood in for by small
// ones), and what the text says of the results checked where it says it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "e2e_run.h"

namespace gyhost_e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The indented lines that start with build/gyrelle, continuations joined.
std::vector<std::string> ReadmeCommands() {
  std::istringstream in(ReadFile(std::string(GYRELLE_SOURCE_DIR) + "/README.md"));
  std::vector<std::string> commands;
  std::string line;
  bool continued = false;
  while (std::getline(in, line)) {
    if (continued) {
      commands.back() += " " + line.substr(line.find_first_not_of(' '));
    } else if (line.rfind("    build/gyrelle ", 0) == 0) {
      commands.push_back(line.substr(4));
    } else {
      continue;
    }
    continued = !commands.back().empty() && commands.back().back() == '\\';
    if (continued) commands.back().pop_back();
  }
  return commands;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

// The mean RGB of a square of an image file, through ImageMagick (a mean,
// so that the lines of the panorama's grid do not decide).
std::vector<uint32_t> MeanColour(const std::string& image, int x, int y, int side, const ScratchDir& dir) {
  const std::string crop = dir / ".mean.png";
  Convert(Quote(image) + " -crop " + std::to_string(side) + "x" + std::to_string(side) + "+" + std::to_string(x) + "+" +
              std::to_string(y) + " +repage -scale 1x1! " + Quote(crop),
          dir);
  return Samples(crop, "rgb", 8, dir);
}

TEST(Readme, EveryCommandDoesWhatItSays) {
  ScratchDir dir;
  const std::string build = std::filesystem::path(GYRELLE_EXE).parent_path().string();
  std::filesystem::create_directory_symlink(build, dir / "build");
  std::filesystem::create_directory_symlink(std::string(GYRELLE_SOURCE_DIR) + "/resources", dir / "resources");
  std::filesystem::create_directories(dir / "out");
  std::filesystem::create_directories(dir / "PANORAMAS");
  const std::string pano = Quote(std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png");
  Convert(pano + " -resize 256x128 " + Quote(dir / "YOUR_PANORAMA.jpg"), dir);
  Convert(pano + " -resize 128x64 " + Quote(dir / "PANORAMAS/one.tif"), dir);
  Convert(pano + " -resize 128x64 -flop " + Quote(dir / "PANORAMAS/two.tif"), dir);
  // An OpenEXR panorama, made by gyrelle itself (the identity).
  ASSERT_EQ(RunCommand("cd " + Quote(dir.path()) + " && build/gyrelle -q PANORAMAS/one.tif YOUR_PANORAMA.exr", dir).status,
            0);

  const std::vector<std::string> commands = ReadmeCommands();
  ASSERT_GE(commands.size(), 10u);
  for (const std::string& shown : commands) {
    SCOPED_TRACE(shown);
    if (Contains(shown, "[options]")) continue;  // the synopsis
    // Run from the scratch folder as from the top of the tree, with no
    // settings cached from the reader's own dialog.
    std::string command = "cd " + Quote(dir.path()) + " && XDG_CONFIG_HOME=" + Quote(dir / "config") + " " +
                          Replace(shown, "PANORAMAS/*.tif", "PANORAMAS/one.tif PANORAMAS/two.tif");
    const RunResult r = RunCommand(command, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Contains(r.err, "warning")) << r.err;

    if (Contains(shown, "out/planet.png")) {
      // A little planet: the ground at the centre, the sky all round.
      const std::vector<uint32_t> centre = MeanColour(dir / "out/planet.png", 824, 824, 400, dir);
      const std::vector<uint32_t> corner = MeanColour(dir / "out/planet.png", 0, 0, 300, dir);
      EXPECT_GT(centre[0], centre[2]);  // brown
      EXPECT_GT(corner[2], corner[0]);  // blue
      // ...and below it too, where a planet centred on the horizon has ground.
      const std::vector<uint32_t> below = MeanColour(dir / "out/planet.png", 874, 1748, 300, dir);
      EXPECT_GT(below[2], below[0]);
    }
    if (Contains(shown, "--record out/settings.txt")) {
      const std::string recorded = ReadFile(dir / "out/settings.txt");
      EXPECT_TRUE(Contains(recorded, "Foky enum Foty Fo11")) << recorded;  // names are recorded as codes
      EXPECT_TRUE(Contains(recorded, "GLUE enum GLty GL09")) << recorded;
    }
    if (Contains(shown, "-o out/maps")) {
      EXPECT_TRUE(Exists(dir / "out/maps/one.jpg") && Exists(dir / "out/maps/two.jpg"));
    }
    if (Contains(shown, "--list gores")) {
      EXPECT_TRUE(Contains(r.out, "gores 12") && Contains(r.out, "gores multi")) << r.out;
      EXPECT_FALSE(Contains(r.out, "Mollweide")) << r.out;
    }
    if (Contains(shown, "--list \"Winkel Tripel\"")) {
      EXPECT_TRUE(Contains(r.out, "TW46, output mode 35: Winkel Tripel")) << r.out;
    }
  }
  for (const char* written : {"out/mollweide.png", "out/map.tif", "out/map.exr", "out/cube-net.png", "out/faces.psd",
                              "out/cube.obj", "out/result.png", "out/mollweide-overlays.png"}) {
    EXPECT_TRUE(Exists(dir / written)) << written;
  }
}

}  // namespace
}  // namespace gyhost_e2e
