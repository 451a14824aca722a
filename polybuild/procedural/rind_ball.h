// Rind balls and the thirty-sphere, both on the sphere of radius 10 through
// equirectangular points. The rind ball is a spiral strip that winds n times
// from pole to pole like a peeled apple rind, its triangles carrying a
// partner vertex so that the renderer can bend them; the thirty-sphere is the
// sphere faceted on 12 sectors by 6 bands of 30 degrees.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

constexpr double kRindRadius = 10.0;
constexpr int32_t kRindStepsPerTurn = 50;

// `variant` is the number of turns, 2 to 4 (others are refused with
// kPolyErrorShapeNotAvailable and an empty solid); `flag` the full-detail
// flag, which makes the strip finer.
void BuildRindBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant, uint8_t flag);
void BuildThirtysphere(polyhedron* poly, BufferProcs* procs);

// Steps of the strip between the two polar fans.
int32_t RindStripSteps(int32_t turns, uint8_t fullDetail);
