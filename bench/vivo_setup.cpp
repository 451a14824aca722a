// Set-up of the curved-element solids: the builder alone (its hinge
// searches dominate: up to 15 searches of a few thousand trials) and the
// whole set-up of the output mode as the renderer asks for it.
#include <benchmark/benchmark.h>

#include <memory>

#include "polybuild/mode_polyhedron_table.h"
#include "polybuild/polyhedron_setup.h"
#include "polybuild/vivo_entries.h"
#include "polyhedron/polyhedron.h"

namespace {

struct Deleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using PolyPtr = std::unique_ptr<polyhedron, Deleter>;

PolyPtr NewRecord() {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.05f);
  return p;
}

using Entry = void (*)(VivoEntryOptions*);
constexpr Entry kEntries[] = {Build_VivoTet_GyrelleEntry, Build_VivoCube_GyrelleEntry, Build_VivoOct_GyrelleEntry,
                              Build_Tribox_GyrelleEntry, Build_squarebox_GyrelleEntry,
                              Build_squirclebox_GyrelleEntry};

// 0 tetrahedron, 1 cube, 2 octahedron, 3 Tribox, 4 square box, 5 squircle box.
void BM_VivoBuilder(benchmark::State& state) {
  const Entry entry = kEntries[state.range(0)];
  PolyPtr poly = NewRecord();
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

void BM_VivoModeSetup(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  PolyhedronParams row{};
  get_polyhedron_params_from_output_mode(mode, &row);
  PolyPtr poly = NewRecord();
  int32_t triangles = 0;
  for (auto _ : state) {
    triangles = SetUpReallyGeneralPolyhedron(poly.get(), row.shapeCode, int16_t(row.netMethod), row.cramMode,
                                             row.angle, nullptr, 1);
    benchmark::DoNotOptimize(triangles);
  }
  state.counters["faces"] = poly->n3DFaces;
  state.counters["triangles"] = triangles;
  state.counters["error"] = poly->errorCode;
}
// 256 tetrahedron, 257 octahedron, 289 cube (four to eight fragments), 1037
// the octahedron in one fragment, 261 squircle box.
BENCHMARK(BM_VivoModeSetup)->Arg(256)->Arg(257)->Arg(289)->Arg(1037)->Arg(261)->Unit(benchmark::kMillisecond);

}  // namespace
