// What the frame asks of the output renderer.
#pragma once

#include <cstdint>

struct Globals;
struct PerTaskStuffType;

// Renders output row Globals.drawingRow of the current pass.
void DoSolarRect(Globals* globals);
void DoMyTask(PerTaskStuffType* task, int32_t kind);
void SetGSpots(long count);
void SetPSpots(long count);
void Prefill_any_threadshared_caches(Globals* globals);
