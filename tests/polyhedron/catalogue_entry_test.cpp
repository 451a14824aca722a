// Loading one static catalogue entry: every option an entry may set reaches
// the record, a net that names its solid through a 2D-to-3D map loads
// without solid rows unless it gives both, and an entry borrowing another's arrays points at
// them rather than copying. Fixture entries, so the loader is tested apart
// from the catalogue's own tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/setup/polyhedron_setup_steps.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/catalogue_static.h"
#include "support/poly_fixture.h"

namespace {

// A tetrahedron and its net as one triangle cut into four: the three outer
// corners of the net all fold onto the solid's apex (vertex 3).
constexpr double kSolid[4][3] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
constexpr double kNet[6][2] = {{0, 0}, {2, 0}, {1, 1.7320508075688772}, {1, 0}, {1.5, 0.8660254037844386},
                               {0.5, 0.8660254037844386}};
constexpr int16_t kNetRows[] = {1, 4, 6, 0, 4, 2, 5, 0, 6, 5, 3, 0, 4, 5, 6, 0};
// The middle face is solid face (0, 1, 2); the outer corners are the apex.
constexpr int16_t kMap[6] = {3, 3, 3, 0, 1, 2};
// The same net with its faces listed the other way round.
constexpr int16_t kNetRowsReversed[] = {4, 5, 6, 0, 6, 5, 3, 0, 4, 2, 5, 0, 1, 4, 6, 0};
constexpr int16_t kFacegroups[4] = {0, 1, 1, 2};

StaticShapeEntry MappedEntry() {
  StaticShapeEntry e{900, kNet, kNetRows, int32_t(std::size(kNetRows)), kSolid, nullptr, 0, 4, 0, 0, 1, -1};
  e.map2Dto3D = kMap;
  e.map2Dto3DLength = int32_t(std::size(kMap));
  e.mirrorFlipB = 1;
  e.origamiTabOption = 1;
  return e;
}

PolyPtr LoadedEntry(const StaticShapeEntry& e) {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  LoadStaticShapeEntry(p.get(), e, nullptr);
  return p;
}

TEST(CatalogueEntry, MappedNetLoadsWithoutSolidRows) {
  PolyPtr p = LoadedEntry(MappedEntry());
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->n3DFaces, 4);
  EXPECT_EQ(p->n2DFaces, 4);
  EXPECT_EQ(p->n2DVerts, 6);
  // The solid's size comes from the map, its faces from no rows at all.
  EXPECT_EQ(p->n3DVerts, 4);
  EXPECT_EQ(p->faces3DRows, nullptr);
  EXPECT_EQ(p->map2Dto3D, kMap);
  for (int32_t f = 0; f < 4; ++f) {
    EXPECT_EQ(p->faces[f].n2D, 3);
    EXPECT_EQ(p->faces[f].n3D, 0);
  }
  EXPECT_EQ(p->faces[3].vert2D[0], 3);
  EXPECT_EQ(p->faces[3].vert2D[2], 5);
  EXPECT_EQ(p->mirrorFlipB, 1);
  EXPECT_EQ(p->warpStyle, 1);
  EXPECT_EQ(p->origamiTabOption, 1);
  EXPECT_EQ(p->correspondenceGiven, 0);
  EXPECT_EQ(p->ownsArrays, 0);
}

// Every field an entry can set, each away from its default, arrives as set;
// loading a plain entry next puts them all back.
TEST(CatalogueEntry, EveryOptionReachesTheRecordAndIsResetByTheNextLoad) {
  StaticShapeEntry e = MappedEntry();
  e.facegroupTable = kFacegroups;
  e.sphericalFlag = 2;
  e.tabStyle = 1;
  e.tabPhaseFlip = 1;
  e.origamiTabOption = 2;
  e.cramMode2 = 1;
  const float bounds[4] = {-1.5f, 1.25f, -2.0f, 0.5f};
  std::copy(std::begin(bounds), std::end(bounds), e.cramBounds);
  e.segmentStretch = 1;
  e.segmentStretchAlpha = 0.5;
  e.exportPlanShape = 9;
  e.exportFlipFirstAxis = 1;
  e.upFace = 2;
  PolyPtr p = LoadedEntry(e);
  EXPECT_EQ(p->facegroupTable, kFacegroups);
  EXPECT_EQ(p->sphericalFlag, 2);
  EXPECT_EQ(p->tabStyle, 1);
  EXPECT_EQ(p->tabPhaseFlip, 1);
  EXPECT_EQ(p->origamiTabOption, 2);
  EXPECT_EQ(p->cramMode2, 1);
  EXPECT_TRUE(std::equal(std::begin(bounds), std::end(bounds), p->cramBounds));
  EXPECT_EQ(p->segmentStretch, 1);
  EXPECT_EQ(p->segmentStretchAlpha, 0.5);
  EXPECT_EQ(p->exportPlanShape, 9);
  EXPECT_EQ(p->exportFlipFirstAxis, 1);
  EXPECT_EQ(p->upFace, 2);

  ReadFaceInfo(p.get(), 16, 0, nullptr, 1);
  EXPECT_EQ(p->map2Dto3D, nullptr);
  EXPECT_EQ(p->facegroupTable, nullptr);
  EXPECT_NE(p->faces3DRows, nullptr);
  EXPECT_EQ(p->sphericalFlag, 1);
  EXPECT_EQ(p->tabStyle, 0);
  EXPECT_EQ(p->tabPhaseFlip, 0);
  EXPECT_EQ(p->origamiTabOption, 0);
  EXPECT_EQ(p->cramMode2, 0);
  EXPECT_EQ(p->cramBounds[0], 999.0f);
  EXPECT_EQ(p->cramBounds[1], -999.0f);
  EXPECT_EQ(p->segmentStretch, 0);
  EXPECT_EQ(p->segmentStretchAlpha, 1.0);
  EXPECT_EQ(p->exportPlanShape, -1);
  EXPECT_EQ(p->mirrorFlipB, 0);
}

// Two entries sharing the solid and the map but with their own rows: each
// record points at the shared tables, and the faces follow each entry's rows.
TEST(CatalogueEntry, BorrowedArraysAreSharedNotCopied) {
  StaticShapeEntry other = MappedEntry();
  other.faces2DRows = kNetRowsReversed;
  other.rows2DLength = int32_t(std::size(kNetRowsReversed));
  PolyPtr a = LoadedEntry(MappedEntry());
  PolyPtr b = LoadedEntry(other);
  EXPECT_EQ(a->coords3D, b->coords3D);
  EXPECT_EQ(a->map2Dto3D, b->map2Dto3D);
  EXPECT_EQ(a->coords2D, b->coords2D);
  EXPECT_EQ(b->faces2DRows, kNetRowsReversed);
  for (int32_t f = 0; f < 4; ++f)
    for (int32_t j = 0; j < 3; ++j) EXPECT_EQ(b->faces[f].vert2D[j], a->faces[3 - f].vert2D[j]);
  EXPECT_EQ(b->n3DVerts, 4);
}

// An entry naming solid rows as well as a map keeps both: the map places
// the render points, and the rows, one under each net face, are the solid
// faces the exports write. A row the map contradicts links no face, rather
// than a face it does not show.
TEST(CatalogueEntry, SolidRowsBesideAMapShowUnderTheirNetFaces) {
  // Net face k through the map, except the last, whose row runs the other
  // way round.
  static constexpr int16_t kSolidRows[] = {4, 1, 3, 0, 1, 4, 2, 0, 3, 2, 4, 0, 1, 3, 2, 0};
  StaticShapeEntry e = MappedEntry();
  e.faces3DRows = kSolidRows;
  e.rows3DLength = int32_t(std::size(kSolidRows));
  PolyPtr p = LoadedEntry(e);
  EXPECT_EQ(p->faces3DRows, kSolidRows);
  EXPECT_EQ(p->map2Dto3D, kMap);
  EXPECT_EQ(p->faces[0].n3D, 3);
  EXPECT_EQ(p->n3DVerts, 4);
  FinishGeneralPolyhedron(p.get(), kNetMethodComputed, 0, 0.0, nullptr, 1);
  ASSERT_EQ(p->errorCode, kPolyErrorNone);
  for (int32_t f = 0; f < 3; ++f) {
    SCOPED_TRACE(f);
    EXPECT_EQ(p->faces[f].face3D, f);
    EXPECT_EQ(p->faces[f].cornerOffset, 0);
  }
  EXPECT_EQ(p->faces[3].face3D, -1);
  // The render points still come from the map.
  for (int32_t v = 0; v < 6; ++v) {
    double expected[3];
    MirroredPoint(p.get(), kSolid[kMap[v]], expected);
    EXPECT_FLOAT_EQ(p->verts2D[v].renderX, float(expected[0])) << v;
  }
}

// Through the fixed-net set-up, each net point's render point is the solid
// vertex the map names, with both mirror flips applied.
TEST(CatalogueEntry, FixedSetUpTakesRenderPointsFromTheMap) {
  PolyPtr p = LoadedEntry(MappedEntry());
  FinishGeneralPolyhedron(p.get(), kNetMethodFixed, 0, 0.0, nullptr, 1);
  ASSERT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->nTriangles, 4);
  for (int32_t v = 0; v < 6; ++v) {
    SCOPED_TRACE(v);
    double expected[3];
    MirroredPoint(p.get(), kSolid[kMap[v]], expected);
    EXPECT_FLOAT_EQ(p->verts2D[v].renderX, float(expected[0]));
    EXPECT_FLOAT_EQ(p->verts2D[v].renderY, float(expected[1]));
    EXPECT_FLOAT_EQ(p->verts2D[v].renderZ, float(expected[2]));
  }
  // Mirror flip B alone negates the first axis.
  EXPECT_FLOAT_EQ(p->verts2D[3].renderX, -1.0f);
  EXPECT_FLOAT_EQ(p->verts2D[3].renderY, 1.0f);
}

// Every catalogue entry that names its solid through a map covers each net
// point its loaded rows number, and names solid vertices its solid has.
TEST(CatalogueEntry, EveryMapCoversItsRows) {
  for (int32_t code = 0; code <= 220; ++code) {
    const StaticShapeEntry* e = FindStaticShape(code);
    if (!e || !e->map2Dto3D) continue;
    SCOPED_TRACE("shape " + std::to_string(code));
    PolyPtr p = LoadedEntry(*e);
    EXPECT_LE(p->n2DVerts, e->map2Dto3DLength);
    for (int32_t f = 0; f < p->n2DFaces; ++f)
      for (int32_t j = 0; j < p->faces[f].n2D; ++j) {
        const int32_t v = p->faces[f].vert2D[j];
        ASSERT_LT(v, e->map2Dto3DLength);
        EXPECT_GE(e->map2Dto3D[v], 0);
        EXPECT_LT(e->map2Dto3D[v], p->n3DVerts);
        // Solid rows beside the map must be the net's rows through it.
        if (p->faces3DRows) {
          ASSERT_EQ(p->faces[f].n3D, p->faces[f].n2D) << "face " << f;
          EXPECT_EQ(p->faces[f].vert3D[j], e->map2Dto3D[v]) << "face " << f;
        }
      }
  }
}

}  // namespace
