// Life of a polyhedron record: fresh, initialised, owning arrays from the
// host or the system, borrowing static tables, wiped, freed.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/globals.h"
#include "platform/memory.h"
#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "projection/framing.h"
#include "support/fake_host.h"

namespace {

constexpr double kBorrowed2D[3][2] = {{0, 0}, {1, 0}, {0, 1}};
constexpr double kBorrowed3D[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
constexpr int16_t kBorrowedRows[] = {1, 2, 3, 0};

void Borrow(polyhedron* p) {
  p->coords2D = kBorrowed2D;
  p->coords3D = kBorrowed3D;
  p->faces2DRows = kBorrowedRows;
  p->faces3DRows = kBorrowedRows;
  p->ownsArrays = 0;
}

TEST(PolyStorage, InitPolySetsTheDefaultsOfANewRecord) {
  PolyPtr p = NewPoly(0.75f);
  EXPECT_EQ(p->targetRect[0], 0.0f);
  EXPECT_EQ(p->targetRect[1], 1.0f);
  EXPECT_EQ(p->targetRect[2], 0.0f);
  EXPECT_EQ(p->targetRect[3], 0.75f);
  EXPECT_EQ(p->centre[0], 0.5f);
  EXPECT_EQ(p->centre[1], 0.375f);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(p->netBounds[i], (i == 1 || i == 3) ? 1.0f : 0.0f);
  EXPECT_EQ(p->snugglingScale, 1.0f);
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->scissorMarkCount, 0);
  for (int32_t tag : p->scissorMarkOfTag) EXPECT_EQ(tag, -1);
  EXPECT_EQ(p->setupCache.outputMode, kPolySetupCacheEmpty);
  EXPECT_EQ(p->setupCache.aspect, -1.0f);
  EXPECT_EQ(p->setupCache.tabDepth, -1.0f);
  EXPECT_EQ(p->setupCache.netMethod, 0u);
  EXPECT_EQ(p->unfoldingIndex, -1);
  EXPECT_EQ(p->ownsArrays, 0);
  EXPECT_EQ(p->coords2D, nullptr);

  // Next and previous corner of an n-corner face, for every corner.
  for (int n = 1; n <= 9; ++n)
    for (int c = 0; c < n; ++c) {
      EXPECT_EQ(p->modTables[n][c + 1], (c + 1) % n);
      EXPECT_EQ(p->modTables[n][c + n - 1], (c + n - 1) % n);
    }
  EXPECT_EQ(p->modTables[9][19], 19 % 9);

  InitPoly(nullptr, 1.0f, 0.0f);  // left alone
}

TEST(PolyStorage, OwnedArraysComeFromTheHostAndGoBackOnce) {
  FakeHost host(4, 4, 3, 8, 3, false);
  PolyPtr p = NewPoly();
  getPolyStorageEtc(p.get(), &host.bufferProcs, 4010, kPolyMaxFaces);
  EXPECT_EQ(p->ownsArrays, 1);
  EXPECT_EQ(host.outstandingBuffers, 4);
  for (BufferID id : p->bufferIds) EXPECT_NE(id, 0u);
  EXPECT_EQ(p->n3DFaces, 0);
  EXPECT_EQ(p->n3DVerts, 0);
  EXPECT_EQ(p->faces[kPolyMaxFaces - 1].nbrFace3D[9], -1);
  EXPECT_EQ(p->faces[0].nbrEdge2D[0], -1);
  // The last face row holds a ten-corner face and its closing 0.
  int16_t* rows = MutableFaces2DRows(p.get());
  ASSERT_NE(rows, nullptr);
  rows[kPolyFaceRowEntries - 1] = 0;

  // A second reservation gives back the first set before taking a new one.
  getPolyStorageEtc(p.get(), &host.bufferProcs, 4010, kPolyMaxFaces);
  EXPECT_EQ(host.outstandingBuffers, 4);

  DumpPolyStorage(p.get(), &host.bufferProcs);
  EXPECT_EQ(host.outstandingBuffers, 0);
  EXPECT_EQ(p->ownsArrays, 0);
  EXPECT_EQ(p->coords2D, nullptr);
  EXPECT_EQ(p->faces3DRows, nullptr);
  for (BufferID id : p->bufferIds) EXPECT_EQ(id, 0u);
  DumpPolyStorage(p.get(), &host.bufferProcs);  // twice: nothing more to free
  EXPECT_EQ(host.outstandingBuffers, 0);
  DumpPolyStorage(nullptr, &host.bufferProcs);
}

TEST(PolyStorage, BorrowedTablesAreNeverFreedNorWritten) {
  PolyPtr p = NewPoly();
  Borrow(p.get());
  DumpPolyStorage(p.get(), nullptr);
  EXPECT_EQ(p->coords2D, kBorrowed2D);
  EXPECT_EQ(p->faces3DRows, kBorrowedRows);

  // Writers refuse read-only tables instead of faulting on them.
  EXPECT_EQ(MutableCoords3D(p.get()), nullptr);
  Set3DVert_T(p.get(), 0, triplex{9, 9, 9});
  EXPECT_EQ(kBorrowed3D[0][0], 0.0);
  Set2DPoint(1, DPoint{5, 5, 0, 1, 1, 1}, p.get());
  EXPECT_EQ(p->vert2DUsed[1], 0);
  EXPECT_EQ(p->errorCode, kPolyErrorNoStorage);
  p->errorCode = 0;
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 3, 3, 0, 1), -1);
  EXPECT_EQ(p->errorCode, kPolyErrorNoStorage);
  p->n3DVerts = 3;
  const double known[3] = {1, 0, 0}, fresh[3] = {5, 5, 5};
  EXPECT_EQ(AddNew3DDVertToPolyhedron(p.get(), known), 1);  // matching still works
  EXPECT_EQ(AddNew3DDVertToPolyhedron(p.get(), fresh), -1);

  // A reservation forgets the tables without freeing them.
  getPolyStorageEtc(p.get(), nullptr, 4010, kPolyMaxFaces);
  EXPECT_EQ(p->ownsArrays, 1);
  EXPECT_NE(p->coords2D, kBorrowed2D);
}

TEST(PolyStorage, NoMemoryLeavesNothingOwnedAndTheAddersRefuse) {
  // Host refuses every buffer; the system gives two blocks and no more.
  for (int64_t systemBlocks : {0, 2}) {
    FakeHost host(4, 4, 3, 8, 3, false);
    host.refuseAfterAllocations = 0;
    PolyPtr p = NewPoly();
    SetSystemAllocationBudget(systemBlocks);
    getPolyStorageEtc(p.get(), &host.bufferProcs, 4010, kPolyMaxFaces);
    SetSystemAllocationBudget(-1);
    EXPECT_EQ(p->errorCode, kPolyErrorNoStorage) << systemBlocks;
    EXPECT_EQ(p->ownsArrays, 0);
    EXPECT_EQ(p->coords2D, nullptr);
    EXPECT_EQ(p->coords3D, nullptr);
    EXPECT_EQ(host.outstandingBuffers, 0);

    const double point[3] = {0, 0, 0};
    EXPECT_EQ(AddNew3DDVertToPolyhedron(p.get(), point), -1);
    EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 0, 0, 0, 1), -1);
    const int32_t corners[3] = {0, 1, 2};
    Add3DFaceToPolyhedron_macro(p.get(), corners, 3, -1, 0, 0, -1, -1, -1);
    EXPECT_EQ(p->n3DFaces, 0);
  }
}

TEST(PolyStorage, WipeKeepsArraysAndContentsButEmptiesTheShape) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  const int32_t v = AddNew2DVertToPolyhedron(p.get(), 0.25, 0.5, 3, 2);
  p->faces[2].placedFlags[3] = 1;
  p->faces[2].edgeFlags3D[1] = kEdgeFlagCut;
  p->triangles[7].isTab = 1;
  p->nTriangles = 8;
  p->skipOverlapTest = 1;
  const auto* coords = p->coords3D;

  WipeFaceInfo(p.get());
  EXPECT_EQ(p->coords3D, coords);
  EXPECT_EQ(p->ownsArrays, 1);
  EXPECT_EQ(p->coords3D[7][0], 0.5);  // contents stay
  EXPECT_EQ(p->coords2D[v][0], 0.25);
  EXPECT_EQ(p->n3DVerts, 8);  // the vertex count belongs to the storage
  EXPECT_EQ(p->n3DFaces, 0);
  EXPECT_EQ(p->nTriangles, 0);
  EXPECT_EQ(p->skipOverlapTest, 0);
  EXPECT_EQ(p->upFace, -1);
  const PolyFace& f = p->faces[2];
  EXPECT_EQ(f.n3D, 0);
  EXPECT_EQ(f.vert3D[0], -1);
  EXPECT_EQ(f.nbrFace3D[0], -1);
  EXPECT_EQ(f.edgeFlags3D[1], 0);
  EXPECT_EQ(f.placedFlags[3], 1);  // the unfolding clears its own flag
  EXPECT_EQ(f.face3D, -1);
  EXPECT_EQ(p->triangles[7].isTab, 0);
  EXPECT_EQ(p->triangles[7].face2D, -1);
  EXPECT_EQ(p->vert2DUsed[v], 0);
  EXPECT_EQ(p->vert3DOf2D[v], kPolyNoVertex16);
  EXPECT_EQ(p->faceCount3D[0], 0);
  EXPECT_EQ(p->sideVertexLists[19][7], kPolyNoVertex16);
  EXPECT_EQ(p->tagVertexLists[0][0], kPolyNoVertex16);
  WipeFaceInfo(nullptr);
}

TEST(PolyStorage, SinglePointAccessors) {
  PolyPtr p = NewOwningPoly();
  DPoint d{};
  Grab2DPoint(-3, &d, p.get());
  EXPECT_EQ(d.x, 0.0);
  EXPECT_EQ(d.vert3D, -1);
  EXPECT_EQ(d.fragment, -1);
  EXPECT_EQ(d.index, -1);
  EXPECT_EQ(d.used, 0);

  Set2DPoint(-1, DPoint{1, 2, 3, 4, 0, 1}, p.get());
  for (uint8_t used : p->vert2DUsed) ASSERT_EQ(used, 0);
  Set2DPoint(kPolyMax2DVerts, DPoint{1, 2, 3, 4, 0, 1}, p.get());  // past the record: nothing

  Set2DPoint(17, DPoint{1.5, -2.5, 6, 3, 0, 0}, p.get());
  Grab2DPoint(17, &d, p.get());
  EXPECT_EQ(d.x, 1.5);
  EXPECT_EQ(d.y, -2.5);
  EXPECT_EQ(d.vert3D, 6);
  EXPECT_EQ(d.fragment, 3);
  EXPECT_EQ(d.index, 17);
  EXPECT_EQ(d.used, 1);
  Grab2DPoint(18, &d, p.get());  // a slot without a 3D vertex reads -1
  EXPECT_EQ(d.vert3D, -1);

  Set3DVert_T(p.get(), 4, triplex{1, 2, 3});
  double x, y, z, v[3];
  grab_coordinates3DD(4, p.get(), &x, &y, &z);
  grab_coordinates3D_into_vector3D(4, p.get(), v);
  const triplex t = grab_coordinates3D_into_T(4, p.get());
  EXPECT_EQ(x + y + z + v[0] + v[1] + v[2] + t.x + t.y + t.z, 18.0);
  grab_coordinates2DD(17, p.get(), &x, &y);
  EXPECT_EQ(x, 1.5);

  p->verts2D[5] = PolyVertex2D{0.25f, 0.75f, 0, 0, 0};
  const fcomplex c = GrabRederingVertIntoComplex(5, p.get());
  EXPECT_EQ(c.re, 0.25);
  EXPECT_EQ(c.im, 0.75);
  const fcomplex none = GrabRederingVertIntoComplex(-1, p.get());
  EXPECT_EQ(none.re, 0.0);
}

TEST(PolyStorage, SnugglingTakesScaleAndCentreOnly) {
  PolyPtr p = NewPoly(0.5f);
  p->snugglingScale = 0.25f;
  p->centre[0] = 0.75f;
  SnuggleRecord s{};
  s.aspect = 0.5;
  s.centerY = 0.125;
  FetchPolySnuggling(p.get(), &s);
  EXPECT_EQ(s.scale, 0.25);
  EXPECT_EQ(s.invScale, 4.0);
  EXPECT_EQ(s.centerX, 0.25);
  EXPECT_EQ(s.centerY, 0.125);
  EXPECT_EQ(s.aspect, 0.5);
}

// The record lives inside the per-invocation storage and as the input solid;
// both are zero-filled heap blocks, and the frame frees through the record.
TEST(PolyStorage, FrameStorageHoldsTheRecordAndFreesItsArrays) {
  FakeHost host(4, 4, 3, 8, 3, false);
  polyhedron* out = &host.storage->outputPolyhedron;
  NullifyPolyStorage(out);
  InitPoly(out, 1.0f, 0.0f);
  getPolyStorageEtc(out, &host.bufferProcs, 4010, kPolyMaxFaces);
  EXPECT_EQ(host.outstandingBuffers, 4);
  DumpPolyStorage(out, &host.bufferProcs);
  EXPECT_EQ(host.outstandingBuffers, 0);
}

}  // namespace
