#include "projection/lookup/lookup_cache.h"

#include <atomic>
#include <mutex>

#include "projection/tables/lookup_tables.h"

namespace {

constexpr LookupTableInfo kTables[] = {
    {LookupCache_Peirce, "Peirce_octant_freezedried", 50, LookupShape_LowerHalf, LookupForm_MirroredPair,
     Peirce_octant_freezedried, kPeirceOctantFloats},
    {LookupCache_SphereCube, "spherecube_octant_freezedried", 50, LookupShape_LowerHalf, LookupForm_MirroredPair,
     spherecube_octant_freezedried, kSphereCubeOctantFloats},
    {LookupCache_Decant, "pent_decant_freezedried", 50, LookupShape_Square, LookupForm_Pair, pent_decant_freezedried,
     kPentDecantFloats},
    {LookupCache_Sextant, "tri_sextant_freezedried", 50, LookupShape_Square, LookupForm_Pair, tri_sextant_freezedried,
     kTriSextantFloats},
    {LookupCache_Dodecant, "hex_dodecant_freezedried", 50, LookupShape_Square, LookupForm_Pair,
     hex_dodecant_freezedried, kHexDodecantFloats},
    {LookupCache_TetfaceSextant, "tetface_sextant_freezedried", 50, LookupShape_TrianglePlusDiagonal,
     LookupForm_Pair, tetface_sextant_freezedried, kTetfaceSextantFloats},
    {LookupCache_ReuleauxSextantToOctoface, "Reuleaux_sextant_freezedried", 51, LookupShape_TrianglePlusDiagonal,
     LookupForm_Pair, Reuleaux_sextant_freezedried, kReuleauxSextantFloats},
    {LookupCache_ReuleauxSextantToCircle, "Reuleaux_to_circle_freezedried", 51, LookupShape_TrianglePlusDiagonal,
     LookupForm_Pair, Reuleaux_to_circle_freezedried, kReuleauxToCircleFloats},
    {LookupCache_NuOctant, "nu_square_octant_freezedried", 50, LookupShape_Square, LookupForm_Pair,
     nu_square_octant_freezedried, kNuSquareOctantFloats},
    {LookupCache_Winkel, "Winkel_Tripel_inverse_freezedried", 50, LookupShape_Square, LookupForm_Pair,
     Winkel_Tripel_inverse_freezedried, kWinkelInverseFloats},
    {LookupCache_Equalsquarea, "peirceoid_quad_freezedried", 50, LookupShape_Square, LookupForm_Triple,
     peirceoid_quad_freezedried, kPeirceoidQuadFloats},
    {LookupCache_CompleteIcoface, "complete_icoface_freezedried", 50, LookupShape_Triangle, LookupForm_PairToo,
     complete_icoface_freezedried, kCompleteIcofaceFloats},
    {LookupCache_Octaface, "octahedron_face_freezedried", 50, LookupShape_Triangle, LookupForm_PairToo,
     octahedron_face_freezedried, kOctahedronFaceFloats},
    {LookupCache_ConformalDodecDecant, "dodecface_decant_freezedried", 30, LookupShape_TriangleTopDown,
     LookupForm_Pair, dodecface_decant_freezedried, kDodecfaceDecantFloats},
};

constexpr bool DescriptionsFitTheirTables() {
  for (const LookupTableInfo& t : kTables) {
    if (t.cacheId <= 0 || t.cacheId >= kLookupCacheIdLimit || t.n < 2 || t.n > kLookupGridMax) return false;
    if (t.tableFloats != LookupTableFloats(t.n, t.shape, t.form)) return false;
  }
  return true;
}
static_assert(DescriptionsFitTheirTables());
static_assert(sizeof(kTables) / sizeof(kTables[0]) == 14);

struct Slot {
  std::once_flag once;
  std::atomic<bool> resident{false};
  LookupGrid grid;
};

// Static storage: a resident table costs no allocation, so there is no
// failure to report and nothing to free.
Slot gSlots[kLookupCacheIdLimit];

}  // namespace

const LookupTableInfo* LookupTableInfoOf(int32_t cacheId) {
  for (const LookupTableInfo& t : kTables) {
    if (t.cacheId == cacheId) return &t;
  }
  return nullptr;
}

const LookupGrid* ResidentLookupGrid(int32_t cacheId) {
  const LookupTableInfo* info = LookupTableInfoOf(cacheId);
  if (info == nullptr) return nullptr;
  Slot& slot = gSlots[cacheId];
  std::call_once(slot.once, [&] {
    FillGeneralTable(&slot.grid, info->n, info->shape, info->table, info->tableFloats, info->form);
    slot.resident.store(true, std::memory_order_release);
  });
  return &slot.grid;
}

const LookupGrid* ResidentLookupGridFor(int32_t cacheId, int32_t n, int32_t shape, const float* table,
                                        int32_t tableFloats, int32_t form) {
  const LookupTableInfo* info = LookupTableInfoOf(cacheId);
  if (info == nullptr || info->n != n || info->shape != shape || info->table != table ||
      info->tableFloats != tableFloats || info->form != form) {
    return nullptr;
  }
  return ResidentLookupGrid(cacheId);
}

bool LookupTableIsResident(int32_t cacheId) {
  if (cacheId <= 0 || cacheId >= kLookupCacheIdLimit) return false;
  return gSlots[cacheId].resident.load(std::memory_order_acquire);
}
