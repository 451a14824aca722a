// Memory handed back to the system without holding up the run. Freeing a
// block of many megabytes unmaps its pages one by one on the freeing
// thread: the plug-in's pyramid at the end of a filter, or a picture before
// the process ends, cost the run milliseconds in which nothing else moves.
#pragma once

#include <cstdint>

#include "host/host_image.h"

namespace gyhost {

// Frees `block` (from std::malloc, `bytes` long) on a thread of its own,
// in the order handed over; a small block, or one no thread can take, is
// freed here and now.
void FreeLater(void* block, int64_t bytes);

// Returns once every block handed to FreeLater is freed.
void FinishFreeing();

// Empties the picture, its pages handed back on up to `threads` threads
// at once (0: one a core).
void ReleasePicture(HostImage* image, int32_t threads);

}  // namespace gyhost
