#include "platform/ui/services.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/opener.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

namespace {

constexpr int kChooserSlots = 8;
char g_answers[kChooserSlots][1024];
bool g_answerIsPath[kChooserSlots];
bool g_answerIsWindow[kChooserSlots];
int32_t g_answerCount = 0;
char g_launched[1024];
int32_t g_commandFailures = 0;
void (*g_seedHook)(uint64_t) = nullptr;
UiMessageHook g_messageHook = nullptr;

UiStatus AlertCommand(UiHandlerCall*, UiEvent* e, void* data) {
  UiCommand cmd{};
  if (UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd) != kUiNoErr)
    return kUiEventNotHandled;
  if (cmd.commandID != kUiCommandOK && cmd.commandID != kUiCommandCancel) return kUiEventNotHandled;
  UiQuitAppModalLoopForWindow(static_cast<UiWindow*>(data));
  return kUiNoErr;
}

}  // namespace

int32_t UiRunCautionAlert(const char* title, const char* message) {
  // The message is cut into lines of about 56 characters at spaces.
  static char lines[6][80];
  int32_t lineCount = 0;
  const char* s = message ? message : "";
  while (*s && lineCount < 6) {
    int32_t n = int32_t(std::strlen(s));
    if (n > 56) {
      n = 56;
      while (n > 20 && s[n] != ' ') --n;
    }
    std::snprintf(lines[lineCount++], sizeof lines[0], "%.*s", n, s);
    s += n;
    while (*s == ' ') ++s;
  }
  UiItemDefinition items[8];
  int32_t count = 0;
  items[count++] = UiItemDefinition{MakeFourCC("TWPP"), 2, kUiKindStaticText, 0, Rect{16, 70, 32, 440}, 0, 0, 0,
                                    title ? title : "", nullptr, 0};
  for (int32_t i = 0; i < lineCount; ++i)
    items[count++] = UiItemDefinition{MakeFourCC("TWPP"), 3 + i, kUiKindStaticText, 0,
                                      Rect{int16_t(40 + 16 * i), 70, int16_t(56 + 16 * i), 440}, 0, 0, 0,
                                      lines[i], nullptr, 0};
  const int16_t bottom = int16_t(std::max(110, 64 + 16 * lineCount + 40));
  items[count++] = UiItemDefinition{MakeFourCC("TWPP"), 1, kUiKindPushButton, kUiCommandOK,
                                    Rect{int16_t(bottom - 36), 360, int16_t(bottom - 14), 440}, 0, 0, 1, "OK",
                                    nullptr, 0};
  const UiWindowDefinition def{"caution alert", "", 460, bottom, kUiWindowClassAlert, 0, items, count};
  UiWindow* w = UiCreateWindow(&def);
  if (!w) return 1;
  UiInstallEventHandler(&w->target, AlertCommand, 1, (const UiEventTypeSpec[]){{kUiClassCommand, kUiCommandProcess}},
                        w, nullptr);
  UiShowWindow(w);
  UiSelectWindow(w);
  UiRunAppModalLoopForWindow(w);
  UiDisposeWindow(w);
  return 1;
}

void UiQueueChooserWindow() {
  if (g_answerCount == kChooserSlots) return;
  g_answerIsPath[g_answerCount] = false;
  g_answerIsWindow[g_answerCount] = true;
  g_answers[g_answerCount][0] = 0;
  ++g_answerCount;
}

UiChooserAnswerKind UiPeekChooserAnswer() {
  if (g_answerCount == 0) return kUiChooserNone;
  if (g_answerIsWindow[0]) return kUiChooserWindow;
  return g_answerIsPath[0] ? kUiChooserPath : kUiChooserCancel;
}

void UiQueueChooserAnswer(const char* path) {
  if (g_answerCount == kChooserSlots) return;
  g_answerIsWindow[g_answerCount] = false;
  g_answerIsPath[g_answerCount] = path != nullptr;
  std::snprintf(g_answers[g_answerCount], sizeof g_answers[0], "%s", path ? path : "");
  ++g_answerCount;
}

bool UiTakeChooserAnswer(char* path, int32_t size) {
  if (g_answerCount == 0) return false;
  const bool isPath = g_answerIsPath[0];
  if (isPath && path && size > 0) std::snprintf(path, size_t(size), "%s", g_answers[0]);
  for (int32_t i = 1; i < g_answerCount; ++i) {
    std::memcpy(g_answers[i - 1], g_answers[i], sizeof g_answers[0]);
    g_answerIsPath[i - 1] = g_answerIsPath[i];
    g_answerIsWindow[i - 1] = g_answerIsWindow[i];
  }
  --g_answerCount;
  return isPath;
}

void UiNoteCommandFailure(const char* message) {
  UiSay(message && *message ? message : "a command of the dialog failed");
  ++g_commandFailures;
}

void UiSetMessageHook(UiMessageHook hook) { g_messageHook = hook; }

void UiSay(const char* message) {
  if (g_messageHook)
    g_messageHook(message ? message : "");
  else
    std::fprintf(stderr, "%s\n", message ? message : "");
}

int32_t UiCommandFailureCount() { return g_commandFailures; }

void UiSetRandomSeedHook(void (*seed)(uint64_t)) { g_seedHook = seed; }

bool UiSeedRandom(uint64_t seed) {
  if (!g_seedHook) return false;
  g_seedHook(seed);
  return true;
}

int32_t UiLaunchURL(const char* url) {
  if (!url || !*url) return -1;
  std::snprintf(g_launched, sizeof g_launched, "%s", url);
  return PlatformOpenWithDesktop(url) == 0 ? 0 : -1;
}

const char* UiLastLaunched() { return g_launched; }
