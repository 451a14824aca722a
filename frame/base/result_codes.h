// Every result code the plug-in reports, in one place. Codes the host hands us
// from advanceState are passed on unchanged and are not listed here.
#pragma once

#include <cstdint>

enum ResultCode : int16_t {
  kOK = 0,
  kRefused = 1,             // refused, or already reported to the user
  kWorkBuffersMissing = 3,  // per-invocation memory could not be had
  kInputPyramidMissing = 999,
  kOutOfMemory = -108,
  kUserCancelled = -128,
  kDescriptorKeyMissing = -1715,
  kBadSelector = -30100,
};
