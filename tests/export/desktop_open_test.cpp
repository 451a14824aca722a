// The desktop's opener and pictures folder as the platform finds them, and
// what a run says when nothing can open a written file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "export/desktop_open.h"
#include "platform/opener.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/script.h"

namespace {

// Environment variables set for one test and put back after it.
class Env {
 public:
  void Set(const char* name, const char* value) {
    Keep(name);
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~Env() {
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
      if (it->had) ::setenv(it->name.c_str(), it->value.c_str(), 1);
      else ::unsetenv(it->name.c_str());
    }
  }

 private:
  struct Kept {
    std::string name, value;
    bool had;
  };
  void Keep(const char* name) {
    const char* v = std::getenv(name);
    kept_.push_back({name, v ? v : "", v != nullptr});
  }
  std::vector<Kept> kept_;
};

std::string ScratchDir() {
  char templ[] = "/tmp/gyrelle-opener-XXXXXX";
  return ::mkdtemp(templ) ? templ : "";
}

void Remove(const std::string& dir) {
  if (dir.rfind("/tmp/gyrelle-opener-", 0) == 0) std::system(("rm -rf '" + dir + "'").c_str());
}

std::string gLastOpened;
int32_t RecordingOpener(const char* what) {
  gLastOpened = what;
  return 0;
}
int32_t MissingOpener(const char*) { return kNoDesktopOpener; }

TEST(DesktopOpen, NoDisplayOrNoOpenerProgramIsNoOpener) {
  const std::string dir = ScratchDir();
  {
    Env env;
    env.Set("DISPLAY", nullptr);
    env.Set("WAYLAND_DISPLAY", nullptr);
    EXPECT_EQ(PlatformOpenWithDesktop("/tmp/x.html"), kNoDesktopOpener) << "no display";
    env.Set("WAYLAND_DISPLAY", "gyrelle-test");
    env.Set("PATH", dir.c_str());
    EXPECT_EQ(PlatformOpenWithDesktop("/tmp/x.html"), kNoDesktopOpener) << "no xdg-open on the PATH";
    // One that exists but cannot be run is none either.
    std::ofstream(dir + "/xdg-open") << "#!/bin/sh\n";
    EXPECT_EQ(PlatformOpenWithDesktop("/tmp/x.html"), kNoDesktopOpener);
    ::chmod((dir + "/xdg-open").c_str(), 0755);
    EXPECT_EQ(PlatformOpenWithDesktop("/tmp/x.html"), 0);
    EXPECT_EQ(PlatformOpenWithDesktop(""), kOpenerNotStarted) << "nothing to open";
  }
  Remove(dir);
}

TEST(DesktopOpen, AReplacedOpenerSeesWhatIsOpened) {
  PlatformReplaceOpener(RecordingOpener);
  EXPECT_EQ(OpenOrSayWhere("/tmp/a page.html", "not shown"), 0);
  EXPECT_EQ(gLastOpened, "/tmp/a page.html");
  PlatformReplaceOpener(MissingOpener);
  testing::internal::CaptureStderr();
  EXPECT_EQ(OpenOrSayWhere("/tmp/caf\xc3\xa9.psd", "No image viewer could be opened."), kNoDesktopOpener);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "No image viewer could be opened.\nIt is written at /tmp/caf\xc3\xa9.psd\n");
  PlatformReplaceOpener(nullptr);
}

// With a person at the dialog the note is an alert, which waits for OK.
TEST(DesktopOpen, APersonIsToldInAnAlert) {
  UiScript* script = UiParseScript("window caution alert\n"
                                   "expect text 2 The page could not be opened in a web browser.\n"
                                   "expect text 3 It is written at /tmp/gallery.html\n"
                                   "click 1\n",
                                   "alert steps");
  UiFrontEnd person = *UiScriptFrontEnd(script);
  person.interactive = true;
  UiSetFrontEnd(&person);
  PlatformReplaceOpener(MissingOpener);
  testing::internal::CaptureStderr();
  EXPECT_EQ(OpenOrSayWhere("/tmp/gallery.html", "The page could not be opened in a web browser."), kNoDesktopOpener);
  testing::internal::GetCapturedStderr();
  PlatformReplaceOpener(nullptr);
  UiSetFrontEnd(nullptr);
  EXPECT_EQ(UiFinishScript(script), 0) << "the alert showed the page's path and was answered";
}

TEST(DesktopOpen, PicturesFolderFromTheUserDirs) {
  struct Case {
    const char* line;  // of user-dirs.dirs, or null for no file
    const char* want;  // under the home
  } cases[] = {
      {nullptr, "/Pictures"},
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"", "/Bilder"},
      {"  XDG_PICTURES_DIR=\"$HOME/Photos/\"", "/Photos"},
      {"XDG_PICTURES_DIR=\"$HOME/\"", "/Pictures"},  // set to the home: turned off
      {"XDG_MUSIC_DIR=\"$HOME/Musik\"", "/Pictures"},
      {"XDG_PICTURES_DIR=\"relative\"", "/Pictures"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line ? c.line : "no user-dirs file");
    const std::string home = ScratchDir();
    Env env;
    env.Set("HOME", home.c_str());
    env.Set("XDG_CONFIG_HOME", nullptr);
    if (c.line) {
      ::mkdir((home + "/.config").c_str(), 0700);
      std::ofstream(home + "/.config/user-dirs.dirs") << "# written by a test\n" << c.line << "\n";
    }
    char folder[1024];
    ASSERT_TRUE(PlatformPicturesFolder(folder, sizeof folder));
    EXPECT_EQ(std::string(folder), home + c.want);
    struct stat st;
    EXPECT_TRUE(::stat(folder, &st) == 0 && S_ISDIR(st.st_mode)) << "made";
    Remove(home);
  }
  Env env;
  env.Set("HOME", nullptr);
  char folder[1024];
  EXPECT_FALSE(PlatformPicturesFolder(folder, sizeof folder)) << "no home";
}

}  // namespace
