// Checks of the Reuleaux nets against the plug-in's own sphere maps, and the
// steps that settle a net's handedness and its place in its bounds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "projection/inverse/star_projections.h"
#include "reuleaux_nets.h"

namespace reuleaux {

// The sphere width of half a pixel on a 1024-pixel world map.
constexpr double kHalfPixel = 3.141592653589793 / 1024.0;

// A Reuleaux member of the plug-in: the sphere point of a sample, and
// whether it lies off the face.
using Member = std::function<void(const NetSectorSample*, float[3], uint8_t*)>;

struct Eval {
  double worstInGroup = 0, worstAcross = 0;
  int inside = 0, samples = 0, handed = 0;
};

struct Shape {
  std::string name;
  Member member;
  ReuleauxNet net;
  double box[4];  // xMin, xMax, yMin, yMax
};

[[noreturn]] void Fail(const std::string& what);

double Angle(const float a[3], const float b[3]);

// The tables are coarsest at the Reuleaux corners (their images stray by
// about 0.01); faces and poles are told apart by far more.
inline bool Near(const float a[3], const float b[3], double tolerance = 0.05) { return Angle(a, b) < tolerance; }

// The sphere image of barycentrics b in sector k as the renderer finds it:
// the sector's corners on the solid through the net's map, mirrored by
// flip B as every Reuleaux net is. False for a point off the face.
bool Image(const Member& member, const ReuleauxNet& net, const std::vector<Dir3>& solid, int32_t k, const double b[3],
           float out[3]);

// The worst angle between the images two sectors give at one point of an
// edge they share: along the whole edge inside a face; between faces only at
// their shared arc midpoint, the one point of the edge on both faces (the
// rest of it lies off both, where each face's map runs on past its own
// arcs). And which way round the sectors show the sphere, judged on points
// inside each: +1 or -1, 0 when they disagree.
Eval Evaluate(const Member& member, const ReuleauxNet& net, const std::vector<Dir3>& solid);

void Print(const char* what, const Eval& e);

// +1 when a net shows the sphere as the catalogue's icosahedron net does
// (turning the same way in the plane as its faces do on the solid seen from
// outside), -1 when mirrored.
int IcosahedronHandedness();

// Every point of the net that the map shows must lie in the box.
void CheckBox(const Shape& s, const std::vector<Dir3>& solid);

// Mirrors the net in the line through the origin along mirrorAxis when it
// shows the sphere the wrong way round.
void TurnTheRightWayRound(Shape* s, const std::vector<Dir3>& solid, int want, cplx mirrorAxis);

// The same, then checks the net against its map and its box.
void Settle(Shape* s, const std::vector<Dir3>& solid, int want, cplx mirrorAxis);

// Turns the net about the origin by the one of `turns` (as unit complex
// numbers) that puts the sky most nearly up in the picture, where net y
// runs down.
void TurnSkyUp(Shape* s, const std::vector<Dir3>& solid, const std::vector<cplx>& turns);

// Scales and moves the net so that what it shows (sampled finely) fills the
// box, centred.
void FitShownInto(Shape* s, const std::vector<Dir3>& solid);

}  // namespace reuleaux
