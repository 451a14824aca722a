// The site sets of the Voronoi shapes: unit vectors laid along spirals,
// seams, gores and Truchet arcs on a cube, some then moved by conformal maps
// of the sphere. Each set also adjusts the build options. Every site is
// appended only when no site of the list lies closer than the merge distance
// in force at that moment.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct VoronoiHandlingOptions;

// Fills `sites` for shape codes 151-160 and 181-200; other codes add nothing.
// fullDetail is not read.
void build_voronoi_pointset(HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t shapeCode, uint8_t fullDetail);

// Appends the point with the index unless a site lies closer than the
// options' merge distance; returns the new node, or the first site that is
// that close, or null when memory runs out.
HALFSPACE* AddVoronoiSite(HALFSPACE* sites, const VoronoiHandlingOptions* options, const double point[3],
                          int32_t index);

// Three (Q) twisted gores from pole to pole: a pole site, then rows 1..R-2
// of Q sites each, eased by `easing`, turned `twist` times from pole to pole
// and moved by the disk automorphism `disk`; rows up to skipRows are left out.
void crap_Build_voronoi_sites_globegores(HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t rows,
                                         int32_t columns, double twist, double disk, double easing, int32_t skipRows);
// A line of sites along each cube face's midline out to its edges.
void Build_voronoi_sites_curvycube(HALFSPACE* sites, VoronoiHandlingOptions* options);
// Two seams: meridians 0 and 0.5 down from one pole, 0.25 and 0.75 up from
// the other, each three quarters of the way.
void Build_voronoi_sites_baseball(HALFSPACE* sites, VoronoiHandlingOptions* options);
// Turns (z, y) by 45 degrees, then (x, y) by 35 degrees.
void ExtraTumbleForZigzagD(double point[3]);
