// The squarebox and squirclebox nets read as halves of a Peirce square, and
// the scissor-mark field of the curved-element solids, on small hand-made
// records.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "polyhedron/polyhedron_record.h"
#include "projection/inverse/classic_peirce.h"
#include "projection/planes.h"
#include "projection/render_hint.h"
#include "render/rows/column_record.h"
#include "render/routes/polyhedral_warp.h"
#include "render/vort.h"

namespace {

// One net triangle of fragment `fragment` whose key vertices are the
// corners (0, 0), (1, 0), (0, 1) of the net.
std::unique_ptr<polyhedron> KeyTriangleNet(int32_t shapeCode, int16_t fragment) {
  auto poly = std::make_unique<polyhedron>();
  poly->shapeCode = shapeCode;
  poly->nTriangles = 1;
  poly->triangles[0].fragment = fragment;
  const float corners[3][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}};
  for (int k = 0; k < 3; ++k) {
    poly->verts2D[k].x = corners[k][0];
    poly->verts2D[k].y = corners[k][1];
    poly->key2DVerts[k] = k;
    poly->key2DVerts[3 + k] = k;
  }
  return poly;
}

TEST(SecondaryWarp, KeyTriangleBecomesTheLeftHalfOfThePeirceSquare) {
  // The key triangle's centroid lands on (-1/3, 0) of the square.
  float plain[3];
  uint8_t plainOutside = 1;
  TotalPeirce(-1.0 / 3.0, 0.0, &plainOutside, plain, 1.0, 0.0);
  ASSERT_EQ(plainOutside, 0);
  struct Case {
    const char* what;
    int32_t shape;
    int16_t fragment;
    uint8_t hit;
    bool warped, halfTurn;
  };
  const Case cases[] = {
      {"squarebox B, fragment 2", 174, 2, 1, true, false},
      {"squirclebox B, fragment 1: turned half round y", 180, 1, 1, true, true},
      {"shape 176, fragment 1", 176, 1, 1, true, true},
      {"shape 178, fragment 2", 178, 2, 1, true, false},
      {"a third fragment", 174, 3, 1, false, false},
      {"no face hit", 174, 2, 0, false, false},
      {"another solid", 175, 2, 1, false, false},
  };
  for (const Case& c : cases) {
    auto poly = KeyTriangleNet(c.shape, c.fragment);
    auto hint = std::make_unique<renderhinttype>();
    hint->hit = c.hit;
    hint->lastFace = 0;
    float p[3] = {0.25f, 0.5f, 0.75f};
    uint8_t outside = 0;
    MaybeSecondaryWarp(p, poly.get(), 1.0f / 3.0f, 1.0f / 3.0f, &outside, hint.get());
    if (!c.warped) {
      EXPECT_EQ(p[0], 0.25f) << c.what;
      EXPECT_EQ(p[1], 0.5f) << c.what;
      EXPECT_EQ(p[2], 0.75f) << c.what;
      continue;
    }
    const float sign = c.halfTurn ? -1.0f : 1.0f;
    EXPECT_EQ(outside, 0) << c.what;
    EXPECT_NEAR(p[0], sign * plain[0], 1e-6f) << c.what;
    EXPECT_NEAR(p[1], plain[1], 1e-6f) << c.what;
    EXPECT_NEAR(p[2], sign * plain[2], 1e-6f) << c.what;
  }
}

TEST(SecondaryWarp, OneFragmentBoxesReadTheSecondHalfThroughTheSecondElement) {
  // All of a single-fragment box is fragment 1; the second element's flat
  // piece (tag 9, piece 1) is read as the second half, the rest as the
  // first, turned half round.
  float plain[3];
  uint8_t plainOutside = 1;
  TotalPeirce(-1.0 / 3.0, 0.0, &plainOutside, plain, 1.0, 0.0);
  for (const auto& [tag, sign] : {std::pair{9, 1.0f}, std::pair{0, -1.0f}, std::pair{2, -1.0f}}) {
    auto poly = KeyTriangleNet(176, 1);
    poly->n3DFaces = 1;
    poly->faces[0].face3D = 0;
    poly->faces[0].facegroup = int16_t(tag);
    auto hint = std::make_unique<renderhinttype>();
    hint->hit = 1;
    hint->lastFace = 0;
    float p[3] = {0.25f, 0.5f, 0.75f};
    uint8_t outside = 0;
    MaybeSecondaryWarp(p, poly.get(), 1.0f / 3.0f, 1.0f / 3.0f, &outside, hint.get());
    EXPECT_EQ(outside, 0) << tag;
    EXPECT_NEAR(p[0], sign * plain[0], 1e-6f) << tag;
    EXPECT_NEAR(p[2], sign * plain[2], 1e-6f) << tag;
  }
}

// Net face 0 shows 3D face 1 of facegroup 5, whose element tag group is 7;
// marks 0 and 1 belong to that group.
struct MarkedSolid {
  MarkedSolid() : poly(std::make_unique<polyhedron>()), view(std::make_unique<vort>()) {
    view->polyhedron = poly.get();
    poly->faces[0].face3D = 1;
    poly->faces[0].fragment = 2;
    poly->faces[1].facegroup = 5;
    poly->tagFacegroup[5] = 7;
    poly->scissorPair[7][0] = 0;
    poly->scissorPair[7][1] = 1;
    poly->scissorMarkCount = 2;
    AddMark(0, {1.0, 0.0, 0.0}, 2, 0.1);
    AddMark(1, {0.0, 1.0, 0.0}, 2, 0.2);
  }
  // A mark at `at` whose plane faces away from the solid's centre.
  void AddMark(int32_t m, triplex at, int32_t fragment, double radius) {
    ScissorMark& mark = poly->scissorMarks[m];
    mark.inUse = 1;
    mark.pivotPoint[0] = at.x, mark.pivotPoint[1] = at.y, mark.pivotPoint[2] = at.z;
    mark.param = fragment;
    mark.value = radius;
    const double p[3] = {at.x, at.y, at.z};
    double outward[3] = {at.x, at.y, at.z};
    BuildPlaneFromPointAndDirection(p, outward, &mark.plane);
  }
  TransformationReply Measure(triplex t, int32_t face = 0) const {
    TransformationReply reply{};
    reply.faceRegion = face;
    reply.spotField = 1.0f;
    reply.spotFieldValid = 5;  // neither 0 nor 1: shows whether it was written
    FindScissorHeight(*view, t, &reply);
    return reply;
  }
  std::unique_ptr<polyhedron> poly;
  std::unique_ptr<vort> view;
};

TEST(ScissorHeight, NearestMarkOfThePiece) {
  MarkedSolid s;
  // Nearer the first mark: distance² 0.01 less the mark's 0.1².
  TransformationReply r = s.Measure({0.9, 0.0, 0.0});
  EXPECT_NEAR(r.spotField, 0.01 - 0.01, 1e-6);
  EXPECT_EQ(r.spotFieldValid, 1);
  // Nearer the second: 0.04 less 0.2².
  r = s.Measure({0.0, 0.8, 0.0});
  EXPECT_NEAR(r.spotField, 0.04 - 0.04, 1e-6);
  EXPECT_EQ(r.spotFieldValid, 1);
  // Beyond the first mark's plane the contour is not drawn.
  r = s.Measure({1.05, 0.0, 0.0});
  EXPECT_NEAR(r.spotField, 0.0025 - 0.01, 1e-6);
  EXPECT_EQ(r.spotFieldValid, 0);
}

TEST(ScissorHeight, MarksThatDoNotApply) {
  struct Case {
    const char* what;
    void (*change)(polyhedron*);
    int32_t face;
    float field;
    int32_t valid;
  };
  const Case cases[] = {
      {"no marks: nothing written", [](polyhedron* p) { p->scissorMarkCount = 0; }, 0, 1.0f, 5},
      {"both slots of the group empty",
       [](polyhedron* p) { p->scissorPair[7][0] = p->scissorPair[7][1] = -1; }, 0, kNoScissorMarkNear, 1},
      {"marks of another fragment",
       [](polyhedron* p) { p->scissorMarks[0].param = p->scissorMarks[1].param = 1; }, 0, kNoScissorMarkNear, 1},
      {"a point on no face", [](polyhedron*) {}, -1, kNoScissorMarkNear, 1},
      {"a net face with no 3D face", [](polyhedron* p) { p->faces[0].face3D = -1; }, 0, kNoScissorMarkNear, 1},
      {"a face of no group", [](polyhedron* p) { p->faces[1].facegroup = -1; }, 0, kNoScissorMarkNear, 1},
      {"a group naming a mark not recorded", [](polyhedron* p) { p->scissorPair[7][0] = p->scissorPair[7][1] = 5; },
       0, kNoScissorMarkNear, 1},
  };
  for (const Case& c : cases) {
    MarkedSolid s;
    c.change(s.poly.get());
    const TransformationReply r = s.Measure({0.9, 0.0, 0.0}, c.face);
    EXPECT_EQ(r.spotField, c.field) << c.what;
    EXPECT_EQ(r.spotFieldValid, c.valid) << c.what;
  }
}

}  // namespace
