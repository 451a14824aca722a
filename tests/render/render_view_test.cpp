// Building the view at the first row of a pass: what it takes from the
// settings and the host, what it refuses, and that nothing of an earlier
// pass survives a rebuild.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "projection/task_record.h"
#include "support/fake_host.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/base/task_pool.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"
#include "projection/nets/florets_basis.h"
#include "projection/render_hint.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/rows/column_record.h"
#include "render/output_modes.h"
#include "render/view_build.h"
#include "render/vort.h"

namespace {

struct ViewHost {
  explicit ViewHost(int16_t imageMode = kImageModeRGB, int16_t depth = 8, int planes = 3, bool alpha = false)
      : host(64, 32, imageMode, depth, planes, alpha) {
    SetDefaultSettings(host.Settings());
    host.Settings()->previewScale = 1;
    EXPECT_TRUE(TryToAllocatePyramid_2006(&host.globals->pyramids[kPyramidMain], 64, 32, PyramidDataKind_Packed8, 2));
    host.StartTasks(2);
  }
  TParameters& p() { return *host.Settings(); }
  ViewBuildStatus Build() { return BuildPrimaryView(host.globals, &view); }
  FakeHost host;
  vort view{};
};

TEST(ViewBuild, TakesTheSettingsAndTheHostsSizes) {
  ViewHost h;
  h.p().outputMode = OutputMode_Mollweide;
  h.p().colorA[0] = 65535;
  h.p().colorB[2] = 0;
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.view.outputMode, OutputMode_Mollweide);
  ASSERT_NE(h.view.modeRow, nullptr);
  EXPECT_EQ(h.view.modeRow->mode, OutputMode_Mollweide);
  EXPECT_EQ(h.view.outputWidth, 64.0f);
  EXPECT_EQ(h.view.outputAspect, 0.5f);
  EXPECT_EQ(h.view.inputPyramid, &h.host.globals->pyramids[kPyramidMain]);
  EXPECT_EQ(h.view.colorAUnit[0], 1.0f);
  EXPECT_EQ(h.view.colorBUnit[2], 0.0f);
  EXPECT_FLOAT_EQ(h.view.colorMidUnit[0], (1.0f + h.view.colorBUnit[0]) / 2);
  EXPECT_EQ(h.view.colorMidUnit[3], 1.0f);
  EXPECT_NE(h.view.mollweideTable, nullptr);
  for (int32_t i = 0; i < h.host.globals->taskRecordCount; ++i) {
    const PerTaskStuffType& t = h.host.globals->taskRecords[i];
    EXPECT_EQ(t.outputHint.band, kNoBand);
    EXPECT_EQ(t.outputHint.outputMode, OutputMode_Mollweide);
    EXPECT_FLOAT_EQ(t.outputHint.scale, std::exp2(120.0f / 180.0f * 5.0f));
    EXPECT_EQ(t.inputHint.band, kNoBand);
  }
}

TEST(ViewBuild, RefusesWhatItCannotRender) {
  struct Case {
    const char* what;
    int32_t outputMode;
    float viewAngle;
    int16_t imageMode, depth;
    ViewBuildStatus expected;
  };
  const Case cases[] = {
      {"a net of a solid", 7, 120, kImageModeRGB, 8, ViewBuild_OK},
      {"a sheet of views of a solid", 76, 120, kImageModeRGB, 8, ViewBuild_OK},
      {"the poly-map of the default solid", 1045, 120, kImageModeRGB, 8, ViewBuild_OK},
      {"mode 0", 0, 120, kImageModeRGB, 8, ViewBuild_UnknownMode},
      {"a negative mode", -4, 120, kImageModeRGB, 8, ViewBuild_UnknownMode},
      {"past the last mode", 292, 120, kImageModeRGB, 8, ViewBuild_UnknownMode},
      {"below the variants", 1034, 120, kImageModeRGB, 8, ViewBuild_UnknownMode},
      {"past the variants", 1050, 120, kImageModeRGB, 8, ViewBuild_UnknownMode},
      {"18 gores, which only a settings record selects", 1044, 120, kImageModeRGB, 8, ViewBuild_OK},
      {"a NaN view angle", 1, NAN, kImageModeRGB, 8, ViewBuild_BadViewAngle},
      {"an infinite view angle", 1, INFINITY, kImageModeRGB, 8, ViewBuild_BadViewAngle},
      {"a negative view angle", 1, -1, kImageModeRGB, 8, ViewBuild_BadViewAngle},
      {"RGB at 16 bits in the 8-bit mode", 1, 120, kImageModeRGB, 16, ViewBuild_BadImageMode},
      {"16-bit grey mode at 8 bits", 1, 120, kImageModeGray16, 8, ViewBuild_BadImageMode},
      {"multichannel", 1, 120, kImageModeMultichannel, 8, ViewBuild_BadImageMode},
      {"a view angle of 360", 1, 360, kImageModeRGB, 8, ViewBuild_OK},
      {"float RGB", 46, 120, kImageModeRGB96, 32, ViewBuild_OK},
  };
  for (const Case& c : cases) {
    ViewHost h(c.imageMode, c.depth);
    h.p().outputMode = c.outputMode;
    h.p().viewAngle = c.viewAngle;
    EXPECT_EQ(h.Build(), c.expected) << c.what;
    if (c.expected != ViewBuild_OK) {
      EXPECT_GT(std::strlen(ViewBuildStatusMessage(c.expected)), 0u) << c.what;
    }
  }
}

// True when the catalogue makes the solid of an output mode: a fresh record
// built by shape code, apart from the view's own set-up.
bool SolidLoads(int32_t outputMode, Globals* globals) {
  PolyhedronParams params{};
  get_polyhedron_params_from_output_mode(outputMode, &params);
  if (params.shapeCode < 0) return false;
  auto poly = std::make_unique<polyhedron>();
  NullifyPolyStorage(poly.get());
  InitPoly(poly.get(), 0.5f, 0.165f);
  // The view asks for the table's net (method 1), unturned and plainly fitted.
  const PolySetupChoice c = ChoosePolySetupInputs(params, 1, 0, 0.0f);
  SetUpReallyGeneralPolyhedron(poly.get(), params.shapeCode, c.netMethod, c.cramMode, c.angle, HostBuffers(globals), 1);
  // A net read through petals (a crammed fit) is drawn only by its floret.
  const bool loads = poly->errorCode != kPolyErrorShapeNotAvailable && poly->n3DFaces > 0 && poly->nTriangles > 0 &&
                     (poly->cramMode == 0 || IsFloretWithPolyhedronBasis(outputMode));
  DumpPolyStorage(poly.get(), HostBuffers(globals));
  return loads;
}

// Every output mode with a route renders; a mode that draws a solid (its
// net, or a sheet of views of its faces) renders exactly when the catalogue
// can make that solid (a net read through petals only by its floret); the
// brick sphere has its own route, and the poly-map draws the solid of the
// mode it stands for (the settings' second output mode).
TEST(ViewBuild, AModeRendersIffItsRouteOrItsSolidExists) {
  struct Span {
    int32_t first, last;
  };
  const Span routeless[] = {
      {6, 10},    {21, 21},   {25, 34},   {41, 42},   {44, 45},   {47, 47},     {54, 55},     {64, 64},
      {70, 72},   {86, 86},   {97, 98},   {100, 107}, {113, 117},   {122, 127},   {129, 129},
      {137, 137}, {144, 145}, {150, 158}, {161, 163}, {166, 170}, {172, 250},   {253, 254},   {256, 287},
      {289, 291}, {1035, 1041}, {1043, 1043}, {1045, 1049},
  };
  auto hasNoRoute = [&](int32_t m) {
    for (const Span& s : routeless)
      if (m >= s.first && m <= s.last) return true;
    return false;
  };
  const int32_t sheetSolid[] = {6, 9, 27, 33, 54};  // of sheets 75 to 79
  ViewHost h;
  int32_t rendered = 0, refused = 0, solids = 0;
  for (const Span range : {Span{1, 291}, Span{1035, 1049}}) {
    for (int32_t m = range.first; m <= range.last; ++m) {
      bool renders = !hasNoRoute(m) || m == 45;
      if (m >= 75 && m <= 79) renders = SolidLoads(sheetSolid[m - 75], h.host.globals);
      if (hasNoRoute(m) && IsPolyhedron(m) && m != 45 && m != 1045) renders = SolidLoads(m, h.host.globals);
      if (m == 1045) renders = SolidLoads(h.p().altOutputMode, h.host.globals);
      if (renders && (hasNoRoute(m) || (m >= 75 && m <= 79))) ++solids;
      h.p().outputMode = m;
      // The curved icosahedron (291 and its single-fragment twin) is a
      // shape without faces: refused as such, not as work still to do.
      const bool faceless = m == 291 || m == 1049;
      EXPECT_EQ(h.Build(), renders ? ViewBuild_OK : faceless ? ViewBuild_SolidHasNoFaces : ViewBuild_ModeNotBuiltYet)
          << "mode " << m;
      (renders ? rendered : refused) += 1;
    }
  }
  // The modes that need no solid render as before; the cube net, its sheet
  // and the other Platonic solids are among those that now do.
  EXPECT_EQ(rendered + refused, 306);
  EXPECT_EQ(rendered - solids, 102);
  for (int32_t m : {6, 7, 8, 9, 10, 75, 76}) {
    h.p().outputMode = m;
    EXPECT_EQ(h.Build(), ViewBuild_OK) << "mode " << m;
  }
}

// The alert tells a mode that is not built yet apart from a number that is
// no mode at all.
TEST(ViewBuild, NotBuiltYetHasItsOwnMessage) {
  const std::string notBuilt = ViewBuildStatusMessage(ViewBuild_ModeNotBuiltYet);
  const std::string unknown = ViewBuildStatusMessage(ViewBuild_UnknownMode);
  EXPECT_NE(notBuilt.find("not built yet"), std::string::npos) << notBuilt;
  EXPECT_NE(notBuilt, unknown);
  EXPECT_EQ(unknown.find("not built"), std::string::npos) << unknown;
}

TEST(ViewBuild, RefusesWithoutAnInputPyramid) {
  ViewHost h;
  DisposePyramidData(&h.host.globals->pyramids[kPyramidMain]);
  EXPECT_EQ(h.Build(), ViewBuild_NoInput);
}

// A rebuild starts from a clean record: the tilt of an earlier pass in mode
// 60 and a Tissot set-up do not leak into the next pass.
TEST(ViewBuild, NothingOfAnEarlierPassSurvives) {
  ViewHost h;
  h.view.tiltSlope = 3.0f;
  h.view.goreCount = 12.0f;
  h.view.viewColumns = 5;
  h.view.tissotSpotCount = 128;
  h.view.falseColors = 1;
  h.p().outputMode = OutputMode_Mollweide;
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.view.tiltSlope, 0.0f);
  EXPECT_EQ(h.view.goreCount, 0.0f);
  EXPECT_EQ(h.view.viewColumns, 0);
  EXPECT_EQ(h.view.tissotSpotCount, 0);
  EXPECT_EQ(h.view.falseColors, 0);
}

TEST(ViewBuild, TransparencyNeedsAnEditableTransparencyPlane) {
  for (const bool alpha : {false, true}) {
    for (const int32_t runMode : {RunMode_Final, RunMode_Preview}) {
      ViewHost h(kImageModeRGB, 8, alpha ? 4 : 3, alpha);
      h.p().transparentVoid = 1;
      h.p().runMode = runMode;
      ASSERT_EQ(h.Build(), ViewBuild_OK);
      EXPECT_EQ(h.view.transparentVoid, alpha ? 1 : 0);
      EXPECT_EQ(h.view.transparentBackground, alpha ? 1 : 0);
    }
  }
  ViewHost h;  // export layers keep the flags whatever the host's image
  h.p().transparentVoid = 1;
  h.p().runMode = RunMode_ExportLayer;
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.view.transparentVoid, 1);
  EXPECT_EQ(h.view.transparentBackground, 1);
}

TEST(ViewBuild, ViewPlaneWidthsStayFinite) {
  for (const float angle : {180.0f, 200.0f, 360.0f}) {
    ViewHost h;
    h.p().viewAngle = angle;
    ASSERT_EQ(h.Build(), ViewBuild_OK);
    EXPECT_FLOAT_EQ(h.view.viewPlaneWidth, 2.0f * std::tan(0.999f * 3.1415927f / 2.0f)) << angle;
    EXPECT_TRUE(std::isfinite(h.view.halfAngleViewPlaneWidth));
  }
  ViewHost h;
  h.p().viewAngle = 90.0f;
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_NEAR(h.view.viewPlaneWidth, 2.0f, 1e-5f);
}

TEST(ViewBuild, TissotSpotsOnlyWhenAsked) {
  ViewHost off;
  ASSERT_EQ(off.Build(), ViewBuild_OK);
  EXPECT_EQ(off.view.tissotSpotCount, 0);
  ViewHost on;
  on.p().tissotOn = 1;
  ASSERT_EQ(on.Build(), ViewBuild_OK);
  ASSERT_EQ(on.view.tissotSpotCount, 128);
  // Rows of the lattice between the poles, then the two poles last.
  EXPECT_NEAR(on.view.tissotSpots[126][1], 1.0f, 1e-6f);
  EXPECT_NEAR(on.view.tissotSpots[127][1], -1.0f, 1e-6f);
  for (int i = 0; i < 128; ++i) {
    const float* s = on.view.tissotSpots[i];
    EXPECT_NEAR(s[0] * s[0] + s[1] * s[1] + s[2] * s[2], 1.0f, 1e-5f);
  }
}

TEST(ColumnRecords, ResetToTheStartOfAMapping) {
  ColumnRecord records[3];
  std::memset(records, 0x5A, sizeof records);
  ResetColumnRecords(records, 3);
  for (const ColumnRecord& r : records) {
    EXPECT_EQ(r.edgeCoverage[1], 0.0f);
    for (const TransformationReply& t : r.reply) {
      EXPECT_EQ(t.regionCode, kRegionNothing);
      EXPECT_EQ(t.inputU, -1.0f);
      EXPECT_EQ(t.inputV, -1.0f);
      EXPECT_EQ(t.gridU, -1.0f);
      EXPECT_EQ(t.inputFace, -1);
      EXPECT_EQ(t.sheetCell, -1);
      EXPECT_EQ(t.glueMark, -1);
      EXPECT_EQ(t.normal[2], 1.0f);
    }
  }
  ResetColumnRecords(nullptr, 5);  // nothing to reset, no crash
}

}  // namespace
