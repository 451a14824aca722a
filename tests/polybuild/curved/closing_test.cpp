// The pass that derives pieces and fragments from the recorded vertex
// lists, on hand-made lists.
#include <gtest/gtest.h>

#include <initializer_list>

#include "polybuild/setup/face_groups.h"
#include "polybuild/curved/vivo_closing.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "support/poly_fixture.h"

namespace {

void SetList(uint16_t (&list)[kPolyVertexListLength], std::initializer_list<uint16_t> v) {
  int i = 0;
  for (uint16_t x : v) list[i++] = x;
}

PolyPtr Wiped() {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  return p;
}

}  // namespace

TEST(VivoClosingPass, WorkedExample) {
  PolyPtr p = Wiped();
  SetList(p->tagVertexLists[7], {10, 11, 12});
  SetList(p->tagVertexLists[8], {11, 10});
  SetList(p->tagVertexLists[9], {11, 40});
  SetList(p->sideVertexLists[2], {10, 11, 12});
  VivoClosingPass(p.get());
  EXPECT_EQ(p->tagFacegroup[7], 0);
  EXPECT_EQ(p->tagFacegroup[8], 0);
  EXPECT_EQ(p->tagFacegroup[9], -1) << "one shared vertex is no shared edge";
  for (int t : {7, 8, 9}) {
    EXPECT_EQ(p->facegroupFragments[t][0], 2) << t;
    EXPECT_EQ(p->facegroupFragments[t][1], -1) << t;
  }
  EXPECT_EQ(p->facegroupFragments[0][0], -1);
}

TEST(VivoClosingPass, LaterTagJoinsTheLastGroupThatReachesIt) {
  // a-c and b-c share edges, a-b do not: c ends in b's group, a keeps its own.
  PolyPtr p = Wiped();
  SetList(p->tagVertexLists[1], {1, 2});
  SetList(p->tagVertexLists[2], {5, 6});
  SetList(p->tagVertexLists[3], {1, 2, 5, 6});
  // An empty first slot keeps a tag out of both steps even with vertices
  // after it.
  SetList(p->tagVertexLists[4], {kPolyNoVertex16, 1, 2});
  // A tag touching three elements lists the two lowest.
  SetList(p->tagVertexLists[5], {30, 31, 32});
  SetList(p->sideVertexLists[3], {30});
  SetList(p->sideVertexLists[1], {31});
  SetList(p->sideVertexLists[7], {32});
  VivoClosingPass(p.get());
  EXPECT_EQ(p->tagFacegroup[1], 0);
  EXPECT_EQ(p->tagFacegroup[2], 1);
  EXPECT_EQ(p->tagFacegroup[3], 1);
  EXPECT_EQ(p->tagFacegroup[4], -1);
  EXPECT_EQ(p->facegroupFragments[4][0], -1);
  EXPECT_EQ(p->facegroupFragments[5][0], 1);
  EXPECT_EQ(p->facegroupFragments[5][1], 3);
}

TEST(VivoFacegroups, FixedTablesByShape) {
  struct Row {
    int32_t shape, tag, group;
  };
  const Row rows[] = {
      {173, 18, 20}, {180, -1, 20}, {173, 0, 0},  {176, 7, 0},   {177, 17, 2},  {178, 15, 3}, {179, 13, 4},
      {175, 11, 5},  {174, 16, 1},  {163, 5, 0},  {164, 13, 2},  {163, 11, 3},  {163, 9, 4},  {163, 12, 1},
      {163, 99, 0},  {165, 20, 11}, {166, 34, 10}, {165, 9, 12}, {165, 55, 19}, {165, 51, 18}, {165, 54, 7},
      {165, 0, 0},   {165, 56, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(FacegroupOfElementTag(r.shape, r.tag, nullptr), r.group) << r.shape << "/" << r.tag;
}

TEST(VivoFacegroups, TabledShapesReadTheBuildersTableClamped) {
  int16_t table[kPolyElementTags];
  for (int i = 0; i < kPolyElementTags; ++i) table[i] = int16_t(i + 1000);
  for (int32_t shape : {161, 162, 167, 168, 169, 170, 171, 172}) {
    EXPECT_EQ(FacegroupOfElementTag(shape, 5, table), 1005) << shape;
    EXPECT_EQ(FacegroupOfElementTag(shape, -4, table), 1000) << shape;
    EXPECT_EQ(FacegroupOfElementTag(shape, 400, table), 1000 + kPolyElementTags - 1) << shape;
  }
  EXPECT_EQ(FacegroupOfElementTag(160, 5, table), 0);
  EXPECT_EQ(FacegroupOfElementTag(181, 5, table), 0);
}

TEST(VivoFacegroups, NetFacesAnswerThroughTheirSolidFace) {
  PolyPtr p = Wiped();
  p->shapeCode = 163;
  p->n3DFaces = 3;
  p->n2DFaces = 3;
  p->faces[0].facegroup = 2;   // -> piece 2
  p->faces[1].facegroup = 7;   // -> piece 1
  p->faces[2].facegroup = 0;   // -> piece 0
  p->faces[0].face3D = 1;
  p->faces[1].face3D = 0;
  p->faces[2].face3D = 2;
  EXPECT_EQ(FacegroupOf2DFace(0, p.get()), 1);
  EXPECT_EQ(FacegroupOf2DFace(1, p.get()), 2);
  EXPECT_EQ(FacegroupOf2DFace(9, p.get()), 0) << "past the last net face answers for the last";
  EXPECT_EQ(NewCountFacegroupsInPoly(p.get()), 3);
  p->faces[2].face3D = -1;
  EXPECT_EQ(FacegroupOf2DFace(2, p.get()), 0) << "a net face without a solid face has no tag";
}
