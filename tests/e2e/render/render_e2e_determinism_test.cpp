// Every output mode, on 8-bit, 16-bit and float input, with the graticule,
// Tissot circles and region edges drawn, gives the same bytes on one worker
// thread and on eight: nothing a task remembers from the columns it did
// before (net searches, sampler state, overlay cells at a share's edge) may
// reach a pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "host/host_image.h"
#include "render_e2e_util.h"

namespace {

using render_e2e::RunGyrelle;
using render_e2e::Scratch;

struct ModeCode {
  int number;
  std::string code;
};

std::vector<ModeCode> AllOutputModes() {
  std::ifstream in(std::string(GYRELLE_SOURCE_DIR) + "/tests/frame/settings/data/output_mode_codes.txt");
  std::vector<ModeCode> modes;
  ModeCode m;
  while (in >> m.number >> m.code) modes.push_back(m);
  return modes;
}

// A panorama with fine detail as well as smooth gradients, so that region
// edges and footprints of every size are met, in the given sample type; the
// 16-bit and float values fall between the 8-bit steps.
gyhost::HostImage DetailedPanorama(int32_t width, int32_t height, gyhost::SampleType type) {
  gyhost::HostImage image;
  EXPECT_TRUE(gyhost::ResizeHostImage(&image, width, height, 3, false, type));
  constexpr double kTwoPi = 6.283185307179586;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const double a = kTwoPi * (x + 0.5) / width, b = 3.141592653589793 * (y + 0.5) / height;
      const double unit[3] = {0.5 + 0.4 * std::sin(a) * std::sin(b), 0.5 + 0.3 * std::cos(2.0 * a + b),
                              ((x / 3 + y / 3) % 2) ? 0.8137 : 0.1913};
      uint8_t* p = gyhost::PixelAddress(image, x, y);
      for (int c = 0; c < 3; ++c) {
        if (type == gyhost::SampleType::U8) {
          p[c] = uint8_t(std::lround(unit[c] * 255.0));
        } else if (type == gyhost::SampleType::U16) {
          const uint16_t v = uint16_t(std::lround(unit[c] * gyhost::kHost16Max));
          std::memcpy(p + 2 * c, &v, 2);
        } else {
          const float v = float(unit[c]);
          std::memcpy(p + 4 * c, &v, 4);
        }
      }
    }
  }
  return image;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Outcome {
  int status1 = -1, status8 = -1;
  bool same = false;
};

struct Input {
  const char* name;
  gyhost::SampleType type;
};
constexpr Input kInputs[] = {{"in8.png", gyhost::SampleType::U8},
                             {"in16.png", gyhost::SampleType::U16},
                             {"inf.tif", gyhost::SampleType::F32}};
// Each input's modes are swept in this many parts, one test each, so the
// sweep spreads over the test runner's shards.
constexpr size_t kParts = 2;

class Determinism : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(Determinism, EveryModeWithEveryOverlayOnOneAndEightThreads) {
  const Input& in = kInputs[std::get<0>(GetParam())];
  const size_t part = size_t(std::get<1>(GetParam()));
  const std::vector<ModeCode> all = AllOutputModes();
  ASSERT_GT(all.size(), 250u);
  const std::vector<ModeCode> modes(all.begin() + all.size() * part / kParts,
                                    all.begin() + all.size() * (part + 1) / kParts);
  Scratch dir;
  render_e2e::WriteImage(dir / in.name, DetailedPanorama(96, 48, in.type));
  const std::vector<std::string> overlays = {"--set", "0029=1", "--set", "0033=1", "--set", "Fgky=Fgr4"};

  // Four runs at a time, each in its own folder: a run keeps its settings
  // (and its messages) where it runs, and must not see another's.
  constexpr size_t kBatch = 4;
  Scratch slots[kBatch];
  int rendered = 0;
  const std::string input = dir / in.name;
  const std::string ext = std::string(in.name).substr(std::string(in.name).rfind('.'));
  for (size_t first = 0; first < modes.size(); first += kBatch) {
    std::vector<std::future<Outcome>> batch;
    for (size_t i = first; i < std::min(first + kBatch, modes.size()); ++i) {
      const Scratch* slot = &slots[i - first];
      batch.push_back(std::async(std::launch::async, [&, i, slot] {
        const ModeCode& m = modes[i];
        Outcome o;
        std::string outs[2];
        int* statuses[2] = {&o.status1, &o.status8};
        const char* threads[2] = {"1", "8"};
        for (int k = 0; k < 2; ++k) {
          std::vector<std::string> options = overlays;
          options.insert(options.end(), {"--set", "Foky=" + m.code, "--threads", threads[k]});
          outs[k] = *slot / (m.code + "_" + threads[k] + ext);
          *statuses[k] = RunGyrelle(options, input, outs[k], *slot).status;
        }
        o.same = o.status1 == 0 && Slurp(outs[0]) == Slurp(outs[1]);
        std::remove(outs[0].c_str());
        std::remove(outs[1].c_str());
        return o;
      }));
    }
    for (size_t k = 0; k < batch.size(); ++k) {
      const ModeCode& m = modes[first + k];
      const Outcome o = batch[k].get();
      EXPECT_EQ(o.status1, o.status8) << "mode " << m.number << " (" << m.code << ") on " << in.name;
      if (o.status1 != 0) continue;  // refused alike: a mode not built yet
      ++rendered;
      EXPECT_TRUE(o.same) << "mode " << m.number << " (" << m.code << ") on " << in.name
                          << " differs between 1 and 8 threads";
    }
  }
  // Most modes render: a broken run refusing everything must not pass.
  EXPECT_GT(rendered, int(modes.size()) / 3);
}

INSTANTIATE_TEST_SUITE_P(InputsAndParts, Determinism,
                         testing::Combine(testing::Range(0, int(std::size(kInputs))), testing::Range(0, int(kParts))));

}  // namespace
