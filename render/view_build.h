// Building the per-view record at the first row of a pass, and the checks
// that refuse a pass the renderer cannot do before any row is drawn.
#pragma once

#include <cstdint>

struct Globals;
struct renderhinttype;
struct vort;

// Why a view could not be built.
enum ViewBuildStatus : int32_t {
  ViewBuild_OK = 0,
  ViewBuild_NoSettings = 1,      // no settings record
  ViewBuild_UnknownMode = 2,       // the number names no output mode
  ViewBuild_BadViewAngle = 3,      // the view angle is not a number in 0..360
  ViewBuild_BadImageMode = 4,      // the pixel output cannot store this image mode and depth
  ViewBuild_NoInput = 5,           // the main colour pyramid is not allocated
  // An output mode whose solid the catalogue cannot make yet (a net, a
  // sheet of views of a solid), petals on a net, or the brick sphere.
  ViewBuild_ModeNotBuiltYet = 6,
  // The polyhedron map stands for a mode (the settings' altOutputMode) that
  // draws no solid.
  ViewBuild_PolyMapNeedsSolid = 7,
  // An output mode whose shape is defined without a single face (the curved
  // icosahedron): there is nothing to draw, now or later.
  ViewBuild_SolidHasNoFaces = 8,
};

// Builds the primary view for the current pass from the settings, the
// host's rectangles and the invocation: the record is value-initialised
// first, so nothing of an earlier pass survives. Resets the hint records of
// every task record. Reports nothing itself.
ViewBuildStatus BuildPrimaryView(Globals* globals, vort* view);

// The message and explanation an alert shows for a status.
const char* ViewBuildStatusMessage(ViewBuildStatus status);

// True when the pixel output can store an image of this mode and depth:
// grey or RGB at 8 bits, 16-bit grey or RGB, and the float modes or any
// image at 32 bits.
bool PixelOutputSupports(int32_t imageMode, int32_t depth);

// Preview zoom and offsets, filter table and column records of the view.
void FillInTwirlyMinusOne(Globals* globals, vort* view);
// The 128 Tissot circle centres: an 18 x 9 lattice of the equirectangular
// square (every other column in the two rows next to the poles), then the
// two poles.
void FillInTissotSpots(vort* view);
// Resets a hint record for a search of the input polyhedron.
void FillInInputPolyHints(renderhinttype* hint);
