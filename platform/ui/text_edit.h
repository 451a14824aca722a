// Editing in a text field, as every field has it: an insertion point and a
// selection (Shift with the arrows, Home and End, or the mouse), typing that
// replaces the selection, Backspace and Delete, select all, copy, cut and
// paste through the clipboard.
#pragma once

#include <cstdint>

struct UiControl;
struct UiCanvas;

// The text a field's input event carries: printable characters, '\b' (the
// selection or the character before the insertion point goes) and 0x7f
// (the selection or the character after it goes).
constexpr char kUiEditBackspace = '\b';
constexpr char kUiEditDelete = 0x7f;
void UiEditInsert(UiControl* field, const char* text);

// The moves that change no text: arrows, Home, End (Shift extends the
// selection) and select all; copy puts the selection on the clipboard.
// False for a key that is not one of them.
bool UiEditMove(UiControl* field, int32_t key, uint32_t modifiers);
// The selection, from <= to; empty when from == to.
void UiEditSelection(const UiControl* field, int32_t* from, int32_t* to);
void UiEditSelectAll(UiControl* field);
// The offset in the text nearest to a window x.
int32_t UiEditOffsetAt(const UiControl* field, float x);
// Places the insertion point; `extend` keeps the selection's other end.
void UiEditSetCaret(UiControl* field, int32_t offset, bool extend);

// Draws the field's text, selection and insertion point.
void UiDrawEditText(UiCanvas* canvas, const UiControl* field, bool focused);
// Where a field's text starts, from its left edge.
constexpr int32_t kUiEditInset = 4;
