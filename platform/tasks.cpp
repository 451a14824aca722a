#include "platform/tasks.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/config.h"

namespace {

struct Message {
  void* p[3];
};

// A ring of reserved message slots: posting never allocates.
struct Queue {
  std::mutex mutex;
  std::condition_variable ready;
  std::vector<Message> ring;
  size_t head = 0;
  size_t count = 0;
  bool deleted = false;
  // Mirrors count (and deletion) for waiters that spin before they sleep.
  std::atomic<int32_t> pending{0};
};

struct Task {
  std::thread thread;
  std::atomic<bool> abortRequested{false};
  // A task never ended (the process exits first) must not abort the exit.
  ~Task() {
    if (thread.joinable()) thread.detach();
  }
};

// Ids map to records through one registry, so a stale or foreign id is
// refused instead of dereferenced, and a queue deleted while someone waits on
// it stays alive until that waiter has woken.
// Lookups (every post and every wait) far outnumber changes, and all worker
// tasks look up at once at every fork and join.
std::shared_mutex g_registryMutex;
std::map<intptr_t, std::shared_ptr<Queue>> g_queues;
std::map<intptr_t, std::shared_ptr<Task>> g_tasks;
intptr_t g_nextId = 1;
std::atomic<int64_t> g_creationBudget{-1};

thread_local Task* t_currentTask = nullptr;

std::shared_ptr<Queue> FindQueue(MPQueueID id) {
  std::shared_lock<std::shared_mutex> lock(g_registryMutex);
  auto it = g_queues.find(id);
  return it == g_queues.end() ? nullptr : it->second;
}

bool TakeFromCreationBudget() {
  int64_t b = g_creationBudget.load();
  while (b >= 0) {
    if (b == 0) return false;
    if (g_creationBudget.compare_exchange_weak(b, b - 1)) return true;
  }
  return true;
}

// Wakes every waiter so that a task asked to end notices it in whatever
// queue it sleeps on.
void WakeAllQueues() {
  std::vector<std::shared_ptr<Queue>> all;
  {
    std::shared_lock<std::shared_mutex> lock(g_registryMutex);
    all.reserve(g_queues.size());
    for (auto& [id, q] : g_queues) all.push_back(q);
  }
  for (auto& q : all) {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->ready.notify_all();
  }
}

void TaskThreadBody(std::shared_ptr<Task> self, MPTaskEntry entry, void* parameter, MPQueueID notifyQueue,
                    void* term1, void* term2) {
  t_currentTask = self.get();
  const int32_t result = entry(parameter);
  t_currentTask = nullptr;
  if (notifyQueue) MPNotifyQueue(notifyQueue, term1, term2, reinterpret_cast<void*>(intptr_t(result)));
}

// A worker's next order, and the main thread's answers, usually come within
// microseconds; sleeping on the condition variable and being woken costs
// far more than that (two system calls and a reschedule per order, twice a
// row). So a waiter first watches the queue for a short while.
void SpinBriefly(const Queue& q, const Task* self) {
  constexpr auto kSpinLimit = std::chrono::microseconds(200);
  constexpr int kChecksPerClockRead = 64;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    for (int i = 0; i < kChecksPerClockRead; ++i) {
      if (q.pending.load(std::memory_order_acquire) > 0) return;
      if (self && self->abortRequested.load(std::memory_order_relaxed)) return;
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    }
    if (std::chrono::steady_clock::now() - start > kSpinLimit) return;
    // Where cores are short, the thread this waiter waits for may need
    // this one's core.
    std::this_thread::yield();
  }
}

}  // namespace

int32_t MPProcessors() {
  if (int32_t forced = PlatformForcedProcessorCount(); forced > 0) return forced;
  const unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? int32_t(n) : 1;
}

int32_t MPProcessorsScheduled() { return MPProcessors(); }

bool MPIsFullyInitialized() { return !PlatformTasksForcedInline(); }

int32_t MPCreateQueue(MPQueueID* queue) {
  if (!queue) return kMPInvalidIDErr;
  *queue = 0;
  std::shared_ptr<Queue> q;
  try {
    q = std::make_shared<Queue>();
    q->ring.resize(kDefaultQueueReserve);
    std::lock_guard<std::shared_mutex> lock(g_registryMutex);
    const intptr_t id = g_nextId++;
    g_queues.emplace(id, q);
    *queue = id;
  } catch (...) {
    return kMPInsufficientResourcesErr;
  }
  return kMPNoErr;
}

int32_t MPDeleteQueue(MPQueueID queue) {
  std::shared_ptr<Queue> q;
  {
    std::lock_guard<std::shared_mutex> lock(g_registryMutex);
    auto it = g_queues.find(queue);
    if (it == g_queues.end()) return kMPInvalidIDErr;
    q = it->second;
    g_queues.erase(it);
  }
  std::lock_guard<std::mutex> lock(q->mutex);
  q->deleted = true;
  q->pending.fetch_add(1);
  q->ready.notify_all();
  return kMPNoErr;
}

int32_t MPSetQueueReserve(MPQueueID queue, int32_t count) {
  std::shared_ptr<Queue> q = FindQueue(queue);
  if (!q) return kMPInvalidIDErr;
  std::lock_guard<std::mutex> lock(q->mutex);
  const size_t want = size_t(count > 0 ? count : 1);
  if (want <= q->ring.size()) return kMPNoErr;
  try {
    std::vector<Message> grown(want);
    for (size_t i = 0; i < q->count; ++i) grown[i] = q->ring[(q->head + i) % q->ring.size()];
    q->ring.swap(grown);
    q->head = 0;
  } catch (...) {
    return kMPInsufficientResourcesErr;
  }
  return kMPNoErr;
}

int32_t MPNotifyQueue(MPQueueID queue, void* p1, void* p2, void* p3) {
  std::shared_ptr<Queue> q = FindQueue(queue);
  if (!q) return kMPInvalidIDErr;
  std::lock_guard<std::mutex> lock(q->mutex);
  if (q->deleted) return kMPDeletedErr;
  if (q->count == q->ring.size()) return kMPInsufficientResourcesErr;
  q->ring[(q->head + q->count) % q->ring.size()] = Message{{p1, p2, p3}};
  ++q->count;
  q->pending.fetch_add(1, std::memory_order_release);
  q->ready.notify_one();
  return kMPNoErr;
}

int32_t MPWaitOnQueue(MPQueueID queue, void** p1, void** p2, void** p3, int32_t timeoutMs) {
  std::shared_ptr<Queue> q = FindQueue(queue);
  if (!q) return kMPInvalidIDErr;
  Task* self = t_currentTask;
  if (timeoutMs == kDurationForever) SpinBriefly(*q, self);
  std::unique_lock<std::mutex> lock(q->mutex);
  auto settled = [&] { return q->count > 0 || q->deleted || (self && self->abortRequested.load()); };
  if (timeoutMs == kDurationForever)
    q->ready.wait(lock, settled);
  else if (timeoutMs > 0)
    q->ready.wait_for(lock, std::chrono::milliseconds(timeoutMs), settled);
  if (q->count > 0) {
    const Message& m = q->ring[q->head];
    if (p1) *p1 = m.p[0];
    if (p2) *p2 = m.p[1];
    if (p3) *p3 = m.p[2];
    q->head = (q->head + 1) % q->ring.size();
    --q->count;
    q->pending.fetch_sub(1, std::memory_order_relaxed);
    return kMPNoErr;
  }
  if (q->deleted) return kMPDeletedErr;
  if (self && self->abortRequested.load()) return kMPTaskAbortedErr;
  return kMPTimeoutErr;
}

int32_t MPCreateTask(MPTaskEntry entry, void* parameter, uint32_t /*stackSize*/, MPQueueID notifyQueue,
                     void* terminationParameter1, void* terminationParameter2, uint32_t /*options*/,
                     MPTaskID* task) {
  if (!task) return kMPInvalidIDErr;
  *task = 0;
  if (!entry) return kMPInvalidIDErr;
  if (!TakeFromCreationBudget()) return kMPInsufficientResourcesErr;
  try {
    auto t = std::make_shared<Task>();
    intptr_t id;
    {
      std::lock_guard<std::shared_mutex> lock(g_registryMutex);
      id = g_nextId++;
      g_tasks.emplace(id, t);
    }
    try {
      t->thread = std::thread(TaskThreadBody, t, entry, parameter, notifyQueue, terminationParameter1,
                              terminationParameter2);
    } catch (...) {
      std::lock_guard<std::shared_mutex> lock(g_registryMutex);
      g_tasks.erase(id);
      return kMPInsufficientResourcesErr;
    }
    *task = id;
  } catch (...) {
    return kMPInsufficientResourcesErr;
  }
  return kMPNoErr;
}

int32_t MPTerminateTask(MPTaskID task, int32_t /*terminationStatus*/) {
  std::shared_ptr<Task> t;
  {
    std::lock_guard<std::shared_mutex> lock(g_registryMutex);
    auto it = g_tasks.find(task);
    if (it == g_tasks.end()) return kMPInvalidIDErr;
    t = it->second;
    g_tasks.erase(it);
  }
  t->abortRequested.store(true);
  WakeAllQueues();
  if (t->thread.joinable()) {
    if (t->thread.get_id() == std::this_thread::get_id())
      t->thread.detach();
    else
      t->thread.join();
  }
  return kMPNoErr;
}

void SetTaskCreationBudget(int64_t successes) { g_creationBudget.store(successes); }
