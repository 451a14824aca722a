// The colour of one output pixel from its four mapped corners and the input
// pyramid. A pixel whose corners agree is sampled once, with a footprint
// spanned by its corners. A pixel whose corners fall into different regions
// (region code, input layer, or inside/outside the input) is super-sampled
// along the direction in which they differ; each sub-sample is mapped on
// its own and sampled with a footprint from neighbour probes in its own
// region, and the sub-samples are averaged with alpha weighting. Regions
// without input get artificial colours.
#pragma once

#include <cstdint>

struct AnisoState;
struct ColumnRecord;
struct PerTaskStuffType;
struct PyramidDescriptor;
struct TransformationReply;
struct vort;

struct SuperSamplerReply {
  int32_t boundaryKind;  // bit 0: left and right corners differ; bit 1: the two rows differ
  int32_t layerFlags;    // bit 0: layers differ left to right; bit 1: between the rows
  int32_t sampleCount;
  float edgeCrossings[4];  // boundary positions 0..1 on the top, bottom, left and right sides
  int32_t cornerRegion[4];  // newest-right, newest-left, previous-right, previous-left
  int32_t cornerLayer[4];
  int32_t samplingMode;  // 0 boundary-aware, 1 plain, 2 cheap
};

// What sampling a pixel of one row needs besides the pixel's place. The
// sampler state belongs to the calling task alone.
struct PixelSampling {
  const vort* view;
  const PyramidDescriptor* outputPyramid;
  const ColumnRecord* records;  // the row's column records
  int32_t replySlot;            // slot of the newest corner row
  float sharpen;
  int32_t quality;  // 3 boundary-aware, 2 plain, 1 cheap; others leave the colour
  const PyramidDescriptor* cubeFaces;  // the six cube-face input pyramids, for points on a face
  PerTaskStuffType* task;
  AnisoState* state;
};

// Samples output pixel (x, y) into colour (a unit colour). mappedCentre,
// where given, is the pixel's centre as MapCentres gives it (the sampler
// may change it); without it the sampler maps the centre when it needs it.
void GetAdaptivelySampledColor(const PixelSampling& job, int32_t x, int32_t y, SuperSamplerReply* reply,
                               float colour[4], TransformationReply* mappedCentre = nullptr);

// True when the sampler will map pixel x's centre: its corners lie in one
// region, and the quality is the final one.
bool NeedsMappedCentre(const PixelSampling& job, int32_t x);
// Maps the centres of pixels xs[0..n) of row y into centres[i], as a run
// (n at most kMapRunCapacity).
void MapCentres(const PixelSampling& job, const int32_t* xs, int32_t n, int32_t y,
                TransformationReply* const* centres);

// True when mapping a point of the view changes nothing but its reply:
// no search hint, Tissot spot or other task state that a later mapping
// reads. Only then may the super-sampler leave out the footprint probes of
// a sub-sample that gets an artificial colour: the bytes are the same.
bool ProbesLeaveNoTrace(const vort& view);

// True when the point gets an artificial colour instead of a sample.
bool IsNonSampleableRegion(const TransformationReply& reply, const vort& view);
// The artificial colour of the point's region, over a start of transparent
// black.
void GetArtificialRegionColors(const TransformationReply& reply, const vort& view, float colour[4]);

// The colour of a pixel sampled once: its sample composited over nothing
// and weighed by its own alpha, as the sub-samples' average would give it.
void FinishLoneSample(const float sample[4], float colour[4]);

// The average of two input coordinates of a footprint: -1 counts as
// missing, and across a wrap seam the mean is taken the short way round (u
// is brought back into [0, 1), v is not).
float CombineCornerCoordinate(float a, float b, bool wraps, bool isU);
