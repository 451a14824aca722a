#include "projection/inverse/conformal_warp.h"

#include "projection/lookup/lookup_cache.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/tables/lookup_tables.h"

namespace {

// re w -> *first, im w -> *second, and the remaining coordinate closes the
// sum to 1.
void WriteBack(fcomplex w, float* first, float* second, float* rest) {
  *first = static_cast<float>(w.re);
  *second = static_cast<float>(w.im);
  *rest = static_cast<float>(1.0 - w.re - w.im);
}

}  // namespace

void WarpBarysForConformalIcosahedron(float* b0, float* b1, float* b2) {
  const fcomplex w = FetchFromCache_general_simplex({*b2, *b0}, LookupCache_CompleteIcoface, 50,
                                                    LookupShape_Triangle, complete_icoface_freezedried,
                                                    kCompleteIcofaceFloats, LookupForm_PairToo);
  WriteBack(w, b2, b0, b1);
}

void WarpBarysForConformalOctahedron(float* b0, float* b1, float* b2) {
  WriteBack(FetchFromCache_octaface({*b2, *b0}), b2, b0, b1);
}

void WarpBarysForTetrahedron(float* b0, float* b1, float* b2) {
  WriteBack(FetchFromCache_tetfacesextant({*b2, *b0}), b2, b0, b1);
}

void WarpBarysForConformalDodecahedron(float* b0, float* b1, float* b2) {
  WriteBack(FetchFromCache_ConformalDodecDecant({*b1, *b2}), b2, b1, b0);
}

void WarpBarysForCube(float* b0, float* b1, float* b2) {
  float sphere[3];
  const fcomplex w = FetchFromCache_spherecube({1.0 - double(*b0), *b2}, sphere);
  *b0 = static_cast<float>(1.0 - w.re);
  *b2 = static_cast<float>(w.im);
  *b1 = static_cast<float>(1.0 - double(*b0) - double(*b2));
}

void TumbleSphereForConformalTetrahedron(float point[3]) {
  const float x = point[0], y = point[1], z = point[2];
  point[0] = -y;
  point[1] = -x;
  point[2] = -z;
}
