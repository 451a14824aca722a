// The render driver's host: the shared in-process host with an 8-bit image,
// progressProc and displayPixels that log their calls, and its own folder
// for the plug-in's files. It drives PluginMain selector by selector, or
// opens an invocation the way the start selector does before its dialog,
// for passes that run inside the dialog.
#pragma once

#include "support/plugin_host.h"

struct DriverHost : PluginHost {
  DriverHost(int width, int height, int planes);

  // Prepare, start, and continue until the rectangles come back empty.
  int16_t RunInvocation() { return RunWholeInvocation(); }
  // Prepare, then what start does before its dialog.
  Globals* OpenInvocation();

  uint8_t Sample(int x, int y, int plane) const { return image[(size_t(y) * width + x) * planes + plane]; }
  uint8_t OutputSample(int x, int y, int plane) const { return output[(size_t(y) * width + x) * planes + plane]; }
};
