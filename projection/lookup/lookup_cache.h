// projection/lookup/: the lookup tables of the projections without a closed form, unpacked and read.
// The projection lookup tables, resident once unpacked.
//
// Each table is named by a cache id and unpacked into its own grid the first
// time any thread asks for it; the unpacking runs exactly once (the first
// caller does it while any others wait), and the grid is never written
// again, so worker tasks may fetch concurrently from the first row on. The
// renderer's prefill (render/scanline_setup) makes one lookup on the main
// thread, before a row's tasks start, in the table of each output mode that
// reads the Winkel, sphere-cube, Peirce or equal-area square table; that
// only moves the one-time cost out of the workers' first row: the grid is
// the same whichever thread unpacks it, so no output byte depends on it.
#pragma once

#include <cstdint>

#include "projection/lookup/lookup_grid.h"

// The id of each table. 11 names no table; the frame's 101 and 102 mark
// cube faces and are never tables either.
enum LookupCacheId : int32_t {
  LookupCache_Peirce = 1,
  LookupCache_SphereCube = 2,
  LookupCache_Decant = 3,
  LookupCache_Sextant = 4,
  LookupCache_Dodecant = 5,
  LookupCache_TetfaceSextant = 6,
  LookupCache_ReuleauxSextantToOctoface = 7,
  LookupCache_ReuleauxSextantToCircle = 8,
  LookupCache_NuOctant = 9,
  LookupCache_Winkel = 10,
  LookupCache_Equalsquarea = 12,
  LookupCache_CompleteIcoface = 13,
  LookupCache_Octaface = 14,
  LookupCache_ConformalDodecDecant = 15,
};

constexpr int32_t kLookupCacheIdLimit = 16;  // ids are below this

struct LookupTableInfo {
  int32_t cacheId;
  const char* name;
  int32_t n;
  int32_t shape;
  int32_t form;
  const float* table;
  int32_t tableFloats;
};

// The description of the table with this id, or null for an id that names
// none.
const LookupTableInfo* LookupTableInfoOf(int32_t cacheId);

// The table's grid, unpacked on first use; null for an id that names none.
const LookupGrid* ResidentLookupGrid(int32_t cacheId);

// The same for a caller that brings its own description of the table (the
// general fetch): null unless the description is the one the id names, so
// that an id can never be read as a different table.
const LookupGrid* ResidentLookupGridFor(int32_t cacheId, int32_t n, int32_t shape, const float* table,
                                        int32_t tableFloats, int32_t form);

// True once the id's table has been unpacked (for reporting and tests).
bool LookupTableIsResident(int32_t cacheId);
