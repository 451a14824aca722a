// Worker task pool: one preemptive task per processor, created at start and
// ended at shutdown. (Minimal version: orders run inline on the main thread
// until the threaded pool lands.)
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct PyramidDescriptor;

enum TaskKind : int32_t {
  TaskKind_PyramidLevel = -1000,
  TaskKind_PyramidLevelHQ = -1001,
  TaskKind_SampleRow = 0,
  TaskKind_ResultRow = 1,
  TaskKind_Quit = 999,
};

struct PerTaskStuffType {
  int32_t firstColumn;
  int32_t lastColumn;
  int32_t kind;
  int32_t launchStatus;
  Rect strip;
  Globals* globals;
  int32_t row;
  intptr_t requestQueue;
  intptr_t replyQueue;
  intptr_t taskId;
  int32_t tissotSearchStart;
  PyramidDescriptor* outputPyramid;
  void* job;
};

int32_t GetMaximumProcessorCount();
void Start_multithreading(Globals* globals);
void End_multithreading(Globals* globals);
