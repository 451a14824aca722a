#include "platform/ui/icons.h"

namespace {

constexpr int kIconPool = 32;
UiIconImage g_icons[kIconPool];

}  // namespace

bool UiRegisterIcon(FourCC ref, const uint8_t* rgba, int32_t width, int32_t height) {
  if (ref == 0 || !rgba || width < 1 || height < 1) return false;
  UiIconImage* slot = nullptr;
  for (UiIconImage& i : g_icons)
    if (i.ref == ref || (!slot && i.ref == 0)) slot = &i;
  for (UiIconImage& i : g_icons)
    if (i.ref == ref) slot = &i;
  if (!slot) return false;
  *slot = UiIconImage{ref, rgba, width, height};
  return true;
}

const UiIconImage* UiFindIcon(FourCC ref) {
  if (ref == 0) return nullptr;
  for (const UiIconImage& i : g_icons)
    if (i.ref == ref) return &i;
  return nullptr;
}
