// Worker task pool: one preemptive task per processor, created at start and
// ended at shutdown. The main thread cuts a job (a span of one row, or a
// rectangle) into equal shares, writes one work order into each task record,
// posts the orders and waits for every answer. An order that cannot be posted
// (no tasks on this platform, a task that could not be created, a full queue)
// runs on the main thread instead, so every share of a job is always done.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/plugin_api.h"

// The pool knows the invocation, the full task record and the pyramids only
// by name: it reaches its own state through TaskPoolStateOf and its own part
// of a record through TaskPoolRecord.
struct Globals;
struct PerTaskStuffType;
struct PyramidDescriptor;

// Columns of one chunk of a row job: small enough to even out the load,
// large enough that a chunk's set-up and its cache misses do not count.
constexpr int32_t kRowChunkColumns = 32;

enum TaskKind : int32_t {
  TaskKind_PyramidLevel = -1000,
  TaskKind_PyramidLevelHQ = -1001,
  // Items of a job the tasks take in turn (RunItemsOnTasks); run by that
  // job's own body, never by the standard one.
  TaskKind_Items = -1002,
  TaskKind_SampleRow = 0,
  TaskKind_ResultRow = 1,
  TaskKind_Quit = 999,  // posted only at shutdown, never stored in a record
};

// launchStatus values besides a failed post's error code.
constexpr int32_t kLaunchPosted = 0;
constexpr int32_t kLaunchIdle = -1;  // awaited, never posted, or run inline

// The pool's part of a task record: the fields it writes when it splits a
// job and reads when it posts, runs and awaits the orders. A task record
// (PerTaskStuffType, projection/task_record.h) begins with it and carries the
// renderer's scratch after it.
struct TaskPoolRecord {
  int32_t firstColumn;  // first item of this share of a row job
  int32_t lastColumn;   // last item, inclusive
  // The whole row job and this record's place among its shares: the
  // standard body deals a row's columns out in small interleaved chunks, so
  // that a map whose costly part sits in the middle of the row (an ellipse,
  // a disc) still keeps every task busy.
  int32_t spanFirst;
  int32_t spanLast;
  int32_t shareIndex;
  int32_t shareCount;
  int32_t kind;
  int32_t launchStatus;
  Rect strip;  // this share of a rectangle job
  Globals* globals;
  int32_t row;
  intptr_t requestQueue;  // 0: none
  intptr_t replyQueue;    // 0: none
  intptr_t taskId;        // 0: no task was started for this record
  PyramidDescriptor* outputPyramid;
  void* job;
};

// Where an invocation keeps the pool's state (its task records, their
// count, Globals.taskCount and Globals.taskTerminationQueue); the frame,
// which owns the invocation record, answers it.
struct TaskPoolState {
  unsigned char* records;      // record 0; null when the invocation has none
  size_t stride;               // bytes from one record to the next
  int32_t recordCount;         // records allocated at start
  int32_t* taskCount;          // shares of the job last split
  intptr_t* terminationQueue;  // 0: none
};
TaskPoolState TaskPoolStateOf(Globals* globals);

// The work an order does on a record. The standard body hands level-building
// kinds to the pyramid code and every other kind to the renderer; the frame,
// which sees both, defines it.
using TaskOrderBody = void (*)(PerTaskStuffType* task, int32_t kind);
void RunStandardOrder(PerTaskStuffType* task, int32_t kind);

// Task records to allocate at start.
int32_t GetMaximumProcessorCount();
// Starts one task per allocated record (at most the processor count).
void Start_multithreading(Globals* globals);
// Ends every task that was started and deletes the queues; safe to call when
// nothing was started.
void End_multithreading(Globals* globals);

// Cut items first..last into Globals.taskCount shares (0 for an empty job).
void Bust_row_into_tasks(int32_t first, int32_t last, int32_t kind, Globals* globals, void* job, int32_t row,
                         PyramidDescriptor* outputPyramid);
void Bust_rectangle_into_tasks(const Rect* rect, int32_t kind, Globals* globals, void* job,
                               PyramidDescriptor* outputPyramid);

// Items 0..count-1 of one job, body(context, item) each: every task, the
// caller's thread among them, takes the next item nobody has taken until
// none is left, so a core that starts late or is taken away for a while
// holds up the join by one item, not by a whole share. Without tasks the
// items run here, in order. Items must not depend on one another.
using TaskItemBody = void (*)(void* context, int32_t item);
void RunItemsOnTasks(Globals* globals, int32_t count, TaskItemBody body, void* context);

void launch_only_all_tasks(Globals* globals);
void finish_only_all_tasks(Globals* globals);
void launch_and_finish_all_tasks(Globals* globals);
// The same with another body than the standard one (tools and tests).
void launch_only_all_tasks_with(Globals* globals, TaskOrderBody body);
void launch_and_finish_all_tasks_with(Globals* globals, TaskOrderBody body);
// One record at a time, for work that tasks take up and put down on their
// own: posts record i's order (run here when it cannot be posted), and asks,
// without waiting, whether record i's order is done (true for a record with
// no order outstanding).
void launch_one_task_with(Globals* globals, int32_t i, TaskOrderBody body);
bool poll_one_task(Globals* globals, int32_t i);

// The body of every task; its parameter is the task's record.
int32_t MacThreadedTaskDispatcher(void* record);
