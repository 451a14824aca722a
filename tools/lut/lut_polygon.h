// The conformal map of a regular n-gon onto the unit disk, the inverse of
//   G(w) = A * integral from 0 to w of (1 + (t/mu)^n)^(-2/n) dt,
// the Schwarz-Christoffel map of the disk onto the n-gon of inradius 1 whose
// edge midpoint lies in the direction mu (|mu| = 1) and whose corners lie in
// the directions mu * e^(+-i pi/n). G(mu) = mu: the edge midpoint keeps its
// place on the rim, the corners go to the rim points between.
#pragma once

#include "lut_schwarz.h"

namespace lut {

struct PolygonMap {
  SymmetricIntegral toPolygon;
  int n = 4;
  cplx mu = 1.0;
  Corner corners[8];
};

PolygonMap MakePolygonMap(int n, cplx mu);

// The polygon's corner mu * e^(i pi k / n) / cos(pi / n) for odd k, its edge
// midpoint mu * e^(i pi k / n) for even k.
cplx PolygonRimPoint(const PolygonMap& map, int k);

// The disk point of a point of the closed polygon; false if the Newton
// iteration fails.
bool DiskPointOf(const PolygonMap& map, cplx p, cplx* w);

}  // namespace lut
