// Putting a finished file in place of another in one step, so that a reader
// sees either the old file or the whole new one, never a part.
#pragma once

#include "platform/files.h"

// Moves `from` over `to` (both in one folder); `to` need not exist. On
// failure both are left as they were.
int16_t FSReplaceObject(const FSRef* from, const FSRef* to);
// A reference to `name` in the folder, whether or not it exists yet; kBadName
// for a name that is no single component or does not fit.
int16_t FSMakeRefForName(const FSRef* folder, const char* utf8Name, FSRef* out);
