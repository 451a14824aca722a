// The net of a polyhedron as the input picture: a direction goes to (u, v)
// on the picture of the net, and the net point there must show that very
// direction, both on the solid and through the output side's plane-to-
// sphere transform; directions toward a missing face, empty hints and a
// missing polyhedron have no place in the picture.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "netproj_fixture.h"
#include "projection/input/input_mapping.h"
#include "projection/inverse/mollweide.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_lists.h"

namespace {

constexpr double kRoundTripTolerance = 5e-5;  // radians

struct Mapped {
  float u = 0, v = 0;
  uint8_t outside = 9;
  int32_t face = 99, layer = 99;
  float weight = -7.0f;
};

Mapped MapThroughNet(const float d[3], polyhedron* poly, renderhinttype* hint, int32_t mirror = 0) {
  Mapped m;
  TransformSphereToInput(InputMode_PolyhedronNet, mirror, 1.0f, d, &m.u, &m.v, &m.outside, MollweideThetaTable(),
                         &m.face, &m.layer, &m.weight, poly, hint);
  return m;
}

// Points spread evenly over the sphere (a golden-angle spiral), nudged off
// the solids' symmetry planes.
std::vector<std::array<float, 3>> SphereDirections(int n) {
  std::vector<std::array<float, 3>> v;
  for (int i = 0; i < n; ++i) {
    const double y = 1.0 - (i + 0.5) * 2.0 / n;
    const double r = std::sqrt(1.0 - y * y), a = 2.399963229728653 * i + 0.1;
    v.push_back({float(r * std::cos(a)), float(y), float(r * std::sin(a))});
  }
  return v;
}

struct NetCase {
  const char* name;
  std::function<PolyPtr()> make;
};

TEST(InputPolyhedronNet, EveryDirectionComesBackFromItsNetPoint) {
  const NetCase nets[] = {
      {"cube cross", [] { return CubeCrossPoly(0.3f); }},
      {"icosahedron", [] { return UnfoldedPoly(BuildIcosahedron); }},
      {"truncated icosahedron", [] { return UnfoldedPoly(BuildTruncatedIcosahedron); }},
  };
  for (const NetCase& net : nets) {
    SCOPED_TRACE(net.name);
    PolyPtr p = net.make();
    HintPtr input = WholeNetHint(p.get()), output = WholeNetHint(p.get());
    int failures = 0;
    for (const auto& d : SphereDirections(700)) {
      const double dd[3] = {d[0], d[1], d[2]};
      const Mapped m = MapThroughNet(d.data(), p.get(), input.get());
      const int32_t t = input->lastFace;
      // Where on the net the picture point lies.
      const double x = p->targetRect[0] + m.u / p->unitScale[0], y = p->targetRect[2] + m.v / p->unitScale[1];
      double b[3], onSolid[3];
      NetBarys(p.get(), t, x, y, b);
      DirectionOf(p.get(), t, b, onSolid);
      float shown[3] = {0, 0, 1};
      uint8_t off = 9;
      DoPolyhedralTransforms(shown, p.get(), float(x), float(y), &off, output.get());
      const bool good = m.outside == 0 && m.face == -1 && m.layer == t + 3 && !p->triangles[t].isTab &&
                        m.u >= 0.0f && m.u <= 1.0f && m.v >= 0.0f && m.v <= 1.0f &&
                        CoverOf(p.get(), t, x, y) != Cover::Out && AngleBetween(onSolid, dd) < kRoundTripTolerance &&
                        off == 0 && AngleBetween(shown, dd) < kRoundTripTolerance;
      if (!good && ++failures <= 5) {
        ADD_FAILURE() << "direction (" << d[0] << ", " << d[1] << ", " << d[2] << "): outside " << int(m.outside)
                      << ", layer " << m.layer << ", triangle " << t << ", u " << m.u << ", v " << m.v
                      << ", angle on the solid " << AngleBetween(onSolid, dd) << ", shown outside " << int(off)
                      << " at angle " << AngleBetween(shown, dd);
      }
    }
    EXPECT_EQ(failures, 0);
  }
}

TEST(InputPolyhedronNet, TheMirrorFlipsTheNetAcross) {
  PolyPtr p = CubeCrossPoly();
  HintPtr hint = WholeNetHint(p.get());
  for (const auto& d : SphereDirections(50)) {
    const Mapped plain = MapThroughNet(d.data(), p.get(), hint.get(), 0);
    const Mapped mirrored = MapThroughNet(d.data(), p.get(), hint.get(), 1);
    EXPECT_EQ(mirrored.u, 1.0f - plain.u);
    EXPECT_EQ(mirrored.v, plain.v);
    EXPECT_EQ(mirrored.layer, plain.layer);
  }
}

TEST(InputPolyhedronNet, DirectionsTowardAMissingFaceAreOutside) {
  // The cross net without its bottom square: the solid is open below.
  PolyPtr p = CubeCrossPoly();
  int32_t kept = 0;
  for (int32_t t = 0; t < p->nTriangles; ++t)
    if (p->triangles[t].face2D != 5) p->triangles[kept++] = p->triangles[t];
  p->nTriangles = kept;
  HintPtr hint = WholeNetHint(p.get());
  int below = 0;
  for (const auto& d : SphereDirections(400)) {
    const Mapped m = MapThroughNet(d.data(), p.get(), hint.get());
    const bool towardBottom = -d[1] > std::fabs(d[0]) && -d[1] > std::fabs(d[2]);
    if (!towardBottom) {
      EXPECT_EQ(m.outside, 0);
      continue;
    }
    ++below;
    EXPECT_EQ(m.outside, 1);
    EXPECT_EQ(m.u, -1.0f);
    EXPECT_EQ(m.v, -1.0f);
    EXPECT_EQ(m.layer, 2);
    EXPECT_EQ(m.face, -1);
  }
  EXPECT_GT(below, 20);
}

TEST(InputPolyhedronNet, NoListsNoPolyhedronNoHintMeanNothingMaps) {
  PolyPtr p = CubeCrossPoly();
  HintPtr empty = NewHint();
  PrepareShortTriList(p.get(), 10.0f, 11.0f, -1, 0.0f, empty.get(), 0.0f, 4.0f, true);
  HintPtr whole = WholeNetHint(p.get());
  for (const auto& d : SphereDirections(60)) {
    EXPECT_EQ(MapThroughNet(d.data(), p.get(), empty.get()).outside, 1);
    EXPECT_EQ(MapThroughNet(d.data(), nullptr, whole.get()).outside, 1);
    EXPECT_EQ(MapThroughNet(d.data(), p.get(), nullptr).outside, 1);
  }
}

// The input polyhedron may be drawn at any size: a solid far smaller than
// the exact intersection's edge-on limit still puts every direction at its
// place on the net.
TEST(InputPolyhedronNet, ATinySolidStillMapsEveryDirection) {
  PolyPtr p = CubeCrossPoly();
  PolyPtr unit = CubeCrossPoly();
  for (int32_t v = 0; v < p->n2DVerts; ++v) {
    p->verts2D[v].renderX *= 1e-4f;
    p->verts2D[v].renderY *= 1e-4f;
    p->verts2D[v].renderZ *= 1e-4f;
  }
  FinishNet(p.get());
  HintPtr hint = WholeNetHint(p.get()), unitHint = WholeNetHint(unit.get());
  for (const auto& d : SphereDirections(200)) {
    const Mapped tiny = MapThroughNet(d.data(), p.get(), hint.get());
    const Mapped plain = MapThroughNet(d.data(), unit.get(), unitHint.get());
    ASSERT_EQ(tiny.outside, 0);
    EXPECT_NEAR(tiny.u, plain.u, 2e-5f);
    EXPECT_NEAR(tiny.v, plain.v, 2e-5f);
  }
}

}  // namespace
