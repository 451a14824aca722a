// The layered export of a solid's face groups: the planning that finds each
// group's narrowest turn (the solid built once, every trial turn measured on
// it) and the set-up of one planned group as each layer's render asks for
// it. Geodesic 20 I 5 (mode 198) and the twistless rind (248) have hundreds
// of groups; their whole plan must stay within seconds.
#include <benchmark/benchmark.h>

#include <vector>

#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "support/poly_setup.h"

namespace {

constexpr float kTabDepth = 0.05f;

void BM_PlanFaceGroups(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  PolyPtr poly = NewPolyRecord();
  DarOzoPolySetup(mode, poly.get(), 1.0f, kTabDepth, 1, 0.0f, 3, nullptr, 1);
  const int32_t groups = NewCountFacegroupsInPoly(poly.get());
  std::vector<float> x(groups), y(groups), angle(groups);
  CrammingPlan plan{x.data(), y.data(), angle.data(), 0.0f, nullptr, nullptr};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        PlanCrammingForExportation_core(mode, groups, nullptr, poly.get(), kTabDepth, 1, &plan));
  }
  state.counters["groups"] = groups;
}
BENCHMARK(BM_PlanFaceGroups)->Arg(198)->Arg(248)->Unit(benchmark::kMillisecond)->Iterations(2);

// One layer's solid: the group's planned turn and placement, built whole.
void BM_PlannedGroupSetup(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  PolyPtr poly = NewPolyRecord();
  float turn = 0.0f;
  for (auto _ : state) {
    poly->setupCache.outputMode = kPolySetupCacheEmpty;
    turn += 0.25f;
    DarOzoPolySetup(mode, poly.get(), 1.0f, kTabDepth, kCramPlanned, turn, 3, nullptr, 1);
    benchmark::DoNotOptimize(poly->nTriangles);
  }
}
BENCHMARK(BM_PlannedGroupSetup)->Arg(198)->Arg(248)->Unit(benchmark::kMillisecond);

}  // namespace
