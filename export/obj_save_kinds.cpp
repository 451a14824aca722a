#include "export/obj_save_kinds.h"

#include "export/ldraw_writer.h"
#include "export/lego_stats_page.h"
#include "export/obj_writer.h"
#include "frame/save_dispatch.h"

bool IsModelOrPageKind(int32_t kind) {
  return kind == SaveKind_Model || kind == SaveKind_LDraw || kind == SaveKind_BrickStats;
}

int32_t SaveModelOrPage(Globals* globals, const FSRef* file, int32_t kind) {
  switch (kind) {
    case SaveKind_Model: return WriteOBJFileAndItsHandmaidens(globals, file);
    case SaveKind_LDraw: return WriteLDRAWFile(globals, file);
    // No plan export ran before it here, so the page counts a ball of its own.
    case SaveKind_BrickStats: return WriteLegoStatsFileOfOwnBall(globals, file);
    default: return kWriterNotBuilt;
  }
}
