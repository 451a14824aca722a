#include "settings_host.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "pyramid/pyramid_descriptor.h"

ScratchFolders::ScratchFolders() {
  char pattern[] = "/tmp/gyrelle-files-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  root_ = made ? made : "/tmp";
  for (const char* sub : {"home", "config", "tmp"}) ::mkdir(Path(sub).c_str(), 0755);
  const std::pair<const char*, std::string> vars[] = {
      {"HOME", Path("home")}, {"XDG_CONFIG_HOME", Path("config")}, {"TMPDIR", Path("tmp")}};
  for (const auto& [name, value] : vars) {
    if (const char* old = std::getenv(name))
      saved_.emplace_back(name, old);
    else
      unset_.emplace_back(name);
    ::setenv(name, value.c_str(), 1);
  }
}

ScratchFolders::~ScratchFolders() {
  for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
  for (const std::string& name : unset_) ::unsetenv(name.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

SettingsHost::SettingsHost(bool withPreview) {
  record.parameters = NewHandleClear(sizeof(TParameters));
  globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
  globals->filterRecord = &record;
  TParameters* p = Settings();
  SetDefaultSettings(p);
  std::strncpy(p->settingsName, kDefaultSettingsName, kSettingsNameSize - 1);
  InitPyramidProcs(&globals->previewPyramid, globals, nullptr);
  if (withPreview) {
    EXPECT_TRUE(TryToAllocatePyramid_2006(&globals->previewPyramid, 128, 128, 3, 0));
  }
}

SettingsHost::~SettingsHost() {
  DisposePyramidData(&globals->previewPyramid);
  DisposeHandle(record.parameters);
  std::free(globals);
}

TParameters* SettingsHost::Settings() const { return reinterpret_cast<TParameters*>(*record.parameters); }

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

FSRef RefOf(const std::string& path) {
  FSRef ref{};
  EXPECT_EQ(FSPathMakeRef(path.c_str(), &ref, nullptr), kFileOK) << path;
  return ref;
}

FSRef MakeFile(const std::string& path) {
  if (!FileExists(path)) WriteWholeFile(path, {});
  return RefOf(path);
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(path.c_str())) {
    while (const dirent* e = ::readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.emplace_back(e->d_name);
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool SameSettings(const TParameters& a, const TParameters& b, std::string* firstDifference) {
  // The record is plain data whose padding both sides got from the same
  // zero-filled start, so bytes are the fields.
  const auto* x = reinterpret_cast<const uint8_t*>(&a);
  const auto* y = reinterpret_cast<const uint8_t*>(&b);
  for (size_t i = 0; i < sizeof(TParameters); ++i) {
    if (x[i] == y[i]) continue;
    if (firstDifference) *firstDifference = "byte offset " + std::to_string(i);
    return false;
  }
  return true;
}
