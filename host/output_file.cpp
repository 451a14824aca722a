#include "host/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gyhost {

namespace {

// The mode a newly created file would get, or the existing file's mode.
mode_t TargetMode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const FileWriter& writer, std::string* error) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = dir + "/." + base + ".gyrelle-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot create a file in " + dir + ": " + std::strerror(errno);
    return false;
  }
  close(fd);
  const std::string temp(name.data());
  if (!writer(temp, error)) {
    unlink(temp.c_str());
    return false;
  }
  chmod(temp.c_str(), TargetMode(path));
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    *error = std::strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace gyhost
