// Dual polyhedra: another shape is built in a scratch record, and every
// vertex of its solid becomes a face of the dual whose corners are the
// points the scratch faces around that vertex carry (PolyFace.point). The
// faces are written by the Voronoi cell writer, so a dual shares the
// Voronoi solids' options and merge distance.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;
struct VoronoiHandlingOptions;

// Builds the dual of shape sourceShapeCode into target (which gets owned
// arrays), then its corner angles and 3D links. Without memory for the
// scratch record the dual is empty.
void BuildDualOfPoly(polyhedron* target, BufferProcs* procs, int32_t sourceShapeCode, VoronoiHandlingOptions* options);
// The dual face of the scratch vertex at corner `corner` + 1 of `face`: the
// points of the faces met walking round that vertex (at most 300 steps, up
// to an open border), each edge walked marked in PolyFace.dualVisited.
void BuildOneDualFaceFrom(polyhedron* scratch, int32_t face, int32_t corner, polyhedron* target,
                          VoronoiHandlingOptions* options, int32_t dualIndex);
