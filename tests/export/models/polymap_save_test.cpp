// The equirectangular polyhedron map (save kind 12): a one-layer document
// twice as wide as the chosen size is high, whose layer shows in false
// colours which face of the solid each direction meets; written through
// gyrelle's save command end to end, and whole or not at all.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "frame/globals.h"
#include "frame/base/host_rects.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "frame/save_dispatch.h"
#include "model_scratch.h"
#include "support/driver_host.h"

using namespace models_test;

namespace {

// Colour of every pixel of a PNG, row by row, as ImageMagick reads it.
std::vector<std::vector<std::string>> Pixels(const std::string& png, int w, int h) {
  std::string out;
  EXPECT_EQ(RunCommand("convert '" + png + "' -alpha off -depth 8 txt:-", &out), 0) << out;
  const std::vector<std::string> blank(static_cast<size_t>(w));
  std::vector<std::vector<std::string>> rows(static_cast<size_t>(h), blank);
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    int x = -1, y = -1;
    if (line.empty() || line[0] == '#' || std::sscanf(line.c_str(), "%d,%d:", &x, &y) != 2) continue;
    const size_t hash = line.find('#');
    if (x >= 0 && x < w && y >= 0 && y < h && hash != std::string::npos) rows[size_t(y)][size_t(x)] = line.substr(hash, 7);
  }
  return rows;
}

#ifdef GYRELLE_EXE
// The cube's map: its top face fills the top rows, its bottom face the
// bottom rows, and the equator crosses the four side faces; six colours in
// all, one per face. Any thread count writes the same layer.
TEST(PolyMapSave, TheCubeMapThroughGyrelle) {
  Scratch dir;
  const std::string input = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";
  std::string layers[2];
  const int threads[2] = {1, 8};
  for (int k = 0; k < 2; ++k) {
    const std::string psd = dir.Path("map" + std::to_string(k) + ".psd");
    const std::string cmd = std::string(GYRELLE_EXE) + " --quiet --threads " + std::to_string(threads[k]) +
                            " --plugin '" + GYRELLE_PLUGIN + "' --set Foky=Fo07 --save 'polymap=" + psd +
                            ",size=64' '" + input + "' '" + dir.Path("out.png") + "' 2>&1";
    std::string log;
    ASSERT_EQ(RunCommand("HOME='" + dir.path() + "' XDG_CONFIG_HOME='" + dir.path() + "' " + cmd, &log), 0) << log;
    std::string info;
    ASSERT_EQ(RunCommand("identify -format '%wx%h\\n' '" + psd + "'", &info), 0) << info;
    EXPECT_EQ(info, "128x64\n128x64\n") << "the composite and one layer";
    layers[k] = dir.Path("layer" + std::to_string(k) + ".png");
    ASSERT_EQ(RunCommand("convert '" + psd + "[1]' '" + layers[k] + "'", &info), 0) << info;
  }
  const auto a = Pixels(layers[0], 128, 64), b = Pixels(layers[1], 128, 64);
  EXPECT_EQ(a, b) << "one and eight threads";
  std::set<std::string> all, equator;
  for (const auto& row : a)
    for (const auto& c : row) all.insert(c);
  for (const auto& c : a[32]) equator.insert(c);
  std::set<std::string> top(a[0].begin(), a[0].end()), bottom(a[63].begin(), a[63].end());
  EXPECT_EQ(top.size(), 1u);
  EXPECT_EQ(bottom.size(), 1u);
  EXPECT_NE(*top.begin(), *bottom.begin());
  // The edge pixels between faces may blend two colours.
  std::map<std::string, int> counts;
  for (const auto& row : a)
    for (const auto& c : row) ++counts[c];
  int faces = 0;
  for (const auto& [c, n] : counts) faces += n >= 100;
  EXPECT_EQ(faces, 6);
  int sides = 0;
  for (const auto& c : equator) sides += counts[c] >= 100 && !top.count(c) && !bottom.count(c);
  EXPECT_EQ(sides, 4);
}

// A layout without a solid has no map: the run says so and writes nothing.
TEST(PolyMapSave, NoMapOfALayoutWithoutASolid) {
  Scratch dir;
  const std::string input = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";
  const std::string psd = dir.Path("map.psd");
  const std::string cmd = "HOME='" + dir.path() + "' XDG_CONFIG_HOME='" + dir.path() + "' " + GYRELLE_EXE +
                          " --quiet --plugin '" + GYRELLE_PLUGIN + "' --set Foky=Fo45 --save 'polymap=" + psd +
                          ",size=64' '" + input + "' '" + dir.Path("out.png") + "' 2>&1";
  std::string log;
  EXPECT_NE(RunCommand(cmd, &log), 0) << log;
  EXPECT_FALSE(Exists(psd));
  EXPECT_FALSE(Exists(dir.Path("out.png")));
}
#endif

// In the invocation: a mode without a solid, and one whose solid has no
// faces, are refused by the dispatcher, and an older file of that name
// stands.
TEST(PolyMapSave, ARefusedMapLeavesTheOldFile) {
  DriverHost h(64, 32, 3);
  Globals* g = h.OpenInvocation();
  h.SetUpPreview(Rect{0, 0, 100, 100}, 1);
  DoPreviewFiltration(g);
  for (int32_t mode : {1, 291}) {
    h.Settings()->outputMode = mode;
    h.Settings()->facesExportSize = 32;
    Scratch dir;
    FSRef psd = dir.MadeFile("Polyhedron map.psd");
    WriteWhole(psd.path, "old");
    EXPECT_EQ(DoSaveThings(g, &psd, 0, SaveKind_EquiPolyMap), kBadParameter) << mode;
    EXPECT_EQ(ReadWhole(psd.path), "old") << mode;
    EXPECT_EQ(h.Settings()->outputMode, mode);
  }
  h.CloseInvocation();
}

}  // namespace
