// A save or export never damages the file it replaces: the old file stays
// byte for byte at its name until the new one is whole, whether the run is
// stopped by Ctrl-C, SIGTERM or SIGKILL part way through a large export;
// a replaced file keeps its permissions; what cannot be replaced is refused
// with words a user can act on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "save_run.h"

namespace {

// A layered result of 8000 x 4000 takes over a second to render and write
// here (1.6 s on 8 cores): long enough for a signal to land inside it. A
// signal meant for the writing waits for the temporary instead of a time,
// as the render gets faster.
constexpr char kLargeExport[] = "--set Foky=Fo45 --save psd=$DIR/doc.psd,size=custom,width=8000,height=4000";
constexpr char kOldBytes[] = "the user's own document, not to be lost\n";

std::string Listing(const std::string& dir, bool hidden) {
  std::string out;
  Shell("cd '" + dir + "' && ls " + (hidden ? "-A" : "") + " | grep -v -e '^home$' -e '^err.txt$'", &out);
  return out;
}

std::string Expand(std::string text, const std::string& dir) {
  for (size_t at; (at = text.find("$DIR")) != std::string::npos;) text.replace(at, 4, dir);
  return text;
}

// Starts gyrelle in `dir`, sends `signal` after `seconds` (or, when
// `seconds` is negative, as soon as the export's temporary is there, so that
// the signal lands while the file is being written however fast the machine
// is), and answers its exit status as the shell reports it (128 + the signal
// for a killed run).
int RunAndSignal(const std::string& dir, const std::string& args, const char* signal, double seconds) {
  const std::string wait = seconds >= 0 ? "sleep " + std::to_string(seconds)
                                        : "for i in $(seq 2400); do ls -A | grep -q partial- && break; sleep 0.025; done";
  const std::string command = "cd '" + dir + "' && mkdir -p home && (env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir +
                              "/home' '" + GYRELLE_EXE + "' -q " + Expand(args, dir) + " '" + GYRELLE_SOURCE_DIR +
                              "/resources/default_panorama.png' out.png 2>err.txt & pid=$!; " + wait + "; kill -" +
                              signal + " $pid; wait $pid; echo $?) 2>/dev/null";
  std::string out;
  Shell(command, &out);
  return std::atoi(out.c_str());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

int ModeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

TEST(ReplaceSafely, ASignalDuringALargeExportLeavesTheOldFile) {
  struct Case {
    const char* signal;
    double seconds;
    int status;  // what the shell reports
  };
  // Early (still rendering the preview or the layer) and late (writing: as
  // soon as the temporary is there).
  const Case cases[] = {{"INT", 0.5, 130},   {"INT", -1.0, 130},  {"TERM", 0.5, 143},
                        {"TERM", -1.0, 143}, {"KILL", 0.5, 137}, {"KILL", -1.0, 137}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.signal) + (c.seconds < 0 ? " while writing" : " after " + std::to_string(c.seconds) + " s"));
    const std::string dir = NewDir();
    WriteFile(dir + "/doc.psd", kOldBytes);
    const std::string before = Listing(dir, false);
    EXPECT_EQ(RunAndSignal(dir, kLargeExport, c.signal, c.seconds), c.status) << Slurp(dir + "/err.txt");
    EXPECT_EQ(Slurp(dir + "/doc.psd"), kOldBytes);
    EXPECT_EQ(Listing(dir, false), before) << "a file appeared under a visible name";
    if (c.status != 137) EXPECT_EQ(Listing(dir, true), before) << "a caught signal leaves no temporary";
    RemoveDir(dir);
  }
}

TEST(ReplaceSafely, TheNextRunRemovesAKilledRunsTemporary) {
  const std::string dir = NewDir();
  WriteFile(dir + "/doc.psd", kOldBytes);
  RunAndSignal(dir, kLargeExport, "KILL", -1.0);
  EXPECT_EQ(Slurp(dir + "/doc.psd"), kOldBytes);
  // Another program's file of a similar name is not ours to remove.
  WriteFile(dir + "/.doc.psd.partial-notapid", "someone else's");
  const SaveRun r = RunGyrelle("--set Foky=Fo45 --save psd=$DIR/doc.psd,size=custom,width=64,height=32", dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Listing(dir, true), ".doc.psd.partial-notapid\ndoc.psd\nout.png\n");
  EXPECT_EQ(Slurp(dir + "/doc.psd").substr(0, 4), "8BPS");
  RemoveDir(dir);
}

TEST(ReplaceSafely, AReplacedFileKeepsItsPermissions) {
  const std::string dir = NewDir();
  for (const char* name : {"doc.psd", "look.q2q", "m.obj"}) {
    WriteFile(dir + "/" + name, "old");
    ::chmod((dir + "/" + name).c_str(), 0640);
  }
  const SaveRun r = RunGyrelle(
      "--set Foky=Fo45 --save psd=$DIR/doc.psd,size=custom,width=64,height=32 --save settings=$DIR/look.q2q "
      "--set Foky=Fo07 --save obj=$DIR/m.obj,size=64",
      dir);
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name : {"doc.psd", "look.q2q", "m.obj"}) {
    EXPECT_NE(Slurp(dir + "/" + name), "old") << name;
    EXPECT_EQ(ModeOf(dir + "/" + name), 0640) << name;
  }
  RemoveDir(dir);
}

// A rename into a folder needs the folder writable, however writable the
// file is. Root may write anywhere, so the run drops to nobody there.
TEST(ReplaceSafely, AFileInAReadOnlyFolderIsRefusedAndKept) {
  const bool root = ::geteuid() == 0;
  if (root && !HaveTool("setpriv")) GTEST_SKIP() << "root without setpriv cannot be denied a folder";
  const std::string dir = NewDir();
  const std::string folder = dir + "/ro";
  ::mkdir(folder.c_str(), 0755);
  ::mkdir((dir + "/home").c_str(), 0777);
  ::chmod((dir + "/home").c_str(), 0777);
  ::chmod(dir.c_str(), 0755);
  WriteFile(folder + "/doc.psd", kOldBytes);
  ::chmod((folder + "/doc.psd").c_str(), 0666);
  ::chmod(folder.c_str(), 0555);
  const std::string as = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  std::string out;
  const int status = Shell("cd '" + dir + "' && " + as + "env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir + "/home' '" +
                               GYRELLE_EXE + "' -q --set Foky=Fo45 --save psd=" + folder +
                               "/doc.psd,size=custom,width=64,height=32 '" + GYRELLE_SOURCE_DIR +
                               "/resources/default_panorama.png' home/out.png 2>&1",
                           &out);
  EXPECT_EQ(status, 1) << out;
  EXPECT_NE(out.find("the folder " + folder + " is read-only"), std::string::npos) << out;
  EXPECT_EQ(Slurp(folder + "/doc.psd"), kOldBytes);
  EXPECT_EQ(Listing(folder, true), "doc.psd\n");
  ::chmod(folder.c_str(), 0755);
  RemoveDir(dir);
}

TEST(ReplaceSafely, AFolderIsNeverReplaced) {
  const std::string dir = NewDir();
  ::mkdir((dir + "/looks").c_str(), 0755);
  WriteFile(dir + "/looks/inside.q2q", "kept");
  const SaveRun r = RunGyrelle("--set Foky=Fo45 --save settings=$DIR/looks", dir);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("is a folder"), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(dir + "/looks/inside.q2q"), "kept");
  EXPECT_EQ(Listing(dir, true), "looks\n");
  RemoveDir(dir);
}

}  // namespace
