// Preemptive tasks and message queues in the shape of the system's
// multiprocessing services, built on std::thread. A queue carries messages of
// three pointer-sized words; a task runs one entry function and, when it ends,
// posts (terminationParameter1, terminationParameter2, result) to its
// notification queue. Ids are opaque; 0 never names a live queue or task.
#pragma once

#include <cstdint>

using MPQueueID = intptr_t;
using MPTaskID = intptr_t;
using MPTaskEntry = int32_t (*)(void* parameter);

constexpr int32_t kMPNoErr = 0;
constexpr int32_t kMPDeletedErr = -29295;
constexpr int32_t kMPTimeoutErr = -29296;
constexpr int32_t kMPTaskAbortedErr = -29297;
constexpr int32_t kMPInsufficientResourcesErr = -29298;
constexpr int32_t kMPInvalidIDErr = -29299;

// Timeouts of MPWaitOnQueue, in milliseconds.
constexpr int32_t kDurationForever = 0x7FFFFFFF;
constexpr int32_t kDurationImmediate = 0;

// Messages a queue holds before MPNotifyQueue refuses more, unless the owner
// reserves room with MPSetQueueReserve.
constexpr int32_t kDefaultQueueReserve = 8;

// Processors the tasks may use (the forced count of the platform
// configuration when one is set). Never below 1.
int32_t MPProcessors();
int32_t MPProcessorsScheduled();
// False when the platform is configured to run without preemptive tasks.
bool MPIsFullyInitialized();

int32_t MPCreateQueue(MPQueueID* queue);
// Waiters on a deleted queue wake with kMPDeletedErr.
int32_t MPDeleteQueue(MPQueueID queue);
// Room for `count` pending messages; allocates here, so posting never does.
int32_t MPSetQueueReserve(MPQueueID queue, int32_t count);
int32_t MPNotifyQueue(MPQueueID queue, void* p1, void* p2, void* p3);
// Any of the out pointers may be null.
int32_t MPWaitOnQueue(MPQueueID queue, void** p1, void** p2, void** p3, int32_t timeoutMs);

// stackSize is advisory (threads get the platform's default stack).
int32_t MPCreateTask(MPTaskEntry entry, void* parameter, uint32_t stackSize, MPQueueID notifyQueue,
                     void* terminationParameter1, void* terminationParameter2, uint32_t options, MPTaskID* task);
// Asks the task to end: a wait it is blocked in (or its next wait) answers
// kMPTaskAbortedErr. Returns once the task's thread has finished and frees the
// id. Work the task is doing is not interrupted.
int32_t MPTerminateTask(MPTaskID task, int32_t terminationStatus);

// Test hook: MPCreateTask refuses every task after `successes` more of them
// (-1 turns refusals off).
void SetTaskCreationBudget(int64_t successes);
