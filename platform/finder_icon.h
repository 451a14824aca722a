// A file's custom icon, kept where the desktop's file managers look for
// one: the shared thumbnail store of the freedesktop.org standard, a PNG of
// 128 x 128 under $XDG_CACHE_HOME/thumbnails/normal/ (else
// ~/.cache/thumbnails/normal/), named by the MD5 of the file's file:// URI
// and carrying that URI and the file's modification time, by which a file
// manager knows the icon is of this file as it now stands. Script
// components are a service this platform does not have.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files.h"

// Stores the icon of an 'icns' family (one 128 x 128 32-bit image and its
// 8-bit mask) for `file`. `shownAs`, when given, is the name the file will
// have once put in place (a temporary renamed over its target keeps its
// time and size), else the file's own. 0, or why no icon was stored; the
// file itself is never touched, and nothing is left outside the store.
int16_t PlatformStoreCustomIcon(const FSRef* file, const uint8_t* icns, uint32_t length,
                                const FSRef* shownAs = nullptr);

// The pieces of the store, for its tests and the file manager's view.
// "file://" and the absolute path, every byte outside the path's safe set
// as %XX (upper-case hex): blanks, non-ASCII bytes, '%', '#', '?'...
bool ThumbnailURIOfPath(const char* path, char* uri, size_t uriBytes);
// The folder of the normal-size thumbnails; false when neither
// XDG_CACHE_HOME (absolute) nor HOME says where the cache is.
bool ThumbnailFolder(char* folder, size_t folderBytes);
// The thumbnail's path for a file path: the folder, the URI's MD5, ".png".
bool ThumbnailPathOf(const char* path, char* thumbnail, size_t thumbnailBytes);

// No script component is installed.
constexpr int32_t kNoScriptComponent = -50;
int32_t PlatformRunScript(const char* text, uint32_t length, char* resultText, size_t resultBytes);
