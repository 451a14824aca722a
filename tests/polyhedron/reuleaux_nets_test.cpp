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

#include "polyhedron/catalogue.h"
#include "sphere_net_checks.h"

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

TEST(ReuleauxNets, LoadWithTheirCountsOptionsAndBounds) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = LoadedShape(c.shape);
    EXPECT_TRUE(LoadsAsSectorNet(p.get(), c.faces, c.points2D));
    EXPECT_EQ(p->mirrorFlipB, 1);
    EXPECT_EQ(p->cramMode2, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p->cramBounds[i], c.bounds[i]);
  }
}

// The two-face and four-face nets share their points and their solid: the
// two faces are the four-face net's middle face and the one beyond its edge.
TEST(ReuleauxNets, TwoFacesAreTwoOfTheFour) {
  PolyPtr two = LoadedShape(53), four = LoadedShape(54);
  EXPECT_EQ(two->map2Dto3D, four->map2Dto3D);
  EXPECT_EQ(two->coords3D, four->coords3D);
  const int32_t fromFour[12] = {0, 1, 2, 3, 4, 5, 18, 19, 20, 21, 22, 23};
  for (int32_t f = 0; f < 12; ++f)
    for (int32_t j = 0; j < 3; ++j) EXPECT_EQ(two->faces[f].vert2D[j], four->faces[fromFour[f]].vert2D[j]);
}

// The net search takes the first triangle under a point, so no two sectors
// may lie over each other, not even their parts off the faces.
TEST(ReuleauxNets, NoTwoSectorsOverlap) {
  for (const ReuleauxCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr poly = SetUpShape(c.shape);
    const polyhedron* p = poly.get();
    ASSERT_EQ(FaceTriangles(p), c.faces);
    EXPECT_EQ(OverlappingFacePairs(p, c.faces), 0);
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
          if (!ShownPoint(p, s, ba, qa) || !ShownPoint(p, t, bb, qb)) continue;
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
            if (!ShownPoint(p, s, bs, qa) || !ShownPoint(p, t, bt, qb)) continue;
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
      EXPECT_FALSE(ShownPoint(p, t, corner, q));
      for (int i = 0; i <= 16; ++i)
        for (int j = 0; i + j <= 16; ++j) {
          const float b[3] = {i / 16.0f, j / 16.0f, (16 - i - j) / 16.0f};
          float x, y;
          if (!ShownPoint(p, t, b, q, &x, &y)) {
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

// Judged inside the shown part of each sector, where the sector's own map
// holds; a point off the faces fails the net.
constexpr HandednessProbe kShownPartProbe{{{0.7f, 0.2f, 0.1f}, {0.5f, 0.3f, 0.2f}, {0.5f, 0.2f, 0.3f}}, true};

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
    EXPECT_EQ(NetHandedness(p.get(), c.faces, kShownPartProbe), want);
  }
}

}  // namespace
