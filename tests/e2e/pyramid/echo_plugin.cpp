// A test build of the plug-in whose filter reads the host's image into the
// main colour pyramid (intake, levels on the worker tasks) and writes level 0
// back into the image unchanged. Every request the intake makes of the host
// is printed to stderr as "pyramid-request top left bottom right".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "platform/memory.h"
#include "platform/plugin_api.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_intake.h"
#include "pyramid/pyramid_pixels.h"

namespace {

struct EchoState {
  Globals* globals;
  int32_t row;
};

AdvanceStateProc g_hostAdvance = nullptr;
FilterRecord* g_record = nullptr;

OSErr16 LoggedAdvance() {
  const Rect& r = g_record->inRect;
  std::fprintf(stderr, "pyramid-request %d %d %d %d\n", r.top, r.left, r.bottom, r.right);
  return g_hostAdvance();
}

void EmptyRects(FilterRecord* r) { r->inRect = r->outRect = r->maskRect = Rect{0, 0, 0, 0}; }

void AskForRow(FilterRecord* r, int32_t row) {
  const Rect& f = r->filterRect;
  r->inRect = r->outRect = Rect{int16_t(f.top + row), f.left, int16_t(f.top + row + 1), f.right};
  r->maskRect = Rect{f.top, f.left, f.top, f.left};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = r->outHiPlane = int16_t(r->planes - 1);
  r->inputRate = r->maskRate = 0x10000;
  r->inputPadding = r->outputPadding = r->maskPadding = -1;
}

void TearDown(EchoState* s) {
  Globals* g = s->globals;
  End_multithreading(g);
  for (PyramidDescriptor& p : g->pyramids) DisposePyramidData(&p);
  DisposePtr(g->taskRecords);
  std::free(g->storage);
  std::free(g);
  s->globals = nullptr;
}

// Level-0 row `row` in the host's planes and sample size.
void WriteRow(const FilterRecord* r, const PyramidDescriptor* p, int32_t row) {
  const int32_t planes = r->outHiPlane - r->outLoPlane + 1;
  const bool colour = r->imageMode == kImageModeRGB || r->imageMode == kImageModeRGB48 ||
                      r->imageMode == kImageModeRGB96;
  const bool alpha = r->filterCase == kFilterCaseEditableTransparencyNoSelection ||
                     r->filterCase == kFilterCaseEditableTransparencyWithSelection;
  auto* out = static_cast<uint8_t*>(r->outData);
  const int32_t bytes = r->depth == 32 ? 4 : (r->depth == 16 ? 2 : 1);
  for (int32_t x = 0; x < p->levelWidth[0]; ++x) {
    float c[4];
    if (p->dataKind == PyramidDataKind_FourFloat) {
      get_pyramid_sample_point128bit_HDRcomponent_call(x, row, p, 0, &c[0], &c[1], &c[2], &c[3]);
    } else {
      int32_t v[4];
      get_pyramid_sample_pointColorcall(x, row, p, 0, &v[0], &v[1], &v[2], &v[3]);
      for (int i = 0; i < 4; ++i) c[i] = float(v[i]);
    }
    for (int32_t plane = 0; plane < planes; ++plane) {
      const float v = (alpha && plane == r->outLayerPlanes) ? c[3] : c[colour ? plane : 0];
      uint8_t* at = out + (size_t(x) * planes + plane) * bytes;
      if (bytes == 4) {
        std::memcpy(at, &v, 4);
      } else if (bytes == 2) {
        const uint16_t s = uint16_t(v);
        std::memcpy(at, &s, 2);
      } else {
        *at = uint8_t(v);
      }
    }
  }
}

int16_t Start(FilterRecord* r, EchoState* s) {
  if (!r->parameters) r->parameters = NewHandleClear(sizeof(TParameters));
  auto* g = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
  auto* storage = static_cast<InvocationStorage*>(std::calloc(1, sizeof(InvocationStorage)));
  if (!g || !storage || !r->parameters || !r->advanceState) {
    std::free(g);
    std::free(storage);
    EmptyRects(r);
    return -108;
  }
  s->globals = g;
  g->filterRecord = r;
  g->storage = storage;
  g->savedFilterRect = r->filterRect;
  for (PyramidDescriptor& p : g->pyramids) InitPyramidProcs(&p, g, storage->filterTable);
  const int32_t tasks = GetMaximumProcessorCount();
  void* records = NewPtrClear(int64_t(sizeof(PerTaskStuffType)) * tasks);
  if (records) {
    g->taskRecords = new (records) PerTaskStuffType[tasks]();
    g->taskRecordCount = tasks;
  }
  Start_multithreading(g);

  const int32_t width = r->filterRect.right - r->filterRect.left;
  const int32_t height = r->filterRect.bottom - r->filterRect.top;
  int16_t result = AllocateColorPyramids(width, height, g);
  if (result == 0) {
    g_record = r;
    g_hostAdvance = r->advanceState;
    r->advanceState = LoggedAdvance;
    g->moreToDo = 1;
    FillPyramids(g);
    r->advanceState = g_hostAdvance;
    result = g->result;
  }
  if (result != 0) {
    TearDown(s);
    EmptyRects(r);
    return result;
  }
  s->row = 0;
  AskForRow(r, 0);
  return r->advanceState();
}

int16_t Continue(FilterRecord* r, EchoState* s) {
  const PyramidDescriptor* p = &s->globals->pyramids[kPyramidMain];
  for (;;) {
    if (!r->outData) {
      TearDown(s);
      EmptyRects(r);
      return -108;
    }
    WriteRow(r, p, s->row);
    if (++s->row >= p->levelHeight[0]) {
      TearDown(s);
      EmptyRects(r);
      return 0;
    }
    AskForRow(r, s->row);
    if (const OSErr16 err = r->advanceState()) {
      TearDown(s);
      EmptyRects(r);
      return err;
    }
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void PluginMain(int16_t selector, FilterRecord* record,
                                                                   DataWord* data, int16_t* result) {
  *result = 0;
  if (selector == kSelectorAbout || selector == kSelectorParameters || selector == kSelectorFinish) return;
  if (selector == kSelectorPrepare) {
    record->bufferSpace = 0;
    return;
  }
  auto* state = reinterpret_cast<EchoState*>(*data);
  if (!state) {
    state = static_cast<EchoState*>(NewPtrClear(sizeof(EchoState)));
    if (!state) {
      *result = -108;
      return;
    }
    *data = reinterpret_cast<DataWord>(state);
  }
  if (selector == kSelectorStart) {
    *result = Start(record, state);
  } else if (selector == kSelectorContinue && state->globals) {
    *result = Continue(record, state);
  } else {
    *result = kResultBadSelector;
  }
}
