#include "support/row_render_harness.h"

#include <gtest/gtest.h>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/settings/tparameters.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_input_modes.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"
#include "render/render_services.h"

RowRenderHarness::RowRenderHarness(int w, int h, int tasks)
    : width(w), height(h), host(w, h, kImageModeRGB, 8, 3, false) {
  SetDefaultSettings(host.Settings());
  host.Settings()->previewScale = 1;
  initGaussianPyrTable(host.storage->filterTable);  // the preroll's work
  // Spare records beyond width + 1, as the frame's block may hold.
  columns.resize(size_t(width) + 4);
  ResetColumnRecords(columns.data(), int32_t(columns.size()));
  Globals* g = host.globals;
  g->columnRecords = columns.data();
  g->columnRecordCount = int32_t(columns.size());
  g->columnRecordsSize = int64_t(sizeof(ColumnRecord)) * g->columnRecordCount;
  g->firstRow = 0;
  g->lastRow = height - 1;
  g->lastColumn = width - 1;
  host.StartTasks(tasks);
  FilterRecord& r = host.record;
  r.inLoPlane = r.outLoPlane = 0;
  r.inHiPlane = r.outHiPlane = 2;
  r.inRowBytes = r.outRowBytes = width * 3;
}

bool RowRenderHarness::PaintInput(const std::function<void(int, int, float[4])>& colourAt) {
  PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
  if (!TryToAllocatePyramid_2006(p, width, height, PyramidDataKind_Packed8, WrapModeFromGyrelleInputMode(1)))
    return false;
  p->overhangMode = OverhangModeFromGyrelleInputMode(1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float c[4] = {0.0f, 0.0f, 0.0f, 1.0f};
      colourAt(x, y, c);
      set_unitary_color(x, y, p, 0, c);
    }
  }
  paint_mipmap_of_pyramid(p);
  return true;
}

std::vector<uint8_t> RowRenderHarness::RenderFinal() {
  std::vector<uint8_t> picture(size_t(width) * height * 3), in(size_t(width) * 3, 0);
  FilterRecord& r = host.record;
  r.outRect = Rect{0, 0, 1, int16_t(width)};
  r.inData = in.data();
  Globals* g = host.globals;
  for (int y = 0; y < height; ++y) {
    r.outData = &picture[size_t(y) * width * 3];
    g->drawingRow = y;
    DoSolarRect(g);
    EXPECT_EQ(g->result, 0) << "row " << y;
  }
  return picture;
}
