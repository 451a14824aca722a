// Every model, brick and page file is made whole in memory and then put in
// place in one step: a sibling temporary is written and renamed over the
// chosen file. A failure on the way (a full disk, no permission, a folder
// that went away) removes the temporary and leaves whatever file stood there
// before as it was, so no reader ever sees half a model or half a page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"

// 0, or the File Manager code of the first failure (nothing changed then).
// `kind` is the file kind of OpenAFileRef, for its Finder type and creator.
int32_t CommitExportFile(const FSRef* file, const void* bytes, size_t length, int32_t kind);
inline int32_t CommitExportFile(const FSRef* file, const std::string& text, int32_t kind) {
  return CommitExportFile(file, text.data(), text.size(), kind);
}

// Test hook: the next `count` commits fail with kDiskFull after writing half
// of their bytes to the temporary, as a full disk would.
void FailNextExportCommits(int32_t count);

// The file beside `file` with the same name and `extension` (with its dot)
// in place of its own; nothing is created.
int32_t SiblingWithExtension(const FSRef* file, const char* extension, FSRef* out);
