// The shape catalogue: a shape code becomes a loaded polyhedron record,
// either borrowing the constant tables of a static shape (a solid and its
// net) or handing the record to the generator of a generated shape, with
// the per-shape options every later step reads.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;
struct StaticShapeEntry;

// The shape whose four faces its callers supply: the catalogue only sets its
// options.
constexpr int32_t kShapeCodeCallerFaces = 22;

// Loads the shape into a record that WipeFaceInfo has just emptied. Results
// are the record's contents and its errorCode; a code without an entry
// leaves an empty shape (no faces, no vertices) with the code stored. A
// known shape that cannot be built yet (its generator or its tables are not
// part of the system) is left empty with kPolyErrorShapeNotAvailable.
void ReadFaceInfo(polyhedron* poly, int32_t shapeCode, uint32_t ignored, BufferProcs* procs, uint8_t fullDetail);

// The catalogue's loading of one static entry (options, borrowed tables,
// face rows), for ReadFaceInfo and for entries that are not in the
// catalogue's list.
void LoadStaticShapeEntry(polyhedron* poly, const StaticShapeEntry& entry, BufferProcs* procs);

// The steps every generated solid takes once its generator has filled the 3D
// side (faces, normals, 3D links): the scissor marks paired with their
// pieces, the unfolding into a net, and, when the shape lets its
// fragmentation be revised and the net came out in pieces, small fragments
// re-attached and the solid unfolded once more.
void UnfoldGeneratedSolid(polyhedron* poly);
