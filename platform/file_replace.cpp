#include "platform/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

int16_t FSReplaceObject(const FSRef* from, const FSRef* to) {
  if (!from || !to || !from->path[0] || !to->path[0]) return kBadParameter;
  if (std::rename(from->path, to->path) == 0) return kFileOK;
  switch (errno) {
    case ENOENT: return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kPermission;
    case ENOSPC: return kDiskFull;
    case EISDIR: return kNotAFile;
    default: return kIOError;
  }
}

int16_t FSMakeRefForName(const FSRef* folder, const char* utf8Name, FSRef* out) {
  if (!folder || !utf8Name || !out) return kBadParameter;
  if (!utf8Name[0] || std::strcmp(utf8Name, ".") == 0 || std::strcmp(utf8Name, "..") == 0) return kBadName;
  char name[kFSRefPathBytes];
  std::snprintf(name, sizeof name, "%s", utf8Name);
  // As the rest of the layer stores them: a '/' inside a name becomes ':'.
  for (char* c = name; *c; ++c)
    if (*c == '/') *c = ':';
  const int n = std::snprintf(out->path, sizeof out->path, "%s/%s", folder->path, name);
  if (n < 0 || size_t(n) >= sizeof out->path) {
    out->path[0] = '\0';
    return kBadName;
  }
  return kFileOK;
}
