// Florets whose petals are the net of a polyhedron: the net is fitted into
// the unit square about the origin (a crammed fit) and read at the petal's
// plane point, instead of being laid into the output rectangle itself.
#pragma once

#include <cstdint>

struct renderhinttype;
struct vort;

// True when the view's solid is a petal net that only the floret reads.
bool IsCrammedFloretView(const vort& view);

// Petal set-up and framing of a crammed floret view: the floret's basis and
// its canvas box fitted into the output. False when the output mode is not a
// floret on a polyhedron (nothing could read such a net); the view is then
// left unframed.
bool SetUpCrammedFloretView(vort* view);

// The output point (u, v) of a crammed floret view to the sphere through its
// petals and the petal net. Sets *outside off the petals or off the net; on
// a face hit the hint holds the triangle as the plain net search leaves it.
void CrammedFloretPoint(float u, float v, const vort& view, float point[3], uint8_t* outside, renderhinttype* hint);
