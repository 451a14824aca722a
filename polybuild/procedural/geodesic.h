// polybuild/procedural/: the solids built by procedure: geodesics, rinds, tattoos, rollouts, duals.
// Geodesic spheres (class I): a regular solid of the catalogue whose faces
// are fanned into triangles about their centres where they are not
// triangles already, then each triangle cut into frequency² smaller ones
// with every corner pushed out onto the unit sphere.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// Fills `poly` with the geodesic sphere of frequency `a` (below 1 counts as
// 1) on the base solid of shape code `b`, then runs the angle and link pass.
// Without memory for the scratch solids, or when the base cannot be built,
// the solid stays empty and errorCode tells why (a base that gives no
// faces: kPolyErrorShapeNotAvailable).
void BuildGeodesicNotTriangleFacedClass1(polyhedron* poly, BufferProcs* procs, int32_t a, int32_t b);

// Fans one face of `source` into triangles (corner k, corner k+1, centre),
// all on the unit sphere, added to `target`.
void tesselate_one_face_about_centroid(const polyhedron* source, polyhedron* target, int32_t face);
// Cuts the triangle on the first three corners of a face of `source` into
// frequency² triangles on the unit sphere, wound like the face, in `target`.
void geodesate_one_face(const polyhedron* source, polyhedron* target, int32_t frequency, int32_t face);
