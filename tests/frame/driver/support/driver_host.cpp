#include "support/driver_host.h"

#include <gtest/gtest.h>

DriverHost::DriverHost(int w, int h, int p) : PluginHost(w, h, p, 8, "gyrelle-driver") {
  record.progressProc = ProgressThunk;
  record.displayPixels = DisplayThunk;
}

Globals* DriverHost::OpenInvocation() {
  EXPECT_EQ(Call(kSelectorPrepare), 0);
  return OpenInvocationAfterPrepare();
}
