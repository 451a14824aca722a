#include "polybuild/face_groups.h"

#include <algorithm>

#include "frame/globals.h"
#include "frame/host_suites.h"
#include "polybuild/polyhedron_setup.h"
#include "polyhedron/unfold_facegroups.h"
#include "polyhedron/fragment_layout.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_record.h"

namespace {

// The fixed net method of export layouts: a computed net with one tab per
// glued edge.
constexpr int32_t kExportNetMethod = 3;
constexpr int32_t kCramUnitScales = 1;
constexpr float kTabDepthPerUnit = 0.005f;  // tab size setting to net units

// Curved-element solids carry element tags in their faces; their groups come
// from the tag tables of the curved-element builders.
bool IsCurvedElementShape(int32_t shape) { return shape >= 161 && shape <= 180; }

}  // namespace

int32_t FacegroupOf3DFace_weirdo(int32_t face, const polyhedron* poly) { return VivoFacegroupOf3DFace(face, poly); }

int32_t FacegroupOf2DFace(int32_t face, const polyhedron* poly) {
  if (!poly) return 0;
  if (face < 0) return -1;
  if (poly->n2DFaces > 0) face = std::min(face, poly->n2DFaces - 1);
  if (IsCurvedElementShape(poly->shapeCode)) return FacegroupOf3DFace_weirdo(poly->faces[face].face3D, poly);
  return poly->facegroupTable ? poly->facegroupTable[face] : face;
}

int32_t NewCountFacegroupsInPoly(const polyhedron* poly) {
  if (!poly) return 1;
  int32_t largest = 0;
  // A net may lay a solid face out more than once (curved-element wings
  // join two pieces), so its faces can outnumber the solid's.
  const int32_t faces = std::max(poly->n3DFaces, poly->n2DFaces);
  for (int32_t f = 0; f < faces; ++f) largest = std::max(largest, FacegroupOf2DFace(f, poly));
  return 1 + largest;
}

int32_t highest_3D_vertex(const polyhedron* poly) {
  int32_t highest = -1;
  if (!poly) return highest;
  for (int32_t f = 0; f < poly->n3DFaces; ++f)
    for (int32_t c = 0; c < poly->faces[f].n3D && c < kPolyMaxCorners; ++c)
      highest = std::max(highest, poly->faces[f].vert3D[c]);
  return highest;
}

int32_t highest_2D_vertex_excluding_tabs(const polyhedron* poly) {
  int32_t highest = -1;
  if (!poly) return highest;
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.face3D < 0) continue;
    for (int32_t c = 0; c < face.n2D && c < kPolyMaxCorners; ++c) highest = std::max(highest, face.vert2D[c]);
  }
  return highest;
}

double PlanCrammingForExportation_core(int32_t outputMode, int32_t groupCount, BufferProcs* procs, polyhedron* poly,
                                       float tabDepth, uint8_t fullDetail, CrammingPlan* plan) {
  if (!poly || !plan) return 0.0;
  float maxWidth = 0.0f, maxHeight = 0.0f;
  for (int32_t k = 0; k < groupCount; ++k) {
    poly->unfoldingIndex = k;
    DarOzoPolySetup(outputMode, poly, 1.0f, tabDepth, kCramUnitScales, 0.0f, kExportNetMethod, procs, fullDetail);
    // The candidates are the directions of the net face's edges, each also
    // mirrored: one of them lies along the face's narrowest extent.
    float candidates[2 * kPolyMaxCorners];
    int32_t count = 0;
    if (k < poly->n2DFaces) {
      const PolyFace& face = poly->faces[k];
      for (int32_t e = 0; e < face.n2D && e < kPolyMaxCorners; ++e) {
        candidates[count++] = face.edgeAngle2D[e];
        candidates[count++] = -face.edgeAngle2D[e];
      }
    }
    float chosenWidth = 0.0f, chosenHeight = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
      DarOzoPolySetup(outputMode, poly, 1.0f, tabDepth, kCramUnitScales, candidates[i], kExportNetMethod, procs,
                      fullDetail);
      float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
      Find2DBoundingBoxSpecial(poly, &xMin, &xMax, &yMin, &yMax, k, kBoxOfFace);
      const float width = xMax - xMin;
      if (i > 0 && !(width < chosenWidth)) continue;  // the earlier one wins ties
      chosenWidth = width;
      chosenHeight = yMax - yMin;
      plan->centreX[k] = (xMin + xMax) * 0.5f;
      plan->centreY[k] = (yMin + yMax) * 0.5f;
      plan->angle[k] = candidates[i];
    }
    maxWidth = std::max(maxWidth, chosenWidth);
    maxHeight = std::max(maxHeight, chosenHeight);
  }
  // A plan with no width has no scale either; a render of it draws nothing
  // rather than dividing by zero.
  plan->scale = maxWidth > 0.0f ? 1.0f / maxWidth : 0.0f;
  return maxWidth > 0.0f ? double(maxHeight) / double(maxWidth) : 0.0;
}

double PlanCrammingForExportation(Globals* globals, int32_t outputMode, int32_t groupCount, BufferProcs* procs,
                                  polyhedron* poly) {
  TParameters* p = Params(globals);
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!p || !s || !poly) return 0.0;
  groupCount = std::clamp(groupCount, 0, int32_t(kMaxFaceGroups));
  CrammingPlan plan{s->crammedCentreX, s->crammedCentreY, s->crammedAngle, 0.0f};
  const float tabDepth = p->tabSize * kTabDepthPerUnit;
  const uint8_t fullDetail = p->runMode != RunMode_Preview ? 1 : 0;
  double ratio = 0.0;
  if (poly->exportPlanShape == -1) {
    ratio = PlanCrammingForExportation_core(outputMode, groupCount, procs, poly, tabDepth, fullDetail, &plan);
  } else {
    BufferID id = 0;
    void* block = RobustNewPtr(sizeof(polyhedron), &id, procs);
    if (!block) return 0.0;
    polyhedron* scratch = static_cast<polyhedron*>(block);
    NullifyPolyStorage(scratch);
    InitPoly(scratch, 1.0f, tabDepth);
    scratch->owner = globals;
    ratio = PlanCrammingForExportation_core(poly->exportPlanShape, groupCount, procs, scratch, tabDepth, fullDetail,
                                            &plan);
    DumpPolyStorage(scratch, procs);
    RobustDisposePtr(&block, &id, procs);
  }
  s->crammedScale = plan.scale;
  return ratio;
}
