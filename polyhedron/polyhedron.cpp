#include "polyhedron/polyhedron.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "frame/base/host_suites.h"
#include "polyhedron/polyhedron_links.h"
#include "projection/framing.h"

namespace {

constexpr int kOwnedCoords2D = 0;
constexpr int kOwnedCoords3D = 1;
constexpr int kOwnedFaces2D = 2;
constexpr int kOwnedFaces3D = 3;
constexpr int kOwnedArrayCount = kPolyOwnedArrayCount;

constexpr uint64_t kOwnedBytes[kOwnedArrayCount] = {
    uint64_t(kPolyMax2DVerts) * 2 * sizeof(double),
    uint64_t(kPolyMax3DVerts) * 3 * sizeof(double),
    uint64_t(kPolyFaceRowEntries) * sizeof(int16_t),
    uint64_t(kPolyFaceRowEntries) * sizeof(int16_t),
};

// The four owned arrays as untyped holders, in the order they are allocated
// and freed.
void GatherOwned(const polyhedron* poly, void* holders[kOwnedArrayCount]) {
  holders[kOwnedCoords2D] = const_cast<double(*)[2]>(poly->coords2D);
  holders[kOwnedCoords3D] = const_cast<double(*)[3]>(poly->coords3D);
  holders[kOwnedFaces2D] = const_cast<int16_t*>(poly->faces2DRows);
  holders[kOwnedFaces3D] = const_cast<int16_t*>(poly->faces3DRows);
}

void ScatterOwned(polyhedron* poly, void* const holders[kOwnedArrayCount]) {
  poly->coords2D = static_cast<const double(*)[2]>(holders[kOwnedCoords2D]);
  poly->coords3D = static_cast<const double(*)[3]>(holders[kOwnedCoords3D]);
  poly->faces2DRows = static_cast<const int16_t*>(holders[kOwnedFaces2D]);
  poly->faces3DRows = static_cast<const int16_t*>(holders[kOwnedFaces3D]);
}

void FreeOwned(polyhedron* poly, BufferProcs* procs) {
  void* holders[kOwnedArrayCount];
  GatherOwned(poly, holders);
  for (int k = 0; k < kOwnedArrayCount; ++k) RobustDisposePtr(&holders[k], &poly->bufferIds[k], procs);
  ScatterOwned(poly, holders);
  poly->ownsArrays = 0;
}

}  // namespace

void NullifyPolyStorage(polyhedron* poly) {
  if (!poly) return;
  poly->coords2D = nullptr;
  poly->coords3D = nullptr;
  poly->faces2DRows = nullptr;
  poly->faces3DRows = nullptr;
  poly->facegroupTable = nullptr;
  std::fill(std::begin(poly->bufferIds), std::end(poly->bufferIds), BufferID{0});
  poly->n3DFaces = 0;
  poly->n3DVerts = 0;
  poly->ownsArrays = 0;
  poly->unfoldingIndex = -1;
  poly->tabDepthBuilt = 0.0f;
}

void InitPoly(polyhedron* poly, float aspect, float tabDepth) {
  if (!poly) return;
  poly->tabDepth = tabDepth;
  poly->targetRect[0] = 0.0f;
  poly->targetRect[1] = 1.0f;
  poly->targetRect[2] = 0.0f;
  poly->targetRect[3] = aspect;
  poly->netBounds[0] = 0.0f;
  poly->netBounds[1] = 1.0f;
  poly->netBounds[2] = 0.0f;
  poly->netBounds[3] = 1.0f;
  poly->snugglingScale = 1.0f;
  poly->centre[0] = 0.5f;
  poly->centre[1] = aspect / 2.0f;
  poly->nTriangles = 0;
  poly->n2DVerts = 0;
  poly->cramMode = 0;
  poly->scissorMarkCount = 0;
  std::fill(std::begin(poly->scissorMarkOfTag), std::end(poly->scissorMarkOfTag), -1);
  for (int32_t n = 0; n < kPolyModRows; ++n)
    for (int32_t i = 0; i < kPolyModColumns; ++i) poly->modTables[n][i] = n == 0 ? 0 : i % n;
  poly->errorCode = kPolyErrorNone;
  poly->setupCache = PolySetupCache{};
  poly->setupCache.outputMode = kPolySetupCacheEmpty;
  poly->setupCache.aspect = -1.0f;
  poly->setupCache.tabDepth = -1.0f;
}

void getPolyStorageEtc(polyhedron* poly, BufferProcs* procs, uint32_t vertexCount, int32_t faceCount) {
  (void)vertexCount;  // the owned arrays always have the record's fixed limits
  if (!poly) return;
  if (poly->ownsArrays) FreeOwned(poly, procs);
  // Borrowed tables are forgotten, never freed.
  void* holders[kOwnedArrayCount] = {};
  ScatterOwned(poly, holders);
  bool complete = true;
  for (int k = 0; k < kOwnedArrayCount; ++k) {
    poly->bufferIds[k] = 0;
    holders[k] = RobustNewPtr(kOwnedBytes[k], &poly->bufferIds[k], procs);
    if (!holders[k]) {
      complete = false;
      break;
    }
    std::memset(holders[k], 0, kOwnedBytes[k]);
  }
  ScatterOwned(poly, holders);
  poly->ownsArrays = 1;
  poly->n3DFaces = 0;
  poly->n3DVerts = 0;
  if (!complete) {
    // Half a set of arrays is no storage: the adders would write through the
    // missing ones. Give back what was had and say so.
    FreeOwned(poly, procs);
    poly->errorCode = kPolyErrorNoStorage;
  }
  Kill2DConnectivity(poly, faceCount);
  Kill3DConnectivity(poly, faceCount);
}

uint64_t PolyOwnedArrayBytes(int32_t index) {
  return index >= 0 && index < kOwnedArrayCount ? kOwnedBytes[index] : 0;
}

void DumpPolyStorage(polyhedron* poly, BufferProcs* procs) {
  if (!poly || !poly->ownsArrays) return;
  FreeOwned(poly, procs);
}

void WipeFaceInfo(polyhedron* poly) {
  if (!poly) return;
  poly->n3DFaces = 0;
  poly->skipOverlapTest = 0;
  poly->upFace = -1;
  for (PolyFace& f : poly->faces) {
    std::fill(std::begin(f.nbrFace2D), std::end(f.nbrFace2D), -1);
    std::fill(std::begin(f.nbrEdge2D), std::end(f.nbrEdge2D), -1);
    std::fill(std::begin(f.nbrFace3D), std::end(f.nbrFace3D), -1);
    std::fill(std::begin(f.nbrEdge3D), std::end(f.nbrEdge3D), -1);
    f.n2D = f.n3D = 0;
    f.face3D = f.cornerOffset = f.netFace = -1;
    f.isSeed = 0;
    std::fill(std::begin(f.vert2D), std::end(f.vert2D), -1);
    std::fill(std::begin(f.vert3D), std::end(f.vert3D), -1);
    std::fill(std::begin(f.edgeFlags3D), std::end(f.edgeFlags3D), 0);
    std::fill(std::begin(f.dualVisited), std::end(f.dualVisited), uint8_t{0});
    f.extraVertex = f.extraVertex2D = -1;
    // The placed flag [3] belongs to the unfolding, which clears it itself.
    f.placedFlags[0] = f.placedFlags[1] = f.placedFlags[2] = 0;
  }
  for (auto& list : poly->sideVertexLists) std::fill(std::begin(list), std::end(list), kPolyNoVertex16);
  for (auto& list : poly->tagVertexLists) std::fill(std::begin(list), std::end(list), kPolyNoVertex16);
  for (NetTriangle& t : poly->triangles) {
    t.face2D = t.facegroup = -1;
    t.fragment = 0;
    t.isTab = 0;
    t.fancyFace = 0;
  }
  poly->nTriangles = 0;
  poly->n2DVerts = 0;
  std::fill(std::begin(poly->vert2DUsed), std::end(poly->vert2DUsed), uint8_t{0});
  std::fill(std::begin(poly->vert3DOf2D), std::end(poly->vert3DOf2D), kPolyNoVertex16);
  std::fill(std::begin(poly->faceCount2D), std::end(poly->faceCount2D), int16_t{0});
  std::fill(std::begin(poly->faceCount3D), std::end(poly->faceCount3D), int16_t{0});
  std::fill(std::begin(poly->fragmentOf2D), std::end(poly->fragmentOf2D), int16_t{0});
}

void FetchPolySnuggling(const polyhedron* poly, SnuggleRecord* snuggle) {
  if (!poly || !snuggle) return;
  snuggle->scale = double(poly->snugglingScale);
  snuggle->invScale = 1.0 / snuggle->scale;
  snuggle->centerX = double(poly->centre[0]) - 0.5;
}
