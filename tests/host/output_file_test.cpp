// Replacing an output file: signals abandon the write, links are followed,
// killed runs' temporaries are cleared, unwritable places are found early.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/output_file.h"
#include "tests/support/scratch_folder.h"

namespace gyhost {
namespace {

FileWriter Writes(const std::string& text) {
  return [text](const std::string& temp, std::string*) {
    PutText(temp, text);
    return true;
  };
}

// The signal comes while the writer is half-way: the process ends with the
// status a user expects, the old file intact and no temporary left.
TEST(OutputFile, ASignalDuringTheWriteAbandonsIt) {
  const struct {
    int sig;
    int status;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sig);
    ScratchFolder f;
    const std::string out = f / "out.png";
    PutText(out, "earlier");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string error;
      WriteFileAtomically(
          out,
          [&](const std::string& temp, std::string*) {
            PutText(temp, "half of a new fi");
            raise(c.sig);
            return true;
          },
          &error);
      _exit(0);  // reached only if the signal was ignored
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    EXPECT_EQ(GetText(out), "earlier");
    EXPECT_EQ(f.Entries(), std::vector<std::string>{"out.png"});
  }
}

TEST(OutputFile, ALinkIsFollowedAndStaysALink) {
  ScratchFolder f;
  mkdir((f / "real").c_str(), 0755);
  PutText(f / "real/target.png", "old");
  ASSERT_EQ(symlink("real/target.png", (f / "link.png").c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(f / "link.png", Writes("new"), &error)) << error;
  struct stat st {};
  ASSERT_EQ(lstat((f / "link.png").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(GetText(f / "real/target.png"), "new");
  // A dangling link gets its target created.
  ASSERT_EQ(symlink("real/fresh.png", (f / "dangling.png").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(f / "dangling.png", Writes("fresh"), &error)) << error;
  EXPECT_EQ(GetText(f / "real/fresh.png"), "fresh");
}

TEST(OutputFile, TemporariesOfGoneRunsAreRemoved) {
  ScratchFolder f;
  // A process id that is certainly gone: a child that has been reaped.
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = ".out.png.gyrelle-" + std::to_string(gone) + "-abcdef";
  const std::string live = ".out.png.gyrelle-" + std::to_string(getppid()) + "-ghijkl";
  const std::string other = ".other.png.gyrelle-" + std::to_string(gone) + "-mnopqr";
  for (const std::string& n : {stale, live, other}) PutText(f / n, "left over");
  EXPECT_EQ(RemoveStaleTemporaries(f / "out.png"), 1);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(f / "out.png", Writes("done"), &error)) << error;
  std::vector<std::string> entries = f.Entries();
  std::sort(entries.begin(), entries.end());
  std::vector<std::string> want = {live, other, "out.png"};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(entries, want);
}

TEST(OutputFile, UnwritablePlacesAreFoundBeforeTheWork) {
  ScratchFolder f;
  mkdir((f / "sub").c_str(), 0755);
  const struct {
    std::string path;
    bool ok;
    const char* says;
  } cases[] = {
      {f / "out.png", true, ""},
      {f / "missing/out.png", false, "does not exist"},
      {f / "sub", false, "is a folder"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(CheckOutputWritable(c.path, &error), c.ok) << c.path;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(OutputFile, AFullDiskIsNamed) {
  EXPECT_NE(DescribeWriteFailure("/tmp", ENOSPC, "No space left on device").find("the disk holding /tmp is full"),
            std::string::npos);
  EXPECT_EQ(DescribeWriteFailure("/tmp", EIO, "Input/output error"), "Input/output error");
}

}  // namespace
}  // namespace gyhost
