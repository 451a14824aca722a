#include "polyhedron/nets/scissor_marks.h"

#include "polyhedron/polyhedron_add.h"

namespace {

// The vertex of a turned point: the first stored vertex within the
// tolerance, else a new one; -1 (error 5) when the list is full.
int32_t VertexOf(polyhedron* poly, triplex turned) {
  uint8_t made = 0;
  return AddNew3DTVertToPolyhedron_tol(poly, turned, kScissorMergeTolerance, &made);
}

}  // namespace

void AddScissorMark(polyhedron* poly, triplex point, double value, int32_t tag, spintype spin, int32_t param,
                    triplex p1, triplex p2, triplex p3) {
  if (!poly) return;
  const int32_t k = poly->scissorMarkCount;
  if (k < 0 || k >= kPolyMaxScissorMarks) return;
  // The tag indexes scissorMarkOfTag; a tag past its end would write outside.
  if (tag < 0 || tag >= kPolyElementTags) return;
  ScissorMark& mark = poly->scissorMarks[k];
  mark.pivotVertex = VertexOf(poly, SpinPointAroundAxis(spin, point));
  if (mark.pivotVertex < 0) return;
  mark.inUse = 1;
  mark.value = value;
  mark.tag = tag;
  mark.param = param;
  poly->scissorMarkOfTag[tag] = k;
  const triplex companions[3] = {p1, p2, p3};
  for (int i = 0; i < 3; ++i) mark.verts3D[i] = VertexOf(poly, SpinPointAroundAxis(spin, companions[i]));
  ++poly->scissorMarkCount;
}
