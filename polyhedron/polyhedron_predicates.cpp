#include "polyhedron/polyhedron_predicates.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/mode_polyhedron_table.h"

namespace {

bool Within(int32_t code, int32_t first, int32_t last) { return code >= first && code <= last; }

template <size_t N>
bool OneOf(int32_t code, const int32_t (&codes)[N]) {
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

constexpr int32_t kCurvedOrigamiStandard[] = {161, 163, 165, 167, 169, 171, 173, 174, 177, 178};
constexpr int32_t kCurvedOrigamiMonofrag[] = {162, 164, 166, 168, 170, 172, 175, 176, 179, 180};

// Generated shapes by range. Code 78 has no generator but still counts as
// generated: nothing may look for static tables for it.
struct CodeRange {
  int32_t first, last;
};
constexpr CodeRange kBuiltOnTheFly[] = {{25, 27}, {48, 50}, {71, 72}, {74, 78}, {80, 220}};

constexpr int32_t kFirstTruchetVoronoi = 181;
constexpr int32_t kFirstTruchetDual = 201;
constexpr int32_t kTruchetPatterns = 20;
// Pattern k belongs to Voronoi shape 181 + k and to its dual 201 + k.
constexpr int32_t kTruchetPattern[kTruchetPatterns] = {560,  1514, 2756, 3841, 3,    3938, 454,  3552, 2756, 3938,
                                                       1312, 548,  817,  976,  1315, 3664, 3795, 3978, 4074, 48};

struct ModePair {
  int32_t mode, monofrag;
};
constexpr ModePair kMonofragModes[] = {{256, 1035}, {257, 1037}, {258, 1036}, {259, 1038},
                                       {261, 1040}, {289, 1047}, {290, 1048}, {291, 1049}};

int32_t ShapecodeOfOutputMode(int32_t outputMode) {
  PolyhedronParams params;
  get_polyhedron_params_from_output_mode(outputMode, &params);
  return params.shapeCode;
}

}  // namespace

bool ShapecodeIsARollout(int32_t shapeCode) { return Within(shapeCode, 102, 149); }

bool ShapecodeIsATruchetDual(int32_t shapeCode) { return Within(shapeCode, 201, 220); }

bool ShapecodeIsAVoronoi(int32_t shapeCode) { return Within(shapeCode, 151, 160) || Within(shapeCode, 181, 200); }

bool ShapecodeIsACurvedOrigamiStandard(int32_t shapeCode) { return OneOf(shapeCode, kCurvedOrigamiStandard); }

bool ShapecodeIsACurvedOrigamiMonofrag(int32_t shapeCode) { return OneOf(shapeCode, kCurvedOrigamiMonofrag); }

bool PolyhedronIsBuiltOnTheFly(int32_t shapeCode) {
  return std::any_of(std::begin(kBuiltOnTheFly), std::end(kBuiltOnTheFly),
                     [shapeCode](CodeRange r) { return Within(shapeCode, r.first, r.last); });
}

bool OutputModeIsARollout(int32_t outputMode) { return ShapecodeIsARollout(ShapecodeOfOutputMode(outputMode)); }

bool OutputModeIsAVoronoi(int32_t outputMode) { return ShapecodeIsAVoronoi(ShapecodeOfOutputMode(outputMode)); }

bool OutputModeIsATruchetDual(int32_t outputMode) {
  return ShapecodeIsATruchetDual(ShapecodeOfOutputMode(outputMode));
}

bool FragmentationIsRevisable(const polyhedron* poly) {
  return poly && poly->fragmentCount >= 2 && poly->fragmentationRevisable != 0;
}

int32_t TruchetCodeFromShapecode(int32_t shapeCode) {
  if (Within(shapeCode, kFirstTruchetVoronoi, kFirstTruchetVoronoi + kTruchetPatterns - 1))
    return kTruchetPattern[shapeCode - kFirstTruchetVoronoi];
  if (Within(shapeCode, kFirstTruchetDual, kFirstTruchetDual + kTruchetPatterns - 1))
    return kTruchetPattern[shapeCode - kFirstTruchetDual];
  return 0;
}

int32_t MonofragVersion_of_projection(int32_t outputMode) {
  for (const ModePair& p : kMonofragModes)
    if (p.mode == outputMode) return p.monofrag;
  return outputMode;
}
