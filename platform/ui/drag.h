// Drag and drop inside the layer: a drag holds items, each with flavours
// of typed bytes; tracking it follows the mouse over the windows, offers it
// to the view under the pointer (enter, within, leave, receive) or to the
// window's own drag handlers, and a release outside every window drops it
// into the drop folder (a folder a script names; at a display, the folder
// the person chooses then, since a window of the layer cannot see the
// desktop). Promised flavours are kept by the drag's send-data procedure
// once the drop folder is known.
#pragma once

#include <cstdint>

#include "platform/ui/ui_types.h"

struct UiWindow;
struct UiControl;
struct UiDrag;

constexpr FourCC kUiFlavorHFS = MakeFourCC("hfs ");
constexpr FourCC kUiFlavorPromiseHFS = MakeFourCC("phfs");
constexpr FourCC kUiFlavorFileSpecPromise = MakeFourCC("fssP");
constexpr FourCC kUiFlavorColour = MakeFourCC("colr");
constexpr uint32_t kUiFlavorSenderOnly = 1, kUiFlavorNotSaved = 4;
constexpr UiStatus kUiBadDragRef = -1850, kUiBadDragItem = -1851, kUiBadDragFlavor = -1852,
                   kUiCantGetFlavor = -1853, kUiDuplicateFlavor = -1854;
constexpr int kUiMaxFlavorBytes = 1100;

// What a drag handler of a window is told.
constexpr int32_t kUiDragEnterWindow = 2, kUiDragInWindow = 3, kUiDragLeaveWindow = 4;
using UiDragTrackingProc = UiStatus (*)(int32_t message, UiWindow* window, void* ref, UiDrag* drag);
using UiDragReceiveProc = UiStatus (*)(UiWindow* window, void* ref, UiDrag* drag);
// Asked for the data of a promised flavour once the drop has happened.
using UiDragSendDataProc = UiStatus (*)(FourCC flavor, void* ref, uint32_t itemRef, UiDrag* drag);

UiStatus UiNewDrag(UiDrag** out);
void UiDisposeDrag(UiDrag* drag);
UiStatus UiAddDragItemFlavor(UiDrag* drag, uint32_t itemRef, FourCC flavor, const void* data, uint32_t size,
                             uint32_t flags);
UiStatus UiSetDragItemFlavorData(UiDrag* drag, uint32_t itemRef, FourCC flavor, const void* data, uint32_t size);
UiStatus UiCountDragItems(const UiDrag* drag, uint16_t* count);
// Items count from 1.
UiStatus UiGetDragItemReferenceNumber(const UiDrag* drag, uint16_t index, uint32_t* itemRef);
UiStatus UiCountDragItemFlavors(const UiDrag* drag, uint32_t itemRef, uint16_t* count);
UiStatus UiGetFlavorType(const UiDrag* drag, uint32_t itemRef, uint16_t index, FourCC* flavor);
UiStatus UiGetFlavorDataSize(const UiDrag* drag, uint32_t itemRef, FourCC flavor, uint32_t* size);
// Copies at most *size bytes and reports how many it copied.
UiStatus UiGetFlavorData(const UiDrag* drag, uint32_t itemRef, FourCC flavor, void* data, uint32_t* size);
UiStatus UiSetDragSendProc(UiDrag* drag, UiDragSendDataProc proc, void* ref);
// The picture that follows the pointer (kept for a front end; 0: none).
UiStatus UiSetDragImageSize(UiDrag* drag, int32_t width, int32_t height);
// The drop folder, once dropped outside the windows; kUiParamErr otherwise.
UiStatus UiGetDropFolder(const UiDrag* drag, char* path, int32_t size);
// Where the drop happened, in the coordinates of the window it fell on.
UiPoint UiGetDropPoint(const UiDrag* drag);

// Follows the mouse from the press that started the drag until the release
// and delivers the drop. kUiUserCanceled when it fell nowhere.
UiStatus UiTrackDrag(UiDrag* drag, UiWindow* from);
// Delivers a drag at a point of a window at once (files dropped on a window
// from outside): enter, then receive.
UiStatus UiDeliverDrop(UiDrag* drag, UiWindow* window, UiPoint where);
// A drag of files from outside, one 'hfs ' item a path.
UiStatus UiDropFiles(UiWindow* window, UiPoint where, const char* const* paths, int32_t count);

// The 'hfs ' flavour of this platform: type, creator, Finder flags, then
// the file's absolute path, NUL-terminated.
struct UiHFSFlavor {
  FourCC fileType, fileCreator;
  uint16_t fdFlags;
  char path[1024];
};
constexpr uint32_t kUiHFSFlavorHeader = 10;

// Where a release outside the windows lands; empty: nowhere.
void UiSetDropFolder(const char* path);
const char* UiDropFolder();

UiStatus UiInstallWindowDragHandlers(UiWindow* window, UiDragTrackingProc tracking, UiDragReceiveProc receive, void* ref);
void UiRemoveWindowDragHandlers(UiWindow* window);

// A drag tracked from a press: true when the pointer moved by the drag
// threshold (3 pixels) before the release, false when it was let go first.
bool UiWaitMouseMoved(UiWindow* window, UiPoint start);
// The drags made and disposed (tests check nothing leaks).
int32_t UiLiveDragCount();
// A number no other drag of the process had: a drag made where a disposed
// one lived is still told apart from it.
uint32_t UiDragSerial(const UiDrag* drag);
