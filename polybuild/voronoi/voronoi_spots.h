// What the Voronoi builders write to: the spot record of the sphere
// directions their site processing visits. The renderer keeps the record
// (render/rows/spot_record.h); nothing reads it back.
#pragma once

#include <cstdint>

// Counts of the recorded sphere spots.
void SetGSpots(long count);
void SetPSpots(long count);
void DumpOneGSpot(const double point[3], int32_t kind);
