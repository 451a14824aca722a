// The generated tables against the values published for them. Each row is
// one entry of a packed table (entry k is the k-th pair or triple in the
// table's storage order); the published values are rounded to five places.
//
// Not listed, because the tables are defined otherwise on purpose (see
// tools/lut): the second and last entries of pent_decant_freezedried (the
// exact conformal pentagon differs from them by about 1e-3), the second entry
// of peirceoid_quad_freezedried (our equal-area square), and the last entry
// of Winkel_Tripel_inverse_freezedried (a point off the map, which we fill
// with the formulas' continuation). Their properties are tested in
// lookup_properties_test.cpp.
#include <gtest/gtest.h>

#include <cmath>

#include "projection/lookup/lookup_cache.h"
#include "projection/tables/lookup_tables.h"

namespace {

constexpr int kLast = -1;

struct Sample {
  int32_t cacheId;
  int entry;  // kLast for the table's last entry
  double a, b, c;
};

constexpr Sample kSamples[] = {
    {LookupCache_Peirce, 0, 0, 0, 0},
    {LookupCache_Peirce, 1, 0, 0.01893, 0},
    {LookupCache_Peirce, 2, 0.0189, 0.01892, 0},
    {LookupCache_Peirce, kLast, 0.70711, 0.70711, 0},
    {LookupCache_SphereCube, 0, -0.0, -0.0, 0},
    {LookupCache_SphereCube, kLast, -0.57735, -0.57735, 0},
    {LookupCache_Decant, 0, -1, 0, 0},
    {LookupCache_Sextant, 0, -1, 0, 0},
    {LookupCache_Sextant, 1, -0.97178, 0, 0},
    {LookupCache_Sextant, kLast, -1, -1, 0},
    {LookupCache_Dodecant, 0, 0.86603, 0.5, 0},
    {LookupCache_Dodecant, 1, 0.84482, 0.48776, 0},
    {LookupCache_Dodecant, kLast, -1, -1, 0},
    {LookupCache_TetfaceSextant, 0, 0, 0, 0},
    {LookupCache_TetfaceSextant, 1, 0.02306, 0, 0},
    {LookupCache_TetfaceSextant, kLast, 0.01431, 1.0, 0},
    {LookupCache_ReuleauxSextantToOctoface, 0, 0.28868, 0.5, 0},
    {LookupCache_ReuleauxSextantToOctoface, kLast, 0.01956, -0.01129, 0},
    {LookupCache_ReuleauxSextantToCircle, 0, 0.5, 0.86603, 0},
    {LookupCache_ReuleauxSextantToCircle, 1, 0.53691, 0.84402, 0},
    {LookupCache_ReuleauxSextantToCircle, kLast, 0.02767, -0.01598, 0},
    {LookupCache_NuOctant, 0, 0.70711, 0.70711, 0},
    {LookupCache_NuOctant, 1, 0.68843, 0.68843, 0},
    {LookupCache_NuOctant, kLast, 0.70711, -0.70711, 0},
    {LookupCache_Winkel, 0, 0, 0, 0},
    {LookupCache_Winkel, 1, 0.06411, 0, 0},
    {LookupCache_Equalsquarea, 0, 0, 0, 1.0},
    {LookupCache_Equalsquarea, kLast, -0.0, -0.0, -1.0},
    {LookupCache_CompleteIcoface, 0, 0, 0, 0},
    {LookupCache_CompleteIcoface, 1, 0.01358, 0, 0},
    {LookupCache_CompleteIcoface, kLast, 0, 1.0, 0},
    {LookupCache_Octaface, 0, 0, 0, 0},
    {LookupCache_Octaface, 1, 0.0068, 0, 0},
    {LookupCache_Octaface, kLast, 0, 1.0, 0},
    {LookupCache_ConformalDodecDecant, 0, 1.0, 0, 0},
    {LookupCache_ConformalDodecDecant, 1, 0.96756, 0, 0},
    {LookupCache_ConformalDodecDecant, 2, 0.97376, 0.02624, 0},
    {LookupCache_ConformalDodecDecant, kLast, 0, 1.0, 0},
};

TEST(LookupTables, PublishedEntriesAreReproduced) {
  for (const Sample& s : kSamples) {
    const LookupTableInfo* info = LookupTableInfoOf(s.cacheId);
    ASSERT_NE(info, nullptr) << s.cacheId;
    const int width = LookupFormFloats(info->form);
    const int entry = s.entry == kLast ? info->tableFloats / width - 1 : s.entry;
    const float* e = info->table + entry * width;
    EXPECT_NEAR(e[0], s.a, 2e-5) << info->name << " entry " << entry;
    EXPECT_NEAR(e[1], s.b, 2e-5) << info->name << " entry " << entry;
    if (width == 3) {
      EXPECT_NEAR(e[2], s.c, 2e-5) << info->name << " entry " << entry;
    }
  }
}

TEST(LookupTables, EveryIdNamesItsTableAndNoOther) {
  int named = 0;
  for (int32_t id = -1; id <= 120; ++id) {
    const LookupTableInfo* info = LookupTableInfoOf(id);
    const LookupGrid* grid = ResidentLookupGrid(id);
    EXPECT_EQ(info == nullptr, grid == nullptr) << id;
    if (info == nullptr) continue;
    ++named;
    EXPECT_EQ(info->cacheId, id);
    EXPECT_EQ(grid->size, info->n) << info->name;
    EXPECT_TRUE(LookupTableIsResident(id)) << info->name;
  }
  EXPECT_EQ(named, 14);
  EXPECT_EQ(LookupTableInfoOf(11), nullptr);
  EXPECT_EQ(LookupTableInfoOf(101), nullptr);
  EXPECT_EQ(LookupTableInfoOf(102), nullptr);
}

TEST(LookupTables, UnpackedGridsHoldTheTablesCellForCell) {
  // The spot checks of the unpacking on real tables: the Peirce grid is
  // symmetric about its diagonal (re and im exchanged), the last stored
  // entry of the icosahedron lands on cell (0, 49), the dodecahedron's first
  // on cell (0, 29).
  const LookupGrid& peirce = *ResidentLookupGrid(LookupCache_Peirce);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 50; ++x) {
      EXPECT_EQ(peirce.cell[y][x][0], peirce.cell[x][y][1]) << x << ", " << y;
    }
  }
  const LookupGrid& ico = *ResidentLookupGrid(LookupCache_CompleteIcoface);
  EXPECT_EQ(ico.cell[49][0][1], complete_icoface_freezedried[kCompleteIcofaceFloats - 1]);
  const LookupGrid& dodec = *ResidentLookupGrid(LookupCache_ConformalDodecDecant);
  EXPECT_EQ(dodec.cell[29][0][0], dodecface_decant_freezedried[0]);
  EXPECT_EQ(dodec.cell[0][29][1], dodecface_decant_freezedried[kDodecfaceDecantFloats - 1]);
}

}  // namespace
