// Family questions about shape codes and output modes, asked here instead of
// comparing codes everywhere: rollouts, Voronoi solids, Truchet duals and the
// two variants of the curved origami shapes.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

bool ShapecodeIsARollout(int32_t shapeCode);
bool ShapecodeIsATruchetDual(int32_t shapeCode);
bool ShapecodeIsAVoronoi(int32_t shapeCode);
bool ShapecodeIsACurvedOrigamiStandard(int32_t shapeCode);
bool ShapecodeIsACurvedOrigamiMonofrag(int32_t shapeCode);
// Built by a generator rather than loaded from the static tables.
bool PolyhedronIsBuiltOnTheFly(int32_t shapeCode);

// The same families asked of an output mode, through the shape code the
// mode draws; a mode that draws no solid is in none of them.
bool OutputModeIsARollout(int32_t outputMode);
bool OutputModeIsAVoronoi(int32_t outputMode);
bool OutputModeIsATruchetDual(int32_t outputMode);

// At least two fragments, and the shape allows them to be re-attached.
bool FragmentationIsRevisable(const polyhedron* poly);

// The 12-bit Truchet pattern a Voronoi or Truchet-dual shape is built on
// (181-200 and 201-220 alike); 0 for every other code.
int32_t TruchetCodeFromShapecode(int32_t shapeCode);

// The single-fragment variant of a curved-origami output mode, or the mode
// itself.
int32_t MonofragVersion_of_projection(int32_t outputMode);
