// Builds that start from a kept unfolding (the layers of a face-group
// export) against builds from scratch: the same record for every group,
// turn and placement; a changed input unfolds again rather than reusing a
// stale copy; the copy's blocks all come back; and the 2D-to-3D vertex
// table agrees with the lookup it stands for.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "frame/globals.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/vertex_maps.h"
#include "setup_fixture.h"
#include "support/fake_host.h"

namespace {

using namespace setup_fixture;

constexpr int32_t kCubeMode = 7;
constexpr int32_t kGeodesicMode = 198;  // generated, hundreds of faces, overlap test kept
constexpr int32_t kRindMode = 248;      // Voronoi
constexpr int32_t kDetailMode = 70;     // its unfolding reads the detail flag
constexpr int32_t kTabPerEdge = 3;

struct Request {
  int32_t mode = kCubeMode;
  float aspect = 0.75f;
  float tabDepth = 0.02f;
  int32_t cram = kCramPlanned;
  float angle = 0.0f;
  int32_t method = kTabPerEdge;
  uint8_t fullDetail = 1;
  int32_t group = 0;
  float placement[3] = {0.5f, 0.4f, 0.3f};
};

// As the layer of one face group is set up: its group and placement on the
// record, then a build the cache cannot skip.
void Build(polyhedron* p, const Request& r, BufferProcs* procs, PolyUnfoldingSnapshot* snapshot) {
  p->unfoldingIndex = r.group;
  std::memcpy(p->plannedPlacement, r.placement, sizeof r.placement);
  p->setupCache.outputMode = kPolySetupCacheEmpty;
  DarOzoPolySetupReusing(snapshot, r.mode, p, r.aspect, r.tabDepth, r.cram, r.angle, r.method, procs, r.fullDetail);
}

// The whole record and the contents of its owned arrays; where the arrays
// live (and their buffer ids) may differ.
::testing::AssertionResult SameBuild(const polyhedron* a, const polyhedron* b) {
  if (a->ownsArrays != b->ownsArrays) return ::testing::AssertionFailure() << "owned arrays differ";
  const void* arraysA[] = {a->coords2D, a->coords3D, a->faces2DRows, a->faces3DRows};
  const void* arraysB[] = {b->coords2D, b->coords3D, b->faces2DRows, b->faces3DRows};
  for (int32_t k = 0; k < kPolyOwnedArrayCount; ++k) {
    if (!a->ownsArrays) {
      if (arraysA[k] != arraysB[k]) return ::testing::AssertionFailure() << "borrowed table " << k << " differs";
      continue;
    }
    if ((arraysA[k] == nullptr) != (arraysB[k] == nullptr))
      return ::testing::AssertionFailure() << "owned array " << k << " missing on one side";
    if (arraysA[k] && std::memcmp(arraysA[k], arraysB[k], PolyOwnedArrayBytes(k)) != 0)
      return ::testing::AssertionFailure() << "owned array " << k << " differs";
  }
  auto* copyA = new polyhedron(*a);
  auto* copyB = new polyhedron(*b);
  for (polyhedron* c : {copyA, copyB}) {
    c->coords2D = nullptr;
    c->coords3D = nullptr;
    c->faces2DRows = nullptr;
    c->faces3DRows = nullptr;
    std::memset(c->bufferIds, 0, sizeof c->bufferIds);
  }
  const unsigned char* bytesA = reinterpret_cast<const unsigned char*>(copyA);
  const unsigned char* bytesB = reinterpret_cast<const unsigned char*>(copyB);
  size_t first = sizeof(polyhedron);
  for (size_t i = 0; i < sizeof(polyhedron); ++i)
    if (bytesA[i] != bytesB[i]) {
      first = i;
      break;
    }
  delete copyA;
  delete copyB;
  if (first == sizeof(polyhedron)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "records differ from byte " << first;
}

struct Pair {
  FakeHost host{4, 4, 3, 8, 3, false};
  PolyPtr fresh = NewRecord(1.0f, 0.0f);
  PolyPtr reused = NewRecord(1.0f, 0.0f);
  PolyUnfoldingSnapshot snapshot{};
  Pair() { fresh->owner = reused->owner = host.globals; }
  // The records' arrays are the host's blocks: given back before it goes.
  ~Pair() {
    FreePolyUnfoldingSnapshot(&snapshot, &host.bufferProcs);
    DumpPolyStorage(fresh.get(), &host.bufferProcs);
    DumpPolyStorage(reused.get(), &host.bufferProcs);
  }
  void Both(const Request& r) {
    Build(fresh.get(), r, &host.bufferProcs, nullptr);
    Build(reused.get(), r, &host.bufferProcs, &snapshot);
  }
};

// Group after group, each with its own turn and place, as the export's
// layers come; the first build of a mode unfolds, every later one copies.
TEST(SetupReuse, EveryGroupBuildsAsFromScratch) {
  for (const int32_t mode : {kCubeMode, kGeodesicMode, kRindMode}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    Pair pair;
    Request r;
    r.mode = mode;
    const float turns[] = {0.0f, 1.25f, -0.5f, 2.75f, 1.25f};
    for (int32_t i = 0; i < 5; ++i) {
      SCOPED_TRACE("layer " + std::to_string(i));
      r.group = (i * 7) % 5;
      r.angle = turns[i];
      r.placement[0] = 0.1f * float(i + 1);
      r.placement[1] = 0.2f + 0.05f * float(i);
      pair.Both(r);
      ASSERT_GT(pair.fresh->nTriangles, 0);
      EXPECT_TRUE(SameBuild(pair.fresh.get(), pair.reused.get()));
      EXPECT_NE(pair.snapshot.record, nullptr);
    }
  }
}

// A snapshot kept for one request is never used for a request that differs
// in anything the unfolding, the links or the tab marks read.
TEST(SetupReuse, AChangedInputUnfoldsAgain) {
  const struct {
    const char* name;
    int32_t mode;
    void (*change)(Request&);
  } changes[] = {
      {"output mode", kCubeMode, [](Request& r) { r.mode = 8; }},
      {"aspect", kCubeMode, [](Request& r) { r.aspect = 0.5f; }},
      {"tab depth", kCubeMode, [](Request& r) { r.tabDepth = 0.0f; }},
      {"net method", kCubeMode, [](Request& r) { r.method = 1; }},
      {"full detail", kDetailMode, [](Request& r) { r.fullDetail = 0; }},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.name);
    Pair pair;
    Request r;
    r.mode = c.mode;
    pair.Both(r);
    c.change(r);
    r.angle = 0.5f;
    pair.Both(r);
    EXPECT_TRUE(SameBuild(pair.fresh.get(), pair.reused.get()));
  }
}

// Every block of the host's buffer suite that the copies took comes back
// when the snapshot is freed, however often it was replaced.
TEST(SetupReuse, FreeingTheSnapshotGivesItsBlocksBack) {
  Pair pair;
  Request r;
  r.mode = kRindMode;
  for (const float tabDepth : {0.02f, 0.0f, 0.02f}) {
    r.tabDepth = tabDepth;
    pair.Both(r);
    r.angle += 0.5f;
    pair.Both(r);
  }
  EXPECT_GT(pair.host.outstandingBuffers, 0);
  FreePolyUnfoldingSnapshot(&pair.snapshot, &pair.host.bufferProcs);
  EXPECT_EQ(pair.snapshot.record, nullptr);
  DumpPolyStorage(pair.reused.get(), &pair.host.bufferProcs);
  DumpPolyStorage(pair.fresh.get(), &pair.host.bufferProcs);
  EXPECT_EQ(pair.host.outstandingBuffers, 0);
}

// The table the renderer reads is the lookup, slot by slot, tab vertices
// (found through the faces) included.
TEST(SetupReuse, VertexTableMatchesTheLookup) {
  for (const int32_t mode : {kCubeMode, kGeodesicMode, kRindMode}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    Pair pair;
    Request r;
    r.mode = mode;
    pair.Both(r);
    const polyhedron* p = pair.reused.get();
    int32_t viaFaces = 0;
    for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
      ASSERT_EQ(p->vert3DOfVert2D[v], Vert_Index_2D_to_3D(p, v)) << "slot " << v;
      viaFaces += p->vert2DUsed[v] && p->vert3DOf2D[v] == kPolyNoVertex16 && p->vert3DOfVert2D[v] >= 0;
    }
    if (mode == kCubeMode) {
      EXPECT_GT(viaFaces, 0) << "no slot was found through the faces";
    }
  }
}

}  // namespace
