#include "frame/invocation.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "dialog/dialog_services.h"
#include "export/preset_preview.h"
#include "frame/export_layer.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/settings/persistence.h"
#include "frame/base/result_codes.h"
#include "frame/settings/scripting.h"
#include "frame/base/task_pool.h"
#include "polybuild/voronoi/voronoi_spots.h"
#include "projection/task_record.h"
#include "render/render_services.h"
#include "render/rows/column_record.h"

namespace {

constexpr int16_t kMemoryDotItems[kMemoryDotCount] = {10, 47, 113, 112, 111, 108, 80, 78, 27, 6, 29, 20, 68,
                                                       66, 42, 87, 77, 44, 24, 88, 95, 89, 19, 14, 16};

void InitAllPyramids(Globals* globals, float* filterTable) {
  InitPyramidProcs(&globals->previewPyramid, globals, filterTable);
  for (PyramidDescriptor& p : globals->pyramids) InitPyramidProcs(&p, globals, filterTable);
}

}  // namespace

void Nullify_buffers(Globals* globals, float* filterTable) {
  globals->columnRecords = nullptr;
  globals->columnRecordsBufferID = 0;
  globals->storage = nullptr;
  globals->storageBufferID = 0;
  globals->taskRecords = nullptr;
  globals->taskRecordsBufferID = 0;
  globals->taskRecordCount = 0;
  globals->inputPolyhedron = nullptr;
  globals->inputPolyhedronBufferID = 0;
  InitAllPyramids(globals, filterTable);
}

void CalcTemporaryDimensions(Globals* globals, const Rect* rect, int32_t scale) {
  if (TParameters* p = Params(globals)) p->previewScale = scale;
  globals->outputWidth = int32_t(rect->right) - rect->left;
  globals->outputHeight = int32_t(rect->bottom) - rect->top;
  globals->firstRow = 0;
  globals->lastRow = globals->outputHeight - 1;
  globals->lastColumn = globals->outputWidth - 1;
}

void CalcPermanentDimensions(Globals* globals) {
  const int32_t w = globals->outputWidth, h = globals->outputHeight;
  globals->columnRecordCount = std::max(2 * (std::max(w, h) + 4), 3 * w + 2184);
}

void MakeBufferRequest(Globals* globals) {
  globals->columnRecordsSize = int64_t(kColumnRecordBytes) * globals->columnRecordCount;
  globals->filterRecord->bufferSpace = int32_t(globals->columnRecordsSize + kBufferRequestOverhead);
}

bool DoGrabbing(Globals* globals) {
  Nullify_buffers(globals, nullptr);
  BufferProcs* procs = HostBuffers(globals);
  globals->columnRecords = static_cast<ColumnRecord*>(
      RobustNewPtr(uint64_t(std::max<int64_t>(globals->columnRecordsSize, 0)), &globals->columnRecordsBufferID,
                   procs));
  const int32_t processors = std::max(1, GetMaximumProcessorCount());
  globals->taskRecords = static_cast<PerTaskStuffType*>(
      RobustNewPtr(sizeof(PerTaskStuffType) * uint64_t(processors), &globals->taskRecordsBufferID, procs));
  if (globals->taskRecords) {
    std::memset(globals->taskRecords, 0, sizeof(PerTaskStuffType) * size_t(processors));
    globals->taskRecordCount = processors;
  }
  globals->storage =
      static_cast<InvocationStorage*>(RobustNewPtr(sizeof(InvocationStorage), &globals->storageBufferID, procs));
  if (globals->storage) std::memset(globals->storage, 0, sizeof(InvocationStorage));
  if (!globals->columnRecords || !globals->taskRecords || !globals->storage) {
    dump_Storage(globals);
    die(globals);
    KillRects(globals);
    return false;
  }
  return true;
}

void OncePerInvocationTasksNeedingMemory(Globals* globals) {
  InvocationStorage* s = globals->storage;
  TParameters* p = Params(globals);
  InitAllPyramids(globals, s->filterTable);
  TryToAllocatePyramid_2006(&globals->previewPyramid, 128, 128, PyramidDataKind_Packed8, 0);
  // A preview that nothing has painted yet must not carry stale memory into
  // the cached settings file.
  Build_blank_preview(globals);
  InitPyramidProcs(&s->memdotThumbnailPyramid, globals, s->filterTable);
  InitPyramidProcs(&s->exportCanvasPyramid, globals, s->filterTable);
  globals->optionKeyDown = globals->controlKeyDown = 0;
  if (!ScriptingParamsAreComing(globals)) Cache2Settings(globals);
  if (globals->freshHandle == 1) {
    globals->freshHandle = 0;
    p->facesExportOption = 0;
    p->sizedExportChoice = 1;
    p->sizedExportWidth = 100;
    p->sizedExportHeight = 100;
  }
  globals->previewWidth = globals->previewHeight = 0;
  std::fill(std::begin(s->memdotPersistent), std::end(s->memdotPersistent), 0);
  p->pyramidsFilled = 0;
  s->inverseParameterCache[0] = kLookupCacheNotBuilt;
  NullifyPolyStorage(&s->outputPolyhedron);
  SetGSpots(0);
  SetPSpots(0);
  globals->galleryItem = 0;
  s->undoSlots[0].holdsSnapshot = s->undoSlots[1].holdsSnapshot = 0;
  s->undoSlots[0].writtenToFile = s->undoSlots[1].writtenToFile = 0;
  globals->undoSlot = 0;
  globals->dialogWindow = nullptr;
  NullifyPICT_Memdot_Thumbnail(globals);
  ReadInvocationBracketingSettingsFile(globals);
  TryToAllocatePyramid_2006(&globals->pyramids[kPyramidScratch], 50, 50, PyramidDataKind_FourFloat, 0);
  Start_multithreading(globals);
  p->exportKind = ExportKind_Result;
}

void FixBuffersThatDependOnOutputDimensions(Globals* globals) {
  const FilterRecord* fr = globals->filterRecord;
  globals->columnRecordCount = int32_t(fr->inRect.right) - fr->inRect.left + 4;
  const int64_t need = int64_t(kColumnRecordBytes) * globals->columnRecordCount;
  if (need <= globals->columnRecordsSize && globals->columnRecords) return;
  RobustDispose(&globals->columnRecords, &globals->columnRecordsBufferID, HostBuffers(globals));
  globals->columnRecordsSize = need;
  globals->columnRecords = static_cast<ColumnRecord*>(
      RobustNewPtr(uint64_t(need), &globals->columnRecordsBufferID, HostBuffers(globals)));
  // Running out of memory here is not the user's doing: say so.
  if (!globals->columnRecords) globals->result = kOutOfMemory;
}

int32_t WidthOfCurrentOutput(const Globals* globals) {
  const TParameters* p = Params(globals);
  if (p && p->runMode == RunMode_ExportLayer && globals->storage && globals->storage->exportCanvas)
    return globals->storage->exportCanvas->levelWidth[0];
  const Rect& r = globals->filterRecord->outRect;
  return int32_t(r.right) - r.left;
}

int32_t HeightOfCurrentOutput(const Globals* globals) {
  const TParameters* p = Params(globals);
  if (p && p->runMode == RunMode_ExportLayer && globals->storage && globals->storage->exportCanvas)
    return globals->storage->exportCanvas->levelHeight[0];
  const Rect& r = globals->filterRecord->outRect;
  return int32_t(r.bottom) - r.top;
}

void DoShutDown(Globals* globals) {
  if (globals->storage) WriteInvocationBracketingSettingsFile(globals);
  End_multithreading(globals);
  dump_Storage(globals);
}

void dump_Storage(Globals* globals) {
  BufferProcs* procs = HostBuffers(globals);
  if (InvocationStorage* s = globals->storage) {
    DumpPolyStorage(&s->outputPolyhedron, procs);
    EndExportLayers(globals);
    DestroyLegoBall(&s->brickSphere, globals);
    DisposePyramidData(&s->memdotThumbnailPyramid);
    DisposePyramidData(&s->exportCanvasPyramid);
  }
  if (globals->inputPolyhedron) {
    DumpPolyStorage(globals->inputPolyhedron, procs);
    RobustDispose(&globals->inputPolyhedron, &globals->inputPolyhedronBufferID, procs);
  }
  RobustDispose(&globals->columnRecords, &globals->columnRecordsBufferID, procs);
  DisposePyramidData(&globals->previewPyramid);
  RobustDispose(&globals->taskRecords, &globals->taskRecordsBufferID, procs);
  globals->taskRecordCount = 0;
  RobustDispose(&globals->storage, &globals->storageBufferID, procs);
  for (PyramidDescriptor& p : globals->pyramids) DisposePyramidData(&p);
}

void die(Globals* globals) { globals->result = kWorkBuffersMissing; }

void KillRects(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (!fr) return;
  fr->inRect = fr->outRect = fr->maskRect = Rect{0, 0, 0, 0};
}

void InitMemoryDots(Globals* globals, void* window) {
  InvocationStorage* s = globals->storage;
  std::copy(std::begin(kMemoryDotItems), std::end(kMemoryDotItems), s->memdotItems);
  std::fill(std::begin(s->memdotStates), std::end(s->memdotStates), int16_t(0));
  s->thumbnailMemdot = s->hoverMemdot = -1;
  ReactToHoverOverEmptyMemoryDot(globals, window);
}
