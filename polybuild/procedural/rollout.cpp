#include "polybuild/procedural/rollout.h"

#include <cmath>
#include <numbers>

#include "polybuild/procedural/dev_tetrahedra.h"
#include "polybuild/procedural/geodesic_scratch.h"
#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Where the points of one half go: the first half stays, the second is
// turned half a revolution about the axis and then about the cut's normal.
struct HalfPlacement {
  bool second;
  double cosPhi, sinPhi;
};

void Place(const HalfPlacement& h, double p[3]) {
  if (!h.second) return;
  const double x = -p[0], y = p[1];
  p[2] = -p[2];
  p[0] = x * h.cosPhi - y * h.sinPhi;
  p[1] = x * h.sinPhi + y * h.cosPhi;
}

// The profile point at polygon angle alpha turned by theta about the axis.
void Sweep(const HalfPlacement& h, double alpha, double theta, double p[3]) {
  p[0] = std::cos(alpha) * std::cos(theta);
  p[1] = std::sin(alpha);
  p[2] = -std::cos(alpha) * std::sin(theta);
  Place(h, p);
}

int32_t Vertex(polyhedron* poly, const HalfPlacement& h, double alpha, double theta) {
  double p[3];
  Sweep(h, alpha, theta, p);
  return AddNew3DDVertToPolyhedron(poly, p);
}

void Triangle(polyhedron* poly, const HalfPlacement& h, const double a[2], const double b[2], const double c[2]) {
  const int32_t v[3] = {Vertex(poly, h, a[0], a[1]), Vertex(poly, h, b[0], b[1]), Vertex(poly, h, c[0], c[1])};
  AddSoundFace(poly, v, 3, 1, -1, -1);
}

void BuildHalf(polyhedron* poly, int32_t n, int32_t plus, const HalfPlacement& h) {
  const bool odd = n % 2 == 1;
  const bool vertexOnTop = odd || plus;
  auto alpha = [&](int32_t k) {
    return 2.0 * kPi * ((vertexOnTop ? double(k) : k + 0.5) / n + 0.25);
  };
  const int32_t K = odd ? (n - 1) / 2 : n / 2 - 1;
  for (int32_t k = 0; k < kRolloutStepsPerHalf; ++k) {
    const double t0 = 2.0 * kPi * k / (2 * kRolloutStepsPerHalf);
    const double t1 = 2.0 * kPi * (k + 1) / (2 * kRolloutStepsPerHalf);
    // The last step of a half-disc fan ends on the fan's own apex: that
    // triangle has no area and the face adder leaves it out.
    if (!vertexOnTop) {
      const double apex[2] = {alpha(0), kPi}, a[2] = {alpha(0), t0}, b[2] = {alpha(0), t1};
      Triangle(poly, h, apex, a, b);
    }
    for (int32_t j = 0; j < K; ++j) {
      const double q0[2] = {alpha(j), t0}, q2[2] = {alpha(j + 1), t0}, q3[2] = {alpha(j + 1), t1};
      if (j == 0 && vertexOnTop) {
        Triangle(poly, h, q0, q2, q3);
        continue;
      }
      double P0[3], P1[3], P2[3], P3[3];
      Sweep(h, alpha(j), t0, P0);
      Sweep(h, alpha(j), t1, P1);
      Sweep(h, alpha(j + 1), t0, P2);
      Sweep(h, alpha(j + 1), t1, P3);
      AddQuadrilateralFace(poly, P3, P1, P0, P2);
    }
    if (odd || !plus) {
      const double apex[2] = {alpha(K), kPi}, a[2] = {alpha(K), t1}, b[2] = {alpha(K), t0};
      Triangle(poly, h, apex, a, b);
    } else {
      const double bottom[2] = {alpha(K + 1), 0.0}, a[2] = {alpha(K), t1}, b[2] = {alpha(K), t0};
      Triangle(poly, h, bottom, a, b);
    }
  }
}

}  // namespace

void BuildRollout_core(polyhedron* poly, BufferProcs*, uint8_t, int32_t n, int32_t m, int32_t plus, int32_t half,
                       int32_t extraHalfStep) {
  if (n < kRolloutMinSides || n > kRolloutMaxSides) return;
  const double e = extraHalfStep ? 0.5 : 0.0;
  const double phi = 2.0 * kPi * (m + e) / n;
  if (half == 0 || half == 1) BuildHalf(poly, n, plus, HalfPlacement{false, 1.0, 0.0});
  if (half == 0 || half == 2) BuildHalf(poly, n, plus, HalfPlacement{true, std::cos(phi), std::sin(phi)});
}

void BuildRollout(polyhedron* poly, BufferProcs* procs, uint8_t flag, int32_t n, int32_t a, int32_t b, int32_t c) {
  if (!ReserveSolidStorage(poly, procs)) return;
  if (n < kRolloutMinSides || n > kRolloutMaxSides) {
    poly->errorCode = kPolyErrorShapeNotAvailable;
    FinishProceduralSolid(poly);
    return;
  }
  if (c) {
    // The first half plain, the second with a vertex on the axis turned half
    // a step on, so that its vertices meet the first half's edge midpoints.
    BuildRollout_core(poly, procs, flag, n, a, 0, 1, 0);
    BuildRollout_core(poly, procs, flag, n, a, 1, 2, 1);
  } else {
    BuildRollout_core(poly, procs, flag, n, a, b, 1, 0);
    BuildRollout_core(poly, procs, flag, n, a, b, 2, 0);
  }
  FinishProceduralSolid(poly);
}
