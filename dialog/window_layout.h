// The parameter window's layout beyond its definition: text boxes as wide
// as the longest value their range and format give (their sliders make
// room), and a resized window: the preview grows with it, the settings
// column keeps to its right edge and what lies below the preview to its
// bottom.
#pragma once

#include <cstdint>

#include "platform/ui/window.h"

// The longest text a slider's box shows for values in min..max.
int32_t WidestSliderText(int32_t min, int32_t max);
void FitTextBoxesToTheirValues(UiWindow* window);
// The window grew (or shrank) by dx, dy: the items follow.
void LayOutForWindowSize(UiWindow* window, int32_t dx, int32_t dy);
// Lays the window out whenever its size changes (before the preview's own
// resize handlers run).
void InstallWindowLayoutHandler(UiWindow* window);
