// Polyhedral output: a net drawn from its solid, the regions of its faces,
// glue tabs and the void around it, the same bytes at any task count, and
// the sheets of one view per face of a solid.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "frame/settings/tparameters.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/input/input_mapping.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/task_record.h"
#include "projection/tumble.h"
#include "render/rows/column_record.h"
#include "render/rows/inverse_mapping.h"
#include "render/output_modes.h"
#include "render/routes/routes_views.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

constexpr int32_t kCubeNet = 7;
constexpr float kTwoPi = 6.2831853f;

// A picture that changes smoothly everywhere, the seam at u = 0/1 included,
// so that a filtered sample is close to the value at its centre.
void Gradient(int width, int height, float x, float y, float rgba[4]) {
  rgba[0] = 0.5f + 0.4f * std::sin(kTwoPi * x / float(width));
  rgba[1] = 0.5f + 0.4f * std::cos(kTwoPi * x / float(width));
  rgba[2] = 0.1f + 0.8f * y / float(height);
  rgba[3] = 1.0f;
}

struct NetRender {
  NetRender(int width, int height, int tasks, int32_t mode) : h(width, height, tasks) {
    // What the invocation's start does to the active polyhedron.
    NullifyPolyStorage(&h.globals()->storage->outputPolyhedron);
    TParameters* p = h.Settings();
    p->outputMode = mode;
    p->colorA[0] = 65535, p->colorA[1] = 0, p->colorA[2] = 0;  // tabs red
    p->colorB[0] = 0, p->colorB[1] = 0, p->colorB[2] = 65535;  // backdrop blue
    EXPECT_TRUE(h.PaintInput([&](int x, int y, float c[4]) { Gradient(width, height, x + 0.5f, y + 0.5f, c); }));
  }
  const vort& view() const { return h.globals()->storage->view; }
  const polyhedron* poly() const { return &h.globals()->storage->outputPolyhedron; }
  RowRenderHarness h;
};

// A search hint over the whole net, apart from the renderer's own.
std::unique_ptr<renderhinttype> WholeNetHint(const polyhedron* poly, int32_t mode) {
  auto hint = std::make_unique<renderhinttype>();
  hint->outputMode = mode;
  PrepareShortTriList(poly, 0.0f, 0.0f, -1, 0.0f, hint.get(), 0.0f, 0.0f, false);
  return hint;
}

void Centroid(const polyhedron* poly, const NetTriangle& tri, float* x, float* y) {
  for (int k = 0; k < 3; ++k) {
    *x += poly->verts2D[tri.vert2D[k]].x / 3.0f;
    *y += poly->verts2D[tri.vert2D[k]].y / 3.0f;
  }
}

struct NetPoint {
  int32_t face = -1;  // net face under the point, -1 none
  bool tab = false;
  float sphere[3] = {0, 0, 0};
};

NetPoint LookUp(const vort& view, renderhinttype* hint, float u, float v) {
  NetPoint r;
  uint8_t outside = 1;
  DoPolyhedralTransforms(r.sphere, view.polyhedron, u, v * view.outputAspect, &outside, hint);
  r.tab = outside && hint->tabHit;
  if (!outside && hint->hit) r.face = view.polyhedron->triangles[hint->lastFace].face2D;
  return r;
}

TEST(PolyhedralRender, CubeNetShowsEachFacePointsDirection) {
  constexpr int W = 128, H = 96;
  NetRender r(W, H, 2, kCubeNet);
  const std::vector<uint8_t> picture = r.h.RenderFinal();
  const vort& view = r.view();
  ASSERT_EQ(view.isPolyhedral, 1);
  ASSERT_GT(r.poly()->nTriangles, 0);
  auto hint = WholeNetHint(r.poly(), kCubeNet);

  int faces = 0, tabs = 0, off = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      // The pixel's four corners and its centre.
      const float us[5] = {x / float(W), (x + 1) / float(W), x / float(W), (x + 1) / float(W), (x + 0.5f) / W};
      const float vs[5] = {y / float(H), y / float(H), (y + 1) / float(H), (y + 1) / float(H), (y + 0.5f) / H};
      NetPoint pts[5];
      for (int k = 0; k < 5; ++k) pts[k] = LookUp(view, hint.get(), us[k], vs[k]);
      bool sameFace = pts[0].face >= 0, allTab = true, allOff = true;
      for (const NetPoint& q : pts) {
        sameFace = sameFace && q.face == pts[0].face;
        allTab = allTab && q.tab;
        allOff = allOff && q.face < 0 && !q.tab;
      }
      const uint8_t* px = &picture[(size_t(y) * W + x) * 3];
      if (sameFace) {
        float p[3] = {pts[4].sphere[0], pts[4].sphere[1], pts[4].sphere[2]};
        TwirlTransform(&view.tumble, view.outputMode, p);
        float iu, iv, blend = 1.0f;
        uint8_t tooFar = 0;
        int32_t face = -1, layer = 0;
        TransformSphereToInput(view.inputMode, view.mirrorInput, view.imageAspect, p, &iu, &iv, &tooFar,
                               view.mollweideTable, &face, &layer, &blend, nullptr, nullptr);
        // Near a pole the input's longitudes crowd together and the filter
        // rightly averages a wide stretch of them.
        if (iv < 0.12f || iv > 0.88f) continue;
        float want[4];
        Gradient(W, H, iu * W, iv * H, want);
        for (int c = 0; c < 3; ++c)
          EXPECT_NEAR(px[c], want[c] * 255.0f, 6.0f) << "pixel " << x << ", " << y << " channel " << c;
        ++faces;
      } else if (allTab) {
        EXPECT_EQ(px[0], 255) << x << ", " << y;
        EXPECT_EQ(px[1], 0) << x << ", " << y;
        EXPECT_EQ(px[2], 0) << x << ", " << y;
        ++tabs;
      } else if (allOff) {
        EXPECT_EQ(px[0], 0) << x << ", " << y;
        EXPECT_EQ(px[1], 0) << x << ", " << y;
        EXPECT_EQ(px[2], 255) << x << ", " << y;
        ++off;
      }
    }
  }
  // The cross of six faces covers a good part of the picture, with tabs
  // along its outline and the backdrop around it.
  EXPECT_GT(faces, W * H / 5);
  EXPECT_GT(tabs, 20);
  EXPECT_GT(off, W * H / 5);
}

// What a point on a face reports under each combination of the switches
// that tell regions apart.
TEST(PolyhedralRender, FaceRegionsFollowFalseColoursAndEdges) {
  NetRender r(96, 64, 1, kCubeNet);
  r.h.RenderFinal();
  const polyhedron* poly = r.poly();
  PerTaskStuffType& task = r.h.globals()->taskRecords[0];
  struct Case {
    const char* what;
    int32_t falseColors, edgesOn, tissotOn;
    bool faceIsRegion, mapsInput;
  };
  const Case cases[] = {
      {"plain", 0, 0, 0, false, true},
      {"false colours only: no input needed", 1, 0, 0, true, false},
      {"edges only", 0, 1, 0, true, true},
      {"false colours under Tissot circles", 1, 0, 1, true, true},
      {"false colours and edges", 1, 1, 0, true, false},
  };
  // A point well inside each face triangle (its centroid).
  for (const Case& c : cases) {
    TParameters* p = r.h.Settings();
    p->falseColors = c.falseColors;
    p->edgesOn = c.edgesOn;
    p->tissotOn = c.tissotOn;
    auto view = std::make_unique<vort>();
    ASSERT_EQ(BuildPrimaryView(r.h.globals(), view.get()), ViewBuild_OK) << c.what;
    PrepareShortTriList(poly, 0.0f, 0.0f, -1, 0.0f, &task.outputHint, 0.0f, 0.0f, false);
    int checked = 0;
    for (int32_t t = 0; t < poly->nTriangles; ++t) {
      const NetTriangle& tri = poly->triangles[t];
      if (tri.isTab) continue;
      float x = 0.0f, y = 0.0f;
      Centroid(poly, tri, &x, &y);
      TransformationReply reply{};
      CrazyDoSolarRect(x, y / view->outputAspect, *view, &reply, &task);
      EXPECT_EQ(reply.faceRegion, tri.face2D) << c.what << " triangle " << t;
      EXPECT_EQ(reply.regionCode, c.faceIsRegion ? int32_t(tri.face2D) : kRegionSurface) << c.what;
      if (c.mapsInput) {
        EXPECT_GE(reply.inputU, 0.0f) << c.what;
        EXPECT_GE(reply.inputV, 0.0f) << c.what;
      } else {
        EXPECT_EQ(reply.inputU, -1.0f) << c.what;
        EXPECT_EQ(reply.inputV, -1.0f) << c.what;
      }
      ++checked;
    }
    EXPECT_GE(checked, 6) << c.what;
  }
}

TEST(PolyhedralRender, TabsArePaintedAndTheRestIsNothing) {
  NetRender r(96, 64, 1, kCubeNet);
  r.h.RenderFinal();
  const polyhedron* poly = r.poly();
  const vort& view = r.view();
  PerTaskStuffType& task = r.h.globals()->taskRecords[0];
  PrepareShortTriList(poly, 0.0f, 0.0f, -1, 0.0f, &task.outputHint, 0.0f, 0.0f, false);
  int tabs = 0;
  for (int32_t t = 0; t < poly->nTriangles; ++t) {
    const NetTriangle& tri = poly->triangles[t];
    if (!tri.isTab) continue;
    float x = 0.0f, y = 0.0f;
    Centroid(poly, tri, &x, &y);
    TransformationReply reply{};
    CrazyDoSolarRect(x, y / view.outputAspect, view, &reply, &task);
    EXPECT_EQ(reply.regionCode, kRegionColorA) << "tab triangle " << t;
    EXPECT_EQ(reply.inputU, -1.0f);
    ++tabs;
  }
  EXPECT_GT(tabs, 0);
  // The output's corners lie off a centred cross.
  for (const float uv : {0.001f, 0.999f}) {
    TransformationReply reply{};
    CrazyDoSolarRect(uv, uv, view, &reply, &task);
    EXPECT_EQ(reply.regionCode, kRegionNothing);
  }
}

// The worker pool deals a row out in interleaved chunks, and each task
// searches the net from its own last hit through its own band lists: the
// picture must not depend on how many tasks share the rows.
TEST(PolyhedralRender, SameBytesAtAnyTaskCount) {
  struct Case {
    const char* what;
    int32_t mode;
    int32_t falseColors, edgesOn;
  };
  const Case cases[] = {
      {"cube net", kCubeNet, 0, 0},
      {"cube net, false colours and edges", kCubeNet, 1, 1},
      {"sheet of 12 views", 76, 0, 0},
  };
  constexpr int W = 200, H = 72;
  for (const Case& c : cases) {
    std::vector<uint8_t> reference;
    for (int tasks : {1, 2, 8}) {
      NetRender r(W, H, tasks, c.mode);
      r.h.Settings()->falseColors = c.falseColors;
      r.h.Settings()->edgesOn = c.edgesOn;
      const std::vector<uint8_t> picture = r.h.RenderFinal();
      if (reference.empty()) {
        reference = picture;
        continue;
      }
      EXPECT_EQ(picture, reference) << c.what << " at " << tasks << " tasks";
    }
  }
}

// The end of a pass frees the solid's owned arrays; the next pass with the
// same settings keeps the built net instead of building it again, and must
// draw the same picture from it.
TEST(PolyhedralRender, ASecondPassAfterTheFirstIsFreedDrawsTheSame) {
  NetRender r(96, 64, 2, kCubeNet);
  const std::vector<uint8_t> first = r.h.RenderFinal();
  DumpPolyStorage(&r.h.globals()->storage->outputPolyhedron, HostBuffers(r.h.globals()));
  EXPECT_EQ(r.h.RenderFinal(), first);
}

TEST(MultiViewSheet, EachCellLooksThroughItsFace) {
  struct Case {
    int32_t mode;
    int32_t faces, columns, rows;
  };
  const Case cases[] = {{75, 4, 2, 2}, {76, 12, 4, 3}, {77, 24, 6, 4}, {78, 60, 10, 6}, {79, 72, 9, 8}};
  for (const Case& c : cases) {
    NetRender r(120, 80, 1, c.mode);
    auto view = std::make_unique<vort>();
    ASSERT_EQ(BuildPrimaryView(r.h.globals(), view.get()), ViewBuild_OK) << c.mode;
    EXPECT_EQ(view->isPolyhedral, 0);
    ASSERT_EQ(view->polyhedron->n3DFaces, c.faces) << c.mode;
    EXPECT_EQ(view->viewColumns, c.columns) << c.mode;
    EXPECT_EQ(view->viewRows, c.rows) << c.mode;
    PerTaskStuffType& task = r.h.globals()->taskRecords[0];
    for (int32_t col = 0; col < c.columns; ++col) {
      for (int32_t row = 0; row < c.rows; ++row) {
        const int32_t cell = c.rows * col + row;
        const fcomplex centre{col - c.columns / 2.0 + 0.5, row - c.rows / 2.0 + 0.5};
        float p[3];
        uint8_t outside = 0;
        RouteMarks marks;
        Route_MultiView(centre, *view, p, &outside, &marks);
        ASSERT_EQ(outside, 0) << c.mode << " cell " << cell;
        EXPECT_EQ(marks.sheetCell, cell);
        EXPECT_EQ(marks.forcedRegion, cell);
        const float* want = view->polyhedron->faces[cell].centroidF;
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], want[k], 1e-5f) << c.mode << " cell " << cell;

        // Through the whole mapping, the cell is the region.
        double u, v;
        UnitOfPlane(centre, *view, &u, &v);
        TransformationReply reply{};
        CrazyDoSolarRect(float(u), float(v), *view, &reply, &task);
        EXPECT_EQ(reply.regionCode, cell) << c.mode;
        EXPECT_EQ(reply.sheetCell, cell) << c.mode;
        EXPECT_GE(reply.inputU, 0.0f);
      }
    }
  }
}

TEST(MultiViewSheet, CellsBeyondTheFacesAndTheGridEdgeShowNothing) {
  NetRender r(120, 80, 1, 76);
  auto view = std::make_unique<vort>();
  ASSERT_EQ(BuildPrimaryView(r.h.globals(), view.get()), ViewBuild_OK);
  polyhedron* poly = &r.h.globals()->storage->outputPolyhedron;
  const int32_t faces = poly->n3DFaces;
  poly->n3DFaces = 10;  // cells 10 and 11 have no face
  struct Case {
    double x, y;
    bool outside;
  };
  const Case cases[] = {
      {1.5, 0.5, true},    // cell 11
      {1.5, -0.5, true},   // cell 10
      {1.5, -1.5, true},   // the grid's top edge
      {-2.0, 0.0, true},   // left edge of the grid
      {1.5, -1.49, false},  // cell 9
      {-1.9, 1.4, false},   // cell 2
  };
  for (const Case& c : cases) {
    float p[3];
    uint8_t outside = 0;
    RouteMarks marks;
    Route_MultiView(fcomplex{c.x, c.y}, *view, p, &outside, &marks);
    EXPECT_EQ(outside != 0, c.outside) << c.x << ", " << c.y;
  }
  poly->n3DFaces = faces;
}

}  // namespace
