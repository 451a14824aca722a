// gyrelle's --save KIND=PATH[,OPTION=VALUE...] and --load FILE: each becomes
// the steps a user would take in the dialog (the command's button, its
// export sheet, the answer to the save or open chooser), run headless
// before the dialog's OK, so that the dialog's own commands do the work.
#pragma once

#include <string>

namespace gyhost {

// True when argv[*i] is --save or --load (its value in the same argument
// after '=' or in the next); a bad value leaves a message in `error`.
bool ParseDialogSaveOption(int argc, const char* const* argv, int* i, std::string* error);
bool HaveDialogSaves();
// The dialog steps of every --save and --load in order, then `tail` (the
// steps of a --dialog-script, or OK).
std::string DialogSaveSteps(const std::string& tail);
// The lines of --help that describe the two options and every kind.
std::string DialogSaveUsageText();

}  // namespace gyhost
