// dialog/: the preview dialog: its run, items, menus, memory dots, file choosers and drag and drop.
// The parameter dialog's run: set-up of the window, the first preview, the
// app-modal loop, teardown and the outcome; the one command handler every
// window of the dialog shares; reading the controls and re-rendering.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

struct Globals;
struct ZorZReply;

// Window kinds of the reply records.
constexpr int32_t kWindowKindMain = 0;
constexpr int32_t kWindowKindSizedSheet = 2;
constexpr int32_t kWindowKindBrickSheet = 3;
constexpr int32_t kWindowKindAboutSheet = 4;
constexpr int32_t kWindowKindNibAlert = 6;
constexpr int32_t kWindowKindProgress = 8;
constexpr int32_t kWindowKindCubeSheet = 9;
constexpr int32_t kWindowKindPolyhedronSheet = 10;

void PerformMacGUIVarezSetup(void* window, Globals* globals, void* ignored, ZorZReply* reply, void* bundle);
void InstallOKCancelWindowEventHandler(void* window, ZorZReply* reply, int32_t windowKind);
UiStatus OKCancelWindowEventHandler(UiHandlerCall* call, UiEvent* event, void* reply);
void MacGrabParmsDoPreview(Globals* globals, void* window, int16_t* item, uint8_t* refresh);
void SendPleaseRedoPreviewEvent(void* window);

// The seven view classes of the dialog, registered while it runs.
void RegisterDialogViewClasses();
void UnregisterDialogViewClasses();
