// The floret table: one row per floret output mode.
#include "projection/nets/florets_basis.h"

#include <cstddef>

#include "projection/scalar_math.h"

namespace {

struct FloretRow {
  int32_t mode;
  int32_t kind;
  int32_t petals;
  double scale;
  double spinAngle;
  double diskShift;
  double exponentDivisor;
  double finalSpin;
  double minX, minY, maxX, maxY;
  int32_t polyhedronId;
  int32_t polyhedronParam;
};

// clang-format off
constexpr FloretRow kFloretRows[] = {
  // mode, kind, n, scale, spin angle, disk shift, exponent divisor, final spin, canvas min, canvas max, solid, net
  {  51,  5, 6, 9.0,   -2 * kPi / 3,        0.0,    1.5, kPi / 20,            39,   11,  961,  989,  -1,  0},  // "sprocket-6"
  { 108,  0, 2, 1.0,   0.0,                 0.0,    1.0, -kPi / 2,            -500, 0,   1500, 1000, -1,  0},  // "2-clover"
  { 109,  0, 3, 3.0,   -kPi / 6,            -0.12,  1.0, -kPi / 3,            57,   18,  942,  838,  -1,  0},  // "3-clover"
  { 110,  0, 4, 4.0,   -kPi / 2,            -0.15,  1.0, 0.0,                 0,    0,   1000, 1000, -1,  0},  // "4-clover"
  { 111,  0, 5, 6.0,   -0.7 * kPi,          -0.165, 1.0, kPi / 5,             28,   11,  973,  925,  -1,  0},  // "5-clover"
  { 112,  0, 6, 6.0,   0.0,                 -0.165, 1.0, -kPi / 2,            0,    0,   1000, 1000, -1,  0},  // "6-clover"
  { 130,  0, 3, 2.0,   -kPi / 6,            -0.12,  1.0, -kPi / 3,            68,   151, 931,  898,  -1,  0},  // "3-malta"
  { 131,  0, 4, 4.0,   -kPi / 2,            -0.15,  1.0, 0.0,                 202,  202, 798,  798,  -1,  0},  // "4-malta"
  { 132,  0, 5, 3.0,   -0.7 * kPi,          -0.165, 1.0, kPi / 5,             58,   97,  941,  940,  -1,  0},  // "5-malta"
  { 133,  0, 6, 6.0,   0.0,                 -0.165, 1.0, -kPi / 2,            144,  116, 856,  884,  -1,  0},  // "6-malta"
  { 145, 10, 5, 2.5,   kPi / 10,            0.0,    2.0, -kPi / 5,            41,   18,  959,  890,  61,  0},  // "shuriken star"
  { 146,  1, 3, 4.5,   kPi / 6,             0.12,   1.0, -kPi / 3,            59,   146, 941,  972,  -1,  0},  // "calyx 3"
  { 147,  1, 4, 6.0,   -kPi / 2,            0.06,   1.0, kPi / 4,             5,    5,   995,  995,  -1,  0},  // "calyx 4"
  { 148,  1, 5, 8.5,   -0.7 * kPi,          0.0,    1.0, 0.4 * kPi,           20,   5,   980,  934,  -1,  0},  // "calyx 5"
  { 149,  1, 6, 12.0,  0.0,                 -0.06,  1.0, -kPi / 3,            3,    47,  997,  953,  -1,  0},  // "calyx 6"
  { 151, 11, 3, 1.75,  kPi / 2,             0.0,    2.0, 0.0,                 28,   118, 972,  975,  62,  0},  // "trident"
  { 152, 12, 5, 1.9,   kPi / 10,            0.0,    3.0, 0.0,                 59,   36,  941,  876,  63,  0},  // "astercurve 5"
  { 153, 12, 7, 2.3,   -kPi / 14,           0.0,    3.0, 0.0,                 22,   9,   978,  942,  63,  0},  // "astercurve 7"
  { 154, 12, 8, 2.6,   0.0,                 0.0,    3.0, -kPi / 8,            11,   11,  989,  989,  63,  0},  // "astercurve 8"
  { 155, 13, 3, 2.9,   -kPi / 6,            0.0,    1.0, -0.3 * kPi,          96,   6,   950,  837,  64,  0},  // "trizag"
  { 156, 14, 3, 2.9,   -0.5410520681182421, 0.0,    1.0, 0.0,                 31,   6,   919,  869,  65,  6},  // "shark 3"
  { 157, 14, 4, 3.2,   -0.8115781021773633, -0.15,  1.0, 0.0,                 22,   22,  978,  978,  65,  6},  // "shark 4"
  { 158, 15, 8, 3.3,   -kPi / 2,            -0.1,   2.5, 0.0,                 10,   10,  990,  990,  66,  6},  // "sunburst"
  { 161,  6, 3, 3.0,   -(kPi / 6 + 0.1),    -0.12,  1.0, -31 * kPi / 60,      63,   14,  943,  816,  48,  2},  // "Isle of Man"
  { 162, 16, 3, 3.0,   -0.5235987755,       -0.1,   1.0, -2 * kPi / 9,        40,   15,  882,  897,  67,  6},  // "shard"
  { 163, 15, 5, 2.2,   -kPi / 2,            0.0,    2.5, 0.0,                 82,   51,  986,  975,  66,  6},  // "starburst"
  { 164,  3, 3, 3.3,   -kPi / 6,            0.0,    1.0, 0.0,                 24,   36,  976,  860,  -1,  0},  // "3-incurvate"
  { 165,  3, 4, 4.6,   0.0,                 0.0,    1.0, -kPi / 4,            18,   18,  982,  982,  -1,  0},  // "4-incurvate"
  { 166, 18, 4, 2.7,   0.0,                 0.0,    1.5, kPi,                 25,   25,  975,  975,  68,  0},  // "phenyl cross"
  { 247, 19, 4, 2.6,   1.41371669385,       -0.15,  1.0, -3.270747018237374,  1,    1,   999,  999,  150, 6},  // "quatretat"
  { 251,  5, 4, 5.0,   -0.675 * kPi,        0.0,    1.5, 0.0,                 18,   18,  982,  982,  -1,  0},  // "sprocket-4"
  { 252,  5, 5, 8.0,   -kPi / 10,           0.0,    1.5, -1.6929693744344996, 43,   46,  918,  915,  -1,  0},  // "sprocket-5"
  {1040,  2, 3, 4.0,   -kPi / 2,            -0.15,  1.0, 0.0,                 0,    0,   1000, 1000, -1,  0},  // "squirclebox A"
  {1043,  7, 5, 1.005, 0.0,                 0.0,    1.0, 0.0,                 0,    0,   1000, 1000, 49,  2},
};
// clang-format on

constexpr bool RowsAscend() {
  for (std::size_t i = 1; i < sizeof(kFloretRows) / sizeof(kFloretRows[0]); ++i) {
    if (kFloretRows[i - 1].mode >= kFloretRows[i].mode) return false;
  }
  return true;
}
static_assert(RowsAscend(), "one row per mode, in ascending order");

constexpr bool PetalsValid() {
  for (const FloretRow& r : kFloretRows) {
    if (r.petals < 1 || r.exponentDivisor <= 0.0) return false;
  }
  return true;
}
static_assert(PetalsValid(), "every floret has petals and a positive exponent divisor");

const FloretRow* FindRow(int32_t mode) {
  for (const FloretRow& r : kFloretRows) {
    if (r.mode == mode) return &r;
  }
  return nullptr;
}

}  // namespace

void GetBasisOfWarpyPolyprojection(int32_t outputMode, FloretBasis* basis) {
  basis->kind = FloretKind_None;
  basis->diskShift = 0.0;
  basis->scale = 1.0;
  basis->finalSpin = 0.0;
  basis->finalLongitude = 0.0;
  basis->spin = {1.0, 0.0};
  basis->canvasMin = {0.0, 0.0};
  basis->canvasMax = {1000.0, 1000.0};
  basis->turnFraction = 1.0;
  basis->exponentDivisor = 1.0;
  basis->polyhedronId = -1;
  basis->polyhedronParam = 0;

  const FloretRow* r = FindRow(outputMode);
  if (!r) return;
  basis->kind = r->kind;
  basis->petalCount = r->petals;
  basis->scale = r->scale;
  if (r->spinAngle != 0.0) basis->spin = Cspun(r->spinAngle);
  basis->diskShift = r->diskShift;
  basis->exponentDivisor = r->exponentDivisor;
  basis->finalSpin = r->finalSpin;
  basis->canvasMin = {r->minX, r->minY};
  basis->canvasMax = {r->maxX, r->maxY};
  basis->polyhedronId = r->polyhedronId;
  basis->polyhedronParam = r->polyhedronParam;
  if (outputMode == 151) {
    // The trident's petals are half-width: undo twice the petal turn and
    // face the other way.
    basis->turnFraction = 2.0;
    basis->finalLongitude = kPi;
  }
}

bool IsProjectionAFloret(int32_t outputMode) {
  const FloretRow* r = FindRow(outputMode);
  return r != nullptr && r->kind != FloretKind_None;
}

bool IsFloretWithPolyhedronBasis(int32_t outputMode) {
  const FloretRow* r = FindRow(outputMode);
  return r != nullptr && r->polyhedronId != -1;
}
