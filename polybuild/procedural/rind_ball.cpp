#include "polybuild/procedural/rind_ball.h"

#include "polybuild/procedural/geodesic_scratch.h"
#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

constexpr float kStripEase = 0.8f;
constexpr int32_t kThirtySectors = 12;
constexpr int32_t kThirtyBands = 6;

// The vertex of the equirectangular point (u, v) on the sphere of radius 10.
int32_t R(polyhedron* poly, double u, double v) {
  double p[3];
  RectangularToSphericalD(u, v, p);
  for (double& c : p) c *= kRindRadius;
  return AddNew3DDVertToPolyhedron(poly, p);
}

// Full detail cuts the strip into 300 steps whatever its length.
int32_t StepsPerStripStep(int32_t turns, uint8_t fullDetail) {
  if (!fullDetail) return 2;
  return turns == 2 ? 6 : (turns == 3 ? 3 : 2);
}

}  // namespace

int32_t RindStripSteps(int32_t turns, uint8_t fullDetail) {
  return StepsPerStripStep(turns, fullDetail) * (turns - 1) * kRindStepsPerTurn;
}

void BuildRindBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant, uint8_t flag) {
  if (!ReserveSolidStorage(poly, procs)) return;
  const int32_t n = variant;
  if (n < 2 || n > 4) {
    poly->errorCode = kPolyErrorShapeNotAvailable;
    FinishProceduralSolid(poly);
    return;
  }
  const double S = kRindStepsPerTurn;
  const double o = (n % 2 == 1) ? 0.5 : 0.0;
  // A point of the strip's centre line, t steps along it.
  auto along = [&](double t) { return R(poly, o + t / S, t / (S * n)); };

  const int32_t pole = R(poly, o, 0.0);
  // Vertices are made in corner order (braced lists are evaluated in order,
  // arguments are not), so the vertex numbering never depends on the compiler.
  for (int32_t i = 1; i <= kRindStepsPerTurn - 1; ++i) {
    const int32_t c[3] = {pole, along(i), along(i + 1)};
    AddSoundTriangle(poly, c[0], c[1], c[2], 1, -1);
  }

  const int32_t k = StepsPerStripStep(n, flag);
  const int32_t M = RindStripSteps(n, flag);
  for (int32_t i = 0; i < M; ++i) {
    const double g0 = double(gain(float(double(i) / M), kStripEase)) * M / k;
    const double g1 = double(gain(float(double(i + 1) / M), kStripEase)) * M / k;
    const int32_t p1 = along(S + g0);
    const int32_t p2 = along(S + g1);
    const int32_t p3 = along(g1);
    const int32_t p4 = along(g0);
    AddSoundTriangle(poly, p1, p2, p3, 0, -1, p4);
    AddSoundTriangle(poly, p3, p4, p1, 0, -1, p2);
  }

  const int32_t otherPole = R(poly, o + n, 1.0);
  for (int32_t j = 0; j <= kRindStepsPerTurn - 2; ++j) {
    const double t = (n - 1) * S + j;
    const int32_t c[3] = {along(t), otherPole, along(t + 1)};
    AddSoundTriangle(poly, c[0], c[1], c[2], 2, -1);
  }
  FinishProceduralSolid(poly);
}

void BuildThirtysphere(polyhedron* poly, BufferProcs* procs) {
  if (!ReserveSolidStorage(poly, procs)) return;
  const int32_t north = R(poly, 0.0, 0.0);
  const int32_t south = R(poly, 0.0, 1.0);
  constexpr int32_t kFacegroup = 1;
  for (int32_t j = 0; j < kThirtyBands; ++j) {
    const double vTop = double(j) / kThirtyBands, vBottom = double(j + 1) / kThirtyBands;
    for (int32_t i = 0; i < kThirtySectors; ++i) {
      const double uWest = double(i) / kThirtySectors, uEast = double(i + 1) / kThirtySectors;
      if (j == 0) {
        const int32_t c[3] = {north, R(poly, uWest, vBottom), R(poly, uEast, vBottom)};
        AddSoundFace(poly, c, 3, -1, -1, kFacegroup);
      } else if (j == kThirtyBands - 1) {
        const int32_t c[3] = {R(poly, uWest, vTop), south, R(poly, uEast, vTop)};
        AddSoundFace(poly, c, 3, -1, -1, kFacegroup);
      } else {
        const int32_t quad[4] = {R(poly, uWest, vTop), R(poly, uWest, vBottom), R(poly, uEast, vBottom),
                                 R(poly, uEast, vTop)};
        AddSoundFace(poly, quad, 4, -1, -1, kFacegroup);
      }
    }
  }
  FinishProceduralSolid(poly);
}
