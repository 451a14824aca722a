// The single-fragment nets of the curved-element solids: one outline in
// which every piece lies whole and no face covers another, and renders of a
// uniform grey that show that grey everywhere inside the outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <cmath>
#include <vector>

#include "frame/globals.h"
#include "frame/settings/tparameters.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "support/poly_fixture.h"
#include "support/row_render_harness.h"

namespace {

struct OneFragmentMode {
  int32_t mode;
  bool piecesWhole;  // every piece in one part
  bool flat;         // no face over another
};
// Each piece is entered once and grows whole; the tribox, the octahedron and
// the cube grew theirs from every border they met, in several parts. The
// cube lays a little of one wing over another; it is left as it draws.
constexpr OneFragmentMode kOneFragmentModes[] = {
    {1035, true, true},  {1036, true, true}, {1037, true, true}, {1038, true, true}, {1039, true, true},
    {1040, true, true},  {1041, true, true},  {1047, true, false}, {1048, true, true},
};

// Net faces of one piece joined where they touch in the net: the number of
// separate parts the piece was laid out in.
int32_t PartsOfPiece(const polyhedron* p, int32_t group) {
  std::vector<int32_t> faces;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    if (VivoFacegroupOf3DFace(p->faces[f].face3D, p) == group) faces.push_back(f);
  std::vector<size_t> root(faces.size());
  for (size_t i = 0; i < root.size(); ++i) root[i] = i;
  auto find = [&](size_t i) {
    while (root[i] != i) i = root[i] = root[root[i]];
    return i;
  };
  // Corners are compared by place, within a small distance: faces that
  // touch need not share a vertex record.
  constexpr double kTouch = 1e-5;
  std::map<std::pair<long, long>, std::vector<std::pair<size_t, PolyVertex2D>>> cells;
  for (size_t i = 0; i < faces.size(); ++i) {
    const PolyFace& f = p->faces[faces[i]];
    for (int32_t e = 0; e < f.n2D; ++e) {
      const PolyVertex2D& v = p->verts2D[f.vert2D[e]];
      const long cx = std::lround(std::floor(v.x / kTouch)), cy = std::lround(std::floor(v.y / kTouch));
      for (long dx = -1; dx <= 1; ++dx)
        for (long dy = -1; dy <= 1; ++dy) {
          const auto near = cells.find({cx + dx, cy + dy});
          if (near == cells.end()) continue;
          for (const auto& [other, w] : near->second)
            if (std::hypot(double(w.x) - v.x, double(w.y) - v.y) <= kTouch) root[find(other)] = find(i);
        }
      cells[{cx, cy}].push_back({i, v});
    }
  }
  int32_t parts = 0;
  for (size_t i = 0; i < root.size(); ++i) parts += find(i) == i;
  return parts;
}

// Sample points of a grid over the net covered by more than one net face.
int32_t OverlappingSamples(const polyhedron* p, int32_t across) {
  float x0 = 1e30f, x1 = -1e30f, y0 = 1e30f, y1 = -1e30f;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    for (int32_t i = 0; i < p->faces[f].n2D; ++i) {
      const PolyVertex2D& v = p->verts2D[p->faces[f].vert2D[i]];
      x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
    }
  const double step = std::max(x1 - x0, y1 - y0) / across;
  const int32_t w = int32_t((x1 - x0) / step) + 1, h = int32_t((y1 - y0) / step) + 1;
  std::vector<uint8_t> cover(size_t(w) * size_t(h), 0);
  for (int32_t f = 0; f < p->n2DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    double X[kPolyMaxCorners], Y[kPolyMaxCorners], lo = 1e30, hi = -1e30;
    for (int32_t i = 0; i < face.n2D; ++i) {
      X[i] = p->verts2D[face.vert2D[i]].x, Y[i] = p->verts2D[face.vert2D[i]].y;
      lo = std::min(lo, Y[i]), hi = std::max(hi, Y[i]);
    }
    for (int32_t r = std::max(0, int32_t((lo - y0) / step) - 1); r < std::min(h, int32_t((hi - y0) / step) + 2); ++r)
      for (int32_t c = 0; c < w; ++c) {
        const double px = x0 + (c + 0.5) * step, py = y0 + (r + 0.5) * step;
        bool in = false;
        for (int32_t i = 0, j = face.n2D - 1; i < face.n2D; j = i++)
          if ((Y[i] > py) != (Y[j] > py) && px < (X[j] - X[i]) * (py - Y[i]) / (Y[j] - Y[i]) + X[i]) in = !in;
        if (in) ++cover[size_t(r) * size_t(w) + size_t(c)];
      }
  }
  return int32_t(std::count_if(cover.begin(), cover.end(), [](uint8_t n) { return n > 1; }));
}

}  // namespace

TEST(OneFragmentNets, EveryPieceLiesWholeAndNoFaceCoversAnother) {
  for (const OneFragmentMode& m : kOneFragmentModes) {
    SCOPED_TRACE(m.mode);
    PolyPtr p = NewPoly();
    DarOzoPolySetup(m.mode, p.get(), 1.0f, 0.0f, 0, 0.0f, 1, nullptr, 1);
    ASSERT_EQ(p->errorCode, 0);
    EXPECT_EQ(p->fragmentCount, 1);
    EXPECT_EQ(p->n2DFaces, p->n3DFaces) << "each solid face once";
    int32_t groups = 0;
    for (int32_t f = 0; f < p->n3DFaces; ++f) groups = std::max(groups, VivoFacegroupOf3DFace(f, p.get()) + 1);
    if (m.piecesWhole) {
      for (int32_t g = 0; g < groups; ++g) EXPECT_LE(PartsOfPiece(p.get(), g), 1) << "piece " << g;
    }

    if (m.flat) {
      EXPECT_EQ(OverlappingSamples(p.get(), 400), 0) << "samples covered twice";
    }
  }
}

TEST(OneFragmentNets, AUniformGreyComesOutGreyInsideTheOutline) {
  // A solid that does not close leaves directions no face sees; the render
  // shows them as black inside the outline. Scissor marks are thin black
  // lines: a small share.
  constexpr int W = 256, H = 128;
  for (int32_t mode : {290, 1048, 259, 261, 1038, 1039, 1040, 1041}) {
    SCOPED_TRACE(mode);
    RowRenderHarness h(W, H, 1);
    NullifyPolyStorage(&h.globals()->storage->outputPolyhedron);
    TParameters* s = h.Settings();
    s->outputMode = mode;
    s->colorB[0] = 0, s->colorB[1] = 0, s->colorB[2] = 65535;  // backdrop blue
    ASSERT_TRUE(h.PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = 0.5f, c[3] = 1.0f; }));
    const std::vector<uint8_t> picture = h.RenderFinal();
    int32_t inside = 0, dark = 0;
    for (size_t i = 0; i + 2 < picture.size(); i += 3) {
      const uint8_t r = picture[i], g = picture[i + 1], b = picture[i + 2];
      if (r == 0 && g == 0 && b == 255) continue;
      ++inside;
      dark += r < 64 && g < 64 && b < 64;
    }
    EXPECT_GT(inside, W * H / 8);
    EXPECT_LT(dark, inside / 100) << dark << " near-black pixels of " << inside;
  }
}
