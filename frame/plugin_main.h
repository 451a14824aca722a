// frame/: the plug-in's entry, its invocation record, the render passes and the open, save and export dispatch.
// The plug-in's entry point and the handlers of the host's selectors.
#pragma once

#include <cstdint>

#include "frame/about_box.h"
#include "platform/plugin_api.h"

struct Globals;
struct ZorZReply;

extern "C" __attribute__((visibility("default"))) void PluginMain(int16_t selector, FilterRecord* filterRecord,
                                                                  DataWord* data, int16_t* result);

void mac_core_routine(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result);
void mac_core_routine_for_husk(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result);
void mac_core_routine_really(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result);

void DoParameters_zor(Globals* globals);
void DoPrepare_zor(Globals* globals);
void DoStart_zor(Globals* globals);
void DoContinue_zor(Globals* globals);
void DoFinish_zor(Globals* globals);

