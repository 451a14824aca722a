#include "render/output/pixel_output.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "frame/globals.h"  // the sink writes into the invocation's host buffers or export canvas, through its selection mask
#include "frame/base/output_dimensions.h"
#include "frame/pass_rects.h"  // the selection mask is read through the frame's band words of the current pass
#include "platform/plugin_api.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr double kAlphaRoundUp = 1.007;  // a unit alpha of about 0.993 or more is opaque
constexpr int32_t kCheckerSquare = 8;
constexpr int32_t kCheckerLight8 = 255, kCheckerDark8 = 204;
constexpr int32_t kCheckerLight16 = 32640, kCheckerDark16 = 26112;
constexpr float kCheckerLightF = 1.0f, kCheckerDarkF = 0.8f;
// Luminance weights in 256ths. They sum to 256 so that white stays white.
constexpr int32_t kGreyR = 77, kGreyG = 150, kGreyB = 29;
// The float path weighs in 255ths, which also sum to one.
constexpr double kGreyFloatScale = 0.003921568627451;
constexpr double kGreyFloatB = 28.0;
constexpr float kMaskUnit = 0.003921568627451f;
constexpr int32_t kFirstGlueModeBeyond = 63;
constexpr float kChannelCeiling = 1048576.0f;

bool LightSquare(int32_t x, int32_t y) { return ((x ^ y) & kCheckerSquare) == 0; }

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Channels above full scale lend their excess to the others, so that an
// over-bright red reads as a brighter, paler red rather than a clipped one.
void SpreadOverflow(int32_t c[3], int32_t full) {
  const int32_t flags = (c[0] > full ? 1 : 0) | (c[1] > full ? 2 : 0) | (c[2] > full ? 4 : 0);
  int32_t excess = 0;
  for (int i = 0; i < 3; ++i)
    if (flags & (1 << i)) excess += c[i] - full;
  const int32_t share = (excess * 60) >> 8;
  auto lendToOthers = [&](int a, int b) {
    c[a] += share >> 1;
    c[b] += share >> 1;
    if (c[a] > full) c[b] += c[a] - full;
    if (c[b] > full) c[a] += c[b] - full;
  };
  switch (flags) {
    case 1: lendToOthers(1, 2); break;
    case 2: lendToOthers(0, 2); break;
    case 4: lendToOthers(0, 1); break;
    case 3: c[2] += share; break;
    case 5: c[1] += share; break;
    case 6: c[0] += share; break;
    default: break;
  }
}

void UnfilteredPixel8(const PixelSink& s, int32_t x, int32_t out[3]) {
  const uint8_t* p = s.inRow + size_t(x) * size_t(s.inPlanes);
  const bool colour = s.inPlanes > 2;
  out[0] = p[0];
  out[1] = colour ? p[1] : p[0];
  out[2] = colour ? p[2] : p[0];
}

void UnfilteredPixel16(const PixelSink& s, int32_t x, int32_t out[3]) {
  const uint16_t* p = reinterpret_cast<const uint16_t*>(s.inRow) + size_t(x) * size_t(s.inPlanes);
  const bool colour = s.inPlanes > 2;
  out[0] = p[0];
  out[1] = colour ? p[1] : p[0];
  out[2] = colour ? p[2] : p[0];
}

// 8-bit canvas values of a 16-bit channel (0..32768 to 0..255).
int32_t Narrow16(int32_t v) {
  const int32_t n = ((v + 1) & 0xFFFF) >> 7;
  return n < 255 ? n : 255;
}

void StoreInteger(const PixelSink& s, int32_t x, const int32_t c[3], int32_t alpha) {
  const bool eight = s.path == PixelPath_Bits8;
  if (s.runMode == RunMode_ExportLayer) {
    if (!s.canvas) return;
    const bool packed = s.canvas->dataKind == PyramidDataKind_Byte || s.canvas->dataKind == PyramidDataKind_Packed8;
    if (eight || packed) {
      const auto n = [&](int32_t v) { return eight ? v : Narrow16(v); };
      set_pyramid_sample_point4(x, s.y, s.canvas, 0, n(c[0]), n(c[1]), n(c[2]), n(alpha));
    } else {
      set_pyramid_sample_point64bit(x, s.y, s.canvas, 0, c[0], c[1], c[2], alpha);
    }
    return;
  }
  int32_t v[3] = {c[0], c[1], c[2]};
  int32_t outAlpha = alpha;
  if (s.runMode == RunMode_Preview) {
    int32_t m = fetchMaskTruly_Always8(x, s.y, s.globals);
    const bool light = LightSquare(x, s.y);
    int32_t checker, whole;
    if (eight) {
      if (m >= 128) ++m;  // 0..256, so a full mask shows the result unmixed
      if (s.transparency) m = (m * alpha) >> 8;
      checker = light ? kCheckerLight8 : kCheckerDark8;
      whole = 256;
      outAlpha = 255;
    } else {
      if (s.transparency) m = (m * alpha) >> 15;
      checker = light ? kCheckerLight16 : kCheckerDark16;
      whole = 255;
      outAlpha = 32768;
    }
    for (int i = 0; i < 3; ++i) v[i] = ((whole - m) * checker + m * v[i]) >> 8;
  }
  if (eight) {
    uint8_t* p = s.outRow + size_t(x) * size_t(s.outPlanes);
    for (int i = 0; i < s.writeChannels; ++i) p[i] = uint8_t(v[i]);
    if (s.transparency) p[s.outAlpha] = uint8_t(outAlpha);
  } else {
    uint16_t* p = reinterpret_cast<uint16_t*>(s.outRow) + size_t(x) * size_t(s.outPlanes);
    for (int i = 0; i < s.writeChannels; ++i) p[i] = uint16_t(v[i]);
    if (s.transparency) p[s.outAlpha] = uint16_t(outAlpha);
  }
}

// The integer channels and alpha of a unit colour at the sink's scale, the
// excess above full scale not yet spread.
inline int32_t ScaleInteger(const PixelSink& s, const float colour[4], int32_t c[3]) {
  const float k = s.unitMultiplier;
  for (int i = 0; i < 3; ++i) {
    const float scaled = colour[i] * k;
    // NaN and absurd brightness are held to the ends first, so that the
    // overflow spread below cannot overflow itself.
    c[i] = scaled > kChannelCeiling ? int32_t(kChannelCeiling) : (scaled > 0.0f ? int32_t(scaled) : 0);
  }
  const double a = double(colour[3] * k) * kAlphaRoundUp;
  return a > double(s.alphaFullScale) ? s.alphaFullScale : (a > 0.0 ? int32_t(a) : 0);
}

// OutputInteger for a plainRgb8 sink: no glue, no grey, no mask or canvas.
void OutputPlainRgb8(const PixelSink& s, int32_t x, const float colour[4]) {
  constexpr int32_t kFull = 255;
  uint8_t* p = s.outRow + size_t(x) * size_t(s.outPlanes);
#if defined(__SSE2__)
  // ScaleInteger's channels four lanes at once: the packed maximum turns NaN
  // and anything not above zero into 0 and the minimum holds the ceiling,
  // as the scalar tests do; the conversion truncates alike.
  const __m128 scaled = _mm_mul_ps(_mm_loadu_ps(colour), _mm_set1_ps(s.unitMultiplier));
  const __m128i held =
      _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(scaled, _mm_setzero_ps()), _mm_set1_ps(kChannelCeiling)));
  if ((_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(held, _mm_set1_epi32(kFull)))) & 7) == 0) {
    const uint32_t bytes = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(held, held), held)));
    p[0] = uint8_t(bytes);
    p[1] = uint8_t(bytes >> 8);
    p[2] = uint8_t(bytes >> 16);
    if (s.transparency) {
      const double a = double(colour[3] * s.unitMultiplier) * kAlphaRoundUp;
      p[s.outAlpha] = uint8_t(a > double(s.alphaFullScale) ? s.alphaFullScale : (a > 0.0 ? int32_t(a) : 0));
    }
    return;
  }
#endif
  int32_t c[3];
  const int32_t alpha = ScaleInteger(s, colour, c);
  if (c[0] > kFull || c[1] > kFull || c[2] > kFull) {
    SpreadOverflow(c, kFull);
    for (int i = 0; i < 3; ++i)
      if (c[i] > kFull) c[i] = kFull;
  }
  p[0] = uint8_t(c[0]);
  p[1] = uint8_t(c[1]);
  p[2] = uint8_t(c[2]);
  if (s.transparency) p[s.outAlpha] = uint8_t(alpha);
}

void OutputInteger(const PixelSink& s, int32_t x, const float colour[4]) {
  int32_t c[3];
  const int32_t alpha = ScaleInteger(s, colour, c);
  SpreadOverflow(c, s.fullScale);
  if (s.outPlanes < 3) c[0] = (kGreyR * c[0] + kGreyG * c[1] + kGreyB * c[2]) >> 8;
  for (int i = 0; i < 3; ++i)
    if (c[i] > s.fullScale) c[i] = s.fullScale;
  if (s.glue) {
    int32_t u[3];
    if (s.path == PixelPath_Bits8)
      UnfilteredPixel8(s, x, u);
    else
      UnfilteredPixel16(s, x, u);
    s.glue(c[0], c[1], c[2], u[0], u[1], u[2]);
  }
  StoreInteger(s, x, c, alpha);
}

void OutputFloat(const PixelSink& s, int32_t x, const float colour[4]) {
  float c[3] = {colour[0], colour[1], colour[2]};
  float alpha = colour[3];
  alpha = alpha > 1.0f ? 1.0f : (alpha > 0.0f ? alpha : 0.0f);
  if (s.outPlanes <= 2) {
    c[0] = float((kGreyR * double(c[0]) + kGreyG * double(c[1]) + kGreyFloatB * double(c[2])) * kGreyFloatScale);
  }
  if (s.runMode == RunMode_ExportLayer) {
    if (!s.canvas) return;
    if (s.canvas->dataKind == PyramidDataKind_Byte || s.canvas->dataKind == PyramidDataKind_Packed8) {
      set_pyramid_sample_point4(x, s.y, s.canvas, 0, make8from32f_for_little_previews(c[0]),
                                make8from32f_for_little_previews(c[1]), make8from32f_for_little_previews(c[2]),
                                make8from32f_for_little_previews(alpha));
    } else {
      set_pyramid_sample_point128bit_floats(x, s.y, s.canvas, 0, c[0], c[1], c[2], alpha);
    }
    return;
  }
  float outAlpha = alpha;
  if (s.runMode == RunMode_Preview) {
    float m = float(fetchMaskTruly_Always8(x, s.y, s.globals)) * kMaskUnit;
    if (s.transparency) {
      m *= alpha;
      outAlpha = m;
    }
    const float checker = LightSquare(x, s.y) ? kCheckerLightF : kCheckerDarkF;
    for (float& v : c) v = (1.0f - m) * checker + m * v;
  }
  float* p = reinterpret_cast<float*>(s.outRow) + size_t(x) * size_t(s.outPlanes);
  for (int i = 0; i < s.writeChannels; ++i) std::memcpy(&p[i], &c[i], sizeof(float));
  if (s.transparency) std::memcpy(&p[s.outAlpha], &outAlpha, sizeof(float));
}

}  // namespace

PixelPath PixelPathOf(int32_t imageMode, int32_t depth) {
  if ((imageMode == kImageModeGray || imageMode == kImageModeRGB) && depth > 0 && depth <= 8) return PixelPath_Bits8;
  if ((imageMode == kImageModeGray16 || imageMode == kImageModeRGB48) && depth == 16) return PixelPath_Bits16;
  if (imageMode == kImageModeRGB96 || imageMode == kImageModeGray32 || depth == 32) return PixelPath_Float;
  return PixelPath_None;
}

bool PreparePixelSink(Globals* globals, int32_t y, PixelSink* sink) {
  *sink = PixelSink{};
  const FilterRecord* fr = globals->filterRecord;
  const TParameters* p = Params(globals);
  sink->globals = globals;
  sink->path = PixelPathOf(fr->imageMode, fr->depth);
  sink->runMode = p ? p->runMode : RunMode_Final;
  sink->imageMode = fr->imageMode;
  sink->width = WidthOfCurrentOutput(globals);
  sink->height = HeightOfCurrentOutput(globals);
  sink->y = Clamp(y, 0, sink->height - 1);
  sink->outPlanes = fr->planes;
  sink->inPlanes = int32_t(fr->inHiPlane) - fr->inLoPlane + 1;
  sink->transparency = fr->filterCase == kFilterCaseEditableTransparencyNoSelection ||
                       fr->filterCase == kFilterCaseEditableTransparencyWithSelection;
  sink->inAlpha = fr->inLayerPlanes;
  sink->outAlpha = fr->outLayerPlanes;
  switch (sink->path) {
    case PixelPath_Bits8:
      sink->fullScale = sink->alphaFullScale = 255;
      sink->unitMultiplier = 255.0f;
      break;
    case PixelPath_Bits16:
      sink->fullScale = sink->alphaFullScale = 32768;
      sink->unitMultiplier = 32768.0f;
      break;
    default:
      sink->fullScale = 65535;
      sink->alphaFullScale = 1;
      sink->unitMultiplier = 1.0f;
      break;
  }
  const bool threeChannels = sink->path == PixelPath_Float
                                 ? (fr->imageMode == kImageModeRGB || fr->imageMode == kImageModeRGB48 ||
                                    fr->imageMode == kImageModeRGB96)
                                 : (fr->imageMode == kImageModeRGB || fr->imageMode == kImageModeRGB48);
  sink->writeChannels = threeChannels ? 3 : 1;
  const int32_t glueMode = p ? p->glueMode : GlueMode_Normal;
  if (sink->path != PixelPath_Float && glueMode < kFirstGlueModeBeyond && !IsGlueIdentity(glueMode)) {
    sink->glue = GlueFunctionFor(glueMode, sink->path == PixelPath_Bits8 ? GlueForm::Bits8 : GlueForm::Bits16);
  }
  if (sink->runMode == RunMode_ExportLayer) {
    sink->canvas = globals->storage ? globals->storage->exportCanvas : nullptr;
    sink->glue = nullptr;  // the canvas is the only unfiltered picture, and export layers never glue
    return sink->canvas != nullptr;
  }
  if (!fr->outData || (sink->glue && !fr->inData)) return false;
  sink->plainRgb8 = sink->path == PixelPath_Bits8 && sink->runMode == RunMode_Final && !sink->glue &&
                    sink->writeChannels == 3 && sink->outPlanes >= 3;
  const int64_t row = sink->runMode == RunMode_Preview ? sink->y : 0;
  sink->outRow = static_cast<uint8_t*>(fr->outData) + row * fr->outRowBytes;
  sink->inRow = fr->inData ? static_cast<const uint8_t*>(fr->inData) + row * fr->inRowBytes : nullptr;
  return true;
}

void Output_a_Pixel(const PixelSink& sink, int32_t x, const float colour[4]) {
  if (sink.width < 1) return;
  x = Clamp(x, 0, sink.width - 1);
  if (sink.plainRgb8) return OutputPlainRgb8(sink, x, colour);
  switch (sink.path) {
    case PixelPath_Bits8:
    case PixelPath_Bits16: OutputInteger(sink, x, colour); break;
    case PixelPath_Float: OutputFloat(sink, x, colour); break;
    case PixelPath_None: break;
  }
}
