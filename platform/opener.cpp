#include "platform/opener.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

PlatformOpener gReplacement = nullptr;

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// The first xdg-open on the PATH that may be run.
bool FindOpener(std::string* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  for (size_t at = 0; at <= dirs.size();) {
    size_t end = dirs.find(':', at);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = end > at ? dirs.substr(at, end - at) : ".";
    const std::string candidate = dir + "/xdg-open";
    struct stat st;
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
      *program = candidate;
      return true;
    }
    at = end + 1;
  }
  return false;
}

// The opener runs as a grandchild, so that it is nobody's zombie when it
// ends, with nothing of ours on its standard input. A pipe closed on exec
// tells whether it started: its write end reaches us only on failure.
int32_t Launch(const std::string& program, const char* target) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return kOpenerNotStarted;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return kOpenerNotStarted;
  }
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) ::dup2(devNull, 0);
    ::execl(program.c_str(), "xdg-open", target, static_cast<char*>(nullptr));
    const int why = errno;
    (void)!::write(pipeEnds[1], &why, sizeof why);
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int why = 0;
  ssize_t n;
  while ((n = ::read(pipeEnds[0], &why, sizeof why)) < 0 && errno == EINTR) {
  }
  ::close(pipeEnds[0]);
  const bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return forked && n == 0 ? 0 : kOpenerNotStarted;
}

// The value of XDG_PICTURES_DIR in a user-dirs file: "$HOME/..." or an
// absolute path, in double quotes.
bool PicturesDirFromUserDirs(const std::string& file, const std::string& home, std::string* out) {
  std::FILE* f = std::fopen(file.c_str(), "r");
  if (!f) return false;
  char line[2048];
  bool found = false;
  while (std::fgets(line, sizeof line, f)) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    if (std::strncmp(p, "XDG_PICTURES_DIR=\"", 18) != 0) continue;
    p += 18;
    const char* end = std::strchr(p, '"');
    if (!end) continue;
    std::string value(p, end);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    // A folder set to the home itself means the user turned it off.
    if (!value.empty() && value[0] == '/' && value != home) {
      *out = value;
      found = true;
    }
  }
  std::fclose(f);
  return found;
}

}  // namespace

int32_t PlatformOpenWithDesktop(const char* fileOrURL) {
  if (!fileOrURL || !*fileOrURL) return kOpenerNotStarted;
  if (gReplacement) return gReplacement(fileOrURL);
  // Without a display xdg-open falls back to a text browser, which would
  // take over the terminal this run writes to.
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) return kNoDesktopOpener;
  std::string program;
  if (!FindOpener(&program)) return kNoDesktopOpener;
  return Launch(program, fileOrURL);
}

void PlatformReplaceOpener(PlatformOpener opener) { gReplacement = opener; }

bool PlatformPicturesFolder(char* folder, size_t folderBytes) {
  const char* homeVar = std::getenv("HOME");
  if (!folder || folderBytes == 0 || !homeVar || homeVar[0] != '/') return false;
  const std::string home = homeVar;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string userDirs = (config && config[0] == '/' ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  std::string pictures;
  if (!PicturesDirFromUserDirs(userDirs, home, &pictures)) pictures = home + "/Pictures";
  if (::mkdir(pictures.c_str(), 0777) != 0 && errno != EEXIST) return false;
  struct stat st;
  if (::stat(pictures.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  const int n = std::snprintf(folder, folderBytes, "%s", pictures.c_str());
  return n > 0 && size_t(n) < folderBytes;
}
