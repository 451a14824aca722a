// Rectangles, dates, random numbers and the non-finite test.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "frame/base/dates.h"
#include "frame/base/random.h"
#include "frame/base/rects.h"
#include "frame/base/small_utils.h"

namespace {

bool Same(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

TEST(UtilsRects, OperationsOnHostRectangles) {
  Rect r{};
  ZorSetRect(&r, 1, 2, 3, 4);  // left, top, right, bottom
  EXPECT_TRUE(Same(r, Rect{2, 1, 4, 3}));
  ZorSetRect(nullptr, 1, 2, 3, 4);

  Rect a{}, b{5, 6, 7, 8};
  copyRectBtoA(&a, &b);
  EXPECT_TRUE(Same(a, b));
  Rect c{};
  TWCopyRectA2B(&b, &c);
  EXPECT_TRUE(Same(c, b));

  Rect m{0, 0, 10, 20};
  ZorOffsetRect(&m, 5, -2);
  EXPECT_TRUE(Same(m, Rect{-2, 5, 8, 25}));
  ZorInsetRect(&m, 1, 2);
  EXPECT_TRUE(Same(m, Rect{0, 6, 6, 24}));
  ZorOffsetRect(nullptr, 1, 1);
  ZorInsetRect(nullptr, 1, 1);

  Rect s{0, 0, 10, 11};
  ScaleRect_zor(&s, 1, 3);
  EXPECT_TRUE(Same(s, Rect{0, 0, 3, 3}));
  Rect neg{-7, -7, 7, 7};
  ScaleRect_zor(&neg, 1, 2);  // toward zero
  EXPECT_TRUE(Same(neg, Rect{-3, -3, 3, 3}));
  ScaleRect_zor(&neg, 2, 0);  // a zero divisor counts as 1
  EXPECT_TRUE(Same(neg, Rect{-6, -6, 6, 6}));

  Rect clip{0, 0, 10, 10};
  const Rect other{5, 5, 20, 20};
  ClipAAgainstB(&clip, &other);
  EXPECT_TRUE(Same(clip, Rect{5, 5, 10, 10}));
  Rect disjoint{0, 0, 10, 10};
  const Rect far{20, 20, 30, 30};
  ClipAAgainstB(&disjoint, &far);
  EXPECT_LT(disjoint.right, disjoint.left);
  EXPECT_TRUE(QDEmptyRect(&disjoint));
  EXPECT_FALSE(QDEmptyRect(&clip));

  const Rect box{0, 0, 10, 10};
  EXPECT_TRUE(ZorPtInRect(Point{10, 10}, &box));  // right and bottom edges count
  EXPECT_TRUE(ZorPtInRect(Point{0, 0}, &box));
  EXPECT_FALSE(ZorPtInRect(Point{11, 5}, &box));
  EXPECT_FALSE(ZorPtInRect(Point{5, 5}, nullptr));
}

TEST(UtilsRects, ViewRectanglesAreCentred) {
  CGRect a{{0, 0}, {10, 4}};
  const CGPoint p{100, 50};
  CenterAonPoint_HIRect(&a, &p);
  EXPECT_FLOAT_EQ(a.origin.x, 95);
  EXPECT_FLOAT_EQ(a.origin.y, 48);
  EXPECT_FLOAT_EQ(a.size.width, 10);
  const CGRect b{{10, 20}, {30, 40}};
  CenterAonB_HIRect(&a, &b);
  EXPECT_FLOAT_EQ(a.origin.x, 20);
  EXPECT_FLOAT_EQ(a.origin.y, 38);
  CenterAonB_HIRect(nullptr, &b);
}

class UtilsDates : public ::testing::Test {
 protected:
  void TearDown() override {
    ZorUnfixClock();
    if (savedTz_.empty())
      unsetenv("TZ");
    else
      setenv("TZ", savedTz_.c_str(), 1);
    tzset();
  }
  void SetZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) savedTz_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  std::string savedTz_;
};

TEST_F(UtilsDates, SecondsSince1904AreExact) {
  ZorFixClock(0);  // 1970-01-01 00:00 UTC
  EXPECT_EQ(ZorReturnDateTime(), 2082844800u);
  ZorFixClock(978307200);  // 2001-01-01 00:00 UTC
  EXPECT_EQ(ZorReturnDateTime(), 3061152000u);
  ZorFixClock(-2082844800 - 10);  // before 1904
  EXPECT_EQ(ZorReturnDateTime(), 0u);
  ZorFixClock(int64_t(1) << 33);  // past 2040
  EXPECT_EQ(ZorReturnDateTime(), 4294967295u);
  ZorUnfixClock();
  EXPECT_GT(ZorReturnDateTime(), 3061152000u);
}

TEST_F(UtilsDates, UtcAndLocalBreakdowns) {
  SetZone("EST5");  // five hours behind UTC, no summer time
  ZorFixClock(1700000000);  // 2023-11-14 22:13:20 UTC
  int32_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  UTCYearMonthDayHour(&y, &mo, &d, &h);
  EXPECT_EQ(y, 2023);
  EXPECT_EQ(mo, 11);
  EXPECT_EQ(d, 14);
  EXPECT_EQ(h, 22);
  LocalYearMonthDayHourMinutesSeconds(&y, &mo, &d, &h, &mi, &s);
  EXPECT_EQ(y, 2023);
  EXPECT_EQ(mo, 11);
  EXPECT_EQ(d, 14);
  EXPECT_EQ(h, 17);
  EXPECT_EQ(mi, 13);
  EXPECT_EQ(s, 20);
  // Past the 32-bit count of 1904 seconds the breakdown still reads right.
  ZorFixClock(2300000000);  // 2042-11-19 UTC
  UTCYearMonthDayHour(&y, &mo, &d, &h);
  EXPECT_EQ(y, 2042);
  EXPECT_EQ(mo, 11);
}

TEST(UtilsRandom, RangesAreInclusiveInEitherOrderAndReproducible) {
  ZorSeedRandom(99);
  EXPECT_EQ(RandomRange(5, 5), 5);
  std::vector<int> seen(8, 0);
  for (int i = 0; i < 2000; ++i) {
    const int32_t v = RandomRange(9, 2);
    ASSERT_GE(v, 2);
    ASSERT_LE(v, 9);
    ++seen[size_t(v - 2)];
  }
  for (int n : seen) EXPECT_GT(n, 150);

  ZorSeedRandom(7);
  std::vector<int32_t> first;
  for (int i = 0; i < 20; ++i) first.push_back(RandomRange(-1000, 1000));
  ZorSeedRandom(7);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(RandomRange(-1000, 1000), first[size_t(i)]);
}

TEST(UtilsRandom, WideSpansAreUniformOverTheWholeSpan) {
  ZorSeedRandom(12345);
  // Ten equal bins over 0..99999: a draw of only 12 bits would leave all but
  // the first bin empty.
  std::vector<int> bins(10, 0);
  constexpr int kDraws = 100000;
  for (int i = 0; i < kDraws; ++i) ++bins[size_t(RandomRange(0, 99999) / 10000)];
  for (int n : bins) EXPECT_NEAR(n, kDraws / 10, 600);

  // The full 32-bit span: both halves show up about equally.
  int negatives = 0;
  for (int i = 0; i < 10000; ++i) negatives += RandomRange(INT32_MIN, INT32_MAX) < 0;
  EXPECT_NEAR(negatives, 5000, 300);
  EXPECT_EQ(RandomRange(INT32_MAX, INT32_MAX), INT32_MAX);
}

TEST(UtilsNan, NonFiniteInSinglePrecision) {
  struct {
    double x;
    bool asFloat, asDouble;
  } cases[] = {
      {0.0, false, false},
      {-1.5, false, false},
      {double(FLT_MAX), false, false},
      {-double(FLT_MAX), false, false},
      {1e300, true, true},     // finite double, infinite float
      {-1e300, true, true},
      {0x1.fffffefffffffp+127, false, false},  // just below the rounding point: narrows to FLT_MAX
      {0x1.ffffffp+127, true, true},           // the tie rounds to infinity
      {INFINITY, true, true},
      {-INFINITY, true, true},
      {NAN, true, true},
  };
  for (const auto& c : cases) {
    if (std::isfinite(c.x) && std::fabs(c.x) <= FLT_MAX) {
      EXPECT_EQ(zor_isnan(float(c.x)), c.asFloat) << c.x;
    }
    EXPECT_EQ(zor_isnanD(c.x), c.asDouble) << c.x;
  }
  EXPECT_TRUE(zor_isnan(INFINITY));
  EXPECT_TRUE(zor_isnan(NAN));
  EXPECT_FALSE(zor_isnan(FLT_MAX));
}

}  // namespace
