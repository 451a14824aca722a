// Framing of the output modes without a polyhedron: which rectangle of the
// mode's plane fills the output picture, plus the per-mode view fields that
// go with it (the grid of a multi-view sheet, the gore count and shape
// factor of the gore layouts).
#pragma once

#include <cstdint>

struct vort;

// Writes view->snuggle from the mode's box (output_modes.h) and the view's
// outputAspect, and the sheet and gore fields of the modes that have them.
// sheetViewCount: the number of views on a multi-view sheet (the 3D face
// count of the sheet's solid); a sheet with none has a grid of 0 x 0 and
// shows nothing. anamorphic: the settings' switch; viewAngle in degrees.
void PrepBoundingBoxForNonPolyhedron(int32_t sheetViewCount, vort* view, int32_t anamorphic, float viewAngle);

// Gore count of a gore layout at the given view angle (degrees).
float GoreCountOfMode(int32_t outputMode, float viewAngle);
