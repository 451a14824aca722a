#include "polybuild/voronoi/voronoi_merge.h"

#include <algorithm>
#include <vector>

#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"

int32_t AddVoronoiVertexCentres(HALFSPACE* const* cornerLists, int32_t listCount, polyhedron* poly, double distance) {
  if (!poly) return 0;
  std::vector<const double*> points;
  for (int32_t l = 0; l < listCount; ++l)
    if (cornerLists[l])
      for (HALFSPACE* k = GetFirstElement(cornerLists[l]); !k->isHead; k = k->next) points.push_back(k->point);
  std::sort(points.begin(), points.end(),
            [](const double* a, const double* b) { return std::lexicographical_compare(a, a + 3, b, b + 3); });
  const int32_t before = poly->n3DVerts;
  for (const double* p : points) {
    uint8_t made = 0;
    if (AddNew3DDVertToPolyhedron_tol(poly, p, distance, &made) < 0) break;  // the store is full
  }
  return poly->n3DVerts - before;
}
