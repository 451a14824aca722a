// Settings that outlive one run: the cached last settings written when the
// dialog closes with OK are what the next plain run starts from.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e_run.h"

namespace gyhost_e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class CachedSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved_ = old ? old : "";
    hadOld_ = old != nullptr;
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    in_ = dir_ / "in.png";
    Convert("-size 16x8 xc:gray50 -depth 8 " + Quote(in_), dir_);
  }
  void TearDown() override {
    if (hadOld_)
      setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  // Runs the real plug-in and answers what finish recorded.
  std::string RunAndRecord(std::vector<std::string> args) {
    const std::string record = dir_ / "record.txt";
    args.insert(args.begin(), {"--plugin", GYRELLE_PLUGIN, "--record", record});
    args.insert(args.end(), {in_, dir_ / "out.png"});
    const RunResult r = RunGyrelle(args, dir_);
    EXPECT_EQ(r.status, 0) << r.err;
    return ReadFile(record);
  }
  ScratchDir dir_, config_;
  std::string in_, saved_;
  bool hadOld_ = false;
};

TEST_F(CachedSettings, APlainRunStartsFromTheLastAcceptedDialog) {
  // Nothing cached yet: the defaults.
  EXPECT_TRUE(Contains(RunAndRecord({}), "Foky enum Foty Fo01"));
  // A replayed descriptor alone does not touch the cache...
  EXPECT_TRUE(Contains(RunAndRecord({"--set", "Foky=Fo45"}), "Fo45"));
  EXPECT_TRUE(Contains(RunAndRecord({}), "Foky enum Foty Fo01"));
  // ...the dialog's OK does, and the next plain run reads it back.
  EXPECT_TRUE(Contains(RunAndRecord({"--dialog", "--set", "Foky=Fo45"}), "Fo45"));
  EXPECT_TRUE(Contains(RunAndRecord({}), "Foky enum Foty Fo45"));
  // Only the configured folder was written.
  bool cacheWritten = false;
  for (const std::string& e : config_.Entries()) cacheWritten |= Contains(e, "Gyrelle 2");
  EXPECT_TRUE(cacheWritten);
}

}  // namespace
}  // namespace gyhost_e2e
