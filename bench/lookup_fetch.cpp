// Cached projection lookups over a row of 4096 points, as the mapping of one
// output row makes them: a fetch is a few cell reads and multiplications,
// and must stay that after the tables became resident.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "projection/inverse/conformal_warp.h"
#include "projection/lookup/lookup_fetch.h"

namespace {

constexpr int kRow = 4096;

std::vector<fcomplex> RowOfPoints() {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<fcomplex> row(kRow);
  for (fcomplex& z : row) z = {unit(rng), unit(rng)};
  return row;
}

template <fcomplex (*Fetch)(fcomplex)>
void BM_Fetch(benchmark::State& state) {
  const std::vector<fcomplex> row = RowOfPoints();
  for (auto _ : state) {
    double sum = 0.0;
    for (const fcomplex z : row) sum += Fetch(z).re;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRow);
}
BENCHMARK(BM_Fetch<FetchFromCache_Peirce>)->Name("Peirce (bilinear)");
BENCHMARK(BM_Fetch<FetchFromCache_Winkel>)->Name("Winkel (simplicial)");

void BM_SphereCube(benchmark::State& state) {
  const std::vector<fcomplex> row = RowOfPoints();
  for (auto _ : state) {
    float p[3];
    double sum = 0.0;
    for (const fcomplex z : row) sum += FetchFromCache_spherecube(z, p).re + p[2];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRow);
}
BENCHMARK(BM_SphereCube)->Name("sphere cube (folded)");

void BM_WarpIcosahedron(benchmark::State& state) {
  const std::vector<fcomplex> row = RowOfPoints();
  for (auto _ : state) {
    double sum = 0.0;
    for (const fcomplex z : row) {
      float b[3] = {float(z.re * 0.5), float(1.0 - z.re * 0.5 - z.im * 0.5), float(z.im * 0.5)};
      WarpBarysForConformalIcosahedron(&b[0], &b[1], &b[2]);
      sum += b[0];
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRow);
}
BENCHMARK(BM_WarpIcosahedron)->Name("icosahedron warp");

}  // namespace
