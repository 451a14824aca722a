// The one way every export puts a file in place: a hidden temporary of its
// own beside the target, put over the target only when whole; a failure
// leaves the old file and no temporary.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "export/safe_output.h"
#include "frame/base/file_layer.h"
#include "scratch.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Two writers beside one target (or a temporary a crashed run left there)
// never share a temporary: each keeps its own bytes, and the last one put
// in place wins whole.
TEST(SafeOutput, WritersBesideOneTargetKeepApart) {
  ScratchFolder dir;
  const FSRef target = ScratchFolder::Ref(dir.Path("doc.psd"));
  ScratchFolder::Write(dir.Path(".doc.psd.partial-AAAAAA"), "left by a crash");
  SafeOutput a{}, b{};
  ASSERT_EQ(SafeOutputOpen(&a, &target, FileKind_PSD), 0);
  ASSERT_EQ(SafeOutputOpen(&b, &target, FileKind_PSD), 0);
  EXPECT_STRNE(a.temp.path, b.temp.path);
  uint32_t wrote = 0;
  ASSERT_EQ(FSWriteFork(a.fork, 5, "first", &wrote), 0);
  ASSERT_EQ(FSWriteFork(b.fork, 6, "second", &wrote), 0);
  ASSERT_EQ(SafeOutputClose(&a), 0);
  ASSERT_EQ(SafeOutputClose(&b), 0);
  EXPECT_FALSE(std::ifstream(dir.Path("doc.psd")).good()) << "nothing in place before a commit";
  ASSERT_EQ(SafeOutputCommit(&b), 0);
  ASSERT_EQ(SafeOutputCommit(&a), 0);
  EXPECT_EQ(Read(dir.Path("doc.psd")), "first");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{".doc.psd.partial-AAAAAA", "doc.psd"}));
  EXPECT_EQ(Read(dir.Path(".doc.psd.partial-AAAAAA")), "left by a crash");
}

TEST(SafeOutput, AbandonedOrFailedWritesLeaveTheOldFile) {
  ScratchFolder dir;
  const FSRef target = ScratchFolder::Ref(dir.Path("page.html"));
  ScratchFolder::Write(target.path, "old page");

  SafeOutput out{};
  ASSERT_EQ(SafeOutputOpen(&out, &target, FileKind_HTML), 0);
  uint32_t wrote = 0;
  ASSERT_EQ(FSWriteFork(out.fork, 4, "half", &wrote), 0);
  SafeOutputAbandon(&out);  // a cancel
  EXPECT_EQ(Read(target.path), "old page");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});

  FailNextExportCommits(1);
  EXPECT_EQ(CommitExportFile(&target, std::string("new page, whole"), FileKind_HTML), kDiskFull);
  EXPECT_EQ(Read(target.path), "old page");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});

  EXPECT_EQ(CommitExportFile(&target, std::string("new page, whole"), FileKind_HTML), 0);
  EXPECT_EQ(Read(target.path), "new page, whole");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});

  // A folder that is not there: an error, and nothing made anywhere.
  const FSRef lost = ScratchFolder::Ref(dir.Path("gone/page.html"));
  EXPECT_NE(CommitExportFile(&lost, std::string("x"), FileKind_HTML), 0);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});
}

// A pid that no process has any longer: a child that has been reaped.
long DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return long(child);
}

TEST(SafeOutput, AKilledWritersTemporaryGoesAndTheModeStays) {
  ScratchFolder dir;
  const FSRef target = ScratchFolder::Ref(dir.Path("doc.psd"));
  ScratchFolder::Write(target.path, "old");
  ::chmod(target.path, 0640);
  const std::string stale = ".doc.psd.partial-" + std::to_string(DeadPid()) + "-Zz09Ab";
  const std::string live = ".doc.psd.partial-" + std::to_string(long(::getppid())) + "-Zz09Ab";
  ScratchFolder::Write(dir.Path(stale), "killed half way");
  ScratchFolder::Write(dir.Path(live), "still being written");
  EXPECT_EQ(CommitExportFile(&target, std::string("new"), FileKind_PSD), 0);
  EXPECT_EQ(Read(target.path), "new");
  struct stat st {};
  ASSERT_EQ(::stat(target.path, &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{live, "doc.psd"}));
}

TEST(SafeOutput, SiblingNames) {
  const FSRef file = ScratchFolder::Ref("/tmp/some/cube.psd");
  FSRef out{};
  ASSERT_EQ(SiblingWithTag(&file, "_d", &out), 0);
  EXPECT_STREQ(out.path, "/tmp/some/cube_d.psd");
  ASSERT_EQ(SiblingWithExtension(&file, ".stl", &out), 0);
  EXPECT_STREQ(out.path, "/tmp/some/cube.stl");
}

}  // namespace
