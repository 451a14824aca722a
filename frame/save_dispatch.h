// Where the dialog's open and save commands arrive: settings files here, the
// result image and every export through the writers of each kind. Their
// callers declare them: the dialog in dialog/frame_services.h, the save kinds
// the exports share in export/export_services.h.
#pragma once

#include "dialog/frame_services.h"
