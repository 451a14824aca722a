// The brick sphere as an LDraw model, one part line per filled cell, layer
// by layer with a building step between layers, lines ended CR LF.
#pragma once

#include <cstdint>
#include <string>

#include "export/brick/lego_structure.h"

struct FSRef;

// Builds a ball of its own from the settings and writes it. 0, the file's
// failure, or 1 when the cells could not be had (nothing is written then).
int32_t WriteLDRAWFile(Globals* globals, const FSRef* file);
// The whole model text of a built ball; empty without cells.
std::string LDrawText(LegoStructure* ball);
// One layer (ball->currentLayer, 1-based): its step and layer lines and its
// part lines. 99 without cells.
int32_t GenerateOneLayerOfLDRAW(LegoStructure* ball, std::string* out);
// 0 for an empty cell, else 1 and the cell's part line.
int32_t DrawLDRAWCell(const LegoStructure* ball, int32_t x, int32_t y, int32_t z, std::string* out);
