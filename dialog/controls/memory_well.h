// The memory well: the thumbnail of the memory dot shown, in a sunken well.
// A click loads that dot; a press that moves drags the dot's settings out
// as a file; settings files dropped on it fill empty dots.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

struct UiControl;
struct UiViewClass;
struct Globals;

// The button content kept as the well's 'TrnK'/'BUTT' property.
constexpr int16_t kContentPicture = 131, kContentIcon = 132;
constexpr int16_t kViewPartWell = 10;
struct ButtonContent {
  int16_t kind;
  void* handle;  // an RGBPicture* for pictures, an icon name for icons
};

UiStatus RegisterMemorywellEventHandlerCustomView(UiViewClass** classRef);
UiStatus MemorywellEventHandler(UiHandlerCall* call, UiEvent* event, void* instance);
UiStatus Track_memorywell(UiEvent* event, int16_t* part, UiControl* well);
// Puts a picture on item 98 (null detaches it); kept as the property the
// well draws from.
void AttachPICTHandleToBevelButton(void* window, int16_t item, void* picture);
