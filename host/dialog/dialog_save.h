// gyrelle's --save KIND=PATH[,OPTION=VALUE...] and --load FILE: each becomes
// the steps a user would take in the dialog (the command's button, its
// export sheet, the answer to the save or open chooser), run headless
// before the dialog's OK, so that the dialog's own commands do the work.
// Every path goes to the choosers as data, never inside a step, so that no
// byte of a file name can be read as one.
#pragma once

#include <string>
#include <vector>

#include "host/output_file.h"
#include "host/cli/save_requests.h"

namespace gyhost {

// True when argv[*i] is --save or --load (its value in the same argument
// after '=' or in the next); a bad value leaves a message in `error`.
bool ParseDialogSaveOption(int argc, const char* const* argv, int* i, std::string* error);
bool HaveDialogSaves();
// The dialog steps of every --save and --load in order, then `tail` (the
// steps of a --dialog-script, named `tailName` in messages, or OK).
std::string DialogSaveSteps(const std::string& tail, const std::string& tailName);
// The answers to the choosers the steps open, in order; null-ended, valid
// until the next call of DialogSaveSteps.
const char* const* DialogSaveChooserAnswers();
// The lines of --help that describe the options and every kind.
std::string DialogSaveUsageText();

// Every file the saves will write (a cube map's six faces, a model's
// siblings), absolute, in the order of the options.
std::vector<PlannedWrite> DialogSaveTargets();
// Why a --save may not write where it says: its path (or one of the files
// named from it) is an existing folder, device or pipe, which a save never
// replaces; empty when none is.
std::string DialogSaveOntoNonFile();

// Takes a message of the dialog during a run with saves and tells the user in
// the words of the command line: which --save failed and why, without the
// steps' line numbers or the windows' names.
void SayDialogMessage(const char* message);
// Messages said so far (each one a failure).
int DialogSaveMessagesSaid();
// Whether one of them came from the steps of a --dialog-script.
bool DialogScriptStepFailed();

}  // namespace gyhost
