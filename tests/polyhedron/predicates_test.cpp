// Family predicates over every shape code, against the lists of members.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_predicates.h"

namespace {

std::set<int32_t> Range(int32_t first, int32_t last) {
  std::set<int32_t> s;
  for (int32_t c = first; c <= last; ++c) s.insert(c);
  return s;
}

std::set<int32_t> Join(std::initializer_list<std::set<int32_t>> parts) {
  std::set<int32_t> s;
  for (const auto& p : parts) s.insert(p.begin(), p.end());
  return s;
}

struct FamilyCase {
  const char* name;
  bool (*predicate)(int32_t);
  std::set<int32_t> members;
};

TEST(PolyPredicates, ShapeFamiliesHoldExactlyTheirMembers) {
  const std::vector<FamilyCase> cases = {
      {"rollout", ShapecodeIsARollout, Range(102, 149)},
      {"truchet dual", ShapecodeIsATruchetDual, Range(201, 220)},
      {"voronoi", ShapecodeIsAVoronoi, Join({Range(151, 160), Range(181, 200)})},
      {"origami standard", ShapecodeIsACurvedOrigamiStandard, {161, 163, 165, 167, 169, 171, 173, 174, 177, 178}},
      {"origami monofrag", ShapecodeIsACurvedOrigamiMonofrag, {162, 164, 166, 168, 170, 172, 175, 176, 179, 180}},
      {"built on the fly", PolyhedronIsBuiltOnTheFly,
       Join({Range(25, 27),
             Range(48, 50),
             {71, 72, 74},
             Range(75, 78),
             Range(80, 101),
             Range(102, 149),
             {150},
             Range(151, 160),
             Range(161, 180),
             Range(181, 200),
             Range(201, 220)})},
  };
  for (const FamilyCase& c : cases)
    for (int32_t code = -2; code <= 260; ++code)
      EXPECT_EQ(c.predicate(code), c.members.count(code) == 1) << c.name << " " << code;
  // The two origami variants split 161-180 between them.
  for (int32_t code = 161; code <= 180; ++code)
    EXPECT_NE(ShapecodeIsACurvedOrigamiStandard(code), ShapecodeIsACurvedOrigamiMonofrag(code)) << code;
}

TEST(PolyPredicates, OutputModeFamiliesFollowTheModesSolid) {
  // Rollouts are modes 199-246, the Voronoi solids 248-250, 253, 254 and
  // 263-267, the Truchet duals 268-287; no other mode, floret or not, draws one.
  const std::set<int32_t> rollouts = Range(199, 246);
  const std::set<int32_t> voronoi = Join({{248, 249, 250, 253, 254}, Range(263, 267)});
  const std::set<int32_t> truchet = Range(268, 287);
  for (int32_t mode = -2; mode <= 1100; ++mode) {
    EXPECT_EQ(OutputModeIsARollout(mode), rollouts.count(mode) == 1) << mode;
    EXPECT_EQ(OutputModeIsAVoronoi(mode), voronoi.count(mode) == 1) << mode;
    EXPECT_EQ(OutputModeIsATruchetDual(mode), truchet.count(mode) == 1) << mode;
  }
}

TEST(PolyPredicates, TruchetPatternsOfVoronoiShapesAndTheirDuals) {
  const int32_t patterns[20] = {560,  1514, 2756, 3841, 3,    3938, 454,  3552, 2756, 3938,
                                1312, 548,  817,  976,  1315, 3664, 3795, 3978, 4074, 48};
  for (int32_t k = 0; k < 20; ++k) {
    EXPECT_EQ(TruchetCodeFromShapecode(181 + k), patterns[k]) << 181 + k;
    EXPECT_EQ(TruchetCodeFromShapecode(201 + k), patterns[k]) << 201 + k;
  }
  for (int32_t code : {-1, 0, 151, 160, 180, 221, 1000}) EXPECT_EQ(TruchetCodeFromShapecode(code), 0) << code;
  for (int32_t k = 0; k < 20; ++k) EXPECT_LT(patterns[k], 4096);  // 12-bit patterns
}

TEST(PolyPredicates, SingleFragmentVariantsOfOutputModes) {
  const int32_t cases[][2] = {{256, 1035}, {257, 1037}, {258, 1036}, {259, 1038}, {261, 1040}, {289, 1047},
                              {290, 1048}, {291, 1049}, {260, 260},  {262, 262},  {1, 1},      {1035, 1035}};
  for (const auto& c : cases) EXPECT_EQ(MonofragVersion_of_projection(c[0]), c[1]) << c[0];
}

TEST(PolyPredicates, FragmentationIsRevisableOnlyWithSeveralFragments) {
  PolyPtr p = NewPoly();
  const struct {
    int32_t fragments;
    uint8_t flag;
    bool revisable;
  } cases[] = {{0, 1, false}, {1, 1, false}, {2, 1, true}, {19, 1, true}, {5, 0, false}};
  for (const auto& c : cases) {
    p->fragmentCount = c.fragments;
    p->fragmentationRevisable = c.flag;
    EXPECT_EQ(FragmentationIsRevisable(p.get()), c.revisable) << c.fragments << " " << int(c.flag);
  }
  EXPECT_FALSE(FragmentationIsRevisable(nullptr));
}

}  // namespace
