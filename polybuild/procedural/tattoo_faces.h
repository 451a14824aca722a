// The face adder of the procedural solids. Their paths and sweeps meet at
// poles and apices, where corners that are apart in the formulas merge into
// one vertex; such a face must never reach the solid (a face with a repeated
// corner or without area breaks the links and the unfolding), but a
// four-corner face that lost one corner is still a sound triangle.
#pragma once

#include <cstdint>

struct polyhedron;

// Adds a face of 3 to 10 corners (stored 3D vertices) with the checks
// deferred. A corner equal to the next one is dropped, and a cut edge follows
// its edge (a cut on a dropped edge goes with it). The face is skipped when
// fewer than three corners remain, a corner comes twice, or it has no area.
// `extra` (-1 none) is the partner vertex of a three-corner face, passed on
// only when it differs from the three corners. True when added.
bool AddSoundFace(polyhedron* poly, const int32_t* corners, int32_t n, int32_t cutEdgeA, int32_t cutEdgeB,
                  int32_t facegroup, int32_t extra = -1);
bool AddSoundTriangle(polyhedron* poly, int32_t a, int32_t b, int32_t c, int32_t cutEdgeA, int32_t facegroup,
                      int32_t extra = -1);

// The last step of every procedural builder: corner angles and links, once.
// A build that ends with no face at all says so (kPolyErrorShapeNotAvailable
// unless an error is already set): an empty solid must not be handed on to
// the unfolding as if it were one.
void FinishProceduralSolid(polyhedron* poly);
