// The curved-element solids through the whole set-up of their output
// modes: the net is made of the flattened elements, one fragment per
// element in the standard codes, with the scissor marks paired.
#include <gtest/gtest.h>

#include <cmath>

#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/curved/vivo_elements.h"
#include "polybuild/curved/vivo_entries.h"
#include "support/poly_fixture.h"

namespace {

struct ModeCase {
  int32_t mode, shape, pieces, fragments;  // fragments 0: not checked
};
constexpr ModeCase kModes[] = {
    {256, 161, 10, 4}, {289, 167, 18, 6}, {257, 165, 20, 8}, {258, 163, 5, 2},  {259, 173, 6, 2},
    {261, 177, 6, 2},  {1035, 162, 10, 1}, {1047, 168, 18, 1}, {1037, 166, 20, 1}, {1036, 164, 5, 1},
    {1038, 175, 6, 1}, {1040, 179, 6, 1},  {260, 174, 6, 0},  {262, 178, 6, 0},  {1039, 176, 6, 0},
    {1041, 180, 6, 0},  {290, 169, 42, 12},  {1048, 170, 42, 1},
};

double Dist3(const polyhedron* p, int32_t a, int32_t b) {
  const double dx = p->coords3D[a][0] - p->coords3D[b][0], dy = p->coords3D[a][1] - p->coords3D[b][1],
               dz = p->coords3D[a][2] - p->coords3D[b][2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double Dist2(const polyhedron* p, int32_t a, int32_t b) {
  return std::hypot(double(p->verts2D[a].x) - p->verts2D[b].x, double(p->verts2D[a].y) - p->verts2D[b].y);
}

}  // namespace

TEST(VivoNets, NetIsTheFlattenedElements) {
  for (const ModeCase& m : kModes) {
    SCOPED_TRACE(m.mode);
    PolyPtr p = NewPoly();
    DarOzoPolySetup(m.mode, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
    ASSERT_EQ(p->shapeCode, m.shape);
    ASSERT_EQ(p->errorCode, 0);
    ASSERT_GT(p->n2DFaces, 0);
    // Outer wing rows are laid out with both elements they join.
    EXPECT_GE(p->n2DFaces, p->n3DFaces);
    if (m.fragments) {
      EXPECT_EQ(p->fragmentCount, m.fragments);
    }
    EXPECT_EQ(NewCountFacegroupsInPoly(p.get()), m.pieces);
    // One net scale for every face; each face's sides and diagonals keep
    // their lengths under it.
    double scale = 0.0;
    double worst = 0.0;
    for (int32_t f = 0; f < p->n2DFaces; ++f) {
      const PolyFace& face = p->faces[f];
      ASSERT_GE(face.face3D, 0);
      const PolyFace& solid = p->faces[face.face3D];
      ASSERT_EQ(face.n2D, solid.n3D);
      const int32_t n = face.n2D;
      for (int32_t i = 0; i < n; ++i)
        for (int32_t j = i + 1; j < n; ++j) {
          const double l3 = Dist3(p.get(), solid.vert3D[(i + face.cornerOffset) % n], solid.vert3D[(j + face.cornerOffset) % n]);
          const double l2 = Dist2(p.get(), face.vert2D[i], face.vert2D[j]);
          if (scale == 0.0 && l3 > 0.1) scale = l2 / l3;
          if (scale > 0.0) worst = std::max(worst, std::fabs(l2 - scale * l3));
        }
    }
    EXPECT_GT(scale, 0.0);
    EXPECT_LT(worst, 2e-5) << "net units (the net spans about 1)";
  }
}

TEST(VivoNets, ScissorMarksArePairedWithTheirPieces) {
  PolyPtr p = NewPoly();
  DarOzoPolySetup(256, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
  ASSERT_EQ(p->scissorMarkCount, 12);
  // Each of the six edge pieces of the tetrahedron has the marks of its two
  // wings; the flat pieces have none.
  int32_t paired = 0;
  for (int32_t g = 0; g < kPolyElementTags; ++g)
    for (int32_t s = 0; s < 2; ++s)
      if (p->scissorPair[g][s] >= 0) ++paired;
  EXPECT_EQ(paired, 12);
  for (int32_t m = 0; m < p->scissorMarkCount; ++m) {
    const int32_t g = p->tagFacegroup[p->scissorMarks[m].tag];
    ASSERT_GE(g, 0);
    EXPECT_TRUE(p->scissorPair[g][0] == m || p->scissorPair[g][1] == m) << m;
  }
}

TEST(VivoNets, DodecahedronBuildsAndIcosahedronIsEmpty) {
  for (int32_t mode : {290, 1048}) {
    PolyPtr p = NewPoly();
    DarOzoPolySetup(mode, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
    EXPECT_EQ(p->errorCode, 0) << mode;
    EXPECT_EQ(p->n3DFaces, 12 * (1 + 5 * 2 * kVivoDodecWingSteps)) << mode;
    EXPECT_GT(p->nTriangles, 0) << mode;
    EXPECT_EQ(p->scissorMarkCount, 60) << mode;
  }
  for (int32_t mode : {291, 1049}) {
    PolyPtr p = NewPoly();
    DarOzoPolySetup(mode, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
    EXPECT_EQ(p->n3DFaces, 0) << mode;
    EXPECT_EQ(p->nTriangles, 0) << mode;
  }
}
