// The file chooser of the layer: a window listing a folder (folders first,
// then the files the filter lets through), a field for the name of a file
// to save, and OK and Cancel. An answer queued in advance (a script's
// "chooser" step) is taken without a window; with nobody to ask (a script
// that queued nothing) the chooser counts as cancelled.
#pragma once

#include <cstdint>

enum UiChooserMode : int32_t { kUiChooseFile = 0, kUiChooseFolder, kUiPutFile };

using UiChooserFilter = bool (*)(const char* name, bool isFolder, void* data);

struct UiChooserRequest {
  UiChooserMode mode;
  const char* message;      // the line at the top; null: none
  const char* defaultName;  // put-file: the name proposed
  UiChooserFilter filter;   // null: every file shows
  void* filterData;
  const char* startFolder;  // null: the last folder used, else the image's, else the working folder
};

// True with the chosen path (a file, a folder, or the file to save). An
// answer that does not fit `size` is refused, never cut; a folder given as
// the file to save is refused (a folder is never replaced). Both count as a
// failed command.
bool UiRunFileChooser(const UiChooserRequest& request, char* path, int32_t size);

// Answers a host hands over as data (a list ended by null), so that no byte
// of a file name is ever read as a step. Each "chooser-answer" step of a
// script makes the next of them the answer to the next chooser; false when
// none is left.
void UiSetHostChooserAnswers(const char* const* paths);
bool UiQueueHostChooserAnswer();
// Where the window opens when the caller names no folder and none was used
// yet in this session: the image's folder (null or empty: the working
// folder). After that it opens in the last folder used.
void UiSetChooserHomeFolder(const char* folder);

// A press on a folder's row opens it (choosing a folder: selects it, a
// second press opens it); a press on a file's row selects it, a second
// press takes it.
// Window layout, for scripts and tests: list rows from the top.
constexpr int32_t kUiChooserListTop = 56, kUiChooserRowHeight = 16, kUiChooserRows = 14;
constexpr int32_t kUiChooserItemName = 4, kUiChooserItemOK = 8, kUiChooserItemCancel = 9, kUiChooserItemUp = 5,
                  kUiChooserItemPageUp = 6, kUiChooserItemPageDown = 7;
