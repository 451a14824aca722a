// The test plug-in run through gyrelle must give what ImageMagick's -negate
// gives (alpha kept), in the input's format and depth.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "e2e_run.h"
#include "host/io/image_io.h"

namespace gyhost_e2e {
namespace {

using gyhost::HostImage;
using gyhost::SampleType;

constexpr const char* kSize = "-size 9x6 xc: ";
constexpr const char* kColours =
    "-channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '(i+1)*(j+1)/((w+1)*(h+1))' +channel ";
constexpr const char* kAlpha = "-alpha set -channel A -fx '0.2+0.7*i/w' +channel ";
constexpr const char* kGrey = "-fx '(i+3*j)/(w+3*h)' -colorspace Gray ";

struct NegateCase {
  const char* name;
  std::string make;    // convert arguments that produce the input from nothing
  const char* input;   // input file name
  const char* output;  // output file name
  const char* map;     // channels compared
  int depth;           // bits compared
  uint32_t tolerance;  // in units of `depth` bits
  int32_t colors;      // expected in the output
  bool alpha;
  SampleType type;
};

std::vector<NegateCase> Cases() {
  return {
      {"8-bit grey PNG", std::string(kSize) + kGrey + "-depth 8 -define png:color-type=0", "in.png", "out.png", "gray",
       8, 0, 1, false, SampleType::U8},
      {"8-bit RGB PNG", std::string(kSize) + kColours + "-depth 8 -define png:color-type=2", "in.png", "out.png", "rgb",
       8, 0, 3, false, SampleType::U8},
      {"8-bit RGBA PNG", std::string(kSize) + kColours + kAlpha + "-depth 8 -define png:color-type=6", "in.png",
       "out.png", "rgba", 8, 0, 3, true, SampleType::U8},
      {"16-bit grey PNG", std::string(kSize) + kGrey + "-depth 16 -define png:color-type=0", "in.png", "out.png",
       "gray", 16, 1, 1, false, SampleType::U16},
      {"16-bit RGBA PNG", std::string(kSize) + kColours + kAlpha + "-depth 16 -define png:color-type=6", "in.png",
       "out.png", "rgba", 16, 1, 3, true, SampleType::U16},
      {"float RGB TIFF",
       std::string(kSize) + kColours + "-depth 32 -define quantum:format=floating-point -compress zip", "in.tif",
       "out.tif", "rgb", 16, 1, 3, false, SampleType::F32},
      {"16-bit RGB TIFF", std::string(kSize) + kColours + "-depth 16", "in.tif", "out.tif", "rgb", 16, 1, 3, false,
       SampleType::U16},
      // Compared through a lossless output: two JPEG encoders need not agree.
      {"JPEG", std::string(kSize) + kColours + "-quality 92", "in.jpg", "out.png", "rgb", 8, 1, 3, false,
       SampleType::U8},
  };
}

void CheckAgainstImageMagick(const NegateCase& c, const std::vector<std::string>& extra) {
  ScratchDir dir;
  const std::string in = dir / c.input;
  const std::string out = dir / c.output;
  const std::string ref = dir / "ref.png";
  Convert(c.make + " " + Quote(in), dir);
  Convert(Quote(in) + " -channel RGB -negate -depth " + std::to_string(c.depth) + " " + Quote(ref), dir);

  std::vector<std::string> args = extra;
  args.push_back(in);
  args.push_back(out);
  const RunResult r = RunGyrelle(args, dir);
  ASSERT_EQ(r.status, 0) << c.name << "\n" << r.err;

  const std::vector<uint32_t> got = Samples(out, c.map, c.depth, dir);
  const std::vector<uint32_t> want = Samples(ref, c.map, c.depth, dir);
  ASSERT_EQ(got.size(), want.size()) << c.name;
  ASSERT_EQ(got.size(), 54u * std::strlen(c.map == std::string("gray") ? "g" : c.map)) << c.name;
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_LE(std::abs(int64_t(got[i]) - int64_t(want[i])), int64_t(c.tolerance))
        << c.name << " sample " << i << " got " << got[i] << " want " << want[i];
  }

  HostImage written;
  std::string error;
  ASSERT_TRUE(gyhost::ReadImageFile(out, &written, &error)) << error;
  EXPECT_EQ(written.colorPlanes, c.colors) << c.name;
  EXPECT_EQ(written.hasAlpha, c.alpha) << c.name;
  EXPECT_EQ(written.type, c.type) << c.name;
}

TEST(NegateThroughHost, MatchesImageMagick) {
  for (const NegateCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    CheckAgainstImageMagick(c, {});
  }
}

// A host without advanceState calls continue once per row instead.
TEST(NegateThroughHost, SameResultWithoutAdvanceState) {
  for (const NegateCase& c : Cases()) {
    if (std::string(c.name) != "8-bit RGBA PNG" && std::string(c.name) != "16-bit grey PNG") continue;
    SCOPED_TRACE(c.name);
    CheckAgainstImageMagick(c, {"--no-advance-state", "--threads", "2"});
  }
}

float FloatAt(const HostImage& image, size_t i) {
  float v;
  std::memcpy(&v, image.data.data() + 4 * i, 4);
  return v;
}

// Beyond ImageMagick's 16-bit quantum: float samples come out as 1 - v exactly,
// through TIFF and through OpenEXR.
TEST(NegateThroughHost, FloatSamplesAreExact) {
  ScratchDir dir;
  const std::string in = dir / "in.tif";
  Convert(std::string(kSize) + kColours + kAlpha + "-depth 32 -define quantum:format=floating-point -compress zip " +
              Quote(in),
          dir);
  HostImage input;
  std::string error;
  ASSERT_TRUE(gyhost::ReadImageFile(in, &input, &error)) << error;
  ASSERT_EQ(input.type, SampleType::F32);
  ASSERT_TRUE(input.hasAlpha);

  for (const char* name : {"out.tif", "out.exr"}) {
    const RunResult r = RunGyrelle({in, dir / name}, dir);
    ASSERT_EQ(r.status, 0) << name << "\n" << r.err;
    HostImage output;
    ASSERT_TRUE(gyhost::ReadImageFile(dir / name, &output, &error)) << error;
    ASSERT_EQ(output.type, SampleType::F32) << name;
    ASSERT_EQ(output.data.size(), input.data.size()) << name;
    for (size_t i = 0; i < input.data.size() / 4; ++i) {
      const bool alpha = i % 4 == 3;
      const float want = alpha ? FloatAt(input, i) : 1.0f - FloatAt(input, i);
      ASSERT_EQ(FloatAt(output, i), want) << name << " sample " << i;
    }
  }

  // And OpenEXR as the input.
  const RunResult back = RunGyrelle({dir / "out.exr", dir / "back.tif"}, dir);
  ASSERT_EQ(back.status, 0) << back.err;
  HostImage twice;
  ASSERT_TRUE(gyhost::ReadImageFile(dir / "back.tif", &twice, &error)) << error;
  ASSERT_EQ(twice.data.size(), input.data.size());
  for (size_t i = 0; i < input.data.size() / 4; ++i) EXPECT_NEAR(FloatAt(twice, i), FloatAt(input, i), 1e-6) << i;
}

}  // namespace
}  // namespace gyhost_e2e

namespace gyhost_e2e {
namespace {

// The document's colour profile reaches the filter the way a host's filter
// record carries it: handle, size and flag.
TEST(HostProfile, TheInputsProfileIsInTheFilterRecord) {
  ScratchDir dir;
  gyhost::HostImage image;
  ASSERT_TRUE(gyhost::ResizeHostImageZeroed(&image, 8, 4, 3, false, gyhost::SampleType::U8));
  image.meta.icc.assign(200, 0);
  const char cls[] = "mntr";
  std::memcpy(image.meta.icc.data() + 12, cls, 4);
  std::string error;
  // TIFF carries any profile bytes as they are.
  ASSERT_TRUE(gyhost::WriteImageFile(dir / "in.tif", gyhost::ImageFormat::Tiff, image, &error)) << error;
  const RunResult r = RunGyrelle({dir / "in.tif", dir / "out.tif"}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("negate: profile of 200 bytes, class mntr"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace gyhost_e2e
