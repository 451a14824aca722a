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
};

// The entry of a static shape code whose tables exist; null for every other
// code.
const StaticShapeEntry* FindStaticShape(int32_t shapeCode);

// A static shape code whose tables are not part of the system.
bool StaticShapeTablesMissing(int32_t shapeCode);
