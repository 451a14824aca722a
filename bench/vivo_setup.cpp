// Set-up of the curved-element solids: the builder alone (its hinge
// searches dominate: up to 15 searches of a few thousand trials) and the
// whole set-up of the output mode as the renderer asks for it.
#include <benchmark/benchmark.h>

#include "polybuild/curved/vivo_entries.h"
#include "polyhedron/polyhedron.h"
#include "support/poly_setup.h"

namespace {

using Entry = void (*)(VivoEntryOptions*);
constexpr Entry kEntries[] = {Build_VivoTet_GyrelleEntry, Build_VivoCube_GyrelleEntry, Build_VivoOct_GyrelleEntry,
                              Build_Tribox_GyrelleEntry, Build_squarebox_GyrelleEntry,
                              Build_squirclebox_GyrelleEntry};

// 0 tetrahedron, 1 cube, 2 octahedron, 3 Tribox, 4 square box, 5 squircle box.
void BM_VivoBuilder(benchmark::State& state) {
  const Entry entry = kEntries[state.range(0)];
  PolyPtr poly = NewPolyRecord();
  for (auto _ : state) {
    WipeFaceInfo(poly.get());
    VivoEntryOptions options{};
    options.poly = poly.get();
    entry(&options);
    benchmark::DoNotOptimize(poly->n3DFaces);
  }
  state.counters["faces"] = poly->n3DFaces;
}
BENCHMARK(BM_VivoBuilder)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_VivoModeSetup(benchmark::State& state) { BenchOutputModeSetup(state); }
// 256 tetrahedron, 257 octahedron, 289 cube (four to eight fragments), 1037
// the octahedron in one fragment, 261 squircle box.
BENCHMARK(BM_VivoModeSetup)->Arg(256)->Arg(257)->Arg(289)->Arg(1037)->Arg(261)->Unit(benchmark::kMillisecond);

}  // namespace
