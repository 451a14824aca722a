#include "entry_fake_host.h"

EntryFakeHost::EntryFakeHost(int w, int h, int p) : PluginHost(w, h, p) {
  output.assign(image.size(), 0);
  blankOutBuffers = true;
  record.inputRate = record.maskRate = 0;
}
