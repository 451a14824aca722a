// The waffle's net: the cube in eighths twice, one copy for each half of
// the sphere.
#pragma once

#include <cstdint>

#include "sector_nets.h"

namespace shapes {

// Net point numbers the waffle's sphere map reads as marks: the first on
// the upright middle line of the copy that takes the half-turn, and the two
// together, by the mean of their heights, parting the two copies.
constexpr int32_t kWaffleMarkA = 22;
constexpr int32_t kWaffleMarkB = 50;

// The net with its solid (the cube's corners, edge midpoints and face
// centres). `handedness` as for the other nets. Aborts with a message when
// the net comes out unsound.
FlatNet MakeWaffleNet(double handedness);

// The three-petal floret's net: the quarter of the sphere one petal reads,
// drawn into a quadrant about the zenith, four times a quarter turn apart.
FlatNet MakeTridentNet(double handedness);

}  // namespace shapes
