#include "tests/dialog/ui_fixture.h"

#include <cstdio>

#include "platform/ui/window.h"

namespace {

bool Next(void* self, UiInput* out, double) {
  auto* f = static_cast<UiFixture*>(self);
  if (f->at >= f->pending.size()) {
    if (!f->endWhenEmpty) return false;
    out->type = kUiInputEnd;
    return true;
  }
  *out = f->pending[f->at++];
  return true;
}

}  // namespace

UiFixture::UiFixture() {
  UiResetForTests();
  UiUseVirtualClock(true);
  const UiFrontEnd fe{this, Next, nullptr, nullptr, nullptr, false};
  UiSetFrontEnd(&fe);
}

UiFixture::~UiFixture() {
  UiSetFrontEnd(nullptr);
  UiUseVirtualClock(false);
  UiResetForTests();
}

void UiFixture::Click(UiWindow* w, float x, float y, uint32_t modifiers) {
  pending.push_back(UiInput{kUiInputMouseDown, w, {x, y}, modifiers, 0, 0, {}, nullptr});
  pending.push_back(UiInput{kUiInputMouseUp, w, {x, y}, modifiers, 0, 0, {}, nullptr});
}

void UiFixture::Drag(UiWindow* w, std::initializer_list<UiPoint> path) {
  const UiPoint* p = path.begin();
  pending.push_back(UiInput{kUiInputMouseDown, w, *p, 0, 0, 0, {}, nullptr});
  for (++p; p != path.end(); ++p) pending.push_back(UiInput{kUiInputMouseMove, w, *p, 0, 0, 0, {}, nullptr});
  pending.push_back(UiInput{kUiInputMouseUp, w, *(path.end() - 1), 0, 0, 0, {}, nullptr});
}

void UiFixture::Type(UiWindow* w, const char* text) {
  UiInput in{kUiInputText, w, {0, 0}, 0, 0, 0, {}, nullptr};
  std::snprintf(in.text, sizeof in.text, "%s", text);
  pending.push_back(in);
}

void UiFixture::Key(UiWindow* w, int32_t key) { pending.push_back(UiInput{kUiInputKey, w, {0, 0}, 0, key, 0, {}, nullptr}); }
