// Window-level services of the dialog: its bundle, nib alerts and the
// standard caution alert, the export progress window, the hand cursors
// over the preview, the window handlers that follow a resize, and the
// properties that carry Globals and the reply record on controls.
#pragma once

#include <cstdint>

#include "export/export_services.h"
#include "platform/ui/events.h"

struct Globals;
struct UiControl;
struct ZorZReply;

// The bundle: the window definitions and icon files; null when missing.
void* CreateTWBundle();
void ReleaseTWBundle(void* bundle);
// An icon of the bundle by name; 0 when it has none.
FourCC CreateIconRef_from_my_bundle(const char* name, FourCC iconType);
void PutIconRefOnSomething(void* window, void* bundle, int16_t item, const char* name, FourCC iconType, uint8_t keep,
                           int16_t menuItem, int32_t target);
void DoGUIExperiments(void* window, void* bundle);

bool CursorInVarezItem(void* window, int16_t item);
void StandbyCursorForVarezGUI_core(void* window, bool busy, void* ignored);
void StandbyCursorForVarezGUI(void* window, bool busy);
UiStatus ProxyCursorWindowEventHandler(UiHandlerCall* call, UiEvent* event, void* reply);
UiStatus ProxyResizeWindowEventHandler(UiHandlerCall* call, UiEvent* event, void* reply);
void InstallProxyCursorWindowEventHandler(void* window, ZorZReply* reply);
void InstallProxyResizeWindowEventHandler(void* window, ZorZReply* reply);

void FetchGlobalsFromControl(UiControl* control, Globals** out);
void FetchZUserdataFromControl(UiControl* control, ZorZReply** out);
// Posts the control's command to its window; 935 for a null control.
int32_t SendControlHasBeenClickedEvent(UiControl* control);
