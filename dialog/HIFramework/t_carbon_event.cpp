#include "dialog/HIFramework/t_carbon_event.h"

namespace {
constexpr FourCC kTypeBool = MakeFourCC("bool");
constexpr FourCC kTypeSize = MakeFourCC("hisz");
constexpr FourCC kTypeRectF = MakeFourCC("hirc");
}  // namespace

// Events of the layer live for their whole dispatch, so holding the
// pointer is the retain.
TCarbonEvent::TCarbonEvent(UiEvent* event) : fEvent(event) {}
TCarbonEvent::~TCarbonEvent() = default;

UiStatus TCarbonEvent::SetParameter(FourCC name, FourCC type, uint32_t size, const void* data) {
  return UiSetEventParameter(fEvent, name, type, size, data);
}

UiStatus TCarbonEvent::GetParameter(FourCC name, FourCC type, uint32_t size, void* data) const {
  return UiGetEventParameter(fEvent, name, type, size, data);
}

UiStatus TCarbonEvent::SetParameter(FourCC name, unsigned char value) { return SetParameter(name, kTypeBool, 1, &value); }
UiStatus TCarbonEvent::SetParameter(FourCC name, bool value) {
  const unsigned char b = value ? 1 : 0;
  return SetParameter(name, kTypeBool, 1, &b);
}
UiStatus TCarbonEvent::SetParameter(FourCC name, const Rect& value) {
  return SetParameter(name, kUiTypeRect, sizeof value, &value);
}
UiStatus TCarbonEvent::SetParameter(FourCC name, const TSizeF& value) {
  return SetParameter(name, kTypeSize, sizeof value, &value);
}
UiStatus TCarbonEvent::SetParameter(FourCC name, uint32_t value) {
  return SetParameter(name, kUiTypeUInt32, sizeof value, &value);
}
UiStatus TCarbonEvent::GetParameter(FourCC name, unsigned char* value) const {
  return GetParameter(name, kTypeBool, 1, value);
}
UiStatus TCarbonEvent::GetParameter(FourCC name, UiPoint* value) const {
  return GetParameter(name, kUiTypePoint, sizeof *value, value);
}
UiStatus TCarbonEvent::GetParameter(FourCC name, TRectF* value) const {
  return GetParameter(name, kTypeRectF, sizeof *value, value);
}
UiStatus TCarbonEvent::GetParameter(FourCC name, uint32_t* value) const {
  return GetParameter(name, kUiTypeUInt32, sizeof *value, value);
}
UiStatus TCarbonEvent::GetParameter(FourCC name, UiCommand* value) const {
  return GetParameter(name, kUiTypeCommand, sizeof *value, value);
}
