#include "export/obj_file_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "frame/file_layer.h"

namespace {

std::atomic<int32_t> gFailingCommits{0};

int32_t CodeOfErrno(int e) {
  switch (e) {
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return kPermission;
    case ENOENT:
    case ENOTDIR: return kFolderNotFound;
    case ENAMETOOLONG: return kBadName;
    default: return kIOError;
  }
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= size_t(w);
  }
  return true;
}

}  // namespace

void FailNextExportCommits(int32_t count) { gFailingCommits = count; }

int32_t CommitExportFile(const FSRef* file, const void* bytes, size_t length, int32_t kind) {
  if (!file || !file->path[0] || (!bytes && length)) return kBadParameter;
  // The temporary sits beside the target so that the rename never crosses a
  // file system; its name starts with a dot so that no listing shows it.
  char folder[kFSRefPathBytes], temp[kFSRefPathBytes + 32];
  std::snprintf(folder, sizeof folder, "%s", file->path);
  char* slash = std::strrchr(folder, '/');
  const char* name = slash ? slash + 1 : folder;
  if (slash) *slash = 0;
  const int n = std::snprintf(temp, sizeof temp, "%s/.%s.partial-XXXXXX", slash ? folder : ".", name);
  if (n < 0 || size_t(n) >= sizeof temp) return kBadName;
  const int fd = ::mkstemp(temp);
  if (fd < 0) return CodeOfErrno(errno);
  ::fchmod(fd, 0644);

  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  int32_t e = 0;
  if (gFailingCommits.load() > 0) {
    --gFailingCommits;
    WriteAll(fd, p, length / 2);
    e = kDiskFull;
  } else if (!WriteAll(fd, p, length) || ::fsync(fd) != 0) {
    e = CodeOfErrno(errno);
  }
  if (::close(fd) != 0 && e == 0) e = CodeOfErrno(errno);
  if (e == 0 && ::rename(temp, file->path) != 0) e = CodeOfErrno(errno);
  if (e != 0) {
    ::unlink(temp);
    return e;
  }
  FourCC type = 0, creator = 0;
  if (FinderTypeCreatorForKind(kind, &type, &creator)) MacApplyTypeCreator_ref(file, type, creator);
  return 0;
}

int32_t SiblingWithExtension(const FSRef* file, const char* extension, FSRef* out) {
  if (!file || !extension || !out) return kBadParameter;
  char path[kFSRefPathBytes];
  std::snprintf(path, sizeof path, "%s", file->path);
  char* slash = std::strrchr(path, '/');
  char* dot = std::strrchr(slash ? slash + 1 : path, '.');
  if (dot) *dot = 0;
  const int n = std::snprintf(out->path, sizeof out->path, "%s%s", path, extension);
  return (n < 0 || size_t(n) >= sizeof out->path) ? kBadName : 0;
}
