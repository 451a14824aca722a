#include "render/rows/spot_record.h"

#include <cmath>

#include "polybuild/voronoi/voronoi_spots.h"

namespace {

struct SpotRecord {
  float direction[kSpotRecordCapacity][3];
  int32_t kind[kSpotRecordCapacity];
  int32_t gCount;
  int32_t pCount;
};

SpotRecord gSpots{};

int32_t ClampCount(long count) {
  return count < 0 ? 0 : (count > kSpotRecordCapacity ? kSpotRecordCapacity : int32_t(count));
}

}  // namespace

void SetGSpots(long count) { gSpots.gCount = ClampCount(count); }
void SetPSpots(long count) { gSpots.pCount = ClampCount(count); }

void DumpOneGSpot(const double point[3], int32_t kind) {
  if (gSpots.gCount >= kSpotRecordCapacity) return;
  const double len = std::sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]);
  float* d = gSpots.direction[gSpots.gCount];
  for (int i = 0; i < 3; ++i) d[i] = len > 0.0 ? float(point[i] / len) : (i == 2 ? 1.0f : 0.0f);
  gSpots.kind[gSpots.gCount] = kind;
  ++gSpots.gCount;
}

int32_t RecordedGSpotCount() { return gSpots.gCount; }
