#include "render/scanline_setup.h"

#include "frame/globals.h"
#include "frame/task_pool.h"
#include "projection/input_mapping.h"
#include "projection/mollweide.h"
#include "render/output_modes.h"
#include "render/vort.h"

namespace {

constexpr int32_t kRowsPerBand = 8;

}  // namespace

void DoOncePerScanlineSetup(Globals* globals, vort* view, int32_t row) {
  if (!globals->taskRecords || globals->taskCount < 1) return;
  // Division toward zero: corner rows -1 and 0 share band 0.
  const int32_t band = row / kRowsPerBand;
  PerTaskStuffType& first = globals->taskRecords[0];
  if (band == first.outputHint.band) return;
  // The short triangle lists of a band serve polyhedral output and the
  // polyhedron-net input; the modes that render draw no polyhedron, so only
  // the band is recorded.
  (void)view;
  for (int32_t i = 0; i < globals->taskCount; ++i) globals->taskRecords[i].outputHint.band = band;
}

void Prefill_any_threadshared_caches(PerTaskStuffType* first) {
  if (!first || !first->job) return;
  const vort& view = *static_cast<const vort*>(first->job);
  if (view.modeRow && view.modeRow->prefill) view.modeRow->prefill(view);
  if (view.inputMode == InputMode_Mollweide) MollweideThetaTable();
}
