// Developable and cone tetrahedra: the tetrahedron's faces rebuilt as fans
// of thin slivers over great-circle arcs, so that each face is a developable
// surface that unrolls flat. The arc edge of a sliver is cut, which decides
// where the net may not join faces.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// Sliver kinds: the mirrored developable sliver and the conic one; any other
// kind is the plain sliver.
constexpr int32_t kSliverDevelopable = 1;
constexpr int32_t kSliverConic = 4;
constexpr int32_t kSliversPerArc = 30;
constexpr double kConeTurn = 1.0471975511965976;  // pi/3

// Fill `poly` with the solid and run the angle and link pass. Without memory
// for the scratch tetrahedron the solid stays empty with errorCode set.
void BuildDevTet(polyhedron* poly, BufferProcs* procs);
void BuildConeTet(polyhedron* poly, BufferProcs* procs);
// Sliver j of n over the arc between two corners of a face of `base` (all
// three corners taken onto the unit sphere), its apex at a third corner; the
// face index is the sliver's tag.
void BuildDevelopableSliver(const polyhedron* base, polyhedron* poly, int32_t face, int32_t apexCorner,
                            int32_t fromCorner, int32_t toCorner, int32_t j, int32_t n, int32_t kind);
// One sliver (S, X1, X2), X1 and X2 at the fractions j/n and (j+1)/n of the
// arc from A to B; edge 0 runs S-X1, 1 X1-X2, 2 X2-S.
void BuildDevelopableSliverCore(polyhedron* poly, const double S[3], const double A[3], const double B[3], int32_t j,
                                int32_t n, int32_t kind, int32_t tag);
// P moved along its direction from the centre onto the cone about `apex`
// whose generator meets the line apex-centre at `turn`. When the lines do
// not meet (parallel) P is returned unchanged.
void MakeLieOnCone(const double apex[3], double turn, const double P[3], double out[3]);
// The closest points pa, pb of the lines p1-p2 and p3-p4 and their
// parameters. 0 when a line has no length or the lines are parallel (all
// within 1e-5), 1 otherwise.
int32_t LineLineIntersect(const double p1[3], const double p2[3], const double p3[3], const double p4[3], double pa[3],
                          double pb[3], double* mua, double* mub);
// The four points as merged vertices and a quadrilateral with edges 1 and 3
// cut (a band between two sweep circles), checks deferred.
void AddQuadrilateralFace(polyhedron* poly, const double P1[3], const double P2[3], const double P3[3],
                          const double P4[3]);
