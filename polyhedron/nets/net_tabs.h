// Glue tabs: trapezoids standing on the outline edges of the net that the
// set-up marked, built from the marks the net triangles carry
// (NetTriangle.tabEdge). Each tab is two more 2D vertices and two more
// triangles flagged isTab, which the renderer draws as tab and the solid
// views and mesh writers skip.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Side factors of a tab: its far side is shortened at each end by this
// times the edge length (sides at 30 degrees from the perpendicular, or 46
// degrees with tab style 1).
constexpr float kTabSideFactor = 0.57735026f;
constexpr float kTabSideFactorSteep = 1.0355303f;

// Builds the tab of every flagged edge of the triangles that exist when the
// call begins; the tab triangles it appends are not visited.
void BuildTabsUponTriangles(polyhedron* poly);

// Builds the tab of edge k (corner k to corner (k + 1) mod 3) of one triangle
// when that edge is flagged. The tab stands on the side of the edge to which
// (dy, -dx) points, polyhedron.tabDepth times the edge length high. When the
// vertex list has no room for two more (error 4) or the triangle table none
// for two more (error 7), nothing is added.
void MaybeBuildTab(polyhedron* poly, int32_t triangle, int32_t k);
