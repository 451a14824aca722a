// A record of up to 999 sphere directions with a kind code each, appended to
// by the spherical Voronoi site processing. Nothing in the system reads it;
// it is kept so that the builders that write it have somewhere to write.
#pragma once

#include <cstdint>

constexpr int32_t kSpotRecordCapacity = 999;

// SetGSpots, SetPSpots and DumpOneGSpot are declared in
// polybuild/voronoi/voronoi_spots.h, where the builders that write the record see them.
int32_t RecordedGSpotCount();
