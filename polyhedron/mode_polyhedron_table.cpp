#include "polyhedron/mode_polyhedron_table.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "projection/nets/florets_basis.h"

namespace {

struct ModeRow {
  int32_t mode;
  int32_t shape;
  int32_t method;
  float angle;
  int32_t rule;
};

// One row per polyhedral output mode, ascending by mode. Rule 0 rows are the
// regular and semi-regular solids, whose net the caller picks; rule 1 rows
// are fixed nets, sheets, tilings, the procedural solids (method 2) whose
// builders make their own nets, and solids unfolded by the set-up (method
// 6); rule 2 rows, the thirty-sphere and the geodesic spheres, let the caller
// pick method and cram mode but keep their own turn unless the caller plans
// an export layout (method 3). Florets whose petals are a net take their
// solid from the floret table instead and have no row, except 1043.
// clang-format off
constexpr ModeRow kModeRows[] = {
  // mode, shape, net method, angle, override rule
  {   6,  16, 0,           0.0f, 0},  // "tetrahedron"
  {   7,  18, 0,           0.0f, 0},  // "cube"
  {   8,  19, 0,           0.0f, 0},  // "octahedron"
  {   9,   9, 0,           0.0f, 0},  // "dodecahedron"
  {  10,  23, 0,           0.0f, 0},  // "icosahedron"
  {  21,  28, 0,           0.0f, 1},
  {  25,   7, 0,           0.0f, 0},  // "14 faces"
  {  26,   0, 0,           0.0f, 0},  // "24 faces a"
  {  27,  12, 0,           0.0f, 0},  // "24 faces b"
  {  28,   1, 0,           0.0f, 0},  // "26 faces"
  {  29,   8, 0,           0.0f, 0},  // "30 faces"
  {  30,   2, 0,           0.0f, 0},  // "soccer ball"
  {  31,   3, 0,           0.0f, 0},  // "32 faces"
  {  32,   4, 0,           0.0f, 0},  // "38 faces"
  {  33,   5, 0,           0.0f, 0},  // "60 faces"
  {  34,   6, 0,           0.0f, 0},  // "62 faces"
  {  41,  10, 0,           0.0f, 1},
  {  42,  11, 0,           0.0f, 1},
  {  44,  13, 0,           0.0f, 0},  // "spikeball"
  {  47,  17, 0,           0.0f, 0},  // "icomap"
  {  54,  20, 0,           0.0f, 0},  // "dodo"
  {  55,  21, 0,           0.0f, 0},  // "GID"
  {  64,  24, 5,           0.0f, 1},
  {  70,  25, 2,     3.0927236f, 1},
  {  71,  26, 2,     4.1940265f, 1},
  {  72,  27, 2,     5.0789084f, 1},
  {  86,  29, 0,           0.0f, 1},
  {  97,  30, 0,           0.0f, 1},
  {  98,  31, 0,           0.0f, 1},
  { 100,  32, 0,           0.0f, 1},
  { 101,  33, 0,           0.0f, 1},
  { 102,  34, 0,           0.0f, 1},
  { 103,  35, 0,           0.0f, 1},
  { 104,  36, 0,           0.0f, 1},
  { 105,  37, 0,           0.0f, 1},
  { 106,  38, 0,           0.0f, 1},
  { 107,  39, 0,           0.0f, 1},
  { 113,  40, 0,           0.0f, 1},
  { 114,  41, 0,           0.0f, 1},
  { 115,  42, 0,           0.0f, 1},
  { 116,  43, 0,           0.0f, 1},
  { 117,  57, 0,           0.0f, 1},
  { 122,  52, 0,           0.0f, 1},
  { 123,  53, 0,           0.0f, 1},
  { 124,  54, 0,           0.0f, 1},
  { 125,  55, 0,           0.0f, 1},
  { 126,  56, 0,           0.0f, 1},
  { 127,  46, 0,           0.0f, 1},
  { 129,  47, 0,           0.0f, 1},
  { 137,  58, 0,           0.0f, 1},
  { 144,  59, 0,           0.0f, 1},
  { 150,  60, 0,           0.0f, 1},
  { 167,  69, 0,           0.0f, 1},
  { 168,  70, 0,           0.0f, 0},  // "conformal dodecahedron"
  { 169,  71, 2,    0.34906587f, 1},
  { 170,  72, 2,    0.13962634f, 1},
  { 172,  18, 6,           0.0f, 1},
  { 173,  73, 6,           0.0f, 1},
  { 174,  74, 0,    0.39269909f, 2},
  { 175,  76, 2,  -0.039269909f, 1},
  { 176,  77, 2,     5.4035397f, 1},
  { 177,  80, 0,    0.95818579f, 2},
  { 178,  81, 0,     1.3508849f, 2},
  { 179,  82, 0,     1.1938052f, 2},
  { 180,  83, 0,     1.7907078f, 2},
  { 181,  84, 0,     2.6703539f, 2},
  { 182,  85, 0,     0.2984513f, 2},
  { 183,  86, 0,     1.3508849f, 2},
  { 184,  87, 0,     2.4033184f, 2},
  { 185,  88, 0,     2.3876104f, 2},
  { 186,  89, 0,     1.8221238f, 2},
  { 187,  90, 0,     1.7435839f, 2},
  { 188,  91, 0,     1.7121681f, 2},
  { 189,  92, 0,     1.6807522f, 2},
  { 190,  93, 0,     2.1205752f, 2},
  { 191,  94, 0,     2.3876104f, 2},
  { 192,  95, 0,     2.3719025f, 2},
  { 193,  96, 0,     2.2933626f, 2},
  { 194,  97, 0,           0.0f, 2},
  { 195,  98, 0,     1.5550884f, 2},
  { 196,  99, 0,     1.8692477f, 2},
  { 197, 100, 0,     1.7435839f, 2},
  { 198, 101, 0,     2.0106194f, 2},
  { 199, 102, 2,     2.5132742f, 1},
  { 200, 103, 2,      4.712389f, 1},
  { 201, 104, 2,     5.3407078f, 1},
  { 202, 106, 2,           0.0f, 1},
  { 203, 136, 2,     1.5184386f, 1},
  { 204, 105, 2,     1.5707964f, 1},
  { 205, 107, 2,     1.0471997f, 1},
  { 206, 108, 2,    0.47123891f, 1},
  { 207, 109, 2,    0.99483562f, 1},
  { 208, 110, 2,      1.738348f, 1},
  { 209, 111, 2,           0.0f, 1},
  { 210, 113, 2,     4.0175819f, 1},
  { 211, 137, 2,     1.3613527f, 1},
  { 212, 112, 2,      4.712389f, 1},
  { 213, 114, 2,     1.1519152f, 1},
  { 214, 138, 2,     1.5707964f, 1},
  { 215, 115, 2,    0.45238936f, 1},
  { 216, 116, 2,     1.1519173f, 1},
  { 217, 117, 2,     1.4660766f, 1},
  { 218, 118, 2,     1.7802359f, 1},
  { 219, 119, 2,     3.8746309f, 1},
  { 220, 122, 2,           0.0f, 1},
  { 221, 139, 2,     4.5029492f, 1},
  { 222, 120, 2,     1.5707964f, 1},
  { 223, 123, 2,     1.0995574f, 1},
  { 224, 140, 2,     4.5029497f, 1},
  { 225, 121, 2,     1.5707964f, 1},
  { 226, 124, 2,  0.0058622123f, 1},
  { 227, 125, 2,    0.55292034f, 1},
  { 228, 126, 2,     1.1519173f, 1},
  { 229, 127, 2,     1.5306538f, 1},
  { 230, 128, 2,     1.5707964f, 1},
  { 231, 129, 2,     4.9218283f, 1},
  { 232, 130, 2,           0.0f, 1},
  { 233, 133, 2,    0.62831855f, 1},
  { 234, 141, 2,     4.5029078f, 1},
  { 235, 131, 2,     1.5707964f, 1},
  { 236, 134, 2,     1.1519152f, 1},
  { 237, 142, 2,     1.7278761f, 1},
  { 238, 132, 2,     1.5707964f, 1},
  { 239, 135, 2,     1.3613527f, 1},
  { 240, 143, 2,    0.78539819f, 1},
  { 241, 144, 2,     0.5759545f, 1},
  { 242, 145, 2,      1.106846f, 1},
  { 243, 146, 2,     1.5184361f, 1},
  { 244, 147, 2,     1.8849556f, 1},
  { 245, 148, 2,     1.7278761f, 1},
  { 246, 149, 2,     1.7802356f, 1},
  { 248, 151, 6,           0.0f, 1},
  { 249, 153, 6,           0.0f, 1},
  { 250, 154, 6,           0.0f, 1},
  { 253, 152, 6,    -2.3998277f, 1},
  { 254, 155, 6,    -2.6878071f, 1},
  { 256, 161, 2,           0.0f, 1},
  { 257, 165, 2,           0.0f, 1},
  { 258, 163, 2,           0.0f, 1},
  { 259, 173, 2,           0.0f, 1},
  { 260, 174, 2,           0.0f, 1},
  { 261, 177, 2,           0.0f, 1},
  { 262, 178, 2,           0.0f, 1},
  { 263, 156, 6,     -0.148353f, 1},
  { 264, 157, 6,   -0.52359879f, 1},
  { 265, 158, 6,   -0.35255653f, 1},
  { 266, 159, 6,    0.62831855f, 1},
  { 267, 160, 6,    -1.9442968f, 1},
  { 268, 201, 6,           0.0f, 1},
  { 269, 202, 6,           0.0f, 1},
  { 270, 203, 6,           0.0f, 1},
  { 271, 204, 6,           0.0f, 1},
  { 272, 205, 6,           0.0f, 1},
  { 273, 206, 6,           0.0f, 1},
  { 274, 207, 6,           0.0f, 1},
  { 275, 208, 6,           0.0f, 1},
  { 276, 209, 6,           0.0f, 1},
  { 277, 210, 6,           0.0f, 1},
  { 278, 211, 6,           0.0f, 1},
  { 279, 212, 6,           0.0f, 1},
  { 280, 213, 6,           0.0f, 1},
  { 281, 214, 6,           0.0f, 1},
  { 282, 215, 6,           0.0f, 1},
  { 283, 216, 6,           0.0f, 1},
  { 284, 217, 6,           0.0f, 1},
  { 285, 218, 6,           0.0f, 1},
  { 286, 219, 6,           0.0f, 1},
  { 287, 220, 6,           0.0f, 1},
  { 289, 167, 2,           0.0f, 1},
  { 290, 169, 2,           0.0f, 1},
  { 291, 171, 2,           0.0f, 1},
  {1035, 162, 2,           0.0f, 1},
  {1036, 164, 2,           0.0f, 1},
  {1037, 166, 2,           0.0f, 1},
  {1038, 175, 2,           0.0f, 1},
  {1039, 176, 2,           0.0f, 1},
  {1040, 179, 2,           0.0f, 1},
  {1041, 180, 2,           0.0f, 1},
  {1043,  49, 2,     3.0927236f, 1},
  {1046,  22, 0,           0.0f, 0},
  {1047, 168, 2,           0.0f, 1},
  {1048, 170, 2,           0.0f, 1},
  {1049, 172, 2,           0.0f, 1},
};
// clang-format on

constexpr bool RowsAscend() {
  for (std::size_t i = 1; i < std::size(kModeRows); ++i)
    if (kModeRows[i - 1].mode >= kModeRows[i].mode) return false;
  return true;
}
static_assert(RowsAscend(), "one row per mode, ascending");

constexpr bool RowsInRange() {
  for (const ModeRow& r : kModeRows)
    if (r.shape < 0 || r.shape > 220 || r.method < 0 || r.method > 6 || r.rule < 0 || r.rule > 2) return false;
  return true;
}
static_assert(RowsInRange(), "shape codes 0..220, net methods 0..6, override rules 0..2");

const ModeRow* FindRow(int32_t mode) {
  const ModeRow* end = std::end(kModeRows);
  const ModeRow* r =
      std::lower_bound(std::begin(kModeRows), end, mode, [](const ModeRow& row, int32_t m) { return row.mode < m; });
  return r != end && r->mode == mode ? r : nullptr;
}

// Flat sheets, tilings and origami layouts: a net without a closed solid
// worth writing as a model.
struct ModeRange {
  int32_t first, last;
};
constexpr ModeRange kNotExportable[] = {{21, 21},   {41, 42},   {64, 64},   {86, 86},   {97, 98},
                                        {100, 107}, {113, 117}, {122, 129}, {137, 137}, {144, 144},
                                        {150, 150}, {167, 167}};

}  // namespace

void get_polyhedron_params_from_output_mode(int32_t outputMode, PolyhedronParams* params) {
  *params = PolyhedronParams{-1, 0, 0, 0.0f, PolyOverride_CallerChooses};
  if (IsFloretWithPolyhedronBasis(outputMode)) {
    FloretBasis basis;
    GetBasisOfWarpyPolyprojection(outputMode, &basis);
    *params = PolyhedronParams{basis.polyhedronId, basis.polyhedronParam, 0, 0.0f, PolyOverride_RowStands};
  }
  // A row wins over the floret basis (mode 1043 has both).
  if (const ModeRow* r = FindRow(outputMode))
    *params = PolyhedronParams{r->shape, r->method, 0, r->angle, r->rule};
}

bool IsPolyhedron(int32_t outputMode) {
  PolyhedronParams params;
  get_polyhedron_params_from_output_mode(outputMode, &params);
  return params.shapeCode != -1;
}

bool IsExportablePolyhedron(int32_t outputMode) {
  for (const ModeRange& r : kNotExportable)
    if (outputMode >= r.first && outputMode <= r.last) return false;
  if (IsFloretWithPolyhedronBasis(outputMode)) return false;
  return IsPolyhedron(outputMode);
}

const char* PolyhedronExportRefusal(int32_t outputMode) {
  if (IsExportablePolyhedron(outputMode)) return nullptr;
  if (!IsPolyhedron(outputMode)) return "the output mode draws no polyhedron, so there is none to export";
  if (IsFloretWithPolyhedronBasis(outputMode) || outputMode == 1043)
    return "the output mode is a floret: its petals are drawn from a solid's net, not a solid to export";
  return "the output mode is a flat sheet or tiling, not a solid to export";
}

bool ShouldSuppressTriangle(const polyhedron* poly, int32_t triangle, int32_t facegroupFilter) {
  if (facegroupFilter == -1) return false;
  if (!poly || triangle < 0 || triangle >= kPolyMaxTriangles) return true;
  return poly->triangles[triangle].facegroup != facegroupFilter;
}
