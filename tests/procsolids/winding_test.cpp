// Every solid the catalogue can build, static or generated, winds its faces
// one way and carries its normals one way, the way the record's header
// states: counter-clockwise seen from outside, normals into the solid.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_record.h"
#include "solid_checks.h"

namespace {

using Vec3 = std::array<double, 3>;

Vec3 Corner(const polyhedron* p, const PolyFace& f, int32_t i) {
  const double* q = p->coords3D[f.vert3D[(i + f.n3D) % f.n3D]];
  return {q[0], q[1], q[2]};
}

// The right-hand normal of the corner order, from the whole polygon
// (Newell), so a reflex corner cannot turn it.
Vec3 RightHandNormal(const polyhedron* p, const PolyFace& f) {
  Vec3 n{0, 0, 0};
  for (int32_t i = 0; i < f.n3D; ++i) {
    const Vec3 a = Corner(p, f, i), b = Corner(p, f, i + 1);
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return n;
}

double Dot(const Vec3& a, const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Volume enclosed by the faces, positive when they wind counter-clockwise
// seen from outside (divergence theorem over each face's right-hand normal).
double SignedVolume(const polyhedron* p) {
  double v = 0.0;
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    const Vec3 n = RightHandNormal(p, face);
    Vec3 m{0, 0, 0};
    for (int32_t i = 0; i < face.n3D; ++i)
      for (int k = 0; k < 3; ++k) m[k] += Corner(p, face, i)[k] / face.n3D;
    v += (n[0] * m[0] + n[1] * m[1] + n[2] * m[2]) / 6.0;
  }
  return v;
}

constexpr int32_t kFirstSampledCode = 181, kLastSampledCode = 220;

}  // namespace

TEST(SolidWinding, EverySolidWindsOutwardWithNormalsInward) {
  int32_t walked = 0, open = 0;
  for (int32_t code = 0; code < 400; ++code) {
    if (code == kShapeCodeCallerFaces) continue;  // its faces are its caller's
    // The Voronoi solids of the sampled site sets and their duals take
    // half a second each and share their builders: every fifth stands for
    // its neighbours.
    if (code >= kFirstSampledCode && code <= kLastSampledCode && (code - kFirstSampledCode) % 5 != 0) continue;
    ProcPolyPtr poly = NewGeneratorRecord();
    ReadFaceInfo(poly.get(), code, 0, nullptr, 1);
    if (poly->errorCode != kPolyErrorNone || poly->n3DFaces <= 0) continue;
    SCOPED_TRACE(code);
    ++walked;
    // Static shapes borrow their tables; their normals come with the set-up
    // of an output mode, as here.
    if (!poly->ownsArrays) Calc3DAngles(poly.get());
    if (IsClosed(poly.get())) {
      EXPECT_GT(SignedVolume(poly.get()), 0.0);
    } else {
      ++open;
      EXPECT_TRUE(FacesPointOutward(poly.get()));
    }
    int32_t wrong = 0, first = -1;
    for (int32_t f = 0; f < poly->n3DFaces; ++f) {
      const PolyFace& face = poly->faces[f];
      const Vec3 n = RightHandNormal(poly.get(), face);
      const double len = std::sqrt(Dot(n, n.data()));
      const double cosine = Dot(n, face.normal) / len;
      if (!(cosine < -1.0 + 1e-6)) {
        if (first < 0) first = f;
        ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "first at face " << first;
  }
  // Static solids, geodesic spheres, rinds, rollouts, Voronoi cells and
  // their duals, curved-element solids: a walk that found few would prove
  // little.
  EXPECT_GE(walked, 125);
  EXPECT_LT(open, walked / 4);
}
