// The fourteen projection lookup tables: what each entry holds and in which
// layout the runtime unpacks it (projection/lookup/lookup_grid.h).
#pragma once

namespace lut {

struct TableDefinition {
  const char* name;     // the array's name
  const char* file;     // written to projection/tables/<file>.cpp
  int n;                // grid size N
  int shape;            // cells stored (see lookup_grid.h)
  int form;             // 2 and 5: pairs; 3: triples; 4: pairs mirrored about the diagonal
  const char* comment;  // what an entry is, for the generated file
  // The entry of column x, row y; false if it could not be computed.
  bool (*cell)(int x, int y, double out[3]);
};

const TableDefinition* AllTables(int* count);

}  // namespace lut
