// The per-invocation record kept in the plug-in's own handle between selector
// calls, and the large per-invocation block hung off it while an invocation
// runs. Both are plain records; every function takes Globals* first.
#pragma once

#include <cstdint>

#include "dialog/zor_reply.h"
#include "export/brick/lego_structure.h"
#include "frame/settings/tparameters.h"
#include "platform/plugin_api.h"
#include "polybuild/setup/polyhedron_setup_reuse.h"
#include "polyhedron/polyhedron.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/vort.h"

struct ColumnRecord;
struct PerTaskStuffType;
struct RowsAhead;

constexpr int32_t kBufferRequestOverhead = 1112;
constexpr int kPyramidSlots = 9;
constexpr int kPyramidMain = 0;
constexpr int kPyramidScratch = 1;
constexpr int kPyramidFirstCubeFace = 3;
constexpr int kMemoryDotCount = 25;
constexpr int kDialogItemCount = 200;
constexpr int kMaxFaceGroups = 1510;
constexpr int kBrickKinds = 13;
constexpr int kLookupCacheFloats = 401;
constexpr float kLookupCacheNotBuilt = 999.0f;
constexpr int kFilterTableWords = 2560;

struct UndoSnapshotSlot {
  TParameters settings;
  uint8_t holdsSnapshot;
  uint8_t writtenToFile;
};

struct InvocationStorage {
  int32_t abortPollCounter;
  int32_t progressCallCounter;
  int32_t progressLastDone;
  uint8_t exportCancelled;
  polyhedron outputPolyhedron;
  void* dialogUPPs[10];
  int32_t itemUsable[kDialogItemCount];
  float crammedCentreX[kMaxFaceGroups];
  float crammedCentreY[kMaxFaceGroups];
  float crammedAngle[kMaxFaceGroups];
  float crammedScale;
  // The unfolded solid the layers of a face-group export share; emptied
  // when the export ends (EndExportLayers) and with the storage.
  PolyUnfoldingSnapshot exportUnfolding;
  PyramidDescriptor exportCanvasPyramid;
  PyramidDescriptor* exportCanvas;
  // The size a final pass onto the host's canvas maps its rows to (level 0
  // only; it holds no pixels).
  PyramidDescriptor canvasFrame;
  PyramidDescriptor memdotThumbnailPyramid;
  // 20 arrays of 128 phases; float and integer forms share the words.
  alignas(16) float filterTable[kFilterTableWords];
  int32_t brickKindCounts[kBrickKinds];
  int32_t brickKindFlaggedCounts[kBrickKinds];
  LegoStructure brickSphere;
  float inverseParameterCache[kLookupCacheFloats];
  float mollweideThetaCache[kLookupCacheFloats];
  void* memdotThumbnail;
  int32_t triangleWave[256];
  float oddsTable[256];
  UndoSnapshotSlot undoSlots[2];
  int32_t progressivePreviewRows;
  int16_t memdotItems[kMemoryDotCount];
  int16_t memdotStates[kMemoryDotCount];
  int32_t thumbnailMemdot;
  int32_t hoverMemdot;
  int32_t memdotPersistent[kMemoryDotCount];
  void* memdotTimer;
  void* typingTimer;
  // The one view of the running pass, built at its first row; viewBuilt is 0
  // until then, so a pass that starts elsewhere than row 0 builds it too.
  vort view;
  uint8_t viewBuilt;
  // The bands of the running pass that the tasks render ahead; null when
  // the pass goes row by row.
  RowsAhead* rowsAhead;
};

struct Globals {
  int16_t result;
  Rect previewItemRect;
  FilterRecord* filterRecord;
  int32_t taskCount;
  intptr_t taskTerminationQueue;
  Rect proxyRect;
  int32_t defaultPreviewScale;
  uint8_t parametersSelectorSeen;
  InvocationStorage* storage;
  void* progressWindow;
  ZorZReply progressReply;
  int32_t firstRow, lastRow;
  int32_t lastColumn;
  int32_t progressTotal, progressDone;
  int32_t progressLayerCount, progressLayersDone;
  int32_t passPhase;
  int32_t currentRow;
  int32_t maskBandTop, maskBandBottom, inputBandTop, inputBandBottom;
  uint8_t moreToDo;
  uint8_t wantMask;
  Rect savedFilterRect;
  int32_t maxPreviewScale;
  int64_t columnRecordsSize;
  int32_t outputWidth, outputHeight;
  int32_t previewWidth, previewHeight;
  int32_t drawingRow;
  int32_t columnRecordCount;
  uint8_t freshHandle;
  BufferID columnRecordsBufferID, storageBufferID, taskRecordsBufferID;
  ColumnRecord* columnRecords;
  PyramidDescriptor previewPyramid;
  PerTaskStuffType* taskRecords;
  PyramidDescriptor pyramids[kPyramidSlots];
  int32_t dialogOutcome;
  int32_t undoSlot;
  void* dialogWindow;
  uint8_t optionKeyDown, controlKeyDown;
  BufferID inputPolyhedronBufferID;
  polyhedron* inputPolyhedron;
  int32_t galleryItem;
  // Task records actually allocated at start; shares of a job never exceed it.
  int32_t taskRecordCount;
};

// The settings record in the host's parameters handle (null before it exists).
inline TParameters* Params(const Globals* globals) {
  FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  return (fr && fr->parameters) ? reinterpret_cast<TParameters*>(*fr->parameters) : nullptr;
}

inline BufferProcs* HostBuffers(const Globals* globals) {
  return globals && globals->filterRecord ? globals->filterRecord->bufferProcs : nullptr;
}
