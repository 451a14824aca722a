// Sampling throughput on a 4096 x 2048 picture with all its levels: the
// filtered 5 x 5 read, the trilinear read, and both footprint samplers, for
// 8-bit (kind 3) and float (kind 9) pyramids, on one thread and on all. The
// points walk a turned, slightly scaled grid, as the rows of a render do.
// The "per_core" counter is samples per CPU second of one thread, so that
// other work on the machine does not count against it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_filtered.h"
#include "pyramid/pyramid_footprint.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_sampling.h"

namespace {

constexpr int32_t kWidth = 4096, kHeight = 2048;
constexpr int kPointsPerRow = 1024;

struct BenchPyramid {
  explicit BenchPyramid(int32_t kind) {
    initGaussianPyrTable(table);
    InitPyramidProcs(&pyramid, nullptr, table);
    TryToAllocatePyramid_2006(&pyramid, kWidth, kHeight, kind, 2);
    pyramid.overhangMode = 7;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t n = (uint32_t(x) * 0x9E3779B1u) ^ (uint32_t(y) * 0x85EBCA77u);
        const float c[4] = {float(n & 255u) / 255.0f, float((n >> 8) & 255u) / 255.0f, float((n >> 16) & 255u) / 255.0f,
                            1.0f};
        set_unitary_color(x, y, &pyramid, 0, c);
      }
    paint_mipmap_of_pyramid(&pyramid);
  }
  ~BenchPyramid() { DisposePyramidData(&pyramid); }
  PyramidDescriptor pyramid{};
  float table[kFilterTableSize];
};

const PyramidDescriptor* Shared(int32_t kind) {
  static BenchPyramid packed(PyramidDataKind_Packed8);
  static BenchPyramid floats(PyramidDataKind_FourFloat);
  return kind == PyramidDataKind_Packed8 ? &packed.pyramid : &floats.pyramid;
}

// One row of a render: the centres of `kPointsPerRow` output pixels mapped
// into the input by a turn of 0.3 rad and a scale of `pixels` input pixels
// per output pixel, row `row` of the output, offset per thread.
struct Row {
  float u[kPointsPerRow], v[kPointsPerRow];
  float du, dv;  // one output pixel to the right, in unit coordinates
};

Row MakeRow(int row, int thread, float pixels) {
  Row r;
  const float c = std::cos(0.3f) * pixels, s = std::sin(0.3f) * pixels;
  r.du = c / kWidth;
  r.dv = s / kHeight;
  for (int i = 0; i < kPointsPerRow; ++i) {
    const float x = 300.0f + float(i) * c - float(row) * s + float(thread) * 97.0f;
    const float y = 200.0f + float(i) * s + float(row) * c;
    r.u[i] = std::fmod(x, float(kWidth)) / kWidth;
    r.v[i] = std::fmod(y, float(kHeight - 10)) / kHeight;
  }
  return r;
}

// Samples of all threads over the CPU time of all threads.
void Report(benchmark::State& state) {
  state.counters["per_core"] =
      benchmark::Counter(double(state.iterations()) * kPointsPerRow, benchmark::Counter::kIsRate);
}

void BM_Filtered5x5(benchmark::State& state) {
  const PyramidDescriptor* p = Shared(int32_t(state.range(0)));
  const Row r = MakeRow(7, state.thread_index(), 1.0f);
  float acc = 0.0f;
  for (auto _ : state) {
    for (int i = 0; i < kPointsPerRow; ++i) {
      float c[4];
      gauss_pyramid_sampleColor(p, 0, r.u[i] * kWidth - 0.5f, r.v[i] * kHeight - 0.5f, &c[0], &c[1], &c[2], &c[3]);
      acc += c[0];
    }
  }
  benchmark::DoNotOptimize(acc);
  Report(state);
}

void BM_Trilinear(benchmark::State& state) {
  const PyramidDescriptor* p = Shared(int32_t(state.range(0)));
  const Row r = MakeRow(7, state.thread_index(), 3.0f);
  float acc = 0.0f;
  for (auto _ : state) {
    for (int i = 0; i < kPointsPerRow; ++i) {
      float c[4];
      get_sharpened_color(p, 1, 0.6f, r.u[i], r.v[i], 0.0f, c);
      acc += c[0];
    }
  }
  benchmark::DoNotOptimize(acc);
  Report(state);
}

// The renderer's call: neighbours one output pixel left and up.
template <bool kAnisotropic>
void BM_Footprint(benchmark::State& state) {
  const PyramidDescriptor* p = Shared(int32_t(state.range(0)));
  const float pixels = float(state.range(1)) * 0.5f;
  const Row r = MakeRow(7, state.thread_index(), pixels);
  // Squashed vertically by 3 so that the footprint is anisotropic.
  const float upU = -r.dv * kHeight / kWidth * 3.0f, upV = r.du * kWidth / kHeight * 0.333f;
  AnisoState aniso{};
  float acc = 0.0f;
  for (auto _ : state) {
    for (int i = 0; i < kPointsPerRow; ++i) {
      const float u = r.u[i], v = r.v[i];
      float c[4];
      if (kAnisotropic)
        SampleAnisotropicallyColor_Centered_unitary(u - r.du, v - r.dv, u - upU, v - upV, u, v, u, v, p, c, 0.0f,
                                                    &aniso);
      else
        SampleUglyColor_Centered_unitary(u - r.du, v - r.dv, u - upU, v - upV, u, v, u, v, p, c, 0.0f, &aniso);
      acc += c[0];
    }
  }
  benchmark::DoNotOptimize(acc);
  Report(state);
}

void Threads(benchmark::internal::Benchmark* b) {
  b->Threads(1);
  const int all = int(std::thread::hardware_concurrency());
  if (all > 1) b->Threads(all);
}

}  // namespace

BENCHMARK(BM_Filtered5x5)->Arg(PyramidDataKind_Packed8)->Arg(PyramidDataKind_FourFloat)->Apply(Threads);
BENCHMARK(BM_Trilinear)->Arg(PyramidDataKind_Packed8)->Arg(PyramidDataKind_FourFloat)->Apply(Threads);
// Second argument: footprint size in half pixels (2: one input pixel per
// output pixel; 8: four, minified).
BENCHMARK(BM_Footprint<true>)
    ->Name("BM_Anisotropic")
    ->Args({PyramidDataKind_Packed8, 2})
    ->Args({PyramidDataKind_Packed8, 8})
    ->Args({PyramidDataKind_FourFloat, 2})
    ->Apply(Threads);
BENCHMARK(BM_Footprint<false>)
    ->Name("BM_Fast")
    ->Args({PyramidDataKind_Packed8, 8})
    ->Args({PyramidDataKind_FourFloat, 8})
    ->Apply(Threads);
