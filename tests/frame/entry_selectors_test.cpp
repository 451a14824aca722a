// The entry point as a host sees it: selectors, result codes, the Globals
// handle in the data word, the settings record, and clean endings.
#include <gtest/gtest.h>

#include <cstring>

#include "entry_fake_host.h"
#include "frame/globals.h"
#include "frame/plugin_main.h"
#include "platform/memory.h"

namespace {

Globals* GlobalsOf(const EntryFakeHost& host) {
  return reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(host.data));
}

TParameters* SettingsOf(const EntryFakeHost& host) { return reinterpret_cast<TParameters*>(*host.record.parameters); }

struct BudgetGuard {
  explicit BudgetGuard(int64_t n) { SetSystemAllocationBudget(n); }
  ~BudgetGuard() { SetSystemAllocationBudget(-1); }
};

TEST(EntrySelectors, AboutTouchesNothing) {
  EntryFakeHost host(4, 4, 3);
  int16_t result = 777;
  testing::internal::CaptureStderr();
  PluginMain(kSelectorAbout, &host.record, &host.data, &result);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, 777);
  EXPECT_EQ(host.data, 0);
  EXPECT_EQ(host.record.parameters, nullptr);
}

TEST(EntrySelectors, UnknownSelectorsAnswerBadSelectorAndKeepTheHandle) {
  for (int16_t selector : {int16_t(6), int16_t(-1), int16_t(200)}) {
    EntryFakeHost host(4, 4, 3);
    EXPECT_EQ(host.Call(selector), -30100) << selector;
    EXPECT_NE(host.data, 0) << selector;
  }
}

TEST(EntrySelectors, FreshHandleOnlyWhenParametersCreatedIt) {
  EntryFakeHost host(4, 4, 3);
  ASSERT_EQ(host.Call(kSelectorParameters), 0);
  EXPECT_EQ(GlobalsOf(host)->freshHandle, 1);
  EXPECT_EQ(GlobalsOf(host)->parametersSelectorSeen, 1);
  EXPECT_EQ(SettingsOf(host)->showDialog, 1);
  ASSERT_EQ(host.Call(kSelectorParameters), 0);
  EXPECT_EQ(GlobalsOf(host)->freshHandle, 0);
}

TEST(EntrySelectors, NewSettingsRecordCarriesTheDefaults) {
  EntryFakeHost host(4, 4, 3);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  const TParameters* p = SettingsOf(host);
  EXPECT_STREQ(p->settingsName, "Gyrelle 2 settings");
  EXPECT_EQ(p->glueMode, 1);
  EXPECT_EQ(p->inputMode, 1);
  EXPECT_EQ(p->outputMode, 1);
  EXPECT_EQ(p->viewAngleInt, 120);
  EXPECT_EQ(p->viewAngle, 120.0f);
  EXPECT_EQ(p->colorA[0], 0xD7D7);
  EXPECT_EQ(p->colorA[1], 0xACAC);
  EXPECT_EQ(p->colorA[2], 0xDCDC);
  EXPECT_EQ(p->colorB[0], 0xFFFF);
  EXPECT_EQ(p->previewQuality, 2);
  EXPECT_EQ(p->altOutputMode, 6);
  EXPECT_EQ(p->sizedExportWidth, 100);
  EXPECT_EQ(p->sizedExportChoice, 1);
  EXPECT_EQ(p->showDialog, 0);
}

TEST(EntrySelectors, HandedSettingsRecordIsUsedUnchanged) {
  EntryFakeHost host(4, 4, 3);
  host.record.parameters = NewHandleClear(sizeof(TParameters));
  TParameters* p = SettingsOf(host);
  p->outputMode = 46;
  p->glueMode = 7;
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  EXPECT_EQ(p->outputMode, 46);
  EXPECT_EQ(p->glueMode, 7);
  EXPECT_EQ(p->settingsName[0], 0);
}

TEST(EntrySelectors, NoMemoryForTheGlobalsHandleIsOutOfMemory) {
  EntryFakeHost host(4, 4, 3);
  BudgetGuard refuse(0);
  EXPECT_EQ(host.Call(kSelectorPrepare), -108);
  EXPECT_EQ(host.data, 0);
}

TEST(EntrySelectors, NoMemoryForTheSettingsRecordIsOutOfMemory) {
  EntryFakeHost host(4, 4, 3);
  host.handleProcs.handleProcsVersion = 2;  // forces the system allocator
  BudgetGuard oneLeft(1);                   // enough for Globals only
  EXPECT_EQ(host.Call(kSelectorPrepare), -108);
  EXPECT_NE(host.data, 0);
  EXPECT_EQ(host.record.parameters, nullptr);
}

TEST(EntrySelectors, PrepareAsksForColumnRecordSpace) {
  struct Case {
    int w, h;
    int32_t records, bufferSpace;
  } cases[] = {
      {100, 50, 2484, 756248},
      {4000, 6000, 14184, 4313048},
      {1000, 3000, 6008, 304 * 6008 + 1112},
  };
  for (const Case& c : cases) {
    EntryFakeHost host(1, 1, 3);
    host.record.filterRect = Rect{0, 0, int16_t(c.h), int16_t(c.w)};
    ASSERT_EQ(host.Call(kSelectorPrepare), 0);
    EXPECT_EQ(GlobalsOf(host)->columnRecordCount, c.records) << c.w << "x" << c.h;
    EXPECT_EQ(host.record.bufferSpace, c.bufferSpace) << c.w << "x" << c.h;
    EXPECT_EQ(GlobalsOf(host)->savedFilterRect.right, c.w);
  }
}

TEST(EntryInvocation, WholePassWithAdvanceStateInOneContinue) {
  EntryFakeHost host(7, 5, 3);
  ASSERT_EQ(host.RunInvocation(), 0);
  host.Finish();
  EXPECT_EQ(host.continueCalls, 1);
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(GlobalsOf(host)->storage, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(EntryInvocation, HostWithoutAdvanceStateIsRefusedCleanly) {
  // The image is read on request; without advanceState the result would be
  // blank, so start refuses instead of reporting success.
  EntryFakeHost host(6, 4, 1);
  host.record.advanceState = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_EQ(host.RunInvocation(), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("advanceState"), std::string::npos);
  EXPECT_EQ(host.continueCalls, 0);
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(GlobalsOf(host)->storage, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(EntryInvocation, GlobalsStayAtOneAddressAcrossSelectors) {
  EntryFakeHost host(3, 3, 3);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* before = GlobalsOf(host);
  ASSERT_EQ(host.Call(kSelectorStart), 0);
  EXPECT_EQ(before->previewPyramid.owner, before);
  ASSERT_EQ(host.Call(kSelectorContinue), 0);
  EXPECT_EQ(GlobalsOf(host), before);
}

TEST(EntryInvocation, MultichannelIsRefusedAndEverythingFreed) {
  EntryFakeHost host(4, 4, 3);
  host.record.imageMode = kImageModeMultichannel;
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(host.Call(kSelectorStart), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("multichannel"), std::string::npos);
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(GlobalsOf(host)->storage, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(EntryInvocation, NoMemoryAtStartIsRefusedWithEverythingFreed) {
  EntryFakeHost host(4, 4, 3);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  host.refuseAllocate = true;
  BudgetGuard refuse(1);  // the column records get system memory, nothing else does
  EXPECT_EQ(host.Call(kSelectorStart), 1);
  const Globals* g = GlobalsOf(host);
  EXPECT_EQ(g->storage, nullptr);
  EXPECT_EQ(g->columnRecords, nullptr);
  EXPECT_EQ(g->taskRecords, nullptr);
  EXPECT_EQ(g->columnRecordsBufferID, 0u);
  EXPECT_TRUE(host.RectsEmpty());
}

TEST(EntryInvocation, AbortMidPassCancelsAndShutsDown) {
  // The host is asked on every 32nd row only: the second question aborts.
  EntryFakeHost host(5, 100, 3);
  host.abortAfterPolls = 1;
  EXPECT_EQ(host.RunInvocation(), -128);
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(GlobalsOf(host)->storage, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(EntryInvocation, AdvanceStateErrorIsPassedOnUnchanged) {
  EntryFakeHost host(5, 20, 3);
  host.advanceError = -36;
  host.advanceErrorAtCall = 4;
  EXPECT_EQ(host.RunInvocation(), -36);
  // The host will not call again: the invocation must already be shut down.
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(GlobalsOf(host)->storage, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(EntryInvocation, RepeatedInvocationsReuseTheHandlesCleanly) {
  EntryFakeHost host(9, 6, 4);
  std::vector<uint8_t> first;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(host.RunInvocation(i == 0), 0) << i;
    host.Finish();
    if (i == 0) first = host.output;
    EXPECT_EQ(host.output, first) << i;
    EXPECT_EQ(host.OutstandingBuffers(), 0) << i;
  }
}

}  // namespace
