#include "frame/base/task_pool.h"

#include <algorithm>
#include <atomic>

#include "platform/tasks.h"

namespace {

constexpr uint32_t kTaskStackBytes = 20000;
constexpr int32_t kTerminationWaitMs = 100;

void* KindMessage(int32_t kind) { return reinterpret_cast<void*>(intptr_t(kind)); }

// Record i opens with the pool's part; the bodies take the whole record.
TaskPoolRecord& RecordAt(const TaskPoolState& pool, int32_t i) {
  return *reinterpret_cast<TaskPoolRecord*>(pool.records + size_t(i) * pool.stride);
}
PerTaskStuffType* TaskOf(TaskPoolRecord& record) { return reinterpret_cast<PerTaskStuffType*>(&record); }
TaskPoolRecord& PoolPartOf(PerTaskStuffType* task) { return *reinterpret_cast<TaskPoolRecord*>(task); }

// Shares a job may use: never more than the records allocated at start.
int32_t ShareLimit(const TaskPoolState& pool) {
  if (!pool.records) return 0;
  return std::min(std::max(MPProcessorsScheduled(), 1), pool.recordCount);
}

// Waits for every posted order of the job last split.
void FinishOrders(const TaskPoolState& pool) {
  if (!pool.records) return;
  const int32_t n = std::min(*pool.taskCount, pool.recordCount);
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    if (r.launchStatus != kLaunchPosted) continue;
    MPWaitOnQueue(r.replyQueue, nullptr, nullptr, nullptr, kDurationForever);
    r.launchStatus = kLaunchIdle;
  }
}

// A record must not be rewritten while its task may still read it.
void FinishAnyOutstandingOrders(const TaskPoolState& pool) {
  const int32_t n = std::min(*pool.taskCount, pool.recordCount);
  for (int32_t i = 0; i < n; ++i) {
    if (RecordAt(pool, i).launchStatus == kLaunchPosted) {
      FinishOrders(pool);
      return;
    }
  }
}

// floor(i * length / shares) without the rounding of a float quotient.
int32_t ShareStart(int32_t i, int32_t length, int32_t shares) {
  return int32_t(int64_t(i) * length / shares);
}

// A job of RunItemsOnTasks, on the stack of the thread that waits for it.
struct ItemJob {
  TaskItemBody body;
  void* context;
  int32_t count;
  std::atomic<int32_t> next{0};
};

void TakeItems(PerTaskStuffType* task, int32_t) {
  auto* job = static_cast<ItemJob*>(PoolPartOf(task).job);
  for (;;) {
    const int32_t item = job->next.fetch_add(1, std::memory_order_relaxed);
    if (item >= job->count) return;
    job->body(job->context, item);
  }
}

}  // namespace

void RunItemsOnTasks(Globals* globals, int32_t count, TaskItemBody body, void* context) {
  if (count < 1 || !body) return;
  const TaskPoolState pool = globals ? TaskPoolStateOf(globals) : TaskPoolState{};
  if (!pool.records || pool.recordCount < 1) {
    for (int32_t i = 0; i < count; ++i) body(context, i);
    return;
  }
  FinishAnyOutstandingOrders(pool);
  ItemJob job{body, context, count};
  const int32_t n = std::max(1, std::min(ShareLimit(pool), count));
  *pool.taskCount = n;
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.kind = TaskKind_Items;
    r.shareCount = 0;
    r.globals = globals;
    r.job = &job;
    r.outputPyramid = nullptr;
  }
  launch_and_finish_all_tasks_with(globals, TakeItems);
}

int32_t GetMaximumProcessorCount() { return MPProcessors(); }

void Start_multithreading(Globals* globals) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  *pool.terminationQueue = 0;
  if (!pool.records) return;
  const int32_t p = std::min(MPProcessors(), pool.recordCount);
  for (int32_t i = 0; i < pool.recordCount; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.requestQueue = r.replyQueue = r.taskId = 0;
    r.launchStatus = kLaunchIdle;
  }
  if (!MPIsFullyInitialized() || p < 1) return;
  MPQueueID termination = 0;
  if (MPCreateQueue(&termination) != kMPNoErr) return;
  *pool.terminationQueue = termination;
  // Every task posts one notice when it ends; keep room for all of them.
  MPSetQueueReserve(termination, p);
  // Every task is created before any first answer is awaited: the tasks
  // start side by side rather than each waiting for the one before it to
  // be scheduled.
  int32_t started = 0;
  for (; started < p; ++started) {
    TaskPoolRecord& r = RecordAt(pool, started);
    MPQueueID request = 0, reply = 0;
    if (MPCreateQueue(&request) == kMPNoErr && MPCreateQueue(&reply) == kMPNoErr) {
      // The task reads its queues from the record as soon as it runs.
      r.requestQueue = request;
      r.replyQueue = reply;
      MPTaskID task = 0;
      if (MPCreateTask(MacThreadedTaskDispatcher, &r, kTaskStackBytes, termination, nullptr, nullptr, 0, &task) ==
          kMPNoErr) {
        r.taskId = task;
        continue;
      }
    }
    // A record without its task must not look postable: its orders then run
    // on the main thread.
    if (request) MPDeleteQueue(request);
    if (reply) MPDeleteQueue(reply);
    r.requestQueue = r.replyQueue = 0;
    break;
  }
  // A task's first answer says it has taken its queues from the record; from
  // then on it touches the record only between an order and its answer, so
  // the record's owner may free it after shutdown (or after an invocation
  // that ended without one).
  for (int32_t i = 0; i < started; ++i)
    MPWaitOnQueue(RecordAt(pool, i).replyQueue, nullptr, nullptr, nullptr, kDurationForever);
}

int32_t MacThreadedTaskDispatcher(void* param) {
  auto* record = static_cast<TaskPoolRecord*>(param);
  const MPQueueID request = record->requestQueue;
  const MPQueueID reply = record->replyQueue;
  MPNotifyQueue(reply, nullptr, nullptr, nullptr);
  for (;;) {
    void* kindWord = nullptr;
    void* bodyWord = nullptr;
    const int32_t err = MPWaitOnQueue(request, &kindWord, &bodyWord, nullptr, kDurationForever);
    if (err != kMPNoErr) return err;
    const auto kind = int32_t(reinterpret_cast<intptr_t>(kindWord));
    const bool quit = kind == TaskKind_Quit;
    if (!quit) {
      const auto body = reinterpret_cast<TaskOrderBody>(bodyWord);
      (body ? body : RunStandardOrder)(TaskOf(*record), kind);
    }
    MPNotifyQueue(reply, nullptr, nullptr, nullptr);
    if (quit) return 0;
  }
}

void launch_only_all_tasks_with(Globals* globals, TaskOrderBody body) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  if (!pool.records) return;
  const int32_t n = std::min(*pool.taskCount, pool.recordCount);
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.launchStatus = r.requestQueue
                         ? MPNotifyQueue(r.requestQueue, KindMessage(r.kind), reinterpret_cast<void*>(body), nullptr)
                         : kMPInvalidIDErr;
  }
  // What could not be posted is done here, in record order, while the posted
  // shares run.
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    if (r.launchStatus == kLaunchPosted) continue;
    r.launchStatus = kLaunchIdle;
    body(TaskOf(r), r.kind);
  }
}

void launch_one_task_with(Globals* globals, int32_t i, TaskOrderBody body) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  if (!pool.records || i < 0 || i >= pool.recordCount) return;
  TaskPoolRecord& r = RecordAt(pool, i);
  if (r.launchStatus == kLaunchPosted) return;
  r.launchStatus = r.requestQueue
                       ? MPNotifyQueue(r.requestQueue, KindMessage(r.kind), reinterpret_cast<void*>(body), nullptr)
                       : kMPInvalidIDErr;
  if (r.launchStatus == kLaunchPosted) return;
  r.launchStatus = kLaunchIdle;
  body(TaskOf(r), r.kind);
}

bool poll_one_task(Globals* globals, int32_t i) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  if (!pool.records || i < 0 || i >= pool.recordCount) return true;
  TaskPoolRecord& r = RecordAt(pool, i);
  if (r.launchStatus != kLaunchPosted) return true;
  if (MPWaitOnQueue(r.replyQueue, nullptr, nullptr, nullptr, kDurationImmediate) != kMPNoErr) return false;
  r.launchStatus = kLaunchIdle;
  return true;
}

void launch_only_all_tasks(Globals* globals) { launch_only_all_tasks_with(globals, RunStandardOrder); }

void finish_only_all_tasks(Globals* globals) { FinishOrders(TaskPoolStateOf(globals)); }

void launch_and_finish_all_tasks_with(Globals* globals, TaskOrderBody body) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  if (!pool.records) return;
  const int32_t n = std::min(*pool.taskCount, pool.recordCount);
  if (n < 1) return;
  // The calling thread would only wait, so it does the first share itself:
  // one order fewer to post and to be woken for, and no share waits for a
  // free core that the caller is holding. Share 0's task gets no order now,
  // so its record is the caller's alone until the join.
  TaskPoolRecord& own = RecordAt(pool, 0);
  for (int32_t i = 1; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.launchStatus = r.requestQueue
                         ? MPNotifyQueue(r.requestQueue, KindMessage(r.kind), reinterpret_cast<void*>(body), nullptr)
                         : kMPInvalidIDErr;
  }
  own.launchStatus = kLaunchIdle;
  body(TaskOf(own), own.kind);
  for (int32_t i = 1; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    if (r.launchStatus == kLaunchPosted) continue;
    r.launchStatus = kLaunchIdle;
    body(TaskOf(r), r.kind);
  }
  FinishOrders(pool);
}

void launch_and_finish_all_tasks(Globals* globals) { launch_and_finish_all_tasks_with(globals, RunStandardOrder); }

void Bust_row_into_tasks(int32_t first, int32_t last, int32_t kind, Globals* globals, void* job, int32_t row,
                         PyramidDescriptor* outputPyramid) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  FinishAnyOutstandingOrders(pool);
  const int64_t items = int64_t(last) - first + 1;
  const int32_t n = int32_t(std::max<int64_t>(0, std::min<int64_t>(ShareLimit(pool), items)));
  *pool.taskCount = n;
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.firstColumn = first + ShareStart(i, int32_t(items), n);
    r.lastColumn = first + ShareStart(i + 1, int32_t(items), n) - 1;
    r.spanFirst = first;
    r.spanLast = last;
    r.shareIndex = i;
    r.shareCount = n;
    r.kind = kind;
    r.globals = globals;
    r.row = row;
    r.outputPyramid = outputPyramid;
    r.job = job;
  }
}

void Bust_rectangle_into_tasks(const Rect* rect, int32_t kind, Globals* globals, void* job,
                               PyramidDescriptor* outputPyramid) {
  const TaskPoolState pool = TaskPoolStateOf(globals);
  FinishAnyOutstandingOrders(pool);
  const int32_t w = int32_t(rect->right) - rect->left;
  const int32_t h = int32_t(rect->bottom) - rect->top;
  const bool alongX = w >= h;
  // A rectangle without area is an empty job, even when one side is long.
  const int32_t length = (w > 0 && h > 0) ? (alongX ? w : h) : 0;
  const int32_t n = std::max(0, std::min(ShareLimit(pool), length));
  *pool.taskCount = n;
  for (int32_t i = 0; i < n; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    const int32_t a = ShareStart(i, length, n), b = ShareStart(i + 1, length, n);
    r.strip = *rect;
    r.shareCount = 0;  // not a row job: the body takes its strip whole
    if (alongX) {
      r.strip.left = int16_t(rect->left + a);
      r.strip.right = int16_t(rect->left + b);
    } else {
      r.strip.top = int16_t(rect->top + a);
      r.strip.bottom = int16_t(rect->top + b);
    }
    r.kind = kind;
    r.globals = globals;
    r.job = job;
    r.outputPyramid = outputPyramid;
  }
}

void End_multithreading(Globals* globals) {
  // A row rendered ahead that the host never asked for is still answered
  // before the tasks are told to end, so no answer is left for a wait that
  // belongs to the quit.
  const TaskPoolState pool = TaskPoolStateOf(globals);
  if (pool.records) FinishAnyOutstandingOrders(pool);
  const int32_t count = pool.records ? pool.recordCount : 0;
  for (int32_t i = 0; i < count; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    r.launchStatus = r.requestQueue ? MPNotifyQueue(r.requestQueue, KindMessage(TaskKind_Quit), nullptr, nullptr)
                                    : kLaunchIdle;
  }
  *pool.taskCount = count;
  FinishOrders(pool);
  const MPQueueID termination = *pool.terminationQueue;
  for (int32_t i = 0; i < count; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    if (!r.taskId) continue;
    MPTerminateTask(r.taskId, 0);
    r.taskId = 0;
    if (termination) MPWaitOnQueue(termination, nullptr, nullptr, nullptr, kTerminationWaitMs);
  }
  for (int32_t i = 0; i < count; ++i) {
    TaskPoolRecord& r = RecordAt(pool, i);
    if (r.requestQueue) MPDeleteQueue(r.requestQueue);
    if (r.replyQueue) MPDeleteQueue(r.replyQueue);
    r.requestQueue = r.replyQueue = 0;
  }
  if (termination) MPDeleteQueue(termination);
  *pool.terminationQueue = 0;
}
