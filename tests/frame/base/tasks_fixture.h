// A Globals with its own task records and a forced platform, for the pool
// suites. The platform configuration is process-wide: every fixture puts it
// back when it ends.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "platform/tasks.h"
#include "projection/task_record.h"

class PoolFixture {
 public:
  // `spare` records after the allocated ones catch writes past the end.
  PoolFixture(int32_t records, int32_t processors, bool inlineTasks, int32_t spare = 2)
      : globals_(std::make_unique<Globals>()), records_(size_t(records + spare)) {
    GyrellePlatformConfigure("processors", processors);
    GyrellePlatformConfigure("inline_tasks", inlineTasks ? 1 : 0);
    for (PerTaskStuffType& r : records_) r.kind = kSentinelKind;
    for (int32_t i = 0; i < records; ++i) records_[size_t(i)] = PerTaskStuffType{};
    globals_->taskRecords = records_.data();
    globals_->taskRecordCount = records;
  }
  ~PoolFixture() {
    End_multithreading(globals_.get());
    SetTaskCreationBudget(-1);
    GyrellePlatformConfigure("processors", 0);
    GyrellePlatformConfigure("inline_tasks", 0);
  }
  Globals* g() { return globals_.get(); }
  PerTaskStuffType& record(size_t i) { return records_[i]; }
  bool SpareRecordsUntouched() const {
    for (size_t i = size_t(globals_->taskRecordCount); i < records_.size(); ++i)
      if (records_[i].kind != kSentinelKind || records_[i].taskId != 0 || records_[i].requestQueue != 0) return false;
    return true;
  }
  int32_t StartedTasks() const {
    int32_t n = 0;
    for (int32_t i = 0; i < globals_->taskRecordCount; ++i) n += records_[size_t(i)].taskId != 0;
    return n;
  }

 private:
  static constexpr int32_t kSentinelKind = 0x5EA1;
  std::unique_ptr<Globals> globals_;
  std::vector<PerTaskStuffType> records_;
};
