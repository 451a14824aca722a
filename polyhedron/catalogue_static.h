// The static shapes of the catalogue: a solid and a hand-made net held as
// constant tables that a loaded record borrows. One entry per shape code
// whose tables exist; codes that share tables (17 and 65, 18 and 73, ...)
// have an entry each, differing in their options.
#pragma once

#include <cstdint>

struct StaticShapeEntry {
  int32_t shapeCode;
  const double (*coords2D)[2];
  const int16_t* faces2DRows;
  int32_t rows2DLength;  // entries of faces2DRows, closing zeros included
  const double (*coords3D)[3];
  const int16_t* faces3DRows;
  int32_t rows3DLength;
  int32_t faceCount;
  // The options in which the shape differs from the catalogue's defaults.
  uint8_t mirrorFlipA;
  uint8_t exportFlipFirstAxis;
  int32_t warpStyle;
  int32_t upFace;  // -1: the face with the most corners
  // A net that names its solid vertices per net point instead of by 3D rows
  // (faces3DRows then null); the map has one entry per net point.
  const int16_t* map2Dto3D = nullptr;
  int32_t map2Dto3DLength = 0;
  const int16_t* facegroupTable = nullptr;  // one facegroup per face
  uint8_t mirrorFlipB = 0;
  int16_t sphericalFlag = 1;  // 1: net points are carried onto the solid
  uint8_t tabStyle = 0;
  uint8_t tabPhaseFlip = 0;
  int32_t origamiTabOption = 0;
  uint8_t cramMode2 = 0;
  float cramBounds[4] = {999.0f, -999.0f, 999.0f, -999.0f};  // xMin, xMax, yMin, yMax; this one is empty
  uint8_t segmentStretch = 0;
  double segmentStretchAlpha = 1.0;
  int32_t exportPlanShape = -1;  // the output mode whose tabs and plan this net borrows; -1 its own
  // 0: every row band searches the whole net. A net read through the skewed
  // tiling is, since a wrapped point may land anywhere in it.
  uint8_t bandCulling = 1;
};

// The entry of a static shape code whose tables exist; null for every other
// code.
const StaticShapeEntry* FindStaticShape(int32_t shapeCode);

// A static shape code whose tables are not part of the system.
bool StaticShapeTablesMissing(int32_t shapeCode);
