// The row renderer of the driver's test builds: each rendered row becomes
// full scale minus its input (255 - v, 32768 - v, 1 - v; alpha kept),
// blended with the input by the host's selection mask, so that a test sees
// exactly which rows the driver rendered, in which run mode, and where they
// went. Every row it is handed is logged.
#pragma once

#include <cstdint>
#include <vector>

struct RenderedRow {
  int32_t row;
  int32_t runMode;
};

void ClearRenderedRows();
const std::vector<RenderedRow>& RenderedRows();
