// The brick sphere: a hollow ball of stacked layers of square cells, each
// cell one of twelve brick colours, as the brick preview draws it and the
// plan, model and statistics exports write it. A plain record: its cell
// array is one block from the host's buffers.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

constexpr int32_t kBrickColourCount = 12;  // codes 1..12; 0 is an empty cell
constexpr int32_t kBrickFallbackColour = 7;  // light grey, wherever no colour is found
constexpr int32_t kBrickViews = 4;

// Byte 0 of a cell.
constexpr uint8_t kCellColourMask = 0x1f;
constexpr uint8_t kCellDone = 0x20;       // coloured by the error-diffusion pass
constexpr uint8_t kCellNearShell = 0x40;  // the cell or one of its 26 neighbours is filled
constexpr uint8_t kCellVisible = 0x80;    // filled, with an empty face neighbour in the solid ball
// While building, code 1 marks a cell inside the ball and 2 an interior one.
constexpr uint8_t kCellInside = 1;
constexpr uint8_t kCellInterior = 2;

struct LegoCell {
  uint8_t code;      // colour code and the flags above
  uint8_t exposure;  // empty face neighbours, 0..6
  int16_t error[3];  // accumulated diffusion error of red, green, blue
};
static_assert(sizeof(LegoCell) == 8);

struct LegoStructure {
  LegoCell* cells;  // width * depth * layers; null when allocation failed
  BufferID cellsBufferId;
  int32_t layerCount;
  int32_t width, depth, layers;
  float centre[3];
  float viewEye[kBrickViews][3];
  float viewRight[kBrickViews][3];
  float viewUp[kBrickViews][3];
  uint8_t dither;
  uint8_t plates;
  int32_t sampleRed, sampleGreen, sampleBlue, sampleAlpha;
  int32_t paletteMask;
  int32_t layerHeight;  // LDraw units: 8 for plates, 24 for bricks
  int32_t currentLayer;
  int32_t originX, originZ, originY;
  int16_t fileRef;
};

// Matching colours (what cells are coloured against) and LDraw codes, by
// colour code; entry 0 is never chosen.
inline constexpr int32_t kBrickMatchRGB[kBrickColourCount + 1][3] = {
    {0, 0, 0},       {0, 0, 0},     {52, 77, 153},   {0, 143, 81},    {242, 0, 42},    {255, 255, 255}, {251, 225, 11},
    {193, 193, 193}, {85, 85, 85},  {81, 43, 32},    {203, 149, 197}, {240, 194, 129}, {139, 172, 150},
};
inline constexpr int32_t kBrickLDrawColour[kBrickColourCount + 1] = {16, 0, 1, 2, 4, 15, 14, 7, 8, 6, 12, 13, 10};
inline constexpr const char* kBrickColourNames[kBrickColourCount + 1] = {
    "empty", "black", "blue", "green", "red", "white", "yellow", "light grey",
    "dark grey", "brown", "sand red", "tan", "green-gray"};

inline LegoCell* LegoCellAt(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  return ball->cells + (int64_t(z) * ball->depth + y) * ball->width + x;
}
inline bool LegoInGrid(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  return x >= 0 && y >= 0 && z >= 0 && x < ball->width && y < ball->depth && z < ball->layers;
}

void DestroyLegoBall(LegoStructure* ball, Globals* globals);
