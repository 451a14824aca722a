// Storing a flattened, hinged face as a face of the net, and the order in
// which the unfolding tries a net face's edges.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "polyhedron/temp_face.h"

// Stores the scratch face as a net face: its corners become 2D vertices of
// its fragment (merged with close vertices of that fragment), the face is
// linked to its net neighbours and to the 3D face it shows, and that 3D face
// is marked placed. The slot is `slot` when useGivenSlot is non-zero, else the
// next one. Returns the slot, or -1: no corners, no face slot left (error 1;
// nothing is stored), or no vertex slot left (error 6). A 3D face refused
// for lack of a slot still counts as placed.
int32_t Add2DFaceToNet(polyhedron* poly, temp2Dface* temp, int32_t useGivenSlot, int32_t slot);
