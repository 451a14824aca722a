// A scratch folder with a small plasma picture, and gyrelle run on it with
// the real plug-in: the ground of the suites that try the host as a user
// would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_run.h"

namespace gyhost_e2e {

class PluginOnPlasma : public ::testing::Test {
 protected:
  void SetUp() override {
    in_ = dir_ / "plasma.png";
    Convert("-seed 7 -size 400x200 plasma: -depth 8 " + Quote(in_), dir_);
  }
  RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", GYRELLE_PLUGIN});
    return RunGyrelle(args, dir_);
  }
  ScratchDir dir_;
  std::string in_;
};

}  // namespace gyhost_e2e
