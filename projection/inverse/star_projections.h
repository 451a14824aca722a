// Star, petal and fused-ring layouts of the whole sphere. Each layout is a
// net whose 2D faces are sectors: sector k is the conformal image of one
// triangle of a regular polygon (centre b0, edge midpoint b1, corner b2),
// read from a lookup table onto the unit disk, mirrored on odd sectors,
// turned by the layout's spin for k and carried onto its part of the
// sphere. The polyhedral net search finds the net triangle under an output
// point and its barycentrics; these members turn them into a direction.
//
// Every member takes the triangle's sample (NetSectorSample), writes the
// sphere point (three floats, y up, picture centre +z) and the region of
// the point, and only ever sets *outside to 1: the caller clears it before
// the call. A sector index beyond the member's spin table has no place in
// the layout and is reported outside with region -5 and the point (0, 0, 1).
#pragma once

#include <cstdint>

// What a member needs of the net triangle under the point. The polyhedral
// net search fills it from the active polyhedron's net.
struct NetSectorSample {
  int32_t triangle;        // index of the net triangle
  int32_t sector;          // its 2D face: the sector index k
  float b0, b1, b2;        // barycentrics of the point in the triangle
  double corner3D[3][3];   // the triangle's corners on the solid (render points)
  int32_t fancyPointMode;  // the polyhedron's corner interpolation (0 linear)
};

// Spin tables, radians; one entry per sector of the layout (the stored
// arrays keep their trailing zeros).
constexpr int32_t kPentaleneSpinCount = 24;
constexpr int32_t kFivestarSpinCount = 24;
constexpr int32_t kAdamsDiamondsSpinCount = 16;
constexpr int32_t kNaphthaleneSpinCount = 24;
constexpr int32_t kAnthraceneSpinCount = 40;
constexpr int32_t kPhenantheneSpinCount = 40;
constexpr int32_t kPointySpinCount = 24;
constexpr int32_t kSixstarSpinCount = 24;
constexpr int32_t kRhombusSpinCount = 8;
constexpr int32_t kThreestarSpinCount = 12;
constexpr int32_t kReuleaux8SpinCount = 8;

extern const float pentalene_disk_spin[kPentaleneSpinCount];
extern const float fivestar_disk_spin[kFivestarSpinCount];
extern const float adamsdiamonds_disk_spin[kAdamsDiamondsSpinCount];
extern const float naphthalene_disk_spin[kNaphthaleneSpinCount];
extern const float anthracene_disk_spin[kAnthraceneSpinCount];
extern const float phenathene_disk_spin[kPhenantheneSpinCount];
extern const float pointy_disk_spin[kPointySpinCount];
extern const float sixstar_disk_spin[kSixstarSpinCount];
extern const float rhombus1_disk_spin[kRhombusSpinCount];
extern const double threestar_disk_spin[kThreestarSpinCount];
extern const double bipolar_rhombus_disk_spin[kThreestarSpinCount];
extern const float Reuleaux8_spin[kReuleaux8SpinCount];

// The number of sectors a member's layout has (the meaningful entries of its
// spin table); a sector index at or beyond it is outside.
constexpr int32_t kPentaleneSectors = 20;
constexpr int32_t kFivestarSectors = 20;
constexpr int32_t kAdamsDiamondsSectors = 16;
constexpr int32_t kNaphthaleneSectors = 24;
constexpr int32_t kAnthraceneSectors = 36;
constexpr int32_t kPhenantheneSectors = 36;
constexpr int32_t kPointySectors = 24;
constexpr int32_t kSixstarSectors = 24;
constexpr int32_t kRhombusSectors = 4;
constexpr int32_t kThreestarSectors = 12;

// Star and ring members: region = k. `mode` picks the sphere step where a
// member has several (0 stereographic, 1 Lagrange, 2 the bipolar rhombus of
// the three-star); the others ignore it.
void TotalPentaleneToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalFivestarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalAdamsdiamondsToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region,
                                uint8_t* outside);
void TotalNaphthaleneToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region,
                              uint8_t* outside);
void TotalSixstarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalNEWPOINTYToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalAnthraceneToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalPhenatheneToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalRhombusToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
void TotalThreestarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside);
