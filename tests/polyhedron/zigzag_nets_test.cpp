// The cube stood on a corner in eighths: the zigzag (the whole cube in one
// band) and the monozag (half of it, which the segment stretch opens to the
// whole sphere). Their counts and options, no eighth over another, no seam
// wider than half a pixel of a 1024-pixel-wide world map along any edge two
// eighths share, the sphere shown the right way round, and the sky on top.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "polybuild/polyhedron_setup.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/catalogue_static.h"
#include "projection/net_projection_core.h"
#include "projection/render_hint.h"
#include "projection/stereographic.h"
#include "support/poly_fixture.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;

struct ZigzagCase {
  int32_t shape;
  int32_t faces;
  int32_t points2D;  // the highest net point the rows use
  bool half;         // the monozag: half the cube, stretched
};

const ZigzagCase kCases[] = {{46, 48, 39, false}, {64, 48, 39, false}, {47, 24, 60, true}, {51, 24, 60, true}};

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

TEST(ZigzagNets, LoadWithTheirCountsAndOptions) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    EXPECT_FALSE(StaticShapeTablesMissing(c.shape));
    PolyPtr p = Loaded(c.shape);
    ASSERT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    for (int32_t f = 0; f < c.faces; ++f) EXPECT_EQ(p->faces[f].n2D, 3);
    EXPECT_EQ(p->faces3DRows, nullptr);
    ASSERT_NE(p->map2Dto3D, nullptr);
    EXPECT_EQ(p->warpStyle, 1);
    EXPECT_EQ(p->origamiTabOption, 1);
    EXPECT_EQ(p->mirrorFlipA, 0);
    EXPECT_EQ(p->mirrorFlipB, 1);
    EXPECT_EQ(p->segmentStretch, c.half ? 1 : 0);
    EXPECT_EQ(p->segmentStretchAlpha, c.half ? 0.5 : 1.0);
    for (int32_t f = 0; f < c.faces; ++f)
      for (int32_t j = 0; j < 3; ++j) {
        const int32_t v3 = p->map2Dto3D[p->faces[f].vert2D[j]];
        EXPECT_GE(v3, 0);
        EXPECT_LT(v3, p->n3DVerts);
      }
  }
}

// The face triangles come first, one per face; tabs and marks follow.
int32_t FaceTriangles(const polyhedron* p) {
  int32_t n = 0;
  while (n < p->nTriangles && !p->triangles[n].isTab) ++n;
  return n;
}

double Cross(const PolyVertex2D& o, const PolyVertex2D& a, const PolyVertex2D& b) {
  return double(a.x - o.x) * (b.y - o.y) - double(a.y - o.y) * (b.x - o.x);
}

// Some edge of one of the two triangles has the other wholly on its outer
// side (touching allowed).
bool Apart(const polyhedron* p, int32_t s, int32_t t, double slack) {
  for (int pass = 0; pass < 2; ++pass) {
    const NetTriangle& a = p->triangles[pass ? t : s];
    const NetTriangle& b = p->triangles[pass ? s : t];
    const PolyVertex2D* A[3] = {&p->verts2D[a.vert2D[0]], &p->verts2D[a.vert2D[1]], &p->verts2D[a.vert2D[2]]};
    const double sign = Cross(*A[0], *A[1], *A[2]) > 0 ? 1.0 : -1.0;
    for (int e = 0; e < 3; ++e) {
      bool allOut = true;
      for (int k = 0; k < 3 && allOut; ++k)
        allOut = sign * Cross(*A[e], *A[(e + 1) % 3], p->verts2D[b.vert2D[k]]) <= slack;
      if (allOut) return true;
    }
  }
  return false;
}

TEST(ZigzagNets, NoTwoEighthsOverlap) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    const double size = double(p->netBounds[1] - p->netBounds[0]);
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t) EXPECT_TRUE(Apart(p.get(), s, t, 1e-5 * size * size)) << s << " " << t;
  }
}

// The sphere point of barycentrics b in triangle t at net point (x, y), as
// the renderer makes it: the cube warp, the tumble and, for the monozag, the
// stretch. Returns false when the stretch leaves the point out.
bool SpherePoint(const polyhedron* p, int32_t t, const float b[3], double x, double y, float out[3]) {
  renderhinttype hint{};
  uint8_t outside = 0;
  DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(x), float(y), out, &outside, &hint);
  if (p->segmentStretch) SubstituteSphereSegment(out, p->segmentStretchAlpha, &outside);
  return outside == 0;
}

double AngleBetween(const float a[3], const float b[3]) {
  const double na = std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]);
  const double nb = std::sqrt(double(b[0]) * b[0] + double(b[1]) * b[1] + double(b[2]) * b[2]);
  double d = (double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2]) / (na * nb);
  return std::acos(std::clamp(d, -1.0, 1.0));
}

// The point at s along the net edge from 2D vertex va to vb, as triangle t
// maps it.
void EdgePointOf(const polyhedron* p, int32_t t, int32_t va, int32_t vb, double s, float out[3]) {
  const NetTriangle& tri = p->triangles[t];
  float b[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    if (tri.vert2D[k] == va) b[k] = float(1.0 - s);
    if (tri.vert2D[k] == vb) b[k] = float(s);
  }
  const PolyVertex2D& a = p->verts2D[va];
  const PolyVertex2D& c = p->verts2D[vb];
  SpherePoint(p, t, b, a.x + s * (c.x - a.x), a.y + s * (c.y - a.y), out);
}

TEST(ZigzagNets, SharedEdgesShowTheSameSphereFromBothSides) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    int32_t shared = 0;
    double worst = 0.0;
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t)
        for (int e = 0; e < 3; ++e) {
          const int32_t va = p->triangles[s].vert2D[e], vb = p->triangles[s].vert2D[(e + 1) % 3];
          const int32_t* tv = p->triangles[t].vert2D;
          if (std::count(tv, tv + 3, va) == 0 || std::count(tv, tv + 3, vb) == 0) continue;
          ++shared;
          for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
            float a[3], b[3];
            EdgePointOf(p.get(), s, va, vb, f, a);
            EdgePointOf(p.get(), t, va, vb, f, b);
            worst = std::max(worst, AngleBetween(a, b));
          }
        }
    // One piece: every eighth joined to the rest.
    EXPECT_GE(shared, c.faces - 1);
    EXPECT_LT(worst, kHalfPixelAt1024);
  }
}

// Which way round a net shows the sphere (before any stretch, which keeps
// it): +1 or -1 when all its triangles agree, 0 when not.
int32_t Handedness(const polyhedron* p, int32_t faces) {
  int32_t sign = 0;
  const float inner[3][3] = {{0.6f, 0.2f, 0.2f}, {0.2f, 0.6f, 0.2f}, {0.2f, 0.2f, 0.6f}};
  for (int32_t t = 0; t < faces; ++t) {
    double d[3][3], xy[3][2];
    for (int k = 0; k < 3; ++k) {
      const float* b = inner[k];
      double x = 0, y = 0;
      for (int j = 0; j < 3; ++j) {
        x += b[j] * p->verts2D[p->triangles[t].vert2D[j]].x;
        y += b[j] * p->verts2D[p->triangles[t].vert2D[j]].y;
      }
      renderhinttype hint{};
      uint8_t outside = 0;
      float q[3];
      DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(x), float(y), q, &outside, &hint);
      for (int j = 0; j < 3; ++j) d[k][j] = q[j];
      xy[k][0] = x;
      xy[k][1] = y;
    }
    const double turn = (xy[1][0] - xy[0][0]) * (xy[2][1] - xy[0][1]) - (xy[1][1] - xy[0][1]) * (xy[2][0] - xy[0][0]);
    const double det = d[0][0] * (d[1][1] * d[2][2] - d[1][2] * d[2][1]) -
                       d[0][1] * (d[1][0] * d[2][2] - d[1][2] * d[2][0]) +
                       d[0][2] * (d[1][0] * d[2][1] - d[1][1] * d[2][0]);
    const int32_t s = turn * det > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return 0;
    sign = s;
  }
  return sign;
}

TEST(ZigzagNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = Handedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    EXPECT_EQ(Handedness(p.get(), c.faces), want);
  }
}

// The sky (the -y side of the sphere these maps make, as for the cube's
// other nets) is at the top of the net and the ground at the bottom: along
// the net's top row of points the sphere reaches the zenith, along its
// bottom row the nadir, and the zenith lies in no lower half of the net.
TEST(ZigzagNets, SkyUp) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    double top = -1e9, bottom = 1e9;
    for (int32_t t = 0; t < c.faces; ++t)
      for (int k = 0; k < 3; ++k) {
        top = std::max(top, double(p->verts2D[p->triangles[t].vert2D[k]].y));
        bottom = std::min(bottom, double(p->verts2D[p->triangles[t].vert2D[k]].y));
      }
    const double tolerance = 1e-5 * (top - bottom);
    double skyAtTop = -2, groundAtBottom = -2, skyAtLowerHalf = -2;
    for (int32_t t = 0; t < c.faces; ++t)
      for (int k = 0; k < 3; ++k) {
        const int32_t va = p->triangles[t].vert2D[k], vb = p->triangles[t].vert2D[(k + 1) % 3];
        for (int i = 0; i <= 64; ++i) {
          const double s = i / 64.0;
          const double y = p->verts2D[va].y + s * (p->verts2D[vb].y - p->verts2D[va].y);
          float q[3];
          EdgePointOf(p.get(), t, va, vb, s, q);
          const double n = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2]);
          const double up = -q[1] / n;
          if (y > top - tolerance) skyAtTop = std::max(skyAtTop, up);
          if (y < bottom + tolerance) groundAtBottom = std::max(groundAtBottom, -up);
          if (y < (top + bottom) / 2) skyAtLowerHalf = std::max(skyAtLowerHalf, up);
        }
      }
    EXPECT_GT(skyAtTop, 0.9999);
    EXPECT_GT(groundAtBottom, 0.9999);
    EXPECT_LT(skyAtLowerHalf, 0.9);
  }
}

}  // namespace
