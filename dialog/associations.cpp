#include "dialog/associations.h"

#include <iterator>

namespace {

struct SliderRow {
  int16_t slider, textBox;
  int32_t min, max;
};

// The view angle starts at 1: the renderer takes only angles above 0, and
// the window offers nothing it would refuse.
constexpr SliderRow kSliders[] = {
    {37, 86, -90, 90}, {57, 91, -180, 180}, {39, 85, -180, 180}, {103, 104, 1, 180}, {59, 92, 0, 100}, {61, 93, 0, 100},
};

struct KindList {
  int32_t kind;
  const int16_t* items;
  int32_t count;
};

constexpr int16_t kCheckboxes[] = {4, 28, 30, 48, 71, 90, 105, 118};
constexpr int16_t kPopups[] = {12, 21, 51, 52, 73};
constexpr int16_t kSwatches[] = {7, 8};
constexpr int16_t kDialogButtons[] = {2, 3, 5};
constexpr int16_t kPushButtons[] = {9, 13, 15, 26, 32, 33, 35, 40, 46, 64, 65, 72, 74, 75, 81, 83, 94, 96, 97, 99, 110};
constexpr int16_t kStaticTexts[] = {22, 23, 31, 36, 38, 41, 49, 50, 53, 54, 56, 58, 60,
                                    62, 70, 76, 79, 82, 84, 102, 116, 117};
constexpr int16_t kAbout[] = {25};
constexpr int16_t kMemoryDots[] = {6,  10, 14, 16, 19, 20, 24, 27, 29, 42, 44, 47, 66,
                                   68, 77, 78, 80, 87, 88, 89, 95, 108, 111, 112, 113};
constexpr int16_t kWell[] = {98};

constexpr KindList kKinds[] = {
    {ItemKind_Checkbox, kCheckboxes, int32_t(std::size(kCheckboxes))},
    {ItemKind_Popup, kPopups, int32_t(std::size(kPopups))},
    {ItemKind_Swatch, kSwatches, int32_t(std::size(kSwatches))},
    {ItemKind_DialogButton, kDialogButtons, int32_t(std::size(kDialogButtons))},
    {ItemKind_PushButton, kPushButtons, int32_t(std::size(kPushButtons))},
    {ItemKind_StaticText, kStaticTexts, int32_t(std::size(kStaticTexts))},
    {ItemKind_About, kAbout, int32_t(std::size(kAbout))},
    {ItemKind_MemoryDot, kMemoryDots, int32_t(std::size(kMemoryDots))},
    {ItemKind_ThumbnailWell, kWell, int32_t(std::size(kWell))},
};

}  // namespace

void GetAssociations(int16_t item, int16_t* textBox, int16_t* control, int32_t* kind, int32_t* w1, int32_t* w2,
                     int32_t* w3, int32_t* w4, int32_t* param, int32_t* min, int32_t* max) {
  *textBox = -1;
  *control = -1;
  *kind = ItemKind_Unknown;
  *w1 = *w2 = *w3 = *w4 = -1;
  *param = 0;
  *min = 0;
  *max = 100;
  if (item < 0 || item >= kDialogItemLimit) return;
  for (const SliderRow& s : kSliders)
    if (item == s.slider || item == s.textBox) {
      *textBox = s.textBox;
      *control = s.slider;
      *kind = ItemKind_Slider;
      *param = s.slider;
      *min = s.min;
      *max = s.max;
      return;
    }
  for (const KindList& list : kKinds)
    for (int32_t i = 0; i < list.count; ++i)
      if (list.items[i] == item) {
        *kind = list.kind;
        *param = item;
        return;
      }
}

int32_t NiceGetAssociations(int16_t item, AssociationRecord* r) {
  *r = AssociationRecord{};
  GetAssociations(item, &r->textBox, &r->control, &r->kind, &r->unused[0], &r->unused[1], &r->unused[2],
                  &r->unused[3], &r->param, &r->min, &r->max);
  r->subkind = r->kind == ItemKind_Slider && item == r->textBox && item != r->control ? 2 : 0;
  return r->kind;
}

int32_t GetStrictItemType(int16_t item) {
  AssociationRecord r;
  const int32_t kind = NiceGetAssociations(item, &r);
  if (kind != ItemKind_Slider) return kind;
  return item == r.textBox && item != r.control ? ItemKind_SliderTextBox : ItemKind_Slider;
}
