// What every input-layout route shares: the one signature (direction and
// pass data in, input point and its flags out) and the ways a route says
// "no place in the input". The dispatcher (input_mapping.cpp) clears the
// answer before the route and applies the mirror after it.
#pragma once

#include <cstdint>

#include "projection/render_hint.h"

struct polyhedron;

struct InputQuery {
  const float* point;  // unit direction, never written
  float aspect;        // input height over width
  const float* mollweideTable;
  polyhedron* inputPolyhedron;
  renderhinttype* inputHint;
};

struct InputAnswer {
  float u;
  float v;
  uint8_t outside;
  int32_t face;
  int32_t layer;
  float* blendWeight;  // the caller's; only the zenith/nadir layout writes it
};

using InputRoute = void (*)(const InputQuery& q, InputAnswer* a);

constexpr int32_t kDefaultLayer = 2;
constexpr int32_t kRightHalfLayer = 3;
constexpr int32_t kNoLayer = -1;

// No place in the input: u = v = -1, flagged.
inline void MarkOutside(InputAnswer* a) {
  a->u = -1.0f;
  a->v = -1.0f;
  a->outside = 1;
}

// Off the layout altogether, in no layer, so that the renderer treats the
// edge of the layout as a region boundary.
inline void MarkOutsideNoLayer(InputAnswer* a) {
  MarkOutside(a);
  a->layer = kNoLayer;
}

// [0, 1], NaN counted outside.
inline bool InUnit(float x) { return x >= 0.0f && x <= 1.0f; }

// Layouts of two halves (world maps) tell the renderer which half a point
// is in, judged before the mirror.
inline void LayerByHalf(InputAnswer* a) {
  if (a->u > 0.5f) a->layer = kRightHalfLayer;
}
