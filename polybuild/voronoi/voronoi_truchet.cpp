#include "polybuild/voronoi/voronoi_truchet.h"

#include <cmath>

#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polyhedron/halfspace.h"
#include "projection/planes.h"
#include "projection/ray_geometry.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"

void BuildTruchetArc(const double cornerA[3], const double cornerB[3], const double*, const PLANED*,
                     HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t index, int32_t steps,
                     double sweepSign, uint8_t reversed) {
  if (!sites || !options || steps < 1) return;
  const double* P = reversed ? cornerB : cornerA;
  const double d = reversed ? -1.0 : 1.0;
  double axis[3] = {P[0], P[1], P[2]};
  NormalizeVectorSlowlyD(axis);
  double m[3];
  for (int i = 0; i < 3; ++i) m[i] = (cornerA[i] + cornerB[i]) * 0.5;
  NormalizeVectorSlowlyD(m);
  const double fromPivot[3] = {m[0] - P[0], m[1] - P[1], m[2] - P[2]};
  const double centre[3] = {0, 0, 0};
  HALFSPACE* previous = nullptr;
  for (int32_t i = 0; i <= steps; ++i) {
    const double angle = i * (d * sweepSign * 2 * M_PI / 3) / steps;
    double M[4][4];
    MatrixFromAxisAngleD(axis, angle, M);
    double q[3];
    MultiplyRowVectorBy3x3D(fromPivot, M, q);
    double dir[3] = {axis[0], axis[1], axis[2]};
    double ray[6];
    BuildRay(ray, q, dir);
    double nearHit[6], farHit[6];
    HALFSPACE* current = previous;
    if (IntersectRayWithQuadricSurface(ray, centre, 1.0, nearHit, farHit, kQuadricSphere)) {
      double p[3] = {farHit[0], farHit[1], farHit[2]};
      NormalizeVectorSlowlyD(p);
      current = AddVoronoiSite(sites, options, p, index);
    }
    if (options->arcList && previous && current && i >= 1) {
      HALFSPACE* segment = CreateNodeInListAfter(options->arcList->head);
      if (segment) {
        segment->parentA = previous;
        segment->parentB = current;
        segment->sliceSeed = i == 1;
        segment->sliceMark = i == steps;
      }
    }
    previous = current;
  }
}

void Build_voronoi_sites_truchet(HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t steps) {
  if (!sites || !options) return;
  constexpr double kCentres[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  constexpr double kSweep[6] = {-1, 1, -1, 1, -1, 1};
  const int32_t bits = options->patternCode;
  for (int32_t k = 0; k < 6; ++k) {
    const double x = kCentres[k][0], y = kCentres[k][1], z = kCentres[k][2];
    const double K1[3] = {x + y + z, x + y + z, x + y + z};
    const double K2[3] = {x + y - z, y + z - x, x + z - y};
    const double K3[3] = {x - y - z, y - z - x, z - x - y};
    const double K4[3] = {x + z - y, x + y - z, y + z - x};
    const uint8_t r1 = (bits >> k) & 1;
    const uint8_t r2 = r1 | ((bits >> (6 + k)) & 1);
    BuildTruchetArc(K1, K2, K3, nullptr, sites, options, 3 * k, steps, kSweep[k], r1);
    BuildTruchetArc(K3, K4, K1, nullptr, sites, options, 3 * k + 1, steps, kSweep[k], r2);
  }
}
