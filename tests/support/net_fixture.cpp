#include "support/net_fixture.h"

#include <map>

#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_triangles.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"

namespace {

struct CrossFace {
  int32_t x, y;  // lower-left corner of the unit square
};
constexpr CrossFace kCross[6] = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 0}};

}  // namespace

void CubePointOfCrossNet(int32_t face, double x, double y, double out[3]) {
  // Each face folds about its edge with the front face (or, for the back,
  // with the right face) onto its side of the cube.
  switch (face) {
    case 0:  // left, x = -0.5
      out[0] = -0.5, out[1] = y - 1.5, out[2] = x - 0.5;
      break;
    case 1:  // front, z = +0.5
      out[0] = x - 1.5, out[1] = y - 1.5, out[2] = 0.5;
      break;
    case 2:  // right, x = +0.5
      out[0] = 0.5, out[1] = y - 1.5, out[2] = 0.5 - (x - 2.0);
      break;
    case 3:  // back, z = -0.5
      out[0] = 0.5 - (x - 3.0), out[1] = y - 1.5, out[2] = -0.5;
      break;
    case 4:  // top, y = +0.5
      out[0] = x - 1.5, out[1] = 0.5, out[2] = 0.5 - (y - 2.0);
      break;
    default:  // bottom, y = -0.5
      out[0] = x - 1.5, out[1] = -0.5, out[2] = y - 0.5;
      break;
  }
}

void BuildLinkedNet(polyhedron* poly, const std::vector<std::pair<double, double>>& points,
                    const std::vector<std::vector<int32_t>>& faces) {
  BuildNet(poly, points, faces);
  for (size_t i = 0; i < points.size(); ++i) {
    poly->verts2D[i].x = float(points[i].first);
    poly->verts2D[i].y = float(points[i].second);
  }
  poly->n2DVerts = int32_t(points.size());
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    poly->faces[f].fragment = 1;
    poly->faces[f].face3D = f;
    poly->faces[f].cornerOffset = 0;
  }
  Build2DConnectivityCompletelyFromScratch(poly, poly->n2DFaces);
}

void BuildCubeCrossNet(polyhedron* poly) {
  std::map<std::pair<int32_t, int32_t>, int32_t> index;
  std::vector<std::pair<double, double>> points;
  std::vector<std::vector<int32_t>> faces;
  for (const CrossFace& c : kCross) {
    const std::pair<int32_t, int32_t> corners[4] = {{c.x, c.y}, {c.x + 1, c.y}, {c.x + 1, c.y + 1}, {c.x, c.y + 1}};
    std::vector<int32_t> face;
    for (const auto& corner : corners) {
      auto [it, fresh] = index.try_emplace(corner, int32_t(points.size()));
      if (fresh) points.push_back({double(corner.first), double(corner.second)});
      face.push_back(it->second);
    }
    faces.push_back(face);
  }
  BuildLinkedNet(poly, points, faces);
  for (int32_t f = 0; f < 6; ++f) {
    for (int32_t k = 0; k < 4; ++k) {
      const int32_t v = poly->faces[f].vert2D[k];
      double p[3];
      CubePointOfCrossNet(f, points[size_t(v)].first, points[size_t(v)].second, p);
      poly->verts2D[v].renderX = float(p[0]);
      poly->verts2D[v].renderY = float(p[1]);
      poly->verts2D[v].renderZ = float(p[2]);
    }
  }
}

void FanTriangulate(polyhedron* poly) {
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    for (int32_t k = 1; k + 1 < poly->faces[f].n2D; ++k) {
      MakeNetTriangle(poly->nTriangles, poly, f, 0, k, k + 1);
      barycentrics_precalc(poly->nTriangles, poly);
      ++poly->nTriangles;
    }
  }
}

std::vector<std::pair<int32_t, int32_t>> WalkOutline(const polyhedron* poly, int32_t face, int32_t edge,
                                                     int32_t limit) {
  std::vector<std::pair<int32_t, int32_t>> walk = {{face, edge}};
  int32_t f = face, e = edge;
  for (int32_t step = 0; step < limit; ++step) {
    NextAroundNet(poly, &f, &e);
    if (f == face && e == edge) break;
    walk.push_back({f, e});
  }
  return walk;
}

void MarkAlternateOutlineTabs(polyhedron* poly) {
  int32_t face = -1, edge = -1;
  while (FindANeighborless2DEdgeThatsUnconsidered(poly, &face, &edge)) {
    bool tab = true;
    for (const auto& [f, e] : WalkOutline(poly, face, edge)) {
      poly->faces[f].outlineVisited[e] = 1;
      poly->faces[f].tabEdge[e] = tab;
      tab = !tab;
    }
  }
}

double NetTriangleArea(const polyhedron* poly, int32_t triangle) {
  const NetTriangle& t = poly->triangles[triangle];
  const PolyVertex2D& a = poly->verts2D[t.vert2D[0]];
  const PolyVertex2D& b = poly->verts2D[t.vert2D[1]];
  const PolyVertex2D& c = poly->verts2D[t.vert2D[2]];
  return 0.5 * ((double(b.x) - a.x) * (double(c.y) - a.y) - (double(c.x) - a.x) * (double(b.y) - a.y));
}
