// The geometric steps of a polyhedron set-up that run once the shape is
// loaded: the net's links rebuilt, the net turned and tied to the solid
// through render points, the scissor planes, the up vector, the face
// centroids and the 2D-to-3D vertex table. The tab steps live beside them in
// polyhedron_setup_tabs.h; polyhedron_setup.h runs them all in order.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// How a net is made, as the second word of a mode's polyhedron params.
constexpr int16_t kNetMethodFixed = 0;            // the shape's own net and 2D-to-3D table
constexpr int16_t kNetMethodGlued = 1;            // net linked to the solid, glue tabs on the outline
constexpr int16_t kNetMethodProcedural = 2;       // net left by the shape's builder
constexpr int16_t kNetMethodTabPerEdge = 3;       // as 1, one tab on every glued edge (export layout)
constexpr int16_t kNetMethodSolidOnly = 4;        // solid and fit, no net work
constexpr int16_t kNetMethodFixedUncleansed = 5;  // as 0 without recomputing the used vertices
constexpr int16_t kNetMethodComputed = 6;         // net linked to the solid, no tabs

// Methods whose net is linked to its solid by the set-up itself.
bool NetMethodRebuildsLinks(int16_t method);
// Methods that build glue tabs.
bool NetMethodHasTabs(int16_t method);
// Methods whose net comes with a fixed 2D-to-3D vertex table.
bool NetMethodIsFixed(int16_t method);

// The mean of a 3D face's corners; (0, 0, 0) for a face without corners or
// outside the record.
void FetchCentroidOf3DFace(const polyhedron* poly, int32_t face, double out[3]);

// A solid point as render points and scissor planes take it: (a·b·x, a·y, z)
// with a = -1 when mirrorFlipA is set and b = -1 when mirrorFlipB is set.
void MirroredPoint(const polyhedron* poly, const double in[3], double out[3]);

// Links the net to itself and to its solid: the used 2D vertices, the 2D
// links of the first n3DFaces faces, the corner angles of both, the 3D links
// and which solid face each net face shows.
void RebuildNetLinks(polyhedron* poly);

// Turns every net corner by `angle` (counter-clockwise) from the double net
// coordinates into the float net points, and sets the render point of each
// net corner to its mirrored solid point: through the shape's fixed 2D-to-3D
// table when it has one, else through the solid corner that the net corner
// shows. A fixed net without its table thus falls back on the face links
// rather than reading a table that is not there; a corner with neither keeps
// its render point.
void RotateNetAndSetRenderPoints(polyhedron* poly, double angle);

// The pivot point and the plane of the three companion points of every
// scissor mark, mirrored. A mark whose pivot is no stored vertex is left
// alone; one with a missing companion gets a zero plane, which classifies
// every point as on it.
void BuildScissorPlanes(polyhedron* poly);

// polyhedron.upFace, or when it is -1 the first face with the most solid
// corners (face 0 when there are none).
int32_t ChooseUpFace(const polyhedron* poly);
// (0, 0, -1) for the fixed methods, else the centroid of the up face as it
// comes (not normalised).
void SetUpVector(polyhedron* poly, int16_t method);
// PolyFace.centroid (normalised, a zero vector becomes (0, 0, 1)) and its
// float copy for every solid face.
void SetFaceCentroids(polyhedron* poly);
// polyhedron.vert3DOfVert2D for every 2D vertex slot.
void FillVert3DOfVert2D(polyhedron* poly);
