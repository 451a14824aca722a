#include "projection/inverse/star_projections.h"

#include "projection/complex_math.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/planes.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr float R(double degrees) { return static_cast<float>(degrees * kDegree); }

using Fetch = fcomplex (*)(fcomplex);

// A sector index the layout does not have.
bool RejectSector(int32_t k, int32_t sectors, float point[3], int32_t* region, uint8_t* outside) {
  if (k >= 0 && k < sectors) return false;
  *outside = 1;
  *region = -5;
  point[0] = 0.0f;
  point[1] = 0.0f;
  point[2] = 1.0f;
  return true;
}

// The sector's point on the unit disk: the polygon triangle's conformal
// image, mirrored when the sector is the mirror image of its neighbour, then
// turned to its place in the ring.
fcomplex SectorDisk(Fetch fetch, fcomplex z, bool mirror, double spin) {
  fcomplex w = fetch(z);
  if (mirror) w.im = -w.im;
  return Cmul(w, Cspun(spin));
}

fcomplex CentreCorner(const NetSectorSample* s) { return {s->b0, s->b2}; }

// The triangle sixth of the three-fold layouts is read only up to its
// hypotenuse; a point beyond it is folded back onto it.
fcomplex FoldedCentreCorner(const NetSectorSample* s) {
  const float b2 = s->b0 + s->b2 > 1.0f ? 1.0f - s->b0 : s->b2;
  return {s->b0, b2};
}

// The disk onto one hemisphere by the stereographic map; the far sectors
// take the other hemisphere, mirrored so that the two rims meet.
void HemispherePair(fcomplex w, bool far, float point[3]) {
  if (far) w.re = -w.re;
  float p[3];
  StereoIntersect(static_cast<float>(2.0 * w.re), static_cast<float>(2.0 * w.im), p);
  point[0] = far ? p[2] : -p[2];
  point[1] = p[0];
  point[2] = -p[1];
}

// The disk to the sphere: stereographically onto a hemisphere (mode 0) or
// by the Lagrange map, which opens the disk to the whole sphere but a lune.
void DiskToSphere(fcomplex w, int32_t mode, float p[3]) {
  if (mode == 0) {
    StereoIntersect(static_cast<float>(2.0 * w.re), static_cast<float>(2.0 * w.im), p);
  } else {
    uint8_t alwaysInside = 0;
    LagrangeInverse(w, 2.0, &alwaysInside, p, 0);
  }
}

void StoreFloats(const double q[3], float point[3]) {
  point[0] = static_cast<float>(q[0]);
  point[1] = static_cast<float>(q[1]);
  point[2] = static_cast<float>(q[2]);
}

// The ring layouts whose sectors all read the same polygon and fill two
// hemispheres: the first `nearCount` sectors one, the rest the other.
void HemisphereRing(const NetSectorSample* s, Fetch fetch, const float* spin, int32_t sectors, int32_t nearCount,
                    float point[3], int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, sectors, point, region, outside)) return;
  *region = k;
  const fcomplex w = SectorDisk(fetch, CentreCorner(s), (k & 1) != 0, spin[k]);
  HemispherePair(w, k >= nearCount, point);
}

}  // namespace

const float pentalene_disk_spin[kPentaleneSpinCount] = {R(194.4), R(194.4), R(266.4), R(266.4), R(338.4), R(338.4),
                                                        R(410.4), R(410.4), R(482.4), R(482.4), R(-14.4), R(-14.4),
                                                        R(57.6),  R(57.6),  R(129.6), R(129.6), R(201.6), R(201.6),
                                                        R(273.6), R(273.6), 0,        0,        0,        0};
const float fivestar_disk_spin[kFivestarSpinCount] = {R(0),   R(0),   R(72),  R(72),  R(144), R(144), R(216), R(216),
                                                      R(288), R(288), R(0),   R(0),   R(72),  R(72),  R(144), R(144),
                                                      R(216), R(216), R(288), R(288), 0,      0,      0,      0};
const float adamsdiamonds_disk_spin[kAdamsDiamondsSpinCount] = {R(90),  R(180), R(180), R(270), R(270), R(360),
                                                                R(360), R(90),  R(270), R(360), R(360), R(90),
                                                                R(90),  R(180), R(180), R(270)};
const float naphthalene_disk_spin[kNaphthaleneSpinCount] = {
    R(0),   R(60),  R(60),  R(120), R(120), R(180), R(180), R(240), R(240), R(300), R(300), R(360),
    R(120), R(180), R(180), R(240), R(240), R(300), R(300), R(360), R(0),   R(60),  R(60),  R(120)};
const float anthracene_disk_spin[kAnthraceneSpinCount] = {
    R(90),  R(150), R(150), R(210), R(210), R(270), R(270), R(330), R(330), R(390), R(390), R(450), R(210), R(270),
    R(270), R(330), R(330), R(390), R(390), R(450), R(90),  R(150), R(150), R(210), R(210), R(270), R(270), R(330),
    R(330), R(390), R(390), R(450), R(450), R(510), R(510), R(570), 0,      0,      0,      0};
const float phenathene_disk_spin[kPhenantheneSpinCount] = {
    R(150), R(210), R(210), R(270), R(270), R(330), R(330), R(390), R(390), R(450), R(450), R(510), R(330), R(390),
    R(390), R(450), R(450), R(510), R(510), R(570), R(210), R(270), R(270), R(330), R(-30), R(30),  R(30),  R(90),
    R(90),  R(150), R(150), R(210), R(210), R(270), R(270), R(330), 0,      0,      0,      0};
const float pointy_disk_spin[kPointySpinCount] = {R(0),   R(60),  R(0),   R(60),  R(60),  R(120), R(60),  R(120),
                                                  R(120), R(180), R(120), R(180), R(180), R(240), R(180), R(240),
                                                  R(240), R(300), R(240), R(300), R(300), R(360), R(300), R(360)};
const float sixstar_disk_spin[kSixstarSpinCount] = {R(0),   R(60),  R(60),  R(120), R(120), R(180), R(180), R(240),
                                                    R(240), R(300), R(300), R(360), R(0),   R(60),  R(60),  R(120),
                                                    R(120), R(180), R(180), R(240), R(240), R(300), R(300), R(360)};
const float rhombus1_disk_spin[kRhombusSpinCount] = {R(-240), R(-240), R(-120), R(-120), 0, 0, 0, 0};
const double threestar_disk_spin[kThreestarSpinCount] = {
    0 * kDegree, 0 * kDegree, -120 * kDegree, -120 * kDegree, -240 * kDegree, -240 * kDegree,
    0 * kDegree, 0 * kDegree, -120 * kDegree, -120 * kDegree, -240 * kDegree, -240 * kDegree};
const double bipolar_rhombus_disk_spin[kThreestarSpinCount] = {
    0 * kDegree, 0 * kDegree, -120 * kDegree, -120 * kDegree, -240 * kDegree, -240 * kDegree,
    0 * kDegree, 0 * kDegree, -120 * kDegree, -120 * kDegree, -240 * kDegree, -240 * kDegree};
const float Reuleaux8_spin[kReuleaux8SpinCount] = {R(0), R(240), R(240), R(120), R(120), R(0), 0, 0};

void TotalPentaleneToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  HemisphereRing(s, FetchFromCache_decant, pentalene_disk_spin, kPentaleneSectors, 10, point, region, outside);
}

void TotalAdamsdiamondsToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  HemisphereRing(s, FetchFromCache_nuoctant, adamsdiamonds_disk_spin, kAdamsDiamondsSectors, 8, point, region, outside);
}

void TotalNaphthaleneToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  HemisphereRing(s, FetchFromCache_dodecant, naphthalene_disk_spin, kNaphthaleneSectors, 12, point, region, outside);
}

void TotalFivestarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kFivestarSectors, point, region, outside)) return;
  *region = k;
  double spin = fivestar_disk_spin[k];
  if (mode == 0 || mode == 1) spin = static_cast<float>(spin + 3.4557519183);
  const fcomplex w = SectorDisk(FetchFromCache_decant, CentreCorner(s), (k & 1) != 0, spin);
  DiskToSphere(w, mode, point);
  if (k > 9) point[2] = -point[2];
}

void TotalSixstarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kSixstarSectors, point, region, outside)) return;
  *region = k;
  const fcomplex w = SectorDisk(FetchFromCache_dodecant, CentreCorner(s), (k & 1) != 0, sixstar_disk_spin[k]);
  DiskToSphere(w, mode, point);
  if (k > 11) point[2] = -point[2];
}

void TotalNEWPOINTYToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kPointySectors, point, region, outside)) return;
  *region = k;
  double spin = pointy_disk_spin[k];
  if (mode == 0) spin = static_cast<float>(spin + 0.5235987755);
  const fcomplex w = SectorDisk(FetchFromCache_dodecant, CentreCorner(s), (k & 1) != 0, spin);
  float p[3];
  DiskToSphere(w, mode, p);
  double q[3] = {p[0], p[2], -p[1]};
  if (k & 4) q[1] = -q[1];
  uint8_t scratch = 0;
  SubstituteSphereSegment_NiceD(q, 0.333333333, &scratch, 0.0);
  LatitudeIt(q, -0.5235987755982988);
  StoreFloats(q, point);
}

void TotalAnthraceneToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kAnthraceneSectors, point, region, outside)) return;
  *region = k;
  const fcomplex w = SectorDisk(FetchFromCache_dodecant, CentreCorner(s), (k & 1) != 0, anthracene_disk_spin[k]);
  double q[3];
  StereoIntersect_NiceD(w.re, w.im, q);
  uint8_t scratch = 0;
  SubstituteSphereSegmentD(q, 1.5, &scratch);
  // Each of the three hexagons fills a lune of a third of the sphere.
  const int32_t g = k / 12;
  if (g + 2 != 3) LongitudeIt(q, static_cast<float>(g + 2) * 6.283185307179586 / -3.0);
  StoreFloats(q, point);
}

void TotalPhenatheneToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kPhenantheneSectors, point, region, outside)) return;
  *region = k;
  const fcomplex w = SectorDisk(FetchFromCache_dodecant, CentreCorner(s), (k & 1) != 0, phenathene_disk_spin[k]);
  double q[3];
  StereoIntersect_NiceD(w.re, w.im, q);
  uint8_t scratch = 0;
  SubstituteSphereSegmentD(q, 1.5, &scratch);
  LongitudeIt(q, static_cast<float>(k / 12) * 6.283185307179586 / 3.0);
  const double r[3] = {q[0], -q[2], q[1]};
  StoreFloats(r, point);
}

void TotalRhombusToSphere(const NetSectorSample* s, float point[3], int32_t, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kRhombusSectors, point, region, outside)) return;
  *region = k;
  const bool mirror = k == 0 || k == 3;
  const double spin = static_cast<float>(rhombus1_disk_spin[k] - 1.5707963268333334);
  fcomplex w = SectorDisk(FetchFromCache_sextant, FoldedCentreCorner(s), mirror, spin);
  w = Cpow(w, 3.0);
  double q[3];
  StereoIntersectD(2.0 * w.re, 2.0 * w.im, q);
  const double r[3] = {q[0], k <= 1 ? -q[2] : q[2], q[1]};
  StoreFloats(r, point);
}

void TotalThreestarToSphere(const NetSectorSample* s, float point[3], int32_t mode, int32_t* region, uint8_t* outside) {
  const int32_t k = s->sector;
  if (RejectSector(k, kThreestarSectors, point, region, outside)) return;
  *region = k;
  double spin;
  if (mode == 2) {
    spin = static_cast<float>(static_cast<float>(bipolar_rhombus_disk_spin[k]) - 1.5707963268333334);
  } else {
    const double add = mode == 1 ? 4.712388979794897 : 4.188790204;
    spin = static_cast<float>(static_cast<float>(threestar_disk_spin[k]) + add);
  }
  const fcomplex w = SectorDisk(FetchFromCache_sextant, FoldedCentreCorner(s), (k & 1) == 0, spin);
  float p[3];
  DiskToSphere(w, mode == 1 ? 1 : 0, p);
  if (mode == 2) {
    const bool far = k > 5;
    point[0] = far ? p[2] : -p[2];
    point[1] = p[1];
    point[2] = far ? -p[0] : p[0];
  } else {
    point[0] = p[0];
    point[1] = p[1];
    point[2] = k > 5 ? -p[2] : p[2];
  }
}
