// Settings that come from outside (a replayed descriptor, a settings file)
// are checked before anything renders with them.
#pragma once

#include <cstdint>

#include "render/render_services.h"

struct TParameters;

// One setting put back to its default: its name as the user knows it, the
// value found and the value used.
struct SettingCorrection {
  const char* name;
  double given;
  double used;
};

constexpr int kMaxSettingCorrections = 32;

struct SanitizeReport {
  int32_t count = 0;
  SettingCorrection corrections[kMaxSettingCorrections];
};

// Puts every mode, quality, size and angle that is out of its range (or not
// finite) back to its default; everything else is left as it is. With a
// report, every correction is listed in it.
void SanitizeSettings(TParameters* p, SanitizeReport* report = nullptr);
// A view angle the renderer can use: above 0 (a zero angle has no image
// plane) and at most 180 degrees.
bool ViewAngleInRange(double degrees);
// Tells the user, one line each, which settings of `source` were replaced.
void ReportSettingCorrections(const SanitizeReport& report, const char* source);
