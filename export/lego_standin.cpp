#include "export/lego_structure.h"

void DestroyLegoBall(LegoStructure* ball, Globals*) {
  if (!ball) return;
  ball->cells = nullptr;
  ball->cellCount = 0;
}
