// Set-up of the largest procedural solids: the generator alone and the whole
// set-up (unfolding with its overlap test, triangles, tabs and fit) of the
// finest geodesic spheres, the tattoo ball and a rollout. The set-up runs
// whenever a setting of the solid changes, so it must stay well under a
// second for 1500 faces.
#include <benchmark/benchmark.h>

#include <memory>

#include "polybuild/geodesic.h"
#include "polybuild/mode_polyhedron_table.h"
#include "polybuild/polyhedron_setup.h"
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

// Generator only: code 97 (dodecahedron, frequency 5: 1500 faces) and 101
// (icosahedron, frequency 5: 500 faces).
void BM_GeodesicGenerator(benchmark::State& state) {
  const int32_t base = int32_t(state.range(0));
  PolyPtr poly = NewRecord();
  for (auto _ : state) {
    WipeFaceInfo(poly.get());
    BuildGeodesicNotTriangleFacedClass1(poly.get(), nullptr, 5, base);
    benchmark::DoNotOptimize(poly->n3DFaces);
  }
  state.counters["faces"] = poly->n3DFaces;
}
BENCHMARK(BM_GeodesicGenerator)->Arg(9)->Arg(17)->Unit(benchmark::kMillisecond);

// The whole set-up of an output mode as the renderer asks for it.
void BM_OutputModeSetup(benchmark::State& state) {
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
// 194 geodesic 12 I 5 (1500 faces), 198 geodesic 20 I 5, 170 tattoo 2,
// 246 sphericon 11/5.
BENCHMARK(BM_OutputModeSetup)->Arg(194)->Arg(198)->Arg(170)->Arg(246)->Unit(benchmark::kMillisecond);

}  // namespace
