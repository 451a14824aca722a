// The fit scale of an output mode's net built at a given net angle: the
// simplex searches for the best-fitting turn of a net ask it for many trial
// angles.
#pragma once

#include <cstdint>

struct Globals;

// Builds the mode's polyhedron in a scratch record at net angle spin · 2π
// (spin in turns), aspect 0.5, no tabs, glued-net method, and returns its
// snuggling scale; 0 when the scratch record cannot be had.
float GetScaleFromSpin(float spin, int32_t outputMode, Globals* g);
