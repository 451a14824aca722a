#include "polybuild/setup/polyhedron_setup_reuse.h"

#include <cstring>

#include "frame/base/host_suites.h"
#include "polybuild/setup/owner_gallery_item.h"

namespace {

bool SameKey(const PolyUnfoldingKey& a, const PolyUnfoldingKey& b) {
  return a.outputMode == b.outputMode && a.shapeCode == b.shapeCode && a.netMethod == b.netMethod &&
         a.aspect == b.aspect &&
         a.tabDepth == b.tabDepth && a.galleryItem == b.galleryItem && a.hasOwner == b.hasOwner &&
         a.fullDetail == b.fullDetail;
}

const void* OwnedArray(const polyhedron* poly, int32_t k) {
  switch (k) {
    case 0: return poly->coords2D;
    case 1: return poly->coords3D;
    case 2: return poly->faces2DRows;
    default: return poly->faces3DRows;
  }
}

void PointOwnedArrays(polyhedron* poly, void* const arrays[kPolyOwnedArrayCount]) {
  poly->coords2D = static_cast<const double(*)[2]>(arrays[0]);
  poly->coords3D = static_cast<const double(*)[3]>(arrays[1]);
  poly->faces2DRows = static_cast<const int16_t*>(arrays[2]);
  poly->faces3DRows = static_cast<const int16_t*>(arrays[3]);
}

void FreeBlocks(void* blocks[kPolyOwnedArrayCount], BufferID ids[kPolyOwnedArrayCount], BufferProcs* procs) {
  for (int32_t k = 0; k < kPolyOwnedArrayCount; ++k)
    if (blocks[k]) RobustDisposePtr(&blocks[k], &ids[k], procs);
}

// Copies of the owned arrays of `from` (none when it borrows its tables; a
// missing array stays missing). False, with nothing allocated, when memory
// runs short.
bool CopyOwnedArrays(const polyhedron* from, void* const source[kPolyOwnedArrayCount],
                     void* blocks[kPolyOwnedArrayCount], BufferID ids[kPolyOwnedArrayCount], BufferProcs* procs) {
  for (int32_t k = 0; k < kPolyOwnedArrayCount; ++k) {
    blocks[k] = nullptr;
    ids[k] = 0;
  }
  if (!from->ownsArrays) return true;
  for (int32_t k = 0; k < kPolyOwnedArrayCount; ++k) {
    if (!source[k]) continue;
    const uint64_t bytes = PolyOwnedArrayBytes(k);
    blocks[k] = RobustNewPtr(bytes, &ids[k], procs);
    if (!blocks[k]) {
      FreeBlocks(blocks, ids, procs);
      return false;
    }
    std::memcpy(blocks[k], source[k], bytes);
  }
  return true;
}

}  // namespace

PolyUnfoldingKey PolyUnfoldingKeyOf(const polyhedron* poly, int32_t outputMode, int32_t shapeCode, int16_t netMethod,
                                    float aspect, float tabDepth, uint8_t fullDetail) {
  PolyUnfoldingKey key{};
  key.outputMode = outputMode;
  key.shapeCode = shapeCode;
  key.netMethod = netMethod;
  key.aspect = aspect;
  key.tabDepth = tabDepth;
  key.hasOwner = GalleryItemOfOwner(poly, &key.galleryItem) ? 1 : 0;
  key.fullDetail = fullDetail;
  return key;
}

bool TakePolyUnfoldingSnapshot(PolyUnfoldingSnapshot* snapshot, const polyhedron* poly, const PolyUnfoldingKey& key,
                               BufferProcs* procs) {
  if (!snapshot) return false;
  FreePolyUnfoldingSnapshot(snapshot, procs);
  if (!poly || poly->errorCode != kPolyErrorNone) return false;
  void* block = RobustNewPtr(sizeof(polyhedron), &snapshot->recordId, procs);
  if (!block) return false;
  void* source[kPolyOwnedArrayCount];
  for (int32_t k = 0; k < kPolyOwnedArrayCount; ++k) source[k] = const_cast<void*>(OwnedArray(poly, k));
  if (!CopyOwnedArrays(poly, source, snapshot->arrays, snapshot->arrayIds, procs)) {
    RobustDisposePtr(&block, &snapshot->recordId, procs);
    return false;
  }
  snapshot->record = static_cast<polyhedron*>(block);
  std::memcpy(snapshot->record, poly, sizeof(polyhedron));
  // The copy points at its own arrays, never at the live record's, which
  // the next build gives back.
  if (poly->ownsArrays) PointOwnedArrays(snapshot->record, snapshot->arrays);
  snapshot->key = key;
  return true;
}

bool RestorePolyUnfoldingSnapshot(const PolyUnfoldingSnapshot* snapshot, polyhedron* poly,
                                  const PolyUnfoldingKey& key, BufferProcs* procs) {
  if (!snapshot || !snapshot->record || !poly || !SameKey(snapshot->key, key)) return false;
  const polyhedron* from = snapshot->record;
  void* blocks[kPolyOwnedArrayCount];
  BufferID ids[kPolyOwnedArrayCount];
  if (!CopyOwnedArrays(from, snapshot->arrays, blocks, ids, procs)) return false;
  // As the catalogue does before it loads a shape.
  DumpPolyStorage(poly, procs);
  Globals* const owner = poly->owner;
  const int32_t unfoldingIndex = poly->unfoldingIndex;
  float placement[3];
  std::memcpy(placement, poly->plannedPlacement, sizeof placement);
  std::memcpy(poly, from, sizeof(polyhedron));
  poly->owner = owner;
  poly->unfoldingIndex = unfoldingIndex;
  std::memcpy(poly->plannedPlacement, placement, sizeof placement);
  if (from->ownsArrays) {
    PointOwnedArrays(poly, blocks);
    std::memcpy(poly->bufferIds, ids, sizeof ids);
  }
  return true;
}

void FreePolyUnfoldingSnapshot(PolyUnfoldingSnapshot* snapshot, BufferProcs* procs) {
  if (!snapshot) return;
  FreeBlocks(snapshot->arrays, snapshot->arrayIds, procs);
  if (snapshot->record) {
    void* block = snapshot->record;
    RobustDisposePtr(&block, &snapshot->recordId, procs);
  }
  *snapshot = PolyUnfoldingSnapshot{};
}
