// Settings that come from outside (a replayed descriptor, a settings file)
// are checked before anything renders with them.
#pragma once

#include <cstdint>

struct TParameters;

// Puts every mode, quality, size and angle that is out of its range (or not
// finite) back to its default; everything else is left as it is.
void SanitizeSettings(TParameters* p);
// Output modes the renderer knows: 1 to 291 and the variants 1035 to 1049.
bool IsKnownOutputMode(int32_t mode);
