// The static nets of solids that the catalogue shows turned over (the
// mirror flag) are laid to read upright once set up as the renderer sets
// them up: the face that shows the front of the sphere shows it with the
// zenith straight up the picture (towards the net's -y, as picture rows grow
// with the net's y). The cube crosses, whose round trip through the cross
// input layouts proves them upright, are the calibration.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/catalogue_static.h"
#include "polyhedron/polyhedron.h"
#include "setup_fixture.h"

namespace {

using setup_fixture::PolyPtr;

struct V3 {
  double x, y, z;
};
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The point of the sphere's side that corner t of net face j shows: its
// render point, the mirror already applied.
V3 Under(const polyhedron* p, int32_t j, int32_t t) {
  const PolyVertex2D& v = p->verts2D[p->faces[j].vert2D[t]];
  return {v.renderX, v.renderY, v.renderZ};
}

// The zenith's direction in the net, read on the net face whose solid face
// centre lies nearest the sphere's front (+z), the first such face on ties.
bool ZenithInNet(const polyhedron* p, double* ux, double* uy) {
  int32_t best = -1;
  double bestCosine = -2.0;
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    V3 c{0, 0, 0};
    for (int32_t t = 0; t < p->faces[j].n2D; ++t) {
      const V3 q = Under(p, j, t);
      c = {c.x + q.x, c.y + q.y, c.z + q.z};
    }
    const double cosine = c.z / std::sqrt(Dot(c, c));
    if (cosine > bestCosine + 1e-9) {
      bestCosine = cosine;
      best = j;
    }
  }
  if (best < 0) return false;
  V3 q[3];
  double px[3], py[3];
  for (int32_t t = 0; t < 3; ++t) {
    q[t] = Under(p, best, t);
    px[t] = p->verts2D[p->faces[best].vert2D[t]].x;
    py[t] = p->verts2D[p->faces[best].vert2D[t]].y;
  }
  const V3 e1 = Sub(q[1], q[0]), e2 = Sub(q[2], q[0]), normal = Cross(e1, e2);
  const V3 zenith{0.0, 1.0, 0.0};
  const double along = Dot(zenith, normal) / Dot(normal, normal);
  const V3 up{zenith.x - along * normal.x, zenith.y - along * normal.y, zenith.z - along * normal.z};
  const double g11 = Dot(e1, e1), g12 = Dot(e1, e2), g22 = Dot(e2, e2), r1 = Dot(up, e1), r2 = Dot(up, e2);
  const double det = g11 * g22 - g12 * g12;
  const double a = (r1 * g22 - r2 * g12) / det, b = (r2 * g11 - r1 * g12) / det;
  *ux = a * (px[1] - px[0]) + b * (px[2] - px[0]);
  *uy = a * (py[1] - py[0]) + b * (py[2] - py[0]);
  return true;
}

}  // namespace

TEST(UprightNets, MirroredStaticNetsShowTheFrontUpright) {
  // Every output mode whose solid is a static shape shown turned over, set
  // up as the renderer sets it up (the table's net method).
  std::set<int32_t> shapes;
  for (int32_t mode = 1; mode <= 300; ++mode) {
    PolyhedronParams row{};
    get_polyhedron_params_from_output_mode(mode, &row);
    const StaticShapeEntry* entry = FindStaticShape(row.shapeCode);
    if (!entry || !entry->mirrorFlipA) continue;
    SCOPED_TRACE(mode);
    PolyPtr p(new polyhedron{});
    NullifyPolyStorage(p.get());
    DarOzoPolySetup(mode, p.get(), 2.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
    ASSERT_EQ(p->errorCode, 0);
    if (p->cramMode != 0) continue;  // read through petals, not laid as a net
    // The tetra tile is read through the skewed coordinates of its tiling:
    // the picture is the tile repeated along the net's own axes, so the
    // net's orientation is the lattice's, and a turn would break the repeat.
    if (row.shapeCode == 24) continue;
    double ux = 0, uy = 0;
    ASSERT_TRUE(ZenithInNet(p.get(), &ux, &uy));
    const double length = std::hypot(ux, uy);
    ASSERT_GT(length, 0.0);
    // Straight up, to the rounding of single-precision net points.
    EXPECT_NEAR(ux / length, 0.0, 1e-4);
    EXPECT_NEAR(uy / length, -1.0, 1e-6);
    shapes.insert(row.shapeCode);
  }
  // The tetrahedron, the octahedron, both cube crosses, the solids of 14,
  // 24 and 26 faces, the soccer ball, the spikeball, the dodo and the GID.
  EXPECT_EQ(shapes, (std::set<int32_t>{1, 2, 7, 12, 13, 16, 18, 19, 20, 21, 73}));
}
