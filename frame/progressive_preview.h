// Showing the rows of a preview pass in the dialog's preview item as they
// are rendered, so that the user sees the preview grow from the top. The
// last rows after the last paint are shown by the dialog's own redraw when
// the pass is over.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

constexpr int16_t kPreviewItemId = 18;

// Called by the row step after `row` was rendered.
void MaybeUpdateProgressivePreview(Globals* globals, int32_t row);
// Finds the preview item, makes its window's port current and paints.
void Xarvox(Globals* globals, int32_t row, int16_t itemId);
// Paints what is new since the last paint; makes `savedPort` current again.
// A port is a dialog window, or the stand-in surface tests paint into.
void Xarvox_core(Globals* globals, int32_t row, void* window, Rect bounds, void* port, void* savedPort);
