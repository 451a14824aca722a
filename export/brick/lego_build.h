// export/brick/: the brick sphere: its build, its march, LDraw models and statistics.
// Making the brick sphere: its record and cells, which cells exist and are
// seen, their colours, and the per-colour counts of the statistics page.
#pragma once

#include <cstdint>

#include "export/brick/lego_structure.h"

struct LegoSampling;
struct tumbletype;

// Cells across the ball: 1.2 per layer for bricks, 0.4 for plates (a plate
// is a third as tall), truncated.
int32_t LegoBallWidth(int32_t layers, int32_t plates);
// Sizes, flags, view frames and cleared cells; `cells` stays null when the
// block cannot be had (or the size is absurd). Nothing for a null record.
void CreateLegoBall(LegoStructure* ball, Globals* globals, int32_t layers, int32_t plates, int32_t dither,
                    int32_t paletteMask);
// The cells from the main input seen through the tumble; nothing without
// cells.
void BuildLegoball(LegoStructure* ball, Globals* globals, const tumbletype* tumble);
// The same from a sampling record the caller filled.
void BuildLegoballFrom(LegoStructure* ball, LegoSampling* sampling);
// The tumble of the settings, as the renderer sets its own up.
void LegoTumbleFromSettings(const Globals* globals, tumbletype* tumble);
// The ball the settings describe (layers, plates, dither, palette), built
// from the main input under the settings' tumble; false when its cells
// cannot be had (nothing to destroy then).
bool CreateAndBuildLegoBallFromSettings(LegoStructure* ball, Globals* globals);
// Per colour code (codes above 12 as 12; 0 counts empty cells): all cells,
// and the visible ones.
void GenerateBrickStatistics(const LegoStructure* ball, Globals* globals);
void CountBrickKinds(const LegoStructure* ball, int32_t counts[kBrickColourCount + 1],
                     int32_t visible[kBrickColourCount + 1]);

bool Six_Surrounded(const LegoStructure* ball, int32_t x, int32_t y, int32_t z);
int32_t Calc_exposure(LegoStructure* ball, int32_t x, int32_t y, int32_t z);
int32_t ColorFromNearby(const LegoStructure* ball, int32_t x, int32_t y, int32_t z);
