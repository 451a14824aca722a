// The trackball and the angle dial as a second way to set the tumble: the
// ball's point gives the tilt and the turn, the dial's angle the spin. They
// write into the sliders' fields, so that everything downstream (reading
// the controls, undo, the preview) is the sliders' own path.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct triplex;

// Degrees of tilt (up positive) and turn for a point of the front hemisphere.
void TumbleFromBallPoint(const triplex& point, double* tilt, double* turn);
triplex BallPointFromTumble(double tilt, double turn);

// Moves the views to the settings' tumble (TParameters.twirlX, twirlY and
// twirlSpin).
void ShowTumbleInViews(void* window, float tilt, float turn, float spin);
// After a view's command: its values go into the sliders; answers the
// slider item that stands for the change (37 tilt, 39 spin), 0 for none.
int16_t TakeTumbleFromView(void* window, FourCC command);
