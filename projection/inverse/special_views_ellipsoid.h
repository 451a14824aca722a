// The profile of the tunable gores (an ellipse or an egg) and its arc-length
// table, which spaces the gores' latitudes evenly along the profile.
//
// The table is shared by every worker task of a pass. It is written only by
// PrepareEllipsoidArcTable, which the renderer's prefill calls on the main
// thread before a row's tasks start; the look-ups take it read-only. A
// look-up handed a table that is not built for its width and kind (the
// prefill skipped, or a table left from a pass with another view angle)
// builds a private copy on its own stack instead of writing the shared one,
// so a look-up never races with another and never answers from a stale
// profile.
#pragma once

#include <cstdint>

constexpr int32_t kEllipsoidProfileSteps = 399;  // intervals of the table
constexpr int32_t kEllipsoidArcEntries = 401;    // 400 normalised entries and the total
constexpr float kEllipsoidArcUnbuilt = 999.0f;   // entry 0 before the table is built

enum EllipsoidProfileKind : int32_t {
  EllipsoidProfile_Ellipse = 0,
  EllipsoidProfile_Egg = 1,
};

struct EllipsoidArcTable {
  // Entries 0 to 399: cumulative arc length at the parameters i/399, with
  // entry 399 = 1; entry 400: the unnormalised length of the profile.
  float entry[kEllipsoidArcEntries];
  float width;  // the profile the entries were built for
  int32_t kind;
};

// Marks the table unbuilt.
void InitEllipsoidArcTable(EllipsoidArcTable* table);
// Builds the table for (width, kind) unless it already holds exactly that
// profile. Main thread only, never while tasks read the table.
void PrepareEllipsoidArcTable(EllipsoidArcTable* table, float width, int32_t kind);
bool EllipsoidArcTableIsFor(const EllipsoidArcTable* table, float width, int32_t kind);

// The profile point (x, y, 0) at the parameter t in [0, 1]: kind 0 the
// half ellipse of half-width `width` from (0, -1) to (0, 1), kind 1 the egg.
// Any other kind leaves point[0] and point[1] as they were.
void GrabPointOnEllipsoidProfile(float t, float point[3], float width, int32_t kind);

// The normalised arc length (0 to 1) from the start of the profile to t;
// t is clamped to [0, 1]. table may be null.
float distance_around_ellipsoid(float t, const EllipsoidArcTable* table, float width, int32_t kind);
// The profile parameter whose normalised arc length is d (clamped to
// [0, 1]), by twenty bisection probes.
float binary_search_for_parameter_from_distance(float d, const EllipsoidArcTable* table, float width, int32_t kind);
// The unnormalised length of the profile (entry 400 of a built table).
float EllipsoidProfileLength(const EllipsoidArcTable* table, float width, int32_t kind);
