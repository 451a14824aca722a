// Stand-in for the brick sphere until the export writers are built: it holds
// no cells yet, so destroying it frees nothing.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

struct LegoStructure {
  void* cells;
  BufferID cellsBufferId;
  int32_t cellCount;
};

void DestroyLegoBall(LegoStructure* ball, Globals* globals);
