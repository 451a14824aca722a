// The Reuleaux nets of the catalogue (one face, two faces side by side, the
// four faces of the tetrahedron, the eight of the octahedron): their counts
// and options, the bounds that frame them, no sector over another, and a
// picture without seams: inside a face every sector
// continues its neighbours' picture across the edges they share, within half
// a pixel of a 1024-pixel-wide world map, and faces that touch meet at the
// arc midpoint they share. Points off the faces are reported outside and
// never fall outside the bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "polybuild/polyhedron_setup.h"
#include "polyhedron/catalogue.h"
#include "projection/net_projection_core.h"
#include "projection/render_hint.h"
#include "support/poly_fixture.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;

struct ReuleauxCase {
  int32_t shape;
  int32_t faces;
  int32_t points2D;
  float bounds[4];
  // The share of each sector shown: up to the chords from the arc midpoints
  // to the Reuleaux corners, which lie (1 + sqrt 3) / 4 of the way from the
  // centre to the triangle's corner; on the octahedron up to its own arcs.
  double shownShare;
};

const ReuleauxCase kCases[] = {
    {52, 6, 7, {-0.594388f, 0.594388f, -0.684105f, 0.502879f}, 0.683},
    {53, 12, 19, {-1.688241f, 0.688918f, -0.597432f, 0.597432f}, 0.683},
    {54, 24, 19, {-1.464807f, 1.464807f, -1.687953f, 1.006703f}, 0.683},
    {55, 48, 56, {-1.717542f, 3.155323f, -0.665468f, 1.712015f}, 0.683},
    {56, 48, 56, {-1.951145f, 3.677683f, -0.792059f, 1.943672f}, 0.83},
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

TEST(ReuleauxNets, LoadWithTheirCountsOptionsAndBounds) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = Loaded(c.shape);
    ASSERT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    EXPECT_EQ(p->faces3DRows, nullptr);
    ASSERT_NE(p->map2Dto3D, nullptr);
    EXPECT_EQ(p->mirrorFlipB, 1);
    EXPECT_EQ(p->warpStyle, 1);
    EXPECT_EQ(p->origamiTabOption, 1);
    EXPECT_EQ(p->cramMode2, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p->cramBounds[i], c.bounds[i]);
    for (int32_t f = 0; f < c.faces; ++f) {
      ASSERT_EQ(p->faces[f].n2D, 3);
      for (int32_t j = 0; j < 3; ++j) {
        const int32_t v3 = p->map2Dto3D[p->faces[f].vert2D[j]];
        EXPECT_GE(v3, 0);
        EXPECT_LT(v3, p->n3DVerts);
      }
    }
  }
}

// The two-face and four-face nets share their points and their solid: the
// two faces are the four-face net's middle face and the one beyond its edge.
TEST(ReuleauxNets, TwoFacesAreTwoOfTheFour) {
  PolyPtr two = Loaded(53), four = Loaded(54);
  EXPECT_EQ(two->map2Dto3D, four->map2Dto3D);
  EXPECT_EQ(two->coords3D, four->coords3D);
  const int32_t fromFour[12] = {0, 1, 2, 3, 4, 5, 18, 19, 20, 21, 22, 23};
  for (int32_t f = 0; f < 12; ++f)
    for (int32_t j = 0; j < 3; ++j) EXPECT_EQ(two->faces[f].vert2D[j], four->faces[fromFour[f]].vert2D[j]);
}

int32_t FaceTriangles(const polyhedron* p) {
  int32_t n = 0;
  while (n < p->nTriangles && !p->triangles[n].isTab) ++n;
  return n;
}

// The sphere point of barycentrics b in net triangle t; false when the point
// is off the faces.
bool Shown(const polyhedron* p, int32_t t, const float b[3], float out[3], float* x = nullptr, float* y = nullptr) {
  const NetTriangle& tri = p->triangles[t];
  float px = 0, py = 0;
  for (int k = 0; k < 3; ++k) {
    px += b[k] * p->verts2D[tri.vert2D[k]].x;
    py += b[k] * p->verts2D[tri.vert2D[k]].y;
  }
  if (x) *x = px;
  if (y) *y = py;
  renderhinttype hint{};
  uint8_t outside = 0;
  DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, px, py, out, &outside, &hint);
  return outside == 0;
}

double AngleBetween(const float a[3], const float b[3]) {
  const double na = std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]);
  const double nb = std::sqrt(double(b[0]) * b[0] + double(b[1]) * b[1] + double(b[2]) * b[2]);
  const double d = (double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2]) / (na * nb);
  return std::acos(std::clamp(d, -1.0, 1.0));
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

// The net search takes the first triangle under a point, so no two sectors
// may lie over each other, not even their parts off the faces.
TEST(ReuleauxNets, NoTwoSectorsOverlap) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr poly = SetUpShape(c.shape);
    const polyhedron* p = poly.get();
    ASSERT_EQ(FaceTriangles(p), c.faces);
    const double size = double(p->netBounds[1] - p->netBounds[0]);
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t) EXPECT_TRUE(Apart(p, s, t, 1e-5 * size * size)) << s << " " << t;
  }
}

// Barycentrics of the point at s along the edge from va to vb of triangle t.
void EdgeBarys(const polyhedron* p, int32_t t, int32_t va, int32_t vb, double s, float b[3]) {
  for (int k = 0; k < 3; ++k) {
    b[k] = 0.0f;
    if (p->triangles[t].vert2D[k] == va) b[k] = float(1.0 - s);
    if (p->triangles[t].vert2D[k] == vb) b[k] = float(s);
  }
}

// Inside a face, along every edge two sectors share; between faces, at the
// arc midpoints where they touch (a net point of each, at one place).
TEST(ReuleauxNets, SectorsMeetWithoutSeams) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr poly = SetUpShape(c.shape);
    const polyhedron* p = poly.get();
    ASSERT_EQ(FaceTriangles(p), c.faces);
    const float size = p->netBounds[1] - p->netBounds[0];
    double worst = 0.0;
    int32_t compared = 0, facesMet = 0;
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t) {
        const NetTriangle& a = p->triangles[s];
        const NetTriangle& b = p->triangles[t];
        if (a.face2D / 6 != b.face2D / 6) {
          // Corner 1 of a sector's row is its arc midpoint.
          const PolyVertex2D& ma = p->verts2D[p->faces[a.face2D].vert2D[1]];
          const PolyVertex2D& mb = p->verts2D[p->faces[b.face2D].vert2D[1]];
          if (std::fabs(ma.x - mb.x) + std::fabs(ma.y - mb.y) > 1e-5f * size) continue;
          float ba[3], bb[3], qa[3], qb[3];
          for (int k = 0; k < 3; ++k) {
            ba[k] = a.vert2D[k] == p->faces[a.face2D].vert2D[1] ? 1.0f : 0.0f;
            bb[k] = b.vert2D[k] == p->faces[b.face2D].vert2D[1] ? 1.0f : 0.0f;
          }
          if (!Shown(p, s, ba, qa) || !Shown(p, t, bb, qb)) continue;
          ++facesMet;
          worst = std::max(worst, AngleBetween(qa, qb));
          continue;
        }
        for (int e = 0; e < 3; ++e) {
          const int32_t va = a.vert2D[e], vb = a.vert2D[(e + 1) % 3];
          if (std::count(b.vert2D, b.vert2D + 3, va) == 0 || std::count(b.vert2D, b.vert2D + 3, vb) == 0) continue;
          for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
            float bs[3], bt[3], qa[3], qb[3];
            EdgeBarys(p, s, va, vb, f, bs);
            EdgeBarys(p, t, va, vb, f, bt);
            if (!Shown(p, s, bs, qa) || !Shown(p, t, bt, qb)) continue;
            ++compared;
            worst = std::max(worst, AngleBetween(qa, qb));
          }
        }
      }
    EXPECT_GE(compared, c.faces * 3);
    // Each face touches another: the two faces once, the four faces three
    // times, the eight faces (an upper and a lower row) four times; each
    // touch is counted for the two sectors on either side of both.
    EXPECT_EQ(facesMet, c.faces == 6 ? 0 : c.faces == 12 ? 4 : c.faces == 24 ? 12 : 16);
    EXPECT_LT(worst, kHalfPixelAt1024);
  }
}

// The off-face parts of each sector (beyond the chords from an arc midpoint
// to the Reuleaux corners, where the maps of neighbouring sectors part) are
// outside, and all that is shown lies in the given bounds.
TEST(ReuleauxNets, ShowOnlyTheFacesWithinTheirBounds) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr poly = SetUpShape(c.shape);
    const polyhedron* p = poly.get();
    const float slack = 0.01f * (p->netBounds[1] - p->netBounds[0]);
    int32_t shown = 0, hidden = 0;
    for (int32_t t = 0; t < c.faces; ++t) {
      // The sector's own corner (a triangle corner beyond the Reuleaux
      // corner) is never shown.
      const float corner[3] = {0.0f, 0.0f, 1.0f};
      float q[3];
      EXPECT_FALSE(Shown(p, t, corner, q));
      for (int i = 0; i <= 16; ++i)
        for (int j = 0; i + j <= 16; ++j) {
          const float b[3] = {i / 16.0f, j / 16.0f, (16 - i - j) / 16.0f};
          float x, y;
          if (!Shown(p, t, b, q, &x, &y)) {
            ++hidden;
            continue;
          }
          ++shown;
          EXPECT_GE(x, p->netBounds[0] - slack);
          EXPECT_LE(x, p->netBounds[1] + slack);
          EXPECT_GE(y, p->netBounds[2] - slack);
          EXPECT_LE(y, p->netBounds[3] + slack);
        }
    }
    // Sampled on a coarse grid, hence the slack.
    EXPECT_NEAR(double(shown) / (shown + hidden), c.shownShare, 0.05);
  }
}

// Which way round a net shows the sphere: the turn of three points inside a
// shown part of each sector against the turn of their directions seen from
// outside; +1 or -1 when all sectors agree, 0 when not.
int32_t Handedness(const polyhedron* p, int32_t faces) {
  int32_t sign = 0;
  const float inner[3][3] = {{0.7f, 0.2f, 0.1f}, {0.5f, 0.3f, 0.2f}, {0.5f, 0.2f, 0.3f}};
  for (int32_t t = 0; t < faces; ++t) {
    double d[3][3], xy[3][2];
    for (int k = 0; k < 3; ++k) {
      float q[3], x, y;
      if (!Shown(p, t, inner[k], q, &x, &y)) return 0;
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

int32_t ReferenceHandedness() {
  PolyPtr ico = SetUpShape(17, 6);
  int32_t sign = 0;
  for (int32_t t = 0; t < 20; ++t) {
    const NetTriangle& tri = ico->triangles[t];
    const PolyVertex2D* v[3] = {&ico->verts2D[tri.vert2D[0]], &ico->verts2D[tri.vert2D[1]],
                                &ico->verts2D[tri.vert2D[2]]};
    const double turn = double(v[1]->x - v[0]->x) * (v[2]->y - v[0]->y) - double(v[1]->y - v[0]->y) * (v[2]->x - v[0]->x);
    const double det = double(v[0]->renderX) * (double(v[1]->renderY) * v[2]->renderZ - double(v[1]->renderZ) * v[2]->renderY) -
                       double(v[0]->renderY) * (double(v[1]->renderX) * v[2]->renderZ - double(v[1]->renderZ) * v[2]->renderX) +
                       double(v[0]->renderZ) * (double(v[1]->renderX) * v[2]->renderY - double(v[1]->renderY) * v[2]->renderX);
    const int32_t s = turn * det > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return 0;
    sign = s;
  }
  return sign;
}

TEST(ReuleauxNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  const int32_t want = ReferenceHandedness();
  ASSERT_NE(want, 0);
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    EXPECT_EQ(Handedness(p.get(), c.faces), want);
  }
}

}  // namespace
