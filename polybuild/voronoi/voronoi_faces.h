// From a cell's corner list to faces of the polyhedron: the corners are
// sorted round the cell, nearly straight corners may be cut off as their own
// triangles, and the rest becomes a fan of triangles. Every triangle carries
// its site's index and position, so the net layout and the renderer can tell
// cells apart. The dual builder writes its faces through the same path.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct polyhedron;
struct VoronoiHandlingOptions;

// Adds the point at the front of the list unless a point of the list lies
// closer than `distance` (then returns null and adds nothing). Otherwise as
// AddPointToList, null when memory runs out.
HALFSPACE* AddPointToList_while_killing_redundancies(const double point[3], HALFSPACE* list, int32_t index,
                                                     double distance);
// Mean of the list's points; all zero for an empty list.
void GetCentroidOfPointlist(HALFSPACE* list, double centroid[3]);
// Each corner's (up to four) sites other than `site` take `site` as a hint:
// into the first empty slot, unless a slot before it already holds the site;
// with every slot full and the site in none, into the last slot.
void AddHintsToNeighbors(HALFSPACE* site, HALFSPACE* corners);
// Writes the cell of `site` (its corners in any order, at least three) into
// the polyhedron as triangles; fewer than three corners add nothing. The
// corners' order and index fields are rewritten.
void DumpPointListIntoPolyhedron(HALFSPACE* corners, HALFSPACE* site, polyhedron* poly,
                                 const VoronoiHandlingOptions* options);
// On a sorted corner list of more than three corners: each corner whose
// angle exceeds 160 degrees, between neighbours that do not, and whose two
// edges differ by at most 15 times, is saved as its own triangle and removed.
void MaybeShaveSillyVerts(HALFSPACE* corners, polyhedron* poly, HALFSPACE* site, double mergeDistance);
// The sorted corners as a fan of triangles from the apex the options' rule
// picks.
void AddFanOfTriangularFacesToPoly(HALFSPACE* corners, HALFSPACE* site, polyhedron* poly,
                                   const VoronoiHandlingOptions* options);
// One triangle of the cell, its corners merged with existing 3D vertices
// within mergeDistance. A triangle whose corners merge into fewer than three
// vertices is a sliver below the merge distance and is left out, so that the
// solid stays closed where neighbouring cells merged the same corners.
void SaveFace_core(const double p1[3], const double p2[3], const double p3[3], polyhedron* poly, HALFSPACE* site,
                   uint8_t shavedFlag, double mergeDistance);
// Each point's index becomes the first 3D vertex within 0.002 of it, or -1.
void AlignPointlistWith3DVerts(HALFSPACE* list, const polyhedron* poly);
