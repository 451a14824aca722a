// Warped nets: the cube's cross net cut into eighths of its squares (centre,
// edge midpoint, corner), drawn through the conformal cube warp. The warped
// picture keeps the squares' centres, midpoints and corners where the
// straight one has them, is conformal inside the faces where the straight
// one is not, and the two turned shapes are the same picture turned.
#include <gtest/gtest.h>

#include <cmath>

#include "netproj_fixture.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_core.h"

namespace {

constexpr int32_t kCubeWarp = 57, kZigzag = 46, kMonozag = 47;

// Every triangle gets corners of its own: centre, edge midpoint, corner.
PolyPtr CubeEighthsPoly() {
  PolyPtr p = NewPoly();
  const int lowerLeft[6][2] = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 0}};
  const double corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  int32_t v = 0, t = 0;
  for (int32_t face = 0; face < 6; ++face) {
    const double fx = lowerLeft[face][0], fy = lowerLeft[face][1];
    for (int k = 0; k < 4; ++k)
      for (int side = 0; side < 2; ++side) {
        // The midpoint of the edge before (side 0) or after (side 1) corner k.
        const double* c = corner[k];
        const double* n = corner[(k + (side ? 1 : 3)) % 4];
        const double pts[3][2] = {{0.5, 0.5}, {(c[0] + n[0]) / 2, (c[1] + n[1]) / 2}, {c[0], c[1]}};
        NetTriangle& tri = p->triangles[t];
        for (int j = 0; j < 3; ++j) {
          PolyVertex2D& q = p->verts2D[v];
          q.x = float(fx + pts[j][0]);
          q.y = float(fy + pts[j][1]);
          double r[3];
          CubePointOfCrossNet(face, q.x, q.y, r);
          q.renderX = float(r[0]), q.renderY = float(r[1]), q.renderZ = float(r[2]);
          tri.vert2D[j] = v++;
        }
        tri.face2D = int16_t(face);
        ++t;
      }
  }
  p->nTriangles = t;
  p->n2DVerts = v;
  FinishNet(p.get());
  return p;
}

void Show(const polyhedron* p, renderhinttype* hint, double x, double y, double out[3]) {
  float d[3] = {0, 0, 1};
  uint8_t outside = 9;
  DoPolyhedralTransforms(d, p, float(x), float(y), &outside, hint);
  ASSERT_EQ(outside, 0) << x << " " << y;
  for (int i = 0; i < 3; ++i) out[i] = d[i];
}

void Unit(double v[3]) {
  const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (int i = 0; i < 3; ++i) v[i] /= n;
}

TEST(WarpedNet, CentresMidpointsAndCornersStayPut) {
  PolyPtr p = CubeEighthsPoly();
  p->warpStyle = 1;
  p->shapeCode = kCubeWarp;
  HintPtr hint = WholeNetHint(p.get());
  // Just inside each landmark of the front square, on the diagonal or the
  // edge's perpendicular, so the point is on a triangle.
  const double landmarks[][2] = {{0.5, 0.5}, {0.5, 0.0015}, {0.9985, 0.5}, {0.001, 0.001}, {0.999, 0.999}};
  for (const auto& l : landmarks) {
    double got[3], want[3];
    Show(p.get(), hint.get(), 1 + l[0], 1 + l[1], got);
    CubePointOfCrossNet(kCrossFront, 1 + l[0], 1 + l[1], want);
    Unit(want);
    EXPECT_LT(AngleBetween(got, want), 3e-3) << l[0] << " " << l[1];
  }
  EXPECT_EQ(hint->hitRegion, hint->lastFace);
  EXPECT_EQ(hint->barycentrics.x, 1.0);  // a warped point leaves no solid point behind
}

// Local scales of the picture along net x and y at a point inside a face:
// equal and at right angles for a conformal picture.
struct Jacobian {
  double ratio;    // |d/dx| / |d/dy|
  double cosine;   // between d/dx and d/dy
};

Jacobian JacobianAt(const polyhedron* p, renderhinttype* hint, double x, double y) {
  constexpr double h = 2e-3;
  double a[3], b[3], c[3], d[3];
  Show(p, hint, x + h, y, a);
  Show(p, hint, x - h, y, b);
  Show(p, hint, x, y + h, c);
  Show(p, hint, x, y - h, d);
  double dx[3], dy[3];
  for (int i = 0; i < 3; ++i) dx[i] = a[i] - b[i], dy[i] = c[i] - d[i];
  const double nx = std::sqrt(dx[0] * dx[0] + dx[1] * dx[1] + dx[2] * dx[2]);
  const double ny = std::sqrt(dy[0] * dy[0] + dy[1] * dy[1] + dy[2] * dy[2]);
  return {nx / ny, (dx[0] * dy[0] + dx[1] * dy[1] + dx[2] * dy[2]) / (nx * ny)};
}

TEST(WarpedNet, TheCubeWarpIsConformalWhereTheStraightPictureIsNot) {
  PolyPtr p = CubeEighthsPoly();
  HintPtr hint = WholeNetHint(p.get());
  const double probes[][2] = {{0.8, 0.3}, {0.15, 0.6}, {0.7, 0.85}, {0.35, 0.1}};
  for (int32_t face : {0, 1, 4}) {
    const double fx = p->verts2D[p->triangles[face * 8].vert2D[0]].x - 0.5;
    const double fy = p->verts2D[p->triangles[face * 8].vert2D[0]].y - 0.5;
    for (const auto& q : probes) {
      p->warpStyle = 0;
      const Jacobian straight = JacobianAt(p.get(), hint.get(), fx + q[0], fy + q[1]);
      p->warpStyle = 1;
      p->shapeCode = kCubeWarp;
      const Jacobian warped = JacobianAt(p.get(), hint.get(), fx + q[0], fy + q[1]);
      EXPECT_GT(std::fabs(straight.ratio - 1.0) + std::fabs(straight.cosine), 0.08) << face << " " << q[0];
      EXPECT_NEAR(warped.ratio, 1.0, 0.02) << face << " " << q[0] << " " << q[1];
      EXPECT_NEAR(warped.cosine, 0.0, 0.02) << face << " " << q[0] << " " << q[1];
    }
  }
}

TEST(WarpedNet, TheTurnedCubeShapesAreTheSamePictureTurned) {
  PolyPtr p = CubeEighthsPoly();
  p->warpStyle = 1;
  HintPtr hint = WholeNetHint(p.get());
  struct Turned {
    int32_t shape;
    void (*turn)(float[3]);
  };
  for (const Turned& turned : {Turned{kZigzag, ExtraTumbleForZigzag}, Turned{kMonozag, ExtraTumbleForMonozag}})
    for (const auto& q : {std::pair{1.3, 1.7}, {0.2, 1.9}, {3.6, 1.45}, {1.5, 0.2}}) {
      p->shapeCode = kCubeWarp;
      float plain[3] = {0, 0, 1}, turnedPoint[3] = {0, 0, 1};
      uint8_t outside = 9;
      DoPolyhedralTransforms(plain, p.get(), float(q.first), float(q.second), &outside, hint.get());
      turned.turn(plain);
      p->shapeCode = turned.shape;
      DoPolyhedralTransforms(turnedPoint, p.get(), float(q.first), float(q.second), &outside, hint.get());
      ASSERT_EQ(outside, 0);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(turnedPoint[i], plain[i], 1e-6f) << turned.shape;
      EXPECT_EQ(hint->hitRegion, hint->lastFace);
    }
}

TEST(WarpedNet, ExtraTumblesTurnTheFrontAsDrawn) {
  // (0, 0, 1): first (z, y) by pi/4, then (x, y) by 35 or 30 degrees.
  const double s = std::sqrt(0.5);
  struct Case {
    void (*turn)(float[3]);
    double angle;
  };
  for (const Case& c : {Case{ExtraTumbleForZigzag, 35.0}, Case{ExtraTumbleForMonozag, 30.0}}) {
    float p[3] = {0.0f, 0.0f, 1.0f};
    c.turn(p);
    const double a = c.angle * M_PI / 180.0;
    EXPECT_NEAR(p[0], -s * std::sin(a), 1e-6);
    EXPECT_NEAR(p[1], s * std::cos(a), 1e-6);
    EXPECT_NEAR(p[2], s, 1e-6);
  }
}

}  // namespace
