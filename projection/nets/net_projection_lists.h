// The short triangle lists of a search hint: of all the net's triangles,
// those that can cover one band of output rows, so that a point is tested
// only against its neighbourhood. Faces and glue tabs are listed apart, each
// list written twice in a row, so that a search starting at the last hit
// runs through the whole list without wrapping its index.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"  // record-only include: the plain polyhedron record
#include "projection/render_hint.h"

// Rebuilds the hint's lists for the band [bandXLow, bandXHigh] x
// [bandYLow, bandYHigh] of the net plane (either bound of a pair may be the
// larger). With culling on, a triangle whose three corners all lie more than
// `margin` beyond one side of the band is left out; with the selector not -1
// only triangles of that facegroup are kept. bandMinX and bandMaxX become the
// x range of the kept triangles' corners, and the search positions start
// again at the head of the lists. Runs on the main thread before the row's
// tasks use the hint; a null polyhedron leaves empty lists.
void PrepareShortTriList(const polyhedron* poly, float bandYLow, float bandYHigh, int32_t facegroupSelector,
                         float margin, renderhinttype* hint, float bandXLow, float bandXHigh, bool culling);
