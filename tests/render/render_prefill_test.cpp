// The prefill that runs on the main thread before a row's tasks: one lookup
// in the grid of every output mode that reads a lazily unpacked table.
#include <gtest/gtest.h>

#include <memory>

#include "frame/base/task_pool.h"
#include "projection/lookup/lookup_cache.h"
#include "projection/task_record.h"
#include "render/rows/scanline_setup.h"
#include "render/vort.h"

namespace {

TEST(Prefill, UnpacksTheGridOfEveryModeThatReadsOne) {
  const struct {
    int32_t mode, cacheId;
  } cases[] = {
      {35, LookupCache_Winkel},       {51, LookupCache_SphereCube},  {252, LookupCache_SphereCube},
      {90, LookupCache_Peirce},       {99, LookupCache_Peirce},      {165, LookupCache_Peirce},
      {1041, LookupCache_Peirce},     {140, LookupCache_Equalsquarea}, {1, 0},
      {46, 0},                        {97, 0},                       {80, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrefilledLookupCache(c.mode), c.cacheId) << c.mode;
    if (c.cacheId == 0) continue;
    auto view = std::make_unique<vort>();
    view->outputMode = c.mode;
    PerTaskStuffType task{};
    task.job = view.get();
    Prefill_any_threadshared_caches(&task);
    EXPECT_TRUE(LookupTableIsResident(c.cacheId)) << c.mode;
  }
}

}  // namespace
