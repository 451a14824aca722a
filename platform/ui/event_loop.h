// The event loop: a queue of posted events, timers on a clock (virtual in
// tests and scripted runs, the system's otherwise), re-entrant app-modal
// loops, and user input from a source (a dialog script or a real window's
// front end) turned into mouse, key and text events and control tracking.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"
#include "platform/ui/ui_types.h"

struct UiWindow;
struct UiControl;

UiTarget* UiApplicationTarget();

// ---- clock and timers ----
// Milliseconds since the layer started (virtual: only UiAdvanceClock moves it).
double UiNow();
void UiUseVirtualClock(bool useVirtual);
bool UiClockIsVirtual();
// Moves the virtual clock on, firing every timer that falls due on the way, in order.
void UiAdvanceClock(double ms);

struct UiTimer;
using UiTimerProc = void (*)(UiTimer* timer, void* userData);
constexpr double kUiForever = -1.0;  // seconds: the timer never fires (again)
// Delays and intervals in seconds; kUiForever (any negative) for never.
UiStatus UiInstallTimer(double delay, double interval, UiTimerProc proc, void* userData, UiTimer** out);
UiStatus UiSetTimerNextFireTime(UiTimer* timer, double delay);
UiStatus UiRemoveTimer(UiTimer* timer);
int32_t UiLiveTimerCount();

// ---- queue ----
// Posted events wait for the loop; sent ones run at once.
UiStatus UiPostEvent(const UiEvent* event, UiTarget* target);
int32_t UiQueuedEventCount();

// ---- input ----
enum UiInputType : int32_t {
  kUiInputNothing = 0,  // the source did something of its own; ask again
  kUiInputMouseDown,
  kUiInputMouseUp,
  kUiInputMouseMove,
  kUiInputKey,   // key: one of the kUiKey codes
  kUiInputText,  // text: Mac Roman characters typed
  kUiInputWheel,
  kUiInputEnd,       // the source has no more input, ever
  kUiInputDropFile,  // path: a file let go over the window at `where`
  kUiInputResize,    // the person resized the window: `where` holds its new width and height
};

constexpr int32_t kUiKeyReturn = 13;
constexpr int32_t kUiKeyEscape = 27;
constexpr int32_t kUiKeyBackspace = 8;
constexpr int32_t kUiKeyTab = 9;
constexpr int32_t kUiKeyUp = 30;
constexpr int32_t kUiKeyDown = 31;
constexpr int32_t kUiKeyLeft = 28;
constexpr int32_t kUiKeyRight = 29;
constexpr int32_t kUiKeyHome = 1;
constexpr int32_t kUiKeyEnd = 4;
constexpr int32_t kUiKeyPageUp = 11;
constexpr int32_t kUiKeyPageDown = 12;
constexpr int32_t kUiKeyDelete = 127;  // forward delete
// With the control or command modifier, a letter key comes as a key whose
// code is the lower-case letter ('a' select all, 'c' copy, 'x' cut, 'v' paste).

struct UiInput {
  UiInputType type;
  UiWindow* window;  // null: the front window
  UiPoint where;     // window coordinates
  uint32_t modifiers;
  int32_t key;
  int32_t wheel;
  char text[32];
  const char* path;  // kUiInputDropFile: valid until the next input is asked for
};

// Where input comes from, and where windows are shown. `next` waits at most
// `waitMs` (negative: as long as it takes) and answers false when nothing came.
struct UiFrontEnd {
  void* self;
  bool (*next)(void* self, UiInput* out, double waitMs);
  void (*windowChanged)(void* self, UiWindow* window);  // shown, hidden, moved, redrawn
  void (*windowGone)(void* self, UiWindow* window);
  void (*cursorChanged)(void* self, int32_t cursor);
  // A person is at the other end: a question nobody answered in advance
  // (a file chooser) is asked in a window rather than taken as cancelled.
  bool interactive;
  // The display's clipboard (UTF-8 there, Mac Roman here); null: the layer
  // keeps one of its own.
  bool (*setClipboard)(void* self, const char* text) = nullptr;
  bool (*getClipboard)(void* self, char* text, int32_t size) = nullptr;
};
void UiSetFrontEnd(const UiFrontEnd* frontEnd);  // null: no input at all
const UiFrontEnd* UiGetFrontEnd();

// ---- loops ----
// Runs until UiQuitAppModalLoopForWindow; nested calls for other windows
// run inside. Windows other than the modal one (and its sheets) take no input.
UiStatus UiRunAppModalLoopForWindow(UiWindow* window);
UiStatus UiQuitAppModalLoopForWindow(UiWindow* window);
UiStatus UiBeginAppModalStateForWindow(UiWindow* window);
UiStatus UiEndAppModalStateForWindow(UiWindow* window);
int32_t UiModalDepth();
// Handles what is queued, due or waiting as input, without waiting; long
// work calls it so that a progress window's Cancel is seen.
void UiPumpEvents();

// ---- mouse state and tracking ----
// Inside a tracking loop: the next mouse event for the window (waiting for
// it). False when the source ended (taken as a release).
bool UiTrackMouseLocation(UiWindow* window, UiPoint* where, bool* released);
bool UiStillDown();
UiPoint UiLastMouse(UiWindow** window);
uint32_t UiCurrentModifiers();

// ---- clipboard: the front end's when it has one, else the layer's own ----
void UiSetClipboardText(const char* text);
// The clipboard's text (cut to `size`); empty when it holds none.
void UiGetClipboardText(char* text, int32_t size);

// ---- cursors and beeps (recorded, and shown by a real front end) ----
void UiSetThemeCursor(int32_t cursor);
int32_t UiCurrentCursor();
void UiBeep();
int32_t UiBeepCount();

// Hooks of window.cpp and control_track.cpp.
void UiFrontEndWindowChanged(UiWindow* window);
void UiWindowWillGo(UiWindow* window);
UiStatus UiStandardWindowHandler(UiHandlerCall* call, UiEvent* event, void* window);
UiStatus UiStandardControlHandler(UiHandlerCall* call, UiEvent* event, void* control);
void UiDispatchInput(const UiInput& input);
// Sends a process-command event from a control (attributes: from a control).
UiStatus UiSendControlCommand(UiControl* control, uint32_t modifiers);
// Returns the layer to its first state (tests); windows must be gone.
void UiResetForTests();
// Whether a window may take input while modal windows are up.
bool UiWindowTakesInput(const UiWindow* window);
void UiNoteMouse(UiWindow* window, UiPoint where, bool down, uint32_t modifiers);
