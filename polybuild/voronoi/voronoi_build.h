// polybuild/voronoi/: the spherical Voronoi solids: sites, cells, faces and their options.
// Every cell of a spherical Voronoi diagram, built one site at a time into a
// polyhedron. The first cell is the first site's; after it the build grows
// from cells already built into their neighbours (the site with the most
// hints goes next), so each new cell meets its nearest bisectors first.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct polyhedron;
struct VoronoiHandlingOptions;

// Sites that would make no cell of their own go out of the list (freed): a
// site closer than `distance` to an earlier one, whose cell would be a
// sliver narrower than the merge distance, and a site too far from the unit
// sphere to have a tangent plane. Returns the number removed.
int32_t MergeCoincidentVoronoiSites(HALFSPACE* sites, double distance);
// Builds the corners of every cell, chooses the solid's vertices among them
// (AddVoronoiVertexCentres), then writes every cell. The collect mode is reached by no caller and is not
// part of this build: collectFlag and collectList are not read.
void make_poly_from_voronoi_sites(polyhedron* poly, uint8_t collectFlag, const VoronoiHandlingOptions* options,
                                  HALFSPACE* sites, HALFSPACE* collectList);
// The cell of one site (unless it is done already), built first with a
// tolerance for rounding only, then while it has fewer than three corners
// with the options' plane tolerance, growing five times per build, at most
// eight such builds; then written into the polyhedron. A cell that never
// closes adds nothing and leaves kPolyErrorBadFace in the polyhedron.
void process_one_vsite(HALFSPACE* site, int32_t ordinal, polyhedron* poly, uint8_t collectFlag,
                       const VoronoiHandlingOptions* options, HALFSPACE* sites, HALFSPACE* collectList);
