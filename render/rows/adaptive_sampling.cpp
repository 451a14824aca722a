#include "render/rows/adaptive_sampling.h"

#include <cmath>

#include "export/brick/brick_march.h"  // the brick sphere's faces are shaded by the brick floor that builds the ball
#include "frame/base/task_pool.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_footprint.h"
#include "render/rows/column_record.h"
#include "render/output/compositing.h"
#include "render/rows/inverse_mapping.h"
#include "render/output/material_effects.h"
#include "render/vort.h"

namespace {

// Corner order of a pixel's replies.
constexpr int kNewestRight = 0, kNewestLeft = 1, kPreviousRight = 2, kPreviousLeft = 3;
constexpr float kMissing = kFootprintMissingU;
constexpr int32_t kFalseColourOffset = 2;
constexpr float kByteUnit = 1.0f / 255.0f;
// Sub-sample grids: 41 along one direction, 7 x 7 when the corners differ
// both ways.
constexpr int32_t kLineHalfSpan = 20;
constexpr int32_t kGridHalfSpan = 3;
constexpr int32_t kDeluxeQuality = 3, kPlainQuality = 2, kCheapQuality = 1;
constexpr int32_t kModeBoundary = 0, kModePlain = 1, kModeCheap = 2;

// The regions, layers and outside flags are read once: every pixel asks
// them of each corner several times.
struct Corners {
  const TransformationReply* reply[4];
  int32_t outside[4];
  int32_t region[4];
  int32_t layer[4];
};

Corners CornersOf(const PixelSampling& job, int32_t x) {
  const int32_t s = job.replySlot, p = s ^ 1;
  const ColumnRecord& right = job.records[x + 1];
  const ColumnRecord& left = job.records[x];
  Corners c{{&right.reply[s], &left.reply[s], &right.reply[p], &left.reply[p]},
            {right.outside[s], left.outside[s], right.outside[p], left.outside[p]},
            {},
            {}};
  for (int k = 0; k < 4; ++k) {
    c.region[k] = c.reply[k]->regionCode;
    c.layer[k] = c.reply[k]->layer;
  }
  return c;
}

bool Differ(const Corners& c, int a, int b) {
  return c.region[a] != c.region[b] || c.layer[a] != c.layer[b] || c.outside[a] != c.outside[b];
}

// The output pixel coordinate of a pixel's centre: half a pixel before
// its lower right corner.
float CentreOf(int32_t column) { return float(column) - 0.5f; }

// Bit 0: the corners differ left to right; bit 1: between the rows.
int32_t BoundaryKindOf(const Corners& c) {
  int32_t kind = 0;
  if (Differ(c, kNewestLeft, kNewestRight) || Differ(c, kPreviousLeft, kPreviousRight)) kind |= 1;
  if (Differ(c, kNewestRight, kPreviousRight) || Differ(c, kNewestLeft, kPreviousLeft)) kind |= 2;
  return kind;
}

const PyramidDescriptor* PyramidFor(const PixelSampling& job, const TransformationReply& r) {
  if (r.inputFace == -1) return job.view->inputPyramid;
  const int32_t face = r.inputFace < 0 ? 0 : (r.inputFace > 5 ? 5 : r.inputFace);
  return &job.cubeFaces[face];
}

bool WrapsU(const PyramidDescriptor* p) { return p->wrapMode != 0; }
bool WrapsV(const PyramidDescriptor* p) { return p->wrapMode == 1; }

float WrapDifference(float d, bool wraps) {
  if (!wraps) return d;
  if (d > 0.5f) return d - 1.0f;
  if (d < -0.5f) return d + 1.0f;
  return d;
}

bool SameRegion(const TransformationReply& a, const TransformationReply& b) {
  return a.regionCode == b.regionCode && a.layer == b.layer;
}

struct Footprint {
  float u[3], v[3];  // the three footprint points, or all -1 when none fits
};

void NoFootprint(Footprint* f) {
  for (int i = 0; i < 3; ++i) f->u[i] = f->v[i] = kMissing;
}

// Maps sub-sample point (px, py) into `reply` and finds three footprint
// points in its own region from probes half a pixel away diagonally: two
// that span the pixel's axes, measured from a third. `probesOptional`: the
// view's mappings leave no trace, so a point that gets an artificial colour
// (whose footprint nothing reads) is left without probes.
void GetPDsNearRegionBoundaries(const PixelSampling& job, float px, float py, const PyramidDescriptor* input,
                                bool probesOptional, TransformationReply* reply, Footprint* f) {
  const vort& view = *job.view;
  const auto map = [&](float qx, float qy, TransformationReply* r) {
    Float_Pixels_to_Reply(qx, qy, view.previewScale, view.previewOffsetH, view.previewOffsetV, job.outputPyramid,
                          view, r, job.task);
  };
  map(px, py, reply);
  if (probesOptional && IsNonSampleableRegion(*reply, view)) return NoFootprint(f);
  const float pu = reply->inputU, pv = reply->inputV;
  const bool wu = WrapsU(input), wv = WrapsV(input);
  // A probe as a point near p, and its mirror image through p.
  const auto near = [&](const TransformationReply& q, float* u, float* v) {
    *u = pu + WrapDifference(q.inputU - pu, wu);
    *v = pv + WrapDifference(q.inputV - pv, wv);
  };
  const auto mirror = [&](const TransformationReply& q, float* u, float* v) {
    *u = pu - WrapDifference(q.inputU - pu, wu);
    *v = pv - WrapDifference(q.inputV - pv, wv);
  };
  TransformationReply D, E, F, G;
  bool haveE = false, haveF = false, inE = false, inF = false;
  map(px + 0.5f, py + 0.5f, &D);
  if (SameRegion(D, *reply)) {
    map(px + 0.5f, py - 0.5f, &E);
    haveE = true;
    inE = SameRegion(E, *reply);
    if (inE) {
      near(E, &f->u[0], &f->v[0]);
      mirror(E, &f->u[1], &f->v[1]);
      near(D, &f->u[2], &f->v[2]);
      return;
    }
    map(px - 0.5f, py + 0.5f, &F);
    haveF = true;
    inF = SameRegion(F, *reply);
    if (inF) {
      mirror(F, &f->u[0], &f->v[0]);
      near(F, &f->u[1], &f->v[1]);
      near(D, &f->u[2], &f->v[2]);
      return;
    }
  }
  map(px - 0.5f, py - 0.5f, &G);
  if (SameRegion(G, *reply)) {
    if (!haveE) {
      map(px + 0.5f, py - 0.5f, &E);
      inE = SameRegion(E, *reply);
    }
    if (inE) {
      near(E, &f->u[0], &f->v[0]);
      mirror(E, &f->u[1], &f->v[1]);
      mirror(G, &f->u[2], &f->v[2]);
      return;
    }
    if (!haveF) {
      map(px - 0.5f, py + 0.5f, &F);
      inF = SameRegion(F, *reply);
    }
    if (inF) {
      mirror(F, &f->u[0], &f->v[0]);
      near(F, &f->u[1], &f->v[1]);
      mirror(G, &f->u[2], &f->v[2]);
      return;
    }
  }
  NoFootprint(f);
}

// The centre of a plain sample: the corners' input points averaged pairwise,
// right pair, left pair, then the two.
void CornerAverage(const Corners& c, const PyramidDescriptor* input, float* u, float* v) {
  const bool wu = WrapsU(input), wv = WrapsV(input);
  const TransformationReply *nr = c.reply[kNewestRight], *nl = c.reply[kNewestLeft];
  const TransformationReply *pr = c.reply[kPreviousRight], *pl = c.reply[kPreviousLeft];
  const float ru = CombineCornerCoordinate(nr->inputU, pr->inputU, wu, true);
  const float lu = CombineCornerCoordinate(nl->inputU, pl->inputU, wu, true);
  const float rv = CombineCornerCoordinate(nr->inputV, pr->inputV, wv, false);
  const float lv = CombineCornerCoordinate(nl->inputV, pl->inputV, wv, false);
  *u = CombineCornerCoordinate(ru, lu, wu, true);
  *v = CombineCornerCoordinate(rv, lv, wv, false);
}

// The sub-samples' sum: colours weighted by alpha, in double, and their
// count.
struct SampleSum {
  double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
  int32_t n = 0;
};

// A sample composited over nothing, added to the sum.
inline void AddComposited(const float sample[4], SampleSum* sum) {
  // One view: the front colour is the sample itself.
  float front[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  CompositeAoverB(sample, front);
  sum->r += double(front[0]) * front[3];
  sum->g += double(front[1]) * front[3];
  sum->b += double(front[2]) * front[3];
  sum->a += front[3];
  ++sum->n;
}

// A sample's material effects, and its count in the pixel's reply.
inline void TakeSample(float sample[4], const vort& view, const TransformationReply& r, SuperSamplerReply* ssr) {
  ApplyMelFX(sample, view, r);
  ++ssr->sampleCount;
}

inline void AddSample(float sample[4], const vort& view, const TransformationReply& r, SuperSamplerReply* ssr,
                      SampleSum* sum) {
  TakeSample(sample, view, r, ssr);
  AddComposited(sample, sum);
}

inline void FinishSum(const SampleSum& sum, float colour[4]) {
  if (sum.a > 0.0) {
    colour[0] = float(sum.r / sum.a);
    colour[1] = float(sum.g / sum.a);
    colour[2] = float(sum.b / sum.a);
    colour[3] = float(sum.a / sum.n);
  } else {
    colour[0] = float(sum.r);
    colour[1] = float(sum.g);
    colour[2] = float(sum.b);
    colour[3] = float(sum.a);
  }
}

// The one sample of a pixel whose corners agree (or of quality 2 and 1,
// which never sub-sample), at the anchor corner's region. `centre`: the
// pixel centre's own mapping when it was made, else null; a plain sample is
// centred on it rather than on the corners' average, which drifts off the
// centre where the map bends hard (near a pole the drift reaches several
// input pixels).
void GetSingleSampledColor(const PixelSampling& job, int32_t mode, const Corners& corners,
                           const TransformationReply* centre, SuperSamplerReply* ssr, float colour[4]) {
  const vort& view = *job.view;
  ssr->samplingMode = mode;
  ssr->boundaryKind = 0;
  for (float& e : ssr->edgeCrossings) e = 0.0f;
  const TransformationReply& anchor = *corners.reply[kNewestRight];
  const PyramidDescriptor* input = PyramidFor(job, anchor);
  float sample[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  if (IsNonSampleableRegion(anchor, view)) {
    GetArtificialRegionColors(anchor, view, sample);
  } else if (mode == kModePlain && ssr->layerFlags != 0) {
    const float u = anchor.inputU, v = anchor.inputV;
    SampleAnisotropicallyColor_Centered_unitary(u, v, u, v, u, v, u, v, input, sample, job.sharpen, job.state);
  } else {
    float cu, cv;
    if (centre) {
      cu = centre->inputU;
      cv = centre->inputV;
    } else {
      CornerAverage(corners, input, &cu, &cv);
    }
    const TransformationReply *a = corners.reply[kNewestLeft], *b = corners.reply[kPreviousRight];
    const auto sampler =
        mode == kModePlain ? SampleAnisotropicallyColor_Centered_unitary : SampleUglyColor_Centered_unitary;
    sampler(a->inputU, a->inputV, b->inputU, b->inputV, anchor.inputU, anchor.inputV, cu, cv, input, sample,
            job.sharpen, job.state);
  }
  TakeSample(sample, view, anchor, ssr);
  FinishLoneSample(sample, colour);
}

// The sub-samples of a pixel whose corners differ, on a line across the
// boundary or a grid, each mapped on its own and sampled in its own region.
void GetBoundarySampledColor(const PixelSampling& job, int32_t x, int32_t y, const Corners& corners,
                             SuperSamplerReply* ssr, float colour[4]) {
  const vort& view = *job.view;
  ssr->samplingMode = kModeBoundary;
  for (float& e : ssr->edgeCrossings) e = 0.0f;
  int32_t iMin = 0, iMax = 0, jMin = 0, jMax = 0;
  switch (ssr->boundaryKind) {
    case 1: iMin = -kLineHalfSpan, iMax = kLineHalfSpan; break;
    case 2: jMin = -kLineHalfSpan, jMax = kLineHalfSpan; break;
    case 3: iMin = jMin = -kGridHalfSpan, iMax = jMax = kGridHalfSpan; break;
    default: break;
  }
  const float iSteps = float(iMax - iMin), jSteps = float(jMax - jMin);
  SampleSum sum;
  const bool probesOptional = ProbesLeaveNoTrace(view);
  for (int32_t j = jMin; j <= jMax; ++j) {
    const float fy = jSteps > 0.0f ? float(j) / jSteps : 0.0f;
    for (int32_t i = iMin; i <= iMax; ++i) {
      const float fx = iSteps > 0.0f ? float(i) / iSteps : 0.0f;
      TransformationReply r;
      Footprint foot{};
      GetPDsNearRegionBoundaries(job, float(x) + fx - 0.5f, float(y) + fy - 0.5f, view.inputPyramid, probesOptional,
                                 &r, &foot);
      float sample[4] = {0.0f, 0.0f, 0.0f, 0.0f};
      if (IsNonSampleableRegion(r, view)) {
        GetArtificialRegionColors(r, view, sample);
      } else {
        job.state->reuseLevel = 0;
        SampleAnisotropicallyColor_Centered_unitary(foot.u[1], foot.v[1], foot.u[0], foot.v[0], foot.u[2], foot.v[2],
                                                    r.inputU, r.inputV, PyramidFor(job, r), sample, job.sharpen,
                                                    job.state);
      }
      const int32_t region = r.regionCode;
      if (j == jMin && region == corners.region[kPreviousLeft]) ssr->edgeCrossings[0] = fx + 0.5f;
      if (j == jMax && region == corners.region[kNewestLeft]) ssr->edgeCrossings[1] = fx + 0.5f;
      if (i == iMin && region == corners.region[kPreviousLeft]) ssr->edgeCrossings[2] = fy + 0.5f;
      if (i == iMax && region == corners.region[kPreviousRight]) ssr->edgeCrossings[3] = fy + 0.5f;
      AddSample(sample, view, r, ssr, &sum);
    }
  }
  FinishSum(sum, colour);
}

}  // namespace

void FinishLoneSample(const float sample[4], float colour[4]) {
  // Composited over nothing, a finite colour's alpha divides out (x·1 is x,
  // and x·a/a is x in double): it comes back as it went in, but for a
  // negative zero, which the sum makes positive, and an alpha of zero or
  // below, which leaves nothing. The divisions that show it cost more than
  // the rest of a plain pixel's colour, so only a colour that is not finite
  // goes through them.
  if (std::isfinite(sample[0]) && std::isfinite(sample[1]) && std::isfinite(sample[2]) && std::isfinite(sample[3])) {
    const bool seen = sample[3] > 0.0f;
    for (int k = 0; k < 4; ++k) colour[k] = seen ? sample[k] + 0.0f : 0.0f;
    return;
  }
  SampleSum sum;
  AddComposited(sample, &sum);
  FinishSum(sum, colour);
}

float CombineCornerCoordinate(float a, float b, bool wraps, bool isU) {
  if (a == kMissing) return b;
  if (b == kMissing) return a;
  if (wraps && std::fabs(a - b) > 0.5f) {
    const float lower = a < b ? a : b, higher = a < b ? b : a;
    const float m = (lower + 1.0f + higher) * 0.5f;
    return isU ? m - std::floor(m) : m;
  }
  return (a + b) * 0.5f;
}

void MapCentres(const PixelSampling& job, const int32_t* xs, int32_t n, int32_t y,
                TransformationReply* const* centres) {
  float px[kMapRunCapacity], py[kMapRunCapacity];
  for (int32_t i = 0; i < n; ++i) {
    px[i] = CentreOf(xs[i]);
    py[i] = CentreOf(y);
  }
  MapPixelRun(px, py, n, job.outputPyramid, *job.view, centres, nullptr, job.task);
}

bool ProbesLeaveNoTrace(const vort& view) {
  // A brick sphere maps no further than its route, which writes only the
  // reply.
  if (view.legoMode == 1) return true;
  // Net searches start from the face the last point found (outputHint,
  // inputHint); Tissot spots from the spot it was near.
  return !view.isPolyhedral && view.inputPolyhedron == nullptr && !view.tissotOn;
}

bool IsNonSampleableRegion(const TransformationReply& reply, const vort& view) {
  const int32_t c = reply.regionCode;
  if (view.legoMode == 1) return true;
  if (c < kRegionVoidBelow || c == kRegionNothing || c == kRegionColorA) return true;
  return c >= 0 && view.falseColors;
}

void GetArtificialRegionColors(const TransformationReply& reply, const vort& view, float colour[4]) {
  for (int i = 0; i < 4; ++i) colour[i] = 0.0f;
  const int32_t c = reply.regionCode;
  if (c == kRegionColorA) {
    for (int i = 0; i < 3; ++i) colour[i] = view.colorAUnit[i];
    colour[3] = 1.0f;
    return;
  }
  if (c < kRegionVoidBelow) {
    if (view.transparentVoid) return;
    for (int i = 0; i < 3; ++i) colour[i] = view.colorMidUnit[i];
    colour[3] = 1.0f;
    return;
  }
  // Brick faces are shaded whether or not the void is transparent: a layer
  // with transparency would otherwise show no ball at all.
  if (view.legoMode == 1) {
    if (c >= 0) LegoRegionCodeToShadedColor(c, colour);
    return;
  }
  if (c >= 0 && view.falseColors) {
    const int32_t k = c + kFalseColourOffset;
    colour[0] = float((20 * k) % 256) * kByteUnit;
    colour[1] = float((37 * k) % 256) * kByteUnit;
    colour[2] = float((49 * k) % 256) * kByteUnit;
    colour[3] = 1.0f;
  }
}

bool NeedsMappedCentre(const PixelSampling& job, int32_t x) {
  return job.quality == kDeluxeQuality && BoundaryKindOf(CornersOf(job, x)) == 0;
}

void GetAdaptivelySampledColor(const PixelSampling& job, int32_t x, int32_t y, SuperSamplerReply* ssr,
                               float colour[4], TransformationReply* mappedCentre) {
  const Corners c = CornersOf(job, x);
  ssr->layerFlags = ssr->sampleCount = 0;
  for (int k = 0; k < 4; ++k) {
    ssr->cornerRegion[k] = c.region[k];
    ssr->cornerLayer[k] = c.layer[k];
  }
  ssr->boundaryKind = BoundaryKindOf(c);
  if (c.layer[kNewestLeft] != c.layer[kNewestRight] || c.layer[kPreviousLeft] != c.layer[kPreviousRight])
    ssr->layerFlags |= 1;
  if (c.layer[kNewestRight] != c.layer[kPreviousRight] || c.layer[kNewestLeft] != c.layer[kPreviousLeft])
    ssr->layerFlags |= 2;
  // Every pixel starts from the same sampler state, whichever task samples
  // it and whatever that task sampled before: the output must not depend on
  // how a row was split between tasks.
  job.state->level = 0.0f;
  job.state->reuseLevel = ssr->boundaryKind != 0 ? 1 : 0;

  switch (job.quality) {
    case kDeluxeQuality: {
      if (ssr->boundaryKind != 0) {
        GetBoundarySampledColor(job, x, y, c, ssr, colour);
        break;
      }
      TransformationReply own;
      TransformationReply* centre = mappedCentre;
      if (!centre) {
        const vort& view = *job.view;
        Float_Pixels_to_Reply(CentreOf(x), CentreOf(y), view.previewScale, view.previewOffsetH, view.previewOffsetV,
                              job.outputPyramid, view, &own, job.task);
        centre = &own;
      }
      if (SameRegion(*centre, *c.reply[kNewestRight])) {
        GetSingleSampledColor(job, kModePlain, c, centre, ssr, colour);
      } else {
        ssr->boundaryKind = 3;
        GetBoundarySampledColor(job, x, y, c, ssr, colour);
      }
      break;
    }
    case kPlainQuality: GetSingleSampledColor(job, kModePlain, c, nullptr, ssr, colour); break;
    case kCheapQuality: GetSingleSampledColor(job, kModeCheap, c, nullptr, ssr, colour); break;
    default: break;
  }
}
