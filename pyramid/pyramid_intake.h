// Reading the host's image into the main colour pyramid, one level-0 tile at
// a time through advanceState, and which pyramid kind suits the host's image.
#pragma once

#include <cstdint>

struct Globals;
struct PyramidDescriptor;

// 9 for float images (modes 16, 17 or depth 32), 4 for 16-bit grey or RGB,
// 3 for everything else.
int32_t GetPyramidDatakindThatSuitsHostMode(const Globals* globals);

// Reads the whole image into Globals.pyramids[0] (allocated by the caller),
// gives it the edge modes of the input mode, builds its levels and marks the
// settings' pyramidsFilled. A host error ends the read at once: its code is
// left in Globals.result and moreToDo is cleared.
void FillPyramids(Globals* globals);

// Copies the host's current inData, which holds the tile's rectangle, into
// tile `tileIndex`. Copies nothing when the pyramid's kind does not suit the
// host's image or the host's buffer is smaller than the tile.
void CopyInRectToTile(PyramidDescriptor* pyramid, const Globals* globals, int32_t tileIndex);

// The pyramid whose level-0 size is the output's: the export canvas while an
// export layer renders, else the main colour pyramid.
PyramidDescriptor* GetPyr_with_output_dimensions(Globals* globals);
