// A wrapper of one event of the UI layer with typed parameter accessors.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "platform/ui/events.h"

struct TRectF {
  float x, y, width, height;
};
struct TSizeF {
  float width, height;
};

class TCarbonEvent {
 public:
  explicit TCarbonEvent(UiEvent* event);
  virtual ~TCarbonEvent();

  UiEvent* GetEventRef() const { return fEvent; }
  FourCC GetClass() const { return fEvent ? fEvent->eventClass : 0; }
  uint32_t GetKind() const { return fEvent ? fEvent->kind : 0; }

  UiStatus SetParameter(FourCC name, FourCC type, uint32_t size, const void* data);
  UiStatus GetParameter(FourCC name, FourCC type, uint32_t size, void* data) const;
  UiStatus SetParameter(FourCC name, unsigned char value);
  UiStatus SetParameter(FourCC name, bool value);
  UiStatus SetParameter(FourCC name, const Rect& value);
  UiStatus SetParameter(FourCC name, const TSizeF& value);
  UiStatus SetParameter(FourCC name, uint32_t value);
  UiStatus GetParameter(FourCC name, unsigned char* value) const;
  UiStatus GetParameter(FourCC name, UiPoint* value) const;
  UiStatus GetParameter(FourCC name, TRectF* value) const;
  UiStatus GetParameter(FourCC name, uint32_t* value) const;
  UiStatus GetParameter(FourCC name, UiCommand* value) const;

 private:
  UiEvent* fEvent;
};
