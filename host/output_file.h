// Replacing an output file only when its new contents are complete: the
// writer fills a temporary file beside it, which is then renamed over it.
#pragma once

#include <functional>
#include <string>

namespace gyhost {

using FileWriter = std::function<bool(const std::string& tempPath, std::string* error)>;

// On failure the temporary file is removed and `path` is left as it was.
bool WriteFileAtomically(const std::string& path, const FileWriter& writer, std::string* error);

}  // namespace gyhost
