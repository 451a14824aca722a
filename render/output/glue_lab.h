#pragma once
// A Lab-like colour space for glueing, reached by tetrahedral interpolation
// in two fixed 16 x 16 x 16 tables (glue_lab_tables.h). L* runs 0..255 from
// black to white; a* and b* run 0..255 with neutral at 128. The same tables
// serve both integer forms: flag 1 takes 8-bit channels 0..255 (node step
// 17), flag 0 takes 16-bit channels 0..32768 (node step 32768/15), whose
// results come out on the 16-bit scale (at most 255 x 2184 / 17 = 32760).

#include <cstdint>

// One interpolated lookup: three channels in, three out. Inputs outside
// 0..15 x step are taken at the nearest end of the table.
void tetrahedral_lookup(const int32_t input[3], int32_t output[3], const uint8_t* table, float step);

void RGB_to_LAB(int32_t red, int32_t green, int32_t blue, int32_t& L, int32_t& a, int32_t& b, int32_t flag);
void LAB_to_RGB(int32_t L, int32_t a, int32_t b, int32_t& red, int32_t& green, int32_t& blue, int32_t flag);

// Both pixels go to Lab, blend channel by channel, and the blend comes back
// as the new result (limited to the channel's full scale).
void GlueLabMultiply(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag);
void GlueLabScreen(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag);
void GlueLabPinLight(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag);
void GlueLabSpinLight(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag);
