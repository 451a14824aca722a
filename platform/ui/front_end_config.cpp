#include "platform/ui/front_end_config.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/ui/event_loop.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/script.h"
#include "platform/ui/services.h"

namespace {

std::string g_scriptPath;
std::string g_scriptText;  // steps given as text; they win over a path
int32_t* g_failures = nullptr;
UiFrontEnd g_hostFrontEnd;
bool g_haveHostFrontEnd = false;
UiFrontEnd g_presenter;  // shows the windows of a scripted run
bool g_havePresenter = false;
UiFrontEnd g_scripted;

void PresentChanged(void*, UiWindow* w) {
  if (g_presenter.windowChanged) g_presenter.windowChanged(g_presenter.self, w);
}
void PresentGone(void*, UiWindow* w) {
  if (g_presenter.windowGone) g_presenter.windowGone(g_presenter.self, w);
}
void PresentCursor(void*, int32_t cursor) {
  if (g_presenter.cursorChanged) g_presenter.cursorChanged(g_presenter.self, cursor);
}
int32_t g_depth = 0;
UiScript* g_script = nullptr;

// No one to answer: the default button is pressed at once.
struct AcceptAtOnce {
  bool pressed;
};
AcceptAtOnce g_accept;

bool AcceptNext(void* self, UiInput* out, double) {
  auto* a = static_cast<AcceptAtOnce*>(self);
  *out = UiInput{};
  out->type = a->pressed ? kUiInputEnd : kUiInputKey;
  out->key = kUiKeyReturn;
  a->pressed = true;
  return true;
}

}  // namespace

bool UiConfigure(const char* key, int64_t value) {
  if (!key) return false;
  if (std::strcmp(key, "dialog_script") == 0) {
    const char* path = reinterpret_cast<const char*>(static_cast<intptr_t>(value));
    g_scriptPath = path ? path : "";
    return true;
  }
  if (std::strcmp(key, "dialog_script_text") == 0) {
    const char* text = reinterpret_cast<const char*>(static_cast<intptr_t>(value));
    g_scriptText = text ? text : "";
    return true;
  }
  if (std::strcmp(key, "dialog_script_failures") == 0) {
    g_failures = reinterpret_cast<int32_t*>(static_cast<intptr_t>(value));
    return true;
  }
  // The answers to the choosers as data (a null-ended list of paths, each
  // given by a script's chooser-answer step), where the chooser first opens,
  // and who takes the dialog's failures instead of stderr.
  if (std::strcmp(key, "dialog_chooser_answers") == 0) {
    UiSetHostChooserAnswers(reinterpret_cast<const char* const*>(static_cast<intptr_t>(value)));
    return true;
  }
  if (std::strcmp(key, "chooser_home_folder") == 0) {
    UiSetChooserHomeFolder(reinterpret_cast<const char*>(static_cast<intptr_t>(value)));
    return true;
  }
  if (std::strcmp(key, "dialog_message_hook") == 0) {
    UiSetMessageHook(reinterpret_cast<UiMessageHook>(static_cast<intptr_t>(value)));
    return true;
  }
  if (std::strcmp(key, "dialog_presenter") == 0) {
    const auto* fe = reinterpret_cast<const UiFrontEnd*>(static_cast<intptr_t>(value));
    g_havePresenter = fe != nullptr;
    g_presenter = fe ? *fe : UiFrontEnd{};
    return true;
  }
  if (std::strcmp(key, "dialog_front_end") == 0) {
    const auto* fe = reinterpret_cast<const UiFrontEnd*>(static_cast<intptr_t>(value));
    g_haveHostFrontEnd = fe != nullptr;
    g_hostFrontEnd = fe ? *fe : UiFrontEnd{};
    return true;
  }
  return false;
}

void UiBeginDialogInput() {
  if (g_depth++ > 0) return;
  if (!g_scriptPath.empty() || !g_scriptText.empty()) {
    g_script = !g_scriptText.empty() ? UiParseScript(g_scriptText.c_str(), "dialog steps") : UiLoadScript(g_scriptPath.c_str());
    if (g_script) {
      UiUseVirtualClock(true);
      g_scripted = *UiScriptFrontEnd(g_script);
      if (g_havePresenter) {
        g_scripted.windowChanged = PresentChanged;
        g_scripted.windowGone = PresentGone;
        g_scripted.cursorChanged = PresentCursor;
      }
      UiSetFrontEnd(&g_scripted);
      return;
    }
    std::fprintf(stderr, "the dialog script %s is not run: the dialog is cancelled\n",
                 g_scriptText.empty() ? g_scriptPath.c_str() : "steps");
    if (g_failures) ++*g_failures;
    const UiFrontEnd nothing{nullptr, [](void*, UiInput* out, double) {
                               *out = UiInput{};
                               out->type = kUiInputEnd;
                               return true;
                             },
                             nullptr, nullptr, nullptr, false};
    UiSetFrontEnd(&nothing);
    return;
  }
  if (g_haveHostFrontEnd) {
    UiSetFrontEnd(&g_hostFrontEnd);
    return;
  }
  g_accept = AcceptAtOnce{false};
  const UiFrontEnd accept{&g_accept, AcceptNext, nullptr, nullptr, nullptr, false};
  UiSetFrontEnd(&accept);
}

void UiEndDialogInput() {
  if (g_depth == 0 || --g_depth > 0) return;
  if (g_script) {
    const int32_t failed = UiFinishScript(g_script);
    if (g_failures) *g_failures += failed;
    g_script = nullptr;
  }
  UiSetFrontEnd(nullptr);
  UiUseVirtualClock(false);
}
