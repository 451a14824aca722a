// polyhedron/: the polyhedron record, the shape catalogue and its static tables, connectivity and nets.
// Creating, emptying and freeing a polyhedron record. A record is allocated
// whole by its user, then NullifyPolyStorage and InitPoly run once; each
// build runs WipeFaceInfo and either borrows static tables or owns fresh
// arrays from getPolyStorageEtc, kept until the next build or DumpPolyStorage.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "polyhedron/polyhedron_record.h"

struct SnuggleRecord;

// Marks a fresh record as owning nothing. Run once on every new record, before
// anything else: it forgets arrays without freeing them.
void NullifyPolyStorage(polyhedron* poly);
// New-record defaults: target area x 0..1, y 0..aspect, the tab depth, an
// empty set-up cache and the corner-step tables. A null record is left alone.
void InitPoly(polyhedron* poly, float aspect, float tabDepth);
// Frees owned arrays, then owns four fresh zero-filled arrays at the fixed
// limits (vertexCount is not consulted), with no 3D vertices or faces and the
// links of the first faceCount faces cleared. When memory runs out nothing is
// owned and errorCode is kPolyErrorNoStorage.
void getPolyStorageEtc(polyhedron* poly, BufferProcs* procs, uint32_t vertexCount, int32_t faceCount);
// Frees the owned arrays; borrowed tables and a null record are left alone.
void DumpPolyStorage(polyhedron* poly, BufferProcs* procs);
// The size of each owned array, by its place in polyhedron.bufferIds
// (coords2D, coords3D, faces2DRows, faces3DRows); 0 for any other place.
constexpr int32_t kPolyOwnedArrayCount = 4;
uint64_t PolyOwnedArrayBytes(int32_t index);
// Empties the shape for a new build: counts, links and flags; owned arrays and
// their contents stay.
void WipeFaceInfo(polyhedron* poly);
// Frames the output by the fitted net: scale, its reciprocal and the
// horizontal centre; the other fields of the record stay.
void FetchPolySnuggling(const polyhedron* poly, SnuggleRecord* snuggle);
