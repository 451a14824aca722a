// Carrying one output point to the input image: the output mode's route to
// the sphere, the whole-sphere tumble, the input mapping, and the region
// code that tells the sampler what the point shows. Runs on every worker
// task for every pixel corner: no allocation, no shared writes.
#pragma once

#include <cstdint>

struct PerTaskStuffType;
struct PyramidDescriptor;
struct TransformationReply;
struct vort;

// Maps the unit output point (u, v) into reply; never fails. A point
// without a picture gets region -5 (-3, painted in the first colour, where
// the route marks it) and no input point; a point whose input has no
// picture gets -10001. Otherwise (inputU, inputV) is the input point (NaN
// coordinates become 0) and the region is -7, -9 on a glue strip, or the
// region the route imposes (the halves or cells of a sheet of views).
void CrazyDoSolarRect(float u, float v, const vort& view, TransformationReply* reply, PerTaskStuffType* task);

// Maps output pixel coordinates (px, py) at zoom-out `scale` and pan
// (offsetH, offsetV) of a picture of outputPyramid's level-0 size: (px, py)
// is the corner at the lower right of pixel (px, py).
void Float_Pixels_to_Reply(float px, float py, int32_t scale, int32_t offsetH, int32_t offsetV,
                           const PyramidDescriptor* outputPyramid, const vort& view, TransformationReply* reply,
                           PerTaskStuffType* task);

// Float_Pixels_to_Reply for up to kMapRunCapacity points at the view's
// zoom and pan, into replies[i], with the same bits; each point's Tissot
// search starts from tissotHints[i] and leaves its hit there (where
// given). The points are mapped one after another, in order, so search
// hints pass from one to the next as they would; but an equirectangular
// input's last step (an arctangent and an arccosine, a long chain of
// dependent operations) is worked out for the whole run at once, in lanes.
constexpr int32_t kMapRunCapacity = 16;
void MapPixelRun(const float* px, const float* py, int32_t n, const PyramidDescriptor* outputPyramid,
                 const vort& view, TransformationReply* const* replies, int32_t* tissotHints,
                 PerTaskStuffType* task);
