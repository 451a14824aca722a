// A final render in process: an 8-bit RGB host picture, a main input
// pyramid the test paints, the column records and worker tasks the frame
// would allocate, and the row loop that calls DoSolarRect as the frame's
// final pass does, one row of buffers at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "render/rows/column_record.h"
#include "support/fake_host.h"

struct TParameters;

class RowRenderHarness {
 public:
  // Settings start from the defaults, unzoomed. `tasks` worker tasks (and
  // as many processors) are started.
  RowRenderHarness(int width, int height, int tasks);

  TParameters* Settings() const { return host.Settings(); }
  Globals* globals() const { return host.globals; }

  // Allocates the main input pyramid at the picture's size as an
  // equirectangular input, fills level 0 from `colourAt` (a unit colour)
  // and builds the other levels.
  bool PaintInput(const std::function<void(int x, int y, float rgba[4])>& colourAt);

  // Renders every row; each row must end with result 0. Rows of width * 3
  // bytes, top row first.
  std::vector<uint8_t> RenderFinal();

  const int width, height;
  FakeHost host;
  std::vector<ColumnRecord> columns;
};
