// Every export file is written under a hidden temporary name beside its
// target, flushed to the disk, and only put in place, in one step, once it
// is whole: a failed or cancelled export leaves an existing file as it was
// and nothing partial behind, and a set of files (the cube's six faces)
// appears all or not at all. Large documents stream into the temporary
// through the file layer; models and pages made whole in memory go through
// CommitExportFile, which is the same steps at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"

constexpr int32_t kSafeOutputMaxFiles = 8;

struct SafeOutput {
  FSRef target;
  FSRef temp;
  int16_t fork;   // 0 while not open
  uint8_t made;   // the temporary file exists
};

// Makes a temporary sibling of `target` under a name no other writer has
// and opens it for writing as a file of `kind` (the file layer's kinds:
// type and creator). 0 or the failure; on failure nothing is left behind.
int32_t SafeOutputOpen(SafeOutput* out, const FSRef* target, int32_t kind);
// Cuts the fork at its mark, closes it and flushes the file to the disk;
// the first failure.
int32_t SafeOutputClose(SafeOutput* out);
// Puts the closed temporary file in place of the target.
int32_t SafeOutputCommit(SafeOutput* out);
// Closes (when open) and deletes the temporary file; the target is untouched.
void SafeOutputAbandon(SafeOutput* out);
// The end of a file streamed into an opened (or staged) output, whose
// writing answered `writeResult`: closed, put in place and given the type
// and creator of `kind` when all went well, else abandoned. The first
// failure.
int32_t SafeOutputFinish(SafeOutput* out, int32_t kind, int32_t writeResult);

// The whole file written into a fresh temporary beside `file`, closed and
// flushed, and left in `out` for SafeOutputCommit or SafeOutputAbandon, so
// that several files can appear together. On failure nothing is left.
int32_t StageExportFile(SafeOutput* out, const FSRef* file, const void* bytes, size_t length, int32_t kind);
// The whole file at once: staged, then put in place. 0, or the code of the
// first failure (nothing changed then).
int32_t CommitExportFile(const FSRef* file, const void* bytes, size_t length, int32_t kind);
inline int32_t CommitExportFile(const FSRef* file, const std::string& text, int32_t kind) {
  return CommitExportFile(file, text.data(), text.size(), kind);
}

// Test hook: the next `count` whole-file commits fail with kDiskFull after
// writing half of their bytes to the temporary, as a full disk would.
void FailNextExportCommits(int32_t count);

// A sibling of `file` named base + tag + extension of `file` (no blank
// between), whether or not it exists.
int32_t SiblingWithTag(const FSRef* file, const char* tag, FSRef* out);
// The file beside `file` with the same name and `extension` (with its dot)
// in place of its own; nothing is created.
int32_t SiblingWithExtension(const FSRef* file, const char* extension, FSRef* out);
