#include "projection/inverse/special_views_ellipsoid.h"

#include <cmath>

namespace {

constexpr float kProfilePi = 3.1415927f;

void BuildEntries(float entry[kEllipsoidArcEntries], float width, int32_t kind) {
  float prev[3] = {0.0f, 0.0f, 0.0f};
  float next[3] = {0.0f, 0.0f, 0.0f};
  GrabPointOnEllipsoidProfile(0.0f, prev, width, kind);
  entry[0] = 0.0f;
  for (int32_t i = 1; i <= kEllipsoidProfileSteps; ++i) {
    next[0] = prev[0];
    next[1] = prev[1];
    GrabPointOnEllipsoidProfile(static_cast<float>(i) / static_cast<float>(kEllipsoidProfileSteps), next, width, kind);
    const float dx = next[0] - prev[0];
    const float dy = next[1] - prev[1];
    entry[i] = entry[i - 1] + std::sqrt(dx * dx + dy * dy);
    prev[0] = next[0];
    prev[1] = next[1];
  }
  const float total = entry[kEllipsoidProfileSteps];
  entry[kEllipsoidArcEntries - 1] = total;
  if (total > 0.0f && std::isfinite(total)) {
    for (int32_t i = 0; i <= kEllipsoidProfileSteps; ++i) entry[i] /= total;
  } else {
    // A profile without length (an unknown kind draws no curve) has no arc
    // to measure; the parameter itself is the only sensible distance, and
    // dividing by the zero total would fill the table with NaNs.
    for (int32_t i = 0; i <= kEllipsoidProfileSteps; ++i) {
      entry[i] = static_cast<float>(i) / static_cast<float>(kEllipsoidProfileSteps);
    }
  }
}

// The entries to read: the shared table when it holds this profile, else a
// private copy built into `scratch`.
const float* UsableEntries(const EllipsoidArcTable* table, float width, int32_t kind,
                           float scratch[kEllipsoidArcEntries]) {
  if (EllipsoidArcTableIsFor(table, width, kind)) return table->entry;
  BuildEntries(scratch, width, kind);
  return scratch;
}

float LookUp(float t, const float entry[kEllipsoidArcEntries]) {
  if (!(t >= 0.0f)) t = 0.0f;  // NaN reads as the start, like a clamp from below
  if (t > 1.0f) t = 1.0f;
  const float x = t * static_cast<float>(kEllipsoidProfileSteps);
  const int32_t i = static_cast<int32_t>(std::floor(x));
  int32_t i0 = i;
  float f0 = static_cast<float>(i);
  if (i >= 400) {
    i0 = kEllipsoidProfileSteps;
    f0 = static_cast<float>(kEllipsoidProfileSteps);
  } else if (i < 0) {
    i0 = 0;
    f0 = 0.0f;
  }
  int32_t i1 = i + 1;
  if (i1 < 0) i1 = 0;
  if (i1 > kEllipsoidProfileSteps) i1 = kEllipsoidProfileSteps;
  return entry[i0] + (x - f0) * (entry[i1] - entry[i0]);
}

}  // namespace

void InitEllipsoidArcTable(EllipsoidArcTable* table) {
  if (!table) return;
  for (float& e : table->entry) e = 0.0f;
  table->entry[0] = kEllipsoidArcUnbuilt;
  table->width = 0.0f;
  table->kind = -1;
}

bool EllipsoidArcTableIsFor(const EllipsoidArcTable* table, float width, int32_t kind) {
  return table != nullptr && table->entry[0] != kEllipsoidArcUnbuilt && table->width == width && table->kind == kind;
}

void PrepareEllipsoidArcTable(EllipsoidArcTable* table, float width, int32_t kind) {
  if (!table || EllipsoidArcTableIsFor(table, width, kind)) return;
  BuildEntries(table->entry, width, kind);
  table->width = width;
  table->kind = kind;
}

void GrabPointOnEllipsoidProfile(float t, float point[3], float width, int32_t kind) {
  point[2] = 0.0f;
  if (kind == EllipsoidProfile_Ellipse) {
    const float a = (t - 0.5f) * kProfilePi;
    point[0] = width * std::cos(a);
    point[1] = std::sin(a);
  } else if (kind == EllipsoidProfile_Egg) {
    const float b = t * kProfilePi;
    const float c = std::cos(b) * 0.5f + 0.5f;
    point[0] = width * (std::sin(b) * 1.34f);
    point[1] = 2.0f * std::pow(c + 0.8f, 1.5f);
  }
}

float distance_around_ellipsoid(float t, const EllipsoidArcTable* table, float width, int32_t kind) {
  float scratch[kEllipsoidArcEntries];
  return LookUp(t, UsableEntries(table, width, kind, scratch));
}

float binary_search_for_parameter_from_distance(float d, const EllipsoidArcTable* table, float width, int32_t kind) {
  float scratch[kEllipsoidArcEntries];
  const float* entry = UsableEntries(table, width, kind, scratch);
  if (!(d >= 0.0f)) d = 0.0f;
  if (d > 1.0f) d = 1.0f;
  float lo = 0.0f, hi = 1.0f;
  float q = d;
  for (int probe = 0; probe < 20; ++probe) {
    if (d > LookUp(q, entry)) {
      lo = q;
      q = (hi + q) * 0.5f;
    } else {
      hi = q;
      q = (lo + q) * 0.5f;
    }
  }
  return q;
}

float EllipsoidProfileLength(const EllipsoidArcTable* table, float width, int32_t kind) {
  float scratch[kEllipsoidArcEntries];
  return UsableEntries(table, width, kind, scratch)[kEllipsoidArcEntries - 1];
}
