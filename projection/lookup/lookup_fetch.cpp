#include "projection/lookup/lookup_fetch.h"

#include <cmath>

#include "projection/lookup/lookup_cache.h"
#include "projection/lookup/lookup_fold.h"
#include "projection/lookup/lookup_readers.h"

namespace {

bool Finite(fcomplex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

// Grid coordinates of a unit point, each product rounded to float.
float GridX(fcomplex z, const LookupGrid& g) { return static_cast<float>(z.re * g.lastIndex); }
float GridY(fcomplex z, const LookupGrid& g) { return static_cast<float>(z.im * g.lastIndex); }

fcomplex SimplicialFrom(const LookupGrid* grid, fcomplex z) {
  if (grid == nullptr || !Finite(z)) return {0.0, 0.0};
  float a, b;
  get_simplicial_cache_values(GridX(z, *grid), GridY(z, *grid), *grid, &a, &b);
  return {a, b};
}

fcomplex Simplicial(int32_t cacheId, fcomplex z) { return SimplicialFrom(ResidentLookupGrid(cacheId), z); }

}  // namespace

fcomplex FetchFromCache_general_simplex(fcomplex z, int32_t cacheId, int32_t n, int32_t shape, const float* table,
                                        int32_t tableFloats, int32_t form) {
  return SimplicialFrom(ResidentLookupGridFor(cacheId, n, shape, table, tableFloats, form), z);
}

fcomplex FetchFromCache_Peirce(fcomplex z) {
  const LookupGrid* grid = ResidentLookupGrid(LookupCache_Peirce);
  if (grid == nullptr || !Finite(z)) return {0.0, 0.0};
  float a, b;
  get_ramped_cache_values(GridX(z, *grid), GridY(z, *grid), *grid, &a, &b);
  return {a, b};
}

fcomplex FetchFromCache_decant(fcomplex z) { return Simplicial(LookupCache_Decant, z); }
fcomplex FetchFromCache_sextant(fcomplex z) { return Simplicial(LookupCache_Sextant, z); }
fcomplex FetchFromCache_dodecant(fcomplex z) { return Simplicial(LookupCache_Dodecant, z); }
fcomplex FetchFromCache_nuoctant(fcomplex z) { return Simplicial(LookupCache_NuOctant, z); }
fcomplex FetchFromCache_tetfacesextant(fcomplex z) { return Simplicial(LookupCache_TetfaceSextant, z); }
fcomplex FetchFromCache_octaface(fcomplex z) { return Simplicial(LookupCache_Octaface, z); }
fcomplex FetchFromCache_ConformalDodecDecant(fcomplex z) { return Simplicial(LookupCache_ConformalDodecDecant, z); }
fcomplex FetchFromCache_ReuleauxSextantToOctoface(fcomplex z) {
  return Simplicial(LookupCache_ReuleauxSextantToOctoface, z);
}
fcomplex FetchFromCache_ReuleauxSextantToCircle(fcomplex z) {
  return Simplicial(LookupCache_ReuleauxSextantToCircle, z);
}
fcomplex FetchFromCache_Winkel(fcomplex z) { return Simplicial(LookupCache_Winkel, z); }

triplex FetchFromCache_Equalsquarea(fcomplex z) {
  const LookupGrid* grid = ResidentLookupGrid(LookupCache_Equalsquarea);
  if (grid == nullptr || !Finite(z)) return {0.0, 0.0, 0.0};
  float a, b, c;
  get_three_simplicial_cache_values(GridX(z, *grid), GridY(z, *grid), *grid, &a, &b, &c);
  return {a, b, c};
}

fcomplex FetchFromCache_spherecube(fcomplex z, float point[3]) {
  const LookupGrid* grid = ResidentLookupGrid(LookupCache_SphereCube);
  if (grid == nullptr || !Finite(z)) {
    point[0] = 0.0f;
    point[1] = 0.0f;
    point[2] = 1.0f;
    return {0.0, 0.0};
  }
  int32_t flags;
  fold_octants(&z, &flags);
  float a, b;
  get_ramped_cache_values(GridX(z, *grid), GridY(z, *grid), *grid, &a, &b);
  fcomplex xy = {a, b};
  unfold_octants(&xy, flags);
  const float x = static_cast<float>(xy.re), y = static_cast<float>(xy.im);
  const double zz = std::sqrt(std::fmax(0.0, 1.0 - double(x) * x - double(y) * y));
  point[0] = x;
  point[1] = y;
  point[2] = static_cast<float>(zz);
  // The table's points lie within the cube corner's 54.7 degrees of the
  // face centre, so zz is at least 0.577.
  return {-x / zz, -y / zz};
}
