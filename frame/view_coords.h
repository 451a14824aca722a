// Conversions between output pixels and the unit and centred coordinates of
// a view.
#pragma once

#include <cstdint>

struct Globals;
struct PyramidDescriptor;
struct vort;

// Fills the view's output and image sizes: the output is the export canvas in
// export-layer renders, else the saved filter rectangle, as is the image.
void GetInputOutputProportions(const Globals* globals, vort* view);

// Output pixel (x, y) at zoom-out `zoom` and pan (offH, offV) to the plane:
// x across the width 0..1, y scaled by the output's aspect.
void Output_Pixels_to_Something(float x, float y, float zoom, float offH, float offV, float* outX, float* outY,
                                 const vort* view);

// Unit coordinates (u, v) of the corner after pixel (x, y) in the picture of
// `size`'s level-0 size, and its centred coordinates (cx, cy): (u, v) less
// the view's unit offsets (none without a view) less 0.5, times the
// picture's aspect.
void PixelsToCorners(float x, float y, float zoom, float offH, float offV, const PyramidDescriptor* size, float* u,
                     float* v, float* cx, float* cy, const vort* view);
// The same for the centre of pixel (x, y).
void PixelsToCenters(float x, float y, float zoom, float offH, float offV, const PyramidDescriptor* size, float* u,
                     float* v, float* cx, float* cy, const vort* view);
