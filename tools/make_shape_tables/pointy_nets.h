// The pointy layout's net: two lunes of the sphere, each shown twice.
#pragma once

#include "sector_nets.h"

namespace shapes {

// The pointy net with its solid; `handedness` is the way round the
// catalogue's icosahedron net shows the sphere (+1 or -1, as the main
// measures it). Aborts with a message when the layout's sphere map no longer
// gives the lunes the net is drawn for.
FlatNet MakePointyNet(double handedness);

}  // namespace shapes
