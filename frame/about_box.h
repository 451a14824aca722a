// The about box and the refusal messages. They stand apart from the entry
// point so that the dialog and test plug-ins can show them without taking
// in a second PluginMain.
#pragma once

#include <cstdint>

struct ZorZReply;

int32_t DoAbout_zor(void* parentWindow);
void ShowRefusalMessage3();
void ShowRefusalMessageNoAdvance();

extern ZorZReply about_reply;
