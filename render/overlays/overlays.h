// render/overlays/: the lines drawn over a render: graticules, Tissot circles, edges and grids.
// The anti-aliased line overlays (graticule, Tissot circles, region edges)
// all end the same way: a short segment found inside one pixel from values
// at its corners adds its length, as coverage, to a 2 x 2 block of cells in
// the column records, spread bilinearly about the segment's midpoint. The
// row renderer later lays black over each pixel with an alpha taken from
// its cell.
//
// Pixel-local coordinates of a segment: sx from 0 at the pixel's left
// corner column to 1 at its right one, sy from 0 at the upper (previous)
// corner row to 1 at the lower (newest) one. A segment of pixel x adds to
// records x and x + 1, in coverage slot `slotNow` (the pixel row's parity)
// and `slotNext` (the row below).
#pragma once

#include <cstdint>

#include "render/rows/column_record.h"

// Which overlay's pair of cells a drawing call adds to, e.g.
// &ColumnRecord::gridCoverage.
using CoverageCells = float (ColumnRecord::*)[2];

// Adds the coverage of segment (sx0, sy0)-(sx1, sy1) of pixel x: its length
// times `weight`, split between records x and x + 1 and the two slots by the
// midpoint.
void draw_Wu_segment(float sx0, float sy0, float sx1, float sy1, ColumnRecord* records, CoverageCells cells,
                     int32_t x, int32_t slotNow, int32_t slotNext, float weight);

// Draws the contour at `level` of the four corner values of pixel x: c0 the
// upper-left, c1 the upper-right, c2 the lower-left and c3 the lower-right
// corner, interpolated straight along each side. A value of -2 in c0, c1 or
// c2 stands for a missing corner and takes c3's value (a hair above it).
// Saddles draw two segments, each cutting off one of the corners at or
// above the level.
void mystery_dot(float c0, float c1, float c2, float c3, float level, ColumnRecord* records, CoverageCells cells,
                 int32_t x, int32_t slotNow, int32_t slotNext, float weight);
