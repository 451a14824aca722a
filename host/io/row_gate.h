// A writer that codes a picture still being made waits at each row for the
// rows before it to be final.
#pragma once

#include <cstdint>

namespace gyhost {

struct RowGate {
  // True once row y may be read; false when the writing is to stop.
  bool (*ready)(void* context, int32_t y) = nullptr;
  void* context = nullptr;
};

inline bool PassRow(const RowGate& gate, int32_t y) { return !gate.ready || gate.ready(gate.context, y); }

}  // namespace gyhost
