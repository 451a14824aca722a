// Florets: output layouts of n petals around a centre. Every petal is the
// same map of one piece of the sphere; a plane point is turned into the
// principal petal, raised to the power that opens the petal's wedge to a
// half-plane, mapped by the petal's own map (a circle, a Lagrange, Guyou or
// ellipse map, a thorn view, or the net of a polyhedron), stretched from a
// sphere segment to the whole sphere and turned back by the petal's
// longitude.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"
#include "projection/nets/florets_basis.h"

struct renderhinttype;

// The net of the active polyhedron, for the petal kinds drawn on a net: the
// polyhedral net search (plane point of the net to sphere point, updating
// the hint as that search does), which the caller hands in with whatever it
// needs to reach the polyhedron. A null transform reports every point of a
// net kind outside.
using FloretNetTransform = void (*)(const void* context, float x, float y, float point[3], uint8_t* outside,
                                    renderhinttype* hint);
struct FloretNet {
  FloretNetTransform transform;
  const void* context;
  float firstVertexX;  // net position of the polyhedron's 2D vertex 0
  float firstVertexY;
};

// The petal map of kind 0: the disk about (0.5, 0) of radius 0.5 onto the
// northern half of the stereographic sphere.
void PreFloret_Circle(fcomplex w, uint8_t* outside, double point[3]);

// The plane point z of a floret mode to the sphere. Sets *outside to 1 off
// the petals (the point is then unspecified) and to 0 on them. Writes
// hint->petalIndex, hint->quadrant for kind 9999, and through the net
// transform the hint fields of the net search. net may be null.
void CopsInTroubleCore(fcomplex z, uint8_t* outside, double point[3], const FloretBasis* basis, const FloretNet* net,
                       renderhinttype* hint);
// The same with a single-precision point.
void CopsInTrouble(fcomplex z, uint8_t* outside, float point[3], const FloretBasis* basis, const FloretNet* net,
                   renderhinttype* hint);
