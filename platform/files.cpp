#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr const char* kProductFolderName = "Gyrelle 2";

struct OpenFork {
  int fd;
  bool writable;
  int64_t mark;
};

// Fork number n lives in slot n - 1; fd -1 marks a free slot.
struct ForkTable {
  std::mutex lock;
  OpenFork forks[kMaxOpenForks];
  ForkTable() {
    for (OpenFork& f : forks) f = OpenFork{-1, false, 0};
  }
};

ForkTable& Forks() {
  static ForkTable table;
  return table;
}

int16_t FromErrno(int e) {
  switch (e) {
    case ENOENT: return kFileNotFound;
    case EEXIST: return kDuplicateName;
    case EACCES:
    case EPERM: return kPermission;
    case EROFS: return kWritePermission;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kDiskFull;
    case ENAMETOOLONG: return kBadName;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case ENOTDIR: return kFolderNotFound;
    case EISDIR: return kNotAFile;
    default: return kIOError;
  }
}

bool HasPath(const FSRef* ref) { return ref && ref->path[0] == '/'; }

bool CopyPath(const char* from, FSRef* to) {
  const size_t n = std::strlen(from);
  if (n + 1 > sizeof to->path) return false;
  std::memcpy(to->path, from, n + 1);
  return true;
}

// parent/name with '/' inside the name stored as ':'.
int16_t JoinName(const FSRef* parent, const char* name, FSRef* out) {
  if (!HasPath(parent) || !name || !name[0]) return kBadName;
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return kBadName;
  FSRef joined;
  size_t at = std::strlen(parent->path);
  if (at + 1 >= sizeof joined.path) return kBadName;
  std::memcpy(joined.path, parent->path, at);
  if (at > 1) joined.path[at++] = '/';
  for (const char* s = name; *s; ++s) {
    if (at + 1 >= sizeof joined.path) return kBadName;
    joined.path[at++] = *s == '/' ? ':' : *s;
  }
  joined.path[at] = '\0';
  *out = joined;
  return kFileOK;
}

int16_t MakeFolders(const char* path) {
  char partial[kFSRefPathBytes];
  const size_t n = std::strlen(path);
  if (n + 1 > sizeof partial) return kBadName;
  std::memcpy(partial, path, n + 1);
  for (size_t i = 1; i <= n; ++i) {
    if (partial[i] != '/' && partial[i] != '\0') continue;
    const char keep = partial[i];
    partial[i] = '\0';
    if (::mkdir(partial, 0755) != 0 && errno != EEXIST) return FromErrno(errno);
    partial[i] = keep;
  }
  struct stat st;
  if (::stat(path, &st) != 0) return FromErrno(errno);
  return S_ISDIR(st.st_mode) ? kFileOK : kFolderNotFound;
}

// Only absolute values count: a relative XDG_CONFIG_HOME is ignored, as the
// base-directory convention asks.
const char* AbsoluteEnv(const char* name) {
  const char* v = std::getenv(name);
  return v && v[0] == '/' ? v : nullptr;
}

int16_t PreferencesPath(char* out, size_t size) {
  int n;
  if (const char* config = AbsoluteEnv("XDG_CONFIG_HOME")) {
    n = std::snprintf(out, size, "%s/%s", config, kProductFolderName);
  } else {
    const char* home = AbsoluteEnv("HOME");
    if (!home) {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : nullptr;
    }
    if (!home) return kFolderNotFound;
    n = std::snprintf(out, size, "%s/.config/%s", home, kProductFolderName);
  }
  return n > 0 && size_t(n) < size ? kFileOK : kBadName;
}

OpenFork* ForkOf(ForkTable& t, int16_t number) {
  if (number < 1 || number > kMaxOpenForks) return nullptr;
  OpenFork* f = &t.forks[number - 1];
  return f->fd >= 0 ? f : nullptr;
}

}  // namespace

int16_t FSPathMakeRef(const char* utf8Path, FSRef* ref, bool* isFolder) {
  if (!utf8Path || !ref || utf8Path[0] != '/') return kBadParameter;
  FSRef made;
  if (!CopyPath(utf8Path, &made)) return kBadName;
  for (size_t n = std::strlen(made.path); n > 1 && made.path[n - 1] == '/'; --n) made.path[n - 1] = '\0';
  struct stat st;
  if (::stat(made.path, &st) != 0) return FromErrno(errno);
  if (isFolder) *isFolder = S_ISDIR(st.st_mode);
  *ref = made;
  return kFileOK;
}

int16_t FSRefMakePath(const FSRef* ref, char* utf8Path, size_t maxBytes) {
  if (!HasPath(ref) || !utf8Path || maxBytes == 0) return kBadParameter;
  const size_t n = std::strlen(ref->path);
  if (n + 1 > maxBytes) return kBadName;
  std::memcpy(utf8Path, ref->path, n + 1);
  return kFileOK;
}

bool FSRefIsFolder(const FSRef* ref) {
  struct stat st;
  return HasPath(ref) && ::stat(ref->path, &st) == 0 && S_ISDIR(st.st_mode);
}

int16_t FSGetName(const FSRef* ref, char* utf8Name, size_t maxBytes) {
  if (!HasPath(ref) || !utf8Name || maxBytes == 0) return kBadParameter;
  const char* name = std::strrchr(ref->path, '/') + 1;
  const size_t n = std::strlen(name);
  if (n + 1 > maxBytes) return kBadName;
  for (size_t i = 0; i <= n; ++i) utf8Name[i] = name[i] == ':' ? '/' : name[i];
  return kFileOK;
}

int16_t FSGetParentRef(const FSRef* ref, FSRef* parent) {
  if (!HasPath(ref) || !parent) return kBadParameter;
  const char* slash = std::strrchr(ref->path, '/');
  if (slash == ref->path && ref->path[1] == '\0') return kFolderNotFound;  // the root has none
  FSRef up;
  const size_t n = slash == ref->path ? 1 : size_t(slash - ref->path);
  std::memcpy(up.path, ref->path, n);
  up.path[n] = '\0';
  *parent = up;
  return kFileOK;
}

int16_t FSCreateObject(const FSRef* parent, const char* utf8Name, bool folder, FSRef* out) {
  if (!out) return kBadParameter;
  FSRef made;
  if (const int16_t e = JoinName(parent, utf8Name, &made)) return e;
  if (!FSRefIsFolder(parent)) return kFolderNotFound;
  if (folder) {
    if (::mkdir(made.path, 0755) != 0) return FromErrno(errno);
  } else {
    const int fd = ::open(made.path, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) return FromErrno(errno);
    ::close(fd);
  }
  *out = made;
  return kFileOK;
}

int16_t FSMakeRefByName(const FSRef* parent, const char* utf8Name, FSRef* out) {
  if (!out) return kBadParameter;
  FSRef made;
  if (const int16_t e = JoinName(parent, utf8Name, &made)) return e;
  struct stat st;
  if (::stat(made.path, &st) != 0) return FromErrno(errno);
  *out = made;
  return kFileOK;
}

int16_t FSDeleteObject(const FSRef* ref) {
  if (!HasPath(ref)) return kBadParameter;
  if (::remove(ref->path) != 0) return FromErrno(errno);
  return kFileOK;
}

int16_t FSOpenFork(const FSRef* ref, bool forWriting, int16_t* forkNumber) {
  if (!HasPath(ref) || !forkNumber) return kBadParameter;
  const int fd = ::open(ref->path, (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return kNotAFile;
  }
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  for (int i = 0; i < kMaxOpenForks; ++i) {
    if (t.forks[i].fd >= 0) continue;
    t.forks[i] = OpenFork{fd, forWriting, 0};
    *forkNumber = int16_t(i + 1);
    return kFileOK;
  }
  ::close(fd);
  return kTooManyOpenFiles;
}

int16_t FSOpenResourceFork(const FSRef* ref, bool, int16_t* forkNumber) {
  if (!HasPath(ref) || !forkNumber) return kBadParameter;
  return kResourceForkMissing;
}

int16_t FSCloseFork(int16_t forkNumber) {
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  const int rc = ::close(f->fd);
  *f = OpenFork{-1, false, 0};
  return rc == 0 ? kFileOK : kIOError;
}

int16_t FSReadFork(int16_t forkNumber, uint32_t count, void* buffer, uint32_t* actual) {
  if (actual) *actual = 0;
  if (!buffer && count > 0) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  uint32_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(f->fd, static_cast<char*>(buffer) + done, count - done, f->mark);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (actual) *actual = done;
      return FromErrno(errno);
    }
    if (n == 0) break;
    done += uint32_t(n);
    f->mark += n;
  }
  if (actual) *actual = done;
  return done == count ? kFileOK : kEndOfFile;
}

int16_t FSWriteFork(int16_t forkNumber, uint32_t count, const void* buffer, uint32_t* actual) {
  if (actual) *actual = 0;
  if (!buffer && count > 0) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  if (!f->writable) return kWritePermission;
  uint32_t done = 0;
  while (done < count) {
    const ssize_t n = ::pwrite(f->fd, static_cast<const char*>(buffer) + done, count - done, f->mark);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (actual) *actual = done;
      return n < 0 ? FromErrno(errno) : int16_t(kIOError);
    }
    done += uint32_t(n);
    f->mark += n;
  }
  if (actual) *actual = done;
  return kFileOK;
}

int16_t FSGetForkSize(int16_t forkNumber, int64_t* size) {
  if (!size) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  struct stat st;
  if (::fstat(f->fd, &st) != 0) return FromErrno(errno);
  *size = int64_t(st.st_size);
  return kFileOK;
}

int16_t FSSetForkSize(int16_t forkNumber, int64_t size) {
  if (size < 0) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  if (!f->writable) return kWritePermission;
  while (::ftruncate(f->fd, off_t(size)) != 0) {
    if (errno != EINTR) return FromErrno(errno);
  }
  if (f->mark > size) f->mark = size;
  return kFileOK;
}

int16_t FSGetForkPosition(int16_t forkNumber, int64_t* position) {
  if (!position) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  *position = f->mark;
  return kFileOK;
}

int16_t FSSetForkPosition(int16_t forkNumber, int64_t position) {
  if (position < 0) return kBadParameter;
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  OpenFork* f = ForkOf(t, forkNumber);
  if (!f) return kBadForkNumber;
  f->mark = position;
  return kFileOK;
}

int32_t FSOpenForkCount() {
  ForkTable& t = Forks();
  std::lock_guard<std::mutex> hold(t.lock);
  int32_t n = 0;
  for (const OpenFork& f : t.forks) n += f.fd >= 0;
  return n;
}

int16_t FSGetFinderInfo(const FSRef* ref, uint8_t finderInfo[16]) {
  if (!HasPath(ref) || !finderInfo) return kBadParameter;
  struct stat st;
  if (::stat(ref->path, &st) != 0) return FromErrno(errno);
  std::memset(finderInfo, 0, 16);
  return kFileOK;
}

int16_t FSSetFinderInfo(const FSRef* ref, const uint8_t finderInfo[16]) {
  if (!HasPath(ref) || !finderInfo) return kBadParameter;
  struct stat st;
  if (::stat(ref->path, &st) != 0) return FromErrno(errno);
  return kFileOK;
}

int16_t FSSetContentModDateNow(const FSRef* ref) {
  if (!HasPath(ref)) return kBadParameter;
  const timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
  if (::utimensat(AT_FDCWD, ref->path, times, 0) != 0) return FromErrno(errno);
  return kFileOK;
}

int16_t FSFindFolder(FolderKind kind, bool create, FSRef* out) {
  if (!out) return kBadParameter;
  char path[kFSRefPathBytes];
  if (kind == FolderKind_Preferences) {
    if (const int16_t e = PreferencesPath(path, sizeof path)) return e;
  } else if (kind == FolderKind_Temporary) {
    const char* tmp = AbsoluteEnv("TMPDIR");
    const int n = std::snprintf(path, sizeof path, "%s", tmp ? tmp : "/tmp");
    if (n <= 0 || size_t(n) >= sizeof path) return kBadName;
  } else {
    return kBadParameter;
  }
  if (create) {
    if (const int16_t e = MakeFolders(path)) return e;
  }
  bool isFolder = false;
  FSRef found;
  if (const int16_t e = FSPathMakeRef(path, &found, &isFolder)) return e == kFileNotFound ? int16_t(kFolderNotFound) : e;
  if (!isFolder) return kFolderNotFound;
  *out = found;
  return kFileOK;
}
