#include "render/framing_modes.h"

#include <cmath>

#include "render/output_modes.h"
#include "render/vort.h"

namespace {

constexpr int32_t kSheetOfDodecahedron = 78;
constexpr int32_t kDodecahedronColumns = 10;
constexpr int32_t kDodecahedronRows = 6;
constexpr int32_t kThornSheetA = 83;
constexpr int32_t kThornSheetB = 87;
constexpr int32_t kThornGrid = 4;
constexpr float kMinimumGores = 3.0f;
constexpr float kDegreesPerGore = 5.0f;

// The folding sphere's layout: the span -0.5..0.5 plus one glue tab on the
// left, as tall as its gores.
PlaneBox FoldingSphereBox(float goreCount) {
  const double height = 0.5 / 3.0 + 0.037;
  const double tab = 1.0 / (3.0 * double(goreCount));
  return {-(tab + 0.5), -height / 2.0, 0.5, height / 2.0};
}

void SheetGrid(int32_t views, int32_t mode, int32_t* columns, int32_t* rows) {
  if (views < 1) {
    *columns = *rows = 0;
    return;
  }
  *rows = int32_t(std::floor(std::sqrt(double(float(views)))));
  *columns = views / *rows + (((views / *rows) * *rows < views) ? 1 : 0);
  if (mode == kSheetOfDodecahedron) {
    *columns = kDodecahedronColumns;
    *rows = kDodecahedronRows;
  }
}

}  // namespace

float GoreCountOfMode(int32_t outputMode, float viewAngle) {
  switch (outputMode) {
    case 36: case 53: case 61: case 73: case 74: return 12.0f;
    case 1044: return 18.0f;
    case 37: return 24.0f;
    case 63: return 8.0f;
    case 38:
    case OutputMode_FoldingSphere: {
      const float n = std::floor(viewAngle / kDegreesPerGore);
      return n < kMinimumGores ? kMinimumGores : n;
    }
    default: return 0.0f;
  }
}

void PrepBoundingBoxForNonPolyhedron(int32_t sheetViewCount, vort* view, int32_t anamorphic, float viewAngle) {
  const int32_t mode = view->outputMode;
  const OutputModeRow* row = FindOutputMode(mode);
  PlaneBox box = row ? row->box : kDefaultPlaneBox;
  const uint32_t flags = row ? row->flags : 0u;

  if (flags & OutputModeFlag_MultiView) {
    SheetGrid(sheetViewCount, mode, &view->viewColumns, &view->viewRows);
    if (view->viewColumns > 0) {
      box = {-view->viewColumns / 2.0, -view->viewRows / 2.0, view->viewColumns / 2.0, view->viewRows / 2.0};
    }
  }
  if (mode == kThornSheetA || mode == kThornSheetB) view->viewColumns = view->viewRows = kThornGrid;
  if (flags & OutputModeFlag_Gores) {
    if (anamorphic) view->renderKind = 2;
    view->viewAngleFactor = std::exp2(viewAngle / 90.0f - 1.0f);
    view->goreCount = GoreCountOfMode(mode, viewAngle);
    view->goreShiftY = 0.0f;
    if (mode == OutputMode_FoldingSphere) box = FoldingSphereBox(view->goreCount);
  }
  SetUpSnugglebox(&view->snuggle, double(view->outputAspect), box.xMin, box.yMin, box.xMax, box.yMax);
}
