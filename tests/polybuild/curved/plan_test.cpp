// The layered export's planning on a curved-element solid: one plan per
// piece, each with a width.
#include <gtest/gtest.h>

#include <vector>

#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "support/poly_fixture.h"

TEST(VivoPlan, EveryPieceOfTheTriboxIsPlanned) {
  PolyPtr p = NewPoly();
  DarOzoPolySetup(258, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
  const int32_t groups = NewCountFacegroupsInPoly(p.get());
  ASSERT_EQ(groups, 5);
  std::vector<float> x(groups, -1.0f), y(groups, -1.0f), angle(groups, 99.0f);
  CrammingPlan plan{x.data(), y.data(), angle.data(), 0.0f, nullptr, nullptr};
  const double ratio = PlanCrammingForExportation_core(258, groups, nullptr, p.get(), 0.0f, 1, &plan);
  EXPECT_GT(ratio, 0.0);
  EXPECT_GT(plan.scale, 0.0f);
  for (int32_t k = 0; k < groups; ++k) EXPECT_NE(angle[k], 99.0f) << "group " << k << " has a chosen turn";
  EXPECT_EQ(p->unfoldingIndex, groups - 1);
  EXPECT_EQ(p->errorCode, 0);
}
