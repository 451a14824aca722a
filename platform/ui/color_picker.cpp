#include "platform/ui/color_picker.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "platform/ui/event_loop.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr FourCC kSig = MakeFourCC("TWPP");
constexpr const char* kSampleClassID = "com.gyrelle.ui.coloursample";
constexpr int32_t kSample = 4, kOK = 10, kCancel = 11;

constexpr int kAnswerSlots = 8;
uint16_t g_answers[kAnswerSlots][3];
bool g_answerIsColour[kAnswerSlots];
int32_t g_answerCount = 0;
int32_t g_windowsShown = 0;

struct PickerState {
  UiWindow* window;
  bool accepted;
};

UiControl* Item(UiWindow* w, int32_t id) {
  UiControl* c = nullptr;
  UiGetControlByID(w, UiControlID{kSig, id}, &c);
  return c;
}

// The sample's object is a cell holding its control.
UiStatus SampleHandler(UiHandlerCall*, UiEvent* e, void* data) {
  if (UiControlCellObjectEvent(e, data)) return kUiNoErr;
  UiControl* c = *static_cast<UiControl**>(data);
  if (e->eventClass != kUiClassControl || e->kind != kUiControlDraw) return kUiEventNotHandled;
  UiCanvas* cv = nullptr;
  UiGetEventParameter(e, kUiParamContext, kUiTypePointer, sizeof cv, &cv);
  if (!cv || !c->window) return kUiNoErr;
  UiColor colour{0, 0, 0, 255};
  uint8_t* rgb[3] = {&colour.r, &colour.g, &colour.b};
  for (int k = 0; k < 3; ++k)
    if (UiControl* s = Item(c->window, 1 + k)) *rgb[k] = uint8_t(s->value);
  UiFillRect(cv, c->bounds, colour);
  UiStrokeRect(cv, c->bounds, kUiBlack, 1);
  return kUiNoErr;
}

void Redraw(UiControl* slider, int16_t) {
  if (UiControl* sample = Item(slider->window, kSample)) UiInvalidateControl(sample);
}

UiStatus PickerCommand(UiHandlerCall*, UiEvent* e, void* data) {
  auto* st = static_cast<PickerState*>(data);
  UiCommand cmd{};
  if (UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd) != kUiNoErr)
    return kUiEventNotHandled;
  if (cmd.commandID != kUiCommandOK && cmd.commandID != kUiCommandCancel) return kUiEventNotHandled;
  st->accepted = cmd.commandID == kUiCommandOK;
  UiQuitAppModalLoopForWindow(st->window);
  return kUiNoErr;
}

int32_t Byte(uint16_t v) { return int32_t(std::lround(v / 257.0)); }

}  // namespace

void UiQueuePickerAnswer(const uint16_t* colour) {
  if (g_answerCount == kAnswerSlots) return;
  g_answerIsColour[g_answerCount] = colour != nullptr;
  if (colour) std::memcpy(g_answers[g_answerCount], colour, sizeof g_answers[0]);
  ++g_answerCount;
}

int32_t UiQueuedPickerAnswers() { return g_answerCount; }
void UiForgetPickerAnswers() { g_answerCount = 0; }
int32_t UiPickerWindowsShown() { return g_windowsShown; }

bool UiGetColor(const char* prompt, uint16_t colour[3]) {
  if (!colour) return false;
  if (g_answerCount > 0) {
    const bool isColour = g_answerIsColour[0];
    if (isColour) std::memcpy(colour, g_answers[0], sizeof g_answers[0]);
    for (int32_t i = 1; i < g_answerCount; ++i) {
      std::memcpy(g_answers[i - 1], g_answers[i], sizeof g_answers[0]);
      g_answerIsColour[i - 1] = g_answerIsColour[i];
    }
    --g_answerCount;
    return isColour;
  }
  UiViewClass* sampleClass = nullptr;
  const UiEventTypeSpec types[] = {{kUiClassObject, kUiObjectConstruct},
                                   {kUiClassObject, kUiObjectInitialize},
                                   {kUiClassObject, kUiObjectDestruct},
                                   {kUiClassControl, kUiControlDraw}};
  const bool ownClass = !UiFindViewClass(kSampleClassID);
  if (ownClass)
    UiRegisterViewClass(kSampleClassID, kUiBaseViewClassID, int32_t(std::size(types)), types, SampleHandler, nullptr,
                        &sampleClass);
  const UiItemDefinition items[] = {
      {kSig, 20, kUiKindStaticText, 0, {12, 16, 30, 300}, 0, 0, 0, prompt ? prompt : "Choose a color.", nullptr, 0},
      {kSig, 21, kUiKindStaticText, 0, {42, 16, 60, 70}, 0, 0, 0, "Red", nullptr, 0},
      {kSig, 1, kUiKindSlider, MakeFourCC("cpkR"), {40, 72, 62, 232}, Byte(colour[0]), 0, 255, nullptr, nullptr, 0},
      {kSig, 22, kUiKindStaticText, 0, {70, 16, 88, 70}, 0, 0, 0, "Green", nullptr, 0},
      {kSig, 2, kUiKindSlider, MakeFourCC("cpkG"), {68, 72, 90, 232}, Byte(colour[1]), 0, 255, nullptr, nullptr, 0},
      {kSig, 23, kUiKindStaticText, 0, {98, 16, 116, 70}, 0, 0, 0, "Blue", nullptr, 0},
      {kSig, 3, kUiKindSlider, MakeFourCC("cpkB"), {96, 72, 118, 232}, Byte(colour[2]), 0, 255, nullptr, nullptr, 0},
      {kSig, kSample, kUiKindCustom, 0, {40, 244, 118, 304}, 0, 0, 0, nullptr, kSampleClassID, 0},
      {kSig, kCancel, kUiKindPushButton, kUiCommandCancel, {132, 136, 154, 216}, 0, 0, 1, "Cancel", nullptr, 0},
      {kSig, kOK, kUiKindPushButton, kUiCommandOK, {132, 224, 154, 304}, 0, 0, 1, "OK", nullptr, 0},
  };
  const UiWindowDefinition def{"color picker", "Colors", 320, 168, kUiWindowClassMovableModal, 0, items,
                               int32_t(std::size(items))};
  UiWindow* w = UiCreateWindow(&def);
  bool accepted = false;
  if (w) {
    ++g_windowsShown;
    for (int k = 0; k < 3; ++k)
      if (UiControl* s = Item(w, 1 + k)) s->action = Redraw;
    PickerState st{w, false};
    const UiEventTypeSpec cmd[] = {{kUiClassCommand, kUiCommandProcess}};
    UiInstallEventHandler(&w->target, PickerCommand, 1, cmd, &st, nullptr);
    UiShowWindow(w);
    UiSelectWindow(w);
    UiRunAppModalLoopForWindow(w);
    accepted = st.accepted;
    if (accepted)
      for (int k = 0; k < 3; ++k) {
        const UiControl* s = Item(w, 1 + k);
        if (s && s->value != Byte(colour[k])) colour[k] = uint16_t(s->value * 257);
      }
    UiDisposeWindow(w);
  }
  if (ownClass) UiUnregisterViewClass(sampleClass);
  return accepted;
}
