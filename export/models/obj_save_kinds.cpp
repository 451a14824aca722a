#include "export/models/obj_save_kinds.h"

#include "export/html/html_galleries.h"
#include "export/brick/ldraw_writer.h"
#include "export/brick/lego_stats_page.h"
#include "export/models/obj_writer.h"
#include "frame/base/file_layer.h"
#include "export/export_services.h"
#include "platform/files.h"

bool IsModelOrPageKind(int32_t kind) {
  return kind == SaveKind_Model || kind == SaveKind_EquiPolyMap || kind == SaveKind_LDraw || kind == SaveKind_BrickStats ||
         kind == SaveKind_PresetsPage || kind == SaveKind_OutputModesGallery || kind == SaveKind_MemoryDotsGallery;
}

int32_t SaveModelOrPage(Globals* globals, const FSRef* file, int32_t kind) {
  switch (kind) {
    case SaveKind_Model: return WriteOBJFileAndItsHandmaidens(globals, file);
    case SaveKind_EquiPolyMap: return WriteEquiPolyMapFile(globals, file);
    case SaveKind_LDraw: return WriteLDRAWFile(globals, file);
    // No plan export ran before it here, so the page counts a ball of its own.
    case SaveKind_BrickStats: return WriteLegoStatsFileOfOwnBall(globals, file);
    case SaveKind_PresetsPage: {
      // The folder the dialog's chooser picked; without one, the presets of
      // the page's own folder.
      FSRef folder{};
      int32_t e = TakePresetsFolderForPage(globals, &folder) ? 0 : GetParentDirectory(file, &folder);
      if (e == 0) e = IterateAndWriteGeneric_presets_web_page(globals, file, &folder);
      if (e == 0) LaunchFileInBrowser(file);
      return e;
    }
    case SaveKind_OutputModesGallery:
    case SaveKind_MemoryDotsGallery: {
      const int32_t e = IterateAndWrite_output_or_memdot_gallery_web_page(globals, file, kind);
      if (e == 0) LaunchFileInBrowser(file);
      return e;
    }
    default: return kWriterNotBuilt;
  }
}
