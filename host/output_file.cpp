#include "host/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace gyhost {

namespace {

constexpr char kTempMarker[] = ".gyrelle-";
// A temporary of the old form (no process id in its name) counts as stale
// once it is this old.
constexpr time_t kUnnamedStaleSeconds = 600;
// Below this much free space a failed write is put down to a full disk.
constexpr unsigned long long kNearlyFullBytes = 1 << 20;

constexpr int kAbandonSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary being written, for the signal handler (only async-signal-safe
// calls there: unlink and _exit).
char g_tempPath[PATH_MAX + 64];
volatile sig_atomic_t g_writing = 0;

void OnSignalDuringWrite(int sig) {
  if (g_writing) {
    unlink(g_tempPath);
    _exit(128 + sig);  // as the shell reports a run a signal stopped: 130, 143, 129
  }
}

struct SignalGuard {
  struct sigaction previous[3];
  SignalGuard() {
    struct sigaction action {};
    action.sa_handler = OnSignalDuringWrite;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kAbandonSignals[i], &action, &previous[i]);
  }
  ~SignalGuard() {
    for (int i = 0; i < 3; ++i) sigaction(kAbandonSignals[i], &previous[i], nullptr);
  }
};

void BlockAbandonSignals(bool block) {
  sigset_t set;
  sigemptyset(&set);
  for (int s : kAbandonSignals) sigaddset(&set, s);
  sigprocmask(block ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The mode a newly created file would get, or the existing file's mode.
mode_t TargetMode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool FlushToDisk(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

void FlushFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string ResolveOutputPath(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t n = readlink(current.c_str(), target.data(), PATH_MAX);
    if (n <= 0) return current;
    const std::string link(target.data(), size_t(n));
    current = link[0] == '/' ? link : FolderOf(current) + "/" + link;
  }
  return current;
}

bool CheckOutputWritable(const std::string& path, std::string* error) {
  const std::string target = ResolveOutputPath(path);
  const std::string folder = FolderOf(target);
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = "the folder " + folder + " does not exist";
    return false;
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    *error = "the folder " + folder + " cannot be written to (" + std::strerror(errno) + ")";
    return false;
  }
  if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    *error = target + " is a folder";
    return false;
  }
  return true;
}

namespace {

struct FileIdentity {
  std::string name;  // absolute, links followed
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
};

FileIdentity IdentityOf(const std::string& path) {
  FileIdentity id;
  std::string target = ResolveOutputPath(path);
  if (target.empty() || target[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) target = std::string(cwd) + "/" + target;
  }
  // "a/./b" and "a//b" name one file.
  std::string clean;
  for (size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '/' && !clean.empty() && clean.back() == '/') continue;
    if (target.compare(i, 2, "./") == 0 && !clean.empty() && clean.back() == '/') {
      ++i;
      continue;
    }
    clean += target[i];
  }
  id.name = clean;
  struct stat st {};
  if (stat(target.c_str(), &st) == 0) {
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
  }
  return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.name == b.name || (a.exists && b.exists && a.device == b.device && a.inode == b.inode);
}

}  // namespace

bool CheckPlannedWrites(const std::vector<PlannedWrite>& writes, const std::string& input, std::string* error) {
  const FileIdentity in = IdentityOf(input);
  std::vector<FileIdentity> ids;
  for (const PlannedWrite& w : writes) ids.push_back(IdentityOf(w.path));
  for (size_t i = 0; i < writes.size(); ++i) {
    const size_t nameBytes = BaseOf(writes[i].path).size();
    if (nameBytes > NAME_MAX) {
      *error = writes[i].what + " would write a file whose name is " + std::to_string(nameBytes) +
               " bytes long: " + BaseOf(writes[i].path).substr(0, 40) + "...; the file system takes at most " +
               std::to_string(NAME_MAX) + " bytes";
      return false;
    }
    if (in.exists && SameFile(ids[i], in)) {
      *error = writes[i].what + " would write over the input " + input + "; choose another name";
      return false;
    }
    for (size_t j = 0; j < i; ++j)
      if (SameFile(ids[i], ids[j])) {
        *error = writes[j].what + " and " + writes[i].what + " would both write " + writes[i].path +
                 "; give each its own name";
        return false;
      }
  }
  return true;
}

int RemoveStaleTemporaries(const std::string& path) {
  const std::string target = ResolveOutputPath(path);
  const std::string folder = FolderOf(target);
  const std::string prefix = "." + BaseOf(target) + kTempMarker;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  const time_t now = std::time(nullptr);
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    const std::string full = folder + "/" + name;
    bool stale = false;
    char* end = nullptr;
    const long pid = std::strtol(rest.c_str(), &end, 10);
    if (end != rest.c_str() && *end == '-' && pid > 0) {
      stale = pid != long(getpid()) && kill(pid_t(pid), 0) != 0 && errno == ESRCH;
    } else {
      struct stat st {};
      stale = lstat(full.c_str(), &st) == 0 && now - st.st_mtime > kUnnamedStaleSeconds;
    }
    if (stale && unlink(full.c_str()) == 0) ++removed;
  }
  closedir(dir);
  return removed;
}

std::string DescribeWriteFailure(const std::string& folder, int errorNumber, const std::string& detail) {
  bool full = errorNumber == ENOSPC || errorNumber == EDQUOT;
  struct statvfs fs {};
  if (!full && statvfs(folder.c_str(), &fs) == 0) full = (unsigned long long)fs.f_bavail * fs.f_frsize < kNearlyFullBytes;
  if (full) return "the disk holding " + folder + " is full (" + detail + ")";
  return detail;
}

bool WriteFileAtomically(const std::string& path, const FileWriter& writer, std::string* error) {
  const std::string target = ResolveOutputPath(path);
  const std::string dir = FolderOf(target);
  RemoveStaleTemporaries(target);
  std::string pattern = dir + "/." + BaseOf(target) + kTempMarker + std::to_string(getpid()) + "-XXXXXX";
  if (pattern.size() >= sizeof g_tempPath) {
    *error = "the file name is too long";
    return false;
  }
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  SignalGuard guard;
  BlockAbandonSignals(true);
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    const int e = errno;
    BlockAbandonSignals(false);
    *error = DescribeWriteFailure(dir, e, "cannot create a file in " + dir + ": " + std::strerror(e));
    return false;
  }
  close(fd);
  std::memcpy(g_tempPath, name.data(), name.size());
  g_writing = 1;
  BlockAbandonSignals(false);

  const std::string temp(name.data());
  errno = 0;
  bool ok = writer(temp, error);
  int e = errno;
  if (ok && !FlushToDisk(temp)) {
    e = errno;
    *error = std::strerror(e);
    ok = false;
  }
  if (ok) {
    chmod(temp.c_str(), TargetMode(target));
    // From here the file is complete: a signal no longer abandons it.
    BlockAbandonSignals(true);
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
      e = errno;
      *error = std::strerror(e);
      ok = false;
    }
  } else {
    BlockAbandonSignals(true);
  }
  if (!ok) {
    unlink(temp.c_str());
    *error = DescribeWriteFailure(dir, e, *error);
  }
  g_writing = 0;
  BlockAbandonSignals(false);
  if (ok) FlushFolder(dir);
  return ok;
}

}  // namespace gyhost
