// What the solid set-up benchmarks share: a polyhedron record made and freed
// as the renderer makes and frees its own, and the whole set-up of an output
// mode's solid as the renderer asks for it.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "polyhedron/polyhedron.h"

struct PolyDeleter {
  void operator()(polyhedron* p) const;
};
using PolyPtr = std::unique_ptr<polyhedron, PolyDeleter>;

PolyPtr NewPolyRecord();

// The output mode is the benchmark's argument; the solid's faces and
// triangles and its error code are counters.
void BenchOutputModeSetup(benchmark::State& state);
