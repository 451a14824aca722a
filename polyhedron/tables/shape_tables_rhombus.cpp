// Written by tools/make_shape_tables; do not edit.
#include "polyhedron/tables/shape_tables_rhombus.h"

constexpr double rhombus_Coords2D[5][2] = {
  {0, 0},
  {0, -1},
  {1.7320508075688767, -1},
  {-1.7320508075688767, -1},
  {0, -2},
};
constexpr int16_t rhombus_Faces2D[16] = {
  1, 2, 3, 0,
  1, 2, 4, 0,
  5, 2, 4, 0,
  5, 2, 3, 0,
};
constexpr double rhombus_Coords3D[4][3] = {
  {0, -1, 0},
  {8.3845316112244838e-07, 2.2204460492495326e-16, 0.9999999999996485},
  {-8.617685693931411e-07, -4.0383522303940005e-08, -0.99999999999962785},
  {0, 1, 0},
};
constexpr int16_t rhombus_2D_to_3D[5] = {
  0, 1, 2, 2, 3,
};
