// Where the dialog's input comes from, chosen through the platform's
// configuration hook: a script of steps (headless, on the virtual clock), a
// real window's front end handed over by the host, or neither, in which case
// a dialog is accepted at once as it opens.
#pragma once

#include <cstdint>

// Keys: "dialog_script" (value: a const char* path, 0 to forget it),
// "dialog_script_failures" (value: an int32_t* that each run adds its failed
// steps to), "dialog_front_end" (value: a const UiFrontEnd*, 0 for none),
// "dialog_presenter" (the same, used only to show a scripted run's windows).
// False for keys it does not know.
bool UiConfigure(const char* key, int64_t value);

// Around each dialog run.
void UiBeginDialogInput();
void UiEndDialogInput();
