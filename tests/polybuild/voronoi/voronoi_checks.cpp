#include "voronoi_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unistd.h>

#include "polybuild/voronoi/voronoi_build.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polyhedron/halfspace.h"

std::vector<Vec3> ListPoints(HALFSPACE* list) {
  std::vector<Vec3> out;
  for (HALFSPACE* s = GetFirstElement(list); !s->isHead; s = s->next) out.push_back({s->point[0], s->point[1], s->point[2]});
  return out;
}

std::vector<Vec3> EffectiveSites(int32_t shapeCode) {
  List sites;
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  build_voronoi_pointset(&sites.head, &o, shapeCode, 1);
  MergeCoincidentVoronoiSites(&sites.head, o.mergeDistance);
  return ListPoints(&sites.head);
}

std::vector<Vec3> HullFacetNormals(const std::vector<Vec3>& points) {
  char in[] = "/tmp/voronoi_sitesXXXXXX";
  const int fd = mkstemp(in);
  if (fd < 0) return {};
  FILE* f = fdopen(fd, "w");
  std::fprintf(f, "3\n%zu\n", points.size());
  for (const Vec3& p : points) std::fprintf(f, "%.17g %.17g %.17g\n", p.x, p.y, p.z);
  std::fclose(f);
  const std::string cmd = std::string("qconvex n < ") + in + " 2>/dev/null";
  FILE* q = popen(cmd.c_str(), "r");
  std::vector<Vec3> normals;
  if (q) {
    int dim = 0, n = 0;
    if (std::fscanf(q, "%d %d", &dim, &n) == 2 && dim == 4) {
      for (int i = 0; i < n; ++i) {
        double x, y, z, off;
        if (std::fscanf(q, "%lf %lf %lf %lf", &x, &y, &z, &off) != 4) break;
        normals.push_back(Unit({x, y, z}));
      }
    }
    pclose(q);
  }
  unlink(in);
  return normals;
}

testing::AssertionResult SolidIsClosed(const polyhedron* poly) {
  if (poly->n3DFaces < 4) return testing::AssertionFailure() << "only " << poly->n3DFaces << " faces";
  int64_t corners = 0;
  std::set<std::tuple<int32_t, int32_t, int32_t>> seen;
  std::set<int32_t> used;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    corners += face.n3D;
    for (int32_t e = 0; e < face.n3D; ++e) {
      used.insert(face.vert3D[e]);
      if (face.nbrFace3D[e] < 0)
        return testing::AssertionFailure() << "face " << f << " edge " << e << " has no neighbour";
    }
    if (face.n3D == 3) {
      int32_t v[3] = {face.vert3D[0], face.vert3D[1], face.vert3D[2]};
      std::sort(v, v + 3);
      if (!seen.insert({v[0], v[1], v[2]}).second) return testing::AssertionFailure() << "face " << f << " repeated";
    }
  }
  const int64_t V = int64_t(used.size()), E = corners / 2, F = poly->n3DFaces;
  if (corners % 2 || V - E + F != 2)
    return testing::AssertionFailure() << "V " << V << " E " << E << " F " << F << ": V - E + F = " << V - E + F;
  return testing::AssertionSuccess();
}

int32_t CellCount(const polyhedron* poly) {
  std::set<std::tuple<double, double, double>> points;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const double* p = poly->faces[f].point;
    points.insert({p[0], p[1], p[2]});
  }
  return int32_t(points.size());
}
