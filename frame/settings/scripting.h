// Recording and replaying the settings through the host's scripting
// descriptor: 42 four-character keys, each tied to one settings field.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

// The keys handed to the host when a reader opens, ending with a zero key.
constexpr int kScriptKeyListLength = 42;
extern const DescriptorKeyID kScriptKeyList[kScriptKeyListLength + 1];

// True when the host is about to replay recorded settings: it is not one of
// the hosts whose descriptors are never read, its descriptor suite is usable
// and a reader opens on its descriptor. The probe leaves the descriptor in
// place for ReadScriptParams_zor.
bool ScriptingParamsAreComing(Globals* globals);
// Reads a replayed descriptor over the defaults; answers the new show-dialog
// flag (0 for the hosts never read, 1 when the suite is not usable).
int32_t ReadScriptParams_zor(Globals* globals);
// Records the settings; the close result, or 0 when nothing was written.
int32_t WriteScriptParams_zor(Globals* globals);
// The descriptor form of the settings writer: version 47, then every key in
// recording order.
void ParametersOutToDescriptor(Globals* globals, PIWriteDescriptor token);
