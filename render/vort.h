// The per-view transform record: everything the mapping and the sampling of
// one pass need to know about the output, taken once from the settings, the
// host's rectangles and the invocation at the first row, so that the
// per-pixel code reads one record instead of the settings. Built on the main
// thread before any task of the pass runs; read-only afterwards except for
// replySlot, which the main thread flips between rows.
#pragma once

#include <cstdint>

#include "projection/nets/florets_basis.h"
#include "projection/framing.h"
#include "projection/tumble.h"
#include "pyramid/pyramid_footprint.h"

struct ColumnRecord;
struct LegoStructure;
struct OutputModeRow;
struct PyramidDescriptor;
struct polyhedron;

constexpr int kTissotSpotCapacity = 200;

struct vort {
  // Zeroed at every build. The tasks sample with a state of their own (see
  // the row renderer); this one stays as built.
  AnisoState anisoState;
  int32_t replySlot;  // column-record slot of the newest corner row
  // Shift of the unit coordinates of the output before they are centred.
  float unitOffsetX, unitOffsetY;
  PyramidDescriptor* inputPyramid;  // the main colour pyramid
  float* filterTable;
  ColumnRecord* columnRecords;
  int32_t previewScale;  // preview zoom-out, 1 = 1:1
  int32_t previewOffsetH, previewOffsetV;
  // Size of the picture being produced (the export canvas in export-layer
  // renders) and of the host's image.
  float outputWidth, outputHeight;
  float outputAspect;  // outputHeight / outputWidth
  float imageWidth, imageHeight;
  float imageAspect;  // imageHeight / imageWidth
  float invOutputWidth, invOutputHeight;
  float viewPlaneWidth;           // image-plane width of a rectilinear view of viewAngle
  float halfAngleViewPlaneWidth;  // the same for half the angle
  int32_t outputMode;
  int32_t inputMode;
  float goreCount;
  int32_t viewColumns, viewRows;  // grid of a multi-view sheet
  float viewAngleFactor;          // exp2(viewAngle / 90 - 1)
  float tiltSlope;                // output mode 60 only
  float goreShiftY;
  float colorAUnit[4];    // region -3
  float colorMidUnit[4];  // the void, when it is not transparent
  float colorBUnit[4];    // backdrop under the result
  FloretBasis floret;     // petal set-up of a floret mode
  SnuggleRecord snuggle;  // the mode's plane box fitted into the output
  int32_t legoMode;       // 0 none, 1 brick sphere, 2 equirectangular poly-map
  int32_t mirrorInput;
  int32_t renderKind;  // 0 plain, 1 anamorphic, 2 anamorphic gores, 3 anamorphic polyhedron
  uint8_t falseColors;
  float viewAngle;  // degrees
  float twirlX, twirlY, twirlSpin;  // degrees
  struct polyhedron* polyhedron;  // the active output polyhedron
  struct polyhedron* inputPolyhedron;
  LegoStructure* legoBall;
  uint8_t isPolyhedral;
  uint8_t transparentBackground;  // no colorBUnit backdrop under the result
  uint8_t transparentVoid;        // the void is transparent instead of colorMidUnit
  uint8_t gridOn;
  uint8_t edgesOn;
  uint8_t tissotOn;
  uint8_t polySpotsOn;
  tumbletype tumble;
  const float* ellipsoidTable;
  const float* mollweideTable;  // the Mollweide auxiliary-angle table
  PyramidDescriptor* cachePyramid;
  float tissotSpots[kTissotSpotCapacity][3];
  int32_t tissotSpotCount;
  int32_t altOutputMode;
  // Only in the job record of a pyramid level-reduction order.
  PyramidDescriptor* mipPyramid;
  int32_t mipLevel;
  int32_t viewIndex;
  // The output mode's row of the mode table, looked up once per pass.
  const OutputModeRow* modeRow;
  // One more than the output row whose pixels the worker tasks are
  // rendering ahead while the host copies the current one; 0: none.
  int32_t rowAheadPlusOne;
  // 1 when the pass's rows are rendered ahead in bands (rows_ahead.h).
  uint8_t bandedPass;
};
