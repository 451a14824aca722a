// What reaches the disk, and in which order, when an output file is
// replaced: the temporary is written and flushed before it is renamed over
// the old file, and a failed flush or rename leaves the old file alone with
// no temporary beside it. This binary puts its own fsync and rename in front
// of the C library's (the host calls them unqualified), records each call
// and can make one fail; a test binary of its own keeps that away from every
// other test.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/output_file.h"
#include "tests/support/scratch_folder.h"

namespace {

struct Call {
  std::string what, path;
};

std::vector<Call> g_calls;
bool g_recording = false;
// The call ("fsync" or "rename") that fails with EIO, once; empty: none.
std::string g_failing;

std::string PathOfDescriptor(int fd) {
  char link[64], target[PATH_MAX + 1];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, target, PATH_MAX);
  return n > 0 ? std::string(target, size_t(n)) : std::string();
}

bool Fails(const char* what) {
  if (g_failing != what) return false;
  g_failing.clear();
  errno = EIO;
  return true;
}

template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd) {
  if (g_recording) g_calls.push_back({"fsync", PathOfDescriptor(fd)});
  if (Fails("fsync")) return -1;
  static const auto real = Next<int (*)(int)>("fsync");
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
  if (g_recording) g_calls.push_back({"rename", std::string(from) + " -> " + to});
  if (Fails("rename")) return -1;
  static const auto real = Next<int (*)(const char*, const char*)>("rename");
  return real(from, to);
}

namespace gyhost {
namespace {

struct Recording {
  Recording() {
    g_calls.clear();
    g_recording = true;
  }
  ~Recording() {
    g_recording = false;
    g_failing.clear();
  }
};

TEST(DurableWrite, TheTemporaryIsFlushedBeforeItReplacesTheFile) {
  ScratchFolder f;
  const std::string out = f / "out.png";
  PutText(out, "old");
  Recording r;
  std::string temp, error;
  const bool ok = WriteFileAtomically(
      out,
      [&](const std::string& t, std::string*) {
        g_calls.push_back({"write", t});
        temp = t;
        PutText(t, "new");
        return true;
      },
      &error);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(GetText(out), "new");
  // The folder's own flush after the rename makes the new name durable.
  ASSERT_GE(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[0].what, "write");
  EXPECT_EQ(g_calls[1].what, "fsync");
  EXPECT_EQ(g_calls[1].path, temp);
  EXPECT_EQ(g_calls[2].what, "rename");
  EXPECT_EQ(g_calls[2].path, temp + " -> " + out);
  for (size_t i = 3; i < g_calls.size(); ++i) EXPECT_EQ(g_calls[i].path, f.path) << g_calls[i].what;
}

TEST(DurableWrite, AFailedFlushOrRenameKeepsTheOldFileAndNoTemporary) {
  for (const char* failing : {"fsync", "rename"}) {
    ScratchFolder f;
    const std::string out = f / "out.png";
    PutText(out, "old");
    Recording r;
    g_failing = failing;
    std::string error;
    const bool ok = WriteFileAtomically(
        out,
        [](const std::string& t, std::string*) {
          PutText(t, "new");
          return true;
        },
        &error);
    EXPECT_FALSE(ok) << failing;
    EXPECT_NE(error.find(std::strerror(EIO)), std::string::npos) << failing << ": " << error;
    EXPECT_EQ(GetText(out), "old") << failing;
    EXPECT_EQ(f.Entries().size(), 1u) << failing << ": the temporary is gone";
  }
}

}  // namespace
}  // namespace gyhost
