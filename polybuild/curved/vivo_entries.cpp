#include "polybuild/curved/vivo_entries.h"

#include "polybuild/curved/vivo_solids.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_record.h"

namespace {

using Builder = void (*)(VivoContext*);

void RunEntry(VivoContext* ctx, Builder builder) {
  if (!ctx || !ctx->poly) return;
  getPolyStorageEtc(ctx->poly, ctx->procs, kPolyMax3DVerts, kPolyMaxFaces);
  if (ctx->poly->errorCode == kPolyErrorNoStorage) return;
  if (builder) builder(ctx);
  FinishVivoEntry(ctx);
}

}  // namespace

void FinishVivoEntry(VivoContext* ctx) {
  if (!ctx || !ctx->poly) return;
  polyhedron* poly = ctx->poly;
  if (ctx->hingeFailed) {
    // A wing that does not close would tear the printed piece; nothing of
    // the solid is drawn.
    poly->n3DFaces = 0;
    poly->n3DVerts = 0;
    poly->scissorMarkCount = 0;
    poly->errorCode = kVivoErrorHingeSearch;
    return;
  }
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
}

void Build_VivoTet_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_VivoTet); }
void Build_VivoCube_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_VivoCube); }
void Build_VivoDodecahedron_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_VivoDodecahedron); }
void Build_VivoIcosahedron_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, nullptr); }
void Build_Tribox_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_Tribox); }
void Build_VivoOct_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_VivoOct); }
void Build_squarebox_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_squarebox); }
void Build_squirclebox_GyrelleEntry(VivoEntryOptions* o) { RunEntry(o, Build_squirclebox); }

void AdjustScissorInfo(polyhedron* poly) {
  if (!poly) return;
  for (auto& pair : poly->scissorPair) pair[0] = pair[1] = -1;
  for (int32_t k = 0; k < kPolyElementTags; ++k) {
    const int32_t m = poly->scissorMarkOfTag[k];
    const int16_t g = poly->tagFacegroup[k];
    if (m == -1 || g < 0 || g >= kPolyElementTags) continue;
    int32_t* pair = poly->scissorPair[g];
    if (pair[0] == -1) {
      pair[0] = m;
    } else if (pair[1] == -1) {
      pair[1] = m;
    }
  }
}
