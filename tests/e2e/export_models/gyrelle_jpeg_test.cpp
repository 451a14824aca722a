// A JPEG result file saved through gyrelle's --save, from an input that
// carries a colour profile large enough to need two APP2 segments: other
// readers find the metadata blocks valid, the profile comes back byte for
// byte, and the picture decodes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/export/models/model_scratch.h"

#ifdef GYRELLE_EXE
namespace {

using namespace models_test;

void Put32(std::string* s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s->push_back(char(uint8_t(v >> shift)));
}

// A display profile of RGB data with one private tag of `extra` bytes: just
// enough structure for a metadata writer to accept it.
std::string Profile(uint32_t extra) {
  const uint32_t size = 128 + 4 + 12 + extra;
  std::string p;
  Put32(&p, size);
  p += "none";
  Put32(&p, 0x02100000);
  p += "mntrRGB XYZ ";
  p += std::string(12, '\0');
  p += "acspAPPL";
  p += std::string(24, '\0');  // flags, maker, model, attributes, intent
  for (uint32_t v : {0xF6D6u, 0x10000u, 0xD32Du}) Put32(&p, v);  // D50
  p += "none";
  p += std::string(44, '\0');
  Put32(&p, 1);
  p += "zzzz";
  Put32(&p, 128 + 4 + 12);
  Put32(&p, extra);
  for (uint32_t i = 0; i < extra; ++i) p.push_back(char(uint8_t(i * 31 + 7)));
  return p;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

TEST(GyrelleJpeg, ValidMetadataAndTheProfileKept) {
  for (const char* tool : {"exiftool", "djpeg", "convert"})
    if (!HaveTool(tool)) GTEST_SKIP() << tool << " missing";
  Scratch dir;
  std::string log;
  const std::string in = dir.Path("in.jpg"), icc = dir.Path("in.icc"), out = dir.Path("result.jpg");
  WriteWhole(icc, Profile(70001));
  ASSERT_EQ(RunCommand("convert " + Quote(std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png") +
                           " -resize 256x128! " + Quote(in) + " && exiftool -q -overwrite_original '-icc_profile<=" +
                           icc + "' " + Quote(in),
                       &log),
            0)
      << log;
  const std::string cmd = "cd " + Quote(dir.path()) + " && env -u DISPLAY -u XDG_CONFIG_HOME HOME=" + Quote(dir.path()) +
                          " " + GYRELLE_EXE + " -q --plugin " + Quote(GYRELLE_PLUGIN) +
                          " --set Foky=Fo07 --save jpeg=" + Quote(out) + " " + Quote(in) + " " +
                          Quote(dir.Path("out.png"));
  ASSERT_EQ(RunCommand(cmd, &log), 0) << log;

  ASSERT_EQ(RunCommand("exiftool -validate -warning -a " + Quote(out), &log), 0) << log;
  EXPECT_NE(log.find("Validate                        : OK"), std::string::npos) << log;
  ASSERT_EQ(RunCommand("exiftool -s -Software -XResolution -ResolutionUnit -Keywords -DateCreated -Source " + Quote(out),
                       &log),
            0);
  for (const char* field :
       {"Software                        : Gyrelle 2", "XResolution                     : 72",
        "ResolutionUnit                  : inches", "Keywords                        : Gyrelle 2, panorama",
        "DateCreated                     : 2", "Source                          : "})
    EXPECT_NE(log.find(field), std::string::npos) << field << "\n" << log;

  ASSERT_EQ(RunCommand("exiftool -b -icc_profile " + Quote(out) + " > " + Quote(dir.Path("out.icc")), &log), 0) << log;
  EXPECT_TRUE(ReadWhole(dir.Path("out.icc")) == ReadWhole(icc)) << "the profile round-trips byte for byte";

  ASSERT_EQ(RunCommand("djpeg -pnm " + Quote(out) + " > " + Quote(dir.Path("out.ppm")), &log), 0) << log;
  EXPECT_EQ(ReadWhole(dir.Path("out.ppm")).compare(0, 12, "P6\n256 128\n2"), 0);
}

}  // namespace
#endif
