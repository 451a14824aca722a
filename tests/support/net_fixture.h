// Small hand-made nets for the net triangle, tab and point tests: the six
// squares of a unit cube's cross-shaped net, with every vertex's render point
// on the cube, and the steps the set-up runs on a net (fan triangles, outline
// tab marks).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "support/poly_fixture.h"

// Faces of the cross net, each a unit square given by its lower-left corner:
// left (0, 1), front (1, 1), right (2, 1), back (3, 1), top (1, 2) and
// bottom (1, 0); corners counter-clockwise from the lower left. 14 vertices,
// 14 outline edges, fragment 1, 2D links built, render points on the cube
// [-0.5, 0.5]^3 (front at z = +0.5).
constexpr int32_t kCrossFront = 1;
void BuildCubeCrossNet(polyhedron* poly);
// The cube point the cross net shows at net point (x, y) of one of its faces.
void CubePointOfCrossNet(int32_t face, double x, double y, double out[3]);

// Net faces straight into the record, with float net points and the 2D
// links: points become 2D vertices 0..n-1 of fragment 1.
void BuildLinkedNet(polyhedron* poly, const std::vector<std::pair<double, double>>& points,
                    const std::vector<std::vector<int32_t>>& faces);

// Cuts every net face into a fan from its corner 0 (a convex face's
// triangles) and stores each triangle's inverse determinant.
void FanTriangulate(polyhedron* poly);

// The outline edges met walking from (face, edge) until it comes back, at
// most `limit` steps.
std::vector<std::pair<int32_t, int32_t>> WalkOutline(const polyhedron* poly, int32_t face, int32_t edge,
                                                     int32_t limit = 100);

// What the set-up does before tabs are built: every outline walk marks its
// edges visited and every other edge, from the first, for a tab.
void MarkAlternateOutlineTabs(polyhedron* poly);

// Signed area of a triangle's net corners (positive counter-clockwise).
double NetTriangleArea(const polyhedron* poly, int32_t triangle);
