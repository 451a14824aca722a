// A UI layer ready for one test: virtual clock, and a front end that plays
// back input queued by the test.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/ui/event_loop.h"

struct UiWindow;

class UiFixture {
 public:
  UiFixture();
  ~UiFixture();
  void Click(UiWindow* w, float x, float y, uint32_t modifiers = 0);
  void Drag(UiWindow* w, std::initializer_list<UiPoint> path);
  void Type(UiWindow* w, const char* text);
  void Key(UiWindow* w, int32_t key);
  std::vector<UiInput> pending;
  // Past the queued input: the end of all input, or (false) only nothing yet.
  bool endWhenEmpty = true;
  size_t at = 0;
};
