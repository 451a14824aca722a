#include "export_host.h"

#include <cmath>
#include <cstring>

ExportHost::ExportHost(int w, int h, int d, int p) : PluginHost(w, h, p, d, "gyrelle-export-host") {
  const double full = d == 16 ? 32768.0 : 255.0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = 2.0 * M_PI * (x + 0.5) / w, v = M_PI * (y + 0.5) / h;
      const double c[4] = {0.5 + 0.45 * std::sin(u) * std::sin(v), 0.5 + 0.45 * std::cos(2 * u) * std::cos(v),
                           0.5 + 0.4 * std::sin(3 * v + u), 1.0};
      for (int k = 0; k < p; ++k) {
        if (d == 32) {
          const float f = float(c[k]);
          std::memcpy(&image[((size_t(y) * w + x) * p + k) * 4], &f, 4);
        } else {
          SetSample(&image, x, y, k, uint32_t(std::lround(c[k] * full)));
        }
      }
    }
  output = image;
  if (p == 4) record.filterCase = kFilterCaseEditableTransparencyNoSelection;
}
