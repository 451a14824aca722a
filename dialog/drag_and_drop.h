// Files in and out of the dialog by drag and drop. Out: the settings, the
// memory dot the well shows and the result as a layered file go out as
// promised files, written only once the drop folder is known. In: a
// settings file dropped on the window is loaded, settings files dropped on
// the memory well fill empty dots.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/plugin_api.h"
#include "platform/ui/ui_types.h"

struct UiControl;
struct UiDrag;
struct UiWindow;
struct ZorZReply;

constexpr FourCC kSettingsFileType = MakeFourCC("Wq2q");
constexpr FourCC kSettingsFileCreator = 0x53406EB6;
constexpr uint32_t kDragItemSettings = 392, kDragItemMemoryDot = 393;
constexpr int32_t kDragKindSettings = 1, kDragKindMemoryDot = 2, kDragKindResult = 3;

// A file's name (or path) and type make a preset: the settings type, or an
// extension containing ".q2q" in any case.
bool IsPresetFile(const char* name, FourCC fileType);

UiStatus AddDragItemFlavorTypePromiseHFS(UiDrag* drag, uint32_t itemRef, FourCC fileType, FourCC creator,
                                         uint16_t fdFlags, FourCC promised);
// A promised-file drag from a control of the main window (its reply record
// is the control's 'Zuzr' property); 0 without one.
UiStatus PerformDragFromControl(UiControl* control, FourCC fileType, FourCC creator, uint32_t itemRef, int32_t kind);
UiStatus PerformDragFromPSDSender(UiControl* control);
UiStatus MyDragSendData_send_a_file_somewhither_Proc(FourCC flavor, void* reply, uint32_t itemRef, UiDrag* drag);
UiStatus GetDropDirectory_as_ref(UiDrag* drag, FSRef* out);

UiStatus InstallMyWindowDragHandlers(UiWindow* window, ZorZReply* reply);
void RemoveMyWindowDragHandlers(UiWindow* window);
UiStatus MyWindowDragTrackingHandler(int32_t message, UiWindow* window, void* reply, UiDrag* drag);
UiStatus MyWindowDragReceiveHandler(UiWindow* window, void* reply, UiDrag* drag);

int32_t DragRefContainsAtLeastOnePreset(UiDrag* drag);
// From item max(n, 1) on, the first item with a file: 1 when it is a preset.
int32_t GetNthPresetFileFromDrag(UiDrag* drag, int32_t n, FSRef* out);
void HandleDropInMemorywell(UiControl* well, UiDrag* drag);
