// The conformal and table-driven routes, as the renderer calls them: PROJ's
// forward projections as the oracle where a map has a twin, angle keeping
// where it has none, every map against its framing box, and the edge cases
// of the composed routes, each a table of cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "projection/framing.h"
#include "support/proj_oracle.h"
#include "render/output_modes.h"
#include "render/routes/routes_conformal.h"
#include "render/vort.h"

namespace {

// Region marks of calls whose marks a test does not read.
RouteMarks* Unread() {
  static RouteMarks marks;
  marks = RouteMarks{};
  return &marks;
}

constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr double kTwoK = 2.0 * 1.8540746773013719;  // a Peirce hemisphere's side on PROJ's plane
constexpr double kRoot2 = 1.4142135623730951;
// PROJ's Robinson reaches x = 0.8487 pi and y = 1.3523 on the unit sphere.
constexpr double kRobinsonHalfWidth = 2.6662696851;
constexpr double kRobinsonHalfHeight = 1.3523;

vort ViewOf(int32_t mode) {
  vort v{};
  v.outputMode = mode;
  v.outputAspect = 0.5f;
  v.viewAngle = 120.0f;
  v.viewPlaneWidth = 3.4641016f;  // 120 degrees
  v.halfAngleViewPlaneWidth = 1.1547005f;  // 60 degrees
  v.viewColumns = 4;
  v.viewRows = 4;
  v.outputWidth = 512.0f;
  v.outputHeight = 256.0f;
  v.imageWidth = 512.0f;
  v.imageHeight = 256.0f;
  if (const OutputModeRow* row = FindOutputMode(mode)) {
    const PlaneBox& b = row->box;
    SetUpSnugglebox(&v.snuggle, 0.5, b.xMin, b.yMin, b.xMax, b.yMax);
  }
  return v;
}

bool RouteDirection(OutputRoute route, const vort& view, double x, double y, double p[3]) {
  float s[3] = {0.0f, 0.0f, 0.0f};
  uint8_t outside = 7;
  route(Complex(x, y), view, s, &outside, Unread());
  p[0] = s[0];
  p[1] = s[1];
  p[2] = s[2];
  return outside == 0;
}

struct ProjCase {
  const char* name;
  int32_t mode;
  OutputRoute route;
  const char* proj;
  fcomplex (*toOurs)(double px, double py);  // PROJ's plane point on the mode's plane
  double x0, x1, y0, y1;  // the part of the plane compared
  double width;           // the map's width on the mode's plane
  double margin;          // band along the compared part left out, fraction of width
  double maxLonDeg, maxLatDeg;
  double tolerance;  // fraction of width
};

fcomplex Turned(fcomplex scale, double px, double py, double ox, double oy) {
  return Cadd(Cmul(scale, Complex(px, py)), Complex(ox, oy));
}

// Which Adams is which: mode 90 (poles at opposite corners) is PROJ's
// adams_ws2 stood on a corner, mode 91 (poles at the middles of the top and
// bottom edges) is adams_ws1. Both boxes run from 0 to 1, the maps' centres
// at (0.5, 0.5).
const ProjCase kProjCases[] = {
    {"Lagrange 2", 69, Route_Lagrange2, "+proj=lagrng +W=2 +R=1",
     [](double px, double py) { return Complex(-0.5 * px, -0.5 * py); }, -1, 1, -1, 1, 2.0, 0.0, 170, 80, 1e-6},
    {"Lagrange 4/3", 84, Route_Lagrange43, "+proj=lagrng +W=1.3333333333333333 +R=1",
     [](double px, double py) { return Complex(-0.5 * px, -0.5 * py); }, -1.5, 1.5, -1.5, 1.5, 3.0, 0.0, 170, 80,
     1e-6},
    {"Robinson", 80, Route_Robinson, "+proj=robin +R=1",
     [](double px, double py) {
       return Complex(-px / kRobinsonHalfWidth, -0.5 * py / kRobinsonHalfHeight);
     },
     -1, 1, -0.5, 0.5, 2.0, 0.01, 178, 89, 4e-3},
    {"Adams corners = adams_ws2", 90, Route_AdamsCorners, "+proj=adams_ws2 +R=1",
     [](double px, double py) {
       return Turned(Complex(-1 / (kTwoK * kRoot2), 1 / (kTwoK * kRoot2)), px, py, 0.5, 0.5);
     },
     0, 1, 0, 1, 1.0, 0.02, 180, 90, 1.5e-4},
    {"Adams edges = adams_ws1", 91, Route_AdamsEdges, "+proj=adams_ws1 +R=1",
     [](double px, double py) { return Turned(Complex(-1 / kTwoK, 0), px, py, 0.5, 0.5); }, 0, 1, 0, 1, 1.0, 0.02,
     180, 90, 1.5e-4},
    // ob_tran sets PROJ's polar quincuncial on the equator and turns it an
    // eighth, so that the cardinal directions fall as on ours.
    {"Peirce quincuncial", 94, Route_PeirceQuincuncial,
     "+proj=ob_tran +o_proj=peirce_q +o_lat_p=0 +o_lon_p=45 +lon_0=180 +R=1",
     [](double px, double py) { return Turned(Complex(1 / kTwoK, -1 / kTwoK), px, py, 0, 0); }, -1, 1, -1, 1, 2.0,
     0.025, 180, 90, 1.5e-4},
    // PROJ's Guyou is one hemisphere's square; the sheet holds two.
    {"Guyou, east square", 99, Route_Guyou, "+proj=guyou +lon_0=90 +R=1",
     [](double px, double py) { return Turned(Complex(-1 / kTwoK, 0), px, py, -0.5, 0); }, -1, 0, -0.5, 0.5, 2.0,
     0.015, 180, 90, 1.5e-4},
    {"Guyou, west square", 99, Route_Guyou, "+proj=guyou +lon_0=-90 +R=1",
     [](double px, double py) { return Turned(Complex(-1 / kTwoK, 0), px, py, 0.5, 0); }, 0, 1, -0.5, 0.5, 2.0,
     0.015, 180, 90, 1.5e-4},
};

TEST(ConformalRoutes, RoundTripThroughProj) {
  constexpr int kSteps = 48;
  for (const ProjCase& c : kProjCases) {
    const ProjOracle proj(c.proj);
    ASSERT_TRUE(proj.valid()) << c.name;
    ASSERT_EQ(FindOutputMode(c.mode)->route, c.route) << c.name;
    const vort view = ViewOf(c.mode);
    const double margin = c.margin * c.width;
    double worst = 0.0;
    int compared = 0;
    for (int i = 0; i <= kSteps; ++i) {
      for (int j = 0; j <= kSteps; ++j) {
        const double x = c.x0 + (c.x1 - c.x0) * i / kSteps;
        const double y = c.y0 + (c.y1 - c.y0) * j / kSteps;
        if (x - c.x0 < margin || c.x1 - x < margin || y - c.y0 < margin || c.y1 - y < margin) continue;
        double p[3];
        if (!RouteDirection(c.route, view, x, y, p)) continue;
        double lon, lat;
        LonLatFromDirection(p, &lon, &lat);
        if (std::fabs(lon) > c.maxLonDeg * kDegree || std::fabs(lat) > c.maxLatDeg * kDegree) continue;
        double px, py;
        ASSERT_TRUE(proj.Forward(lon, lat, &px, &py)) << c.name;
        const fcomplex back = c.toOurs(px, py);
        const double error = std::hypot(back.re - x, back.im - y) / c.width;
        worst = std::fmax(worst, error);
        EXPECT_LE(error, c.tolerance) << c.name << " at (" << x << ", " << y << ") back at (" << back.re << ", "
                                      << back.im << ")";
        ++compared;
      }
    }
    EXPECT_GT(compared, 600) << c.name;
    std::printf("[ routes   ] %-26s %4d points, worst %.2e of the map width\n", c.name, compared, worst);
  }
}

// Ratio of the larger to the smaller singular value of the route's Jacobian,
// by central differences; 0 when a probe falls off the map.
double SingularValueRatio(OutputRoute route, const vort& view, double x, double y, double h) {
  double px[3], mx[3], py[3], my[3];
  if (!RouteDirection(route, view, x + h, y, px) || !RouteDirection(route, view, x - h, y, mx) ||
      !RouteDirection(route, view, x, y + h, py) || !RouteDirection(route, view, x, y - h, my))
    return 0.0;
  double e = 0, f = 0, g = 0;
  for (int i = 0; i < 3; ++i) {
    const double a = (px[i] - mx[i]) / (2 * h), b = (py[i] - my[i]) / (2 * h);
    e += a * a;
    f += a * b;
    g += b * b;
  }
  const double half = (e + g) / 2, d = std::sqrt(std::fmax(0.0, half * half - (e * g - f * f)));
  return std::sqrt((half + d) / (half - d));
}

struct ShapeCase {
  int32_t mode;
  OutputRoute route;
  double x0, x1, y0, y1;  // the part of the plane probed
};

// The composed routes: a lune opened after Guyou, the Lagrange disk folded
// onto a half disk, and the stereographic plane opened twice and thrice.
// The probe steps over the cut lines of these maps, where a central
// difference straddles a seam; those few points are allowed to fail.
const ShapeCase kConformal[] = {
    {118, Route_DoubleGuyou, -1.9, 1.9, -0.45, 0.45},
    {120, Route_Semicircle, -0.9, 0.9, -0.45, 0.45},
    {135, Route_StereoTwice, -0.45, 0.45, -0.45, 0.45},
    {136, Route_StereoThrice, -0.45, 0.45, -0.45, 0.45},
    {119, Route_WideRectangle, 0.02, 0.98, 0.02, 0.48},
    {121, Route_Ellipse, 0.1, 1.22, 0.1, 0.77},
};

TEST(ConformalRoutes, KeepAnglesWhereProjHasNoTwin) {
  constexpr int kSteps = 23;
  for (const ShapeCase& c : kConformal) {
    const vort view = ViewOf(c.mode);
    // A step of a few table cells: the tabled maps are bilinear inside a cell.
    const double h = 5e-3 * (c.x1 - c.x0);
    int probed = 0, bent = 0;
    for (int i = 0; i <= kSteps; ++i) {
      for (int j = 0; j <= kSteps; ++j) {
        const double x = c.x0 + (c.x1 - c.x0) * (i + 0.37) / (kSteps + 1);
        const double y = c.y0 + (c.y1 - c.y0) * (j + 0.41) / (kSteps + 1);
        const double r = SingularValueRatio(c.route, view, x, y, h);
        if (r == 0.0) continue;
        ++probed;
        if (!(std::fabs(r - 1.0) <= 0.02)) ++bent;
      }
    }
    EXPECT_GT(probed, 150) << "mode " << c.mode;
    EXPECT_LE(bent, probed / 50) << "mode " << c.mode << ": " << bent << " of " << probed << " probes bent";
  }
}

// Every route, over its box and a fifth beyond it: a clean flag, and a unit
// direction wherever it says the point is on the map.
enum Outside { kNever, kSome, kEither };

struct ModeRoute {
  int32_t mode;
  OutputRoute route;
  Outside outside;  // whether the box and its surround hold points off the map
};

const ModeRoute kAllRoutes[] = {
    {69, Route_Lagrange2, kSome},         {80, Route_Robinson, kSome},           {82, Route_StereoPerspective, kNever},
    {83, Route_ThornSheet, kSome},        {84, Route_Lagrange43, kSome},         {85, Route_StereoGrowing, kNever},
    {87, Route_ThornSheet2, kSome},       {88, Route_UnFish, kEither},           {89, Route_Lagrange2Open, kNever},
    {90, Route_AdamsCorners, kSome},      {91, Route_AdamsEdges, kSome},         {92, Route_Peirce92, kSome},
    {93, Route_Peirce93, kSome},          {94, Route_PeirceQuincuncial, kSome},  {95, Route_Peirce95, kSome},
    {96, Route_Peirce96, kSome},          {99, Route_Guyou, kSome},              {118, Route_DoubleGuyou, kSome},
    {119, Route_WideRectangle, kSome},    {120, Route_Semicircle, kSome},        {121, Route_Ellipse, kSome},
    {128, Route_Chevron, kSome},          {130, Route_Malta, kSome},             {131, Route_Malta, kSome},
    {132, Route_Malta, kSome},            {133, Route_Malta, kSome},             {135, Route_StereoTwice, kNever},
    {136, Route_StereoThrice, kNever},
    {140, Route_EqualAreaSquare, kSome},  {141, Route_SquareFish1, kSome},       {142, Route_SquareFish2, kSome},
};

TEST(ConformalRoutes, GiveUnitDirectionsOrOutsideOverTheirBoxes) {
  constexpr int kSteps = 60;
  for (const ModeRoute& m : kAllRoutes) {
    const OutputModeRow* row = FindOutputMode(m.mode);
    ASSERT_NE(row, nullptr) << "mode " << m.mode;
    EXPECT_EQ(row->route, m.route) << "mode " << m.mode;
    const vort view = ViewOf(m.mode);
    const PlaneBox& b = row->box;
    const double w = b.xMax - b.xMin, h = b.yMax - b.yMin;
    int inside = 0, outsideCount = 0;
    for (int i = 0; i <= kSteps; ++i) {
      for (int j = 0; j <= kSteps; ++j) {
        const double x = b.xMin - 0.1 * w + 1.2 * w * i / kSteps;
        const double y = b.yMin - 0.1 * h + 1.2 * h * j / kSteps;
        float s[3] = {9.0f, 9.0f, 9.0f};
        uint8_t outside = 7;
        m.route(Complex(x, y), view, s, &outside, Unread());
        ASSERT_TRUE(outside == 0 || outside == 1) << "mode " << m.mode;
        if (outside) {
          ++outsideCount;
          continue;
        }
        ++inside;
        const double n = std::sqrt(double(s[0]) * s[0] + double(s[1]) * s[1] + double(s[2]) * s[2]);
        ASSERT_NEAR(n, 1.0, 1e-3) << "mode " << m.mode << " at (" << x << ", " << y << ")";
      }
    }
    EXPECT_GT(inside, 0) << "mode " << m.mode;
    if (m.outside == kNever) {
      EXPECT_EQ(outsideCount, 0) << "mode " << m.mode;
    }
    if (m.outside == kSome) {
      EXPECT_GT(outsideCount, 0) << "mode " << m.mode;
    }
  }
}

// Framing fits the box into the output, so a map must fill its box: on the
// map at the box centre, reaching each edge of the box, and off the map a
// little beyond every edge. A map moved off its box (the boxes that do not
// sit on the origin) fails one of the three.
TEST(ConformalRoutes, FillTheirFramingBoxes) {
  constexpr int kSteps = 200;
  for (const ModeRoute& m : kAllRoutes) {
    if (m.outside != kSome || m.mode == 83 || m.mode == 87) continue;  // thorn sheets leave cells empty
    const OutputModeRow* row = FindOutputMode(m.mode);
    const vort view = ViewOf(m.mode);
    const PlaneBox& b = row->box;
    double p[3];
    EXPECT_TRUE(RouteDirection(m.route, view, 0.5 * (b.xMin + b.xMax), 0.5 * (b.yMin + b.yMax), p))
        << "mode " << m.mode << " centre";
    const double w = b.xMax - b.xMin, h = b.yMax - b.yMin;
    for (int edge = 0; edge < 4; ++edge) {
      bool reaches = false, beyond = false;
      for (int k = 0; k <= kSteps; ++k) {
        const double t = double(k) / kSteps;
        for (double d : {0.02, -0.02}) {
          double x, y;
          if (edge < 2) {
            x = b.xMin + w * t;
            y = edge == 0 ? b.yMin + d * h : b.yMax - d * h;
          } else {
            y = b.yMin + h * t;
            x = edge == 2 ? b.xMin + d * w : b.xMax - d * w;
          }
          const bool on = RouteDirection(m.route, view, x, y, p);
          if (d > 0 && on) reaches = true;
          if (d < 0 && on) beyond = true;
        }
      }
      EXPECT_TRUE(reaches) << "mode " << m.mode << " does not reach edge " << edge;
      EXPECT_FALSE(beyond) << "mode " << m.mode << " goes beyond edge " << edge;
    }
  }
}

struct PointCase {
  const char* name;
  OutputRoute route;
  double x, y;
  bool outside;
  float expect[3];  // when on the map
  double tolerance;
};

const PointCase kPoints[] = {
    {"Peirce at its corner", Route_PeirceQuincuncial, 1.0, 1.0, true, {}, 0},
    {"Peirce at its centre", Route_PeirceQuincuncial, 0.0, 0.0, false, {0, 0, 1}, 1e-5},
    {"chevron in its notch", Route_Chevron, 0.0, 0.3, true, {}, 0},
    {"chevron at the tip of its notch", Route_Chevron, 0.0, 0.0, false, {0, 0, 1}, 1e-4},
    {"Robinson beyond its rounded corner", Route_Robinson, 0.9, 0.45, true, {}, 0},
    {"Robinson at its centre", Route_Robinson, 0.0, 0.0, false, {0, 0, 1}, 1e-5},
    {"semicircle below its flat edge", Route_Semicircle, 0.0, 0.5, true, {}, 0},
    {"semicircle at the middle of its flat edge", Route_Semicircle, 0.0, 0.4999, false, {0, 0.70710678f, 0.70710678f},
     1e-3},
    {"Adams corners at the box centre", Route_AdamsCorners, 0.5, 0.5, false, {0, 0, 1}, 1e-5},
    {"Adams edges at the box centre", Route_AdamsEdges, 0.5, 0.5, false, {0, 0, 1}, 1e-5},
    {"wide rectangle at the box centre", Route_WideRectangle, 0.5, 0.25, false, {0, 0, 1}, 2e-4},
    {"ellipse at the box centre", Route_Ellipse, 0.6623045446, 0.4343354807, false, {0, 0, 1}, 2e-4},
    {"square fish 1 at its centre", Route_SquareFish1, 0.0, 0.0, false, {0, 0, 1}, 1e-5},
    // The rim of the disk is the point behind the centre.
    {"square fish 1 at the middle of its edge", Route_SquareFish1, 0.99999, 0.0, false, {0, 0, -1}, 2e-2},
    {"square fish 2 at its centre", Route_SquareFish2, 0.0, 0.0, false, {0, 0, 1}, 1e-5},
    {"equal-area square beyond it", Route_EqualAreaSquare, 0.0, -1.01, true, {}, 0},
};

TEST(ConformalRoutes, LandmarkAndOutsidePoints) {
  const vort view = ViewOf(0);
  for (const PointCase& c : kPoints) {
    float s[3] = {9.0f, 9.0f, 9.0f};
    uint8_t outside = 7;
    c.route(Complex(c.x, c.y), view, s, &outside, Unread());
    EXPECT_EQ(outside, c.outside ? 1 : 0) << c.name;
    if (c.outside || outside) continue;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(s[i], c.expect[i], c.tolerance) << c.name << " component " << i;
  }
}

// Mode 89 is mode 69's disk with the plane beyond it on the map too.
TEST(ConformalRoutes, OpenLagrangeIsTheLagrangeDiskInside) {
  const vort view = ViewOf(89);
  for (double y = -0.95; y <= 0.95; y += 0.1) {
    for (double x = -0.95; x <= 0.95; x += 0.1) {
      double open[3], disk[3];
      ASSERT_TRUE(RouteDirection(Route_Lagrange2Open, view, x, y, open));
      if (!RouteDirection(Route_Lagrange2, view, x, y, disk)) continue;
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(open[i], disk[i], 1e-6) << "(" << x << ", " << y << ")";
    }
  }
}

// The double Guyou's middle line belongs to the right-hand map.
TEST(ConformalRoutes, DoubleGuyouTakesTheRightMapOnItsMiddleLine) {
  const vort view = ViewOf(118);
  for (double y : {-0.3, 0.0, 0.2}) {
    double onLine[3], right[3];
    ASSERT_TRUE(RouteDirection(Route_DoubleGuyou, view, 0.0, y, onLine));
    ASSERT_TRUE(RouteDirection(Route_DoubleGuyou, view, 1e-9, y, right));
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(onLine[i], right[i], 1e-5) << "y " << y;
  }
}

// The orthographic square fisheye shades its point as the surface normal.
TEST(ConformalRoutes, SquareFish2PointIsItsNormal) {
  EXPECT_NE(FindOutputMode(142)->flags & OutputModeFlag_NormalIsPoint, 0u);
  EXPECT_EQ(FindOutputMode(141)->flags & OutputModeFlag_NormalIsPoint, 0u);
}

}  // namespace
