// Glue tabs of a polyhedron set-up: the outline walk and its alternate tabs,
// the piece numbers it writes, the balancing over solid edges (one tab per
// seam between pieces, one per solid edge for the export layout), tab depth
// 0, and tabs borrowed from another mode's net with the limits of the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/setup/polyhedron_setup_tabs.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/nets/net_triangles.h"
#include "setup_fixture.h"
#include "support/fake_host.h"

namespace {

using namespace setup_fixture;

constexpr float kTabDepth = 0.05f;

// The two net sides of every solid edge, keyed by the edge's solid vertices:
// (net face, corner) pairs found from the coordinates' vertex table alone.
std::map<std::pair<int32_t, int32_t>, std::vector<std::pair<int32_t, int32_t>>> SidesBySolidEdge(const polyhedron* p) {
  std::map<std::pair<int32_t, int32_t>, std::vector<std::pair<int32_t, int32_t>>> sides;
  for (int32_t f = 0; f < p->n2DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    for (int32_t e = 0; e < face.n2D; ++e) {
      const int32_t a = p->vert3DOfVert2D[face.vert2D[e]];
      const int32_t b = p->vert3DOfVert2D[face.vert2D[(e + 1) % face.n2D]];
      sides[{std::min(a, b), std::max(a, b)}].push_back({f, e});
    }
  }
  return sides;
}

int32_t OutlineEdges(const polyhedron* p) {
  int32_t n = 0;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n2D; ++e) n += p->faces[f].nbrFace2D[e] == -1;
  return n;
}

// A one-piece net with glue tabs: every outline edge visited, tabs on every
// other edge along the walk and on no inner edge, two triangles per tab.
TEST(SetupTabs, OnePieceNetTabsEveryOtherOutlineEdge) {
  for (const Solid solid : kAllSolids) {
    if (solid == Solid::CappedCube) continue;
    for (const Form form : {Form::Generated, Form::Static}) {
      SCOPED_TRACE(std::string(SolidName(solid)) + ", " + FormName(form));
      PolyPtr p = Load(solid, form, 1.0f, kTabDepth);
      FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
      EXPECT_EQ(p->errorCode, 0);
      const int32_t outline = OutlineEdges(p.get());
      int32_t tabs = 0;
      for (int32_t f = 0; f < p->n2DFaces; ++f)
        for (int32_t e = 0; e < p->faces[f].n2D; ++e) {
          const bool open = p->faces[f].nbrFace2D[e] == -1;
          EXPECT_EQ(p->faces[f].outlineVisited[e], open ? 1 : 0);
          if (!open) EXPECT_EQ(p->faces[f].tabEdge[e], 0);
          tabs += p->faces[f].tabEdge[e];
        }
      EXPECT_EQ(tabs, outline / 2);
      EXPECT_EQ(GlueTabTriangles(p.get()), outline);

      int32_t face = -1, edge = -1;
      for (int32_t f = 0; f < p->n2DFaces && face < 0; ++f)
        for (int32_t e = 0; e < p->faces[f].n2D && face < 0; ++e)
          if (p->faces[f].nbrFace2D[e] == -1) face = f, edge = e;
      for (int32_t step = 0; step < outline; ++step) {
        EXPECT_EQ(p->faces[face].tabEdge[edge], step % 2 == 0 ? 1 : 0) << "step " << step;
        NextAroundNet(p.get(), &face, &edge);
      }
    }
  }
}

// tabPhaseFlip moves every tab of the walk to the other edge of its pair.
TEST(SetupTabs, PhaseFlipTabsTheOtherEdges) {
  PolyPtr a = Load(Solid::Dodecahedron, Form::Generated, 1.0f, kTabDepth);
  PolyPtr b = Load(Solid::Dodecahedron, Form::Generated, 1.0f, kTabDepth);
  b->tabPhaseFlip = 1;
  FinishGeneralPolyhedron(a.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  FinishGeneralPolyhedron(b.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  for (int32_t f = 0; f < a->n2DFaces; ++f)
    for (int32_t e = 0; e < a->faces[f].n2D; ++e)
      if (a->faces[f].nbrFace2D[e] == -1) EXPECT_NE(a->faces[f].tabEdge[e], b->faces[f].tabEdge[e]);
}

// The export layout: of the two net sides of every solid edge, seam or
// fold, exactly one carries a tab.
TEST(SetupTabs, TabPerEdgeMethodTabsEverySolidEdgeOnce) {
  for (const Solid solid : kAllSolids)
    for (const Form form : {Form::Generated, Form::Static}) {
      if (solid == Solid::CappedCube && form == Form::Static) continue;
      SCOPED_TRACE(std::string(SolidName(solid)) + ", " + FormName(form));
      PolyPtr p = Load(solid, form, 1.0f, kTabDepth);
      FinishGeneralPolyhedron(p.get(), kNetMethodTabPerEdge, kCramFit, 0.0, nullptr, 1);
      EXPECT_EQ(p->errorCode, 0);
      const auto sides = SidesBySolidEdge(p.get());
      EXPECT_EQ(int32_t(sides.size()), SolidEdgeCount(p.get()));
      for (const auto& [edge, list] : sides) {
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(p->faces[list[0].first].tabEdge[list[0].second] + p->faces[list[1].first].tabEdge[list[1].second], 1)
            << "solid edge " << edge.first << "-" << edge.second;
      }
      EXPECT_EQ(GlueTabTriangles(p.get()), 2 * SolidEdgeCount(p.get()));
    }
}

// A piece that the correspondence search could not reach (the lone top face
// of a static net in two pieces) shows no solid face: the sides across from
// it are passed over rather than taken for net face 0, and every solid edge
// whose two sides are both known still carries exactly one tab.
TEST(SetupTabs, TabPerEdgePassesOverSolidFacesNoNetFaceShows) {
  // With tab depth 0 no walk runs and the balancing starts from no tabs at
  // all, which lets a side taken for face 0 undo face 0's balanced seam.
  for (const float depth : {kTabDepth, 0.0f}) {
    SCOPED_TRACE(depth);
    PolyPtr p = Load(Solid::CappedCube, Form::Static, 1.0f, depth);
    FinishGeneralPolyhedron(p.get(), kNetMethodTabPerEdge, kCramFit, 0.0, nullptr, 1);
    int32_t unlinked = 0, pairs = 0;
    for (int32_t f = 0; f < p->n2DFaces; ++f) unlinked += p->faces[f].face3D == -1;
    ASSERT_EQ(unlinked, 1);
    for (const auto& [edge, list] : SidesBySolidEdge(p.get())) {
      if (edge.first < 0 || list.size() != 2) continue;
      ++pairs;
      EXPECT_EQ(p->faces[list[0].first].tabEdge[list[0].second] + p->faces[list[1].first].tabEdge[list[1].second], 1)
          << "solid edge " << edge.first << "-" << edge.second;
    }
    EXPECT_EQ(pairs, 8);
  }
}

// A net in two pieces: every solid edge open on both sides in the net (the
// four seams between the pieces and the four cut corners of the open box)
// gets exactly one tab, however the two outline walks fell on its sides.
TEST(SetupTabs, GluedNetBalancesTheSeamsBetweenPieces) {
  PolyPtr p = Load(Solid::CappedCube, Form::Generated, 1.0f, kTabDepth);
  ASSERT_EQ(p->fragmentCount, 2);
  FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  int32_t seams = 0;
  for (const auto& [edge, list] : SidesBySolidEdge(p.get())) {
    ASSERT_EQ(list.size(), 2u);
    const PolyFace& f = p->faces[list[0].first];
    const PolyFace& g = p->faces[list[1].first];
    if (f.nbrFace2D[list[0].second] != -1) continue;
    ++seams;
    EXPECT_EQ(f.tabEdge[list[0].second] + g.tabEdge[list[1].second], 1);
  }
  EXPECT_EQ(seams, 8);
  // Folds inside a piece are glued by folding, not by tabs.
  for (int32_t j = 0; j < p->n2DFaces; ++j)
    for (int32_t e = 0; e < p->faces[j].n2D; ++e)
      if (p->faces[j].nbrFace2D[e] != -1) EXPECT_EQ(p->faces[j].tabEdge[e], 0);
}

// The walk numbers the faces it meets by outline when the shape gives no
// correspondence, and leaves the pieces of a shape that gives one alone.
TEST(SetupTabs, OutlineWalkNumbersPiecesOnlyWithoutGivenCorrespondence) {
  PolyPtr given = Load(Solid::CappedCube, Form::Generated, 1.0f, kTabDepth);
  for (int32_t f = 0; f < given->n2DFaces; ++f) given->faces[f].fragment = 9;
  FinishGeneralPolyhedron(given.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  for (int32_t f = 0; f < given->n2DFaces; ++f) EXPECT_EQ(given->faces[f].fragment, 9);

  PolyPtr p = Load(Solid::CappedCube, Form::Static, 1.0f, kTabDepth);
  ASSERT_EQ(p->correspondenceGiven, 0);
  FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  // The top face is a piece of its own: its number is not the others'.
  int32_t lone = -1;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    if (std::count(p->faces[f].nbrFace2D, p->faces[f].nbrFace2D + 4, -1) == 4) lone = f;
  ASSERT_GE(lone, 0);
  // Faces without an outline edge are met by no walk and keep their number.
  for (int32_t f = 0; f < p->n2DFaces; ++f) {
    const bool onOutline = std::count(p->faces[f].nbrFace2D, p->faces[f].nbrFace2D + 4, -1) > 0;
    if (!onOutline) {
      EXPECT_EQ(p->faces[f].fragment, 0);
      continue;
    }
    EXPECT_TRUE(p->faces[f].fragment == 1 || p->faces[f].fragment == 2);
    if (f != lone) EXPECT_NE(p->faces[f].fragment, p->faces[lone].fragment);
  }
}

// Tab depth 0: the outline walk does not run, yet the tab builder does and
// builds flat tabs on whatever edges are flagged.
TEST(SetupTabs, TabDepthZeroSkipsTheWalkButNotTheTabBuilder) {
  PolyPtr p = Load(Solid::Cube, Form::Generated, 1.0f, 0.0f);
  ASSERT_EQ(p->fragmentCount, 1);
  int32_t f = 0, e = 0;
  while (p->faces[f].nbrFace2D[e] != -1) e = (e + 1) % 4, f += e == 0;
  p->faces[f].tabEdge[e] = 1;
  FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  for (int32_t g = 0; g < p->n2DFaces; ++g)
    for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(p->faces[g].outlineVisited[k], 0);
  EXPECT_EQ(p->faces[f].tabEdge[e], 1);
  EXPECT_EQ(GlueTabTriangles(p.get()), 2);
}

// Tabs of another mode's net: drawn from a scratch solid that comes from
// the buffer suite and goes back to it; the net's own outline is not walked
// and it gets no tabs of its own. Without memory for the scratch solid the
// build goes on without those tabs.
TEST(SetupTabs, BorrowedTabsUseOneScratchSolidFromTheBufferSuite) {
  FakeHost host(4, 4, 3, 8, 3, false);
  for (const int16_t method : {kNetMethodGlued, kNetMethodTabPerEdge, kNetMethodComputed}) {
    SCOPED_TRACE(method);
    PolyPtr p = Load(Solid::Cube, Form::Generated, 1.0f, kTabDepth);
    p->exportPlanShape = 9;
    const int32_t netVerts = p->n2DVerts;
    const int64_t before = host.allocations;
    const int32_t n = FinishGeneralPolyhedron(p.get(), method, kCramFit, 0.0, &host.bufferProcs, 1);
    EXPECT_EQ(host.allocations - before, NetMethodHasTabs(method) ? 1 : 0);
    EXPECT_EQ(host.outstandingBuffers, 0);
    EXPECT_EQ(n, p->nTriangles);
    for (int32_t f = 0; f < p->n2DFaces; ++f)
      for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(p->faces[f].outlineVisited[k], 0);
    for (int32_t t = 0; t < p->nTriangles; ++t) {
      if (!p->triangles[t].isTab) continue;
      EXPECT_EQ(p->triangles[t].fragment, -1);
      for (int32_t k = 0; k < 3; ++k) EXPECT_GE(p->triangles[t].vert2D[k], netVerts);
    }
  }

  PolyPtr p = Load(Solid::Cube, Form::Generated, 1.0f, kTabDepth);
  p->exportPlanShape = 9;
  // The scratch solid never borrows tabs in turn, even from a shape that
  // leaves its own export plan shape unset (shape 22 of mode 1046 takes no
  // options from the catalogue; its scratch record reads mode 0).
  {
    PolyPtr q = Load(Solid::Cube, Form::Generated, 1.0f, kTabDepth);
    q->exportPlanShape = 1046;
    const int64_t before = host.allocations;
    FinishGeneralPolyhedron(q.get(), kNetMethodGlued, kCramFit, 0.0, &host.bufferProcs, 1);
    // The scratch record, and the four arrays of the tetrahedron the set-up
    // supplies shape 22 with; a scratch that borrowed in turn would take more.
    EXPECT_EQ(host.allocations - before, 1 + 4);
    EXPECT_EQ(host.outstandingBuffers, 0);
  }

  host.refuseAfterAllocations = 0;
  SetSystemAllocationBudget(0);
  const int32_t n = FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, &host.bufferProcs, 1);
  SetSystemAllocationBudget(-1);
  EXPECT_EQ(n, FaceTriangleCount(p.get()));
  EXPECT_EQ(GlueTabTriangles(p.get()), 0);
  EXPECT_EQ(host.outstandingBuffers, 0);
}

// The tab triangles of another net, appended: fresh vertices with the tab's
// net points and render point (1, 1, 1), the other net's face and facegroup,
// no fragment.
TEST(SetupTabs, AppendedTabTrianglesCopyTheOtherNetsTabs) {
  PolyPtr other = Load(Solid::Cube, Form::Generated, 1.0f, kTabDepth);
  FinishGeneralPolyhedron(other.get(), kNetMethodGlued, kCramUnitOnly, 0.4, nullptr, 1);
  std::vector<int32_t> tabs;
  for (int32_t t = 0; t < other->nTriangles; ++t)
    if (other->triangles[t].isTab) tabs.push_back(t);
  ASSERT_EQ(tabs.size(), 14u);

  PolyPtr p = Load(Solid::Tetrahedron, Form::Generated);
  FinishGeneralPolyhedron(p.get(), kNetMethodComputed, kCramUnitOnly, 0.0, nullptr, 1);
  const int32_t verts = p->n2DVerts, triangles = p->nTriangles;
  AppendTabTrianglesOf(p.get(), other.get());
  EXPECT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->n2DVerts, verts + 3 * 14);
  ASSERT_EQ(p->nTriangles, triangles + 14);
  for (size_t i = 0; i < tabs.size(); ++i) {
    const NetTriangle& from = other->triangles[tabs[i]];
    const NetTriangle& t = p->triangles[triangles + int32_t(i)];
    EXPECT_EQ(t.isTab, 1);
    EXPECT_EQ(t.hideFlag, 0);
    EXPECT_EQ(t.fragment, -1);
    EXPECT_EQ(t.face2D, from.face2D);
    EXPECT_EQ(t.facegroup, NetTriangleFacegroup(other.get(), from.face2D));
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t v = verts + 3 * int32_t(i) + k;
      EXPECT_EQ(t.vert2D[k], v);
      EXPECT_EQ(p->vert2DUsed[v], 1);
      EXPECT_EQ(p->verts2D[v].x, other->verts2D[from.vert2D[k]].x);
      EXPECT_EQ(p->verts2D[v].y, other->verts2D[from.vert2D[k]].y);
      EXPECT_EQ(p->verts2D[v].renderX, 1.0f);
      EXPECT_EQ(p->verts2D[v].renderZ, 1.0f);
    }
  }
}

// Near the record's limits: a tab needs three more vertices below 4010
// (else error 4 and nothing is added) and one more triangle below 3010
// (else error 7, its vertices stay).
TEST(SetupTabs, AppendedTabsStopAtTheRecordsLimits) {
  PolyPtr other = Load(Solid::Cube, Form::Generated, 1.0f, kTabDepth);
  FinishGeneralPolyhedron(other.get(), kNetMethodGlued, kCramUnitOnly, 0.0, nullptr, 1);
  constexpr int32_t kTabs = 14;
  const struct {
    const char* name;
    int32_t verts, triangles;
    int32_t error, addedVerts, addedTriangles;
  } cases[] = {
      {"room for all", 100, 100, 0, 3 * kTabs, kTabs},
      {"vertices full", 4007, 100, 4, 0, 0},
      {"room for one more tab's vertices", 4004, 100, 4, 3, 1},
      {"triangles full", 100, 3009, 7, 3 * kTabs, 0},
      {"room for one more triangle", 100, 3008, 7, 3 * kTabs, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr p = NewRecord(1.0f, 0.0f);
    p->n2DVerts = c.verts;
    p->nTriangles = c.triangles;
    AppendTabTrianglesOf(p.get(), other.get());
    EXPECT_EQ(p->errorCode, c.error);
    EXPECT_EQ(p->n2DVerts - c.verts, c.addedVerts);
    EXPECT_EQ(p->nTriangles - c.triangles, c.addedTriangles);
    EXPECT_LE(p->n2DVerts, kPolyMax2DVerts - 1);
    EXPECT_LE(p->nTriangles, kPolyMaxTriangles - 1);
  }
}

}  // namespace
