// The export suites' host: the shared in-process host with the real
// renderer, an RGB image of 8, 16 or 32 bits (3 planes, or 4 with
// transparency) that is a smooth panorama wrapping around horizontally. It
// runs whole invocations after the suite's own prepare (the in-place result)
// or opens one as the start selector does before its dialog, for exports.
#pragma once

#include "support/plugin_host.h"

struct ExportHost : PluginHost {
  ExportHost(int width, int height, int depth = 8, int planes = 3);

  // Start and continue, after the suite has called prepare and set up the
  // settings: the in-place result lands in `output`.
  int16_t RunInvocation() { return StartAndContinue(); }
  Globals* OpenInvocation() { return OpenInvocationAfterPrepare(); }
};
