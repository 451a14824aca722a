#include "support/poly_setup.h"

#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"

void PolyDeleter::operator()(polyhedron* p) const {
  DumpPolyStorage(p, nullptr);
  delete p;
}

PolyPtr NewPolyRecord() {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.05f);
  return p;
}

void BenchOutputModeSetup(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  PolyhedronParams row{};
  get_polyhedron_params_from_output_mode(mode, &row);
  PolyPtr poly = NewPolyRecord();
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
