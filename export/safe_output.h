// Every export file is written under a hidden temporary name beside its
// target and only put in place, in one step, once it is whole: a failed or
// cancelled export leaves an existing file as it was and nothing partial
// behind, and a set of files (the cube's six faces) appears all or not at all.
#pragma once

#include <cstdint>

#include "platform/files.h"

constexpr int32_t kSafeOutputMaxFiles = 8;

struct SafeOutput {
  FSRef target;
  FSRef temp;
  int16_t fork;   // 0 while not open
  uint8_t made;   // the temporary file exists
};

// Makes the temporary sibling of `target` and opens it for writing as a file
// of `kind` (the file layer's kinds: type and creator). 0 or the failure;
// on failure nothing is left behind.
int32_t SafeOutputOpen(SafeOutput* out, const FSRef* target, int32_t kind);
// Cuts the fork at its mark and closes it; the close result.
int32_t SafeOutputClose(SafeOutput* out);
// Puts the closed temporary file in place of the target.
int32_t SafeOutputCommit(SafeOutput* out);
// Closes (when open) and deletes the temporary file; the target is untouched.
void SafeOutputAbandon(SafeOutput* out);

// A sibling of `file` named base + tag + extension of `file` (no blank
// between), whether or not it exists.
int32_t SiblingWithTag(const FSRef* file, const char* tag, FSRef* out);
