// Scratch solids for the builders that derive their solid from a shape of
// the catalogue (the geodesic spheres from the regular solids, the curved
// tetrahedra from the tetrahedron). The scratch record is far too large for
// the stack, so it comes from the host's buffers and is freed by the builder
// before it returns.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "polyhedron/polyhedron_record.h"

struct polyhedron;

// Reserves the solid's arrays at the fixed limits (getPolyStorageEtc). False
// when there is no memory for them (errorCode says so): the builder adds
// nothing then.
bool ReserveSolidStorage(polyhedron* poly, BufferProcs* procs);

struct ScratchPoly {
  polyhedron* poly;  // null when no memory was had
  BufferID id;
  void* block;
};

// A zero-filled, nullified record with the target area and tab depth of
// `like`. poly is null when the allocation failed.
ScratchPoly NewScratchPoly(const polyhedron* like, BufferProcs* procs);
// Builds shape `shapeCode` as a solid with its computed net and no tabs, at
// unit scale, into a fresh scratch record. Returns kPolyErrorNone, or the
// error to hand on (nothing is left to free then): kPolyErrorNoStorage when
// memory ran out, the build's own error, or kPolyErrorShapeNotAvailable for
// a shape without faces.
int32_t BuildScratchSolid(const polyhedron* like, int32_t shapeCode, BufferProcs* procs, ScratchPoly* out);
// Frees the scratch record's arrays and the record itself; a scratch record
// without one is left alone.
void FreeScratchPoly(ScratchPoly* scratch, BufferProcs* procs);
