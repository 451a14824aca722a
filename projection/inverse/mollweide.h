// The Mollweide auxiliary angle theta of a latitude phi, the root of
// 2·theta + sin(2·theta) = pi·sin(phi), from a 400-entry table over phi in
// [0, pi] interpolated linearly. The same lookup serves the Robinson
// inverse table.
#pragma once

constexpr int kMollweideTableSize = 400;

// Fills table[0..399] by capped Newton iteration. Pure; any buffer.
void BuildMollweideThetaTable(float table[kMollweideTableSize]);
// The process-wide table, built once while the library loads (thread-safe
// even if asked for earlier); the view hands this pointer to the input
// mapping and the Mollweide maps.
const float* MollweideThetaTable();

// Linear interpolation of a 400-entry table at position f >= 0 (index
// units); beyond the end it is the last entry, a NaN position the first.
float LookupTable400(const float* table, float f);

// Auxiliary angle of phi (radians, sign kept) from a built table.
float Molltheta(float phi, const float* table);
