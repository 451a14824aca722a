#include "polybuild/vivo_entries.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
static void NotBuilt(VivoEntryOptions* o) { if (o && o->poly) o->poly->errorCode = kPolyErrorShapeNotAvailable; }
void Build_VivoTet_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_VivoCube_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_VivoDodecahedron_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_VivoIcosahedron_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_Tribox_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_VivoOct_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_squarebox_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
void Build_squirclebox_GyrelleEntry(VivoEntryOptions* o) { NotBuilt(o); }
// Solids without scissor marks have nothing to pair.
void AdjustScissorInfo(polyhedron*) {}
