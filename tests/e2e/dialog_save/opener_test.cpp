// What the dialog hands to the desktop: the photo command's document, the
// gallery pages and the maker's web page, opened with the desktop's
// opener. A stand-in xdg-open on the PATH records what it was given; where
// there is no opener the run says where the file is and still succeeds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>

#include "save_run.h"

namespace {

// A folder with a stand-in opener in bin/ that appends its argument to
// opened.txt.
std::string FolderWithOpener() {
  const std::string dir = NewDir();
  Shell("mkdir -p '" + dir + "/bin'", nullptr);
  std::ofstream(dir + "/bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << dir << "/opened.txt'\n";
  Shell("chmod +x '" + dir + "/bin/xdg-open'", nullptr);
  return dir;
}

const char kWithOpener[] = "WAYLAND_DISPLAY=gyrelle-test PATH=\"$DIR/bin:$PATH\"";

// The opener runs on its own: its record may come a moment after the run.
std::string Opened(const std::string& dir) {
  for (int i = 0; i < 100 && !Exists(dir + "/opened.txt"); ++i) ::usleep(50000);
  return Slurp(dir + "/opened.txt");
}

SaveRun RunSteps(const std::string& dir, const std::string& steps, const std::string& env,
                 const std::string& args = "") {
  std::ofstream(dir + "/steps.txt") << steps;
  return RunGyrelle(args + " --dialog-script '$DIR/steps.txt'", dir, env);
}

std::string Handoff(const std::string& dir) {
  std::string found;
  Shell("ls '" + dir + "/home/Pictures' 2>/dev/null", &found);
  return found.empty() ? "" : dir + "/home/Pictures/" + found.substr(0, found.find('\n'));
}

const char kPhotoSteps[] = "window xparams\nclick 96\nsettle\nwindow xparams\nexpect command-ok\nclick 2\n";

TEST(DesktopOpener, ThePhotoCommandHandsItsDocumentToTheViewer) {
  const std::string dir = FolderWithOpener();
  const SaveRun r = RunSteps(dir, kPhotoSteps, kWithOpener, "--set Foky=Fo45");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string file = Handoff(dir);
  ASSERT_NE(file, "") << "nothing in the pictures folder";
  EXPECT_NE(file.find("/from Gyrelle 2 20"), std::string::npos) << file;
  EXPECT_EQ(file.substr(file.size() - 4), ".psd");
  EXPECT_EQ(Slurp(file).substr(0, 4), "8BPS") << "a layered document";
  EXPECT_EQ(Opened(dir), file + "\n");
  EXPECT_EQ(r.err.find("No image viewer"), std::string::npos) << r.err;
  RemoveDir(dir);
}

TEST(DesktopOpener, WithoutAnOpenerThePhotoCommandSaysWhereTheFileIs) {
  const std::string dir = NewDir();
  // The user's own pictures folder, as the desktop's user-dirs file names it.
  Shell("mkdir -p '" + dir + "/home/.config' && echo 'XDG_PICTURES_DIR=\"$HOME/Bilder\"' > '" + dir +
            "/home/.config/user-dirs.dirs'",
        nullptr);
  const SaveRun r = RunSteps(dir, kPhotoSteps, "PATH=/usr/bin:/bin");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string found;
  Shell("ls '" + dir + "/home/Bilder'", &found);
  ASSERT_NE(found, "");
  const std::string file = dir + "/home/Bilder/" + found.substr(0, found.find('\n'));
  EXPECT_NE(r.err.find("No image viewer could be opened.\nIt is written at " + file), std::string::npos) << r.err;
  EXPECT_FALSE(Exists(dir + "/home/Pictures"));
  RemoveDir(dir);
}

// A float image first hears that the photo application may not read it;
// the hand-off follows all the same.
TEST(DesktopOpener, AFloatImageIsWarnedOfFirst) {
  if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick makes the float image";
  const std::string dir = FolderWithOpener();
  ASSERT_EQ(Shell("convert '" GYRELLE_SOURCE_DIR "/resources/default_panorama.png' -resize 256x128 -depth 32 "
                  "-define quantum:format=floating-point '" + dir + "/float.tif'",
                  nullptr),
            0);
  std::ofstream(dir + "/steps.txt") << "window xparams\nclick 96\nwindow caution alert\n"
                                       "expect text 2 iPhoto and 32-bit images\n"
                                       "expect text 3 iPhoto may not understand 32-bit images.\n"
                                       "click 1\nsettle\nwindow xparams\nexpect command-ok\nclick 2\n";
  std::string out;
  const int status = Shell("cd '" + dir + "' && env -u DISPLAY -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME='" + dir +
                               "/home' WAYLAND_DISPLAY=gyrelle-test PATH=\"" + dir + "/bin:$PATH\" '" + GYRELLE_EXE +
                               "' -q --dialog-script steps.txt float.tif out.tif 2>&1",
                           &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("iPhoto may not understand 32-bit images."), std::string::npos) << out;
  const std::string file = Handoff(dir);
  EXPECT_NE(file, "");
  EXPECT_EQ(Opened(dir), file + "\n");
  RemoveDir(dir);
}

TEST(DesktopOpener, PagesOpenInTheBrowserOrSayWhereTheyAre) {
  const std::string dir = FolderWithOpener();
  const SaveRun opened = RunGyrelle("--save dots-gallery=$DIR/dots.html", dir, kWithOpener);
  ASSERT_EQ(opened.status, 0) << opened.err;
  EXPECT_EQ(Opened(dir), dir + "/dots.html\n");
  const SaveRun told = RunGyrelle("--save 'modes-gallery=$DIR/all modes.html'", "", "PATH=/usr/bin:/bin");
  ASSERT_EQ(told.status, 0) << told.err;
  EXPECT_NE(told.err.find("The page could not be opened in a web browser.\nIt is written at " + told.dir +
                          "/all modes.html"),
            std::string::npos)
      << told.err;
  RemoveDir(dir);
  RemoveDir(told.dir);
}

TEST(DesktopOpener, TheWebPageButtonOpensTheMakersSite) {
  const std::string dir = FolderWithOpener();
  const SaveRun r = RunSteps(dir, "window xparams\nclick 5\n", kWithOpener);
  EXPECT_NE(r.status, -1) << r.err;
  const std::string opened = Opened(dir);
  EXPECT_EQ(opened.rfind("https://", 0), 0u) << opened;
  EXPECT_EQ(opened.find('\n'), opened.size() - 1) << "once";
  RemoveDir(dir);
}

}  // namespace
