// Oddball and tattoo balls: vertices placed along a path across the
// equirectangular square. The tattoo ball's path zig-zags in longitude while
// it descends from pole to pole; its faces carry a partner vertex so that
// the renderer can bend each into a curved patch. Both record the key
// vertices by which the layout joins their wedges.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

constexpr double kOddballRadius = 10.0;
constexpr int32_t kOddballSteps = 20;
constexpr int32_t kTattooPeriod = 80;

// `variant` is the number of swaths, n = 3 or 5 in the catalogue (below 1 is
// refused with kPolyErrorShapeNotAvailable and an empty solid; so is a
// count whose key list would not fit the record).
void BuildTattooBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant);
void BuildOddBall3D(polyhedron* poly, BufferProcs* procs);

// The vertex of path position t (n steps make a turn; t = -1 and -2 are the
// poles); u and v are written back. `spare` is not read.
int32_t BuildOddballVertex(double t, polyhedron* poly, double n, double spare, double offset, double* uOut,
                           double* vOut);
// The unit-sphere vertex of tattoo path position t: a triangle wave in
// longitude of the given period, latitude t / total.
int32_t BuildTattooVertex(double t, polyhedron* poly, double period, double total, double offset, double* uOut,
                          double* vOut);
