#include "polybuild/voronoi/voronoi_build.h"

#include <cmath>
#include <new>
#include <vector>

#include "polybuild/voronoi/voronoi_cell.h"
#include "polybuild/voronoi/voronoi_faces.h"
#include "polybuild/voronoi/voronoi_merge.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_spots.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/planes.h"
#include "projection/scalar_math.h"

namespace {

constexpr int32_t kCellBuilds = 8;
constexpr double kToleranceGrowth = 5.0;
// Far above the rounding of a plane test on the sites' scale, far below any
// cut that matters.
constexpr double kRoundingTolerance = 1e-11;
constexpr double kSameVertexDistance = 1e-9;
// Sites are unit vectors, or nearly so after the conformal moves.
constexpr double kMinSiteLength = 0.5;

double Length(const double p[3]) { return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]); }

int32_t HintCount(const HALFSPACE* site) {
  int32_t n = 0;
  for (const HALFSPACE* h : site->hints) n += h != nullptr;
  return n;
}

}  // namespace

int32_t MergeCoincidentVoronoiSites(HALFSPACE* sites, double distance) {
  if (!sites) return 0;
  int32_t removed = 0;
  HALFSPACE* s = GetFirstElement(sites);
  while (!s->isHead) {
    HALFSPACE* next = s->next;
    bool drop = !(Length(s->point) >= kMinSiteLength);
    for (HALFSPACE* e = GetFirstElement(sites); !drop && e != s; e = e->next) {
      const double d[3] = {s->point[0] - e->point[0], s->point[1] - e->point[1], s->point[2] - e->point[2]};
      drop = Length(d) < distance;
    }
    if (drop) {
      DeleteNodeInList(s);
      ++removed;
    }
    s = next;
  }
  return removed;
}

namespace {

// The corners of one cell, pulled as the options say, into `corners`; its
// neighbours learn it as a hint and it is marked done. False, with no
// corners, when no cell closes round the site.
bool BuildCellCorners(HALFSPACE* site, int32_t ordinal, const VoronoiHandlingOptions* options, HALFSPACE* sites,
                      HALFSPACE* corners) {
  if (options->siteIndexMode == kSiteIndexOrdinal) site->index = ordinal;
  if (site->siteDone) return true;
  // First a build that only forgives rounding. With the options' tolerance a
  // corner cut off by less than it survives, and the cell keeps a point that
  // is no vertex of the diagram. Its corners merge only when they are one
  // vertex, so that every cell keeps every diagram vertex it has; close
  // vertices are merged across all cells at once afterwards. A cell that will
  // not close so falls back on the options' tolerance and its growth.
  Build_one_vface_using_tangent_planes(site, sites, corners, kRoundingTolerance, kSameVertexDistance);
  double tolerance = options->planeTolerance;
  for (int32_t build = 0; build < kCellBuilds && GetElementCount(corners) < 3; ++build) {
    DisposeListExceptForHead(corners);
    Build_one_vface_using_tangent_planes(site, sites, corners, tolerance, options->mergeDistance);
    tolerance *= kToleranceGrowth;
  }
  const bool closed = GetElementCount(corners) >= 3;
  if (!closed) DisposeListExceptForHead(corners);
  if (options->pullToSphere > 0) {
    for (HALFSPACE* k = GetFirstElement(corners); !k->isHead; k = k->next) {
      double u[3] = {k->point[0], k->point[1], k->point[2]};
      NormalizeVectorSlowlyD(u);
      for (int i = 0; i < 3; ++i) k->point[i] += (u[i] - k->point[i]) * options->pullToSphere;
    }
  }
  // The hints decide which cell is built next, so they are given now, not
  // when the cell is written.
  if (closed) AddHintsToNeighbors(site, corners);
  DumpOneGSpot(site->point, site->index);
  site->siteDone = 1;
  return closed;
}

struct CellCorners {
  HALFSPACE* site;
  HALFSPACE* corners;  // a heap head
};

}  // namespace

void process_one_vsite(HALFSPACE* site, int32_t ordinal, polyhedron* poly, uint8_t, const VoronoiHandlingOptions* options,
                       HALFSPACE* sites, HALFSPACE*) {
  if (!site || !options || !sites) return;
  HALFSPACE corners{};
  InitEmptyList(&corners);
  const bool wasDone = site->siteDone;
  // No cell closes round this site: the solid would have a hole where the
  // site is. The build goes on; the shape is refused.
  if (!BuildCellCorners(site, ordinal, options, sites, &corners) && poly) poly->errorCode = kPolyErrorBadFace;
  if (!wasDone) DumpPointListIntoPolyhedron(&corners, site, poly, options);
  DisposeListExceptForHead(&corners);
}

void make_poly_from_voronoi_sites(polyhedron* poly, uint8_t, const VoronoiHandlingOptions* options, HALFSPACE* sites,
                                  HALFSPACE*) {
  if (!poly || !options || !sites) return;
  sites = sites->head;
  MergeCoincidentVoronoiSites(sites, options->mergeDistance);
  for (HALFSPACE* s = GetFirstElement(sites); !s->isHead; s = s->next) {
    s->hints[0] = s->hints[1] = s->hints[2] = nullptr;
    s->siteDone = 0;
    BuildPlaneFromPointAndDirection(s->point, s->point, &s->plane);
  }
  RestoreAllSecondaryLinks(sites);
  std::vector<CellCorners> cells;
  cells.reserve(size_t(GetElementCount(sites)));
  for (int32_t ordinal = 1;; ++ordinal) {
    HALFSPACE* pick = nullptr;
    int32_t most = -1;
    for (HALFSPACE* s = GetFirstElement(sites); !s->isHead; s = s->next) {
      if (s->siteDone) continue;
      const int32_t n = HintCount(s);
      if (n > most) {
        most = n;
        pick = s;
      }
    }
    if (!pick) break;
    HALFSPACE* corners = new (std::nothrow) HALFSPACE{};
    if (!corners) {
      pick->siteDone = 1;
      poly->errorCode = kPolyErrorBadFace;
      continue;
    }
    InitEmptyList(corners);
    if (!BuildCellCorners(pick, ordinal, options, sites, corners)) poly->errorCode = kPolyErrorBadFace;
    cells.push_back({pick, corners});
  }
  std::vector<HALFSPACE*> lists;
  for (const CellCorners& c : cells) lists.push_back(c.corners);
  AddVoronoiVertexCentres(lists.data(), int32_t(lists.size()), poly, options->mergeDistance);
  for (const CellCorners& c : cells) {
    DumpPointListIntoPolyhedron(c.corners, c.site, poly, options);
    DisposeListExceptForHead(c.corners);
    delete c.corners;
  }
}
