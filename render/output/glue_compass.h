#pragma once
// Compass glue modes: each result channel moves towards the unfiltered value
// of the same channel, weighted by another channel (of the result for north
// and south, of the unfiltered pixel for east and west). The weights are the
// channel values before the call. 8-bit channels 0..255; the xo_ twins take
// 16-bit channels 0..32768.

#include <cstdint>

void GlueNorth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void GlueSouth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void GlueEast(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void GlueWest(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);

void xo_GlueNorth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void xo_GlueSouth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void xo_GlueEast(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
void xo_GlueWest(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
