#include "polybuild/voronoi/voronoi_sites.h"

#include <cmath>
#include <initializer_list>

#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_truchet.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_predicates.h"
#include "projection/complex_math.h"
#include "projection/planes.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr int32_t kTruchetSteps = 32;
constexpr int32_t kZigzagTruchetSteps = 15;
constexpr int32_t kZigzagTruchetPattern = 63;  // every arc reversed
constexpr int32_t kGorePoleIndex = -101;
// A turn about the y axis of 0.4 pi per unit of height.
constexpr double kTwistPerHeight = 0.5 * 2.5132741228718345;

void AddS(HALFSPACE* sites, const VoronoiHandlingOptions* o, double u, double v, int32_t index) {
  double p[3];
  RectangularToSphericalD(u, v, p);
  AddVoronoiSite(sites, o, p, index);
}

template <typename Move>
void MoveEverySite(HALFSPACE* sites, Move move) {
  for (HALFSPACE* s = GetFirstElement(sites); !s->isHead; s = s->next) move(s->point);
}

void Disk(double p[3], double shift) {
  NormalizeVectorSlowlyD(p);
  automorphicDisk_prettily_on_sphere(p, shift);
  NormalizeVectorSlowlyD(p);
}

// The spiral rinds: n sites from pole to pole, `turns` times round.
void Spiral(HALFSPACE* sites, const VoronoiHandlingOptions* o, int32_t n, double turns) {
  for (int32_t i = 0; i < n; ++i) {
    const double s = double(i) / (n - 1);
    AddS(sites, o, turns * s, s, i);
  }
}

void SpiralOptions(VoronoiHandlingOptions* o, uint8_t shave) {
  o->fanApexRule = kFanApexNearestYAxis;
  o->shaveSillyVerts = shave;
  o->spareFlag = 1;
  o->siteIndexMode = 1;
}

void TruchetSites(HALFSPACE* sites, VoronoiHandlingOptions* o, int32_t shapeCode) {
  o->shaveSillyVerts = 0;
  o->spareFlag = 0;
  if (shapeCode == 200) {
    o->patternCode = kZigzagTruchetPattern;
    o->mergeDistance = 0.0002;
    Build_voronoi_sites_truchet(sites, o, kZigzagTruchetSteps);
    MoveEverySite(sites, [](double p[3]) {
      ExtraTumbleForZigzagD(p);
      NormalizeVectorSlowlyD(p);
    });
    return;
  }
  o->patternCode = TruchetCodeFromShapecode(shapeCode);
  Build_voronoi_sites_truchet(sites, o, kTruchetSteps);
  switch (shapeCode) {
    case 182:
    case 183:
    case 186:
    case 188:
      MoveEverySite(sites, [](double p[3]) {
        ExtraTumbleForZigzagD(p);
        NormalizeVectorSlowlyD(p);
      });
      MoveEverySite(sites, [](double p[3]) { Disk(p, 0.3); });
      break;
    case 187:
      MoveEverySite(sites, [](double p[3]) { Disk(p, 0.35); });
      break;
    case 190:
      MoveEverySite(sites, [](double p[3]) {
        NormalizeVectorSlowlyD(p);
        LongitudeIt(p, p[1] * kTwistPerHeight);
        NormalizeVectorSlowlyD(p);
      });
      MoveEverySite(sites, [](double p[3]) { Disk(p, 0.35); });
      break;
    default:
      MoveEverySite(sites, [](double p[3]) { Disk(p, -0.25); });
      MoveEverySite(sites, [](double p[3]) {
        NormalizeVectorSlowlyD(p);
        parabolic_mobius_on_sphere(p, Complex(1, 0));
      });
      break;
  }
}

}  // namespace

HALFSPACE* AddVoronoiSite(HALFSPACE* sites, const VoronoiHandlingOptions* options, const double point[3],
                          int32_t index) {
  if (!sites || !options) return nullptr;
  sites = sites->head;
  for (HALFSPACE* s = GetFirstElement(sites); !s->isHead; s = s->next) {
    const double d[3] = {s->point[0] - point[0], s->point[1] - point[1], s->point[2] - point[2]};
    if (std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) < options->mergeDistance) return s;
  }
  return AddPointToList(point, sites->prev, index);
}

void ExtraTumbleForZigzagD(double point[3]) {
  const double a = M_PI / 4, b = 0.6108652381980154;
  const double z = point[2], y = point[1];
  point[2] = z * std::cos(a) - y * std::sin(a);
  point[1] = z * std::sin(a) + y * std::cos(a);
  const double x = point[0], y2 = point[1];
  point[0] = x * std::cos(b) - y2 * std::sin(b);
  point[1] = x * std::sin(b) + y2 * std::cos(b);
}

void crap_Build_voronoi_sites_globegores(HALFSPACE* sites, VoronoiHandlingOptions* options, int32_t rows,
                                         int32_t columns, double twist, double disk, double easing, int32_t skipRows) {
  options->shaveSillyVerts = 1;
  options->siteIndexMode = 1;
  AddS(sites, options, 0, 0, kGorePoleIndex);
  for (int32_t r = 1; r <= rows - 2; ++r) {
    for (int32_t k = 0; k < columns; ++k) {
      const float g = bias(float(r) / float(rows), float(easing));
      double p[3];
      RectangularToSphericalD(g * twist + double(k) / columns + 0.2, g, p);
      automorphicDisk_prettily_on_sphere(p, disk);
      if (r > skipRows) AddVoronoiSite(sites, options, p, 2 * k);
    }
  }
}

void Build_voronoi_sites_curvycube(HALFSPACE* sites, VoronoiHandlingOptions* options) {
  options->shaveSillyVerts = 0;
  options->spareFlag = 0;
  options->siteIndexMode = 1;
  struct Face {
    double c[3], m[3];
  };
  constexpr Face kFaces[6] = {{{1, 0, 0}, {0, 0, 1}},  {{0, 1, 0}, {1, 0, 0}},  {{0, 0, 1}, {0, 1, 0}},
                              {{-1, 0, 0}, {0, 0, 1}}, {{0, 0, -1}, {0, 1, 0}}, {{0, -1, 0}, {1, 0, 0}}};
  for (int32_t s = 0; s <= 19; ++s) {
    const double f = s / 19.0;
    for (int32_t k = 0; k < 6; ++k) {
      for (double sign : {1.0, -1.0}) {
        double p[3];
        for (int i = 0; i < 3; ++i) p[i] = kFaces[k].c[i] + sign * f * kFaces[k].m[i];
        NormalizeVectorSlowlyD(p);
        AddVoronoiSite(sites, options, p, 5 * k);
      }
    }
  }
}

void Build_voronoi_sites_baseball(HALFSPACE* sites, VoronoiHandlingOptions* options) {
  options->shaveSillyVerts = 1;
  options->siteIndexMode = 1;
  for (int32_t i = 0; i <= 39; ++i) {
    const double a = i / 39.0 * 0.75, b = 1 - a;
    AddS(sites, options, 0, a, 1);
    AddS(sites, options, 0.5, a, 1);
    AddS(sites, options, 0.25, b, 3);
    AddS(sites, options, 0.75, b, 3);
  }
}

void build_voronoi_pointset(HALFSPACE* sites, VoronoiHandlingOptions* o, int32_t shapeCode, uint8_t) {
  if (!sites || !o) return;
  switch (shapeCode) {
    case 151:
      SpiralOptions(o, 1);
      Spiral(sites, o, 140, 2);
      break;
    case 152: {
      o->pullToSphere = 1.0;
      SpiralOptions(o, 1);
      o->mergeDistance = 0.0002;
      for (int32_t i = 0; i <= 209; ++i) {
        const double s = bias(float(i) / 209.0f, 0.4f);
        AddS(sites, o, 3 * s, s, i);
      }
      MoveEverySite(sites, [](double p[3]) { Disk(p, -0.7); });
      break;
    }
    case 153:
      o->mergeDistance = 0.0002;
      o->planeTolerance = 0.00001;
      Build_voronoi_sites_curvycube(sites, o);
      break;
    case 154:
      o->shaveSillyVerts = 1;
      o->siteIndexMode = 1;
      Build_voronoi_sites_baseball(sites, o);
      break;
    case 155:
      SpiralOptions(o, 0);
      Spiral(sites, o, 98, 1.4);
      break;
    case 156:
      o->mergeDistance = 0.001;
      crap_Build_voronoi_sites_globegores(sites, o, 130, 3, -2, -0.95, 0.18, 5);
      break;
    case 157:
      o->mergeDistance = 0.001;
      crap_Build_voronoi_sites_globegores(sites, o, 80, 3, -0.2, 0, 0.5, 0);
      break;
    case 158:
      o->mergeDistance = 0.001;
      crap_Build_voronoi_sites_globegores(sites, o, 90, 3, -2, -0.8, 0.3, 0);
      break;
    case 159:
      o->mergeDistance = 0.002;
      o->planeTolerance = 0.0001;
      crap_Build_voronoi_sites_globegores(sites, o, 80, 3, -0.5, 0, 0.5, 0);
      break;
    case 160:
      crap_Build_voronoi_sites_globegores(sites, o, 80, 3, 0, 0, 0.5, 0);
      break;
    default:
      if (shapeCode >= 181 && shapeCode <= 200) TruchetSites(sites, o, shapeCode);
      break;
  }
}
