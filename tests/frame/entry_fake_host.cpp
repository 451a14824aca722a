#include "entry_fake_host.h"

// A folder of its own for the plug-in's cached settings: a user's last
// dialog must not decide what these runs render.
EntryFakeHost::EntryFakeHost(int w, int h, int p) : PluginHost(w, h, p, 8, "gyrelle-entry") {
  output.assign(image.size(), 0);
  blankOutBuffers = true;
  record.inputRate = record.maskRate = 0;
}
