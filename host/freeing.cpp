#include "host/freeing.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "host/parallel_parts.h"
#include "platform/memory.h"

namespace gyhost {

namespace {

// Below this a free is quick enough to make here.
constexpr int64_t kFreeLaterFrom = int64_t(1) << 20;
// Each thread that releases part of a picture takes at least this much.
constexpr size_t kReleasePart = size_t(4) << 20;

class Releaser {
 public:
  ~Releaser() { Finish(); }

  void Take(void* block, int64_t bytes) {
    std::unique_lock lock(mutex_);
    if (!worker_.joinable()) {
      try {
        worker_ = std::thread([this] { Run(); });
      } catch (const std::system_error&) {
        lock.unlock();
        std::free(block);
        return;
      }
    }
    try {
      queue_.push_back({block, bytes});
    } catch (const std::bad_alloc&) {
      lock.unlock();
      std::free(block);
      return;
    }
    wake_.notify_one();
  }

  void Finish() {
    {
      std::lock_guard lock(mutex_);
      if (!worker_.joinable()) return;
      stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;  // stopping, and nothing left
      std::vector<Block> blocks;
      blocks.swap(queue_);
      lock.unlock();
      for (const Block& b : blocks) {
        // Unmapping holds the process's memory map while it clears the
        // pages, and the host's own page faults and thread starts queue
        // behind it; handing the pages back first holds only the block.
        ReleasePages(b.block, b.bytes);
        std::free(b.block);
      }
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  struct Block {
    void* block;
    int64_t bytes;
  };
  std::vector<Block> queue_;
  bool stopping_ = false;
  std::thread worker_;
};

Releaser& TheReleaser() {
  static Releaser releaser;
  return releaser;
}

}  // namespace

void FreeLater(void* block, int64_t bytes) {
  if (!block) return;
  if (bytes < kFreeLaterFrom) return std::free(block);
  TheReleaser().Take(block, bytes);
}

void FinishFreeing() { TheReleaser().Finish(); }

void ReleasePicture(HostImage* image, int32_t threads) {
  uint8_t* data = image->data.data();
  const size_t size = image->data.size();
  const size_t cores = ThreadsFor(threads);
  const size_t n = std::min({cores, size_t(8), std::max<size_t>(1, size / kReleasePart)});
  RunSpans(size, n, [&](size_t begin, size_t end) { ReleasePages(data + begin, int64_t(end - begin)); });
  SampleBytes().swap(image->data);
}

}  // namespace gyhost
