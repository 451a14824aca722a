// A solid as its unfolding left it, its net linked and the edges that get
// tabs marked, kept so that builds of one shape that differ only in the
// steps after those (the net's turn, triangles, tabs and fit: the layers of
// a face-group export, each its own group turned and placed) copy it
// instead of unfolding the solid again. Unfolding a solid of hundreds of
// faces is nearly all of a build; the copy gives the same record, so the
// layers keep their bytes.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "polyhedron/polyhedron.h"

// Everything those steps read besides the record's own upkeep: the shape
// (and the mode it was asked for by), the net method, the target area and
// tab depth InitPoly sets, the detail flag, and the gallery pattern that the
// Voronoi and dual shapes read through the record's owner.
struct PolyUnfoldingKey {
  int32_t outputMode;
  int32_t shapeCode;
  int16_t netMethod;
  float aspect;
  float tabDepth;
  int32_t galleryItem;
  uint8_t hasOwner;
  uint8_t fullDetail;
};

// Zero-filled is empty. The copy of the record and of its owned arrays are
// blocks of the buffer suite, given back by FreePolyUnfoldingSnapshot.
struct PolyUnfoldingSnapshot {
  PolyUnfoldingKey key;
  polyhedron* record;
  BufferID recordId;
  void* arrays[kPolyOwnedArrayCount];
  BufferID arrayIds[kPolyOwnedArrayCount];
};

PolyUnfoldingKey PolyUnfoldingKeyOf(const polyhedron* poly, int32_t outputMode, int32_t shapeCode, int16_t netMethod,
                                    float aspect, float tabDepth, uint8_t fullDetail);

// Replaces what the snapshot held by a copy of `poly` under `key`. A record
// whose unfolding failed is not kept (a failed allocation may not fail the
// next time), nor is anything when memory runs short: the snapshot is then
// empty and the next build unfolds again. False when nothing was kept.
bool TakePolyUnfoldingSnapshot(PolyUnfoldingSnapshot* snapshot, const polyhedron* poly, const PolyUnfoldingKey& key,
                               BufferProcs* procs);

// When the snapshot holds a record under an equal key (exact comparison),
// puts it into `poly` as those steps would leave it: poly's owned arrays
// are given back and the record gets fresh copies of the snapshot's. What
// the caller set on the record for this build and those steps never write
// (owner, face group, planned placement) stays. False, with `poly`
// untouched, when the key differs or memory runs short.
bool RestorePolyUnfoldingSnapshot(const PolyUnfoldingSnapshot* snapshot, polyhedron* poly,
                                  const PolyUnfoldingKey& key, BufferProcs* procs);

// Gives back the snapshot's blocks and leaves it empty; an empty or null
// snapshot is left alone.
void FreePolyUnfoldingSnapshot(PolyUnfoldingSnapshot* snapshot, BufferProcs* procs);
