// Face groups: the pieces of a solid that are coloured, suppressed, laid out
// or exported together, and the planning that a layered export of one layer
// per group runs first: for every group, the turn of the net that makes the
// group's box narrowest and where that box is centred.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct polyhedron;

// The group of a 3D face of a curved-element solid from the element tag its
// builder stored; 0 for every other solid.
int32_t FacegroupOf3DFace_weirdo(int32_t face, const polyhedron* poly);
// The group of a net face: 0 without a polyhedron, -1 for a negative index;
// an index past the last face answers for the last face.
int32_t FacegroupOf2DFace(int32_t face, const polyhedron* poly);
// 1 + the largest group over the 3D faces; 1 without faces.
int32_t NewCountFacegroupsInPoly(const polyhedron* poly);

// The largest 3D vertex index any 3D face uses; -1 without faces.
int32_t highest_3D_vertex(const polyhedron* poly);
// The largest 2D vertex index at a corner of a net face that shows a 3D
// face (tab and corner-mark vertices are never face corners); -1 without.
int32_t highest_2D_vertex_excluding_tabs(const polyhedron* poly);

// Called before each group with the groups done and their number; false
// stops the planning.
using PlanProgress = bool (*)(void* context, int32_t done, int32_t total);

struct CrammingPlan {
  float* centreX;  // groupCount entries each
  float* centreY;
  float* angle;
  float scale;  // 1 / the largest chosen width
  PlanProgress progress;  // may be null
  void* progressContext;
};

// Plans groups 0 .. groupCount - 1 on `poly` built as `outputMode` (net
// method 3, cram 1) and answers the height/width ratio of the layout, 0 when
// nothing had a width or the progress call stopped it. The solid is built
// once and each trial turn measured on it. Leaves the solid built for the
// last candidate of the last group, with unfoldingIndex = groupCount - 1.
double PlanCrammingForExportation_core(int32_t outputMode, int32_t groupCount, BufferProcs* procs, polyhedron* poly,
                                       float tabDepth, uint8_t fullDetail, CrammingPlan* plan);

// The planning of a layered export of the current output: fills the crammed
// centres, angles and scale of the invocation storage and answers the
// height/width ratio of the layout. A solid that names another shape to
// plan on is planned on that shape in a scratch record; when none can be
// had, nothing is planned and the answer is 0: a layout of no height, which
// the writer refuses.
double PlanCrammingForExportation(Globals* globals, int32_t outputMode, int32_t groupCount, BufferProcs* procs,
                                  polyhedron* poly);
