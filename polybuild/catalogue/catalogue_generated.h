// polybuild/catalogue/: the builders of the catalogue's generated and dual shapes.
// The generators of the catalogue's generated shapes: which builder makes a
// shape code's solid and with which arguments. The catalogue has already
// reset the record's options; the generator reserves the owned arrays and
// adds the faces, reporting failure through polyhedron.errorCode.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// Runs the generator of a generated shape code (the dual shapes 201-220
// excepted: the catalogue builds those itself). False for a code that has
// no generator of its own: the empty shape 78 and every code that is not
// generated. The catalogue calls it through kGeneratedShapeBuilders
// (polyhedron/catalogue_builders.h).
bool RunShapeGenerator(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t flag);

// The radius of the sphere a generated shape's builder puts its vertices on
// when that is not the unit sphere of every other solid (the rind balls, the
// thirty-sphere and the oddball); 1 for every other code.
double GeneratedSolidRadius(int32_t shapeCode);

// The arguments of a rollout code (102-149): the number of sides n and the
// variant words a, b and c. False for any other code.
struct RolloutArguments {
  int32_t n, a, b, c;
};
bool RolloutArgumentsOf(int32_t shapeCode, RolloutArguments* out);

// The frequency and the base shape code of a geodesic code (80-101). False
// for any other code.
bool GeodesicArgumentsOf(int32_t shapeCode, int32_t* frequency, int32_t* baseShape);
