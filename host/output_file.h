// Replacing an output file only when its new contents are complete: the
// writer fills a temporary file beside it (flushed to disk), which is then
// renamed over it. A symbolic link as output is followed: its target is
// replaced. SIGINT, SIGTERM and SIGHUP during the write abandon it: the
// temporary is removed, an existing file stays, and the process exits with
// 130 (SIGINT) or 1. Temporaries left by a killed run are removed by the next
// write to the same folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gyhost {

using FileWriter = std::function<bool(const std::string& tempPath, std::string* error)>;

// On failure the temporary file is removed and `path` is left as it was.
bool WriteFileAtomically(const std::string& path, const FileWriter& writer, std::string* error);

// Before any work: whether `path` can be written (its folder exists and is
// writable, and it is not a folder itself), following symbolic links.
bool CheckOutputWritable(const std::string& path, std::string* error);

// One file a run will write, and what writes it ("OUTPUT", "--save jpeg").
struct PlannedWrite {
  std::string what;
  std::string path;
};

// Before any work: no two writes of the run land on one file, and none on
// `input` (compared by device and inode as well as by name, so that links
// and other spellings are caught).
bool CheckPlannedWrites(const std::vector<PlannedWrite>& writes, const std::string& input, std::string* error);

// The file a write to `path` replaces: `path` itself, or the target of the
// symbolic link(s) it names.
std::string ResolveOutputPath(const std::string& path);

// Removes temporaries of `path`'s folder whose run is gone; answers how many.
int RemoveStaleTemporaries(const std::string& path);

// What to tell the user when writing into `folder` failed with `detail`:
// a full disk is named as such.
std::string DescribeWriteFailure(const std::string& folder, int errorNumber, const std::string& detail);

}  // namespace gyhost
