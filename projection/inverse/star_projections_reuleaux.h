// Reuleaux and cube-based members of the star family: the layouts drawn on
// Reuleaux tetrahedra and octahedra, the four-bladed shuriken and the waffle.
// Same contract as star_projections.h: each writes the point and the region
// and only ever sets *outside to 1. A Reuleaux point off the curved face is
// outside with region -5 and the point (0, 0, 1). The region is the group
// of six sectors (k / 6) for the Reuleaux members, the triangle for the
// shuriken and the sector for the waffle.
#pragma once

#include <cstdint>

#include "projection/inverse/star_projections.h"

enum ReuleauxShape : int32_t {
  ReuleauxShape_Tetrahedron = 1,
  ReuleauxShape_Octahedron = 2,
};

// 1 when the sample's point lies off the curved face of the shape; writes
// the double point the Reuleaux members start from (the inverse
// stereographic image of the face point's x and y, x negated). Any other
// shape is inside.
int32_t OutsideReuleaux(const NetSectorSample* s, double point[3], int32_t shape);

void TotalReuleaux8ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region);
// variant 1 or 2.
void TotalReuleaux1Or2ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t variant,
                               int32_t* region);
void TotalReuleaux4ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region);
void TotalOctreleauxToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region);

// The cube-warped point of the triangle (not yet normalised).
void Total4ShurikenToSphere(const NetSectorSample* s, float point[3], int32_t* region);

// Where the waffle's net splits into the halves that take a half-turn: the
// net positions of 2D vertices 22 and 50 of its polyhedron.
struct WaffleNetMarks {
  float vertex22X;
  float vertex22Y;
  float vertex50Y;
};
// (netX, netY): the plane point under which the sample was found.
void TotalWaffleToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, const WaffleNetMarks* marks,
                         float netX, float netY, int32_t* region);
