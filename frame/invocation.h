// Set-up and tear-down of one invocation: the per-invocation blocks, the
// output dimensions, the host's buffer request and the shutdown path that
// every ending (success, failure, cancel) goes through.
#pragma once

#include <cstdint>

#include "dialog/frame_services.h"
#include "platform/plugin_api.h"
#include "frame/base/output_dimensions.h"

struct Globals;

bool DoGrabbing(Globals* globals);
void OncePerInvocationTasksNeedingMemory(Globals* globals);
void Nullify_buffers(Globals* globals, float* filterTable);
void CalcPermanentDimensions(Globals* globals);
void MakeBufferRequest(Globals* globals);
void FixBuffersThatDependOnOutputDimensions(Globals* globals);
void DoShutDown(Globals* globals);
void dump_Storage(Globals* globals);
void die(Globals* globals);
void KillRects(Globals* globals);
