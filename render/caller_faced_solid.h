// The one shape whose faces its caller supplies: the catalogue gives it its
// options and four empty face slots, and the view that draws it (output
// mode 1046) fills them with a regular tetrahedron, unfolded as a generated
// solid is.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// True when the output mode draws the shape whose faces the caller supplies.
bool ModeDrawsCallerFacedSolid(int32_t outputMode);

// Fills a record the set-up left with the catalogue's empty face slots for
// that shape: four faces, their links and angles, the net, and everything
// the set-up does after the catalogue (net method, cram mode and angle as
// the set-up chose them). A record that already holds its net (the set-up
// returned at once from its cache) is left alone. False when the solid
// could not be made (no memory for its arrays, or an adder refused a face).
bool SupplyCallerFaces(polyhedron* poly, int16_t netMethod, int32_t cramMode, double netAngle, BufferProcs* procs,
                       uint8_t fullDetail);
