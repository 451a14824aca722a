#include "export/face_plan.h"

#include <algorithm>

#include "frame/globals.h"
#include "frame/host_suites.h"
#include "polybuild/face_groups.h"
#include "polyhedron/polyhedron.h"

namespace {

constexpr float kTabDepthPerUnit = 0.005f;

}  // namespace

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
