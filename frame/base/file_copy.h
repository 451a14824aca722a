// Copying a whole file, fork by fork. This platform has no resource forks, so
// a copy moves the data fork and the Finder information only.
#pragma once

#include <cstdint>

#include "platform/files.h"

// Copies the source fork into the destination from the start of both and
// cuts the destination there, so no tail of an older, longer destination is
// left; kBadParameter without a buffer. The first failure is answered.
int32_t ZorCopyFork(int16_t source, int16_t destination, uint8_t* buffer, int32_t bufferSize);
// The whole file, then the Finder info and a fresh modification date; the
// first failure of any step, else 0.
int32_t MacCopyFromTo(const FSRef* from, const FSRef* to);
