#include "export/mode_names.h"

#include <algorithm>

#include "export/mode_names_tables.h"
#include "polyhedron/polyhedron_predicates.h"

namespace {

constexpr bool RowsAscend() {
  for (int i = 1; i < kOutputModeNameRows; ++i) {
    if (kOutputModeNames[i - 1].mode >= kOutputModeNames[i].mode) return false;
  }
  return true;
}
static_assert(RowsAscend(), "the lookup searches the name rows by mode");
static_assert(kGlueModeKeywordCount == 62);

const OutputModeNameRow* FindRow(int32_t mode) {
  const OutputModeNameRow* end = kOutputModeNames + kOutputModeNameRows;
  const OutputModeNameRow* row =
      std::lower_bound(kOutputModeNames, end, mode, [](const OutputModeNameRow& r, int32_t m) { return r.mode < m; });
  return (row != end && row->mode == mode) ? row : nullptr;
}

}  // namespace

const char* GyrelleOutputModeName(int32_t mode) {
  const OutputModeNameRow* row = FindRow(mode);
  return row ? row->name : "";
}

const char* GyrelleOutputModeNameSynonym(int32_t mode) {
  const OutputModeNameRow* row = FindRow(mode);
  if (row && row->synonym[0] != '\0') return row->synonym;
  return OutputModeIsARollout(mode) ? "sphericon" : "";
}

const char* GlueModeKeyword(int32_t glueMode) {
  if (glueMode < 1 || glueMode > kGlueModeKeywordCount) return "";
  return kGlueModeKeywords[glueMode - 1];
}

int32_t OutputModeNameCount() { return kOutputModeNameRows; }

int32_t OutputModeNumberAt(int32_t index) {
  if (index < 0 || index >= kOutputModeNameRows) return 0;
  return kOutputModeNames[index].mode;
}
