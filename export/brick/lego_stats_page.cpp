#include "export/brick/lego_stats_page.h"

#include <cstdio>

#include "export/brick/lego_build.h"
#include "export/safe_output.h"
#include "frame/base/file_layer.h"
#include "frame/globals.h"  // the export writers take the whole invocation: they read its settings, sizes and host procs

namespace {

// Names padded so that the counts stand in columns in the page's <pre>.
constexpr const char* kRowNames[kBrickColourCount] = {"black     ", "blue      ", "green     ", "red       ",
                                                      "white     ", "yellow    ", "light grey", "dark grey ",
                                                      "brown     ", "sand red  ", "tan       ", "green-gray"};
constexpr const char* kBreak = "<br>\r";

}  // namespace

std::string LegoStatsText(int32_t layers, const int32_t counts[13], const int32_t visible[13]) {
  std::string out = "<html><head><title>Sphere statistics</title></head><body><pre>";
  char line[128];
  std::snprintf(line, sizeof line, "Cell count for %d-layer sphere:", layers);
  out += line;
  out += kBreak;
  out += "(A 2x4 brick counts as 8 cells)";
  for (int i = 0; i < 3; ++i) out += kBreak;
  out += "color      total   visible";
  out += kBreak;
  out += kBreak;
  for (int32_t c = 1; c <= kBrickColourCount; ++c) {
    std::snprintf(line, sizeof line, "%s %5d     %5d", kRowNames[c - 1], counts[c], visible[c]);
    out += line;
    out += kBreak;
  }
  out += "</pre></body></html>";
  out += kBreak;
  return out;
}

int32_t WriteLegoStatsFile(Globals* globals, const FSRef* file) {
  const TParameters* p = Params(globals);
  if (!p || !file || !globals->storage) return kBadParameter;
  const std::string text =
      LegoStatsText(p->brickLayers, globals->storage->brickKindCounts, globals->storage->brickKindFlaggedCounts);
  return CommitExportFile(file, text, FileKind_HTML);
}

int32_t WriteLegoStatsFileOfOwnBall(Globals* globals, const FSRef* file) {
  const TParameters* p = Params(globals);
  if (!p || !file || !globals->storage) return kBadParameter;
  LegoStructure ball;
  if (!CreateAndBuildLegoBallFromSettings(&ball, globals)) return 1;
  GenerateBrickStatistics(&ball, globals);
  DestroyLegoBall(&ball, globals);
  return WriteLegoStatsFile(globals, file);
}
