// polybuild/setup/: building an output mode's solid and its net, its face groups and marks.
// The one way a polyhedron gets built: a shape code becomes a finished,
// renderable solid with its net turned, cut into triangles, tabbed and
// fitted into the target area, plus the per-vertex and per-triangle caches
// that the renderer and the model writers read. DarOzoPolySetup is the entry
// by output mode and skips the build when nothing it was asked for changed;
// SetUpReallyGeneralPolyhedron builds by shape code (base solids of other
// builders, the input solid). Errors are left in polyhedron.errorCode; a
// build always runs to its end.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "polybuild/setup/polyhedron_setup_reuse.h"
#include "polybuild/setup/polyhedron_setup_steps.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polyhedron/polyhedron_record.h"

// Builds shape `shapeCode` into a record that has been through InitPoly
// (target area and tab depth) and returns its net triangle count. Shape code
// -1 returns 0 and leaves the record untouched. `procs` (may be null) serves
// the shape catalogue and the scratch solid of borrowed tabs; fullDetail is
// 1 except for dialog previews and only reaches the shape generators.
int32_t SetUpReallyGeneralPolyhedron(polyhedron* poly, int32_t shapeCode, int16_t netMethod, int32_t cramMode,
                                     double netAngle, BufferProcs* procs, uint8_t fullDetail);

// Everything after the shape is loaded, for a record the catalogue (or a
// test) has filled: links, tabs, the turn by netAngle, render points,
// scissor planes, triangles, corner marks, the fit by cramMode, the up
// vector, centroids and the render caches. Returns the net triangle count.
int32_t FinishGeneralPolyhedron(polyhedron* poly, int16_t netMethod, int32_t cramMode, double netAngle,
                                BufferProcs* procs, uint8_t fullDetail);

// What a build of an output mode uses after its override rule: the caller's
// net method, cram mode and angle (rule 0), the row's (rule 1, and any rule
// the table does not know), or the caller's method and cram mode with the
// row's angle unless the caller lays out an export (method 3) (rule 2).
struct PolySetupChoice {
  int16_t netMethod;
  int32_t cramMode;
  float angle;
};
PolySetupChoice ChoosePolySetupInputs(const PolyhedronParams& row, int32_t netMethod, int32_t cramMode, float netAngle);

// Builds the solid of an output mode into `poly` unless the mode, aspect,
// tab depth, cram mode, angle, net method and full-detail flag all equal
// those of the last build (exact comparison; the buffer suite is not
// compared). A build starts from InitPoly(aspect, tabDepth) and records its
// seven inputs in polyhedron.setupCache.
void DarOzoPolySetup(int32_t outputMode, polyhedron* poly, float aspect, float tabDepth, int32_t cramMode,
                     float netAngle, int32_t netMethod, BufferProcs* procs, uint8_t fullDetail);
// The same, for a run of builds of one shape that differ only in the turn
// and the fit (the layers of a face-group export): a build whose other
// inputs equal the snapshot's starts from its copy of the linked net, and
// any other build unfolds and leaves its own copy in the snapshot (when
// memory allows). A null snapshot is DarOzoPolySetup. The caller frees the
// snapshot.
void DarOzoPolySetupReusing(PolyUnfoldingSnapshot* snapshot, int32_t outputMode, polyhedron* poly, float aspect,
                            float tabDepth, int32_t cramMode, float netAngle, int32_t netMethod, BufferProcs* procs,
                            uint8_t fullDetail);
