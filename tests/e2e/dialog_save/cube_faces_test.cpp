// The six faces of a cube map are files in the format their names say, that
// other programs open as such; a name of no known format is refused before
// anything is written.
#include <gtest/gtest.h>

#include <string>

#include "save_run.h"

namespace {

constexpr const char* kFaces[] = {"_b", "_d", "_f", "_l", "_r", "_u"};

// Whether this ImageMagick reads OpenEXR (an optional part of it).
bool MagickReadsExr() {
  std::string formats;
  Shell("identify -list format 2>/dev/null", &formats);
  return formats.find("EXR* EXR") != std::string::npos || formats.find("EXR  EXR") != std::string::npos ||
         formats.find("     EXR") != std::string::npos;
}

TEST(CubeFaces, EachFaceIsAFileOfItsNamesFormat) {
  if (!HaveTool("identify")) GTEST_SKIP() << "ImageMagick is not installed";
  struct Case {
    const char* extension;
    const char* magick;  // what ImageMagick calls the format
    const char* depth;   // of a face of the 8-bit built-in panorama
  };
  const Case cases[] = {{".psd", "PSD", "8"},  {".png", "PNG", "8"},   {".tif", "TIFF", "8"}, {".TIFF", "TIFF", "8"},
                        {".jpg", "JPEG", "8"}, {".jpeg", "JPEG", "8"}, {".exr", "EXR", ""}};
  const bool exr = MagickReadsExr();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    const std::string dir = NewDir();
    const SaveRun r = RunGyrelle(std::string("--save cubemap=$DIR/sky") + c.extension + ",face=48", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* tag : kFaces) {
      const std::string face = dir + "/sky" + tag + c.extension;
      ASSERT_TRUE(Exists(face)) << face;
      if (std::string(c.magick) == "EXR" && !exr) {
        // Without ImageMagick's OpenEXR part: the magic number, and gyrelle
        // reads the face back as an input.
        EXPECT_EQ(Slurp(face).substr(0, 4), std::string("\x76\x2f\x31\x01", 4));
        std::string out;
        EXPECT_EQ(Shell("cd '" + dir + "' && HOME='" + dir + "/home' '" + GYRELLE_EXE + "' -q '" + face +
                            "' back.exr 2>&1",
                        &out),
                  0)
            << out;
        continue;
      }
      std::string out;
      ASSERT_EQ(Shell("identify -format '%m %wx%h %z\\n' '" + face + "' 2>&1", &out), 0) << out;
      EXPECT_EQ(out.substr(0, out.find(' ')), c.magick) << out;
      EXPECT_NE(out.find(" 48x48 "), std::string::npos) << out;
      if (*c.depth) EXPECT_EQ(out.substr(out.rfind(' ') + 1), std::string(c.depth) + "\n") << out;
    }
    EXPECT_FALSE(Exists(dir + "/sky" + c.extension)) << "the chosen name only names the faces";
    RemoveDir(dir);
  }
}

TEST(CubeFaces, ANameOfNoKnownFormatIsRefusedBeforeAnyFace) {
  for (const char* name : {"sky.webp", "sky", "sky.png.bak"}) {
    SCOPED_TRACE(name);
    const std::string dir = NewDir();
    const SaveRun r = RunGyrelle(std::string("--save cubemap=$DIR/") + name + ",face=32", dir);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("a face file is written as .psd, .png, .tif, .tiff, .jpg, .jpeg or .exr"), std::string::npos)
        << r.err;
    std::string listing;
    Shell("ls -A '" + dir + "' | grep -v -e '^home$' -e '^err.txt$'", &listing);
    EXPECT_EQ(listing, "") << "nothing written, the main output neither";
    RemoveDir(dir);
  }
}

}  // namespace
