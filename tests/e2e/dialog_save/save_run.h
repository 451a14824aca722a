// Runs gyrelle with --save and --load in a folder and home of its own.
#pragma once

#include <string>

struct SaveRun {
  int status = -1;
  std::string err;
  std::string dir;
};

// `args` may name files as $DIR/...; the image is the built-in panorama and
// the result goes to $DIR/out.png. `env` (NAME=VALUE words, $DIR allowed)
// is set for the run; the thumbnail cache is the home's unless it names one.
SaveRun RunGyrelle(const std::string& args, const std::string& dir = "", const std::string& env = "");
std::string NewDir();
std::string Slurp(const std::string& path);
bool Exists(const std::string& path);
// The command's standard output and its exit status.
int Shell(const std::string& command, std::string* out);
bool HaveTool(const char* name);
void RemoveDir(const std::string& dir);
