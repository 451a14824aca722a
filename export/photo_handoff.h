// Handing the result to the photo library application: the result written
// as a dated layered document in the temporary folder, then a script that
// tells the application to import it. This system has no script
// component, so the hand-off ends with that answer and the document stays.
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
// The write's failure, 0 for a cancelled write, the path's failure, or the
// script's answer.
int32_t ExportToiPhoto(Globals* globals);
