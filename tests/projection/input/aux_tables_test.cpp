// The Mollweide auxiliary-angle table and the Robinson tables: the printed
// node values, the inverse table against the forward interpolation, the
// lookups' symmetry and ends, and that every thread sees one built table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "projection/inverse/mollweide.h"
#include "projection/inverse/robinson.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct NodeValue {
  int index;
  float distance;
  float length;
};

// Every value the published table is known by at its ends, the repeated pole
// entry and the zero padding.
TEST(RobinsonTables, KnownNodeValues) {
  const NodeValue known[] = {
      {0, 0.0f, 1.0f},       {1, 0.062f, 0.9986f},  {2, 0.124f, 0.9954f}, {17, 0.9761f, 0.5722f},
      {18, 1.0f, 0.5322f},   {19, 1.0f, 0.5322f},   {20, 0.0f, 0.0f},     {21, 0.0f, 0.0f},
      {22, 0.0f, 0.0f},      {23, 0.0f, 0.0f},
  };
  for (const NodeValue& n : known) {
    EXPECT_EQ(RobinsonLatitudeByMapY[n.index], n.distance) << n.index;
    EXPECT_EQ(RobinsonXScaleByLatitude[n.index], n.length) << n.index;
  }
  for (int i = 0; i + 1 < kRobinsonNodes; ++i) {
    EXPECT_LT(RobinsonLatitudeByMapY[i], RobinsonLatitudeByMapY[i + 1]) << i;
    EXPECT_GT(RobinsonXScaleByLatitude[i], RobinsonXScaleByLatitude[i + 1]) << i;
  }
}

// The committed tables are what the generator makes from PROJ's nodes.
TEST(RobinsonTables, GeneratorReproducesTheCommittedTables) {
  const std::string command =
      std::string("python3 ") + GYRELLE_SOURCE_DIR + "/tools/make_robinson_table.py --check";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

// Map distance of latitude fraction l by the node table (the function the
// inverse table inverts), in double.
double DistanceOf(double l) {
  const double x = std::fabs(l) * 18.0;
  const int i = static_cast<int>(std::floor(x));
  const double d = RobinsonLatitudeByMapY[i] + (RobinsonLatitudeByMapY[i + 1] - RobinsonLatitudeByMapY[i]) * (x - i);
  return l < 0 ? -d : d;
}

TEST(RobinsonTables, InverseTableInvertsTheDistances) {
  const float* table = RobinsonInverseTable();
  for (int i = 0; i < kRobinsonInverseSize; ++i) {
    EXPECT_NEAR(DistanceOf(table[i]), i / 399.0, 2e-6) << i;
    if (i > 0) {
      EXPECT_GT(table[i], table[i - 1]) << i;
    }
  }
  EXPECT_NEAR(RobinsonInverse_function(0.5f, table), -RobinsonInverse_function(-0.5f, table), 0);
  EXPECT_EQ(RobinsonInverse_function(0.0f, table), table[0]);
}

TEST(RobinsonTables, InverseUndoesTheForwardMap) {
  const float* table = RobinsonInverseTable();
  for (float lat = -1.0f; lat <= 1.0f; lat += 0.0625f) {
    // The rim (|lon| = 1) is left out: there the inverse's own rounding
    // decides between on and off the map.
    for (float lon = -0.875f; lon <= 0.875f; lon += 0.125f) {
      float mx, my;
      ASSERT_EQ(RobinsonForward(lon, lat, &mx, &my), 0);
      float x = mx, y = my / 2.0f;
      uint8_t outside = 9;
      RobinsonInverse(&x, &y, &outside, table);
      EXPECT_EQ(outside, 0) << lon << ", " << lat;
      EXPECT_NEAR(y, lat, 2e-5) << lon << ", " << lat;
      EXPECT_NEAR(x, -lon, 2e-5) << lon << ", " << lat;  // the map reads x mirrored
    }
  }
}

TEST(RobinsonTables, PointsOffTheMap) {
  const float* table = RobinsonInverseTable();
  struct Off {
    float x, y;
  };
  // Beyond the top (2y > 1), beyond the side, and beside a short parallel
  // (about 0.67 long at y = 0.45).
  for (const Off o : {Off{0.0f, 0.6f}, Off{1.01f, 0.0f}, Off{0.9f, 0.45f}, Off{-0.9f, -0.45f}}) {
    float x = o.x, y = o.y;
    uint8_t outside = 0;
    RobinsonInverse(&x, &y, &outside, table);
    EXPECT_EQ(outside, 1) << o.x << ", " << o.y;
  }
  float mx, my;
  EXPECT_EQ(RobinsonForward(0.5f, 1.5f, &mx, &my), 1);
  EXPECT_EQ(mx, 0.5f);
  EXPECT_EQ(my, 1.5f);
}

// The auxiliary angle solves 2·theta + sin(2·theta) = pi·sin(phi).
double ExactTheta(double phi) {
  double x = phi;
  for (int i = 0; i < 200; ++i) {
    const double slope = 2 + 2 * std::cos(2 * x);
    if (slope < 1e-12) break;
    const double d = (2 * x + std::sin(2 * x) - kPi * std::sin(phi)) / slope;
    x -= d;
    if (std::fabs(d) < 1e-15) break;
  }
  return x;
}

TEST(MollweideTable, ThetaSolvesTheEquation) {
  const float* table = MollweideThetaTable();
  for (int i = 0; i < kMollweideTableSize; ++i) EXPECT_TRUE(std::isfinite(table[i])) << i;
  EXPECT_EQ(Molltheta(0.0f, table), 0.0f);
  for (double deg = -85; deg <= 85; deg += 2.5) {
    const float phi = static_cast<float>(deg * kPi / 180);
    // The table is linear between nodes 0.45 degrees apart; it bends most
    // toward the pole.
    const double tol = std::fabs(deg) <= 70 ? 2e-5 : 3e-4;
    EXPECT_NEAR(Molltheta(phi, table), ExactTheta(phi), tol) << deg;
    EXPECT_EQ(Molltheta(-phi, table), -Molltheta(phi, table)) << deg;
  }
}

TEST(MollweideTable, LookupEnds) {
  const float* table = MollweideThetaTable();
  // |phi|/pi·399 at or beyond 399: the last entry, with phi's sign.
  for (const float phi : {3.1415927f, 4.0f, 1e30f}) {
    EXPECT_EQ(Molltheta(phi, table), table[399]) << phi;
    EXPECT_EQ(Molltheta(-phi, table), -table[399]) << phi;
  }
  EXPECT_EQ(LookupTable400(table, std::nanf("")), table[0]);
  EXPECT_EQ(LookupTable400(table, 398.5f), table[398] + 0.5f * (table[399] - table[398]));
}

// The process-wide tables are built once and are the same for every
// thread, bit for bit equal to a fresh build into a buffer of one's own.
TEST(AuxTables, OneBuildSeenByEveryThread) {
  float mollweide[kMollweideTableSize];
  float robinson[kRobinsonInverseSize];
  BuildMollweideThetaTable(mollweide);
  BuildRobinsonInverseTable(robinson);
  constexpr int kThreads = 8;
  std::vector<const float*> seen(2 * kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&seen, t] {
      seen[2 * t] = MollweideThetaTable();
      seen[2 * t + 1] = RobinsonInverseTable();
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(seen[2 * t], MollweideThetaTable());
    EXPECT_EQ(seen[2 * t + 1], RobinsonInverseTable());
  }
  for (int i = 0; i < kMollweideTableSize; ++i) EXPECT_EQ(MollweideThetaTable()[i], mollweide[i]) << i;
  for (int i = 0; i < kRobinsonInverseSize; ++i) EXPECT_EQ(RobinsonInverseTable()[i], robinson[i]) << i;
}

}  // namespace
