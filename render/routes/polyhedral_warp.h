// Two steps of the polyhedral stage of the inverse mapping that only some
// solids need: the squarebox B and squirclebox B nets, whose two fragments
// are read as the halves of a Peirce square instead of through their faces,
// and the scissor-mark field of the curved-element solids, whose contour the
// second Tissot pass draws. Both run on the worker tasks and only read the
// polyhedron.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct TransformationReply;
struct polyhedron;
struct renderhinttype;
struct vort;

// Distance given to a point that no scissor mark of its piece can reach.
constexpr float kNoScissorMarkNear = 99999.0f;

// True for the shape codes of the squarebox B and squirclebox B solids.
bool HasSecondaryWarp(int32_t shapeCode);

// For a point (u, va) of the net (va already scaled by the output's aspect)
// that the net search hit on fragment 1 or 2 of such a solid: the
// fragment's key triangle is laid onto the left half of the Peirce square
// and `point` becomes that square's sphere point (fragment 1 turned half
// round the y axis). Anything else leaves point and *outside alone.
void MaybeSecondaryWarp(float point[3], const polyhedron* poly, float u, float va, uint8_t* outside,
                        const renderhinttype* hint);

// The scissor-mark field of a point on the solid: `onSolid` is the point the
// net search left in the hint; the face is reply->faceRegion. spotField
// becomes the squared distance to the nearer usable mark of the face's piece
// less that mark's squared radius, and spotFieldValid 1, or 0 when the point
// lies on the far side of the mark's plane. A polyhedron without marks
// leaves the reply alone; a point with no face, or a face of no piece, is
// far from every mark.
void FindScissorHeight(const vort& view, triplex onSolid, TransformationReply* reply);
