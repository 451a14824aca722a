// Runs the gyrelle binary headless on the built-in panorama with a dialog
// script, in a scratch folder that is also its home (so it keeps its own
// Preferences), and reads back what it recorded.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

struct ScriptRun {
  int status = -1;
  std::string err;
  std::map<std::string, std::string> recorded;  // key -> value, as --record writes them
};

// `script` is the whole script text; `sets` further options (e.g. "--set
// 0034=10"); the result is written to `dir`/`output`.
ScriptRun RunDialogScript(const std::string& dir, const std::string& script, const std::string& sets,
                          const std::string& output);

// A scratch folder for each test, home of its runs; gone afterwards.
class ScriptDirTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The run wrote a non-empty result.png.
  bool Wrote() const;
  std::string dir_;
};
