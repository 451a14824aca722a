#include "polybuild/curved/vivo_simplex.h"

#include <utility>

#include "polybuild/curved/vivo_hinge.h"

namespace {

constexpr double kContraction = 0.3333333;
constexpr double kShrink = 0.1;
constexpr double kExpansion = 2.0;

triplex Vertex(int32_t kind, double x, double y, void* context) {
  return Triplex(x, y, SimplexObjective(kind, x, y, context));
}

// Strict comparisons: equal errors keep their order.
void Order(triplex s[4]) {
  if (s[1].z > s[2].z) std::swap(s[1], s[2]);
  if (s[2].z > s[3].z) std::swap(s[2], s[3]);
  if (s[1].z > s[2].z) std::swap(s[1], s[2]);
}

}  // namespace

double SimplexObjective(int32_t kind, double x, double, void* context) {
  if (kind != kSimplexKindHinge || !context) return 0.0;
  HingeSearchRecord* record = static_cast<HingeSearchRecord*>(context);
  record->angle = x;
  return hinge_error(record);
}

void CluefulSimplexHuntSetup_for_VivoTet(triplex s[4], int32_t kind, void* context) {
  if (!context) return;
  const double x = kHingeStartAngle - kHingeStartOffset;
  const double y = 0.0 - kHingeStartOffset;
  s[1] = Vertex(kind, x, y, context);
  s[2] = Vertex(kind, x + kHingeStartSpread, y, context);
  s[3] = Vertex(kind, x, y + kHingeStartSpread, context);
}

void CluefulSimplexHuntSetup(triplex guess, triplex s[4], int32_t kind, void* context, double step) {
  const double x = guess.x - step / 3.0, y = guess.y - step / 3.0;
  s[1] = Vertex(kind, x, y, context);
  s[2] = Vertex(kind, x + step, y, context);
  s[3] = Vertex(kind, x, y + step, context);
}

void InitSimplexState(triplex s[4], triplex guess, int32_t kind, void* context) {
  if (kind == kSimplexKindHinge) {
    CluefulSimplexHuntSetup_for_VivoTet(s, kind, context);
    return;
  }
  CluefulSimplexHuntSetup(guess, s, kind, context, kHingeStartSpread);
}

fcomplex DownhillSimplex(triplex s[4], int32_t kind, double tolerance, void* context) {
  for (int32_t count = 0;; ++count) {
    Order(s);
    if (tolerance > s[1].z || count >= kSimplexIterationLimit) break;
    const double mx = (s[1].x + s[2].x) / 2.0, my = (s[1].y + s[2].y) / 2.0;
    const triplex r = Vertex(kind, mx + (mx - s[3].x), my + (my - s[3].y), context);
    if (r.z < s[3].z) s[3] = r;
    if (s[1].z > r.z) {
      const triplex e = Vertex(kind, mx - kExpansion * (mx - s[3].x), my - kExpansion * (my - s[3].y), context);
      if (e.z < s[3].z) s[3] = e;
    } else if (r.z >= s[2].z) {
      const triplex kept = s[3];
      const triplex c = Vertex(kind, mx - (mx - s[3].x) * kContraction, my - (my - s[3].y) * kContraction, context);
      if (c.z < s[3].z) s[3] = c;
      if (c.z >= kept.z) {
        // The shrink scales the sums themselves, which also pulls the
        // simplex towards the origin; the hinge angles lie close to it.
        s[3] = kept;
        s[2] = Vertex(kind, kShrink * (s[1].x + s[2].x), kShrink * (s[1].y + s[2].y), context);
        s[3] = Vertex(kind, kShrink * (s[1].x + s[3].x), kShrink * (s[1].y + s[3].y), context);
      }
    }
  }
  if (kind == kSimplexKindHinge && context) static_cast<HingeSearchRecord*>(context)->bestError = s[1].z;
  return Complex(s[1].x, s[1].y);
}

fcomplex SimplexInverse_core(triplex guess, triplex s[4], int32_t kind, double tolerance, void* context) {
  InitSimplexState(s, guess, kind, context);
  return DownhillSimplex(s, kind, tolerance, context);
}
