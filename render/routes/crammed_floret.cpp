#include "render/routes/crammed_floret.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "polyhedron/polyhedron_record.h"
#include "projection/nets/florets.h"
#include "projection/nets/florets_basis.h"
#include "projection/framing.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/render_hint.h"
#include "render/vort.h"

namespace {

constexpr double kCanvasUnit = 0.001;  // canvas corners are in thousandths of the framing unit
constexpr int32_t kAllFacegroups = -1;
// Farthest a petal map reaches into the net's plane: the crammed net lies in
// (-1, 1) squared, read at most 1.2 times enlarged or through a power 5/6
// about a vertex of the net, both well inside this radius.
constexpr double kPetalReach = 4.0;
constexpr int32_t kCoarseSteps = 256;  // samples across the reach, each way
constexpr int32_t kFineSteps = 8;      // samples across one coarse step at the rim

// The petal's net is searched as the plain net view searches it, on the
// task's own hint.
void ReadPetalNet(const void* context, float x, float y, float point[3], uint8_t* outside, renderhinttype* hint) {
  DoPolyhedralTransforms(point, static_cast<const polyhedron*>(context), x, y, outside, hint);
}

FloretNet PetalNet(const polyhedron* poly) { return {ReadPetalNet, poly, poly->verts2D[0].x, poly->verts2D[0].y}; }

struct PlaneBox {
  double xMin = 1e30, xMax = -1e30, yMin = 1e30, yMax = -1e30;
  bool Empty() const { return xMin > xMax; }
  void Add(double x, double y) {
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
  }
};

struct PetalProbe {
  const FloretBasis* basis;
  FloretNet net;
  renderhinttype* hint;
  bool Hits(double x, double y) const {
    float p[3];
    uint8_t outside = 1;
    CopsInTrouble(fcomplex{x, y}, &outside, p, basis, &net, hint);
    return !outside;
  }
};

// Grows `box` by the hits in the cell of size h at (x, y), sampled finely:
// the coarse grid can pass between a petal's tip and its rim.
void RefineCell(const PetalProbe& probe, double x, double y, double h, PlaneBox* box) {
  const double f = h / kFineSteps;
  for (int32_t i = -kFineSteps; i <= kFineSteps; ++i)
    for (int32_t j = -kFineSteps; j <= kFineSteps; ++j) {
      const double px = x + i * f, py = y + j * f;
      if (probe.Hits(px, py)) box->Add(px, py);
    }
}

// The plane box the petals actually cover. The canvas corners of the floret
// table were drawn around particular petal nets; a net unfolded otherwise
// reaches elsewhere, so the drawn petals are measured, not assumed.
PlaneBox MeasurePetals(const FloretBasis& basis, const polyhedron* poly) {
  auto hint = std::make_unique<renderhinttype>();
  hint->band = kNoBand;
  PrepareShortTriList(poly, 0.0f, 0.0f, kAllFacegroups, 0.0f, hint.get(), 0.0f, 0.0f, false);
  const PetalProbe probe{&basis, PetalNet(poly), hint.get()};
  const double alpha = basis.petalCount * 0.5 / basis.exponentDivisor;
  const double reach = std::pow(kPetalReach / std::fabs(basis.scale), 1.0 / alpha);
  const double h = 2.0 * reach / kCoarseSteps;
  PlaneBox coarse;
  for (int32_t j = 0; j <= kCoarseSteps; ++j)
    for (int32_t i = 0; i <= kCoarseSteps; ++i) {
      const double x = -reach + i * h, y = -reach + j * h;
      if (probe.Hits(x, y)) coarse.Add(x, y);
    }
  if (coarse.Empty()) return coarse;
  // Only the cells on the rim of the coarse box can hold farther points.
  PlaneBox fine = coarse;
  for (int32_t j = 0; j <= kCoarseSteps; ++j)
    for (int32_t i = 0; i <= kCoarseSteps; ++i) {
      const double x = -reach + i * h, y = -reach + j * h;
      const bool rim = x == coarse.xMin || x == coarse.xMax || y == coarse.yMin || y == coarse.yMax;
      if (rim && probe.Hits(x, y)) RefineCell(probe, x, y, h, &fine);
    }
  // What lies between the fine samples is at most one fine step away.
  const double margin = h / kFineSteps;
  fine.xMin -= margin;
  fine.xMax += margin;
  fine.yMin -= margin;
  fine.yMax += margin;
  return fine;
}

}  // namespace

bool IsCrammedFloretView(const vort& view) {
  return view.isPolyhedral && view.legoMode == 0 && view.polyhedron && view.polyhedron->cramMode != 0;
}

bool SetUpCrammedFloretView(vort* view) {
  if (!IsFloretWithPolyhedronBasis(view->outputMode)) return false;
  GetBasisOfWarpyPolyprojection(view->outputMode, &view->floret);
  const FloretBasis& b = view->floret;
  PlaneBox box;
  box.Add(b.canvasMin.re * kCanvasUnit - 0.5, b.canvasMin.im * kCanvasUnit - 0.5);
  box.Add(b.canvasMax.re * kCanvasUnit - 0.5, b.canvasMax.im * kCanvasUnit - 0.5);
  // The canvas only ever grows, so florets that keep to it are framed by it.
  if (view->polyhedron && view->polyhedron->n2DVerts > 0) {
    const PlaneBox petals = MeasurePetals(b, view->polyhedron);
    if (!petals.Empty()) {
      box.Add(petals.xMin, petals.yMin);
      box.Add(petals.xMax, petals.yMax);
    }
  }
  SetUpSnugglebox(&view->snuggle, view->outputAspect, box.xMin, box.yMin, box.xMax, box.yMax);
  return true;
}

void CrammedFloretPoint(float u, float v, const vort& view, float point[3], uint8_t* outside, renderhinttype* hint) {
  fcomplex z;
  UF_to_snuggle(u, v, &z, &view.snuggle);
  const FloretNet net = PetalNet(view.polyhedron);
  CopsInTrouble(z, outside, point, &view.floret, &net, hint);
}
