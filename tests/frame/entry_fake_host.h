// The entry suites' host: the shared in-process host with an 8-bit image,
// an output that starts black and out buffers handed over blank, no input
// rate of its own and its own folder for the plug-in's files, driving
// PluginMain selector by selector.
#pragma once

#include "support/plugin_host.h"

struct EntryFakeHost : PluginHost {
  EntryFakeHost(int width, int height, int planes);

  // [Parameters,] prepare, start, then continue until the rectangles come
  // back empty.
  int16_t RunInvocation(bool withParametersSelector = false) { return RunWholeInvocation(withParametersSelector); }
};
