// The pointy and waffle nets: their counts and options, no two faces over
// each other, no seam along the edges their faces share (within half a
// pixel of a 1024-pixel-wide world map), the sphere shown the same way round
// as by the matched icosahedron net, and every piece standing sky up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/catalogue.h"
#include "projection/nets/florets.h"
#include "projection/nets/florets_basis.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_core.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/render_hint.h"
#include "support/poly_fixture.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;

struct NetCase {
  int32_t shape;
  int32_t faces;
  int32_t points2D;
  int32_t pieces;  // connected pieces of the net (faces joined along edges)
  uint8_t mirrorFlipB;
};

const NetCase kCases[] = {
    {59, 8, 16, 4, 0},
    {60, 96, 77, 1, 1},
    // The three-petal floret's own net: the same quarter four times, two
    // copies meeting at the nadir alone, two apart.
    {62, 96, 67, 4, 1},
};

PolyPtr Loaded(int32_t code) {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  ReadFaceInfo(p.get(), code, 0, nullptr, 1);
  return p;
}

PolyPtr SetUpShape(int32_t code, int16_t method = 0) {
  PolyPtr p = NewPoly(2.0f);
  SetUpReallyGeneralPolyhedron(p.get(), code, method, 0, 0.0, nullptr, 1);
  return p;
}

// The face triangles come first, one per face; tabs and marks follow.
int32_t FaceTriangles(const polyhedron* p) {
  int32_t n = 0;
  while (n < p->nTriangles && !p->triangles[n].isTab) ++n;
  return n;
}

// The sphere direction of barycentrics b in triangle t, and its net point.
void SphereAt(const polyhedron* p, int32_t t, const double b[3], double out[3]) {
  const NetTriangle& tri = p->triangles[t];
  double x = 0, y = 0;
  for (int k = 0; k < 3; ++k) {
    x += b[k] * p->verts2D[tri.vert2D[k]].x;
    y += b[k] * p->verts2D[tri.vert2D[k]].y;
  }
  renderhinttype hint{};
  uint8_t outside = 0;
  float q[3];
  DoPolyhedralTransformCore(p, float(b[0]), float(b[1]), float(b[2]), t, float(x), float(y), q, &outside, &hint);
  const double n = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2]);
  for (int i = 0; i < 3; ++i) out[i] = q[i] / n;
}

double Angle(const double a[3], const double b[3]) {
  return std::acos(std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], -1.0, 1.0));
}

double Cross2(double ox, double oy, double ax, double ay, double bx, double by) {
  return (ax - ox) * (by - oy) - (ay - oy) * (bx - ox);
}

// Some edge of one triangle has the other wholly on its outer side.
bool Apart(const polyhedron* p, int32_t s, int32_t t, double slack) {
  for (int pass = 0; pass < 2; ++pass) {
    const NetTriangle& a = p->triangles[pass ? t : s];
    const NetTriangle& b = p->triangles[pass ? s : t];
    const PolyVertex2D* A[3] = {&p->verts2D[a.vert2D[0]], &p->verts2D[a.vert2D[1]], &p->verts2D[a.vert2D[2]]};
    const double sign = Cross2(A[0]->x, A[0]->y, A[1]->x, A[1]->y, A[2]->x, A[2]->y) > 0 ? 1.0 : -1.0;
    for (int e = 0; e < 3; ++e) {
      bool allOut = true;
      for (int k = 0; k < 3 && allOut; ++k) {
        const PolyVertex2D& v = p->verts2D[b.vert2D[k]];
        allOut = sign * Cross2(A[e]->x, A[e]->y, A[(e + 1) % 3]->x, A[(e + 1) % 3]->y, v.x, v.y) <= slack;
      }
      if (allOut) return true;
    }
  }
  return false;
}

TEST(PointyWaffleNets, LoadWithTheirCountsAndOptions) {
  for (const NetCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = Loaded(c.shape);
    ASSERT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    for (int32_t f = 0; f < c.faces; ++f) EXPECT_EQ(p->faces[f].n2D, 3);
    ASSERT_NE(p->map2Dto3D, nullptr);
    EXPECT_EQ(p->warpStyle, 1);
    EXPECT_EQ(p->origamiTabOption, 1);
    EXPECT_EQ(p->mirrorFlipB, c.mirrorFlipB);
    for (int32_t f = 0; f < c.faces; ++f)
      for (int32_t j = 0; j < 3; ++j) {
        const int32_t v3 = p->map2Dto3D[p->faces[f].vert2D[j]];
        EXPECT_GE(v3, 0);
        EXPECT_LT(v3, p->n3DVerts);
      }
  }
}

TEST(PointyWaffleNets, NoTwoFacesOverlap) {
  for (const NetCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    const double size = double(p->netBounds[1] - p->netBounds[0]);
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t) EXPECT_TRUE(Apart(p.get(), s, t, 1e-5 * size * size)) << s << " " << t;
  }
}

// Along every edge two faces share, both give the same direction; the
// shared edges join the faces into the expected number of pieces. Each face
// is sampled a hair inside its edge, toward its centre: the waffle's map
// reads which side of its middle line a point lies on, and a point exactly
// on that line goes with the left side.
constexpr double kInside = 1e-5;

TEST(PointyWaffleNets, SharedEdgesShowTheSameSphereFromBothSides) {
  for (const NetCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    std::vector<int32_t> piece(c.faces);
    for (int32_t f = 0; f < c.faces; ++f) piece[f] = f;
    auto root = [&](int32_t f) {
      while (piece[f] != f) f = piece[f];
      return f;
    };
    double worst = 0.0;
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t)
        for (int e = 0; e < 3; ++e) {
          const int32_t va = p->triangles[s].vert2D[e], vb = p->triangles[s].vert2D[(e + 1) % 3];
          const int32_t* tv = p->triangles[t].vert2D;
          const int32_t ia = int32_t(std::find(tv, tv + 3, va) - tv), ib = int32_t(std::find(tv, tv + 3, vb) - tv);
          if (ia == 3 || ib == 3) continue;
          piece[root(t)] = root(s);
          for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
            double bs[3] = {0, 0, 0}, bt[3] = {0, 0, 0}, a[3], b[3];
            bs[e] = 1.0 - f;
            bs[(e + 1) % 3] = f;
            bt[ia] = 1.0 - f;
            bt[ib] = f;
            for (int k = 0; k < 3; ++k) {
              bs[k] = bs[k] * (1.0 - kInside) + kInside / 3;
              bt[k] = bt[k] * (1.0 - kInside) + kInside / 3;
            }
            SphereAt(p.get(), s, bs, a);
            SphereAt(p.get(), t, bt, b);
            worst = std::max(worst, Angle(a, b));
          }
        }
    int32_t pieces = 0;
    for (int32_t f = 0; f < c.faces; ++f) pieces += root(f) == f;
    EXPECT_EQ(pieces, c.pieces);
    EXPECT_LT(worst, kHalfPixelAt1024);
  }
}

// +1 or -1 when every face turns the same way in the plane against its
// sphere picture, 0 when they disagree.
int32_t Handedness(const polyhedron* p, int32_t faces) {
  int32_t sign = 0;
  const double inner[3][3] = {{0.6, 0.2, 0.2}, {0.2, 0.6, 0.2}, {0.2, 0.2, 0.6}};
  for (int32_t t = 0; t < faces; ++t) {
    double d[3][3], xy[3][2];
    for (int k = 0; k < 3; ++k) {
      SphereAt(p, t, inner[k], d[k]);
      xy[k][0] = xy[k][1] = 0;
      for (int j = 0; j < 3; ++j) {
        xy[k][0] += inner[k][j] * p->verts2D[p->triangles[t].vert2D[j]].x;
        xy[k][1] += inner[k][j] * p->verts2D[p->triangles[t].vert2D[j]].y;
      }
    }
    const double turn = Cross2(xy[0][0], xy[0][1], xy[1][0], xy[1][1], xy[2][0], xy[2][1]);
    const double det = d[0][0] * (d[1][1] * d[2][2] - d[1][2] * d[2][1]) -
                       d[0][1] * (d[1][0] * d[2][2] - d[1][2] * d[2][0]) +
                       d[0][2] * (d[1][0] * d[2][1] - d[1][1] * d[2][0]);
    const int32_t s = turn * det > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return 0;
    sign = s;
  }
  return sign;
}

TEST(PointyWaffleNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = Handedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  for (const NetCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    EXPECT_EQ(Handedness(p.get(), c.faces), want);
  }
}

// The pointy net: each lune stands sky up (the picture's rows run down the
// net's y, so the sky lies toward low y: across each face, the sphere's
// height falls as the net's y grows), and the copies show what their
// originals show, point for point.
TEST(PointyWaffleNets, PointyLunesStandSkyUpAndRepeat) {
  PolyPtr p = SetUpShape(59);
  ASSERT_EQ(FaceTriangles(p.get()), 8);
  for (int32_t t = 0; t < 8; ++t) {
    SCOPED_TRACE("face " + std::to_string(t));
    // The net point and the sphere height at a few inner points.
    double sumY = 0, sumH = 0, sumYH = 0, sumYY = 0;
    const double inner[4][3] = {{0.6, 0.2, 0.2}, {0.2, 0.6, 0.2}, {0.2, 0.2, 0.6}, {1.0 / 3, 1.0 / 3, 1.0 / 3}};
    for (const auto& b : inner) {
      double d[3], y = 0;
      SphereAt(p.get(), t, b, d);
      for (int j = 0; j < 3; ++j) y += b[j] * p->verts2D[p->triangles[t].vert2D[j]].y;
      sumY += y;
      sumH += d[1];
      sumYH += y * d[1];
      sumYY += y * y;
    }
    const double slope = (4 * sumYH - sumY * sumH) / (4 * sumYY - sumY * sumY);
    EXPECT_LT(slope, 0.0);
  }
  for (int32_t t : {0, 1, 4, 5}) {
    SCOPED_TRACE("face " + std::to_string(t));
    const double samples[2][3] = {{0.5, 0.3, 0.2}, {0.1, 0.1, 0.8}};
    for (const double* b : samples) {
      double a[3], c[3];
      SphereAt(p.get(), t, b, a);
      SphereAt(p.get(), t + 2, b, c);
      EXPECT_LT(Angle(a, c), kHalfPixelAt1024);
    }
  }
}

// The waffle shows the whole sphere: every cell of a coarse latitude and
// longitude grid is reached from some face, and its two marks sit where
// its sphere map reads them: mark 22 on the net's upright middle line, both
// on the net's top edge.
TEST(PointyWaffleNets, WaffleCoversTheSphereAndKeepsItsMarks) {
  {
    PolyPtr p = SetUpShape(60);
    ASSERT_EQ(FaceTriangles(p.get()), 96);
    constexpr int kRows = 8, kColumns = 16, kSteps = 40;
    bool hit[kRows][kColumns] = {};
    for (int32_t t = 0; t < 96; ++t)
      for (int i = 0; i <= kSteps; ++i)
        for (int j = 0; i + j <= kSteps; ++j) {
          const double b[3] = {double(i) / kSteps, double(j) / kSteps, double(kSteps - i - j) / kSteps};
          double d[3];
          SphereAt(p.get(), t, b, d);
          const double lat = std::asin(std::clamp(d[1], -1.0, 1.0)), lon = std::atan2(d[0], d[2]);
          const int r = std::min(kRows - 1, int((lat + kPi / 2) / kPi * kRows));
          const int c = std::min(kColumns - 1, int((lon + kPi) / (2 * kPi) * kColumns));
          hit[r][c] = true;
        }
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) EXPECT_TRUE(hit[r][c]) << "cell " << r << " " << c;
    const PolyVertex2D& a = p->verts2D[22];
    const PolyVertex2D& b = p->verts2D[50];
    const double width = double(p->netBounds[1]) - p->netBounds[0];
    EXPECT_NEAR(a.x, (double(p->netBounds[0]) + p->netBounds[1]) / 2, 1e-5 * width);
    EXPECT_NEAR(a.y, b.y, 1e-5 * width);
    for (int32_t v = 0; v < p->n2DVerts; ++v) EXPECT_GE(p->verts2D[v].y, a.y - 1e-5 * width) << v;
  }
}

// The three-petal floret of mode 151 on shape 62's net: its petals join
// (a point a hair either side of the line between two petals shows the same
// sphere point from both, or lies off both), and all three meet at the
// centre in one point. On the waffle's own net the petals were cut short
// and their edges showed different places.
void ReadNet(const void* context, float x, float y, float point[3], uint8_t* outside, renderhinttype* hint) {
  DoPolyhedralTransforms(point, static_cast<const polyhedron*>(context), x, y, outside, hint);
}

TEST(PointyWaffleNets, TridentPetalsJoinAlongTheirEdges) {
  PolyPtr p = SetUpShape(62);
  ASSERT_EQ(p->errorCode, kPolyErrorNone);
  FloretBasis basis;
  GetBasisOfWarpyPolyprojection(151, &basis);
  ASSERT_EQ(basis.polyhedronId, 62);
  auto hint = std::make_unique<renderhinttype>();
  hint->band = kNoBand;
  PrepareShortTriList(p.get(), 0.0f, 0.0f, -1, 0.0f, hint.get(), 0.0f, 0.0f, false);
  const FloretNet net{ReadNet, p.get(), p->verts2D[0].x, p->verts2D[0].y};
  auto at = [&](double angle, double r, double out[3]) {
    uint8_t outside = 1;
    CopsInTroubleCore({r * std::cos(angle), r * std::sin(angle)}, &outside, out, &basis, &net, hint.get());
    const double n = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    for (int i = 0; i < 3; ++i) out[i] /= n;
    return outside == 0;
  };
  // The lines between petals, as plane angles: the spin of a quarter turn
  // and the petals' boundaries a third of a turn apart. Points are taken a
  // hair aside; were another copy of the quarter to touch the rays the
  // petals read, the net search could take its eighth there.
  constexpr double kAside = 1e-6;
  int32_t joined = 0;
  double worst = 0.0, centre[3][3];
  for (int j = 0; j < 3; ++j) {
    const double line = -(kPi / 6 + 2 * kPi * j / 3);
    ASSERT_TRUE(at(line + 0.5, 1e-10, centre[j]));
    for (int i = 1; i <= 60; ++i) {
      const double r = 0.02 * i;
      double a[3], b[3];
      const bool inA = at(line - kAside, r, a), inB = at(line + kAside, r, b);
      EXPECT_EQ(inA, inB) << "line " << j << " radius " << r;
      if (!inA || !inB) continue;
      ++joined;
      worst = std::max(worst, Angle(a, b));
    }
  }
  EXPECT_GT(joined, 60);
  EXPECT_LT(worst, 0.005);
  EXPECT_LT(Angle(centre[0], centre[1]), 0.005);
  EXPECT_LT(Angle(centre[0], centre[2]), 0.005);
}

}  // namespace
