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
  // Drags out of the main window: the procedure that keeps a promised
  // file once it is dropped, and what it is (1 settings, 2 memory dot,
  // 3 the result as a layered file).
  void* dragSendUPP;
  int32_t dragKind;
};
