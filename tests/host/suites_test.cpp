// The buffer suite's bookkeeping and faults, and the handle suite.
#include "host/suites.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/memory.h"

namespace gyhost {
namespace {

class BufferSuite : public ::testing::Test {
 protected:
  void SetUp() override { ResetBufferSuite(BufferSuiteConfig{}); }
  void TearDown() override { ResetBufferSuite(BufferSuiteConfig{}); }
  BufferProcs procs_ = MakeBufferProcs();
};

TEST_F(BufferSuite, CountsEveryBufferUntilItIsFreed) {
  BufferID a = 0, b = 0;
  ASSERT_EQ(procs_.allocateProc(1000, &a), 0);
  ASSERT_EQ(procs_.allocateProc(24, &b), 0);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  void* p = procs_.lockProc(a, 1);
  ASSERT_NE(p, nullptr);
  std::memset(p, 0xAB, 1000);  // the whole block is usable
  EXPECT_EQ(procs_.spaceProc(), int32_t(kHostBufferSpace - 1024));
  BufferStats s = GetBufferStats();
  EXPECT_EQ(s.allocations, 2);
  EXPECT_EQ(s.outstanding, 2);
  EXPECT_EQ(s.outstandingBytes, 1024);
  EXPECT_EQ(s.neverLocked, 1);  // b

  procs_.unlockProc(a);
  procs_.freeProc(a);
  procs_.freeProc(a);  // twice: the second is reported, not honoured
  s = GetBufferStats();
  EXPECT_EQ(s.frees, 1);
  EXPECT_EQ(s.badFrees, 1);
  EXPECT_EQ(s.outstanding, 1);
  EXPECT_EQ(s.peakBytes, 1024);

  EXPECT_EQ(ReleaseLeftoverBuffers(), 1);
  EXPECT_EQ(GetBufferStats().outstanding, 0);
}

TEST_F(BufferSuite, RefusesBeyondItsSpaceAndOnRequest) {
  BufferID id = 99;
  EXPECT_EQ(procs_.allocateProc(-1, &id), -50);
  EXPECT_EQ(id, 0u);

  BufferSuiteConfig small;
  small.maxSpace = 100;
  ResetBufferSuite(small);
  EXPECT_EQ(procs_.allocateProc(60, &id), 0);
  BufferID second = 0;
  EXPECT_EQ(procs_.allocateProc(60, &second), -108);
  EXPECT_EQ(second, 0u);
  procs_.freeProc(id);
  EXPECT_EQ(procs_.allocateProc(60, &second), 0);
  procs_.freeProc(second);

  BufferSuiteConfig refuse;
  refuse.refuseAllocate = true;
  ResetBufferSuite(refuse);
  EXPECT_EQ(procs_.allocateProc(16, &id), -108);
  EXPECT_EQ(GetBufferStats().refusals, 1);

  BufferSuiteConfig noLock;
  noLock.refuseLock = true;
  ResetBufferSuite(noLock);
  ASSERT_EQ(procs_.allocateProc(16, &id), 0);
  EXPECT_EQ(procs_.lockProc(id, 1), nullptr);
  procs_.freeProc(id);
  EXPECT_EQ(GetBufferStats().neverLocked, 1);
  EXPECT_EQ(GetBufferStats().outstanding, 0);
}

TEST(HandleSuite, HandlesCrossTheSuiteAndTheSystemCalls) {
  ResetHandleSuite();
  const HandleProcs procs = MakeHandleProcs();
  EXPECT_EQ(procs.handleProcsVersion, 1);
  EXPECT_EQ(procs.numHandleProcs, 8);
  Handle h = procs.newProc(16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(procs.getSizeProc(h), 16);
  EXPECT_EQ(procs.setSizeProc(h, 4000), 0);
  EXPECT_EQ(GetHandleSize(h), 4000);
  char* p = procs.lockProc(h, 0);
  ASSERT_EQ(p, *h);
  std::memset(p, 1, 4000);
  procs.unlockProc(h);
  EXPECT_EQ(procs.setSizeProc(h, -1), -50);
  DisposeHandle(h);  // made by the suite, freed by the system call

  Handle sys = NewHandle(8);
  procs.disposeProc(sys);  // and the other way round
  procs.disposeProc(nullptr);
  EXPECT_EQ(GetHandleStats().created, 1);
  EXPECT_EQ(GetHandleStats().disposed, 1);
}

}  // namespace
}  // namespace gyhost
