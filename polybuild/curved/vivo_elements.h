// One flat element of a curved-element solid and the folded wings swept
// along its sides, turned into 3D vertices and faces of the polyhedron, and
// the final re-orientation of the whole solid.
//
// Element k with n corners owns the tags (2n+1)k .. (2n+1)k + 2n: the flat
// face, then two per side (the inner and the outer row of its wing). Each
// face carries its tag as its facegroup value.
#pragma once

#include <cstdint>

#include "polybuild/curved/vivo_context.h"
#include "projection/planes.h"

// Points this close to a stored vertex are that vertex.
constexpr double kVivoMergeTolerance = 2e-5;
constexpr int32_t kVivoWingSteps = 15;
// The dodecahedron's twelve elements at 15 steps would need 1812 faces and,
// with the outer rows laid out twice in the net, 2712 net faces: more than
// a record holds. Eight steps keep the net within it.
constexpr int32_t kVivoDodecWingSteps = 8;
int32_t WingStepsOfStyle(int32_t style);
// A hinge search whose best error stays above this has not closed its
// step: the wing would tear.
constexpr double kHingeClosedError = 1e-9;

double BendAngleOfStyle(int32_t style);

// The hinge angle of wing step `step` (1..15) for the record: the cached one,
// else a fresh search whose result is cached. A search that ends above
// kHingeClosedError sets ctx->hingeFailed.
struct HingeSearchRecord;
double HingeAngleOfStep(VivoContext* ctx, int32_t step, HingeSearchRecord* record);

void BuildOneAnyElement(const triplex* corners, int32_t n, VivoContext* ctx, spintype spin, triplex* out, int32_t k,
                        int32_t style);
void BuildOneVivoDodecElement(triplex c0, triplex c1, triplex c2, triplex c3, triplex c4, VivoContext* ctx,
                              spintype spin, triplex* out0, triplex* out1, triplex* out2, triplex* out3,
                              triplex* out4, int32_t k, int32_t style);
void BuildOntoOneSide(triplex P, triplex Q, triplex R, triplex S, triplex T, VivoContext* ctx, triplex* out,
                      spintype spin, int32_t tag, int32_t elementNo, int32_t style);
// One wing: WingStepsOfStyle(style) steps of two rows, its end point (unturned) to *out.
void BuildVivoStuff(triplex P, triplex Q, triplex S, triplex T, triplex u, triplex w, triplex* out, spintype spin,
                    VivoContext* ctx, int32_t tag, int32_t elementNo, int32_t style);
void DumpVivoTetQuad(triplex p0, triplex p1, triplex p2, triplex p3, VivoContext* ctx, spintype spin, int32_t tag);
void DumpVivoTri(triplex p0, triplex p1, triplex p2, VivoContext* ctx, spintype spin, int32_t tag);

// Styles 0 and 5: (x, y, z) -> (x, -z, y); 1 and 2: the direction turned onto
// +y about the origin; others: nothing.
void DizzifyAll3DPoints(polyhedron* poly, int32_t style, triplex direction);
