// Refreshing the previews kept in every preset of a folder: each preset is
// loaded, rendered in the dialog's preview and written back with its new
// preview; the settings in the dialog come back afterwards.
#pragma once

#include <cstdint>

struct Globals;

// 0 when done; the folder prompt's answer (99) when no folder was chosen.
int32_t fix_all_previews(Globals* globals, void* dialog);
