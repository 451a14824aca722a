// The reply record each of the plug-in's windows reports through.
#pragma once

#include <cstdint>

struct Globals;

struct ZorZReply {
  int16_t result;  // first field: the window's 16-bit outcome
  void* window;
  Globals* globals;
  void* typingTimer;
  int32_t windowKind;
  // The sized-export sheet: the image's size, for its "image size" and
  // "proportional" choices.
  int32_t sizeWidth, sizeHeight;
};
