#include "poly_fixture.h"

#include <cmath>
#include <numbers>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"

void BuildSolid(polyhedron* poly, const std::vector<Point3>& points, const std::vector<std::vector<int32_t>>& faces) {
  std::vector<int32_t> index;
  for (const Point3& p : points) {
    const double q[3] = {p.x, p.y, p.z};
    index.push_back(AddNew3DDVertToPolyhedron(poly, q));
  }
  for (const auto& face : faces) {
    std::vector<int32_t> corners;
    for (int32_t k : face) corners.push_back(index[size_t(k)]);
    Add3DFaceToPolyhedron_macro(poly, corners.data(), int32_t(corners.size()), -1, 1, 0, -1, -1, -1);
  }
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
}

void BuildCube(polyhedron* poly) { BuildBox(poly, 1.0, 1.0, 1.0); }

void BuildBox(polyhedron* poly, double sx, double sy, double sz) {
  std::vector<Point3> v;
  for (int i = 0; i < 8; ++i)
    v.push_back({(i & 1) ? sx / 2 : -sx / 2, (i & 2) ? sy / 2 : -sy / 2, (i & 4) ? sz / 2 : -sz / 2});
  // Seen from outside each face runs clockwise: the corner normal
  // (previous - corner) x (next - corner) then points outward, and the
  // flattened face (normal turned to (0, 0, -1)) runs counter-clockwise.
  BuildSolid(poly, v, {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}});
}

void BuildTetrahedron(polyhedron* poly) {
  const std::vector<Point3> v = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
  BuildSolid(poly, v, {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
}

void BuildPrism(polyhedron* poly, double length) {
  std::vector<Point3> v;
  for (double z : {-length / 2, length / 2})
    for (int k = 0; k < 3; ++k)
      v.push_back({std::cos(2 * std::numbers::pi / 3 * k), std::sin(2 * std::numbers::pi / 3 * k), z});
  BuildSolid(poly, v, {{0, 1, 2}, {3, 5, 4}, {0, 3, 4, 1}, {1, 4, 5, 2}, {2, 5, 3, 0}});
}

void BuildNet(polyhedron* poly, const std::vector<std::pair<double, double>>& points,
              const std::vector<std::vector<int32_t>>& faces) {
  for (size_t i = 0; i < points.size(); ++i)
    Set2DPoint(int32_t(i), DPoint{points[i].first, points[i].second, -1, 1, int32_t(i), 1}, poly);
  for (const auto& face : faces) {
    PolyFace& f = poly->faces[poly->n2DFaces++];
    f.n2D = int32_t(face.size());
    for (size_t k = 0; k < face.size(); ++k) f.vert2D[k] = face[k];
  }
}
