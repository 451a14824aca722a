#include "render/rows/inverse_mapping.h"

#include <cmath>

#include "frame/base/task_pool.h"
#include "polyhedron/nets/net_triangles.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_rays.h"
#include "projection/task_record.h"
#include "projection/tumble.h"
#include "projection/framing.h"
#include "projection/input/input_mapping.h"
#include "projection/inverse/special_views.h"
#include "projection/sphere_convention.h"
#include "projection/sphere_convention_wide.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/rows/column_record.h"
#include "render/routes/crammed_floret.h"
#include "render/output_modes.h"
#include "render/routes/polyhedral_warp.h"
#include "render/routes/routes_brick.h"
#include "render/vort.h"

namespace {

constexpr float kTissotReach = 0.0225f;  // 0.15 squared: farther centres draw nothing
constexpr int32_t kNoForcedRegion = -1;
constexpr int32_t kLegoModePolyMap = 2;
constexpr int32_t kTurnWithoutOpening = -1;  // no output mode: the tumble alone
static_assert(RouteMarks{}.regionCode == kRegionNothing, "a route that paints nothing leaves the start region");
static_assert(RouteMarks{}.forcedRegion == kNoForcedRegion);

void StartValues(TransformationReply* reply) {
  reply->regionCode = kRegionNothing;
  reply->inputU = reply->inputV = -1.0f;
  reply->gridU = reply->gridV = -1.0f;
  reply->tissotField = 1.0f;
  reply->spotField = 1.0f;
  reply->normal[0] = reply->normal[1] = 0.0f;
  reply->normal[2] = 1.0f;
  // A slot is reused every other row; nothing of its last corner may survive.
  reply->inputFace = -1;
  reply->blendWeight = 1.0f;
  reply->faceRegion = -1;
  reply->sheetCell = -1;
  reply->glueMark = -1;
}

// The first Tissot centre closer than the reach, searched in circular order
// from the task's last hit, so that neighbouring corners usually test one.
void TissotField(const vort& view, const float p[3], TransformationReply* reply, PerTaskStuffType* task) {
  reply->tissotField = kTissotReach;
  const int32_t n = view.tissotSpotCount;
  if (n <= 0) return;
  int32_t i = task->tissotSearchStart;
  if (i < 0 || i >= n) i = 0;
  for (int32_t k = 0; k < n; ++k, i = (i + 1 == n) ? 0 : i + 1) {
    const float* s = view.tissotSpots[i];
    const float dx = p[0] - s[0], dy = p[1] - s[1], dz = p[2] - s[2];
    const float d2 = dx * dx + dy * dy + dz * dz;
    if (d2 < kTissotReach) {
      reply->tissotField = d2;
      task->tissotSearchStart = i;
      return;
    }
  }
}

// The region of a point the net search hit on a face: the net face, or the
// piece the shape's rules group it into. A ray search meets the flat solid
// and learns no warped piece, so only a net search takes the warp's region.
int32_t RegionOfNetFace(const polyhedron& poly, const renderhinttype& hint, int32_t face, bool warpRegion) {
  int32_t region = face;
  if (warpRegion && poly.warpStyle == 1) region = hint.hitRegion;
  const PolyFace& f = poly.faces[face];
  if (poly.regionRule[0]) region = f.fragment;
  if (poly.regionRule[1] && f.face3D >= 0 && f.face3D < kPolyMaxFaces) region = 1 + poly.faces[f.face3D].facegroup;
  if (poly.regionRule[2]) region = NetTriangleFacegroup(&poly, face);
  return region;
}

// The equirectangular map of the solid: the output point is a direction,
// turned by the view and cast as a ray from the solid's centre.
void PolyMapPoint(float u, float v, const vort& view, const polyhedron& poly, float p[3], uint8_t* outside,
                  renderhinttype* hint) {
  RectangularToSpherical(u, v, p);
  TwirlTransform(&view.tumble, kTurnWithoutOpening, p);
  // The solid's triangles run counter-clockwise seen from outside, and the
  // ray test meets such a triangle from behind: the ray is cast backwards so
  // that a direction shows the face it points at, not the one opposite.
  const double ray[3] = {-double(p[0]), -double(p[1]), -double(p[2])};
  // The hit point, which the scissor-mark overlay reads as a net search
  // leaves it.
  double b0, b1, b2;
  IntersectRayWithPoly_ReturningBarycentrics(ray, &poly, outside, hint, &b0, &b1, &b2);
}

// The net face under a point the search hit, or -1.
int32_t HitFace(const polyhedron& poly, const renderhinttype& hint) {
  if (!hint.hit || hint.lastFace < 0 || hint.lastFace >= poly.nTriangles) return -1;
  const int32_t face = poly.triangles[hint.lastFace].face2D;
  return face >= 0 && face < kPolyMaxFaces ? face : -1;
}

// The solid whose net or surface the output shows, if any.
const polyhedron* SolidOf(const vort& view) {
  const bool polyMap = view.legoMode == kLegoModePolyMap;
  return view.isPolyhedral && (view.legoMode == 0 || polyMap) ? view.polyhedron : nullptr;
}

// Where the input has no picture the point is void; a solid whose pieces
// stay apart there keeps its piece in the void code.
int32_t VoidCodeOf(const polyhedron* poly, int32_t region) {
  return (poly && poly->regionRule[3] && region >= 0) ? kRegionVoid - region : kRegionVoid;
}

void ClearNaNInput(TransformationReply* reply) {
  if (std::isnan(reply->inputU)) reply->inputU = 0.0f;
  if (std::isnan(reply->inputV)) reply->inputV = 0.0f;
}

// Points of an equirectangular input whose last step, the arctangent and
// arccosine that take a direction to the picture, waits to be done for a
// run of points at once. Their replies are incomplete until then.
struct PendingInputs {
  int32_t count;
  TransformationReply* reply[kMapRunCapacity];
  float x[kMapRunCapacity];  // the turned directions
  float y[kMapRunCapacity];
  float z[kMapRunCapacity];
};

// Completes every pending reply, with the bits the mapping of one point
// gives.
void FinishPendingInputs(const vort& view, PendingInputs* pending) {
  const int32_t n = pending->count;
  pending->count = 0;
  if (n == 0) return;
  float s[kMapRunCapacity], t[kMapRunCapacity];
  SphericalToRectangularRun(pending->x, pending->y, pending->z, n, s, t);
  const polyhedron* poly = SolidOf(view);
  for (int32_t i = 0; i < n; ++i) {
    TransformationReply* reply = pending->reply[i];
    uint8_t tooFar = 0;
    EquirectangularToInput(s[i], t[i], view.mirrorInput, &reply->inputU, &reply->inputV, &tooFar,
                           &reply->inputFace, &reply->layer, &reply->blendWeight);
    if (tooFar) reply->regionCode = VoidCodeOf(poly, reply->regionCode);
    ClearNaNInput(reply);
  }
}

// Maps the unit output point (u, v) into reply. With `pending` given and
// not full, an equirectangular input's last step may be left in it.
void MapPoint(float u, float v, const vort& view, TransformationReply* reply, PerTaskStuffType* task,
              PendingInputs* pending) {
  StartValues(reply);
  task->outputHint.quadrant = -1;
  task->outputHint.petalIndex = 0;
  task->outputHint.tabHit = 0;
  if (view.legoMode == 1) return Route_BrickSphere(view, reply);

  // Any unmapped point is the picture centre and outside, so that no route
  // can leave the sphere point undefined.
  float p[3] = {0.0f, 0.0f, 1.0f};
  uint8_t outside = 1;
  RouteMarks marks;
  const OutputModeRow* row = view.modeRow;
  if (row && row->route) {
    fcomplex plane;
    UF_to_snuggle(u, v, &plane, &view.snuggle);
    row->route(plane, view, p, &outside, &marks);
  }
  reply->glueMark = marks.glueMark;
  reply->sheetCell = marks.sheetCell;
  task->outputHint.tabHit = marks.tabHit;

  // A polyhedral mode has no route: its net is searched with the raw unit
  // coordinates, the net's own frame.
  const bool polyMap = view.legoMode == kLegoModePolyMap;
  const polyhedron* poly = SolidOf(view);
  renderhinttype& hint = task->outputHint;
  if (poly && polyMap) {
    PolyMapPoint(u, v, view, *poly, p, &outside, &hint);
  } else if (poly && poly->cramMode != 0) {
    CrammedFloretPoint(u, v, view, p, &outside, &hint);
  } else if (poly) {
    const float va = v * view.outputAspect;
    DoPolyhedralTransforms(p, poly, u, va, &outside, &hint);
    MaybeSecondaryWarp(p, poly, u, va, &outside, &hint);
  }
  if (outside) {
    reply->regionCode = hint.tabHit ? kRegionColorA : kRegionNothing;
    return;
  }
  if (row && (row->flags & OutputModeFlag_NormalIsPoint)) {
    for (int i = 0; i < 3; ++i) reply->normal[i] = p[i];
  }

  // A point on a face of the net is that face's region (or its piece's),
  // shown as such only when false colours or edges tell regions apart; a
  // false-coloured face needs no input unless an overlay reads its sphere
  // point. Every other point is a surface, unless a route painted it as
  // glue; a region a route imposes wins over all.
  int32_t region = marks.regionCode == kRegionGlueStrip ? kRegionGlueStrip : kRegionSurface;
  bool mapFlag = true;
  const int32_t face = poly ? HitFace(*poly, hint) : -1;
  if (face >= 0) {
    region = RegionOfNetFace(*poly, hint, face, !polyMap);
    if (view.falseColors) mapFlag = view.tissotOn || view.polySpotsOn;
    if (region >= 0 && !view.falseColors && !view.edgesOn) region = kRegionSurface;
  }
  if (marks.forcedRegion != kNoForcedRegion) region = marks.forcedRegion;
  reply->faceRegion = face;
  reply->regionCode = region;
  if (!mapFlag && !view.gridOn) {
    for (int i = 0; i < 3; ++i) reply->spherePoint[i] = p[i];
    return;
  }

  if (view.renderKind == 1) AnamorphicIntersect(p);
  TwirlTransform(&view.tumble, view.outputMode, p);
  if (view.renderKind == 2) AnamorphicIntersect(p);

  // Nothing after the input mapping but the NaN clearing reads what it
  // writes, so a pending point takes both up later.
  const bool defer = mapFlag && pending && pending->count < kMapRunCapacity &&
                     view.inputMode == InputMode_Equirectangular;
  if (defer) {
    const int32_t k = pending->count++;
    pending->reply[k] = reply;
    pending->x[k] = p[0];
    pending->y[k] = p[1];
    pending->z[k] = p[2];
  } else if (mapFlag) {
    uint8_t tooFar = 0;
    TransformSphereToInput(view.inputMode, view.mirrorInput, view.imageAspect, p, &reply->inputU, &reply->inputV,
                           &tooFar, view.mollweideTable, &reply->inputFace, &reply->layer, &reply->blendWeight,
                           view.inputPolyhedron, &task->inputHint);
    if (tooFar) reply->regionCode = VoidCodeOf(poly, region);
  }
  if (view.gridOn) {
    float s, t;
    SphericalToRectangular(p, &s, &t);
    reply->gridV = t;
    reply->gridU = view.mirrorInput ? s : 1.0f - s;
  }
  if (view.tissotOn) TissotField(view, p, reply, task);
  if (view.polySpotsOn) FindScissorHeight(view, hint.barycentrics, reply);
  if (!defer) ClearNaNInput(reply);
  for (int i = 0; i < 3; ++i) reply->spherePoint[i] = p[i];
}

// The unit output point of pixel coordinates (px, py) at zoom-out `scale`
// and pan (offsetH, offsetV), recorded in the reply.
void StartPixelReply(float px, float py, int32_t scale, int32_t offsetH, int32_t offsetV,
                     const PyramidDescriptor* outputPyramid, TransformationReply* reply, float* u, float* v) {
  const float s = float(scale);
  *u = (2.0f * (s * px + float(offsetH) + 0.5f) + 1.0f) / (2.0f * float(outputPyramid->levelWidth[0]));
  *v = (2.0f * (s * py + float(offsetV) + 0.5f) + 1.0f) / (2.0f * float(outputPyramid->levelHeight[0]));
  reply->outputU = *u;
  reply->outputV = *v;
  reply->pixelX = px;
  reply->pixelY = py;
  reply->layer = 0;
}

}  // namespace

void CrazyDoSolarRect(float u, float v, const vort& view, TransformationReply* reply, PerTaskStuffType* task) {
  MapPoint(u, v, view, reply, task, nullptr);
}

void Float_Pixels_to_Reply(float px, float py, int32_t scale, int32_t offsetH, int32_t offsetV,
                           const PyramidDescriptor* outputPyramid, const vort& view, TransformationReply* reply,
                           PerTaskStuffType* task) {
  float u, v;
  StartPixelReply(px, py, scale, offsetH, offsetV, outputPyramid, reply, &u, &v);
  CrazyDoSolarRect(u, v, view, reply, task);
}

void MapPixelRun(const float* px, const float* py, int32_t n, const PyramidDescriptor* outputPyramid,
                 const vort& view, TransformationReply* const* replies, int32_t* tissotHints,
                 PerTaskStuffType* task) {
  PendingInputs pending;
  pending.count = 0;
  for (int32_t i = 0; i < n; ++i) {
    float u, v;
    StartPixelReply(px[i], py[i], view.previewScale, view.previewOffsetH, view.previewOffsetV, outputPyramid,
                    replies[i], &u, &v);
    if (tissotHints) task->tissotSearchStart = tissotHints[i];
    MapPoint(u, v, view, replies[i], task, &pending);
    if (tissotHints) tissotHints[i] = task->tissotSearchStart;
  }
  FinishPendingInputs(view, &pending);
}
