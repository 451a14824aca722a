#include "polybuild/procedural/tattoo_ball.h"

#include <algorithm>
#include <cmath>

#include "polybuild/procedural/geodesic_scratch.h"
#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

constexpr float kSwathEase = 0.8f;
constexpr double kTattooMerge = 0.002;

// Appends to the key list, always leaving room for its closing -1.
struct KeyList {
  polyhedron* poly;
  int32_t count;
  void Add(int32_t v) {
    if (count < kPolyKey3DVerts - 1) poly->key3DVerts[count++] = v;
  }
  void Close() { poly->key3DVerts[count] = -1; }
};

}  // namespace

int32_t BuildOddballVertex(double t, polyhedron* poly, double n, double, double offset, double* uOut, double* vOut) {
  const double s = t / n;
  double u = std::clamp(s + offset, 0.0, 1.0);
  double v = std::clamp((s + 1.0) / 3.0, 0.0, 1.0);
  if (t == -1.0) u = 0.0, v = 0.0;
  if (t == -2.0) u = 0.0, v = 1.0;
  *uOut = u;
  *vOut = v;
  double p[3];
  RectangularToSphericalD(u, v, p);
  for (double& c : p) c *= kOddballRadius;
  return AddNew3DDVertToPolyhedron(poly, p);
}

int32_t BuildTattooVertex(double t, polyhedron* poly, double period, double total, double offset, double* uOut,
                          double* vOut) {
  const double v = t / total;
  const double w = (t / period + offset) * 0.5;
  double x = 2.0 * (w - std::floor(w));
  if (x > 1.0) x = 2.0 - x;
  const double shifted = 0.5 + x;
  const double u = shifted - std::floor(shifted);
  *uOut = u;
  *vOut = v;
  double p[3];
  RectangularToSphericalD(u, v, p);
  uint8_t made = 0;
  return AddNew3DDVertToPolyhedron_tol(poly, p, kTattooMerge, &made);
}

void BuildOddBall3D(polyhedron* poly, BufferProcs* procs) {
  if (!ReserveSolidStorage(poly, procs)) return;
  double u = 0.0, v = 0.0;
  const int32_t apex = BuildOddballVertex(-1.0, poly, kOddballSteps, 0.0, 0.0, &u, &v);
  BuildOddballVertex(-2.0, poly, kOddballSteps, 0.0, 0.0, &u, &v);
  int32_t path[kOddballSteps + 1];
  for (int32_t t = 0; t <= kOddballSteps; ++t) path[t] = BuildOddballVertex(t, poly, kOddballSteps, 0.0, 0.0, &u, &v);
  constexpr int32_t kFacegroup = 1;
  for (int32_t i = 0; i < kOddballSteps; ++i) AddSoundTriangle(poly, apex, path[i], path[i + 1], 1, kFacegroup);
  poly->key3DVerts[0] = -1;
  FinishProceduralSolid(poly);
}

void BuildTattooBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant) {
  if (!ReserveSolidStorage(poly, procs)) return;
  const int32_t n = variant;
  // Two key vertices per cap and per swath, and the closing -1.
  if (n < 1 || 2 * (n + 1) + 1 > kPolyKey3DVerts) {
    poly->errorCode = kPolyErrorShapeNotAvailable;
    FinishProceduralSolid(poly);
    return;
  }
  const int32_t P = kTattooPeriod, N = P * n;
  double u = 0.0, v = 0.0;
  auto vertex = [&](double t) { return BuildTattooVertex(t, poly, P, N, 0.0, &u, &v); };
  for (int32_t t = 0; t <= N; ++t) vertex(t);
  KeyList keys{poly, 0};

  for (int32_t k = 2; k <= P; ++k) {
    const int32_t c[3] = {vertex(0), vertex(k - 1), vertex(k)};
    AddSoundTriangle(poly, c[0], c[1], c[2], 1, 1);
  }
  keys.Add(vertex(0));
  keys.Add(vertex(P));

  for (int32_t b = 0; b <= n - 2; ++b) {
    const double base = double(P) * b;
    const int32_t facegroup = b + 2;
    for (int32_t i = 0; i < P; ++i) {
      const double g0 = double(P) * double(gain(float(double(i) / P), kSwathEase));
      const double g1 = double(P) * double(gain(float(double(i + 1) / P), kSwathEase));
      const int32_t vp = vertex(base + 2 * P - g0);
      const int32_t vq = vertex(base + g0);
      const int32_t vr = vertex(base + 2 * P - g1);
      const int32_t vs = vertex(base + g1);
      if (b % 2 == 0) {
        AddSoundTriangle(poly, vp, vr, vs, 0, facegroup, vq);
        AddSoundTriangle(poly, vs, vq, vp, 0, facegroup, vr);
      } else {
        AddSoundTriangle(poly, vr, vp, vq, 0, facegroup, vs);
        AddSoundTriangle(poly, vq, vs, vr, 0, facegroup, vp);
      }
      if (i == 0) {
        keys.Add(vq);
        keys.Add(vp);
      }
    }
  }

  const int32_t lastGroup = n < 2 ? 2 : n + 1;
  for (int32_t j = 0; j <= P - 2; ++j) {
    const int32_t c[3] = {vertex(N - P + j), vertex(N), vertex(N - P + j + 1)};
    AddSoundTriangle(poly, c[0], c[1], c[2], 2, lastGroup);
    if (j == 0) {
      keys.Add(N - P);
      keys.Add(N);
    }
  }
  keys.Close();
  FinishProceduralSolid(poly);
}
