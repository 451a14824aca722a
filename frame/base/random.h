// The plug-in's random numbers: one generator, seeded from the clock at the
// prepare selector, or with a fixed seed by tests. Used on the main thread.
#pragma once

#include <cstdint>

void ReseedOSRandomNumbers();
void ZorSeedRandom(uint64_t seed);
// A uniformly drawn integer between a and b inclusive, in either order.
int32_t RandomRange(int32_t a, int32_t b);
