// Which solid an output mode draws, how its net is made and fitted, how far
// the net is turned, and how much of that a caller may override. Every
// polyhedral output mode has one row here; everything that builds, plans or
// exports a solid asks this table first. Pure: no state, no allocation.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// How a caller's net method, cram mode and angle combine with the row's.
enum PolyOverrideRule : int32_t {
  PolyOverride_CallerChooses = 0,    // the caller's method, cram and angle replace the row's
  PolyOverride_RowStands = 1,        // the row's method, cram and angle stand
  PolyOverride_CallerMethodOnly = 2  // the caller's method and cram; its angle only with method 3
};

// The five 32-bit words of one mode. A mode that draws no solid has shape
// code -1 and zeros in the other words.
struct PolyhedronParams {
  int32_t shapeCode;     // entry of the shape catalogue, -1 none
  int32_t netMethod;     // 0..6
  int32_t cramMode;      // 0..2; the table always gives 0
  float angle;           // radians, counter-clockwise turn of the net before the fit
  int32_t overrideRule;  // a PolyOverrideRule
};
static_assert(sizeof(PolyhedronParams) == 5 * 4, "five 32-bit words");

void get_polyhedron_params_from_output_mode(int32_t outputMode, PolyhedronParams* params);

// The mode draws a solid, its net, or petals made of a net.
bool IsPolyhedron(int32_t outputMode);
// The mode's solid can be written as faces or a 3D model: flat sheets,
// tilings and florets cannot.
bool IsExportablePolyhedron(int32_t outputMode);
// Why the mode's solid cannot be exported, in words; null when it can.
const char* PolyhedronExportRefusal(int32_t outputMode);
// The net triangle is not drawn when only one face group is wanted. A
// triangle index outside the record has nothing to draw.
bool ShouldSuppressTriangle(const polyhedron* poly, int32_t triangle, int32_t facegroupFilter);
