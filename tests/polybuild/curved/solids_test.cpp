// Every curved-element builder through its entry: the hinges close, the
// elements close into one surface, the pieces count as the solid's faces
// and edges, the net is the flattened elements.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>
#include <set>

#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/curved/vivo_elements.h"
#include "polybuild/curved/vivo_entries.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "polybuild/curved/vivo_hinge.h"
#include "vivo_fixture.h"

namespace {

// Faces of one element: the flat face and two rows of 15 per side.
int32_t FacesPerElement(int32_t corners, int32_t steps) { return 1 + corners * 2 * steps; }

struct Expect {
  const char* name;
  int32_t pieces;  // faces + edges of the solid the elements cover
  int32_t marks;   // one per wing, none for squircle wings
};
constexpr Expect kExpected[] = {{"VivoTet", 10, 12},  {"VivoCube", 18, 24}, {"VivoOct", 20, 24},
                                {"VivoDodecahedron", 42, 60}, {"Tribox", 5, 6}, {"squarebox", 6, 8},
                                {"squirclebox", 6, 0}};

int32_t MaxPiece(const polyhedron* poly) {
  int32_t g = -1;
  for (int16_t t : poly->tagFacegroup) g = std::max<int32_t>(g, t);
  return g;
}

}  // namespace

TEST(VivoSolids, HingesCloseAndElementsShareTheirEdges) {
  for (size_t i = 0; i < std::size(kVivoCases); ++i) {
    const VivoCase& c = kVivoCases[i];
    SCOPED_TRACE(c.name);
    VivoBuild b = BuildVivo(c);
    EXPECT_EQ(b.poly->errorCode, 0);
    EXPECT_EQ(b.ctx.hingeFailed, 0);
    EXPECT_LT(b.ctx.worstHingeError, 1e-12);
    const int32_t steps = c.shapeCode == 169 ? kVivoDodecWingSteps : kVivoWingSteps;
    for (int32_t step = 1; step <= steps; ++step) {
      EXPECT_EQ(b.ctx.hingeKnown[step], 1) << step;
      EXPECT_GE(b.ctx.hingeAngle[step], 0.0);
      EXPECT_LE(b.ctx.hingeAngle[step], kHingeAngleLimit);
    }
    EXPECT_EQ(b.ctx.hingeKnown[0] + b.ctx.hingeKnown[steps + 1], 0) << "no step outside 1.." << steps;
    EXPECT_EQ(b.poly->n3DFaces, c.elements * FacesPerElement(c.corners, steps));
    // Every edge meets its reverse: neighbouring wings end on the same
    // points, merged at 2e-5.
    if (c.closed) {
      EXPECT_EQ(OpenEdgeCount(b.poly.get()), 0);
    }
    EXPECT_EQ(b.poly->scissorMarkCount, kExpected[i].marks);
    EXPECT_EQ(1 + MaxPiece(b.poly.get()), kExpected[i].pieces);
    for (int32_t f = 0; f < b.poly->n3DFaces; ++f) {
      const int32_t tag = b.poly->faces[f].facegroup;
      ASSERT_GE(tag, 0);
      ASSERT_LT(tag, c.elements * (2 * c.corners + 1));
    }
  }
}

TEST(VivoSolids, ClosingPassAgreesWithTheFixedPieceTables) {
  // Where a shape has a fixed table of pieces, the pieces found from shared
  // edges are the same partition of the tags.
  for (const VivoCase& c : kVivoCases) {
    if (c.shapeCode != 163 && c.shapeCode != 165 && c.shapeCode != 173 && c.shapeCode != 177) continue;
    SCOPED_TRACE(c.name);
    VivoBuild b = BuildVivo(c);
    const int32_t tags = c.elements * (2 * c.corners + 1);
    for (int32_t a = 0; a < tags; ++a)
      for (int32_t d = 0; d < tags; ++d) {
        const bool found = b.poly->tagFacegroup[a] == b.poly->tagFacegroup[d];
        const bool fixed = FacegroupOfElementTag(c.shapeCode, a, nullptr) == FacegroupOfElementTag(c.shapeCode, d, nullptr);
        ASSERT_EQ(found, fixed) << a << " " << d;
      }
  }
}

TEST(VivoSolids, SolidsSitAtTheOrigin) {
  for (const VivoCase& c : kVivoCases) {
    if (!c.closed) continue;
    SCOPED_TRACE(c.name);
    VivoBuild b = BuildVivo(c);
    // The element corners of a regular layout are symmetric about the
    // centre, so their mean is the origin.
    double sum[3] = {0, 0, 0};
    int32_t n = 0;
    for (int32_t e = 1; e <= c.elements; ++e)
      for (uint16_t v : b.poly->sideVertexLists[e]) {
        if (v == kPolyNoVertex16) continue;
        for (int k = 0; k < 3; ++k) sum[k] += b.poly->coords3D[v][k];
        ++n;
      }
    ASSERT_GT(n, 0);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(sum[k] / n, 0.0, 1e-9) << k;
  }
}

TEST(VivoSolids, BoxesRecordTheirKeyVertices) {
  for (const VivoCase& c : kVivoCases) {
    if (c.shapeCode < 173) continue;
    VivoBuild b = BuildVivo(c);
    std::set<int32_t> keys;
    for (int k = 0; k < 6; ++k) {
      EXPECT_GE(b.poly->key3DVerts[k], 0) << c.name << " " << k;
      EXPECT_LT(b.poly->key3DVerts[k], b.poly->n3DVerts);
      keys.insert(b.poly->key3DVerts[k]);
    }
    EXPECT_EQ(b.poly->key3DVerts[6], -1);
    EXPECT_GE(keys.size(), 4u) << c.name << ": the twin shares the diagonal's ends at most";
  }
}

TEST(VivoSolids, WingsReuseTheFirstWingsHinges) {
  // Hinges handed in as known are taken as they are: with every step held
  // flat the wings no longer meet, and no search runs to notice.
  VivoBuild b{NewPoly(), VivoContext{}};
  WipeFaceInfo(b.poly.get());
  b.poly->shapeCode = 161;
  b.ctx.poly = b.poly.get();
  for (int32_t s = 0; s < kVivoHingeSteps; ++s) b.ctx.hingeKnown[s] = 1;
  Build_VivoTet_GyrelleEntry(&b.ctx);
  EXPECT_EQ(b.ctx.hingeFailed, 0);
  EXPECT_EQ(b.ctx.worstHingeError, 0.0);
  EXPECT_GT(OpenEdgeCount(b.poly.get()), 0);
}

TEST(VivoSolids, DodecahedronIsTwelveElementsOnTheFacesOfADodecahedron) {
  // The pentagon template is read turned so that its corner 1 points up, as
  // the other templates' do; read as it lies, no hinge angle in range closes
  // the first step and the wings come out askew.
  VivoBuild b = BuildVivo(kVivoCases[3]);
  ASSERT_EQ(b.poly->errorCode, 0);
  for (int32_t step = 1; step <= kVivoDodecWingSteps; ++step) {
    EXPECT_GT(b.ctx.hingeAngle[step], 0.005) << step;
    EXPECT_LT(b.ctx.hingeAngle[step], 0.04) << step;
  }
  // The flat pentagons sit square to twelve directions, neighbours at the
  // dodecahedron's angle between face normals, all at one distance from the
  // origin.
  const double(*xyz)[3] = b.poly->coords3D;
  std::vector<std::array<double, 3>> normals;
  double distance = -1.0;
  for (int32_t f = 0; f < b.poly->n3DFaces; ++f) {
    const PolyFace& face = b.poly->faces[f];
    if (face.n3D != 5) continue;
    std::array<double, 3> c{};
    for (int32_t i = 0; i < 5; ++i)
      for (int a = 0; a < 3; ++a) c[a] += xyz[face.vert3D[i]][a] / 5.0;
    const double r = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    if (distance < 0.0) distance = r;
    EXPECT_NEAR(r, distance, 1e-9) << f;
    normals.push_back({c[0] / r, c[1] / r, c[2] / r});
  }
  ASSERT_EQ(normals.size(), 12u);
  const double neighbour = 1.0 / std::sqrt(5.0);
  for (size_t i = 0; i < normals.size(); ++i) {
    int32_t near = 0, opposite = 0;
    for (size_t j = 0; j < normals.size(); ++j) {
      if (i == j) continue;
      const double d = normals[i][0] * normals[j][0] + normals[i][1] * normals[j][1] + normals[i][2] * normals[j][2];
      EXPECT_NEAR(std::fabs(d), neighbour, std::fabs(d) > 0.99 ? 1.0 : 1e-9) << i << " " << j;
      near += std::fabs(d - neighbour) < 1e-9;
      opposite += d < -0.99;
    }
    EXPECT_EQ(near, 5) << i;
    EXPECT_EQ(opposite, 1) << i;
  }
  // Wound outward, it bulges past the flat dodecahedron on its corners but
  // stays inside the ball through them.
  double volume = 0.0, corner = 0.0;
  for (int32_t f = 0; f < b.poly->n3DFaces; ++f) {
    const PolyFace& face = b.poly->faces[f];
    const double* a = xyz[face.vert3D[0]];
    for (int32_t k = 1; k + 1 < face.n3D; ++k) {
      const double* p = xyz[face.vert3D[k]];
      const double* q = xyz[face.vert3D[k + 1]];
      volume += (a[0] * (p[1] * q[2] - p[2] * q[1]) - a[1] * (p[0] * q[2] - p[2] * q[0]) +
                 a[2] * (p[0] * q[1] - p[1] * q[0])) / 6.0;
    }
    for (int32_t k = 0; k < face.n3D; ++k) corner = std::max(corner, std::hypot(xyz[face.vert3D[k]][0], xyz[face.vert3D[k]][1], xyz[face.vert3D[k]][2]));
  }
  const double edge = corner / 1.4012585384440734;  // circumradius per edge
  const double flat = 7.663118960624632 * edge * edge * edge;
  EXPECT_GT(volume, flat);
  EXPECT_LT(volume, 4.0 / 3.0 * std::numbers::pi * corner * corner * corner);
}

TEST(VivoSolids, IcosahedronIsEmpty) {
  VivoBuild b{NewPoly(), VivoContext{}};
  WipeFaceInfo(b.poly.get());
  b.poly->shapeCode = 171;
  b.ctx.poly = b.poly.get();
  Build_VivoIcosahedron_GyrelleEntry(&b.ctx);
  EXPECT_EQ(b.poly->n3DFaces, 0);
  EXPECT_EQ(b.poly->n3DVerts, 0);
  EXPECT_EQ(b.poly->errorCode, 0);
}

TEST(VivoSolids, FinishRefusesAFailedSearch) {
  PolyPtr p = NewOwningPoly();
  p->n3DFaces = 5;
  p->n3DVerts = 9;
  p->scissorMarkCount = 2;
  VivoContext ctx{};
  ctx.poly = p.get();
  ctx.hingeFailed = 1;
  FinishVivoEntry(&ctx);
  EXPECT_EQ(p->errorCode, kVivoErrorHingeSearch);
  EXPECT_EQ(p->n3DFaces, 0);
  EXPECT_EQ(p->scissorMarkCount, 0);
}
