// The item association table: what each dialog item is (its kind), which
// control it pairs with (a slider and its text box name each other) and
// its value range. Every move of a value between settings and controls
// goes through it.
#pragma once

#include <cstdint>

enum ItemKind : int32_t {
  ItemKind_Unknown = -1,
  ItemKind_Slider = 0,
  ItemKind_StaticText = 1,
  ItemKind_SliderTextBox = 2,  // strict kind only, never stored
  ItemKind_Checkbox = 3,
  ItemKind_DialogButton = 4,
  ItemKind_PushButton = 7,
  ItemKind_Swatch = 8,
  ItemKind_Popup = 13,
  ItemKind_Ball = 17,
  ItemKind_About = 18,
  ItemKind_MemoryDot = 25,
  ItemKind_ThumbnailWell = 26,
};

struct AssociationRecord {
  int32_t kind;
  int32_t subkind;  // kind 0: 0 the slider, 2 its text box
  int32_t unused[4];
  int32_t param;
  int32_t min, max;
  int16_t textBox;
  int16_t control;
};

constexpr int32_t kDialogItemLimit = 260;

// Pure lookup; unknown (and negative) items answer kind -1, text box and
// control -1, range 0..100.
void GetAssociations(int16_t item, int16_t* textBox, int16_t* control, int32_t* kind, int32_t* w1, int32_t* w2,
                     int32_t* w3, int32_t* w4, int32_t* param, int32_t* min, int32_t* max);
int32_t NiceGetAssociations(int16_t item, AssociationRecord* record);
int32_t GetStrictItemType(int16_t item);
