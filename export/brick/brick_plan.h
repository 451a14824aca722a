// The building plan of the brick sphere, one image per layer: the layer's
// grid of cells in their brick colours, for the layered plan export.
#pragma once

#include <cstdint>

#include "export/brick/lego_structure.h"

struct PSDdoc;
struct PyramidDescriptor;

// Draws plan layer `layer` (1-based) into level 0 of the canvas. Layer 1
// builds the ball from the settings into `ball`, the export's own record;
// after the last layer the statistics are counted and the cells freed. A
// cancel seen here sets `cancelled`.
void GenerateOneLayerOfLego(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled,
                            LegoStructure* ball);
// The same, as the layered export calls its layer renderers: the ball is
// the document's own.
void GenerateOneLayerOfLegoForDocument(Globals* globals, PyramidDescriptor* canvas, int32_t layer,
                                       uint8_t* cancelled, PSDdoc* doc);
// One cell: a 10 x 10 square at (9x, 9y) sharing its border with its
// neighbours. Without drawContents it is drawn empty; with it, an empty cell
// draws nothing.
void DrawLegoCell(const LegoStructure* ball, PyramidDescriptor* canvas, int32_t x, int32_t y, int32_t z,
                  bool drawContents);
// Side of a plan image in pixels for a ball of this width.
inline int32_t LegoPlanSide(int32_t width) { return 9 * width + 1; }
