#include "render/overlays/overlay_grids.h"

#include <cmath>

#include "render/rows/column_record.h"
#include "render/overlays/overlays.h"
#include "render/vort.h"

namespace {

constexpr int32_t kGraticuleFirstSetting = 2;
constexpr int32_t kGraticuleBands[] = {36, 30, 18, 12, 6, 4};
constexpr int32_t kGraticuleSettings = int32_t(sizeof kGraticuleBands / sizeof kGraticuleBands[0]);
// Inside the first and last latitude bands only the meridians every 90
// degrees are drawn, so that the lines do not run together at the poles.
constexpr int32_t kPolarMeridianHalfCount = 2;
constexpr float kMissing = -2.0f;
constexpr float kLineWeight = 1.0f;

constexpr float kTissotLevel = 0.005f;  // squared chord radius of a circle
constexpr float kTissotWeight = 1.0f;
constexpr float kScissorLevel = 0.0f;
constexpr float kScissorWeight = 0.7f;

// Corner order of the value arrays.
constexpr int kUpperLeft = 0, kUpperRight = 1, kLowerLeft = 2, kLowerRight = 3;

int32_t CellOf(float value, float cellsPerUnit) {
  return value == kMissing ? 0 : int32_t(std::floor(value * cellsPerUnit));
}

struct IndexRange {
  int32_t lowest, highest;
};

IndexRange RangeOf(const int32_t index[4]) {
  IndexRange r{index[0], index[0]};
  for (int k = 1; k < 4; ++k) {
    if (index[k] < r.lowest) r.lowest = index[k];
    if (index[k] > r.highest) r.highest = index[k];
  }
  return r;
}

// The line between the corners' extreme cells (one line at most per pixel).
int32_t LineBetween(const IndexRange& r) {
  return ((r.lowest + r.highest) >> 1) + 1;  // the floor of the middle, then the next line up
}

bool Invalid(const TransformationReply& r) {
  return r.regionCode == kRegionNothing || r.regionCode == kRegionColorA;
}

}  // namespace

int32_t GraticuleLinesPerTurn(int32_t graticule) {
  const int32_t i = graticule - kGraticuleFirstSetting;
  return (i >= 0 && i < kGraticuleSettings) ? kGraticuleBands[i] : 0;
}

void thegrid(const float uIn[4], const float vIn[4], int32_t y, int32_t x, int32_t width, int32_t slotNow,
             int32_t slotNext, int32_t graticule, ColumnRecord* records) {
  const int32_t bands = GraticuleLinesPerTurn(graticule);
  if (bands == 0) return;
  float u[4], v[4];
  for (int k = 0; k < 4; ++k) u[k] = uIn[k], v[k] = vIn[k];
  // The outermost corner columns are not shared with a neighbouring pixel;
  // the pixels there take their inner corners' values.
  if (x == 0) {
    u[kUpperLeft] = u[kUpperRight], v[kUpperLeft] = v[kUpperRight];
    u[kLowerLeft] = u[kLowerRight], v[kLowerLeft] = v[kLowerRight];
  }
  if (x == width - 1) {
    u[kUpperRight] = u[kUpperLeft], v[kUpperRight] = v[kUpperLeft];
    u[kLowerRight] = u[kLowerLeft], v[kLowerRight] = v[kLowerLeft];
  }
  if (y == 0) {
    const auto shift = [](float c[4]) {
      c[kUpperLeft] = c[kLowerLeft];
      c[kLowerLeft] = c[kLowerRight];
    };
    shift(u);
    shift(v);
  }

  // Meridians: fewer inside the polar bands.
  const float upper = v[kUpperLeft];
  const int32_t band = int32_t(std::floor(upper * float(bands)));
  const int32_t half = (upper == kMissing || band < 1 || band >= bands - 1) ? kPolarMeridianHalfCount : bands;
  const float meridianCells = float(2 * half);
  int32_t index[4];
  for (int k = 0; k < 4; ++k) index[k] = CellOf(u[k], meridianCells);
  IndexRange range = RangeOf(index);
  if (range.lowest >= 0) {
    if (range.highest - range.lowest > half) {
      // The corners straddle the seam of the longitude: bring the ones past
      // it round to the near side, so the seam meridian is drawn and not a
      // line through the middle of the map.
      for (int k = 0; k < 4; ++k) {
        if (index[k] > range.lowest + half) {
          index[k] -= 2 * half;
          u[k] -= 1.0f;
        }
      }
      range = RangeOf(index);
    }
    if (range.highest != range.lowest) {
      const float level = float(LineBetween(range)) * 0.5f / float(half);
      mystery_dot(u[0], u[1], u[2], u[3], level, records, &ColumnRecord::gridCoverage, x, slotNow, slotNext,
                  kLineWeight);
    }
  }

  // Parallels.
  for (int k = 0; k < 4; ++k) index[k] = CellOf(v[k], float(bands));
  range = RangeOf(index);
  if (range.lowest >= 0 && range.highest != range.lowest) {
    const float level = float(LineBetween(range)) / float(bands);
    mystery_dot(v[0], v[1], v[2], v[3], level, records, &ColumnRecord::gridCoverage, x, slotNow, slotNext,
                kLineWeight);
  }
}

void thetissotgrid(int32_t replySlot, int32_t x, int32_t slotNow, int32_t slotNext, ColumnRecord* records,
                   const vort& view, TissotPass pass) {
  const int32_t s = replySlot, p = replySlot ^ 1;
  const TransformationReply* corner[4] = {&records[x].reply[p], &records[x + 1].reply[p], &records[x].reply[s],
                                          &records[x + 1].reply[s]};
  if (pass == TissotPass_ScissorMarks && !corner[kLowerRight]->spotFieldValid) return;
  const bool circles = pass == TissotPass_Circles;
  float value[4];
  bool invalid[4];
  for (int k = 0; k < 4; ++k) {
    value[k] = circles ? corner[k]->tissotField : corner[k]->spotField;
    invalid[k] = view.legoMode == 1 || Invalid(*corner[k]);
  }
  // Corners of the transparent and painted regions carry no field: they
  // take a valid neighbour's value so that no circle starts there. With all
  // four invalid, all end at the lower-right value and nothing is drawn.
  if (invalid[kUpperLeft] && !invalid[kUpperRight]) {
    value[kUpperLeft] = value[kUpperRight];
  } else if (invalid[kUpperRight] && !invalid[kUpperLeft]) {
    value[kUpperRight] = value[kUpperLeft];
  } else if (invalid[kUpperLeft] && invalid[kUpperRight]) {
    value[kUpperLeft] = value[kUpperRight] = invalid[kLowerLeft] ? value[kLowerRight] : value[kLowerLeft];
  }
  if (invalid[kLowerLeft] && !invalid[kLowerRight]) {
    value[kLowerLeft] = value[kLowerRight];
  } else if (invalid[kLowerRight] && !invalid[kLowerLeft]) {
    value[kLowerRight] = value[kLowerLeft];
  } else if (invalid[kLowerLeft] && invalid[kLowerRight]) {
    value[kLowerLeft] = value[kLowerRight] = value[kUpperLeft];
  }

  const float level = circles ? kTissotLevel : kScissorLevel;
  int32_t above = 0;
  for (int k = 0; k < 4; ++k) above += value[k] > level ? 1 : 0;
  if (above == 0 || above == 4) return;
  mystery_dot(value[0], value[1], value[2], value[3], level, records, &ColumnRecord::tissotCoverage, x, slotNow,
              slotNext, circles ? kTissotWeight : kScissorWeight);
}
