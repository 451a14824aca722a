#include "export/safe_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/base/file_layer.h"
#include "platform/file_replace.h"

namespace {

constexpr char kTempMarker[] = ".partial-";

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

// The mode the file in place will have: that of the file it replaces, so
// that a document kept private stays private, else what a new file gets.
mode_t ModeForTarget(const char* path) {
  struct stat st {};
  if (::stat(path, &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A temporary of `prefix` whose writer is gone: its name carries the process
// id after the prefix. A name without one (an older form, or no temporary
// of ours) is never taken for stale: it may be another program's.
bool StaleTemporary(const char* name, size_t prefixLength) {
  const char* rest = name + prefixLength;
  char* end = nullptr;
  const long pid = std::strtol(rest, &end, 10);
  if (end == rest || *end != '-' || pid <= 0) return false;
  return pid != long(::getpid()) && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// The part of the target's name the temporary carries: all of it, unless the
// marker, the process id and the unique tail would then pass the 255 bytes a
// name may hold; a cut never splits a UTF-8 character.
std::string TempStem(const char* name) {
  constexpr size_t kMostStem = 200;
  std::string stem(name);
  if (stem.size() <= kMostStem) return stem;
  size_t cut = kMostStem;
  while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
  return stem.substr(0, cut);
}

// Temporaries of earlier runs that were killed while writing beside this
// target; the writers died, so the files are no use to anyone.
void RemoveStaleTemporaries(const FSRef* parent, const char* name) {
  char prefix[kFSRefPathBytes];
  const int n = std::snprintf(prefix, sizeof prefix, ".%s%s", TempStem(name).c_str(), kTempMarker);
  if (n < 0 || size_t(n) >= sizeof prefix) return;
  DIR* dir = ::opendir(parent->path);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, prefix, size_t(n)) != 0 || !StaleTemporary(entry->d_name, size_t(n))) continue;
    FSRef stale;
    if (FSMakeRefForName(parent, entry->d_name, &stale) == 0) ::unlink(stale.path);
  }
  ::closedir(dir);
}

// The temporary sits beside the target so that the rename never crosses a
// file system; its name starts with a dot so that no listing shows it, holds
// the writer's process id so that the next run can tell a killed writer's
// leftover, and is made unique on creation so that two writers beside one
// target never share it.
int32_t MakeTempSibling(const FSRef* target, FSRef* temp) {
  char name[kFSRefPathBytes], templ[kFSRefPathBytes];
  FSRef parent;
  if (const int16_t e = FSGetName(target, name, sizeof name)) return e;
  if (const int16_t e = FSGetParentRef(target, &parent)) return e;
  const int n =
      std::snprintf(templ, sizeof templ, ".%s%s%ld-XXXXXX", TempStem(name).c_str(), kTempMarker, long(::getpid()));
  if (n < 0 || n >= 250) return kBadName;
  RemoveStaleTemporaries(&parent, name);
  if (const int16_t e = FSMakeRefForName(&parent, templ, temp)) return e;
  const int fd = ::mkstemp(temp->path);
  if (fd < 0) return CodeOfErrno(errno);
  ::fchmod(fd, ModeForTarget(target->path));
  ::close(fd);
  return 0;
}

// The rename is only safe once the bytes are on the disk: a crash after it
// must not leave an empty or short file where the old one stood.
int32_t FlushToDisk(const FSRef* file) {
  const int fd = ::open(file->path, O_RDONLY);
  if (fd < 0) return CodeOfErrno(errno);
  const int32_t e = ::fsync(fd) != 0 ? CodeOfErrno(errno) : 0;
  ::close(fd);
  return e;
}

int32_t WriteAll(int16_t fork, const uint8_t* p, size_t n) {
  constexpr size_t kChunk = size_t(1) << 30;
  while (n > 0) {
    const uint32_t ask = uint32_t(n < kChunk ? n : kChunk);
    uint32_t wrote = 0;
    if (const int16_t e = FSWriteFork(fork, ask, p, &wrote)) return e;
    if (wrote == 0) return kIOError;
    p += wrote;
    n -= wrote;
  }
  return 0;
}

}  // namespace

int32_t SafeOutputOpen(SafeOutput* out, const FSRef* target, int32_t kind) {
  if (!out || !target) return kBadParameter;
  const FSRef chosen = *target;  // may be out's own target
  std::memset(out, 0, sizeof *out);
  out->target = chosen;
  if (const int32_t e = MakeTempSibling(&out->target, &out->temp)) return e;
  out->made = 1;
  int16_t fork = 0;
  const int32_t e = OpenAFileRef(&out->temp, &fork, 1, kind);
  if (e != 0) {
    SafeOutputAbandon(out);
    return e;
  }
  out->fork = fork;
  return 0;
}

int32_t SafeOutputClose(SafeOutput* out) {
  if (!out || out->fork == 0) return kBadParameter;
  const int32_t t = TruncateFile(out->fork);
  const int32_t c = ZorCloseFile(out->fork);
  out->fork = 0;
  if (t != 0) return t;
  if (c != 0) return c;
  return FlushToDisk(&out->temp);
}

int32_t SafeOutputCommit(SafeOutput* out) {
  if (!out || !out->made || out->fork != 0) return kBadParameter;
  // The target's mode may have changed since the temporary was made.
  ::chmod(out->temp.path, ModeForTarget(out->target.path));
  const int32_t e = FSReplaceObject(&out->temp, &out->target);
  if (e == 0) out->made = 0;
  return e;
}

void SafeOutputAbandon(SafeOutput* out) {
  if (!out) return;
  if (out->fork != 0) ZorCloseFile(out->fork);
  out->fork = 0;
  if (out->made) FSDeleteObject(&out->temp);
  out->made = 0;
}

void FailNextExportCommits(int32_t count) { gFailingCommits = count; }

int32_t StageExportFile(SafeOutput* out, const FSRef* file, const void* bytes, size_t length, int32_t kind) {
  if (!out || !file || !file->path[0] || (!bytes && length)) return kBadParameter;
  if (const int32_t e = SafeOutputOpen(out, file, kind)) return e;
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  int32_t e = 0;
  if (gFailingCommits.load() > 0) {
    --gFailingCommits;
    WriteAll(out->fork, p, length / 2);
    e = kDiskFull;
  } else {
    e = WriteAll(out->fork, p, length);
  }
  const int32_t c = SafeOutputClose(out);
  if (e == 0) e = c;
  if (e != 0) SafeOutputAbandon(out);
  return e;
}

int32_t SafeOutputFinish(SafeOutput* out, int32_t kind, int32_t writeResult) {
  if (!out) return kBadParameter;
  int32_t e = writeResult;
  if (out->fork != 0) {
    const int32_t c = SafeOutputClose(out);
    if (e == 0) e = c;
  }
  if (e == 0) e = SafeOutputCommit(out);
  if (e != 0) {
    SafeOutputAbandon(out);
    return e;
  }
  // The type and creator belong to the file now in place.
  FourCC type = 0, creator = 0;
  if (FinderTypeCreatorForKind(kind, &type, &creator)) MacApplyTypeCreator_ref(&out->target, type, creator);
  return 0;
}

int32_t CommitExportFile(const FSRef* file, const void* bytes, size_t length, int32_t kind) {
  SafeOutput out{};
  const int32_t e = StageExportFile(&out, file, bytes, length, kind);
  return SafeOutputFinish(&out, kind, e);
}

int32_t SiblingWithTag(const FSRef* file, const char* tag, FSRef* out) {
  if (!file || !tag || !out) return kBadParameter;
  char name[kFSRefPathBytes], extension[kFSRefPathBytes] = "", sibling[kFSRefPathBytes];
  FSRef parent;
  if (const int16_t e = FSGetName(file, name, sizeof name)) return e;
  if (const int16_t e = FSGetParentRef(file, &parent)) return e;
  if (char* dot = std::strrchr(name, '.'); dot && dot != name) {
    std::snprintf(extension, sizeof extension, "%s", dot);
    *dot = '\0';
  }
  const int n = std::snprintf(sibling, sizeof sibling, "%s%s%s", name, tag, extension);
  if (n < 0 || n >= 255) return kBadName;
  return FSMakeRefForName(&parent, sibling, out);
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
