// The brick preview: four views of the brick sphere in a two-by-two
// arrangement, each point marched into the ball for the face it shows.
#pragma once

#include <cstdint>

struct Globals;
struct TParameters;
struct TransformationReply;
struct vort;

// Builds the brick sphere of the settings into the invocation's record (the
// one a previous pass left is freed first) and marks the view as the brick
// preview. False when the cell block could not be had: the preview then
// shows nothing rather than failing the pass.
bool SetUpBrickView(Globals* globals, const TParameters& p, vort* view);
// The region of the point (unit output coordinates in the reply): a brick
// colour times 6 plus the face, or -5 where no cell is hit.
void Route_BrickSphere(const vort& view, TransformationReply* reply);
