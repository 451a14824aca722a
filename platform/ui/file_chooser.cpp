#include "platform/ui/file_chooser.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/event_loop.h"
#include "platform/ui/services.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr FourCC kSig = MakeFourCC("TWPP");
constexpr const char* kListClassID = "com.gyrelle.ui.filelist";
constexpr int32_t kItemMessage = 1, kItemFolder = 2, kItemList = 3;
constexpr FourCC kCmdUp = MakeFourCC("fcUp"), kCmdPageUp = MakeFourCC("fcPU"), kCmdPageDown = MakeFourCC("fcPD");

std::string g_lastFolder;
std::string g_homeFolder;
std::vector<std::string> g_hostAnswers;
size_t g_hostNext = 0;
std::vector<std::string> g_hostWaiting;  // given to the next choosers, first first

struct Entry {
  std::string name;
  bool isFolder;
};

struct Chooser {
  UiChooserRequest request;
  UiWindow* window = nullptr;
  std::string folder;
  std::vector<Entry> entries;
  int32_t selected = -1;
  int32_t scroll = 0;
  bool accepted = false;
  std::string chosen;
};

Chooser* g_chooser = nullptr;  // the one shown: choosers are modal

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string Parent(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return folder.substr(0, slash);
}

UiControl* Item(UiWindow* w, int32_t id) {
  UiControl* c = nullptr;
  UiGetControlByID(w, UiControlID{kSig, id}, &c);
  return c;
}

void List(Chooser* ch) {
  ch->entries.clear();
  ch->selected = -1;
  ch->scroll = 0;
  if (DIR* d = ::opendir(ch->folder.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name.empty() || name[0] == '.') continue;  // hidden files and the folder's own links
      const bool folder = IsFolder(Join(ch->folder, name));
      if (!folder && ch->request.mode == kUiChooseFolder) continue;
      if (ch->request.filter && !ch->request.filter(name.c_str(), folder, ch->request.filterData)) continue;
      ch->entries.push_back(Entry{name, folder});
    }
    ::closedir(d);
  }
  std::sort(ch->entries.begin(), ch->entries.end(), [](const Entry& a, const Entry& b) {
    return a.isFolder != b.isFolder ? a.isFolder : a.name < b.name;
  });
  if (ch->window) {
    UiSetControlTitle(Item(ch->window, kItemFolder), ch->folder.c_str());
    UiInvalidateWindow(ch->window);
  }
}

void Enter(Chooser* ch, const std::string& folder) {
  ch->folder = folder;
  g_lastFolder = folder;
  List(ch);
}

// A typed name may be a whole path, a path from the folder shown, or a name.
std::string Resolve(const Chooser* ch, const std::string& typed) {
  if (typed.empty()) return "";
  return typed[0] == '/' ? typed : Join(ch->folder, typed);
}

UiStatus ConfirmCommand(UiHandlerCall*, UiEvent* e, void* data) {
  auto* answer = static_cast<std::pair<UiWindow*, bool>*>(data);
  UiCommand cmd{};
  if (UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd) != kUiNoErr)
    return kUiEventNotHandled;
  if (cmd.commandID != kUiCommandOK && cmd.commandID != kUiCommandCancel) return kUiEventNotHandled;
  answer->second = cmd.commandID == kUiCommandOK;
  UiQuitAppModalLoopForWindow(answer->first);
  return kUiNoErr;
}

// Saving over a file that exists is asked about first ("replace": Replace
// is item 1, Cancel item 2); Cancel goes back to the chooser.
bool ConfirmReplace(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string line = "\"" + name.substr(0, 48) + "\" already exists.";
  const UiItemDefinition items[] = {
      {kSig, 3, kUiKindStaticText, 0, {16, 20, 34, 380}, 0, 0, 0, line.c_str(), nullptr, 0},
      {kSig, 4, kUiKindStaticText, 0, {36, 20, 54, 380}, 0, 0, 0, "Replace it? Its contents will be lost.", nullptr, 0},
      {kSig, 2, kUiKindPushButton, kUiCommandCancel, {72, 200, 94, 280}, 0, 0, 1, "Cancel", nullptr, 0},
      {kSig, 1, kUiKindPushButton, kUiCommandOK, {72, 290, 94, 380}, 0, 0, 1, "Replace", nullptr, 0},
  };
  const UiWindowDefinition def{"replace", "", 400, 108, kUiWindowClassAlert, 0, items, int32_t(std::size(items))};
  UiWindow* w = UiCreateWindow(&def);
  if (!w) return false;
  std::pair<UiWindow*, bool> answer{w, false};
  const UiEventTypeSpec cmd[] = {{kUiClassCommand, kUiCommandProcess}};
  UiInstallEventHandler(&w->target, ConfirmCommand, 1, cmd, &answer, nullptr);
  UiShowWindow(w);
  UiSelectWindow(w);
  UiRunAppModalLoopForWindow(w);
  UiDisposeWindow(w);
  return answer.second;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

void Accept(Chooser* ch) {
  UiControl* nameField = Item(ch->window, kUiChooserItemName);
  const std::string typed = nameField ? nameField->title : "";
  std::string path;
  switch (ch->request.mode) {
    case kUiPutFile:
      path = Resolve(ch, typed);
      if (path.empty() || IsFolder(path)) {
        if (!path.empty()) Enter(ch, path);
        UiBeep();
        return;
      }
      if (Exists(path) && !ConfirmReplace(path)) return;
      break;
    case kUiChooseFolder:
      path = !typed.empty() ? Resolve(ch, typed)
             : ch->selected >= 0 ? Join(ch->folder, ch->entries[size_t(ch->selected)].name)
                                 : ch->folder;
      if (!IsFolder(path)) {
        UiBeep();
        return;
      }
      break;
    case kUiChooseFile:
      path = !typed.empty() ? Resolve(ch, typed)
             : ch->selected >= 0 ? Join(ch->folder, ch->entries[size_t(ch->selected)].name)
                                 : "";
      if (path.empty()) {
        UiBeep();
        return;
      }
      if (IsFolder(path)) {
        Enter(ch, path);
        return;
      }
      break;
  }
  ch->accepted = true;
  ch->chosen = path;
  UiQuitAppModalLoopForWindow(ch->window);
}

// A press on a row: a folder opens, a file is selected (its name goes into
// the field when saving, so that it can be replaced).
void PressRow(Chooser* ch, int32_t row) {
  const int32_t index = ch->scroll + row;
  if (index < 0 || index >= int32_t(ch->entries.size())) return;
  const Entry& e = ch->entries[size_t(index)];
  if (e.isFolder && ch->request.mode != kUiChooseFolder) {
    Enter(ch, Join(ch->folder, e.name));
    return;
  }
  if (e.isFolder && ch->selected == index) {  // a second press opens the chosen folder
    Enter(ch, Join(ch->folder, e.name));
    return;
  }
  if (!e.isFolder && ch->selected == index) {  // a second press takes the chosen file, as OK would
    if (ch->request.mode == kUiChooseFile) UiSetControlTitle(Item(ch->window, kUiChooserItemName), "");
    Accept(ch);
    return;
  }
  ch->selected = index;
  if (ch->request.mode == kUiPutFile && !e.isFolder) UiSetControlTitle(Item(ch->window, kUiChooserItemName), e.name.c_str());
  UiInvalidateWindow(ch->window);
}

UiStatus ListHandler(UiHandlerCall*, UiEvent* e, void* data) {
  if (UiControlCellObjectEvent(e, data)) return kUiNoErr;
  UiControl* c = *static_cast<UiControl**>(data);
  Chooser* ch = g_chooser;
  if (e->eventClass != kUiClassControl || !ch) return kUiEventNotHandled;
  if (e->kind == kUiControlDraw) {
    UiCanvas* cv = nullptr;
    UiGetEventParameter(e, kUiParamContext, kUiTypePointer, sizeof cv, &cv);
    if (!cv) return kUiNoErr;
    const Rect& b = c->bounds;
    UiFillRect(cv, b, kUiWhite);
    UiStrokeRect(cv, b, UiColor{120, 120, 120, 255}, 1);
    for (int32_t row = 0; row < kUiChooserRows; ++row) {
      const int32_t index = ch->scroll + row;
      if (index >= int32_t(ch->entries.size())) break;
      const Entry& en = ch->entries[size_t(index)];
      const int16_t top = int16_t(b.top + 1 + row * kUiChooserRowHeight);
      const Rect line{top, int16_t(b.left + 1), int16_t(top + kUiChooserRowHeight), int16_t(b.right - 1)};
      if (index == ch->selected) UiFillRect(cv, line, UiColor{170, 190, 220, 255});
      const std::string label = en.isFolder ? en.name + "/" : en.name;
      UiDrawText(cv, b.left + 6, top + 12, label.c_str(), en.isFolder ? UiColor{40, 70, 140, 255} : kUiBlack);
    }
    return kUiNoErr;
  }
  if (e->kind == kUiControlTrack) {
    UiPoint local{0, 0};
    UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof local, &local);
    // The press acts at once; the release is awaited so it does not act again.
    PressRow(ch, int32_t(local.y - 1) / kUiChooserRowHeight);
    bool released = !UiStillDown();
    UiPoint at{};
    while (!released && UiTrackMouseLocation(c->window, &at, &released)) {
    }
    const int16_t part = 0;
    UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
    return kUiNoErr;
  }
  return kUiEventNotHandled;
}

UiStatus ChooserCommand(UiHandlerCall*, UiEvent* e, void* data) {
  auto* ch = static_cast<Chooser*>(data);
  UiCommand cmd{};
  if (UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd) != kUiNoErr)
    return kUiEventNotHandled;
  const int32_t page = kUiChooserRows - 1;
  const int32_t last = std::max(0, int32_t(ch->entries.size()) - kUiChooserRows);
  if (cmd.commandID == kUiCommandOK) {
    Accept(ch);
  } else if (cmd.commandID == kUiCommandCancel) {
    UiQuitAppModalLoopForWindow(ch->window);
  } else if (cmd.commandID == kCmdUp) {
    Enter(ch, Parent(ch->folder));
  } else if (cmd.commandID == kCmdPageUp) {
    ch->scroll = std::max(0, ch->scroll - page);
    UiInvalidateWindow(ch->window);
  } else if (cmd.commandID == kCmdPageDown) {
    ch->scroll = std::min(last, ch->scroll + page);
    UiInvalidateWindow(ch->window);
  } else {
    return kUiEventNotHandled;
  }
  return kUiNoErr;
}

bool RunWindow(const UiChooserRequest& request, std::string* out) {
  Chooser ch;
  ch.request = request;
  std::string start = request.startFolder && *request.startFolder ? request.startFolder : g_lastFolder;
  if (start.empty() || !IsFolder(start)) start = g_homeFolder;
  if (start.empty() || !IsFolder(start)) {
    char cwd[1024];
    start = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
  }
  UiViewClass* listClass = nullptr;
  const UiEventTypeSpec types[] = {{kUiClassObject, kUiObjectConstruct},
                                   {kUiClassObject, kUiObjectInitialize},
                                   {kUiClassObject, kUiObjectDestruct},
                                   {kUiClassControl, kUiControlDraw},
                                   {kUiClassControl, kUiControlTrack}};
  const bool ownClass = !UiFindViewClass(kListClassID);
  if (ownClass)
    UiRegisterViewClass(kListClassID, kUiBaseViewClassID, int32_t(std::size(types)), types, ListHandler, nullptr,
                        &listClass);
  const char* okTitle = request.mode == kUiPutFile ? "Save" : request.mode == kUiChooseFolder ? "Choose" : "Open";
  const int16_t listBottom = int16_t(kUiChooserListTop + 2 + kUiChooserRows * kUiChooserRowHeight);
  const UiItemDefinition items[] = {
      {kSig, kItemMessage, kUiKindStaticText, 0, {8, 12, 26, 468}, 0, 0, 0, request.message ? request.message : "", nullptr, 0},
      {kSig, kUiChooserItemUp, kUiKindPushButton, kCmdUp, {30, 12, 50, 62}, 0, 0, 1, "Up", nullptr, 0},
      {kSig, kItemFolder, kUiKindStaticText, 0, {32, 70, 50, 468}, 0, 0, 0, "", nullptr, 0},
      {kSig, kItemList, kUiKindCustom, 0, {kUiChooserListTop, 12, listBottom, 430}, 0, 0, 0, nullptr, kListClassID, 0},
      {kSig, kUiChooserItemPageUp, kUiKindPushButton, kCmdPageUp, {kUiChooserListTop, 436, int16_t(kUiChooserListTop + 24), 468}, 0, 0, 1, "^", nullptr, 0},
      {kSig, kUiChooserItemPageDown, kUiKindPushButton, kCmdPageDown, {int16_t(listBottom - 24), 436, listBottom, 468}, 0, 0, 1, "v", nullptr, 0},
      {kSig, 10, kUiKindStaticText, 0, {int16_t(listBottom + 10), 12, int16_t(listBottom + 28), 62}, 0, 0, 0, "Name", nullptr, 0},
      {kSig, kUiChooserItemName, kUiKindEditText, 0, {int16_t(listBottom + 8), 66, int16_t(listBottom + 30), 468}, 0, 0, 0,
       request.mode == kUiPutFile && request.defaultName ? request.defaultName : "", nullptr, 0},
      {kSig, kUiChooserItemCancel, kUiKindPushButton, kUiCommandCancel, {int16_t(listBottom + 42), 296, int16_t(listBottom + 64), 376}, 0, 0, 1, "Cancel", nullptr, 0},
      {kSig, kUiChooserItemOK, kUiKindPushButton, kUiCommandOK, {int16_t(listBottom + 42), 388, int16_t(listBottom + 64), 468}, 0, 0, 1, okTitle, nullptr, 0},
  };
  const UiWindowDefinition def{"chooser", okTitle, 480, int16_t(listBottom + 76), kUiWindowClassMovableModal, 0, items,
                               int32_t(std::size(items))};
  Chooser* outer = g_chooser;
  g_chooser = &ch;
  ch.window = UiCreateWindow(&def);
  if (ch.window) {
    Enter(&ch, start);
    const UiEventTypeSpec cmd[] = {{kUiClassCommand, kUiCommandProcess}};
    UiInstallEventHandler(&ch.window->target, ChooserCommand, 1, cmd, &ch, nullptr);
    if (request.mode == kUiPutFile) UiSetKeyboardFocus(ch.window, Item(ch.window, kUiChooserItemName));
    UiShowWindow(ch.window);
    UiSelectWindow(ch.window);
    UiRunAppModalLoopForWindow(ch.window);
    UiDisposeWindow(ch.window);
  }
  g_chooser = outer;
  if (ownClass) UiUnregisterViewClass(listClass);
  if (ch.accepted) *out = ch.chosen;
  return ch.accepted;
}

}  // namespace

namespace {

void Refuse(const std::string& message) { UiNoteCommandFailure(message.c_str()); }

// Every answer, however it came, is checked the same way before the caller
// sees it.
bool Deliver(const UiChooserRequest& request, const std::string& chosen, char* path, int32_t size) {
  if (request.mode == kUiPutFile && IsFolder(chosen)) {
    Refuse("cannot save as \"" + chosen + "\": it is a folder, and a folder is never replaced; nothing was written");
    return false;
  }
  if (!path || size <= 0 || chosen.size() >= size_t(size)) {
    Refuse("cannot use \"" + chosen + "\": the path is longer than " + std::to_string(size > 0 ? size - 1 : 0) +
           " bytes");
    return false;
  }
  std::memcpy(path, chosen.c_str(), chosen.size() + 1);
  if (!chosen.empty() && chosen[0] == '/') g_lastFolder = request.mode == kUiChooseFolder ? chosen : Parent(chosen);
  return true;
}

}  // namespace

void UiSetHostChooserAnswers(const char* const* paths) {
  g_hostAnswers.clear();
  g_hostWaiting.clear();
  g_hostNext = 0;
  for (; paths && *paths; ++paths) g_hostAnswers.emplace_back(*paths);
}

bool UiQueueHostChooserAnswer() {
  if (g_hostNext >= g_hostAnswers.size()) return false;
  g_hostWaiting.push_back(g_hostAnswers[g_hostNext++]);
  return true;
}

void UiSetChooserHomeFolder(const char* folder) { g_homeFolder = folder ? folder : ""; }

bool UiRunFileChooser(const UiChooserRequest& request, char* path, int32_t size) {
  if (!g_hostWaiting.empty()) {
    const std::string chosen = g_hostWaiting.front();
    g_hostWaiting.erase(g_hostWaiting.begin());
    return Deliver(request, chosen, path, size);
  }
  const UiChooserAnswerKind waiting = UiPeekChooserAnswer();
  if (waiting == kUiChooserPath || waiting == kUiChooserCancel) {
    char answer[1024];
    if (!UiTakeChooserAnswer(answer, int32_t(sizeof answer))) return false;
    return Deliver(request, answer, path, size);
  }
  const UiFrontEnd* fe = UiGetFrontEnd();
  if (waiting == kUiChooserWindow) {
    UiTakeChooserAnswer(nullptr, 0);
  } else if (!fe || !fe->interactive) {
    return false;  // nobody to ask: as if cancelled
  }
  std::string chosen;
  if (!RunWindow(request, &chosen)) return false;
  return Deliver(request, chosen, path, size);
}
