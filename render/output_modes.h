// render/: the output renderer: the mode table, the view build, and rows, routes, overlays and output in folders.
// The output modes without a polyhedron: one row per mode with the route
// that carries a point of the mode's plane to the sphere, the plane box that
// framing fits into the output, and flags. The view looks its row up once
// per pass; a mode without a route is refused when the view is built.
//
// Every route has one shape: the plane point and the view in, the sphere
// point, the outside flag and the route's marks out. The route sets *outside
// to 1 first and clears it only when it writes the sphere point; it writes
// into the marks only what it has to say about the point's region (most
// routes say nothing and leave the parameter unnamed). The plane point is the
// output point carried through the view's framing record (UF_to_snuggle):
// the box is centred in the output, so a route reads its plane in the box's
// own coordinates, whether or not that box is centred on the origin.
//
// A new route is one function (in its family's file) and one row here.
#pragma once

#include <cstdint>
#include <span>

#include "projection/complex_math.h"

struct vort;

// What a route knows about a point's region that the steps after the route
// cannot work out from the sphere point. The caller starts every point from
// these values.
struct RouteMarks {
  // A region code imposed on a mapped point, so that each part of a sheet of
  // several views is a region of its own (its pixels are not blended across
  // the seam); -1 for none.
  int32_t forcedRegion = -1;
  // A region the route painted itself (a glue strip, -9, keeps its code
  // through the steps after the route); -5, nothing, unless it did.
  int32_t regionCode = -5;
  // The cell of a multi-view sheet under the point; -1 elsewhere.
  int32_t sheetCell = -1;
  // 1 on a glue strip of the folding sphere, which the material effect
  // lightens; -1 elsewhere.
  int32_t glueMark = -1;
  // An outside point painted with the first colour instead of left
  // transparent (the folding sphere's margin).
  uint8_t tabHit = 0;
};

using OutputRoute = void (*)(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks* marks);
// Builds, on the main thread before a row's tasks start, any lookup table
// the route fills lazily, so that the tasks only read it.
using OutputPrefill = void (*)(const vort& view);

enum OutputMode : int32_t {
  OutputMode_Equirectangular = 1,
  OutputMode_MirrorBall = 2,
  OutputMode_Polar = 3,
  OutputMode_HalfPolar = 4,
  OutputMode_Orthographic = 5,
  OutputMode_Hammer = 11,
  OutputMode_Werner = 12,
  OutputMode_Sinusoidal = 13,
  OutputMode_Cylindrical = 17,
  OutputMode_WinkelTripel = 35,
  OutputMode_TwoCircles = 40,
  OutputMode_Mollweide = 46,
  OutputMode_Magnipolar = 50,
  OutputMode_Annulus = 59,
  OutputMode_Gilbert = 134,
  OutputMode_QuickGlobe = 139,
  OutputMode_GilbertGlobe = 143,
  OutputMode_ZenithNadir = 171,
  OutputMode_FoldingSphere = 288,
  OutputMode_Gores18 = 1044,
};

enum OutputModeFlags : uint32_t {
  OutputModeFlag_None = 0,
  // The route's sphere point is also the surface normal of the point.
  OutputModeFlag_NormalIsPoint = 1u << 0,
  // One of the gore layouts: framing sets the gore count and shape factor.
  OutputModeFlag_Gores = 1u << 1,
  // A sheet of one view per face of a solid: framing sizes the grid.
  OutputModeFlag_MultiView = 1u << 2,
};

struct PlaneBox {
  double xMin, yMin, xMax, yMax;
};

struct OutputModeRow {
  int32_t mode;
  const char* name;
  OutputRoute route;  // never null in the table; the view build refuses a mode without one
  PlaneBox box;       // the plane region the output shows
  uint32_t flags;
  OutputPrefill prefill;  // null: the route reads no lazily built table
};

// The box of every mode that has no row, and of rows that keep the default.
constexpr PlaneBox kDefaultPlaneBox = {-0.5, -0.5, 0.5, 0.5};

// Rows in increasing mode order.
std::span<const OutputModeRow> OutputModeTable();
// The row of a mode, or null when the table has none.
const OutputModeRow* FindOutputMode(int32_t mode);
