// What every curved-element builder and element operation receives: the
// solid being filled and the hinge angles found so far, one per wing step.
// Every wing of a solid has the same steps, so the first wing's search
// serves all later ones.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

constexpr int32_t kVivoHingeSteps = 20;

struct VivoContext {
  polyhedron* poly;    // not owned
  BufferProcs* procs;  // for the solid's storage; not owned
  double hingeAngle[kVivoHingeSteps];
  uint8_t hingeKnown[kVivoHingeSteps];
  // Set when a hinge search ended without closing its step; the entry then
  // refuses the solid.
  uint8_t hingeFailed;
  double worstHingeError;  // largest best error of the searches run
};
