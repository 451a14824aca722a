// The view, sheet, gore, star and cylinder routes: PROJ's twins as oracles
// where one exists (gnomonic, stereographic, Mercator, equal-area cylinder,
// plate carree, polyconic gores), closed-form views where PROJ has none
// (Panini), coverage and seam invariants for the layouts cut into pieces,
// and the edge cases of each layout in tables.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "projection/nets/florets_basis.h"
#include "projection/framing.h"
#include "projection/scalar_math.h"
#include "render/output_modes.h"
#include "render/routes/routes_stars.h"
#include "render/routes/routes_views.h"
#include "render/vort.h"
#include "support/proj_oracle.h"

namespace {

// Region marks of calls whose marks a test does not read.
RouteMarks* Unread() {
  static RouteMarks marks;
  marks = RouteMarks{};
  return &marks;
}

constexpr double kPi = 3.141592653589793;

// A square output framed on the box (-0.5, -0.5)-(0.5, 0.5): the plane
// point is then (u - 0.5, v - 0.5).
vort SquareView(int32_t mode, float viewAngle = 120.0f) {
  vort v{};
  v.outputMode = mode;
  v.outputAspect = 1.0f;
  v.viewAngle = viewAngle;
  v.viewPlaneWidth = float(2.0 * std::tan(viewAngle * kPi / 360.0));
  v.viewAngleFactor = 1.0f;
  SetUpSnugglebox(&v.snuggle, 1.0, -0.5, -0.5, 0.5, 0.5);
  return v;
}

void RouteLonLat(const float p[3], double* lon, double* lat) {
  const double q[3] = {-double(p[0]), double(p[1]), double(p[2])};
  LonLatFromDirection(q, lon, lat);
}

double AngleBetween(const float a[3], const float b[3]) {
  const double d = double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
  return std::acos(std::fmin(1.0, std::fmax(-1.0, d)));
}

// Every route writes a unit direction whenever it clears the flag, and sets
// the flag to 0 or 1 only.
TEST(ViewRoutes, EveryRouteGivesUnitDirectionsOrOutside) {
  const int32_t modes[] = {14, 15, 16, 18, 19, 20, 22, 23, 24, 36, 37, 38, 39, 43, 48, 49, 52, 53, 56,
                           57, 58, 60, 61, 62, 63, 65, 66, 67, 68, 73, 74, 81, 138, 159, 160, 171, 255, 1042};
  for (int32_t mode : modes) {
    const OutputModeRow* row = FindOutputMode(mode);
    ASSERT_TRUE(row && row->route) << "mode " << mode;
    vort view = SquareView(mode);
    view.goreCount = mode == 37 || mode == 38 ? 24.0f : (mode == 63 ? 8.0f : 12.0f);
    if (row->prefill) row->prefill(view);
    int inside = 0;
    for (double y = -0.49; y < 0.5; y += 0.0197) {
      for (double x = -0.49; x < 0.5; x += 0.0193) {
        float p[3] = {9, 9, 9};
        uint8_t outside = 7;
        row->route(Complex(x, y), view, p, &outside, Unread());
        ASSERT_TRUE(outside == 0 || outside == 1) << "mode " << mode;
        if (outside) continue;
        ++inside;
        const double len = double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2];
        ASSERT_NEAR(len, 1.0, 1e-4) << "mode " << mode << " at (" << x << ", " << y << ")";
      }
    }
    EXPECT_GT(inside, 100) << "mode " << mode;
  }
}

// Straight views against PROJ's gnomonic, the stereographic view against
// its stereographic, on the tangent plane of the view's centre.
TEST(ViewRoutes, StraightAndStereographicViewsAgreeWithProj) {
  struct Case {
    int32_t mode;
    OutputRoute route;
    const char* proj;
    double scale;  // PROJ plane units per plane unit, from the view plane width
  };
  const vort view = SquareView(14, 100.0f);
  const double vpw = view.viewPlaneWidth;
  const Case cases[] = {
      {14, Route_Rectilinear, "+proj=gnom +R=1 +lat_0=0 +lon_0=0", vpw},
      {16, Route_Stereographic, "+proj=stere +R=1 +lat_0=0 +lon_0=0", vpw * vpw},
  };
  for (const Case& c : cases) {
    ProjOracle proj(c.proj);
    ASSERT_TRUE(proj.valid());
    for (double y = -0.45; y <= 0.45; y += 0.05) {
      for (double x = -0.45; x <= 0.45; x += 0.05) {
        float p[3];
        uint8_t outside = 7;
        c.route(Complex(x, y), view, p, &outside, Unread());
        ASSERT_EQ(outside, 0);
        double lon, lat, ex, ey;
        RouteLonLat(p, &lon, &lat);
        ASSERT_TRUE(proj.Forward(lon, lat, &ex, &ey));
        EXPECT_NEAR(ex, x * c.scale, 2e-5 * (1 + std::fabs(ex))) << "mode " << c.mode << " " << x << ", " << y;
        EXPECT_NEAR(ey, -y * c.scale, 2e-5 * (1 + std::fabs(ey))) << "mode " << c.mode << " " << x << ", " << y;
      }
    }
  }
}

// A positive tilt slope moves the level line of the shift lens down to the
// row v = 0.5 + t without turning the view.
TEST(ViewRoutes, ShiftLensMovesTheLevelLine) {
  vort view = SquareView(60, 90.0f);
  view.tiltSlope = 0.125f;
  float p[3];
  uint8_t outside;
  Route_Rectilinear(Complex(0.0, 0.125), view, p, &outside, Unread());
  EXPECT_NEAR(p[1], 0.0f, 1e-6f);
  Route_Rectilinear(Complex(0.3, 0.125), view, p, &outside, Unread());
  EXPECT_NEAR(p[1], 0.0f, 1e-6f);
}

// The cylindrical strips against PROJ, in raw unit coordinates of a 2:1
// output framed on the wide box.
TEST(ViewRoutes, CylindricalStripsAgreeWithProj) {
  struct Case {
    int32_t mode;
    OutputRoute route;
    const char* proj;
    double across, down;  // PROJ plane units spanned by the output
  };
  const Case cases[] = {
      {62, Route_Mercator, "+proj=merc +R=1", 2.0 * kPi, kPi},  // aspect 0.5: 2pi * 0.5 high
      {138, Route_EqualAreaCylinder, "+proj=cea +R=1", 2.0 * kPi, 2.0},
      {81, Route_EquiTall, "+proj=eqc +R=1", 2.0 * kPi, kPi},
  };
  for (const Case& c : cases) {
    vort view = SquareView(c.mode);
    view.outputAspect = 0.5f;
    SetUpSnugglebox(&view.snuggle, 0.5, -0.5, -0.25, 0.5, 0.25);
    ProjOracle proj(c.proj);
    ASSERT_TRUE(proj.valid());
    for (double v = 0.02; v < 1.0; v += 0.06) {
      for (double u = 0.02; u < 1.0; u += 0.06) {
        fcomplex plane;
        UF_to_snuggle(float(u), float(v), &plane, &view.snuggle);
        float p[3];
        uint8_t outside = 7;
        c.route(plane, view, p, &outside, Unread());
        ASSERT_EQ(outside, 0) << c.mode;
        double lon, lat, ex, ey;
        RouteLonLat(p, &lon, &lat);
        ASSERT_TRUE(proj.Forward(lon, lat, &ex, &ey));
        const double dx = std::remainder(ex - (u - 0.5) * c.across, 2.0 * kPi);
        // The Mercator and plate carree strips put longitude +pi at the left
        // edge; only the turn of the whole strip is free, not its shape.
        EXPECT_NEAR(std::fabs(dx) < kPi ? dx : 0.0, 0.0, 2e-4) << "mode " << c.mode << " u " << u << " v " << v;
        EXPECT_NEAR(ey, (0.5 - v) * c.down, 2e-4) << "mode " << c.mode << " u " << u << " v " << v;
      }
    }
  }
}

// Panini with d = 1: horizontal 2 sin(l)/(1 + cos l), vertical
// 2 tan(phi)/(1 + cos l), in units of half the view plane width.
TEST(ViewRoutes, PaniniMatchesItsClosedForm) {
  const vort view = SquareView(255, 150.0f);
  const double half = view.viewPlaneWidth / 2.0;
  for (double y = -0.5; y <= 0.5; y += 0.0625) {
    for (double x = -0.5; x <= 0.5; x += 0.0625) {
      float p[3];
      uint8_t outside = 7;
      Route_Panini(Complex(x, y), view, p, &outside, Unread());
      ASSERT_EQ(outside, 0);
      const double lateral = p[0], forward = p[2], vertical = -p[1];
      const double l = std::atan2(lateral, forward);
      const double phi = std::atan2(vertical, std::hypot(lateral, forward));
      EXPECT_NEAR(2.0 * std::sin(l) / (1.0 + std::cos(l)), -2.0 * x * half, 1e-5) << x << ", " << y;
      EXPECT_NEAR(2.0 * std::tan(phi) / (1.0 + std::cos(l)), 2.0 * y * half, 1e-5) << x << ", " << y;
    }
  }
}

// Neighbouring panels of the triptych and tetraptych agree on their shared
// edge; the edges themselves belong to the panel the layout names.
TEST(ViewRoutes, PanelSeamsAreContinuous) {
  struct Case {
    int32_t mode;
    OutputRoute route;
    std::vector<double> seams;  // f of each panel edge
  };
  const Case cases[] = {{57, Route_Triptych, {1.0 / 3.0, 2.0 / 3.0}},
                        {58, Route_Tetraptych, {0.25, 0.5, 0.75}}};
  for (const Case& c : cases) {
    // vpw = 1 (a 2·atan(1/2) view) makes f = u.
    vort view = SquareView(c.mode, float(2.0 * std::atan(0.5) * 180.0 / kPi));
    view.viewPlaneWidth = 1.0f;
    for (double f : c.seams) {
      for (double g : {-0.2, 0.0, 0.15}) {
        float a[3], b[3];
        uint8_t oa, ob;
        c.route(Complex(f - 0.5 - 1e-5, g), view, a, &oa, Unread());
        c.route(Complex(f - 0.5 + 1e-5, g), view, b, &ob, Unread());
        ASSERT_EQ(oa | ob, 0);
        EXPECT_LT(AngleBetween(a, b), 1e-3) << "mode " << c.mode << " seam " << f << " row " << g;
      }
    }
  }
}

// Gores against PROJ's polyconic: each inside point of a gore, taken
// relative to the gore's centre meridian, projects back to the plane point.
TEST(GoreRoutes, GoresAreInversePolyconicStrips) {
  constexpr float kFactor = 6.2846084f;
  const int32_t n = 12;
  vort view = SquareView(36);
  view.goreCount = float(n);
  ProjOracle proj("+proj=poly +R=1 +lon_0=0");
  ASSERT_TRUE(proj.valid());
  int checked = 0;
  for (int32_t i = 0; i < n; ++i) {
    // The gore's centre meridian, read off the route at its centre line.
    const double xc = ((i + 0.5) * 2.0 / n - 1.0) / 2.0;
    float c[3];
    uint8_t oc;
    Route_Gores(Complex(xc, -0.05), view, c, &oc, Unread());
    ASSERT_EQ(oc, 0);
    double lonC, latC;
    RouteLonLat(c, &lonC, &latC);
    for (double f = 0.05; f < 1.0; f += 0.1) {
      for (double y = -0.24; y <= 0.24; y += 0.02) {
        const double x = ((i + f) * 2.0 / n - 1.0) / 2.0;
        float p[3];
        uint8_t outside = 7;
        Route_Gores(Complex(x, y), view, p, &outside, Unread());
        if (outside) continue;
        double lon, lat, px, py;
        RouteLonLat(p, &lon, &lat);
        ASSERT_TRUE(proj.Forward(std::remainder(lon - lonC, 2.0 * kPi), lat, &px, &py));
        const double gx = (f - 0.5) / n * kFactor, a = y * kFactor / 2.0 * 2.0 * 0.5 * 2.0;
        EXPECT_NEAR(std::fabs(px), std::fabs(gx), 1e-4) << "gore " << i << " f " << f << " y " << y;
        EXPECT_NEAR(std::fabs(py), std::fabs(a), 1e-4) << "gore " << i << " f " << f << " y " << y;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

// A dense sampling of the gore sheet reaches every direction of a grid;
// each direction is reached from one gore only.
TEST(GoreRoutes, GoresCoverTheSphereOnce) {
  for (int32_t mode : {36, 37}) {
    const int32_t n = mode == 36 ? 12 : 24;
    vort view = SquareView(mode);
    view.goreCount = float(n);
    constexpr int kCols = 72, kRows = 32;  // 5 degrees; rows stop short of the poles
    std::vector<std::set<int>> hits(kCols * kRows);
    for (double y = -0.25; y <= 0.25; y += 0.0005) {
      for (double x = -0.5; x < 0.5; x += 0.0005) {
        float p[3];
        uint8_t outside;
        Route_Gores(Complex(x, y), view, p, &outside, Unread());
        if (outside) continue;
        double lon, lat;
        RouteLonLat(p, &lon, &lat);
        const int r = int(std::floor((lat + 80.0 * kPi / 180.0) / (160.0 * kPi / 180.0) * kRows));
        const int col = int(std::floor((lon + kPi) / (2.0 * kPi) * kCols)) % kCols;
        if (r < 0 || r >= kRows) continue;
        hits[r * kCols + col].insert(int(std::floor((x + 0.5) * n)));
      }
    }
    for (int k = 0; k < kCols * kRows; ++k) {
      EXPECT_FALSE(hits[k].empty()) << "mode " << mode << " cell " << k;
      EXPECT_LE(hits[k].size(), 2u) << "mode " << mode << " cell " << k;  // a cell may straddle a gore edge
    }
  }
}

struct GoreCase {
  int32_t mode;
  float goreCount;
  int32_t firstShown, lastShown;  // gore indices of the layout's range
};

// The partial sets show only their gores; every other gore is empty.
TEST(GoreRoutes, PartialSetsShowTheirGoresOnly) {
  const GoreCase cases[] = {{53, 12.0f, 3, 8}, {61, 12.0f, 5, 7}, {36, 12.0f, 0, 11}};
  for (const GoreCase& c : cases) {
    vort view = SquareView(c.mode);
    view.goreCount = c.goreCount;
    const double scale = c.mode == 53 ? 1.0 : (c.mode == 61 ? 2.0 : 0.5);
    const double shift = c.mode == 61 ? 0.5 : 0.0;
    for (int32_t i = 0; i < int32_t(c.goreCount); ++i) {
      // The centre of gore i on its equator, a hair off the equator line.
      const double X = (i + 0.5 - shift) * 2.0 / c.goreCount - 1.0;
      float p[3];
      uint8_t outside = 7;
      Route_Gores(Complex(X * scale, 0.01), view, p, &outside, Unread());
      const bool shown = i >= c.firstShown && i <= c.lastShown;
      EXPECT_EQ(outside, shown ? 0 : 1) << "mode " << c.mode << " gore " << i;
    }
  }
}

// At the shape factor 1 the ellipse profile is the unit circle: the
// ellipsoid gores are then the plain gores of the sphere.
TEST(GoreRoutes, EllipsoidGoresOfACircleAreSphereGores) {
  vort plain = SquareView(36);
  plain.goreCount = 12.0f;
  vort round = SquareView(73);
  round.goreCount = 12.0f;
  round.viewAngleFactor = 1.0f;
  PrefillGoreProfile(round);
  int compared = 0;
  for (double y = -0.24; y <= 0.24; y += 0.03) {
    for (double x = -0.49; x < 0.5; x += 0.017) {
      float a[3], b[3];
      uint8_t oa, ob;
      Route_Gores(Complex(x, y), plain, a, &oa, Unread());
      Route_Gores(Complex(x, y), round, b, &ob, Unread());
      if (oa || ob) continue;
      ++compared;
      EXPECT_LT(AngleBetween(a, b), 2e-3) << x << ", " << y;
    }
  }
  EXPECT_GT(compared, 300);
}

TEST(GoreRoutes, UmbrellaFansEightGoresAboutTheCentre) {
  vort view = SquareView(63);
  view.goreCount = 8.0f;
  // The centre is the pole; eight directions around it all land in a gore.
  for (int k = 0; k < 8; ++k) {
    const double a = k * kPi / 4.0;
    float p[3];
    uint8_t outside = 7;
    Route_Gores(Complex(0.2 * std::cos(a), 0.2 * std::sin(a)), view, p, &outside, Unread());
    EXPECT_EQ(outside, 0) << "spoke " << k;
  }
}

TEST(GoreRoutes, PolyconicLatitudeEdges) {
  EXPECT_EQ(InversePolyconicLatitude(0.3f, 0.0f), 5e-5f);  // the equator line itself
  // On the centre meridian the polyconic latitude is the plane height.
  EXPECT_NEAR(InversePolyconicLatitude(0.0f, 0.7f), 0.7f, 1e-5f);
  EXPECT_FALSE(std::isnan(InversePolyconicLatitude(3.0f, 3.0f)));
}

// Stars: the central disc reaches to r = 0.4 inclusive; at r = 1 the arms
// have tapered to nothing.
TEST(StarRoutes, DiscAndArmEdges) {
  struct Case {
    int32_t mode;
    float shift;
  };
  for (const Case c : {Case{48, 0.616f}, Case{49, 0.81f}}) {
    vort view = SquareView(c.mode);
    const double y0 = -(c.shift - 1.0) / 4.0;  // plane y of the disc centre
    float p[3];
    uint8_t outside = 7;
    Route_Star(Complex(0.0, y0), view, p, &outside, Unread());
    EXPECT_EQ(outside, 0) << c.mode;
    for (int k = 0; k < 16; ++k) {
      const double a = k * kPi / 8.0;
      Route_Star(Complex(0.2 * 0.999 * std::cos(a), y0 + 0.2 * 0.999 * std::sin(a)), view, p, &outside, Unread());
      EXPECT_EQ(outside, 0) << "mode " << c.mode << " disc angle " << k;
      Route_Star(Complex(0.5 * std::cos(a), y0 + 0.5 * std::sin(a)), view, p, &outside, Unread());
      EXPECT_EQ(outside, 1) << "mode " << c.mode << " rim angle " << k;
    }
  }
}

// Seams of the stars: directions on either side of a sector edge agree.
TEST(StarRoutes, ArmsMeetTheDiscContinuously) {
  for (int32_t mode : {48, 49}) {
    vort view = SquareView(mode);
    const double y0 = -((mode == 48 ? 0.616 : 0.81) - 1.0) / 4.0;
    int pairs = 0;
    for (int k = 0; k < 64; ++k) {
      const double a = k * 2.0 * kPi / 64.0;
      float in[3], out[3];
      uint8_t oi, oo;
      Route_Star(Complex(0.1999 * std::cos(a), y0 + 0.1999 * std::sin(a)), view, in, &oi, Unread());
      Route_Star(Complex(0.2001 * std::cos(a), y0 + 0.2001 * std::sin(a)), view, out, &oo, Unread());
      if (oi || oo) continue;
      ++pairs;
      EXPECT_LT(AngleBetween(in, out), 2e-3) << "mode " << mode << " angle " << k;
    }
    EXPECT_GT(pairs, 10) << mode;
  }
}

TEST(CylinderRoutes, OutsidePointsStillCarryTheNormalisedDefault) {
  const vort view = SquareView(159);
  struct Case {
    OutputRoute route;
    fcomplex z;
    uint8_t outside;
  };
  const Case cases[] = {
      // The centre lies exactly on both cylinders: the strict tests fail.
      {Route_TwoCylinders, {0.0, 0.0}, 1},
      {Route_TwoCylinders, {0.3, 0.1}, 0},
      {Route_TwoCylinders, {0.0, 1.6}, 1},
      {Route_ThreeCylinders, {0.0, 0.0}, 1},
      {Route_ThreeCylinders, {0.3, 0.1}, 0},
      {Route_ThreeCylinders, {2.0, 0.2}, 0},  // only a later candidate qualifies
      {Route_ThreeCylinders, {3.0, 1.6}, 1},  // q beyond pi/2: the first candidate alone, which fails
  };
  for (const Case& c : cases) {
    float p[3] = {9, 9, 9};
    uint8_t outside = 7;
    c.route(c.z, view, p, &outside, Unread());
    EXPECT_EQ(outside, c.outside) << c.z.re << ", " << c.z.im;
    EXPECT_NEAR(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2], 1.0, 1e-5);
  }
}

// Edge cases of the decorative routes, one table.
TEST(ViewRoutes, EdgeCases) {
  struct Case {
    const char* what;
    int32_t mode;
    OutputRoute route;
    fcomplex plane;
    uint8_t outside;
  };
  const Case cases[] = {
      {"pinwheel rim", 19, Route_Pinwheel, {0.5, 0.0}, 0},
      {"pinwheel beyond the rim", 19, Route_Pinwheel, {0.5, 0.01}, 1},
      {"lozenge pole row", 20, Route_Lozenge, {0.0, 0.25}, 1},
      // Halfway to the pole the row is three quarters as wide as the middle row.
      {"lozenge row Y = 0.25, inside", 20, Route_Lozenge, {0.37, 0.125}, 0},
      {"lozenge row Y = 0.25, beyond", 20, Route_Lozenge, {0.38, 0.125}, 1},
      {"loop at (1, 0)", 39, Route_Loop, {0.0, -0.5}, 1},
      {"loop on its vertical axis", 39, Route_Loop, {0.0, 0.2}, 0},
      {"Omnimax below the centre, wider than the half ellipse", 43, Route_Omnimax, {0.45, 0.135 + 0.15}, 1},
      {"Omnimax above the centre, inside the circle", 43, Route_Omnimax, {0.45, 0.135 - 0.15}, 0},
      {"zenith and nadir at x = 0, top edge", 171, Route_ZenithNadir, {0.0, 0.25}, 0},
      {"zenith and nadir below the views", 171, Route_ZenithNadir, {0.1, 0.26}, 1},
      {"disc rim", 1042, Route_Disc, {0.0, 0.5}, 0},
      {"beyond the disc", 1042, Route_Disc, {0.36, 0.36}, 1},
      // Rows past the poles of the strip, on an output taller than the map.
      {"equal-area cylinder beyond the pole row", 138, Route_EqualAreaCylinder, {0.0, 0.6}, 1},
      {"equal-area cylinder pole row", 138, Route_EqualAreaCylinder, {0.0, 0.5}, 0},
      {"hyperbolic far out", 15, Route_Hyperbolic, {40.0, -30.0}, 0},
      {"quasar far out", 24, Route_Quasar, {3.0, 0.4}, 0},
  };
  for (const Case& c : cases) {
    const vort view = SquareView(c.mode);
    float p[3] = {9, 9, 9};
    uint8_t outside = 7;
    c.route(c.plane, view, p, &outside, Unread());
    EXPECT_EQ(outside, c.outside) << c.what;
    if (!outside) {
      EXPECT_FALSE(std::isnan(p[0]) || std::isnan(p[1]) || std::isnan(p[2])) << c.what;
    }
  }
}

// The loop's vertical axis maps to the picture's middle meridian, without a
// division by zero.
TEST(ViewRoutes, LoopVerticalAxisIsTheMiddleMeridian) {
  const vort view = SquareView(39);
  for (double y : {0.0, 0.2, 0.45}) {
    float p[3];
    uint8_t outside;
    Route_Loop(Complex(0.0, y), view, p, &outside, Unread());
    ASSERT_EQ(outside, 0) << y;
    EXPECT_FALSE(std::isnan(p[0]) || std::isnan(p[1]) || std::isnan(p[2])) << y;
    EXPECT_NEAR(p[0], 0.0f, 1e-6f) << y;
  }
}

// The disc is framed whole, and its rim is the pole opposite its centre.
TEST(ViewRoutes, DiscIsFramedWholeAndItsRimIsTheFarPole) {
  const OutputModeRow* row = FindOutputMode(1042);
  ASSERT_NE(row, nullptr);
  EXPECT_LE(row->box.xMin, -0.5);
  EXPECT_LE(row->box.yMin, -0.5);
  EXPECT_GE(row->box.xMax, 0.5);
  EXPECT_GE(row->box.yMax, 0.5);
  const vort view = SquareView(1042);
  float centre[3], rim[3];
  uint8_t o1, o2;
  Route_Disc(Complex(0.0, 0.0), view, centre, &o1, Unread());
  Route_Disc(Complex(-0.5, 0.0), view, rim, &o2, Unread());
  ASSERT_EQ(o1 | o2, 0);
  EXPECT_NEAR(AngleBetween(centre, rim), kPi, 1e-3);
}

// Florets without a polyhedron: every row frames the floret's canvas, and
// a dense sampling of the canvas reaches every direction of a coarse grid,
// so no petal is left unmapped.
TEST(FloretRoutes, RowsFrameTheCanvasAndPetalsCoverTheSphere) {
  const int32_t modes[] = {51, 108, 109, 110, 111, 112, 146, 147, 148, 149, 164, 165, 251, 252};
  for (int32_t mode : modes) {
    const OutputModeRow* row = FindOutputMode(mode);
    ASSERT_TRUE(row && row->route == Route_Floret) << mode;
    FloretBasis b{};
    GetBasisOfWarpyPolyprojection(mode, &b);
    ASSERT_FALSE(IsFloretWithPolyhedronBasis(mode)) << mode;
    EXPECT_NEAR(row->box.xMin, b.canvasMin.re * 0.001 - 0.5, 1e-9) << mode;
    EXPECT_NEAR(row->box.yMin, b.canvasMin.im * 0.001 - 0.5, 1e-9) << mode;
    EXPECT_NEAR(row->box.xMax, b.canvasMax.re * 0.001 - 0.5, 1e-9) << mode;
    EXPECT_NEAR(row->box.yMax, b.canvasMax.im * 0.001 - 0.5, 1e-9) << mode;

    const vort view = SquareView(mode);
    constexpr int kCols = 24, kRows = 10;  // 15 degrees; rows stop 9 degrees short of the poles
    std::vector<int> hits(kCols * kRows, 0);
    // Sampled a fifth beyond the canvas: the canvas of the 6-clover cuts the
    // tips of its side petals, which the route itself still maps.
    const double w = row->box.xMax - row->box.xMin, h = row->box.yMax - row->box.yMin;
    for (double y = row->box.yMin - 0.1 * h; y <= row->box.yMax + 0.1 * h; y += h / 500.0) {
      for (double x = row->box.xMin - 0.1 * w; x <= row->box.xMax + 0.1 * w; x += w / 500.0) {
        float p[3];
        uint8_t outside = 7;
        Route_Floret(Complex(x, y), view, p, &outside, Unread());
        ASSERT_TRUE(outside == 0 || outside == 1);
        if (outside) continue;
        ASSERT_NEAR(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2], 1.0, 1e-4) << mode;
        double lon, lat;
        RouteLonLat(p, &lon, &lat);
        const int r = int(std::floor((lat + 81.0 * kPi / 180.0) / (162.0 * kPi / 180.0) * kRows));
        const int c = int(std::floor((lon + kPi) / (2.0 * kPi) * kCols)) % kCols;
        if (r >= 0 && r < kRows && c >= 0) ++hits[r * kCols + c];
      }
    }
    for (int k = 0; k < kCols * kRows; ++k) EXPECT_GT(hits[k], 0) << "mode " << mode << " cell " << k;
  }
}

// The corners of a floret's canvas lie between the petals.
TEST(FloretRoutes, PointsBetweenPetalsAreOutside) {
  for (int32_t mode : {109, 110, 146}) {
    const OutputModeRow* row = FindOutputMode(mode);
    ASSERT_NE(row, nullptr);
    const vort view = SquareView(mode);
    float p[3];
    uint8_t outside = 7;
    Route_Floret(Complex(row->box.xMin + 1e-3, row->box.yMin + 1e-3), view, p, &outside, Unread());
    EXPECT_EQ(outside, 1) << mode;
  }
}

}  // namespace
