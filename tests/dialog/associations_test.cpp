// The item table against itself and against the parameter window's
// definition: every item the table knows is a control of the right kind,
// range and command.
#include <gtest/gtest.h>

#include "dialog/associations.h"
#include "dialog/dialog_controls.h"
#include "dialog/nib_gyre.h"

namespace {

const UiItemDefinition* FindItem(const UiWindowDefinition* w, int32_t id) {
  for (int32_t i = 0; i < w->itemCount; ++i)
    if (w->items[i].signature == kItemSignature && w->items[i].id == id) return &w->items[i];
  return nullptr;
}

TEST(Associations, SliderAndTextBoxAnswerTheSameRow) {
  struct Row {
    int16_t slider, box;
    int32_t min, max;
  } rows[] = {{37, 86, -90, 90}, {57, 91, -180, 180}, {39, 85, -180, 180},
              {103, 104, 1, 180}, {59, 92, 0, 100},   {61, 93, 0, 100}};
  for (const Row& r : rows)
    for (int16_t item : {r.slider, r.box}) {
      AssociationRecord a;
      EXPECT_EQ(NiceGetAssociations(item, &a), ItemKind_Slider) << item;
      EXPECT_EQ(a.textBox, r.box);
      EXPECT_EQ(a.control, r.slider);
      EXPECT_EQ(a.min, r.min);
      EXPECT_EQ(a.max, r.max);
      EXPECT_EQ(a.subkind, item == r.box ? 2 : 0);
      EXPECT_EQ(GetStrictItemType(item), item == r.box ? ItemKind_SliderTextBox : ItemKind_Slider);
    }
}

TEST(Associations, UnknownAndNegativeItemsGetTheDefaults) {
  for (int16_t item : {1, 18, 34, 120, 200, 259, 260, -1, -300}) {
    int16_t box, control;
    int32_t kind, w[4], param, min, max;
    GetAssociations(item, &box, &control, &kind, &w[0], &w[1], &w[2], &w[3], &param, &min, &max);
    EXPECT_EQ(kind, -1) << item;
    EXPECT_EQ(box, -1);
    EXPECT_EQ(control, -1);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 100);
    for (int32_t v : w) EXPECT_EQ(v, -1);
  }
}

// Every item of the table is in the window, as the kind of control the
// stash and the item chain treat it as.
TEST(Associations, TheParameterWindowHoldsEveryItemOfTheTable) {
  const UiWindowDefinition* w = FindGyreWindow("xparams");
  ASSERT_NE(w, nullptr);
  int known = 0;
  for (int16_t item = 0; item < kDialogItemLimit; ++item) {
    AssociationRecord a;
    const int32_t kind = NiceGetAssociations(item, &a);
    if (kind == ItemKind_Unknown) continue;
    ++known;
    const UiItemDefinition* d = FindItem(w, item);
    ASSERT_NE(d, nullptr) << "item " << item;
    UiControlKind want = kUiKindPushButton;
    switch (GetStrictItemType(item)) {
      case ItemKind_Slider: want = kUiKindSlider; break;
      case ItemKind_SliderTextBox: want = kUiKindEditText; break;
      case ItemKind_StaticText: want = kUiKindStaticText; break;
      case ItemKind_Checkbox: want = kUiKindCheckbox; break;
      case ItemKind_Popup: want = kUiKindPopup; break;
      case ItemKind_Swatch: want = kUiKindCustom; break;
      case ItemKind_MemoryDot: want = kUiKindBevelButton; break;
      case ItemKind_ThumbnailWell: want = kUiKindCustom; break;
      case ItemKind_PushButton: want = d->kind == kUiKindBevelButton ? kUiKindBevelButton : kUiKindPushButton; break;
      default: want = kUiKindPushButton;
    }
    EXPECT_EQ(d->kind, want) << "item " << item;
    if (GetStrictItemType(item) == ItemKind_Slider) {
      EXPECT_EQ(d->min, a.min) << "item " << item;
      EXPECT_EQ(d->max, a.max) << "item " << item;
    }
    // Every item sends its number, but for OK, Cancel and the web-page button.
    FourCC command = ItemCommand(item);
    if (item == 2) command = kUiCommandOK;
    if (item == 3) command = kUiCommandCancel;
    if (item == 5) command = MakeFourCC("TWWB");
    if (kind != ItemKind_StaticText) {
      EXPECT_EQ(d->command, command) << "item " << item;
    }
  }
  EXPECT_EQ(known, 12 + 8 + 5 + 2 + 3 + 21 + 22 + 1 + 25 + 1);
  // Items the table leaves unknown that the dialog uses.
  for (int32_t item : {18, 34, 63, 120, 222}) EXPECT_NE(FindItem(w, item), nullptr) << item;
  EXPECT_STREQ(FindItem(w, 18)->classID, kProxyViewClassID);
  EXPECT_EQ(FindItem(w, 10)->parentId, 120) << "memory dots sit in their group";
}

TEST(Associations, EveryWindowOfTheDefinitionsExists) {
  for (const char* name : {"xparams", "about", "aboutsheet", "quickinfo", "progress", "brick sphere", "cubemap",
                           "Export polyhedron", "Export PSD with size"})
    EXPECT_NE(FindGyreWindow(name), nullptr) << name;
  const UiWindowDefinition* progress = FindGyreWindow("progress");
  bool cancel = false;
  for (int32_t i = 0; i < progress->itemCount; ++i)
    cancel |= progress->items[i].signature == kPluginCreator && progress->items[i].id == 9;
  EXPECT_TRUE(cancel) << "the progress window's cancel button is ('TrnK', 9)";
}

TEST(Associations, CommandsReadAsFourDigitsOrSpaces) {
  struct Case {
    const char code[5];
    int32_t item;
  } cases[] = {{"  37", 37}, {"0037", 37}, {"   5", 5}, {"0000", 0}, {"    ", 0}, {"3a 7", 0}, {"ok  ", 0}, {" 222", 222}};
  for (const Case& c : cases) EXPECT_EQ(ItemFromCommand(MakeFourCC(c.code)), c.item) << c.code;
  EXPECT_EQ(ItemCommand(37), MakeFourCC("  37"));
  EXPECT_EQ(ItemCommand(222), MakeFourCC(" 222"));
}

}  // namespace
