// The plug-in's window definitions, standing in for the interface file
// "gyre" of its bundle: the parameter window "xparams" with every dialog
// item, and the small windows (about box, info, progress, export sheets).
#pragma once

#include <cstdint>

#include "platform/ui/window.h"

constexpr FourCC kItemSignature = MakeFourCC("TWPP");
constexpr FourCC kPluginCreator = MakeFourCC("TrnK");

// The item's command: its number as four characters, right-aligned.
constexpr FourCC ItemCommand(int32_t item) {
  FourCC code = 0;
  for (int k = 0; k < 4; ++k) {
    int32_t div = 1;
    for (int j = 0; j < 3 - k; ++j) div *= 10;
    const bool lead = item < div && k < 3;
    code = (code << 8) | FourCC(lead ? ' ' : '0' + (item / div) % 10);
  }
  return code;
}

// Class ids of the custom views the definitions name.
constexpr const char* kProxyViewClassID = "com.gyrelle.proxy";
constexpr const char* kPyramidViewClassID = "com.gyrelle.pyramidview";
constexpr const char* kMemoryWellClassID = "com.gyrelle.memorywell";
constexpr const char* kColorSwatchClassID = "com.gyrelle.colorswatch";
constexpr const char* kDragButtonClassID = "com.gyrelle.dragbutton";
constexpr const char* kBallControlClassID = "com.gyrelle.ballcontrol";
constexpr const char* kAngleControlClassID = "com.gyrelle.anglecontrol";

// The views outside the item table, found by the creator's signature.
constexpr int32_t kDragButtonID = 140, kTrackballID = 141, kAngleDialID = 142;
constexpr int32_t kTrackballLabelID = 143, kAngleDialLabelID = 144;
constexpr FourCC kCmdDragButton = MakeFourCC("DrBu");
constexpr FourCC kCmdTrackball = MakeFourCC("Ball");
constexpr FourCC kCmdAngleDial = MakeFourCC("Angl");

// The named window's definition, or null.
const UiWindowDefinition* FindGyreWindow(const char* name);
int32_t GyreWindowCount();
const UiWindowDefinition* GyreWindowAt(int32_t index);
