// Theme pieces the custom views draw with: bevel buttons, focus rings and
// the generic well, in the colours of the standard controls.
#pragma once

#include "platform/ui/canvas.h"

// A small bevel (rounded: corners cut) in a state: dimmed when inactive,
// pressed when on, with a focus ring when focused.
void UiDrawThemeBevel(UiCanvas* canvas, const Rect& r, bool active, bool on, bool focused, bool rounded);
void UiDrawThemeFocusRect(UiCanvas* canvas, const Rect& r);
// A sunken well; pressed while something hovers to be dropped.
void UiDrawThemeGenericWell(UiCanvas* canvas, const Rect& r, bool pressed);
