// The colour picker of the layer: a small window with a sample and one
// slider per primary (0..255), OK and Cancel. A script may answer it in
// advance ("picker R G B" in 16-bit components, or "picker cancel").
#pragma once

#include <cstdint>

// True when the user accepted; `colour` then holds the choice. A component
// whose slider was left alone keeps its full 16-bit value.
bool UiGetColor(const char* prompt, uint16_t colour[3]);

void UiQueuePickerAnswer(const uint16_t* colourOrNull);
void UiForgetPickerAnswers();
// Answers waiting, and whether the picker window was shown (tests).
int32_t UiQueuedPickerAnswers();
int32_t UiPickerWindowsShown();
