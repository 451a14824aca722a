#include "polybuild/catalogue/catalogue_generated.h"

#include <iterator>

#include "polybuild/catalogue/catalogue_dual.h"
#include "polybuild/procedural/dev_tetrahedra.h"
#include "polybuild/procedural/geodesic.h"
#include "polybuild/procedural/rind_ball.h"
#include "polybuild/procedural/rollout.h"
#include "polybuild/procedural/tattoo_ball.h"
#include "polybuild/curved/vivo_entries.h"
#include "polybuild/voronoi/voronoi_shape.h"
#include "polyhedron/catalogue_builders.h"
#include "polyhedron/polyhedron_record.h"

namespace {

struct GeodesicRow {
  int32_t code, frequency, base;
};
// Base shapes: 16 tetrahedron, 18 cube, 19 octahedron, 9 dodecahedron,
// 17 icosahedron.
constexpr GeodesicRow kGeodesics[] = {
    {80, 2, 16},  {81, 3, 16}, {82, 4, 16}, {83, 5, 16}, {84, 1, 18}, {85, 2, 18},  {86, 3, 18},  {87, 4, 18},
    {88, 5, 18},  {89, 2, 19}, {90, 3, 19}, {91, 4, 19}, {92, 5, 19}, {93, 1, 9},   {94, 2, 9},   {95, 3, 9},
    {96, 4, 9},   {97, 5, 9},  {98, 2, 17}, {99, 3, 17}, {100, 4, 17}, {101, 5, 17},
};

struct RolloutRow {
  int32_t code;
  RolloutArguments args;
};
constexpr RolloutRow kRollouts[] = {
    {102, {3, 0, 0, 0}},  {103, {3, 1, 0, 0}},  {104, {4, 0, 0, 0}},  {105, {4, 1, 0, 0}},  {106, {4, 0, 1, 0}},
    {107, {4, 1, 1, 0}},  {136, {4, 0, 0, 1}},  {108, {5, 0, 0, 0}},  {109, {5, 1, 0, 0}},  {110, {5, 2, 0, 0}},
    {111, {6, 0, 0, 0}},  {112, {6, 1, 0, 0}},  {113, {6, 0, 1, 0}},  {114, {6, 1, 1, 0}},  {137, {6, 0, 0, 1}},
    {138, {6, 1, 0, 1}},  {115, {7, 0, 0, 0}},  {116, {7, 1, 0, 0}},  {117, {7, 2, 0, 0}},  {118, {7, 3, 0, 0}},
    {119, {8, 0, 0, 0}},  {120, {8, 1, 0, 0}},  {121, {8, 2, 0, 0}},  {122, {8, 0, 1, 0}},  {123, {8, 1, 1, 0}},
    {124, {8, 2, 1, 0}},  {139, {8, 0, 0, 1}},  {140, {8, 1, 0, 1}},  {125, {9, 0, 0, 0}},  {126, {9, 1, 0, 0}},
    {127, {9, 2, 0, 0}},  {128, {9, 3, 0, 0}},  {129, {9, 4, 0, 0}},  {130, {10, 0, 0, 0}}, {131, {10, 1, 0, 0}},
    {132, {10, 2, 0, 0}}, {133, {10, 0, 1, 0}}, {134, {10, 1, 1, 0}}, {135, {10, 2, 1, 0}}, {141, {10, 0, 0, 1}},
    {142, {10, 1, 0, 1}}, {143, {10, 2, 0, 1}}, {144, {11, 0, 0, 0}}, {145, {11, 1, 0, 0}}, {146, {11, 2, 0, 0}},
    {147, {11, 3, 0, 0}}, {148, {11, 4, 0, 0}}, {149, {11, 5, 0, 0}},
};

bool InRange(int32_t code, int32_t first, int32_t last) { return code >= first && code <= last; }

using VivoEntry = void (*)(VivoEntryOptions*);

// The entry of a curved-element code, in pairs from 161 up, then the four
// squarebox and the four squirclebox codes.
VivoEntry VivoEntryOf(int32_t code) {
  constexpr VivoEntry kPairs[6] = {Build_VivoTet_GyrelleEntry,          Build_Tribox_GyrelleEntry,
                                   Build_VivoOct_GyrelleEntry,          Build_VivoCube_GyrelleEntry,
                                   Build_VivoDodecahedron_GyrelleEntry, Build_VivoIcosahedron_GyrelleEntry};
  if (InRange(code, 161, 172)) return kPairs[(code - 161) / 2];
  if (InRange(code, 173, 176)) return Build_squarebox_GyrelleEntry;
  if (InRange(code, 177, 180)) return Build_squirclebox_GyrelleEntry;
  return nullptr;
}

}  // namespace

bool RolloutArgumentsOf(int32_t shapeCode, RolloutArguments* out) {
  for (const RolloutRow& row : kRollouts) {
    if (row.code != shapeCode) continue;
    if (out) *out = row.args;
    return true;
  }
  return false;
}

bool GeodesicArgumentsOf(int32_t shapeCode, int32_t* frequency, int32_t* baseShape) {
  for (const GeodesicRow& row : kGeodesics) {
    if (row.code != shapeCode) continue;
    if (frequency) *frequency = row.frequency;
    if (baseShape) *baseShape = row.base;
    return true;
  }
  return false;
}

double GeneratedSolidRadius(int32_t code) {
  switch (code) {
    case 25: case 26: case 27: case 48: case 49: case 50: case 74: return kRindRadius;
    case 75: return kOddballRadius;
    default: return 1.0;
  }
}

bool RunShapeGenerator(polyhedron* poly, int32_t code, BufferProcs* procs, uint8_t flag) {
  if (!poly) return false;
  switch (code) {
    case 25: case 48: BuildRindBall3D(poly, procs, 2, flag); return true;
    case 26: case 49: BuildRindBall3D(poly, procs, 3, flag); return true;
    case 27: case 50: BuildRindBall3D(poly, procs, 4, flag); return true;
    case 71: BuildTattooBall3D(poly, procs, 3); return true;
    case 72: case 150: BuildTattooBall3D(poly, procs, 5); return true;
    case 74: BuildThirtysphere(poly, procs); return true;
    case 75: BuildOddBall3D(poly, procs); return true;
    case 76: BuildDevTet(poly, procs); return true;
    case 77: BuildConeTet(poly, procs); return true;
    default: break;
  }
  int32_t frequency = 0, base = 0;
  if (GeodesicArgumentsOf(code, &frequency, &base)) {
    BuildGeodesicNotTriangleFacedClass1(poly, procs, frequency, base);
    return true;
  }
  RolloutArguments rollout{};
  if (RolloutArgumentsOf(code, &rollout)) {
    BuildRollout(poly, procs, flag, rollout.n, rollout.a, rollout.b, rollout.c);
    return true;
  }
  if (InRange(code, 151, 160) || InRange(code, 181, 200)) {
    build_voronoi_shape(poly, procs, code, flag);
    return true;
  }
  if (VivoEntry entry = VivoEntryOf(code)) {
    // A fresh options record each time: the entries read their slots as
    // cleared.
    VivoEntryOptions options{};
    options.poly = poly;
    options.procs = procs;
    entry(&options);
    return true;
  }
  return false;
}

// The catalogue's way up to the builders of this floor.
constexpr GeneratedShapeBuilders kGeneratedShapeBuilders{RunShapeGenerator, BuildTruchetDualShape, AdjustScissorInfo};
