// The exact and purpose-made static shapes as the catalogue loads them: the
// counts and options of the shape list, the jewel's net paired with its
// solid by the general search, and the shapes built whole by the set-up for
// the output modes that show them.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "polyhedron/catalogue.h"
#include "polyhedron/correspondence.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/vertex_upkeep.h"
#include "sphere_net_checks.h"
#include "support/poly_fixture.h"

namespace {

struct Listed {
  int32_t code;
  int32_t faces;
  int32_t points2D;
  int32_t vertices3D;
  bool mapped;
  uint8_t mirrorFlipA, mirrorFlipB, exportFlipFirstAxis;
  int32_t warpStyle;
  int16_t sphericalFlag;
  int32_t origamiTabOption;
  int32_t exportPlanShape;
  bool facegroups;
};

// The shape list's rows; the mapped shapes' solids are sized by their maps.
const Listed kListed[] = {
    {10, 33, 72, 24, true, 0, 1, 0, 0, 1, 0, -1, false},
    {11, 13, 44, 18, true, 0, 1, 0, 0, 2, 0, -1, false},
    {13, 60, 200, 92, false, 1, 0, 0, 0, 1, 0, -1, false},
    {15, 4, 12, 4, true, 0, 0, 0, 0, 1, 0, -1, false},
    {20, 72, 240, 140, false, 1, 0, 0, 0, 1, 0, -1, false},
    {21, 132, 408, 218, false, 1, 0, 0, 0, 1, 0, -1, false},
    {29, 3, 8, 7, true, 0, 0, 0, 0, 1, 1, -1, false},
    {70, 120, 99, 62, true, 0, 0, 1, 1, 1, 1, 9, true},
    {79, 6, 6, 5, false, 1, 0, 0, 0, 1, 0, -1, false},
};

TEST(ShapeCatalogueSolid, LoadsWithTheCountsAndOptionsOfTheShapeList) {
  for (const Listed& c : kListed) {
    SCOPED_TRACE("shape " + std::to_string(c.code));
    PolyPtr p = LoadedShape(c.code);
    EXPECT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    EXPECT_EQ(p->n3DVerts, c.vertices3D);
    EXPECT_EQ(p->map2Dto3D != nullptr, c.mapped);
    // The conformal dodecahedron gives solid rows beside its map: the faces
    // its exports write.
    EXPECT_EQ(p->faces3DRows != nullptr, !c.mapped || c.code == 70);
    EXPECT_EQ(p->mirrorFlipA, c.mirrorFlipA);
    EXPECT_EQ(p->mirrorFlipB, c.mirrorFlipB);
    EXPECT_EQ(p->exportFlipFirstAxis, c.exportFlipFirstAxis);
    EXPECT_EQ(p->warpStyle, c.warpStyle);
    EXPECT_EQ(p->sphericalFlag, c.sphericalFlag);
    EXPECT_EQ(p->origamiTabOption, c.origamiTabOption);
    EXPECT_EQ(p->exportPlanShape, c.exportPlanShape);
    EXPECT_EQ(p->facegroupTable != nullptr, c.facegroups);
    EXPECT_EQ(p->correspondenceGiven, 0);
    // Steep tabs for the spikeball; the GID's outline walks start untabbed.
    EXPECT_EQ(p->tabStyle, c.code == 13 ? 1 : 0);
    EXPECT_EQ(p->tabPhaseFlip, c.code == 21 ? 1 : 0);
  }
}

// The nets paired by fixed rules: the dodo's twelve groups each find their
// solid face from their decagon and the GID's from their regular pentagon,
// and spread from there; the spikeball's ten strips are laid onto their
// faces whole. Every net face shows its own solid
// face, congruent corner for corner, and faces joined in the net are joined
// on the solid.
class FixedRuleNet : public testing::TestWithParam<int32_t> {};

TEST_P(FixedRuleNet, FoldsOntoItsSolid) {
  PolyPtr p = LoadedShape(GetParam());
  Cleanse2DVertList(p.get());
  Build2DConnectivityCompletelyFromScratch(p.get(), p->n3DFaces);
  Calc3DAngles(p.get());
  Build3DConnectivity(p.get());
  Calc2DAnglesAroundFaces(p.get());
  EXPECT_EQ(DetermineCorrespondence(p.get()), 1);
  std::set<int32_t> shown;
  for (int32_t f = 0; f < p->n2DFaces; ++f) {
    SCOPED_TRACE("net face " + std::to_string(f));
    const PolyFace& face = p->faces[f];
    ASSERT_GE(face.face3D, 0);
    shown.insert(face.face3D);
    const PolyFace& solid = p->faces[face.face3D];
    ASSERT_EQ(face.n2D, solid.n3D);
    const int32_t n = face.n2D;
    for (int32_t a = 0; a < n; ++a)
      for (int32_t b = a + 1; b < n; ++b) {
        const double* pa = p->coords2D[face.vert2D[a]];
        const double* pb = p->coords2D[face.vert2D[b]];
        const double* qa = p->coords3D[solid.vert3D[(a + face.cornerOffset) % n]];
        const double* qb = p->coords3D[solid.vert3D[(b + face.cornerOffset) % n]];
        EXPECT_NEAR(std::hypot(pa[0] - pb[0], pa[1] - pb[1]),
                    std::sqrt((qa[0] - qb[0]) * (qa[0] - qb[0]) + (qa[1] - qb[1]) * (qa[1] - qb[1]) +
                              (qa[2] - qb[2]) * (qa[2] - qb[2])),
                    1e-9);
      }
    for (int32_t e = 0; e < n; ++e) {
      const int32_t g = face.nbrFace2D[e];
      if (g < 0) continue;
      // The neighbour in the net shows the solid face across the same edge.
      EXPECT_EQ(p->faces[g].face3D, solid.nbrFace3D[(e + face.cornerOffset) % n]) << "edge " << e;
    }
  }
  EXPECT_EQ(int32_t(shown.size()), p->n3DFaces);
}

INSTANTIATE_TEST_SUITE_P(SpikeballDodoAndGID, FixedRuleNet, testing::Values(13, 20, 21));

// The jewel's net shows four of its six faces: the two rows after them are
// empty. Each net face is a face of the bipyramid laid flat, so the four
// share its isosceles sides.
TEST(ShapeCatalogueSolid, JewelNetShowsFourOfItsFaces) {
  PolyPtr p = LoadedShape(79);
  for (int32_t f = 0; f < 6; ++f) {
    SCOPED_TRACE("face " + std::to_string(f));
    EXPECT_EQ(p->faces[f].n3D, 3);
    EXPECT_EQ(p->faces[f].n2D, f < 4 ? 3 : 0);
  }
  const double pole = std::sqrt(2.0), equator = std::sqrt(3.0);
  for (int32_t f = 0; f < 4; ++f) {
    std::multiset<long> sides;
    for (int32_t c = 0; c < 3; ++c) {
      const double* a = p->coords2D[p->faces[f].vert2D[c]];
      const double* b = p->coords2D[p->faces[f].vert2D[(c + 1) % 3]];
      sides.insert(std::lround(std::hypot(a[0] - b[0], a[1] - b[1]) * 1e9));
    }
    EXPECT_EQ(sides, (std::multiset<long>{std::lround(pole * 1e9), std::lround(pole * 1e9),
                                          std::lround(equator * 1e9)}))
        << "face " << f;
  }
}

}  // namespace
