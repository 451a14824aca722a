#include "pyramid/pyramid_input_modes.h"

int32_t WrapModeFromGyrelleInputMode(int32_t inputMode) {
  switch (inputMode) {
    case 1:
    case 5:
    case 12:
    case 20:
    case 24:
    case 25: return 2;
    case 11: return 1;
    default: return 0;
  }
}

int32_t OverhangModeFromGyrelleInputMode(int32_t inputMode) {
  switch (inputMode) {
    case 1:
    case 24: return 7;
    case 5:
    case 12:
    case 20:
    case 25: return 4;
    default: return 3;
  }
}
