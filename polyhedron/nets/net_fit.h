// Fitting the laid-out net into the polyhedron's target area: one uniform
// scale (so the net keeps its proportions), centred, with the scale, centre,
// fitted bounds and the unit factors recorded for the renderer.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

constexpr int32_t kCramFit = 0;       // fit by the measured bounds
constexpr int32_t kCramUnitOnly = 1;  // only reset the unit factors
constexpr int32_t kCramPlanned = 2;   // the planned centre and scale

// Changes the float net points of the used 2D vertices below n2DVerts; the
// double net coordinates stay. A net without extent on an axis is fitted by
// the other axis, and one without any extent keeps scale 1. Other modes than
// the three above stop after measuring the bounds.
void CramPoints(polyhedron* poly, int32_t mode);
