#include "host/canvas.h"

#include "host/parallel_parts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

namespace gyhost {

namespace {

// The source samples and weights that make one output sample of an axis.
struct Tap {
  int32_t first;  // index into `weights` of the taps
  int32_t count;
  int32_t source;  // first source index
};

struct AxisPlan {
  std::vector<Tap> taps;
  std::vector<float> weights;
};

// Area filter: output i covers source [i*s, (i+1)*s) with s = n/m; each source
// sample weighs by the part of it inside. Linear: sample centres aligned.
// Rows [0, rows) cut into one band per thread; `body(first, end)` runs on
// each band. Every row's value is the same whichever thread computes it.
template <class Body>
void ShareRows(int32_t rows, int32_t threads, const Body& body) {
  const int32_t cores = int32_t(ThreadsFor(threads));
  const int32_t n = std::max(1, std::min({cores, 8, rows / 16}));
  RunSpans(size_t(std::max(rows, 0)), size_t(n),
           [&](size_t begin, size_t end) { body(int32_t(begin), int32_t(end)); });
}

AxisPlan PlanAxis(int32_t n, int32_t m) {
  AxisPlan plan;
  plan.taps.resize(size_t(m));
  if (m < n) {
    const double scale = double(n) / double(m);
    for (int32_t i = 0; i < m; ++i) {
      const double lo = i * scale, hi = (i + 1) * scale;
      const int32_t a = int32_t(std::floor(lo)), b = std::min(n, int32_t(std::ceil(hi)));
      plan.taps[size_t(i)] = Tap{int32_t(plan.weights.size()), b - a, a};
      for (int32_t j = a; j < b; ++j) {
        const double cover = std::min(hi, double(j + 1)) - std::max(lo, double(j));
        plan.weights.push_back(float(cover / scale));
      }
    }
  } else {
    const double scale = double(n) / double(m);
    for (int32_t i = 0; i < m; ++i) {
      double x = (i + 0.5) * scale - 0.5;
      x = std::clamp(x, 0.0, double(n - 1));
      const int32_t a = std::min(int32_t(x), n - 1);
      const int32_t b = std::min(a + 1, n - 1);
      const float t = float(x - a);
      // A sample centre that falls on a source sample (always, on an axis
      // that keeps its size) takes that sample alone: the second tap would
      // add nothing.
      const bool two = b > a && t > 0.0f;
      plan.taps[size_t(i)] = Tap{int32_t(plan.weights.size()), two ? 2 : 1, a};
      plan.weights.push_back(two ? 1.0f - t : 1.0f);
      if (two) plan.weights.push_back(t);
    }
  }
  return plan;
}

template <class T>
float Read(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return float(v);
}

template <class T>
void Write(uint8_t* p, float v) {
  if constexpr (std::is_same_v<T, float>) {
    std::memcpy(p, &v, sizeof v);
  } else {
    // Rounds half away from zero, as lround does, without its call: the sum
    // of a float and a half is exact in double.
    constexpr int32_t top = std::is_same_v<T, uint8_t> ? 255 : int32_t(kHost16Max);
    const T s = T(v > 0.0f ? (v < float(top) ? int32_t(double(v) + 0.5) : top) : 0);
    std::memcpy(p, &s, sizeof s);
  }
}

struct Resampling {
  const HostImage* in;
  HostImage* out;
  const AxisPlan* across;
  const AxisPlan* down;
  float* middle;  // in->height rows of out->width pixels
  int32_t planes;
};

// Grey or colour, with or without alpha.
constexpr int32_t kMaxPlanes = 4;

// One output pixel of the horizontal pass: each plane's sum runs over the
// taps in order, as ever, but the planes' sums run side by side, so that
// one addition need not wait for the one before it in another plane.
template <class T, int kPlanes>
void SumAcross(const uint8_t* src, const float* w, int32_t count, float* sums) {
  constexpr size_t kStep = size_t(kPlanes) * sizeof(T);
  float s0 = 0.0f, s1 = 0.0f, s2 = 0.0f, s3 = 0.0f;
  for (int32_t k = 0; k < count; ++k, src += kStep) {
    const float weight = w[k];
    s0 += weight * Read<T>(src);
    if constexpr (kPlanes > 1) s1 += weight * Read<T>(src + sizeof(T));
    if constexpr (kPlanes > 2) s2 += weight * Read<T>(src + 2 * sizeof(T));
    if constexpr (kPlanes > 3) s3 += weight * Read<T>(src + 3 * sizeof(T));
  }
  const float all[4] = {s0, s1, s2, s3};
  for (int c = 0; c < kPlanes; ++c) sums[c] = all[c];
}

template <class T>
void SumAcrossAnyPlanes(const uint8_t* src, const float* w, int32_t count, int32_t planes, float* sums) {
  switch (planes) {
    case 1: return SumAcross<T, 1>(src, w, count, sums);
    case 2: return SumAcross<T, 2>(src, w, count, sums);
    case 3: return SumAcross<T, 3>(src, w, count, sums);
    default: return SumAcross<T, 4>(src, w, count, sums);
  }
}

// Rows [first, end) of the horizontal pass, into floats, or straight into
// the output when the height stays (the vertical pass would copy them).
template <class T, bool kToOutput>
void AcrossRows(const Resampling& r, int32_t first, int32_t end) {
  const int32_t outW = r.out->width, planes = r.planes;
  const AxisPlan& across = *r.across;
  float sums[kMaxPlanes];
  for (int32_t y = first; y < end; ++y) {
    const uint8_t* row = PixelAddress(*r.in, 0, y);
    float* dst = kToOutput ? nullptr : r.middle + size_t(y) * size_t(outW) * size_t(planes);
    uint8_t* out = kToOutput ? PixelAddress(*r.out, 0, y) : nullptr;
    for (int32_t x = 0; x < outW; ++x) {
      const Tap& t = across.taps[size_t(x)];
      SumAcrossAnyPlanes<T>(row + size_t(t.source) * size_t(planes) * sizeof(T), across.weights.data() + t.first,
                            t.count, planes, sums);
      for (int32_t c = 0; c < planes; ++c) {
        const size_t at = size_t(x) * size_t(planes) + size_t(c);
        if constexpr (kToOutput)
          Write<T>(out + at * sizeof(T), sums[c]);
        else
          dst[at] = sums[c];
      }
    }
  }
}

// Rows [first, end) of the vertical pass, from the floats.
template <class T>
void DownRows(const Resampling& r, int32_t first, int32_t end) {
  const size_t rowFloats = size_t(r.out->width) * size_t(r.planes);
  const AxisPlan& down = *r.down;
  for (int32_t y = first; y < end; ++y) {
    const Tap& t = down.taps[size_t(y)];
    const float* w = down.weights.data() + t.first;
    uint8_t* dst = PixelAddress(*r.out, 0, y);
    for (size_t i = 0; i < rowFloats; ++i) {
      const float* src = r.middle + size_t(t.source) * rowFloats + i;
      float sum = 0.0f;
      for (int32_t k = 0; k < t.count; ++k) sum += w[k] * src[size_t(k) * rowFloats];
      Write<T>(dst + i * sizeof(T), sum);
    }
  }
}

template <class T>
void Resample(const Resampling& r, int32_t threads) {
  if (!r.middle) {
    ShareRows(r.in->height, threads, [&](int32_t a, int32_t b) { AcrossRows<T, true>(r, a, b); });
    return;
  }
  ShareRows(r.in->height, threads, [&](int32_t a, int32_t b) { AcrossRows<T, false>(r, a, b); });
  ShareRows(r.out->height, threads, [&](int32_t a, int32_t b) { DownRows<T>(r, a, b); });
}

}  // namespace

void StretchedSize(int32_t width, int32_t height, int32_t canvasW, int32_t canvasH, int32_t* outW, int32_t* outH) {
  // Keep the axis that would shrink; grow the other to the canvas's aspect.
  double w = width, h = height;
  if (double(canvasW) * height >= double(canvasH) * width) {
    w = double(height) * canvasW / canvasH;
  } else {
    h = double(width) * canvasH / canvasW;
  }
  // A host rectangle holds at most kMaxImageSide a side: scale both down.
  const double over = std::max(w, h) / kMaxImageSide;
  if (over > 1.0) {
    w /= over;
    h /= over;
  }
  *outW = std::max(1, int32_t(std::lround(w)));
  *outH = std::max(1, int32_t(std::lround(h)));
}

bool ResampleImage(const HostImage& in, int32_t outW, int32_t outH, HostImage* out, std::string* error,
                   int32_t threads) {
  const int32_t planes = PlaneCount(in);
  const size_t bps = size_t(BytesPerSample(in.type));
  if (planes < 1 || planes > kMaxPlanes) {
    *error = "an image of " + std::to_string(planes) + " planes cannot be resampled";
    return false;
  }
  if (!CheckImageSize(outW, outH, planes, int32_t(bps), error)) return false;
  if (!ResizeHostImage(out, outW, outH, in.colorPlanes, in.hasAlpha, in.type)) {
    *error = "out of memory for the canvas";
    return false;
  }
  out->meta = in.meta;
  const AxisPlan across = PlanAxis(in.width, outW);
  const AxisPlan down = PlanAxis(in.height, outH);
  // Horizontal pass into floats, then the vertical pass from them.
  std::vector<float> middle;
  try {
    if (outH != in.height) middle.resize(size_t(outW) * size_t(in.height) * size_t(planes));
  } catch (const std::bad_alloc&) {
    *error = "out of memory for the canvas";
    return false;
  }
  const Resampling r{&in, out, &across, &down, middle.empty() ? nullptr : middle.data(), planes};
  switch (in.type) {
    case SampleType::U8: Resample<uint8_t>(r, threads); break;
    case SampleType::U16: Resample<uint16_t>(r, threads); break;
    case SampleType::F32: Resample<float>(r, threads); break;
  }
  return true;
}

}  // namespace gyhost
