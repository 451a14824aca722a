#include "host/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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
      plan.taps[size_t(i)] = Tap{int32_t(plan.weights.size()), b > a ? 2 : 1, a};
      plan.weights.push_back(b > a ? 1.0f - t : 1.0f);
      if (b > a) plan.weights.push_back(t);
    }
  }
  return plan;
}

float ReadSample(const uint8_t* p, SampleType type) {
  switch (type) {
    case SampleType::U8:
      return float(*p);
    case SampleType::U16: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return float(v);
    }
    case SampleType::F32: {
      float v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
  return 0.0f;
}

void WriteSample(uint8_t* p, SampleType type, float v) {
  switch (type) {
    case SampleType::U8:
      *p = uint8_t(std::clamp(std::lround(v), 0L, 255L));
      break;
    case SampleType::U16: {
      const uint16_t s = uint16_t(std::clamp(std::lround(v), 0L, long(kHost16Max)));
      std::memcpy(p, &s, 2);
      break;
    }
    case SampleType::F32:
      std::memcpy(p, &v, 4);
      break;
  }
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

bool ResampleImage(const HostImage& in, int32_t outW, int32_t outH, HostImage* out, std::string* error) {
  const int32_t planes = PlaneCount(in);
  const size_t bps = size_t(BytesPerSample(in.type));
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
    middle.resize(size_t(outW) * size_t(in.height) * size_t(planes));
  } catch (const std::bad_alloc&) {
    *error = "out of memory for the canvas";
    return false;
  }
  for (int32_t y = 0; y < in.height; ++y) {
    const uint8_t* row = PixelAddress(in, 0, y);
    float* dst = middle.data() + size_t(y) * size_t(outW) * size_t(planes);
    for (int32_t x = 0; x < outW; ++x) {
      const Tap& t = across.taps[size_t(x)];
      for (int32_t c = 0; c < planes; ++c) {
        float sum = 0.0f;
        for (int32_t k = 0; k < t.count; ++k) {
          sum += across.weights[size_t(t.first + k)] *
                 ReadSample(row + (size_t(t.source + k) * size_t(planes) + size_t(c)) * bps, in.type);
        }
        dst[size_t(x) * size_t(planes) + size_t(c)] = sum;
      }
    }
  }
  const size_t rowFloats = size_t(outW) * size_t(planes);
  for (int32_t y = 0; y < outH; ++y) {
    const Tap& t = down.taps[size_t(y)];
    uint8_t* dst = PixelAddress(*out, 0, y);
    for (size_t i = 0; i < rowFloats; ++i) {
      float sum = 0.0f;
      for (int32_t k = 0; k < t.count; ++k)
        sum += down.weights[size_t(t.first + k)] * middle[size_t(t.source + k) * rowFloats + i];
      WriteSample(dst + i * bps, in.type, sum);
    }
  }
  return true;
}

}  // namespace gyhost
