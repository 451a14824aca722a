#include "host/dialog/dialog_host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/dialog/dialog_save.h"
#include "host/dialog/dialog_sdl.h"
#include "host/cli/options.h"
#include "platform/ui/host_port.h"
#include "platform/ui/script_check.h"

namespace gyhost {

namespace {

UiHostPort g_port{kUiHostPortSignature, nullptr, 0, 0, 0, {}, 0};
std::string g_scriptPath;
std::string g_scriptText;  // the steps of --save and --load, then the script's
int32_t g_scriptFailures = 0;
std::string g_homeFolder;
bool g_userAskedForDialog = false;  // --dialog or --dialog-script, not only saves

}  // namespace

void* HostDialogPort() { return &g_port; }

void PaintIntoHostPort(const PSPixelMap* map, const VRect* band, int32_t destRow, int32_t destColumn,
                       void* platformData) {
  UiHostPort* port = UiHostPortFrom(platformData);
  if (!port || !port->pixels || !map || !map->baseAddr || !band) return;
  const bool colour = map->imageMode == kImageModeRGB;
  if ((!colour && map->imageMode != kImageModeGray) || map->colBytes < (colour ? 3 : 1)) return;
  const int32_t top = std::max(band->top, map->bounds.top), bottom = std::min(band->bottom, map->bounds.bottom);
  const int32_t left = std::max(band->left, map->bounds.left), right = std::min(band->right, map->bounds.right);
  const int32_t clipTop = std::max<int32_t>(port->clip.top, 0), clipBottom = std::min<int32_t>(port->clip.bottom, port->height);
  const int32_t clipLeft = std::max<int32_t>(port->clip.left, 0), clipRight = std::min<int32_t>(port->clip.right, port->width);
  const auto* base = static_cast<const uint8_t*>(map->baseAddr);
  for (int32_t y = top; y < bottom; ++y) {
    const int32_t dy = destRow + (y - band->top);
    if (dy < clipTop || dy >= clipBottom) continue;
    const uint8_t* row = base + int64_t(y - map->bounds.top) * map->rowBytes;
    for (int32_t x = left; x < right; ++x) {
      const int32_t dx = destColumn + (x - band->left);
      if (dx < clipLeft || dx >= clipRight) continue;
      const uint8_t* px = row + int64_t(x - map->bounds.left) * map->colBytes;
      uint8_t* d = port->pixels + int64_t(dy) * port->rowBytes + int64_t(dx) * 4;
      d[0] = px[0];
      d[1] = colour ? px[1] : px[0];
      d[2] = colour ? px[2] : px[0];
      d[3] = 255;
    }
  }
  ++port->paints;
}

bool ParseDialogScriptOption(int argc, const char* const* argv, int* i, HostOptions* o, std::string* error) {
  if (std::strcmp(argv[*i], "--dialog") == 0) {
    g_userAskedForDialog = true;
    return false;  // a flag of the command line's own
  }
  if (ParseDialogSaveOption(argc, argv, i, error)) {
    o->dialog = true;
    return true;
  }
  const std::string arg = argv[*i];
  const std::string name = "--dialog-script";
  if (arg.rfind(name, 0) != 0 || (arg.size() > name.size() && arg[name.size()] != '=')) return false;
  if (arg.size() > name.size()) {
    g_scriptPath = arg.substr(name.size() + 1);
  } else if (*i + 1 < argc) {
    g_scriptPath = argv[++*i];
  } else {
    *error = name + " needs a value";
    return true;
  }
  if (g_scriptPath.empty()) *error = name + " needs a file name";
  // The steps are checked whole before anything runs: a script that is not
  // one is a usage error, named by its line.
  std::string text;
  if (error->empty() && (!UiReadScriptFile(g_scriptPath.c_str(), &text, error) ||
                         !UiCheckScript(text, g_scriptPath.c_str(), error)))
    g_scriptPath.clear();
  o->dialog = true;
  g_userAskedForDialog = true;
  return true;
}

const std::string& DialogScriptPath() { return g_scriptPath; }

void ConfigureDialogFrontEnd(PlatformConfigureProc configure, bool dialog, const std::string& inputPath) {
  if (!configure) return;
  if (dialog) {
    // The chooser opens first where the image is.
    std::error_code ec;
    g_homeFolder = std::filesystem::absolute(inputPath, ec).parent_path().string();
    if (!ec) configure("chooser_home_folder", int64_t(reinterpret_cast<intptr_t>(g_homeFolder.c_str())));
  }
  if (HaveDialogSaves()) {
    std::string tail = "click 2\n";
    if (!g_scriptPath.empty()) {
      std::string text, error;
      if (!UiReadScriptFile(g_scriptPath.c_str(), &text, &error)) {
        std::fprintf(stderr, "%s: nothing was saved or written\n", error.c_str());
        ++g_scriptFailures;
        tail = "";
      } else {
        tail = text + "\n";
      }
    }
    g_scriptText = DialogSaveSteps(tail, g_scriptPath);
    configure("dialog_script_text", int64_t(reinterpret_cast<intptr_t>(g_scriptText.c_str())));
    configure("dialog_chooser_answers", int64_t(reinterpret_cast<intptr_t>(DialogSaveChooserAnswers())));
    configure("dialog_message_hook", int64_t(reinterpret_cast<intptr_t>(&SayDialogMessage)));
    // Saves asked for on the command line are not a choice of settings for
    // the runs after this one.
    if (!g_userAskedForDialog) configure("keep_cached_settings", 1);
  }
  const bool scripted = !g_scriptPath.empty() || !g_scriptText.empty();
  if (!g_scriptPath.empty() && g_scriptText.empty()) {
    configure("dialog_script", int64_t(reinterpret_cast<intptr_t>(g_scriptPath.c_str())));
  }
  if (scripted) configure("dialog_script_failures", int64_t(reinterpret_cast<intptr_t>(&g_scriptFailures)));
  if (!dialog) return;
  // A scripted run shows its windows when there is a display; it needs none.
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    if (!scripted) std::fprintf(stderr, "no display (DISPLAY is not set): the dialog accepts its settings at once\n");
    return;
  }
  const void* frontEnd = StartSdlFrontEnd();
  if (!frontEnd) {
    std::fprintf(stderr, "no window can be opened on the display: %s\n",
                 scripted ? "the script runs headless" : "the dialog accepts its settings at once");
    return;
  }
  configure(scripted ? "dialog_presenter" : "dialog_front_end", int64_t(reinterpret_cast<intptr_t>(frontEnd)));
}

int32_t DialogScriptFailures() { return g_scriptFailures; }

}  // namespace gyhost
