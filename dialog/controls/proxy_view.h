// The two views that show images: the proxy view (item 18), which shows
// the preview rendered into the host's output buffer and pans it, and the
// pyramid view; and the re-fit of the preview after a resize.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

struct Globals;
struct UiControl;

struct SpotViewInstance {
  UiControl* view;
  float spotX, spotY;
  Globals* globals;
  float lastX, lastY;
  void* trackingArea;
  uint8_t dragged;
};

UiStatus CustomSpotViewHandler_core(UiHandlerCall* call, UiEvent* event, void* data, bool pyramid);
UiStatus CustomSpotViewHandler(UiHandlerCall* call, UiEvent* event, void* data);
UiStatus CustomPyramidViewHandler(UiHandlerCall* call, UiEvent* event, void* data);
// Register the views' classes; the class record comes back for unregistering.
void RegisterTheExampleCustomView(void** classRef);
void RegisterThePyramidViewCustomView(void** classRef);

void ShowOutputBufferWithinVarezHiView(UiControl* control, int32_t useOutput, Globals* globals);
void CopeWithProxiesSizeChange(void* window);
void ResetProxyAndRepaintUnfiltered(Globals* globals, UiControl* control);
