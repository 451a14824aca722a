// The about box and the refusal messages. They stand apart from the entry
// point so that the dialog and test plug-ins can show them without taking
// in a second PluginMain.
#pragma once

#include <cstdint>

#include "dialog/frame_services.h"

struct ZorZReply;

void ShowRefusalMessage3();
void ShowRefusalMessageNoAdvance();

extern ZorZReply about_reply;
