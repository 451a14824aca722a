// --canvas WxH: the result's size. The input resampled to the canvas is the
// unfiltered picture of a plug-in that renders onto the canvas itself. A
// plug-in that only works in place gets the input stretched to the canvas's
// aspect without giving up resolution on either axis, and its result is
// reduced to the canvas with an area filter, so no detail is thrown away
// before the filter sees it.
#pragma once

#include <cstdint>
#include <string>

#include "host/host_image.h"

namespace gyhost {

// The size the input is stretched to for a canvas of canvasW x canvasH: the
// canvas's aspect, each side at least the input's (as far as a host
// rectangle allows).
void StretchedSize(int32_t width, int32_t height, int32_t canvasW, int32_t canvasH, int32_t* outW, int32_t* outH);

// Resamples `in` to outW x outH, each axis on its own: an area filter where
// the axis shrinks, linear interpolation where it grows, a copy where it
// stays. Depth, planes and metadata are kept. `threads` (0: one per core)
// share the rows; the result does not depend on them.
bool ResampleImage(const HostImage& in, int32_t outW, int32_t outH, HostImage* out, std::string* error,
                   int32_t threads = 0);

}  // namespace gyhost
