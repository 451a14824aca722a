// Set-up of the largest procedural solids: the generator alone and the whole
// set-up (unfolding with its overlap test, triangles, tabs and fit) of the
// finest geodesic spheres, the tattoo ball and a rollout. The set-up runs
// whenever a setting of the solid changes, so it must stay well under a
// second for 1500 faces.
#include <benchmark/benchmark.h>

#include "polybuild/procedural/geodesic.h"
#include "polyhedron/polyhedron.h"
#include "support/poly_setup.h"

namespace {

// Generator only: code 97 (dodecahedron, frequency 5: 1500 faces) and 101
// (icosahedron, frequency 5: 500 faces).
void BM_GeodesicGenerator(benchmark::State& state) {
  const int32_t base = int32_t(state.range(0));
  PolyPtr poly = NewPolyRecord();
  for (auto _ : state) {
    WipeFaceInfo(poly.get());
    BuildGeodesicNotTriangleFacedClass1(poly.get(), nullptr, 5, base);
    benchmark::DoNotOptimize(poly->n3DFaces);
  }
  state.counters["faces"] = poly->n3DFaces;
}
BENCHMARK(BM_GeodesicGenerator)->Arg(9)->Arg(17)->Unit(benchmark::kMillisecond);

// The whole set-up of an output mode as the renderer asks for it.
void BM_OutputModeSetup(benchmark::State& state) { BenchOutputModeSetup(state); }
// 194 geodesic 12 I 5 (1500 faces), 198 geodesic 20 I 5, 170 tattoo 2,
// 246 sphericon 11/5.
BENCHMARK(BM_OutputModeSetup)->Arg(194)->Arg(198)->Arg(170)->Arg(246)->Unit(benchmark::kMillisecond);

}  // namespace
