#include "render/crammed_floret.h"

#include "polyhedron/polyhedron_record.h"
#include "projection/florets.h"
#include "projection/florets_basis.h"
#include "projection/framing.h"
#include "projection/net_projection.h"
#include "projection/render_hint.h"
#include "render/vort.h"

namespace {

constexpr double kCanvasUnit = 0.001;  // canvas corners are in thousandths of the framing unit

// The petal's net is searched as the plain net view searches it, on the
// task's own hint.
void ReadPetalNet(const void* context, float x, float y, float point[3], uint8_t* outside, renderhinttype* hint) {
  DoPolyhedralTransforms(point, static_cast<const polyhedron*>(context), x, y, outside, hint);
}

}  // namespace

bool IsCrammedFloretView(const vort& view) {
  return view.isPolyhedral && view.legoMode == 0 && view.polyhedron && view.polyhedron->cramMode != 0;
}

bool SetUpCrammedFloretView(vort* view) {
  if (!IsFloretWithPolyhedronBasis(view->outputMode)) return false;
  GetBasisOfWarpyPolyprojection(view->outputMode, &view->floret);
  const FloretBasis& b = view->floret;
  SetUpSnugglebox(&view->snuggle, view->outputAspect, b.canvasMin.re * kCanvasUnit - 0.5,
                  b.canvasMin.im * kCanvasUnit - 0.5, b.canvasMax.re * kCanvasUnit - 0.5,
                  b.canvasMax.im * kCanvasUnit - 0.5);
  return true;
}

void CrammedFloretPoint(float u, float v, const vort& view, float point[3], uint8_t* outside, renderhinttype* hint) {
  fcomplex z;
  UF_to_snuggle(u, v, &z, &view.snuggle);
  const polyhedron* poly = view.polyhedron;
  const FloretNet net = {ReadPetalNet, poly, poly->verts2D[0].x, poly->verts2D[0].y};
  CopsInTrouble(z, outside, point, &view.floret, &net, hint);
}
