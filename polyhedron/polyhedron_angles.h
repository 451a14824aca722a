// Corner angles of the solid's faces and of the net's faces, and the normal
// and plane of each solid face.
#pragma once

#include "polyhedron/polyhedron_record.h"

// Per 3D face: angle3D, normal (oriented so that the flattened face runs
// counter-clockwise), orientationSign and plane. Faces naming a vertex outside
// the record's limits are skipped.
void Calc3DAngles(polyhedron* poly);
// Per 2D face: angle2D and edgeAngle2D, over faces 0 .. n3DFaces - 1.
void Calc2DAnglesAroundFaces(polyhedron* poly);
