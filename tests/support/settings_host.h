// What the settings-file suites share: a scratch folder that stands in for
// the user's home, configuration and temporary folders while a test runs,
// and a plain Globals with a settings record and a 128 x 128 preview.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/plugin_api.h"

struct Globals;
struct TParameters;

// Creates a fresh folder and points HOME, XDG_CONFIG_HOME and TMPDIR into it
// (home/, config/, tmp/); everything is restored and removed afterwards.
class ScratchFolders {
 public:
  ScratchFolders();
  ~ScratchFolders();
  ScratchFolders(const ScratchFolders&) = delete;
  ScratchFolders& operator=(const ScratchFolders&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
  std::string PreferencesFolder() const { return root_ + "/config/Gyrelle 2"; }

 private:
  std::string root_;
  std::vector<std::pair<std::string, std::string>> saved_;
  std::vector<std::string> unset_;
};

struct SettingsHost {
  explicit SettingsHost(bool withPreview = true);
  ~SettingsHost();
  SettingsHost(const SettingsHost&) = delete;
  SettingsHost& operator=(const SettingsHost&) = delete;

  TParameters* Settings() const;

  FilterRecord record{};
  Globals* globals = nullptr;
};

// Files as plain bytes, and references to them.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::string& path);
// The reference of an existing file or folder (the test fails otherwise).
FSRef RefOf(const std::string& path);
// Creates the file empty (or keeps it) and answers its reference.
FSRef MakeFile(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);

// Every field of the record, for equality checks that also cover the floats'
// bits and the name.
bool SameSettings(const TParameters& a, const TParameters& b, std::string* firstDifference);
