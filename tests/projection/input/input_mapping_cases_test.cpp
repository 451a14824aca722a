// The input layouts' landmarks: layers, cube faces, outside flags and seam
// weights at face centres, edges, ties, poles and gore borders, and the
// directions at which a layout's arithmetic breaks down (which must come out
// as finite coordinates, flagged outside where there is no picture).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "inputmap_util.h"
#include "projection/input/input_mapping.h"

namespace {

constexpr float kFastAcosZero = 1.5707288f * 0.31830987f;  // v of the equator: the cubic's acos(0)
constexpr float kAny = -99.0f;                              // not checked
constexpr int32_t kAnyInt = -99;

struct Case {
  const char* what;
  int32_t mode;
  float p[3];
  int32_t mirror;
  float u, v;
  int outside;
  int32_t layer;
  int32_t face;
  float weight;  // kUntouchedWeight: the layout must not write it
  float tol;
};

void Normalize(float p[3]) {
  const double n = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
  for (int i = 0; i < 3; ++i) p[i] = static_cast<float>(p[i] / n);
}

const Case kCases[] = {
    // Equirectangular: mirrored once by the layout, once more by the flag.
    {"equirect centre", 1, {0, 0, 1}, 0, 0.5f, kFastAcosZero, 0, 2, -1, kUntouchedWeight, 1e-7f},
    {"equirect +x", 1, {1, 0, 0}, 0, 0.25f, kAny, 0, 2, -1, kUntouchedWeight, 1e-6f},
    {"equirect +x mirrored", 1, {1, 0, 0}, 1, 0.75f, kAny, 0, 2, -1, kUntouchedWeight, 1e-6f},
    {"mirror ball centre", 2, {0, 0, 1}, 0, 0.5f, 0.5f, 0, 2, -1, kUntouchedWeight, 1e-7f},
    {"mirror ball +x", 2, {1, 0, 0}, 0, 0.5f - 0.35355339f, 0.5f, 0, 2, -1, kUntouchedWeight, 1e-6f},
    {"orthographic back", 4, {0, 0, -1}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    {"orthographic back mirrored", 4, {0, 0, -1}, 1, 2, -1, 1, 2, -1, kUntouchedWeight, 0},
    // Rectilinear: too near the horizon is outside at (0, 0) in the same
    // layer; beyond the frame it is off the layout.
    {"rectilinear z 0.2", 10, {0, 0.9797959f, 0.2f}, 0, 0, 0, 1, 2, -1, kUntouchedWeight, 0},
    {"rectilinear beyond frame", 10, {0.9f, 0, 0.436f}, 0, -1, -1, 1, -1, -1, kUntouchedWeight, 0},
    {"two circles centre", 14, {0, 0, 1}, 0, 0.5f, kAny, 0, 2, -1, kUntouchedWeight, 1e-6f},
    {"two circles behind", 14, {-0.7071068f, 0, -0.7071068f}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    {"stereographic centre", 15, {0, 0, 1}, 0, 0.5f, 0.5f, 0, 2, -1, kUntouchedWeight, 0},
    {"stereographic back", 15, {0, 0.6f, -0.8f}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    // Cube faces as layers of one picture: layer f + 1, main pyramid.
    {"cube layers front", 11, {0, 0, 1}, 0, 0.5f, 0.5f, 0, 4, -1, kUntouchedWeight, 0},
    {"cube layers up", 11, {0, 1, 0}, 0, 0.5f, 0.5f, 0, 6, -1, kUntouchedWeight, 0},
    {"cube layers x=y tie", 11, {0.7071068f, 0.7071068f, 0}, 0, -1, -1, 1, kAnyInt, -1, kUntouchedWeight, 0},
    // Crosses: face pyramids, layer f + 1, face centres at (0.5, 0.5).
    {"cross back", 27, {0, 0, -1}, 0, 0.5f, 0.5f, 0, 1, 0, kUntouchedWeight, 0},
    {"cross -x", 27, {-1, 0, 0}, 0, 0.5f, 0.5f, 0, 2, 1, kUntouchedWeight, 0},
    {"cross down", 27, {0, -1, 0}, 0, 0.5f, 0.5f, 0, 3, 2, kUntouchedWeight, 0},
    {"cross front", 27, {0, 0, 1}, 0, 0.5f, 0.5f, 0, 4, 3, kUntouchedWeight, 0},
    {"cross +x", 27, {1, 0, 0}, 0, 0.5f, 0.5f, 0, 5, 4, kUntouchedWeight, 0},
    {"cross up", 27, {0, 1, 0}, 0, 0.5f, 0.5f, 0, 6, 5, kUntouchedWeight, 0},
    {"cross +x near edge", 27, {1, 0.5f, 0.999f}, 0, 0.9995f, 0.25f, 0, 5, 4, kUntouchedWeight, 1e-6f},
    // |x| = |z|: the tie falls to the z face, where the point is its edge.
    {"cross x=z edge", 27, {0.5f, 0.1f, 0.5f}, 0, 0, 0.4f, 0, 4, 3, kUntouchedWeight, 1e-6f},
    // |x| = |y| > |z|: no face holds it; infinite or far-off coordinates
    // would otherwise reach the face pyramids.
    {"cross x=y tie on equator", 27, {0.7071068f, 0.7071068f, 0}, 0, -1, -1, 1, -1, -1, kUntouchedWeight, 0},
    {"cross x=y tie off equator", 27, {0.6f, 0.6f, 0.2f}, 0, -1, -1, 1, -1, -1, kUntouchedWeight, 0},
    {"vertical cross x=y tie", 28, {-0.7071068f, 0.7071068f, 0}, 0, -1, -1, 1, -1, -1, kUntouchedWeight, 0},
    // The vertical cross keeps its back face turned a half-turn.
    {"cross back off-centre", 27, {0.3f, 0.2f, -1}, 0, 0.65f, 0.4f, 0, 1, 0, kUntouchedWeight, 1e-6f},
    {"vertical cross back off-centre", 28, {0.3f, 0.2f, -1}, 0, 0.35f, 0.6f, 0, 1, 0, kUntouchedWeight, 1e-6f},
    {"vertical cross front off-centre", 28, {0.3f, 0.2f, 1}, 0, 0.35f, 0.4f, 0, 4, 3, kUntouchedWeight, 1e-6f},
    // Zenith and nadir: down face right (layer 2), up face left (layer 3).
    {"nadir centre", 26, {0, -1, 0}, 0, 0.75f, 0.5f, 0, 2, -1, 1.0f, 0},
    {"zenith centre", 26, {0, 1, 0}, 0, 0.25f, 0.5f, 0, 3, -1, 1.0f, 0},
    {"zenith by the seam", 26, {-0.96f, 1, 0}, 0, 0.49f, 0.5f, 0, 3, -1, 0.3f, 1e-5f},
    {"nadir by the bottom", 26, {0, -1, -0.98f}, 0, 0.75f, 0.99f, 0, 2, -1, 0.15f, 1e-5f},
    {"zenith/nadir side face", 26, {1, 0, 0}, 0, -1, -1, 1, -1, -1, kAny, 0},
    // Gores: the two gores beside the centre are both layer 0.
    {"gore right of centre", 12, {0.17364818f, 0, 0.98480775f}, 0, kAny, kAny, 0, 0, -1, kUntouchedWeight, 0},
    {"gore left of centre", 12, {-0.17364818f, 0, 0.98480775f}, 0, kAny, kAny, 0, 0, -1, kUntouchedWeight, 0},
    {"gore 40 degrees east", 12, {0.64278761f, 0, 0.76604444f}, 0, kAny, kAny, 0, -1, -1, kUntouchedWeight, 0},
    {"gore 100 degrees west", 12, {-0.98480775f, 0, -0.17364818f}, 0, kAny, kAny, 0, 3, -1, kUntouchedWeight, 0},
    {"six gores 100 degrees west", 25, {-0.98480775f, 0, -0.17364818f}, 0, kAny, kAny, 0, 1, -1, kUntouchedWeight,
     0},
    // Northern half-gores as petals: the pole at the centre, the south gone.
    {"petals north pole", 19, {0, 1, 0}, 0, 0.5f, 0.5f, 0, kAnyInt, -1, kUntouchedWeight, 1e-3f},
    {"petals south", 19, {0.3f, -0.5f, 0.81240384f}, 0, -1, -1, 1, -1, -1, kUntouchedWeight, 0},
    // The mirror ball's back pole is the rim of the ball: no single place.
    {"mirror ball back pole", 2, {0, 0, -1}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    {"wide mirror ball back pole", 6, {0, 0, -1}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    {"wider mirror ball back pole", 18, {0, 0, -1}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
    {"wide mirror ball centre", 6, {0, 0, 1}, 0, 0.5f, 0.5f, 0, 2, -1, kUntouchedWeight, 1e-7f},
    // Polyhedron-net input without an input polyhedron: nothing maps.
    {"polyhedron net", 29, {0, 0, 1}, 0, -1, -1, 1, 2, -1, kUntouchedWeight, 0},
};

TEST(InputMappingCases, LandmarksLayersAndFlags) {
  for (const Case& c : kCases) {
    float p[3] = {c.p[0], c.p[1], c.p[2]};
    if (c.mode != 10) Normalize(p);  // the rectilinear cases give exact z values
    const Mapped m = MapInput(c.mode, p, c.mirror);
    const std::string what = std::string(c.what) + " (mode " + std::to_string(c.mode) + ")";
    if (c.u != kAny) {
      EXPECT_NEAR(m.u, c.u, c.tol) << what << " " << m;
    }
    if (c.v != kAny) {
      EXPECT_NEAR(m.v, c.v, c.tol) << what << " " << m;
    }
    EXPECT_EQ(m.outside, c.outside) << what << " " << m;
    if (c.layer != kAnyInt) {
      EXPECT_EQ(m.layer, c.layer) << what << " " << m;
    }
    EXPECT_EQ(m.face, c.face) << what << " " << m;
    if (c.weight == kUntouchedWeight) {
      EXPECT_EQ(m.blendWeight, kUntouchedWeight) << what;
    } else if (c.weight != kAny) {
      EXPECT_NEAR(m.blendWeight, c.weight, c.tol) << what;
    }
  }
}

// A 5-degree sphere grid (poles, back meridian and x = y diagonals
// included) plus points where some layout divides by zero or leaves a
// function's domain.
template <typename F>
void ForAwkwardDirections(F f) {
  const float special[][3] = {
      {0, 0, 1},          {0, 0, -1},         {-0.0f, 0, -1},  {0, 1, 0},           {0, -1, 0},
      {1, 0, 0},          {-1, 0, 0},         {0.7071068f, 0.7071068f, 0}, {-0.7071068f, -0.7071068f, 0},
      {0.57735027f, 0.57735027f, 0.57735027f}, {0.6f, 0.6f, 0.2f}, {1e-20f, 1, 0}, {0, 1, -1e-20f},
      {1e-4f, 1, -1e-4f}, {-1e-4f, 1, -1e-4f}, {1e-4f, -1, -1e-4f}, {0, 1.0000001f, 0}, {0, 0, -1.0000001f},
  };
  for (const auto& p : special) f(p);
  for (int lat = -90; lat <= 90; lat += 5) {
    for (int lon = -180; lon <= 180; lon += 5) {
      const double la = lat * 3.141592653589793 / 180, lo = lon * 3.141592653589793 / 180;
      const float p[3] = {static_cast<float>(std::sin(lo) * std::cos(la)), static_cast<float>(std::sin(la)),
                          static_cast<float>(std::cos(lo) * std::cos(la))};
      f(p);
    }
  }
}

TEST(InputMappingCases, EveryModeGivesFiniteSaneResults) {
  for (int32_t mode = kFirstInputMode; mode <= kLastInputMode; ++mode) {
    for (int32_t mirror = 0; mirror <= 1; ++mirror) {
      ForAwkwardDirections([&](const float* p) {
        const float before[3] = {p[0], p[1], p[2]};
        const Mapped m = MapInput(mode, p, mirror);
        const std::string what = "mode " + std::to_string(mode) + " at (" + std::to_string(p[0]) + ", " +
                                 std::to_string(p[1]) + ", " + std::to_string(p[2]) + ")";
        EXPECT_TRUE(std::isfinite(m.u) && std::isfinite(m.v)) << what << " " << m;
        EXPECT_TRUE(m.outside == 0 || m.outside == 1) << what;
        EXPECT_TRUE(p[0] == before[0] && p[1] == before[1] && p[2] == before[2]) << what;
        const bool cross = mode == InputMode_HorizontalCross || mode == InputMode_VerticalCross;
        if (cross && m.outside == 0) {
          EXPECT_TRUE(m.face >= 0 && m.face <= 5 && m.layer == m.face + 1) << what << " " << m;
          EXPECT_TRUE(m.u >= 0 && m.u <= 1 && m.v >= 0 && m.v <= 1) << what << " " << m;
        } else {
          EXPECT_EQ(m.face, -1) << what;
        }
        if (mode == InputMode_ZenithNadir) {
          EXPECT_TRUE(m.blendWeight >= 0.0f && m.blendWeight <= 1.0f) << what << " " << m;
        } else {
          EXPECT_EQ(m.blendWeight, kUntouchedWeight) << what;
        }
      });
    }
  }
}

// World maps report layer 3 exactly for the right half of the picture as
// the layout draws it, before the mirror.
TEST(InputMappingCases, WorldMapsSplitIntoHalves) {
  for (int32_t mode : {7, 17, 21, 22, 23, 30}) {
    for (int32_t mirror = 0; mirror <= 1; ++mirror) {
      int right = 0, left = 0;
      ForAwkwardDirections([&](const float* p) {
        const Mapped m = MapInput(mode, p, mirror);
        const float drawnU = mirror != 0 ? 1.0f - m.u : m.u;
        EXPECT_EQ(m.layer, drawnU > 0.5f ? 3 : 2) << "mode " << mode << " " << m;
        (drawnU > 0.5f ? right : left)++;
      });
      EXPECT_GT(right, 100) << mode;
      EXPECT_GT(left, 100) << mode;
    }
  }
}

// Within a few thousandths of a degree of a pole the float latitude is a
// rounding step beyond pi/2; the oval's outer meridians must still meet
// there (a NaN would leave a hole at each pole).
TEST(InputMappingCases, OvalStaysWholeAtThePoles) {
  for (const float y : {1.0f, -1.0f}) {
    for (const float lonDeg : {100.0f, -100.0f, 170.0f, 60.0f}) {
      const float lo = lonDeg * 3.1415927f / 180.0f;
      const float r = 1e-4f;
      const float p[3] = {r * std::sin(lo), y, r * std::cos(lo)};
      const Mapped m = MapInput(InputMode_Oval, p);
      EXPECT_EQ(m.outside, 0) << lonDeg;
      EXPECT_TRUE(std::isfinite(m.u)) << lonDeg;
      // At the pole the outer meridians are (L - pi/2) from the centre line,
      // the inner ones meet at the centre.
      const float l = std::fabs(lo);
      const float want = 0.5f - (lonDeg < 0 ? -1.0f : 1.0f) * (l > 1.5707964f ? l - 1.5707964f : 0.0f) / 6.2831855f;
      EXPECT_NEAR(m.u, want, 2e-3) << lonDeg;
    }
  }
}

// Mercator flags the far north and south but leaves their coordinates, so
// that the footprint of a corner pair is still measured.
TEST(InputMappingCases, MercatorKeepsCoordinatesBeyondThePicture) {
  const double la = 87.0 * 3.141592653589793 / 180;
  const float p[3] = {0, static_cast<float>(std::sin(la)), static_cast<float>(std::cos(la))};
  const Mapped m = MapInput(InputMode_Mercator, p, 0, 1.0f);
  EXPECT_EQ(m.outside, 1);
  EXPECT_NEAR(m.v, 0.5 - std::asinh(std::tan(la)) / (2 * 3.141592653589793), 1e-3);
  EXPECT_NEAR(m.u, 0.5, 1e-6);
}

// The back meridian (u = 1 of the unmirrored layout, from x = -0) belongs to
// the last gore, not to a gore beyond the picture: it lies inside, mirroring
// the same meridian seen from x = +0 at the other end of the picture.
TEST(InputMappingCases, BackMeridianIsInTheLastGore) {
  struct Seam {
    int32_t mode;
    int32_t lastLayer;
  };
  for (const Seam s : {Seam{InputMode_Gores12, 5}, Seam{InputMode_Gores6, 2}}) {
    const float west[3] = {-0.0f, 0.5f, -0.8660254f};
    const float east[3] = {0.0f, 0.5f, -0.8660254f};
    const Mapped last = MapInput(s.mode, west);
    const Mapped first = MapInput(s.mode, east);
    EXPECT_EQ(last.outside, 0) << s.mode << " " << last;
    EXPECT_EQ(last.layer, s.lastLayer) << s.mode;
    EXPECT_EQ(first.layer, -s.lastLayer) << s.mode;
    EXPECT_NEAR(last.u, 1.0f - first.u, 1e-6) << s.mode;
    EXPECT_EQ(last.v, first.v) << s.mode;
  }
}

TEST(InputMappingCases, OnlyThePolyhedronNetNeedsAPolyhedron) {
  for (int32_t mode = kFirstInputMode; mode <= kLastInputMode; ++mode) {
    EXPECT_EQ(InputModeCategory(mode), mode == InputMode_PolyhedronNet ? 1 : 0) << mode;
  }
}

struct FaceCase {
  float p[3];
  int32_t face;
  float a, b;
};

TEST(SphereToCubeFace, FacesAndTheirAxes) {
  const FaceCase cases[] = {
      {{0, 0, -1}, 0, 0, 0},           {{-1, 0, 0}, 1, 0, 0},          {{0, -1, 0}, 2, 0, 0},
      {{0, 0, 1}, 3, 0, 0},            {{1, 0, 0}, 4, 0, 0},           {{0, 1, 0}, 5, 0, 0},
      // Across each face: a and b as the layouts read them.
      {{0.5f, 0.25f, 1}, 3, -0.5f, -0.25f}, {{0.5f, 0.25f, -1}, 0, 0.5f, -0.25f},
      {{1, 0.25f, 0.5f}, 4, 0.5f, -0.25f},  {{-1, 0.25f, 0.5f}, 1, -0.5f, -0.25f},
      {{0.5f, 1, 0.25f}, 5, -0.5f, 0.25f},  {{0.5f, -1, 0.25f}, 2, -0.5f, -0.25f},
      // Ties go to the z faces.
      {{1, 0, 1}, 3, -1, 0},           {{0, 1, -1}, 0, 0, -1},         {{1, 1, 1}, 3, -1, -1},
  };
  for (const FaceCase& c : cases) {
    float a = 9, b = 9;
    EXPECT_EQ(SphereToCubeFaceCoords(c.p, &a, &b), c.face) << c.p[0] << ", " << c.p[1] << ", " << c.p[2];
    EXPECT_FLOAT_EQ(a, c.a) << c.p[0] << ", " << c.p[1] << ", " << c.p[2];
    EXPECT_FLOAT_EQ(b, c.b) << c.p[0] << ", " << c.p[1] << ", " << c.p[2];
  }
}

}  // namespace

namespace {

constexpr double kDeg = 3.141592653589793 / 180;

void Direction(double lonDeg, double latDeg, float p[3]) {
  p[0] = static_cast<float>(std::sin(lonDeg * kDeg) * std::cos(latDeg * kDeg));
  p[1] = static_cast<float>(std::sin(latDeg * kDeg));
  p[2] = static_cast<float>(std::cos(lonDeg * kDeg) * std::cos(latDeg * kDeg));
}

// The globular disc holds the front hemisphere: its rim is the meridians
// at 90 degrees, its central meridian is straight and evenly divided.
TEST(InputMappingShapes, TwoCirclesFillTheFrontDisc) {
  for (double lat = -85; lat <= 85; lat += 5) {
    for (double lon = -90; lon <= 90; lon += 7.5) {
      float p[3];
      Direction(lon, lat, p);
      const Mapped m = MapInput(InputMode_TwoCircles, p);
      ASSERT_EQ(m.outside, 0) << lon << ", " << lat;
      const double r = std::hypot(m.u - 0.5, m.v - 0.5);
      if (std::fabs(lon) == 90) {
        EXPECT_NEAR(r, 0.5, 1e-4) << lon << ", " << lat;
      } else {
        EXPECT_LT(r, 0.5) << lon << ", " << lat;
      }
      if (lon == 0) {
        EXPECT_NEAR(m.u, 0.5, 1e-6) << lat;
        // The arc's half-angle comes from the cubic arccosine.
        EXPECT_NEAR(m.v, 0.5 - lat / 180, 3e-4) << lat;
      }
      EXPECT_EQ(m.u < 0.5, lon > 0) << lon << ", " << lat;  // read mirrored
    }
  }
}

// Each northern half-gore becomes a petal about the pole: along a gore's
// central meridian the distance from the picture centre is the colatitude
// over pi, and neighbouring petals lie a twelfth of a turn apart.
TEST(InputMappingShapes, HalfGoresArePetalsAboutThePole) {
  double previousAngle = 0;
  for (int k = 0; k < 12; ++k) {
    const double lon = 180 - 30 * (k + 0.5);  // the centre of image gore k, read mirrored
    double angle = 0;
    for (double lat = 0; lat <= 75; lat += 15) {
      float p[3];
      Direction(lon, lat, p);
      const Mapped m = MapInput(InputMode_Gores12Half, p);
      ASSERT_EQ(m.outside, 0) << k << ", " << lat;
      EXPECT_EQ(m.layer, static_cast<int32_t>(k - 5.5)) << k;
      EXPECT_NEAR(std::hypot(m.u - 0.5, m.v - 0.5), (90 - lat) / 180, 1e-4) << k << ", " << lat;
      angle = std::atan2(m.v - 0.5, m.u - 0.5);
    }
    if (k > 0) {
      const double step = std::remainder(angle - previousAngle, 2 * 3.141592653589793);
      EXPECT_NEAR(std::fabs(step), 30 * kDeg, 1e-4) << k;
    }
    previousAngle = angle;
  }
}

}  // namespace
