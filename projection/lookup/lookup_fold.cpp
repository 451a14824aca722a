#include "projection/lookup/lookup_fold.h"

void fold_octants(fcomplex* z, int32_t* flags) {
  int32_t f = 0;
  if (z->re < 0.0) {
    z->re = -z->re;
    f |= 1;
  }
  if (z->im < 0.0) {
    z->im = -z->im;
    f |= 2;
  }
  if (z->im > z->re) {
    const double t = z->re;
    z->re = z->im;
    z->im = t;
    f |= 4;
  }
  *flags = f;
}

void unfold_octants(fcomplex* z, int32_t flags) {
  if (flags & 4) {
    const double t = z->re;
    z->re = z->im;
    z->im = t;
  }
  if (flags & 2) z->im = -z->im;
  if (flags & 1) z->re = -z->re;
}
