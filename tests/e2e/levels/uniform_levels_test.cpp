// Uniform pictures through the whole filter, in process: every level of an
// 8-bit picture, every 16-bit level the host hands over and float values
// must come back as they went in, through the identity and inside the
// outline of every map mode, whatever the number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "frame/settings/enum_codes.h"
#include "frame/settings/tparameters.h"
#include "host/descriptor_suite.h"
#include "host/host_image.h"
#include "platform/config.h"
#include "support/plugin_host.h"

namespace {

constexpr int kWidth = 64, kHeight = 32, kPlanes = 3;

struct Backdrop {
  uint8_t level;  // colour B, one byte for all three channels
};
constexpr Backdrop kWhiteBackdrop{255}, kBlackBackdrop{0};

// One render of a picture whose three channels are uniform: raw host
// samples (8-bit 0..255, 16-bit 0..32768, float bits).
struct Render {
  int depth;
  int32_t mode;
  int threads;
  uint32_t channel[kPlanes];
  Backdrop backdrop = kWhiteBackdrop;
};

// The plug-in's settings and memory-dot files go to a scratch folder of the
// suite's own, so that nothing a user or another suite left is read.
class LevelsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/gyrelle-levels-XXXXXX";
    if (const char* made = mkdtemp(pattern)) {
      folder_ = made;
      setenv("XDG_CONFIG_HOME", made, 1);
    }
  }
  void TearDown() override {
    if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
    GyrellePlatformConfigure("processors", 0);
  }

 private:
  std::string folder_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new LevelsEnvironment);

// The output samples, or empty when the invocation failed.
std::vector<uint8_t> RenderUniform(const Render& r) {
  GyrellePlatformConfigure("processors", r.threads);
  PluginHost host(kWidth, kHeight, kPlanes, r.depth);
  // A host that replays without showing the dialog, as gyrelle does.
  ReadDescriptorProcs reads = gyhost::MakeReadDescriptorProcs();
  WriteDescriptorProcs writes = gyhost::MakeWriteDescriptorProcs();
  PIDescriptorParameters descriptor{};
  descriptor.readDescriptorProcs = &reads;
  descriptor.writeDescriptorProcs = &writes;
  host.record.descriptorParameters = &descriptor;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < kPlanes; ++c) {
        if (r.depth == 32)
          std::memcpy(&host.image[((size_t(y) * kWidth + x) * kPlanes + c) * 4], &r.channel[c], 4);
        else
          host.SetSample(&host.image, x, y, c, r.channel[c]);
      }
  host.output = host.image;
  if (host.Call(kSelectorPrepare) != 0) return {};
  TParameters* p = host.Settings();
  p->outputMode = r.mode;
  for (uint16_t& c : p->colorB) c = uint16_t(r.backdrop.level * 257);
  if (host.StartAndContinue() != 0) return {};
  return host.output;
}

uint32_t SampleAt(const std::vector<uint8_t>& out, int depth, size_t i) {
  if (depth == 8) return out[i];
  uint32_t v = 0;
  std::memcpy(&v, &out[i * (depth / 8)], depth / 8);
  return v;
}

// The pixels that show the picture and nothing else: a white picture comes
// out white over a black backdrop and a black one black over a white
// backdrop. Pixels on the outline (partly backdrop) and surfaces that a
// mode shades or lightens on purpose drop out.
std::vector<bool> InsideOutline(int32_t mode, int threads) {
  const std::vector<uint8_t> white = RenderUniform({8, mode, threads, {255, 255, 255}, kBlackBackdrop});
  const std::vector<uint8_t> black = RenderUniform({8, mode, threads, {0, 0, 0}, kWhiteBackdrop});
  std::vector<bool> inside(size_t(kWidth) * kHeight, false);
  if (white.empty() || black.empty()) return {};
  for (size_t i = 0; i < inside.size(); ++i) {
    bool shows = true;
    for (int c = 0; c < kPlanes; ++c) shows = shows && white[i * kPlanes + c] == 255 && black[i * kPlanes + c] == 0;
    inside[i] = shows;
  }
  return inside;
}

std::vector<int32_t> EveryOutputMode() {
  std::vector<int32_t> modes;
  const EnumCodeTable t = EnumCodesOfType(kEnumTypeOutputMode);
  for (int32_t i = 0; i < t.count; ++i) modes.push_back(t.entries[i].value);
  return modes;
}

constexpr int32_t kIdentity = 1, kStereographic = 16, kMollweide = 46, kCube = 7;

// The levels of each channel in threes: the last three repeat the last
// level where the count does not divide.
std::vector<std::array<uint32_t, kPlanes>> InThrees(const std::vector<uint32_t>& values) {
  std::vector<std::array<uint32_t, kPlanes>> out;
  for (size_t i = 0; i < values.size(); i += kPlanes) {
    std::array<uint32_t, kPlanes> three{};
    for (size_t c = 0; c < kPlanes; ++c) three[c] = values[std::min(i + c, values.size() - 1)];
    out.push_back(three);
  }
  return out;
}

std::vector<uint32_t> EveryEightBitLevel() {
  std::vector<uint32_t> v(256);
  for (uint32_t i = 0; i < 256; ++i) v[i] = i;
  return v;
}

// Levels that lost a step before (every one below 49 and the even ones to
// 94: a light backdrop ate their low bits; others where an average of
// several reads rounded down), in threes: the first two at one thread, the
// last at eight. Both ends are the outline renders' own.
const std::vector<uint32_t> kTellingAtOneThread = {1, 2, 17, 37, 48, 50};
const std::vector<uint32_t> kTellingAtEightThreads = {64, 94, 200};

std::string Shown(int depth, uint32_t sample) {
  if (depth != 32) return std::to_string(sample);
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", double(std::bit_cast<float>(sample)));
  return text;
}

// One render per three levels; every pixel inside the outline must hold its
// channel's level (in the host's scale: the output step's truncation keeps
// an exact level). Counts the pixels that did not, naming the first.
template <class Compare>
int32_t CountMisses(int depth, int32_t mode, int threads, const std::vector<uint32_t>& levels,
                    const std::vector<bool>& inside, const Compare& same) {
  int32_t misses = 0;
  for (const auto& three : InThrees(levels)) {
    const std::vector<uint8_t> out = RenderUniform({depth, mode, threads, {three[0], three[1], three[2]}});
    if (out.empty()) {
      ADD_FAILURE() << "mode " << mode << " did not render";
      return -1;
    }
    for (size_t i = 0; i < inside.size(); ++i) {
      if (!inside[i]) continue;
      for (int c = 0; c < kPlanes; ++c) {
        const uint32_t got = SampleAt(out, depth, i * kPlanes + c);
        if (same(three[c], got)) continue;
        if (misses++ == 0)
          ADD_FAILURE() << "mode " << mode << ", " << threads << " thread(s): level " << Shown(depth, three[c])
                        << " came back as " << Shown(depth, got) << " at pixel (" << i % kWidth << ", "
                        << i / kWidth << ")";
      }
    }
  }
  return misses;
}

bool Equal(uint32_t a, uint32_t b) { return a == b; }

// Float levels are held to max(1e-7, two float steps) of what went in.
bool CloseFloat(uint32_t inBits, uint32_t outBits) {
  float a, b;
  std::memcpy(&a, &inBits, 4);
  std::memcpy(&b, &outBits, 4);
  const float step = std::nextafter(std::fabs(a), INFINITY) - std::fabs(a);
  return std::fabs(a - b) <= std::max(1e-7f, 2.0f * step);
}

struct LevelCase {
  const char* name;
  std::vector<int32_t> modes;
  std::vector<int> threads;
  std::vector<uint32_t> levels;
};

// Each case's levels in each of its modes at each of its thread counts,
// inside an outline that covers a fair part of the picture.
template <class Compare>
void ExpectLevelsBack(int depth, const std::vector<LevelCase>& cases, const Compare& same) {
  for (const LevelCase& k : cases) {
    for (int32_t mode : k.modes) {
      const std::vector<bool> inside = InsideOutline(mode, 1);
      ASSERT_FALSE(inside.empty()) << k.name << " " << mode;
      ASSERT_GT(std::count(inside.begin(), inside.end(), true), kWidth * kHeight / 8) << k.name << " " << mode;
      for (int threads : k.threads) EXPECT_EQ(CountMisses(depth, mode, threads, k.levels, inside, same), 0) << k.name;
    }
  }
}

// Every 8-bit level through the identity and inside Mollweide,
// stereographic and cube-net maps at one and eight threads.
TEST(EightBitLevels, EveryLevelComesBackInsideTheOutline) {
  ExpectLevelsBack(8,
                   {{"identity", {kIdentity}, {1, 8}, EveryEightBitLevel()},
                    {"maps", {kMollweide, kStereographic, kCube}, {1, 8}, EveryEightBitLevel()}},
                   Equal);
}

// Every output mode, one test each so that shards share them out.
class EightBitLevelsInEveryMode : public ::testing::TestWithParam<int32_t> {};

TEST_P(EightBitLevelsInEveryMode, ComeBackInsideTheOutline) {
  const int32_t mode = GetParam();
  const std::vector<bool> inside = InsideOutline(mode, 1);
  if (inside.empty()) GTEST_SKIP() << "mode " << mode << " draws nothing";  // refused, as the dispatcher says
  EXPECT_EQ(CountMisses(8, mode, 1, kTellingAtOneThread, inside, Equal), 0);
  EXPECT_EQ(CountMisses(8, mode, 8, kTellingAtEightThreads, inside, Equal), 0);
}

INSTANTIATE_TEST_SUITE_P(AllModes, EightBitLevelsInEveryMode, ::testing::ValuesIn(EveryOutputMode()),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return "mode" + std::to_string(info.param);
                         });

// A 16-bit file cannot keep all of its 65,536 levels: the host turns them
// into the plug-in's 0..32768 and back, both ways to the nearest step. What
// the plug-in is handed must come back unchanged, so that the file's levels
// come back as that round trip gives them.
TEST(SixteenBitLevels, ComeBackAsTheHostsConversionGivesThem) {
  std::vector<uint16_t> fileLevels;
  for (uint32_t k = 0; k < 256; ++k) fileLevels.push_back(uint16_t(257 * k));
  std::mt19937 random(16);
  std::uniform_int_distribution<uint32_t> any(0, 65535);
  for (int i = 0; i < 1000; ++i) fileLevels.push_back(uint16_t(any(random)));

  std::vector<uint32_t> hostLevels;
  for (uint16_t v : fileLevels) {
    const uint16_t h = gyhost::File16ToHost(v);
    // The round trip to the nearest step both ways is off by one at most,
    // and the nearest step into 0..32768 is what the host hands over.
    ASSERT_EQ(h, uint16_t(std::lround(double(v) * 32768.0 / 65535.0))) << v;
    ASSERT_LE(std::abs(int(gyhost::HostToFile16(h)) - int(v)), 1) << v;
    hostLevels.push_back(h);
  }
  // The two levels that looked shifted: the conversion shifts them.
  EXPECT_EQ(gyhost::HostToFile16(gyhost::File16ToHost(257)), 258);
  EXPECT_EQ(gyhost::HostToFile16(gyhost::File16ToHost(40000)), 39999);

  ExpectLevelsBack(16,
                   {{"identity", {kIdentity}, {1, 8}, hostLevels},
                    {"maps", {kMollweide, kStereographic, kCube}, {1}, hostLevels}},
                   Equal);
}

// Float levels, high dynamic range included, keep their value to within
// max(1e-7, two float steps).
TEST(FloatLevels, ComeBackWithinTwoFloatSteps) {
  std::vector<float> values = {0.0f, 1.0f, 0.5f, 1e-3f, 1e-6f, 0.1f, 1.0f / 3.0f, 2.5f, 17.0f};
  std::mt19937 random(32);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int i = 0; i < 300; ++i) values.push_back(unit(random));
  std::vector<uint32_t> bits;
  for (float v : values) bits.push_back(std::bit_cast<uint32_t>(v));

  ExpectLevelsBack(32,
                   {{"identity", {kIdentity}, {1, 8}, bits},
                    {"maps", {kMollweide, kStereographic, kCube}, {1}, bits}},
                   CloseFloat);
}

}  // namespace
