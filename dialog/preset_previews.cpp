#include "dialog/preset_previews.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_run.h"
#include "dialog/file_dialogs.h"
#include "export/preset_preview.h"
#include "frame/base/file_layer.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "dialog/frame_services.h"
#include "platform/mac_roman.h"
#include "platform/ui/services.h"

namespace {

constexpr FourCC kPresetType = MakeFourCC("Wq2q");
constexpr FourCC kPresetCreator = 0x53406EB6;
constexpr int32_t kSpareDot = 25;

// The presets of the folder, in name order.
std::vector<std::string> Presets(const FSRef& folder) {
  std::vector<std::string> names;
  DIR* d = ::opendir(folder.path);
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    FSRef ref{};
    const int n = std::snprintf(ref.path, sizeof ref.path, "%s/%s", folder.path, e->d_name);
    if (n < 0 || size_t(n) >= sizeof ref.path || FSRefIsFolder(&ref)) continue;
    char roman[256];
    Utf8ToMacRoman(e->d_name, roman, sizeof roman);
    if (MacFileKindMatches(roman, 0, ".q2q", kPresetType)) names.push_back(e->d_name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// The new content goes into a sibling first and replaces the preset only
// once whole: a write that fails leaves the preset as it was.
bool Rewrite(Globals* g, const FSRef& folder, const std::string& name) {
  FSRef preset{}, fresh{};
  std::snprintf(preset.path, sizeof preset.path, "%s/%s", folder.path, name.c_str());
  const std::string aside = "." + name + ".gyrelle-new";
  std::remove((std::string(folder.path) + "/" + aside).c_str());  // a leftover of an interrupted run
  if (FSCreateObject(&folder, aside.c_str(), false, &fresh) != 0) return false;
  if (WriteSettingsFile_ref(g, &fresh) != 0 || std::rename(fresh.path, preset.path) != 0) {
    std::remove(fresh.path);
    return false;
  }
  return true;
}

}  // namespace

int32_t fix_all_previews(Globals* g, void* dialog) {
  TParameters* p = Params(g);
  if (!p) return 0;
  FSRef folder{};
  if (const int32_t e = PromptForFolder(g, &folder, dialog, "Choose a folder of presets to update")) return e;
  SaveToMemoryDot(g, kSpareDot);
  const int32_t autoPreview = p->autoPreview;
  p->autoPreview = 1;
  for (const std::string& name : Presets(folder)) {
    FSRef preset{};
    std::snprintf(preset.path, sizeof preset.path, "%s/%s", folder.path, name.c_str());
    Build_blank_preview(g);
    if (OpenTheDarnPreset(g, &preset) != 0) {
      const std::string message = "cannot read the preset \"" + std::string(preset.path) + "\"; it was left as it was";
      UiNoteCommandFailure(message.c_str());
      continue;
    }
    Settings2Controls(g, dialog, 1);
    int16_t item = 15;
    uint8_t refresh = 1;
    MacGrabParmsDoPreview(g, dialog, &item, &refresh);
    Build_preview(g);
    if (!Rewrite(g, folder, name)) {
      const std::string message = "cannot write the preset \"" + std::string(preset.path) + "\"; it was left as it was";
      UiNoteCommandFailure(message.c_str());
      continue;
    }
    if (MacApplyTypeCreator_ref(&preset, kPresetType, kPresetCreator) != 0) break;
    ApplyOSXIconToPresetFile(&preset, g);
  }
  p->autoPreview = autoPreview;
  LoadFromMemoryDot(g, kSpareDot);
  // The dialog shows the settings it had before, rendered again.
  Settings2Controls(g, dialog, 0);
  int16_t item = 18;
  uint8_t refresh = 1;
  MacGrabParmsDoPreview(g, dialog, &item, &refresh);
  return 0;
}
