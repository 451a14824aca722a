#include "dialog/drag_and_drop.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/memory_dots.h"
#include "dialog/window_services.h"
#include "dialog/zor_reply.h"
#include "export/preset_preview.h"
#include "export/psd/psd_writer.h"
#include "frame/base/file_copy.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "dialog/frame_services.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"

namespace {

// Signatures of the dialog's controls and of the views' properties.
constexpr FourCC kViewCreator = MakeFourCC("TrnK");
constexpr FourCC kItemSig = MakeFourCC("TWPP");

constexpr FourCC kPropGlobals = MakeFourCC("GLOB");
constexpr FourCC kPropReply = MakeFourCC("Zuzr");
constexpr int32_t kCursorCopyArrow = 1, kCursorNotAllowed = 18;
constexpr int32_t kExportKindResult = 3;

// The window's drag tracking: whether the drag in it carries a preset.
uint8_t g_canAccept = 0;

// The first item, from `from` on, with a file flavour; its flavour read.
bool FileItem(UiDrag* drag, int32_t from, UiHFSFlavor* file, uint32_t* size) {
  uint16_t count = 0;
  if (UiCountDragItems(drag, &count) != kUiNoErr) return false;
  for (int32_t i = std::max(from, 1); i <= count; ++i) {
    uint32_t ref = 0;
    if (UiGetDragItemReferenceNumber(drag, uint16_t(i), &ref) != kUiNoErr) return false;
    uint32_t n = sizeof *file;
    *file = UiHFSFlavor{};
    if (UiGetFlavorData(drag, ref, kUiFlavorHFS, file, &n) != kUiNoErr) continue;
    file->path[sizeof file->path - 1] = 0;
    *size = n;
    return true;
  }
  return false;
}

// The flavour holds the whole name.
bool Whole(const UiHFSFlavor& f, uint32_t size) { return kUiHFSFlavorHeader + std::strlen(f.path) + 1 <= size; }

Globals* GlobalsOf(UiControl* c) {
  Globals* g = nullptr;
  if (c) UiGetControlProperty(c, kViewCreator, kPropGlobals, sizeof g, &g);
  return g;
}

void NoteDragFailure(const std::string& what, const std::string& path) {
  const std::string message = "cannot write " + what + " into \"" + path + "\"; nothing was left there";
  UiNoteCommandFailure(message.c_str());
}

}  // namespace

bool IsPresetFile(const char* name, FourCC fileType) {
  if (fileType == kSettingsFileType) return true;
  if (!name) return false;
  char ext[256];
  get_extender_with_dot(ext, sizeof ext, name);
  std::string lower(ext);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(".q2q") != std::string::npos;
}

UiStatus AddDragItemFlavorTypePromiseHFS(UiDrag* drag, uint32_t itemRef, FourCC fileType, FourCC creator,
                                         uint16_t fdFlags, FourCC promised) {
  uint8_t promise[14];
  std::memcpy(promise, &fileType, 4);
  std::memcpy(promise + 4, &creator, 4);
  std::memcpy(promise + 8, &fdFlags, 2);
  std::memcpy(promise + 10, &promised, 4);
  const UiStatus st = UiAddDragItemFlavor(drag, itemRef, kUiFlavorPromiseHFS, promise, sizeof promise, kUiFlavorNotSaved);
  if (st != kUiNoErr) return st;
  return UiAddDragItemFlavor(drag, itemRef, promised, nullptr, 0, kUiFlavorNotSaved);
}

UiStatus PerformDragFromControl(UiControl* control, FourCC fileType, FourCC creator, uint32_t itemRef, int32_t kind) {
  UiDrag* drag = nullptr;
  UiStatus st = UiNewDrag(&drag);
  if (st != kUiNoErr) return st;
  ZorZReply* reply = nullptr;
  UiGetControlProperty(control, kViewCreator, kPropReply, sizeof reply, &reply);
  if (!reply) {
    UiDisposeDrag(drag);
    return kUiNoErr;
  }
  UiSetDragSendProc(drag, reinterpret_cast<UiDragSendDataProc>(reply->dragSendUPP), reply);
  reply->dragKind = kind;
  st = AddDragItemFlavorTypePromiseHFS(drag, itemRef, fileType, creator, 0, kUiFlavorFileSpecPromise);
  if (st == kUiNoErr) st = UiSetDragImageSize(drag, 48, 48);
  if (st == kUiNoErr) st = UiTrackDrag(drag, UiControlOwner(control));
  UiDisposeDrag(drag);
  return st;
}

UiStatus PerformDragFromPSDSender(UiControl* control) {
  return PerformDragFromControl(control, kSettingsFileType, kSettingsFileCreator, kDragItemSettings, kDragKindResult);
}

UiStatus GetDropDirectory_as_ref(UiDrag* drag, FSRef* out) {
  char path[kFSRefPathBytes];
  if (UiGetDropFolder(drag, path, sizeof path) != kUiNoErr) return kUiParamErr;
  bool isFolder = false;
  if (FSPathMakeRef(path, out, &isFolder) != 0 || !isFolder) return kUiParamErr;
  return kUiNoErr;
}

UiStatus MyDragSendData_send_a_file_somewhither_Proc(FourCC, void* replyRef, uint32_t itemRef, UiDrag* drag) {
  auto* reply = static_cast<ZorZReply*>(replyRef);
  FSRef folder{};
  const UiStatus st = GetDropDirectory_as_ref(drag, &folder);
  if (st != kUiNoErr) return st;
  Globals* g = reply ? reply->globals : nullptr;
  if (!g) return kUiParamErr;
  const char* name = reply->dragKind == kDragKindResult ? "Gyrelle 2 image.psd" : "Gyrelle 2 settings.q2q";
  FSRef file{};
  FSSpec spec{};
  if (CreateNewFileRef_noncolliding(&folder, name, &file, &spec) != 0) {
    NoteDragFailure(name, folder.path);
    return kUiNoErr;
  }
  int32_t written = -1;
  switch (reply->dragKind) {
    case kDragKindSettings:
      Build_preview(g);
      written = WriteSettingsFile_ref(g, &file);
      if (written == 0) ApplyOSXIconToPresetFile(&file, g);
      break;
    case kDragKindMemoryDot: {
      FSRef dot{};
      const int32_t shown = g->storage ? g->storage->hoverMemdot : -1;
      if (shown >= 0 && GetMemoryDotsFileRef(&dot, shown, 0) == 0) written = MacCopyFromTo(&dot, &file);
      if (written == 0) ApplyOSXIconToPresetFile(&file, g);
      break;
    }
    case kDragKindResult: {
      if (TParameters* p = Params(g)) p->exportKind = kExportKindResult;
      uint8_t cancelled = 0;
      written = WriteImageFile(g, &file, &cancelled, 2);
      if (cancelled && written == 0) written = -128;
      break;
    }
    default:
      break;
  }
  // A promise that could not be kept leaves no empty or partial file behind.
  if (written != 0) {
    std::remove(file.path);
    if (written != -128) NoteDragFailure(name, folder.path);
    return kUiNoErr;
  }
  UiSetDragItemFlavorData(drag, itemRef, kUiFlavorFileSpecPromise, file.path, uint32_t(std::strlen(file.path) + 1));
  return kUiNoErr;
}

int32_t DragRefContainsAtLeastOnePreset(UiDrag* drag) {
  UiHFSFlavor f{};
  uint32_t size = 0;
  if (!FileItem(drag, 1, &f, &size) || !Whole(f, size)) return 0;
  return IsPresetFile(f.path, f.fileType) ? 1 : 0;
}

int32_t GetNthPresetFileFromDrag(UiDrag* drag, int32_t n, FSRef* out) {
  UiHFSFlavor f{};
  uint32_t size = 0;
  if (!FileItem(drag, n, &f, &size) || !Whole(f, size) || !IsPresetFile(f.path, f.fileType)) return 0;
  if (out) {
    bool isFolder = false;
    if (FSPathMakeRef(f.path, out, &isFolder) != 0 || isFolder) return 0;
  }
  return 1;
}

void HandleDropInMemorywell(UiControl* well, UiDrag* drag) {
  Globals* g = GlobalsOf(well);
  uint16_t count = 0;
  if (!g || UiCountDragItems(drag, &count) != kUiNoErr) return;
  for (int32_t i = 1; i <= count; ++i) {
    const int32_t dot = GetEmptyMemdot(g);
    if (dot == -1) return;
    FSRef preset{}, target{};
    if (!GetNthPresetFileFromDrag(drag, i, &preset)) continue;
    if (GetMemoryDotsFileRef(&target, dot, 1) != 0 || MacCopyFromTo(&preset, &target) != 0) continue;
    AMemdotBecomesFullAndPersistentButNotCurrent(g, UiControlOwner(well), dot);
  }
}

UiStatus MyWindowDragTrackingHandler(int32_t message, UiWindow*, void*, UiDrag* drag) {
  if (message == kUiDragEnterWindow) {
    g_canAccept = uint8_t(DragRefContainsAtLeastOnePreset(drag));
    UiSetThemeCursor(g_canAccept ? kCursorCopyArrow : kCursorNotAllowed);
  } else if (message == kUiDragLeaveWindow) {
    if (g_canAccept) UiSetThemeCursor(kUiCursorArrow);
  }
  return kUiNoErr;
}

UiStatus MyWindowDragReceiveHandler(UiWindow* window, void*, UiDrag* drag) {
  const UiPoint at = UiGetDropPoint(drag);
  if (UiControl* well = GetVarezItem(window, 98); well && UiPointInRect(at, well->bounds)) return kUiNoErr;
  g_canAccept = 0;
  UiHFSFlavor f{};
  uint32_t size = 0;
  if (!FileItem(drag, 1, &f, &size) || !Whole(f, size)) return kUiNoErr;
  if (!IsPresetFile(f.path, f.fileType)) return 1;  // refused: nothing changes
  g_canAccept = 1;
  UiControl* preview = GetVarezItem(window, 18);
  Globals* g = GlobalsOf(preview);
  FSRef file{};
  bool isFolder = false;
  if (!g || FSPathMakeRef(f.path, &file, &isFolder) != 0 || isFolder) return kUiNoErr;
  StandbyCursorForVarezGUI(window, true);
  if (OpenTheDarnPreset(g, &file) != 0) {
    const std::string message = std::string("cannot read the settings file \"") + f.path + "\"; the settings are as they were";
    UiNoteCommandFailure(message.c_str());
  }
  Settings2Controls(g, window, 0);
  MakeNoMemoryDotCurrent(g, window);
  SendControlHasBeenClickedEvent(preview);
  return kUiNoErr;
}

UiStatus InstallMyWindowDragHandlers(UiWindow* window, ZorZReply* reply) {
  if (reply) {
    reply->window = window;
    reply->result = 0;
  }
  return UiInstallWindowDragHandlers(window, MyWindowDragTrackingHandler, MyWindowDragReceiveHandler, reply);
}

void RemoveMyWindowDragHandlers(UiWindow* window) { UiRemoveWindowDragHandlers(window); }
