#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "projection/inverse/special_views_ellipsoid.h"
#include "views_test_util.h"

namespace {

EllipsoidArcTable BuiltTable(float width, int32_t kind) {
  EllipsoidArcTable t;
  InitEllipsoidArcTable(&t);
  PrepareEllipsoidArcTable(&t, width, kind);
  return t;
}

TEST(EllipsoidProfile, PointsOfBothProfiles) {
  float p[3] = {7.0f, 7.0f, 7.0f};
  GrabPointOnEllipsoidProfile(0.5f, p, 2.0f, EllipsoidProfile_Ellipse);
  const float equator[3] = {2.0f, 0.0f, 0.0f};
  EXPECT_TRUE(Near3(p, equator, 1e-6));

  GrabPointOnEllipsoidProfile(0.0f, p, 2.0f, EllipsoidProfile_Egg);
  const float eggTip[3] = {0.0f, static_cast<float>(2.0 * std::pow(1.8, 1.5)), 0.0f};
  EXPECT_TRUE(Near3(p, eggTip, 1e-5));

  // An unknown kind draws nothing: x and y stay, z is still cleared.
  float q[3] = {3.0f, 4.0f, 5.0f};
  GrabPointOnEllipsoidProfile(0.3f, q, 1.0f, 7);
  const float kept[3] = {3.0f, 4.0f, 0.0f};
  EXPECT_TRUE(Near3(q, kept, 0.0));
}

TEST(EllipsoidTable, EndsAndClampsAndTotal) {
  for (int32_t kind : {0, 1}) {
    const EllipsoidArcTable t = BuiltTable(1.3f, kind);
    SCOPED_TRACE(kind);
    EXPECT_EQ(distance_around_ellipsoid(0.0f, &t, 1.3f, kind), 0.0f);
    EXPECT_EQ(distance_around_ellipsoid(1.0f, &t, 1.3f, kind), 1.0f);
    EXPECT_EQ(distance_around_ellipsoid(-0.5f, &t, 1.3f, kind), 0.0f);
    EXPECT_EQ(distance_around_ellipsoid(2.0f, &t, 1.3f, kind), 1.0f);
    EXPECT_EQ(distance_around_ellipsoid(NAN, &t, 1.3f, kind), 0.0f);
    for (int i = 1; i < kEllipsoidArcEntries - 1; ++i) EXPECT_GE(t.entry[i], t.entry[i - 1]);
  }
  // The unit circle's half is pi long, and its arc length is linear in t.
  const EllipsoidArcTable circle = BuiltTable(1.0f, EllipsoidProfile_Ellipse);
  EXPECT_NEAR(EllipsoidProfileLength(&circle, 1.0f, 0), M_PI, 1e-4);
  EXPECT_NEAR(distance_around_ellipsoid(0.3f, &circle, 1.0f, 0), 0.3f, 1e-5);
}

TEST(EllipsoidTable, InverseFindsTheParameter) {
  for (int32_t kind : {0, 1}) {
    const EllipsoidArcTable t = BuiltTable(1.7f, kind);
    for (float d : {0.1f, 0.5f, 0.77f}) {
      const float q = binary_search_for_parameter_from_distance(d, &t, 1.7f, kind);
      EXPECT_NEAR(distance_around_ellipsoid(q, &t, 1.7f, kind), d, 4.0 / (1 << 20)) << kind << " " << d;
    }
    const float top = binary_search_for_parameter_from_distance(1.0f, &t, 1.7f, kind);
    EXPECT_LT(top, 1.0f);
    EXPECT_GT(top, 1.0f - 2e-6f);
    EXPECT_EQ(binary_search_for_parameter_from_distance(-3.0f, &t, 1.7f, kind),
              binary_search_for_parameter_from_distance(0.0f, &t, 1.7f, kind));
  }
}

// A table built for one view angle must not answer for another: the gores
// of a later pass with a different profile would use the old arc lengths.
TEST(EllipsoidTable, StaleTableIsRebuiltOrBypassed) {
  EllipsoidArcTable t = BuiltTable(1.0f, EllipsoidProfile_Ellipse);
  const EllipsoidArcTable wide = BuiltTable(3.0f, EllipsoidProfile_Ellipse);
  const float want = distance_around_ellipsoid(0.2f, &wide, 3.0f, 0);
  EXPECT_NE(distance_around_ellipsoid(0.2f, &t, 1.0f, 0), want);
  // Read with the other profile before any prefill: the right answer, the
  // shared table untouched.
  EllipsoidArcTable before;
  std::memcpy(&before, &t, sizeof t);
  EXPECT_EQ(distance_around_ellipsoid(0.2f, &t, 3.0f, 0), want);
  EXPECT_EQ(EllipsoidProfileLength(&t, 3.0f, 0), wide.entry[400]);
  EXPECT_EQ(std::memcmp(&before, &t, sizeof t), 0);
  // The prefill then rebuilds it for the new profile.
  PrepareEllipsoidArcTable(&t, 3.0f, 0);
  EXPECT_TRUE(EllipsoidArcTableIsFor(&t, 3.0f, 0));
  EXPECT_EQ(std::memcmp(t.entry, wide.entry, sizeof t.entry), 0);
}

// Look-ups never write: many tasks reading an unbuilt table (the prefill
// skipped) all get the built table's answers, and the table stays unbuilt.
TEST(EllipsoidTable, ConcurrentReadersOfAnUnbuiltTable) {
  EllipsoidArcTable shared;
  InitEllipsoidArcTable(&shared);
  const EllipsoidArcTable ref = BuiltTable(1.4f, EllipsoidProfile_Egg);
  std::vector<int> wrong(8, 0);
  std::vector<std::thread> threads;
  for (int w = 0; w < 8; ++w) {
    threads.emplace_back([&, w] {
      for (int i = 0; i < 50; ++i) {
        const float t = (i + w * 0.1f) / 50.0f;
        if (distance_around_ellipsoid(t, &shared, 1.4f, 1) != distance_around_ellipsoid(t, &ref, 1.4f, 1)) {
          ++wrong[w];
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int w = 0; w < 8; ++w) EXPECT_EQ(wrong[w], 0);
  EXPECT_EQ(shared.entry[0], kEllipsoidArcUnbuilt);
  EXPECT_EQ(distance_around_ellipsoid(0.5f, nullptr, 1.4f, 1), distance_around_ellipsoid(0.5f, &ref, 1.4f, 1));
}

// A profile with no length (an unknown kind) cannot be normalised; the
// table falls back to the parameter itself instead of filling with NaNs.
TEST(EllipsoidTable, ProfileWithoutLengthStaysFinite) {
  const EllipsoidArcTable t = BuiltTable(1.0f, 5);
  EXPECT_EQ(t.entry[400], 0.0f);
  for (float x : {0.0f, 0.25f, 1.0f}) EXPECT_NEAR(distance_around_ellipsoid(x, &t, 1.0f, 5), x, 1e-6);
  EXPECT_TRUE(std::isfinite(binary_search_for_parameter_from_distance(0.4f, &t, 1.0f, 5)));
}

}  // namespace
