// Scissor marks of the curved-element solids: a point where the printed net
// is to be cut and three companion points, all kept as 3D vertices of the
// solid, with the element tag of the piece and two values of its builder.
// The builder adds them while it builds; the scissor overlay reads them and
// the set-up pairs them by tag.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"
#include "projection/planes.h"

// Marks and companion points closer than this to a stored 3D vertex are that
// vertex.
constexpr double kScissorMergeTolerance = 2e-5;

// Records one mark; the points are in the builder's frame and are turned by
// `spin` first. Nothing happens once kPolyMaxScissorMarks marks exist, or
// for a tag outside 0..kPolyElementTags - 1. A mark point that gets no
// vertex (error 5, the vertex list is full) is not recorded; a companion
// point without one is stored as -1.
void AddScissorMark(polyhedron* poly, triplex point, double value, int32_t tag, spintype spin, int32_t param,
                    triplex p1, triplex p2, triplex p3);
