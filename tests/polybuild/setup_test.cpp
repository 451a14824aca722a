// The steps of a polyhedron set-up after the shape is loaded, per net method,
// on small solids in the forms the catalogue leaves them: which steps run,
// the turn of the net, render points and their mirror signs, the triangles,
// the fit, the up vector, centroids, the vertex table and scissor planes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/nets/scissor_marks.h"
#include "polyhedron/vertex_maps.h"
#include "projection/planes.h"
#include "setup_fixture.h"

namespace {

using namespace setup_fixture;

struct Loaded {
  std::vector<int16_t> table;  // the fixed net's 2D-to-3D table
  PolyPtr poly;
};

std::unique_ptr<Loaded> LoadSolid(Solid solid, Form form, float aspect = 1.0f, float tabDepth = 0.0f) {
  auto l = std::make_unique<Loaded>();
  l->poly = Load(solid, form, aspect, tabDepth, &l->table);
  return l;
}

std::string Trace(Solid solid, Form form, int16_t method) {
  return std::string(SolidName(solid)) + ", " + FormName(form) + ", method " + std::to_string(method);
}

// The plain mean of a solid face's corners, from the coordinates.
void MeanOfFace(const polyhedron* p, int32_t f, double out[3]) {
  out[0] = out[1] = out[2] = 0.0;
  const PolyFace& face = p->faces[f];
  for (int32_t k = 0; k < face.n3D; ++k)
    for (int i = 0; i < 3; ++i) out[i] += p->coords3D[face.vert3D[k]][i] / face.n3D;
}

int32_t FirstFaceWithMostCorners(const polyhedron* p) {
  int32_t best = 0;
  for (int32_t f = 1; f < p->n3DFaces; ++f)
    if (p->faces[f].n3D > p->faces[best].n3D) best = f;
  return best;
}

constexpr float kSentinel = 7.0f;

void FillSentinels(polyhedron* p) {
  for (PolyVertex2D& v : p->verts2D) v.renderX = v.renderY = v.renderZ = kSentinel;
  for (PolyFace& f : p->faces) std::fill(std::begin(f.centroid), std::end(f.centroid), double(kSentinel));
}

struct Box {
  float xMin = 1e30f, xMax = -1e30f, yMin = 1e30f, yMax = -1e30f;
};

Box UsedBox(const polyhedron* p) {
  Box b;
  for (int32_t v = 0; v < p->n2DVerts; ++v) {
    if (!p->vert2DUsed[v]) continue;
    b.xMin = std::min(b.xMin, p->verts2D[v].x);
    b.xMax = std::max(b.xMax, p->verts2D[v].x);
    b.yMin = std::min(b.yMin, p->verts2D[v].y);
    b.yMax = std::max(b.yMax, p->verts2D[v].y);
  }
  return b;
}

// Which steps each method runs, shown by what they leave behind: triangles,
// glue tabs, corner marks, render points, the up vector, centroids and the
// fit, on every solid in the form its method expects.
TEST(SetupMethods, EachMethodRunsItsSteps) {
  const struct {
    int16_t method;
    Form form;
    bool triangles, tabs, marks, renderPoints, fixedUp;
  } cases[] = {
      {kNetMethodFixed, Form::Fixed, true, false, true, true, true},
      {kNetMethodGlued, Form::Static, true, true, false, true, false},
      {kNetMethodGlued, Form::Generated, true, true, false, true, false},
      {kNetMethodProcedural, Form::Generated, true, false, false, true, false},
      {kNetMethodTabPerEdge, Form::Static, true, true, false, true, false},
      {kNetMethodTabPerEdge, Form::Generated, true, true, false, true, false},
      {kNetMethodSolidOnly, Form::Generated, false, false, false, false, false},
      {kNetMethodFixedUncleansed, Form::Fixed, true, false, false, true, true},
      {kNetMethodComputed, Form::Static, true, false, false, true, false},
      {kNetMethodComputed, Form::Generated, true, false, false, true, false},
  };
  constexpr float kAspect = 0.75f;
  constexpr float kEps = 1e-5f;
  for (const Solid solid : kAllSolids)
    for (const auto& c : cases) {
      // A static net is matched to its solid by walking its links, so it is
      // one piece; the two-piece net comes only generated or fixed.
      if (solid == Solid::CappedCube && c.form == Form::Static) continue;
      SCOPED_TRACE(Trace(solid, c.form, c.method));
      auto l = LoadSolid(solid, c.form, kAspect, 0.05f);
      polyhedron* p = l->poly.get();
      FillSentinels(p);
      const int32_t n = FinishGeneralPolyhedron(p, c.method, kCramFit, 0.3, nullptr, 1);
      EXPECT_EQ(p->errorCode, 0);
      EXPECT_EQ(n, p->nTriangles);
      EXPECT_EQ(n - GlueTabTriangles(p) - CornerMarkTriangles(p), c.triangles ? FaceTriangleCount(p) : 0);
      EXPECT_EQ(GlueTabTriangles(p) > 0, c.tabs);
      EXPECT_EQ(CornerMarkTriangles(p), c.marks ? 4 : 0);

      for (int32_t f = 0; f < p->n2DFaces; ++f)
        for (int32_t k = 0; k < p->faces[f].n2D; ++k) {
          const int32_t v = p->faces[f].vert2D[k];
          const PolyVertex2D& q = p->verts2D[v];
          if (!c.renderPoints) {
            EXPECT_EQ(q.renderX, kSentinel);
            continue;
          }
          // A fixed net knows its solid vertices only from its own table.
          const int32_t w = c.form == Form::Fixed ? l->table[size_t(v)] : p->vert3DOfVert2D[v];
          ASSERT_GE(w, 0) << "net vertex " << v;
          EXPECT_EQ(q.renderX, float(p->coords3D[w][0]));
          EXPECT_EQ(q.renderY, float(p->coords3D[w][1]));
          EXPECT_EQ(q.renderZ, float(p->coords3D[w][2]));
        }

      double up[3] = {0.0, 0.0, -1.0};
      if (!c.fixedUp) MeanOfFace(p, FirstFaceWithMostCorners(p), up);
      for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(p->upVector[i], up[i]);
      for (int32_t f = 0; f < p->n3DFaces; ++f) {
        const PolyFace& face = p->faces[f];
        if (c.fixedUp) {
          EXPECT_EQ(face.centroid[0], double(kSentinel));
          continue;
        }
        double mean[3];
        MeanOfFace(p, f, mean);
        const double len = std::sqrt(mean[0] * mean[0] + mean[1] * mean[1] + mean[2] * mean[2]);
        for (int i = 0; i < 3; ++i) {
          EXPECT_NEAR(face.centroid[i], mean[i] / len, 1e-6);
          EXPECT_EQ(face.centroidF[i], float(face.centroid[i]));
        }
      }

      const Box b = UsedBox(p);
      EXPECT_GE(b.xMin, -kEps);
      EXPECT_LE(b.xMax, 1.0f + kEps);
      EXPECT_GE(b.yMin, -kEps);
      EXPECT_LE(b.yMax, kAspect + kEps);
      // Without the turn the float net points are never set from the net,
      // so only methods that turn it have an extent to fit.
      if (c.method != kNetMethodSolidOnly) {
        EXPECT_TRUE(std::fabs(b.xMax - b.xMin - 1.0f) < kEps || std::fabs(b.yMax - b.yMin - kAspect) < kEps);
      }
    }
}

// Net points are the double net coordinates turned counter-clockwise by the
// angle, rounded once; the solid-only method leaves the net as it was.
TEST(SetupMethods, NetTurnsByTheAngle) {
  for (const double angle : {0.0, 0.5, -2.0, 3.141592653589793}) {
    for (const int16_t method : {kNetMethodComputed, kNetMethodSolidOnly}) {
      SCOPED_TRACE("angle " + std::to_string(angle) + ", method " + std::to_string(method));
      auto l = LoadSolid(Solid::Dodecahedron, Form::Generated);
      polyhedron* p = l->poly.get();
      // Points that differ from the turned net, so that a skipped turn shows.
      for (int32_t v = 0; v < p->n2DVerts; ++v) p->verts2D[v].x = p->verts2D[v].y = float(v) + 0.25f;
      std::vector<PolyVertex2D> before(std::begin(p->verts2D), std::end(p->verts2D));
      FinishGeneralPolyhedron(p, method, kCramUnitOnly, angle, nullptr, 1);
      const double c = std::cos(angle), s = std::sin(angle);
      for (int32_t v = 0; v < p->n2DVerts; ++v) {
        if (!p->vert2DUsed[v]) continue;
        const double x = p->coords2D[v][0], y = p->coords2D[v][1];
        const float ex = method == kNetMethodSolidOnly ? before[size_t(v)].x : float(c * x - s * y);
        const float ey = method == kNetMethodSolidOnly ? before[size_t(v)].y : float(x * s + y * c);
        EXPECT_EQ(p->verts2D[v].x, ex) << "vertex " << v;
        EXPECT_EQ(p->verts2D[v].y, ey) << "vertex " << v;
      }
    }
  }
}

// Every render point is the solid point (a·b·x, a·y, z), a = -1 with flip
// A, b = -1 with flip B, through the face links or the fixed table alike.
TEST(SetupMethods, RenderPointsTakeTheMirrorSigns) {
  const struct {
    uint8_t flipA, flipB;
    double sx, sy;
  } flips[] = {{0, 0, 1, 1}, {1, 0, -1, -1}, {0, 1, -1, 1}, {1, 1, 1, -1}};
  const struct {
    Form form;
    int16_t method;
  } routes[] = {{Form::Generated, kNetMethodProcedural},
                {Form::Generated, kNetMethodComputed},
                {Form::Static, kNetMethodGlued},
                {Form::Fixed, kNetMethodFixed},
                {Form::Fixed, kNetMethodFixedUncleansed},
                // A shape with a fixed table reads it whatever the method.
                {Form::Fixed, kNetMethodComputed}};
  for (const auto& r : routes)
    for (const auto& m : flips) {
      SCOPED_TRACE(Trace(Solid::TruncatedIcosahedron, r.form, r.method) + ", flips " + std::to_string(m.flipA) +
                   std::to_string(m.flipB));
      auto l = LoadSolid(Solid::TruncatedIcosahedron, r.form);
      polyhedron* p = l->poly.get();
      p->mirrorFlipA = m.flipA;
      p->mirrorFlipB = m.flipB;
      FinishGeneralPolyhedron(p, r.method, kCramFit, 0.0, nullptr, 1);
      int32_t checked = 0;
      for (int32_t f = 0; f < p->n2DFaces; ++f)
        for (int32_t k = 0; k < p->faces[f].n2D; ++k) {
          const int32_t v = p->faces[f].vert2D[k];
          const int32_t w = r.form == Form::Fixed ? l->table[size_t(v)] : p->vert3DOfVert2D[v];
          ASSERT_GE(w, 0);
          EXPECT_EQ(p->verts2D[v].renderX, float(m.sx * p->coords3D[w][0]));
          EXPECT_EQ(p->verts2D[v].renderY, float(m.sy * p->coords3D[w][1]));
          EXPECT_EQ(p->verts2D[v].renderZ, float(p->coords3D[w][2]));
          ++checked;
        }
      EXPECT_EQ(checked, 60 * 3);  // three faces meet at each of the 60 corners
    }
}

// A static net matched by the correspondence search: each net face's render
// points run around one solid face in its own order (whichever symmetric
// match the search found).
TEST(SetupMethods, StaticNetsFindTheirSolidFaces) {
  for (const Solid solid : kAllSolids) {
    if (solid == Solid::CappedCube) continue;
    SCOPED_TRACE(SolidName(solid));
    auto l = LoadSolid(solid, Form::Static);
    polyhedron* p = l->poly.get();
    FinishGeneralPolyhedron(p, kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
    std::vector<int32_t> shown(size_t(p->n3DFaces), 0);
    for (int32_t f = 0; f < p->n2DFaces; ++f) {
      const PolyFace& face = p->faces[f];
      ASSERT_GE(face.face3D, 0) << "net face " << f;
      ++shown[size_t(face.face3D)];
      const PolyFace& solidFace = p->faces[face.face3D];
      ASSERT_EQ(face.n2D, solidFace.n3D);
      for (int32_t k = 0; k < face.n2D; ++k) {
        const int32_t w = solidFace.vert3D[(k + face.cornerOffset) % face.n2D];
        EXPECT_EQ(p->vert3DOfVert2D[face.vert2D[k]], w);
        EXPECT_EQ(p->verts2D[face.vert2D[k]].renderX, float(p->coords3D[w][0]));
      }
    }
    for (int32_t f = 0; f < p->n3DFaces; ++f) EXPECT_EQ(shown[size_t(f)], 1) << "solid face " << f;
  }
}

// A fixed net whose shape has no 2D-to-3D table must not read one: its
// corners take their solid points through the face links where there are
// any, and otherwise keep their render points.
TEST(SetupMethods, FixedMethodWithoutTableFallsBackOnFaceLinks) {
  for (const int16_t method : {kNetMethodFixed, kNetMethodFixedUncleansed}) {
    SCOPED_TRACE(method);
    auto linked = LoadSolid(Solid::Cube, Form::Generated);
    FillSentinels(linked->poly.get());
    FinishGeneralPolyhedron(linked->poly.get(), method, kCramFit, 0.0, nullptr, 1);
    const polyhedron* p = linked->poly.get();
    for (int32_t f = 0; f < p->n2DFaces; ++f)
      for (int32_t k = 0; k < p->faces[f].n2D; ++k) {
        const int32_t v = p->faces[f].vert2D[k];
        EXPECT_EQ(p->verts2D[v].renderZ, float(p->coords3D[p->vert3DOfVert2D[v]][2]));
      }

    auto unlinked = LoadSolid(Solid::Cube, Form::Static);
    FillSentinels(unlinked->poly.get());
    const int32_t n = FinishGeneralPolyhedron(unlinked->poly.get(), method, kCramFit, 0.0, nullptr, 1);
    EXPECT_GT(n, 0);
    const polyhedron* q = unlinked->poly.get();
    for (int32_t f = 0; f < q->n2DFaces; ++f) EXPECT_EQ(q->verts2D[q->faces[f].vert2D[0]].renderX, kSentinel);
  }
}

// Method 0 recomputes which 2D vertices are in use; method 5 keeps the flags
// as loaded. Method 2 keeps the builder's 2D links; method 6 rebuilds them.
TEST(SetupMethods, CleansingAndLinksFollowTheMethod) {
  for (const int16_t method : {kNetMethodFixed, kNetMethodFixedUncleansed}) {
    auto l = LoadSolid(Solid::Cube, Form::Fixed);
    polyhedron* p = l->poly.get();
    const int32_t stray = kPolyMax2DVerts - 10;  // beyond the corner marks that method 0 adds
    p->vert2DUsed[stray] = 1;
    FinishGeneralPolyhedron(p, method, kCramUnitOnly, 0.0, nullptr, 1);
    EXPECT_EQ(p->vert2DUsed[stray], method == kNetMethodFixed ? 0 : 1) << "method " << method;
  }
  for (const int16_t method : {kNetMethodProcedural, kNetMethodComputed}) {
    auto l = LoadSolid(Solid::Cube, Form::Generated);
    polyhedron* p = l->poly.get();
    int32_t e = 0;
    while (p->faces[0].nbrFace2D[e] == -1) ++e;
    const int32_t neighbour = p->faces[0].nbrFace2D[e];
    p->faces[0].nbrFace2D[e] = -1;
    FinishGeneralPolyhedron(p, method, kCramUnitOnly, 0.0, nullptr, 1);
    EXPECT_EQ(p->faces[0].nbrFace2D[e], method == kNetMethodComputed ? neighbour : -1) << "method " << method;
  }
}

// Cram 0 fits the net into the target area, cram 1 only resets the unit
// scales, cram 2 places it by the planned centre and scale.
TEST(SetupMethods, TheFitFollowsTheCramMode) {
  for (const float aspect : {0.5f, 1.0f, 2.0f}) {
    SCOPED_TRACE(aspect);
    auto l = LoadSolid(Solid::Icosahedron, Form::Generated, aspect);
    FinishGeneralPolyhedron(l->poly.get(), kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
    const Box b = UsedBox(l->poly.get());
    EXPECT_NEAR((b.xMin + b.xMax) / 2, 0.5f, 1e-5f);
    EXPECT_NEAR((b.yMin + b.yMax) / 2, aspect / 2, 1e-5f);
    EXPECT_TRUE(std::fabs(b.xMax - b.xMin - 1.0f) < 1e-5f || std::fabs(b.yMax - b.yMin - aspect) < 1e-5f);
  }
  auto raw = LoadSolid(Solid::Icosahedron, Form::Generated);
  polyhedron* p = raw->poly.get();
  FinishGeneralPolyhedron(p, kNetMethodComputed, kCramUnitOnly, 0.0, nullptr, 1);
  const int32_t v = p->faces[0].vert2D[0];
  EXPECT_EQ(p->verts2D[v].x, float(p->coords2D[v][0]));
  EXPECT_EQ(p->unitScale[0], 1.0f);

  auto planned = LoadSolid(Solid::Icosahedron, Form::Generated);
  polyhedron* q = planned->poly.get();
  q->plannedPlacement[0] = 0.25f;
  q->plannedPlacement[1] = -0.5f;
  q->plannedPlacement[2] = 0.125f;
  q->unfoldingIndex = 3;
  q->tabDepth = 0.04f;
  FinishGeneralPolyhedron(q, kNetMethodComputed, kCramPlanned, 0.0, nullptr, 1);
  EXPECT_EQ(q->unfoldingBuilt, 3);
  EXPECT_EQ(q->tabDepthBuilt, 0.04f);
  const int32_t w = q->faces[0].vert2D[0];
  EXPECT_FLOAT_EQ(q->verts2D[w].x, (float(q->coords2D[w][0]) - 0.25f) * 0.125f + 0.5f);
  EXPECT_FLOAT_EQ(q->verts2D[w].y, (float(q->coords2D[w][1]) + 0.5f) * 0.125f + 0.5f);
}

// The up vector is the centroid of polyhedron.upFace, or of the first face
// with the most corners; the fixed methods point it down the z axis.
TEST(SetupMethods, UpFaceAndUpVector) {
  const struct {
    const char* name;
    Solid solid;
    int32_t upFace;
    int32_t expectedFace;  // -1: the first face with the most corners
  } cases[] = {
      {"cube, no up face", Solid::Cube, -1, 0},
      {"cube, up face 4", Solid::Cube, 4, 4},
      {"truncated icosahedron: the first hexagon", Solid::TruncatedIcosahedron, -1, -1},
      {"dodecahedron, up face 7", Solid::Dodecahedron, 7, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto l = LoadSolid(c.solid, Form::Generated);
    polyhedron* p = l->poly.get();
    p->upFace = c.upFace;
    FinishGeneralPolyhedron(p, kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
    const int32_t face = c.expectedFace >= 0 ? c.expectedFace : FirstFaceWithMostCorners(p);
    if (c.expectedFace < 0) {
      EXPECT_EQ(p->faces[face].n3D, 6);
    }
    double mean[3];
    MeanOfFace(p, face, mean);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(p->upVector[i], mean[i]);
    double fetched[3];
    FetchCentroidOf3DFace(p, face, fetched);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(fetched[i], mean[i]);
  }
  // A record without faces: face 0, which has no corners.
  PolyPtr empty = NewRecord(1.0f, 0.0f);
  empty->upVector[0] = 5.0;
  FinishGeneralPolyhedron(empty.get(), kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
  EXPECT_EQ(empty->upVector[0], 0.0);
  EXPECT_EQ(empty->nTriangles, 0);
}

// Origami corner marks: for the fixed method unless the shape refuses them
// (option 1), for every method when the shape asks (option 2).
TEST(SetupMethods, CornerMarksFollowTheOrigamiOption) {
  const struct {
    int32_t option;
    int16_t method;
    Form form;
    int32_t marks;
  } cases[] = {
      {0, kNetMethodFixed, Form::Fixed, 4},         {0, kNetMethodFixedUncleansed, Form::Fixed, 0},
      {0, kNetMethodGlued, Form::Static, 0},        {1, kNetMethodFixed, Form::Fixed, 0},
      {2, kNetMethodGlued, Form::Static, 4},        {2, kNetMethodComputed, Form::Generated, 4},
      {2, kNetMethodSolidOnly, Form::Generated, 4}, {2, kNetMethodFixedUncleansed, Form::Fixed, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("option " + std::to_string(c.option) + ", method " + std::to_string(c.method));
    auto l = LoadSolid(Solid::Cube, c.form, 1.0f, 0.05f);
    l->poly->origamiTabOption = c.option;
    FinishGeneralPolyhedron(l->poly.get(), c.method, kCramFit, 0.0, nullptr, 1);
    EXPECT_EQ(CornerMarkTriangles(l->poly.get()), c.marks);
  }
}

// Scissor marks get their pivot point and the plane of their three
// companion points, mirrored like the render points; a mark missing a
// companion gets no plane.
TEST(SetupMethods, ScissorPlanesAreMirrored) {
  const struct { uint8_t flipA, flipB; } flips[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (const auto& m : flips) {
    SCOPED_TRACE(std::to_string(m.flipA) + std::to_string(m.flipB));
    auto l = LoadSolid(Solid::Cube, Form::Generated);
    polyhedron* p = l->poly.get();
    const triplex corner{0.5, 0.5, 0.5}, a{-0.5, 0.5, 0.5}, b{0.5, -0.5, 0.5}, c{0.5, 0.5, -0.5};
    AddScissorMark(p, corner, 1.5, 3, GetSpintypeForIdentity(), 2, a, b, c);
    AddScissorMark(p, a, 1.5, 4, GetSpintypeForIdentity(), 2, corner, b, c);
    ASSERT_EQ(p->scissorMarkCount, 2);
    p->scissorMarks[1].verts3D[2] = -1;
    p->scissorMarks[1].plane.normal[0] = 5.0;  // left from some earlier build
    p->mirrorFlipA = m.flipA;
    p->mirrorFlipB = m.flipB;
    FinishGeneralPolyhedron(p, kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
    const double sa = m.flipA ? -1.0 : 1.0, sb = m.flipB ? -1.0 : 1.0;
    auto mirrored = [&](triplex q) { return triplex{sa * sb * q.x, sa * q.y, q.z}; };
    const ScissorMark& mark = p->scissorMarks[0];
    EXPECT_EQ(mark.pivotPoint[0], sa * sb * 0.5);
    EXPECT_EQ(mark.pivotPoint[1], sa * 0.5);
    EXPECT_EQ(mark.pivotPoint[2], 0.5);
    PLANED want;
    BuildPlaneFromThreePointsT(mirrored(a), mirrored(b), mirrored(c), &want);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(mark.plane.normal[i], want.normal[i]);
    EXPECT_DOUBLE_EQ(mark.plane.d, want.d);
    const ScissorMark& partial = p->scissorMarks[1];
    EXPECT_EQ(partial.pivotPoint[0], sa * sb * -0.5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(partial.plane.normal[i], 0.0);
  }
}

// vert3DOfVert2D holds the solid vertex of every 2D slot: the corners' own,
// -1 for tab vertices and unused slots.
TEST(SetupMethods, VertexTableCoversEverySlot) {
  auto l = LoadSolid(Solid::Octahedron, Form::Static, 1.0f, 0.1f);
  polyhedron* p = l->poly.get();
  std::fill(std::begin(p->vert3DOfVert2D), std::end(p->vert3DOfVert2D), 1234);
  FinishGeneralPolyhedron(p, kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  ASSERT_GT(GlueTabTriangles(p), 0);
  std::vector<bool> corner(kPolyMax2DVerts, false);
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    for (int32_t k = 0; k < p->faces[f].n2D; ++k) corner[size_t(p->faces[f].vert2D[k])] = true;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    EXPECT_EQ(p->vert3DOfVert2D[v], Vert_Index_2D_to_3D(p, v)) << "slot " << v;
    EXPECT_EQ(p->vert3DOfVert2D[v] >= 0, corner[size_t(v)]) << "slot " << v;
  }
}

}  // namespace
