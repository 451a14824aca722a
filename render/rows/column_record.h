// The row renderer's per-column record: the mapping of one corner column in
// two alternating row slots, the overlay coverage of the two pixel rows that
// meet there, and the finished pixel of the column.
//
// A corner row is mapped once and serves the pixel row above and the one
// below it, so each record keeps two corner rows: slot r & 1 holds corner
// row r (row -1 in slot 1). Record i holds corner column i - 1 and the
// pixel of column i.
#pragma once

#include <cstddef>
#include <cstdint>


// What the frame reserves per column record.
constexpr int32_t kColumnRecordBytes = 304;

// Region codes of a mapped point.
constexpr int32_t kRegionNothing = -5;        // transparent
constexpr int32_t kRegionColorA = -3;         // painted with the first colour
constexpr int32_t kRegionSurface = -7;        // sampled, then a material effect
constexpr int32_t kRegionGlueStrip = -9;      // sampled, then lightened
constexpr int32_t kRegionVoid = -10001;       // outside the map, as the mapping writes it
constexpr int32_t kRegionVoidBelow = -10000;  // every code below this is void

// The mapping of one output point.
struct TransformationReply {
  int32_t regionCode;  // class of the point (codes above; 0 and up a region)
  int32_t layer;       // input-side part; corners of different layers straddle a boundary
  float inputU;        // input image coordinates, 0..1 inside the image
  float inputV;
  float outputU;  // unit output coordinates of the point
  float outputV;
  float gridU;  // equirectangular unit longitude and latitude (graticule on)
  float gridV;
  int32_t sheetCell;       // multi-view sheets: the cell of the point
  float tissotField;       // squared chord distance to the nearest Tissot centre
  float spotField;         // contour field of the scissor marks
  int32_t faceRegion;      // region of the hit net triangle before overrides
  int32_t spotFieldValid;  // 1 when spotField was computed
  float normal[3];         // surface normal of a special surface
  float spherePoint[3];    // the turned unit direction of the point
  float blendWeight;       // seam weight of the zenith/nadir input layout
  float pixelX;            // output pixel coordinates handed to the mapping
  float pixelY;
  int32_t inputFace;  // cube face whose pyramid is sampled, -1 the main input
  int32_t glueMark;   // 1 on the glue strip of the folding sphere, else -1
};

// What the region-edge overlay needs of one sampled pixel: the regions of
// its corners (lower-right, lower-left, upper-right, upper-left) and where
// the sampler found region boundaries on its top, bottom, left and right
// sides (0..1 along each side).
struct EdgeDot {
  int32_t cornerRegion[4];
  float crossings[4];
};

struct ColumnRecord {
  float gridCoverage[2];    // graticule coverage by pixel-row parity
  float edgeCoverage[2];    // region-edge coverage by pixel-row parity
  float tissotCoverage[2];  // Tissot coverage by pixel-row parity
  float cornerX[2];         // per reply slot: the corner's output pixel x
  float cornerY[2];         // per reply slot: the corner's output row
  int32_t outside[2];       // per reply slot: 1 when the input point lies off [0, 1]
  TransformationReply reply[2];
  float pixelColor[4];  // the finished pixel of this column, unit colour
  // The edge dot of this column's pixel, kept by the task that sampled it
  // and drawn after the row's tasks are done, in column order, so that
  // coverage shared by two tasks' spans sums the same way at any split.
  EdgeDot edgeDot;
  // Where the Tissot centre search of this corner column starts: the centre
  // its corner in the row above found. Seeded per column rather than taken
  // from whatever corner the mapping task did last, so that a corner's
  // field never depends on how the row was split between tasks (points
  // within reach of two centres may be given either).
  int32_t tissotSpotHint;
};

static_assert(sizeof(ColumnRecord) <= size_t(kColumnRecordBytes),
              "the frame reserves kColumnRecordBytes per column record");

// The start state of a reply: nothing mapped, no input point.
void ResetTransformationReply(TransformationReply* reply);
// Both slots of `count` records to their start state, coverage and pixel
// cleared. A null array or a count below 1 does nothing.
void ResetColumnRecords(ColumnRecord* records, int32_t count);
