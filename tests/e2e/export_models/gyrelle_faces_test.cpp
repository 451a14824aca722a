// The face-group export saved through gyrelle's --save faces=, read back
// with psd-tools: one layer per face group, named as the writer names
// them, each group drawn turned and centred where the plan put it (the
// middle of the page) at the plan's common scale (the widest group spans
// the page).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/export/models/model_scratch.h"

#ifdef GYRELLE_EXE
namespace {

using namespace models_test;

constexpr const char* kPython = "/usr/bin/python3";

bool HavePsdParser() {
  std::string out;
  return RunCommand(std::string(kPython) + " -c 'import psd_tools'", &out) == 0;
}

struct LayerBox {
  std::string name;
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

TEST(GyrelleFaces, EachGroupDrawnAtItsPlannedPlace) {
  if (!HavePsdParser()) GTEST_SKIP() << "python3-psd-tools missing (scripts/setup-debian.sh installs it)";
  struct Case {
    const char* code;
    int groups;
  } const cases[] = {{"Fo07", 6}, {"Fo09", 12}, {"Fo30", 32}};
  constexpr int kSize = 300;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Scratch dir;
    std::string log;
    const std::string doc = dir.Path("faces.psd");
    const std::string cmd = "cd '" + dir.path() + "' && env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir.path() + "' " +
                            GYRELLE_EXE + " -q --plugin '" + GYRELLE_PLUGIN + "' --set Foky=" + c.code +
                            " --save faces='" + doc + "',size=" + std::to_string(kSize) + " '" + GYRELLE_SOURCE_DIR +
                            "/resources/default_panorama.png' '" + dir.Path("out.png") + "'";
    ASSERT_EQ(RunCommand(cmd, &log), 0) << log;
    ASSERT_EQ(RunCommand(std::string(kPython) + " '" GYRELLE_TEST_DATA "/layer_boxes.py' '" + doc + "'", &log), 0)
        << log;
    int width = 0, height = 0, count = -1;
    std::vector<LayerBox> boxes;
    for (const std::string& line : SplitLines(log, '\n')) {
      if (std::sscanf(line.c_str(), "size %d %d", &width, &height) == 2) continue;
      if (std::sscanf(line.c_str(), "layers %d", &count) == 1) continue;
      if (line.rfind("layer ", 0) != 0) continue;
      const size_t bar = line.find('|');
      LayerBox b;
      b.name = line.substr(6, bar - 6);
      std::sscanf(line.c_str() + bar + 1, "%d %d %d %d", &b.x0, &b.y0, &b.x1, &b.y1);
      boxes.push_back(b);
    }
    ASSERT_EQ(count, c.groups) << log;
    ASSERT_EQ(int(boxes.size()), c.groups) << log;
    EXPECT_EQ(std::max(width, height), kSize) << log;
    int widest = 0;
    for (int k = 0; k < c.groups; ++k) {
      const LayerBox& b = boxes[k];
      SCOPED_TRACE(b.name);
      EXPECT_EQ(b.name, "face " + std::to_string(k + 1));
      ASSERT_LE(b.x0, b.x1) << "the group is drawn";
      EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 < width && b.y1 < height) << log;
      // The planned centre of every group is the middle of the page.
      EXPECT_NEAR((b.x0 + b.x1) / 2.0, (width - 1) / 2.0, 1.5);
      EXPECT_NEAR((b.y0 + b.y1) / 2.0, (height - 1) / 2.0, 1.5);
      widest = std::max(widest, b.x1 - b.x0 + 1);
    }
    EXPECT_GE(widest, width - 2) << "the common scale makes the widest group span the page";
  }
}

}  // namespace
#endif
