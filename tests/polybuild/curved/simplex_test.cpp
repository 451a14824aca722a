// The hinge search on hinges whose answer is known in closed form: the
// pivot turned about the z axis through the origin, the new outer point the
// turned pivot itself (lenA 0), so the outer step is the chord 2 sin(a/2).
#include <gtest/gtest.h>

#include <cmath>

#include "polybuild/curved/vivo_hinge.h"
#include "polybuild/curved/vivo_simplex.h"

namespace {

HingeSearchRecord ChordHinge(double target) {
  HingeSearchRecord r{};
  r.centre = Triplex(0, 0, 0);
  r.axis = Triplex(0, 0, 1);
  r.anchorA = Triplex(1, 0, 0);
  r.anchorB = Triplex(-1, 0, 0);
  r.pivot = Triplex(1, 0, 0);
  r.lenA = 0.0;
  r.lenB = 0.5;
  r.target = target;
  return r;
}

fcomplex Search(HingeSearchRecord* r) {
  triplex state[4] = {};
  return SimplexInverse_core(Triplex(0, 0, 0), state, kSimplexKindHinge, 1e-20, r);
}

}  // namespace

TEST(HingeSearch, FindsTheRootOfKnownHinges) {
  // Roots at the start point, inside the start simplex, far beyond it, and
  // at the edge of the allowed range.
  for (double root : {0.05, 0.02, 0.3, 1.0, 1.5}) {
    HingeSearchRecord r = ChordHinge(2.0 * std::sin(root / 2.0));
    const fcomplex found = Search(&r);
    EXPECT_NEAR(found.re, root, 1e-9) << "root " << root;
    EXPECT_LT(r.bestError, 1e-12) << "root " << root;
  }
}

TEST(HingeSearch, UnreachableTargetEndsAtTheRangeWithTheMissLeft) {
  // Longer than any chord the allowed turns make: the best is the range's
  // end, and the error that remains says the step did not close.
  HingeSearchRecord r = ChordHinge(2.0 * std::sin(2.0 / 2.0));
  const fcomplex found = Search(&r);
  EXPECT_NEAR(found.re, kHingeAngleLimit, 1e-6);
  EXPECT_GT(r.bestError, 0.1);
  EXPECT_LT(r.bestError, 1.0);
}

TEST(HingeSearch, RootBelowZeroIsOutOfReach) {
  // A hinge that would have to fold the other way: the pivot starts turned
  // by -0.2, so only a = -0.2 brings it back onto the outer point. The
  // search stays at the range's start and reports the chord it leaves.
  HingeSearchRecord r = ChordHinge(0.0);
  r.pivot = Triplex(std::cos(-0.2), std::sin(-0.2), 0.0);
  const fcomplex found = Search(&r);
  EXPECT_NEAR(found.re, 0.0, 1e-9);
  EXPECT_NEAR(r.bestError, 2.0 * std::sin(0.1), 1e-8);
}

TEST(HingeError, PenaltiesOutsideTheRange) {
  HingeSearchRecord r = ChordHinge(0.1);
  r.angle = -0.1;
  EXPECT_DOUBLE_EQ(hinge_error(&r), 99999999.1);
  r.angle = 2.0;
  EXPECT_DOUBLE_EQ(hinge_error(&r), 100000001.0);
  r.angle = 0.0;
  EXPECT_NEAR(hinge_error(&r), 0.1, 1e-15) << "no turn: the chord is 0";
}

TEST(BuildDAndF, RungStaysParallelToTheOldOne) {
  HingeSearchRecord r = ChordHinge(0.0);
  r.lenA = 0.25;
  r.anchorA = Triplex(0, 2, 0);
  r.anchorB = Triplex(0, 0, -3);
  r.angle = 3.14159265358979323846 / 2.0;
  Build_D_and_F(&r);
  // (1, 0, 0) turned a quarter about +z goes to (0, -1, 0).
  EXPECT_NEAR(r.pointD.x, 0.0, 1e-15);
  EXPECT_NEAR(r.pointD.y, -1.0, 1e-15);
  EXPECT_NEAR(r.pointE.y, -0.75, 1e-15);
  EXPECT_NEAR(r.pointF.z, -0.5, 1e-15);
}

TEST(DownhillSimplex, StopsAtOnceWhenTheBestIsWithinTolerance) {
  // Equal errors keep their order; a met tolerance stops before any trial,
  // so kinds without an objective can be read back unchanged.
  triplex state[4] = {{}, {1, 2, 0.5}, {3, 4, 0.5}, {5, 6, 0.5}};
  const fcomplex best = DownhillSimplex(state, 0, 1.0, nullptr);
  EXPECT_EQ(best.re, 1.0);
  EXPECT_EQ(best.im, 2.0);
  EXPECT_EQ(state[2].x, 3.0);
  EXPECT_EQ(state[3].x, 5.0);
  triplex sorted[4] = {{}, {1, 2, 0.9}, {3, 4, 0.1}, {5, 6, 0.5}};
  const fcomplex lowest = DownhillSimplex(sorted, 0, 1.0, nullptr);
  EXPECT_EQ(lowest.re, 3.0);
  EXPECT_EQ(sorted[2].x, 5.0);
  EXPECT_EQ(sorted[3].x, 1.0);
}

TEST(DownhillSimplex, HingeStartSimplex) {
  HingeSearchRecord r = ChordHinge(0.0);
  triplex state[4] = {};
  InitSimplexState(state, Triplex(9, 9, 9), kSimplexKindHinge, &r);
  const double x = 0.05 - kHingeStartOffset;
  EXPECT_DOUBLE_EQ(state[1].x, x);
  EXPECT_DOUBLE_EQ(state[1].y, -kHingeStartOffset);
  EXPECT_DOUBLE_EQ(state[2].x, x + kHingeStartSpread);
  EXPECT_DOUBLE_EQ(state[3].y, -kHingeStartOffset + kHingeStartSpread);
  EXPECT_NEAR(state[2].z, 2.0 * std::sin(state[2].x / 2.0), 1e-15);
  triplex untouched[4] = {{}, {7, 7, 7}, {7, 7, 7}, {7, 7, 7}};
  InitSimplexState(untouched, Triplex(0, 0, 0), kSimplexKindHinge, nullptr);
  EXPECT_EQ(untouched[1].x, 7.0) << "no context, no start";
}
