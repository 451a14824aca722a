// Opening a file or a web address with the program the desktop chooses for
// it (its default browser, image viewer...), and the folder where the
// desktop keeps the user's pictures.
#pragma once

#include <cstddef>
#include <cstdint>

// There is no desktop to open things with: no display, or no xdg-open on
// the PATH.
constexpr int32_t kNoDesktopOpener = -1;
// The opener exists but could not be started.
constexpr int32_t kOpenerNotStarted = -2;

// Hands the file path or URL to the desktop's opener and returns at once
// (the opener and the program it starts run on their own). 0 once the
// opener has started, else one of the codes above.
int32_t PlatformOpenWithDesktop(const char* fileOrURL);

// Puts `opener` in the place of the desktop's for every later open, so that
// a test sees what would have been opened and answers for the desktop;
// null puts the desktop's back.
using PlatformOpener = int32_t (*)(const char* fileOrURL);
void PlatformReplaceOpener(PlatformOpener opener);

// The user's pictures folder: XDG_PICTURES_DIR of the user-dirs file (in
// $XDG_CONFIG_HOME, else ~/.config), else ~/Pictures; made when missing.
// False when there is no home to put it in or it cannot be made.
bool PlatformPicturesFolder(char* folder, size_t folderBytes);
