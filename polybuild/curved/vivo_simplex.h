// A small two-parameter downhill simplex. Its only objective is the hinge
// error of a wing step (kind 13), which reads the first coordinate alone.
// The state is four triplexes (x, y, error); entries 1 to 3 are the
// vertices, entry 0 is unused.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

constexpr int32_t kSimplexKindHinge = 13;
constexpr int32_t kSimplexIterationLimit = 6000;
// Start of the hinge search: a base angle and the offsets of its vertices.
constexpr double kHingeStartAngle = 0.05;
constexpr double kHingeStartOffset = 0.02617993877991494;  // 1.5 degrees
constexpr double kHingeStartSpread = 0.07853981633974483;  // 4.5 degrees

// Objective value of kind at (x, y); for the hinge it writes x into the
// context's angle first. Kinds without an objective give 0.
double SimplexObjective(int32_t kind, double x, double y, void* context);

// Starts the search (InitSimplexState) and runs it (DownhillSimplex).
fcomplex SimplexInverse_core(triplex guess, triplex state[4], int32_t kind, double tolerance, void* context);
// The hinge start for kind 13 with a context; the generic start for other
// kinds; nothing without a context.
void InitSimplexState(triplex state[4], triplex guess, int32_t kind, void* context);
void CluefulSimplexHuntSetup_for_VivoTet(triplex state[4], int32_t kind, void* context);
void CluefulSimplexHuntSetup(triplex guess, triplex state[4], int32_t kind, void* context, double step);
// Iterates until the best error is below tolerance or the limit is reached;
// the best vertex is the answer and, for the hinge, its error is written to
// the context's bestError.
fcomplex DownhillSimplex(triplex state[4], int32_t kind, double tolerance, void* context);
