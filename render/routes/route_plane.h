// A route's plane point, held in registers. The compiler pairs a route's
// products on the two plane coordinates into single vector operations and,
// left to itself, builds the pair by storing both coordinates to the stack
// and loading them back as one: a load the processor cannot forward from the
// two stores, which stalls every point. Handed over in registers, the pair
// is built there. No value changes.
#pragma once

#include "projection/complex_math.h"

inline fcomplex PlaneInRegisters(fcomplex plane) {
  double x = plane.re, y = plane.im;
#if defined(__GNUC__) && defined(__SSE2__)
  __asm__("" : "+x"(x), "+x"(y));
#endif
  return fcomplex{x, y};
}
