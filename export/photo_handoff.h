// Handing the result to the photo library: the result written as a dated
// layered document into the user's pictures folder, as a photo library
// imports into its own, then handed to the desktop's image viewer. The
// photo application's import script can still be made (HandoffScript), but
// this system has no script component to run it.
#pragma once

#include <cstddef>
#include <cstdint>

struct Globals;

// "from Gyrelle 2 YYYY MM DD hh mm ss.psd" for the given local time.
void HandoffFileName(char* out, size_t outSize, int32_t year, int32_t month, int32_t day, int32_t hour,
                     int32_t minute, int32_t second);
// The import script for the file at `posixPath`.
void HandoffScript(char* out, size_t outSize, const char* posixPath);

// The script's answer, or -50 when no script component exists; with a
// result buffer the error or display text comes back in it.
int32_t LowRunAppleScript(const char* text, uint32_t length, char* resultText, size_t resultBytes);
int32_t SimpleRunAppleScript(const char* text);
// The write's failure, 0 for a cancelled write, or the opener's answer
// (0 opened; the file stays where it was written either way, its path in
// `writtenPath` when given).
int32_t ExportToiPhoto(Globals* globals, char* writtenPath = nullptr, size_t writtenBytes = 0);
// The photo command: for 32-bit float images first the caution that the
// photo application may not read them, then the hand-off. 0 when the file
// was written (opened, or the user told where it is), else the failure.
int32_t ExportToiPhoto_with_warning(Globals* globals);
