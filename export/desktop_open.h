// Handing a written file to the program the desktop opens it with, and
// saying where the file is when there is none.
#pragma once

#include <cstdint>

// 0 when the desktop's opener took the file (a UTF-8 path). Else the file
// stays where it is and the user is told, with `title` and the path: in an
// alert when a person is at the dialog, on the message stream in a
// scripted or windowless run (whose later steps must not be held up by a
// window nobody answers). Answers the opener's code then.
int32_t OpenOrSayWhere(const char* utf8Path, const char* title);
