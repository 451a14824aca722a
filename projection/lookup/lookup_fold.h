// Folding a plane point into the octant 0 <= im <= re, and back, for the
// tables that store one eighth of a symmetric square.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

// Bit 1: re was negated; bit 2: im was negated; bit 4: re and im were
// exchanged (after the negations). Zero parts and re = im set no bit.
void fold_octants(fcomplex* z, int32_t* flags);
// Undoes the steps of the flags in reverse order.
void unfold_octants(fcomplex* z, int32_t flags);
