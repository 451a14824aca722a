// Glueing one row of 4096 RGB pixels, per mode and form: the mode's function
// is looked up once per row, as the pixel output does.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/output/glue_modes.h"

namespace {

constexpr int32_t kRow = 4096;

void BM_GlueRow(benchmark::State& state) {
  const int32_t mode = static_cast<int32_t>(state.range(0));
  const GlueForm form = state.range(1) ? GlueForm::Bits16 : GlueForm::Bits8;
  std::mt19937 rng(1);
  std::uniform_int_distribution<int32_t> any(0, GlueFullScale(form));
  std::vector<int32_t> result(3 * kRow), unfiltered(3 * kRow), work(3 * kRow);
  for (int32_t& v : result) v = any(rng);
  for (int32_t& v : unfiltered) v = any(rng);
  for (auto _ : state) {
    work = result;
    const GlueFunction glue = GlueFunctionFor(mode, form);
    for (int32_t x = 0; x < kRow; ++x) {
      int32_t* p = &work[3 * x];
      const int32_t* q = &unfiltered[3 * x];
      glue(p[0], p[1], p[2], q[0], q[1], q[2]);
    }
    benchmark::DoNotOptimize(work.data());
  }
  state.SetItemsProcessed(state.iterations() * kRow);
  state.SetLabel(FindGlueMode(mode)->keyword);
}

// Channel formulas (multiply, soft light, multibright), a whole-pixel choice
// (bright), compass (north), HSL (hue, frontal) and Lab (parietal).
BENCHMARK(BM_GlueRow)->ArgsProduct({{9, 27, 39, 28, 48, 23, 53, 54}, {0, 1}});

}  // namespace
