// The host-service layer: which suites count as usable, and where memory
// comes from when they do not.
#include <gtest/gtest.h>

#include "entry_fake_host.h"
#include "frame/base/host_suites.h"
#include "platform/memory.h"

namespace {

TEST(HostSuites, BufferSuiteVersionsAndCounts) {
  EntryFakeHost host(1, 1, 1);
  BufferProcs procs = host.bufferProcs;
  EXPECT_TRUE(HostBufferProcsAvailable(&procs, nullptr));
  struct Case {
    int16_t version, count;
    bool usable, newer;
  } cases[] = {{2, 5, true, false}, {3, 5, false, true}, {1, 5, false, false}, {2, 4, false, false}};
  for (const Case& c : cases) {
    procs.bufferProcsVersion = c.version;
    procs.numBufferProcs = c.count;
    bool newer = false;
    EXPECT_EQ(HostBufferProcsAvailable(&procs, &newer), c.usable) << c.version << "/" << c.count;
    EXPECT_EQ(newer, c.newer) << c.version << "/" << c.count;
  }
  procs = host.bufferProcs;
  procs.spaceProc = nullptr;
  EXPECT_FALSE(HostBufferProcsAvailable(&procs, nullptr));
  EXPECT_FALSE(HostBufferProcsAvailable(nullptr, nullptr));
}

TEST(HostSuites, HandleSuiteNeedsVersionOneAndEightProcedures) {
  EntryFakeHost host(1, 1, 1);
  HandleProcs procs = host.handleProcs;
  EXPECT_TRUE(HostHandleProcsAvailable(&procs, nullptr));
  procs.numHandleProcs = 7;
  EXPECT_FALSE(HostHandleProcsAvailable(&procs, nullptr));
  // Without a usable suite the system's handles still serve.
  Handle h = HostNewHandle(&procs, 16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetHandleSize(h), 16);
  HostDisposeHandle(&procs, h);
}

TEST(HostSuites, RobustNewPtrPrefersLockedHostBuffers) {
  EntryFakeHost host(1, 1, 1);
  BufferID id = 0;
  void* p = RobustNewPtr(64, &id, &host.bufferProcs);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_EQ(host.OutstandingBuffers(), 1);
  RobustDisposePtr(&p, &id, &host.bufferProcs);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(HostSuites, RobustNewPtrFallsBackToSystemMemory) {
  struct Case {
    const char* name;
    bool refuseAllocate, refuseLock;
    int16_t version;
  } cases[] = {
      {"allocation refused", true, false, 2},
      {"lock refused", false, true, 2},
      {"suite version 3", false, false, 3},
  };
  for (const Case& c : cases) {
    EntryFakeHost host(1, 1, 1);
    host.refuseAllocate = c.refuseAllocate;
    host.refuseLock = c.refuseLock;
    host.bufferProcs.bufferProcsVersion = c.version;
    BufferID id = 99;
    void* p = RobustNewPtr(64, &id, &host.bufferProcs);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(id, 0u) << c.name;
    // A host buffer that could not be locked is given back, not leaked.
    EXPECT_EQ(host.OutstandingBuffers(), 0) << c.name;
    RobustDisposePtr(&p, &id, &host.bufferProcs);
    EXPECT_EQ(p, nullptr) << c.name;
  }
}

TEST(HostSuites, RobustNewPtrIsNullWhenNobodyHasMemory) {
  EntryFakeHost host(1, 1, 1);
  host.refuseAllocate = true;
  SetSystemAllocationBudget(0);
  BufferID id = 0;
  EXPECT_EQ(RobustNewPtr(64, &id, &host.bufferProcs), nullptr);
  SetSystemAllocationBudget(-1);
  void* none = nullptr;
  RobustDisposePtr(&none, &id, &host.bufferProcs);  // a null block is accepted
}

TEST(HostSuites, CenterAonBTruncatesTowardZero) {
  struct Case {
    Rect a, b;
    int16_t left, right;
  } cases[] = {
      {{0, 0, 1, 5}, {0, 0, 1, 10}, 3, 8},
      {{0, 0, 1, 5}, {0, -11, 1, 0}, -7, -2},
  };
  for (Case c : cases) {
    CenterAonB(&c.a, &c.b);
    EXPECT_EQ(c.a.left, c.left);
    EXPECT_EQ(c.a.right, c.right);
  }
}

TEST(HostSuites, DescriptorSuiteAndPlayDialog) {
  EXPECT_FALSE(HostDescriptorAvailable(nullptr));
  PIDescriptorParameters params{};
  EXPECT_FALSE(HostDescriptorAvailable(&params));
  params.playInfo = kPlayInfoDialogDisplay;
  EXPECT_TRUE(HostPlayDialog(&params));
  EXPECT_FALSE(HostAdvanceStateAvailable(nullptr));
  EXPECT_EQ(HostAdvanceState(nullptr), -128);  // never calls through null
}

}  // namespace
