// Memory handed back early: the pages of a block go, its neighbours keep
// what they hold, and every block handed over is freed by the end.
#include "host/freeing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include <unistd.h>

#include "platform/memory.h"

namespace gyhost {
namespace {

// Released pages read as zeros; the partial pages at a span's ends, which
// may belong to whatever lies beside it, keep every byte.
TEST(Freeing, ReleasedPagesReadAsZerosAndTheirNeighboursAreKept) {
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  std::vector<uint8_t> block(page * 8);
  const auto fill = [&] {
    for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(1 + i % 251);
  };
  uint8_t* base = block.data();
  const uintptr_t aligned = (uintptr_t(base) + page - 1) & ~uintptr_t(page - 1);
  const size_t lead = aligned - uintptr_t(base);
  struct Span {
    size_t start, bytes;
  } spans[] = {{lead, page * 3},           {lead + 1, page * 3},       {lead + 100, page - 200},
               {lead + page - 1, page * 2 + 2}, {lead, 0}};
  for (const Span& s : spans) {
    fill();
    ReleasePages(base + s.start, int64_t(s.bytes));
    const uintptr_t first = (uintptr_t(base) + s.start + page - 1) & ~uintptr_t(page - 1);
    const uintptr_t end = (uintptr_t(base) + s.start + s.bytes) & ~uintptr_t(page - 1);
    for (size_t i = 0; i < block.size(); ++i) {
      const uintptr_t at = uintptr_t(base) + i;
      const bool released = at >= first && at < end;
      ASSERT_EQ(block[i], released ? 0 : uint8_t(1 + i % 251)) << "span at " << s.start << ", byte " << i;
    }
  }
  ReleasePages(nullptr, int64_t(page));
}

TEST(Freeing, EveryBlockHandedOverIsFreedAndTheReleaserStartsAgain) {
  for (int round = 0; round < 2; ++round) {
    for (int64_t bytes : {int64_t(16), int64_t(3) << 20, int64_t(1) << 20}) {
      void* block = std::malloc(size_t(bytes));
      ASSERT_NE(block, nullptr);
      std::memset(block, 0x5A, size_t(bytes));
      FreeLater(block, bytes);
    }
    FreeLater(nullptr, int64_t(1) << 24);
    FinishFreeing();
    FinishFreeing();  // nothing left: returns at once
  }
}

TEST(Freeing, ReleasingAPictureEmptiesIt) {
  for (int32_t threads : {0, 1, 3}) {
    HostImage image;
    ASSERT_TRUE(ResizeHostImage(&image, 2048, 1500, 3, true, SampleType::U8));
    std::memset(image.data.data(), 0x33, image.data.size());
    ReleasePicture(&image, threads);
    EXPECT_TRUE(image.data.empty());
    EXPECT_EQ(image.data.capacity(), 0u);
  }
  HostImage empty;
  ReleasePicture(&empty, 4);
  EXPECT_TRUE(empty.data.empty());
}

}  // namespace
}  // namespace gyhost
