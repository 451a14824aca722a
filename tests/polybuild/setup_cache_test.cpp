// Building by output mode and by shape code: the set-up cache (an unchanged
// request builds nothing, any changed input rebuilds), the override rules
// that decide the net method, cram mode and angle, shape code -1, and the
// solid of the polyhedral input modes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/globals.h"
#include "frame/preroll.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "setup_fixture.h"
#include "support/fake_host.h"

namespace {

using namespace setup_fixture;

constexpr int32_t kCubeMode = 7;            // rule 0: the caller chooses
constexpr int32_t kFlatSquareMode = 21;     // rule 1, fixed net (method 0)
constexpr int32_t kCubeCrossMode = 172;     // rule 1, computed net (method 6)
constexpr int32_t kThirtysphereMode = 174;  // rule 2, angle pi/8
constexpr int32_t kMapMode = 1;             // no solid

struct Request {
  int32_t mode = kCubeMode;
  float aspect = 0.75f;
  float tabDepth = 0.02f;
  int32_t cram = 0;
  float angle = 0.25f;
  int32_t method = 1;
  uint8_t fullDetail = 1;
};

void Build(polyhedron* p, const Request& r, BufferProcs* procs = nullptr) {
  DarOzoPolySetup(r.mode, p, r.aspect, r.tabDepth, r.cram, r.angle, r.method, procs, r.fullDetail);
}

// A built record remembers its request: the same request again, or with
// another buffer suite, changes nothing (the marker left in errorCode
// survives); a change of any one input builds again and is remembered.
TEST(SetupCache, OnlyAChangedRequestRebuilds) {
  const struct {
    const char* name;
    void (*change)(Request&);
  } changes[] = {
      {"output mode", [](Request& r) { r.mode = 8; }},       {"aspect", [](Request& r) { r.aspect = 0.5f; }},
      {"tab depth", [](Request& r) { r.tabDepth = 0.0f; }},  {"cram mode", [](Request& r) { r.cram = 1; }},
      {"angle", [](Request& r) { r.angle = 0.2500001f; }},   {"net method", [](Request& r) { r.method = 6; }},
      {"full detail", [](Request& r) { r.fullDetail = 0; }},
  };
  FakeHost host(4, 4, 3, 8, 3, false);
  constexpr int32_t kMarker = 77;
  for (const auto& c : changes) {
    SCOPED_TRACE(c.name);
    PolyPtr p = NewRecord(1.0f, 0.0f);
    Request r;
    Build(p.get(), r);
    p->errorCode = kMarker;
    Build(p.get(), r);
    EXPECT_EQ(p->errorCode, kMarker) << "same request";
    Build(p.get(), r, &host.bufferProcs);
    EXPECT_EQ(p->errorCode, kMarker) << "another buffer suite";

    c.change(r);
    Build(p.get(), r);
    EXPECT_NE(p->errorCode, kMarker);
    const PolySetupCache& k = p->setupCache;
    EXPECT_EQ(k.outputMode, r.mode);
    EXPECT_EQ(k.aspect, r.aspect);
    EXPECT_EQ(k.tabDepth, r.tabDepth);
    EXPECT_EQ(k.cramMode, uint32_t(r.cram));
    EXPECT_EQ(k.angle, r.angle);
    EXPECT_EQ(k.netMethod, uint32_t(r.method));
    EXPECT_EQ(k.flagA, r.fullDetail);
    EXPECT_EQ(p->targetRect[3], r.aspect);
    EXPECT_EQ(p->tabDepth, r.tabDepth);

    p->errorCode = kMarker;
    InitPoly(p.get(), r.aspect, r.tabDepth);
    p->errorCode = kMarker;
    Build(p.get(), r);
    EXPECT_NE(p->errorCode, kMarker) << "InitPoly empties the cache";
  }
}

// Rule 0 takes the caller's method, cram mode and angle; rule 2 the caller's
// method and cram mode, and the angle only for the export layout (method
// 3); rule 1 none of them.
TEST(SetupCache, OverrideRulesChooseMethodCramAndAngle) {
  const struct {
    const char* name;
    int32_t mode;
    int32_t method, cram;
    int16_t wantMethod;
    int32_t wantCram;
    float wantAngle;
    bool rowAngle;  // the row's angle rather than wantAngle
  } cases[] = {
      {"rule 0", kCubeMode, 3, 2, 3, 2, 0.5f, false},
      {"rule 0, fixed", kCubeMode, 0, 1, 0, 1, 0.5f, false},
      {"rule 2, method 1", kThirtysphereMode, 1, 2, 1, 2, 0.0f, true},
      {"rule 2, method 3", kThirtysphereMode, 3, 2, 3, 2, 0.5f, false},
      {"rule 1", kCubeCrossMode, 3, 2, 6, 0, 0.0f, true},
      {"rule 1, procedural", 1047, 1, 2, 2, 0, 0.0f, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyhedronParams row{};
    get_polyhedron_params_from_output_mode(c.mode, &row);
    const PolySetupChoice choice = ChoosePolySetupInputs(row, c.method, c.cram, 0.5f);
    EXPECT_EQ(choice.netMethod, c.wantMethod);
    EXPECT_EQ(choice.cramMode, c.wantCram);
    EXPECT_EQ(choice.angle, c.rowAngle ? row.angle : c.wantAngle);
  }
  PolyhedronParams thirty{};
  get_polyhedron_params_from_output_mode(kThirtysphereMode, &thirty);
  EXPECT_FLOAT_EQ(thirty.angle, 0.39269909f);
}

// The chosen method is the one that builds: the fixed methods leave the up
// vector pointing down the z axis, the others the centroid of a face; the
// cache keeps the caller's request all the same.
TEST(SetupCache, TheChosenMethodBuilds) {
  const struct {
    const char* name;
    int32_t mode, method;
    bool fixedUp;
  } cases[] = {
      {"rule 0, caller's fixed net", kCubeMode, 0, true},
      {"rule 0, caller's uncleansed fixed net", kCubeMode, 5, true},
      {"rule 1, the row's fixed net", kFlatSquareMode, 1, true},
      {"rule 1, the row's computed net", kCubeCrossMode, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr p = NewRecord(1.0f, 0.0f);
    Request r;
    r.mode = c.mode;
    r.method = c.method;
    Build(p.get(), r);
    const bool down = p->upVector[0] == 0.0 && p->upVector[1] == 0.0 && p->upVector[2] == -1.0;
    EXPECT_EQ(down, c.fixedUp);
    EXPECT_EQ(p->setupCache.netMethod, uint32_t(c.method));
  }
}

// The regular solids of the catalogue, by output mode, through every method
// that links the net to its solid: no error, every net face matched to a
// solid face, one triangle per corner beyond two, the net inside the
// picture and tabs only where the method asks for them.
TEST(SetupCache, CatalogueSolidsBuildByEveryLinkingMethod) {
  for (const int32_t mode : {6, 7, 8, 9, 10, 30})
    for (const int32_t method : {1, 3, 6}) {
      SCOPED_TRACE("mode " + std::to_string(mode) + ", method " + std::to_string(method));
      PolyPtr p = NewRecord(1.0f, 0.0f);
      Request r;
      r.mode = mode;
      r.method = method;
      r.angle = 0.0f;
      Build(p.get(), r);
      ASSERT_EQ(p->errorCode, 0);
      ASSERT_GT(p->n2DFaces, 0);
      for (int32_t f = 0; f < p->n2DFaces; ++f) EXPECT_GE(p->faces[f].face3D, 0) << "net face " << f;
      EXPECT_EQ(p->nTriangles - GlueTabTriangles(p.get()), FaceTriangleCount(p.get()));
      EXPECT_EQ(GlueTabTriangles(p.get()) > 0, method != 6);
      for (int32_t v = 0; v < p->n2DVerts; ++v) {
        if (!p->vert2DUsed[v]) continue;
        EXPECT_GE(p->verts2D[v].x, -1e-5f);
        EXPECT_LE(p->verts2D[v].x, 1.0f + 1e-5f);
        EXPECT_GE(p->verts2D[v].y, -1e-5f);
        EXPECT_LE(p->verts2D[v].y, r.aspect + 1e-5f);
      }
    }
}

// Tabs are marked afresh by every build: a build with tab depth 0 after one
// with tabs carries none of the earlier marks (it would draw flat tabs on
// them), while the earlier build had its tabs.
TEST(SetupCache, TabMarksDoNotOutliveTheirBuild) {
  PolyPtr p = NewRecord(1.0f, 0.0f);
  Request r;
  Build(p.get(), r);
  ASSERT_EQ(p->errorCode, 0);
  ASSERT_GT(GlueTabTriangles(p.get()), 0);
  r.tabDepth = 0.0f;
  Build(p.get(), r);
  EXPECT_EQ(GlueTabTriangles(p.get()), 0);
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n2D; ++e) EXPECT_EQ(p->faces[f].tabEdge[e], 0);
}

// A mode without a solid still starts afresh and is remembered; nothing is
// built into the record.
TEST(SetupCache, ModeWithoutSolidBuildsNothing) {
  PolyPtr p = Load(Solid::Cube, Form::Generated);
  FinishGeneralPolyhedron(p.get(), kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
  const int32_t faces = p->n2DFaces;
  Request r;
  r.mode = kMapMode;
  Build(p.get(), r);
  EXPECT_EQ(p->setupCache.outputMode, kMapMode);
  EXPECT_EQ(p->nTriangles, 0);
  EXPECT_EQ(p->n2DFaces, faces);
  EXPECT_EQ(p->upVector[0], 0.0);
}

// Shape code -1 returns 0 and leaves every byte of the record as it was.
TEST(SetupCache, ShapeMinusOneTouchesNothing) {
  PolyPtr p = Load(Solid::Octahedron, Form::Generated, 1.0f, 0.05f);
  FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.3, nullptr, 1);
  std::vector<unsigned char> before(sizeof(polyhedron));
  std::memcpy(before.data(), p.get(), sizeof(polyhedron));
  EXPECT_EQ(SetUpReallyGeneralPolyhedron(p.get(), -1, kNetMethodGlued, kCramFit, 0.3, nullptr, 1), 0);
  EXPECT_EQ(std::memcmp(before.data(), p.get(), sizeof(polyhedron)), 0);
}

// A shape code starts from an empty record: the previous net, its pieces and
// triangles are gone before the catalogue loads the shape.
TEST(SetupCache, ShapeCodeStartsFromAnEmptyRecord) {
  PolyPtr p = Load(Solid::CappedCube, Form::Generated, 1.0f, 0.05f);
  FinishGeneralPolyhedron(p.get(), kNetMethodGlued, kCramFit, 0.0, nullptr, 1);
  ASSERT_EQ(p->fragmentCount, 2);
  const int32_t n = SetUpReallyGeneralPolyhedron(p.get(), 18, kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
  EXPECT_EQ(p->shapeCode, 18);
  EXPECT_EQ(p->fragmentCount, 0);
  EXPECT_EQ(n, p->nTriangles);
  EXPECT_EQ(GlueTabTriangles(p.get()), 0);
}

// The polyhedral input modes read the net of output mode 30's solid, built
// whole without tabs into the input's proportions.
TEST(SetupInputSolid, BuiltFromOutputMode30WithoutTabs) {
  FakeHost host(40, 30, 3, 8, 3, false);
  Globals* g = host.globals;
  AlocateInputPoly(g, 29);
  ASSERT_NE(g->inputPolyhedron, nullptr);
  EXPECT_EQ(host.outstandingBuffers, 1);
  const polyhedron* p = g->inputPolyhedron;
  PolyhedronParams row{};
  get_polyhedron_params_from_output_mode(30, &row);
  EXPECT_EQ(p->shapeCode, row.shapeCode);
  EXPECT_EQ(p->targetRect[3], 0.75f);
  EXPECT_EQ(p->tabDepth, 0.0f);
  EXPECT_EQ(p->errorCode, 0);
  EXPECT_EQ(GlueTabTriangles(p), 0);

  AlocateInputPoly(g, 29);
  EXPECT_EQ(host.outstandingBuffers, 1) << "the earlier solid is freed first";
}

}  // namespace
