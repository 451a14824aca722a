#include "polybuild/procedural/geodesic_scratch.h"

#include <cstring>

#include "frame/base/host_suites.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"

namespace {

constexpr int32_t kCramUnitScales = 1;
constexpr uint8_t kFullDetail = 1;

}  // namespace

bool ReserveSolidStorage(polyhedron* poly, BufferProcs* procs) {
  getPolyStorageEtc(poly, procs, kPolyMax3DVerts, kPolyMaxFaces);
  return poly->ownsArrays != 0;
}

ScratchPoly NewScratchPoly(const polyhedron* like, BufferProcs* procs) {
  ScratchPoly s{nullptr, 0, nullptr};
  s.block = RobustNewPtr(sizeof(polyhedron), &s.id, procs);
  if (!s.block) return s;
  std::memset(s.block, 0, sizeof(polyhedron));
  s.poly = static_cast<polyhedron*>(s.block);
  NullifyPolyStorage(s.poly);
  InitPoly(s.poly, like->targetRect[3], like->tabDepth);
  s.poly->owner = like->owner;
  return s;
}

int32_t BuildScratchSolid(const polyhedron* like, int32_t shapeCode, BufferProcs* procs, ScratchPoly* out) {
  *out = NewScratchPoly(like, procs);
  if (!out->poly) return kPolyErrorNoStorage;
  SetUpReallyGeneralPolyhedron(out->poly, shapeCode, kNetMethodComputed, kCramUnitScales, 0.0, procs, kFullDetail);
  int32_t error = out->poly->errorCode;
  if (error == kPolyErrorNone && out->poly->n3DFaces <= 0) error = kPolyErrorShapeNotAvailable;
  if (error != kPolyErrorNone) FreeScratchPoly(out, procs);
  return error;
}

void FreeScratchPoly(ScratchPoly* scratch, BufferProcs* procs) {
  if (!scratch->poly) return;
  DumpPolyStorage(scratch->poly, procs);
  RobustDisposePtr(&scratch->block, &scratch->id, procs);
  scratch->poly = nullptr;
}
