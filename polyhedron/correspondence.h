// Which solid face each face of a stored net shows, and how their corner
// numberings line up. A net from static tables lists its faces in its own
// order; the search matches one pair of adjacent net faces to a pair of
// adjacent solid faces by corner count, vertex valence and the run of corner
// angles, then spreads the link across the net through the 2D and 3D links.
// Nets made by unfolding link their faces themselves and never come here.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Face angles agree when they differ by less than this (radians).
constexpr double kFaceAngleTolerance = 0.0025;

// |a - b| < 0.0025, the difference taken in single precision.
bool AnglesAreNearlyEqual(float a, float b);

// Links every net face it can reach to its solid face (PolyFace.face3D and
// PolyFace.cornerOffset). Shape codes 13, 20 and 21 take fixed rules; a shape
// whose tables give the links returns at once; a net that gives both a
// 2D-to-3D map and solid rows shows solid face k on net face k. 0 when the
// general search finds no seed pair, else 1.
int32_t DetermineCorrespondence(polyhedron* poly);

// The neighbour h of 3D face candidate3D (and the candidate's corner c that
// the shared edge starts from) such that the candidate matches net face f
// from its edge e and h matches net face g, the neighbour across e, from its
// edge ge. -1 (corner -1) when no corner of the candidate fits.
int32_t FindSimilarAmong3DNeighbors(int32_t candidate3D, int32_t f, int32_t e, int32_t g, int32_t ge, int32_t* corner,
                                    const polyhedron* poly, bool strict);

// Spreads links from the linked net face f, depth first, to every net
// neighbour not yet linked.
void Propagate(int32_t f, polyhedron* poly);

// The fixed rules: one strip of six net faces of the five-tetrahedra shape
// linked around 3D face face3D, the whole five-tetrahedra shape, and the
// pentagon-seeded shape 21.
void MakeSawtoothCorrespondNew(polyhedron* poly, int32_t strip, int32_t face3D);
int32_t DetermineCorrespondenceForFiveTets(polyhedron* poly);
int32_t DetermineCorrespondenceForGID(polyhedron* poly);
