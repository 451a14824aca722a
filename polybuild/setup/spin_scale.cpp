#include "polybuild/setup/spin_scale.h"

#include <cstring>

#include "frame/globals.h"  // takes the whole invocation: its host buffer suite and its run mode
#include "frame/base/host_suites.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"

namespace {

constexpr float kTwoPiF = 6.2831855f;
constexpr int32_t kRunModePreview = 1;

}  // namespace

float GetScaleFromSpin(float spin, int32_t outputMode, Globals* g) {
  BufferProcs* procs = HostBuffers(g);
  // The record is far too large for the stack; it lives on the heap for the
  // call and is freed before the return.
  BufferID id = 0;
  void* block = RobustNewPtr(sizeof(polyhedron), &id, procs);
  if (!block) return 0.0f;
  std::memset(block, 0, sizeof(polyhedron));
  auto* scratch = static_cast<polyhedron*>(block);
  NullifyPolyStorage(scratch);
  const TParameters* params = Params(g);
  const uint8_t fullDetail = params && params->runMode == kRunModePreview ? 0 : 1;
  DarOzoPolySetup(outputMode, scratch, 0.5f, 0.0f, 0, spin * kTwoPiF, kNetMethodGlued, procs, fullDetail);
  const float scale = scratch->snugglingScale;
  DumpPolyStorage(scratch, procs);
  RobustDisposePtr(&block, &id, procs);
  return scale;
}
