// Truchet sites: on each face of the cube two arcs, each a third of a turn
// about one corner's diagonal from the midpoint of an edge across the face,
// traced on the sphere. Twelve pattern bits pick which corner each arc turns
// about. With an arc list in the options, every step of an arc is recorded
// as a segment between its two sites, so the dual's net can be cut along
// the arcs.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct PLANED;
struct VoronoiHandlingOptions;

// Two arcs per face, `steps` + 1 sites each, the pattern from
// options->patternCode.
void Build_voronoi_sites_truchet(HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t steps);
// The arc about A (about B when reversed) from the midpoint of A and B.
// cornerC and facePlane are not read. A segment records sliceSeed for the
// arc's first step and sliceMark for its last.
void BuildTruchetArc(const double cornerA[3], const double cornerB[3], const double cornerC[3],
                     const PLANED* facePlane, HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t index,
                     int32_t steps, double sweepSign, uint8_t reversed);
