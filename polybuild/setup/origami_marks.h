// Fold marks for origami sheets: a small right-angled triangle in each
// corner of the net's bounding box, drawn like a glue tab.
#pragma once

#include "polyhedron/polyhedron_record.h"

// Appends the four corner marks, each with three fresh 2D vertices at the
// high-water mark and one tab triangle that belongs to no face. Its legs are
// a sixteenth of the shorter side of the box. A mark that would pass the 2D
// vertex limit is skipped (error 4); one that finds no triangle slot keeps
// its vertices without a triangle (error 7).
void AddOrigamiTabs(polyhedron* poly);
