// Every solid the catalogue can build, static or generated, winds its faces
// one way and carries its normals one way, the way the record's header
// states: counter-clockwise seen from outside, normals into the solid.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/setup/polyhedron_setup_steps.h"

#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/nets/net_projection_core.h"
#include "projection/render_hint.h"
#include "solid_checks.h"
#include "support/poly_fixture.h"

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
constexpr uint8_t kSphericalFlagSheet = 2;

Vec3 Centroid(const polyhedron* p, const PolyFace& f) {
  Vec3 m{0, 0, 0};
  for (int32_t i = 0; i < f.n3D; ++i)
    for (int k = 0; k < 3; ++k) m[k] += Corner(p, f, i)[k] / f.n3D;
  return m;
}

// Faces whose solid face, seen from outside (the sphere's centre is inside
// every solid), turns the other way than the net face does in the net.
int32_t FacesTurningAgainstTheirNet(const polyhedron* p) {
  int32_t against = 0;
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    const Vec3 n = RightHandNormal(p, face), m = Centroid(p, face);
    const double outward = Dot(n, m.data());
    double area = 0.0;
    for (int32_t i = 0; i < face.n2D; ++i) {
      const double* a = p->coords2D[face.vert2D[i]];
      const double* b = p->coords2D[face.vert2D[(i + 1) % face.n2D]];
      area += a[0] * b[1] - a[1] * b[0];
    }
    if (!(outward * area > 0.0)) ++against;
  }
  return against;
}

// Every point of the solid lies on one side of the plane through the
// sphere's centre normal to their mean: the solid surrounds no centre, and
// a face's centroid direction tells nothing of its outside.
bool SurroundsNoCentre(const polyhedron* p) {
  Vec3 m{0, 0, 0};
  for (int32_t v = 0; v < p->n3DVerts; ++v)
    for (int k = 0; k < 3; ++k) m[k] += p->coords3D[v][k];
  if (!(Dot(m, m.data()) > 1e-12)) return false;
  for (int32_t v = 0; v < p->n3DVerts; ++v)
    if (!(Dot(m, p->coords3D[v]) > 0.0)) return false;
  return true;
}

// Some face's corners span a plane through the sphere's centre (to within
// a ten-thousandth of a radian): its chord, seen from either side, is seen
// from outside, so which way it turns there is rounding.
bool SomeChordThroughTheCentre(const polyhedron* p) {
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    const Vec3 n = RightHandNormal(p, face), m = Centroid(p, face);
    const double nm = std::sqrt(Dot(n, n.data()) * Dot(m, m.data()));
    if (!(std::fabs(Dot(n, m.data())) > 1e-4 * nm)) return true;
  }
  return false;
}

// Net triangles whose picture on the sphere, as the renderer draws it and
// seen from outside the sphere, turns the other way than the triangle does
// in the net; judged on three points well inside each triangle, and a
// triangle with one of them not shown counts against.
int32_t TrianglesTurningAgainstTheirPicture(int32_t code, int16_t netMethod) {
  PolyPtr poly = NewPoly(2.0f);
  SetUpReallyGeneralPolyhedron(poly.get(), code, netMethod, 0, 0.0, nullptr, 1);
  const polyhedron* p = poly.get();
  const float inner[3][3] = {{0.7f, 0.2f, 0.1f}, {0.5f, 0.3f, 0.2f}, {0.5f, 0.2f, 0.3f}};
  int32_t against = 0, judged = 0;
  for (int32_t t = 0; t < p->nTriangles; ++t) {
    const NetTriangle& tri = p->triangles[t];
    if (tri.isTab) continue;
    ++judged;
    Vec3 q[3];
    double xy[3][2];
    bool shown = true;
    for (int k = 0; k < 3; ++k) {
      float x = 0, y = 0;
      for (int c = 0; c < 3; ++c) {
        x += inner[k][c] * p->verts2D[tri.vert2D[c]].x;
        y += inner[k][c] * p->verts2D[tri.vert2D[c]].y;
      }
      float point[3];
      uint8_t outside = 0;
      renderhinttype hint{};
      DoPolyhedralTransformCore(p, inner[k][0], inner[k][1], inner[k][2], t, x, y, point, &outside, &hint);
      shown = shown && outside == 0;
      q[k] = {point[0], point[1], point[2]};
      xy[k][0] = x;
      xy[k][1] = y;
    }
    const double turn = (xy[1][0] - xy[0][0]) * (xy[2][1] - xy[0][1]) - (xy[1][1] - xy[0][1]) * (xy[2][0] - xy[0][0]);
    // q0 . (q1 x q2): positive when the three directions turn
    // counter-clockwise seen from outside the sphere.
    const Vec3 cross{q[1][1] * q[2][2] - q[1][2] * q[2][1], q[1][2] * q[2][0] - q[1][0] * q[2][2],
                     q[1][0] * q[2][1] - q[1][1] * q[2][0]};
    if (!shown || !(turn * Dot(cross, q[0].data()) > 0.0)) ++against;
  }
  return judged > 0 ? against : -1;
}

testing::AssertionResult SheetWindsOneWay(const polyhedron* p) {
  const Vec3 first = RightHandNormal(p, p->faces[0]);
  for (int32_t f = 1; f < p->n3DFaces; ++f)
    if (!(Dot(RightHandNormal(p, p->faces[f]), first.data()) > 0.0))
      return testing::AssertionFailure() << "face " << f << " faces the other way";
  return testing::AssertionSuccess();
}

// A net that names its solid through a map carries no solid faces: the
// renderer takes each net corner's point through the map, mirrored, so the
// solid face a net face shows is its corners' mapped points in the net's
// order. Builds those faces, on the points as the renderer shows them
// (`shown` holds them and must outlive the record's use of them).
void FacesThroughTheMap(polyhedron* p, std::vector<std::array<double, 3>>* shown) {
  shown->assign(size_t(p->n3DVerts), {});
  for (int32_t v = 0; v < p->n3DVerts; ++v) MirroredPoint(p, p->coords3D[v], (*shown)[size_t(v)].data());
  p->coords3D = reinterpret_cast<const double(*)[3]>(shown->data());
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    PolyFace& face = p->faces[f];
    face.n3D = face.n2D;
    for (int32_t i = 0; i < face.n2D; ++i) face.vert3D[i] = p->map2Dto3D[face.vert2D[i]];
  }
}

}  // namespace

TEST(SolidWinding, EverySolidWindsOutwardWithNormalsInward) {
  int32_t walked = 0, open = 0, warped = 0, sheets = 0, pictures = 0, greatCircleChords = 0;
  for (int32_t code = 0; code < 400; ++code) {
    if (code == kShapeCodeCallerFaces) continue;  // its faces are its caller's
    // The Voronoi solids of the sampled site sets and their duals take
    // half a second each and share their builders: every fifth stands for
    // its neighbours.
    if (code >= kFirstSampledCode && code <= kLastSampledCode && (code - kFirstSampledCode) % 5 != 0) continue;
    std::vector<std::array<double, 3>> shown;
    ProcPolyPtr poly = NewGeneratorRecord();
    ReadFaceInfo(poly.get(), code, 0, nullptr, 1);
    if (poly->errorCode != kPolyErrorNone || poly->n3DFaces <= 0) continue;
    SCOPED_TRACE(code);
    ++walked;
    if (poly->map2Dto3D) FacesThroughTheMap(poly.get(), &shown);
    // Static shapes borrow their tables; their normals come with the set-up
    // of an output mode, as here.
    if (!poly->ownsArrays) Calc3DAngles(poly.get());
    if (poly->sphericalFlag == kSphericalFlagSheet) {
      // The paperlock is the map laid flat, a sheet through the sphere's
      // centre with no outside: it winds one way, all its faces facing alike.
      ++sheets;
      EXPECT_TRUE(SheetWindsOneWay(poly.get()));
    } else if (poly->map2Dto3D && SurroundsNoCentre(poly.get())) {
      // The Reuleaux nets name one face drawn flat, the plane of its
      // stereographic picture lifted to heights, which every face of the
      // net shares: the centre lies off it, so it has no outside to judge
      // from. Its maps read the plane and turn it onto each face of the
      // solid, some of them mirrored, and the two-face and four-face nets
      // read the same face rows through the same map while their nets are
      // mirror images; which way a face turns is the map's, so it is judged
      // on the sphere as drawn.
      ++pictures;
      // Set up with their own net and map, as their output modes do.
      EXPECT_EQ(TrianglesTurningAgainstTheirPicture(code, kNetMethodFixed), 0);
    } else if (poly->map2Dto3D && SomeChordThroughTheCentre(poly.get())) {
      // The first rhombus's sectors are quarter spheres: the three corners
      // of each lie on one great circle (a pole and the front and back
      // points of the equator), so every chord lies in one plane through the
      // centre, and the two sectors of a hemisphere share their corners in
      // the same order while their nets are mirror images. No reading of
      // the corner points can tell their turns apart; the sphere as drawn
      // can.
      ++greatCircleChords;
      EXPECT_EQ(TrianglesTurningAgainstTheirPicture(code, kNetMethodFixed), 0);
    } else if (poly->map2Dto3D && poly->warpStyle != 0) {
      // The warp reads a sector's corners as centre, edge midpoint, corner,
      // so neighbouring sectors run opposite ways round in the net and on
      // the solid alike: what must hold is that each turns on the solid,
      // seen from outside, as it turns in the net (no sector mirrored).
      ++warped;
      EXPECT_EQ(FacesTurningAgainstTheirNet(poly.get()), 0);
    } else if (IsClosed(poly.get())) {
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
  EXPECT_GE(walked, 150);
  EXPECT_LT(open, walked / 4);
  // The star, ring and eighth nets that the warp reads, and the paperlock.
  EXPECT_GE(warped, 20);
  EXPECT_EQ(sheets, 1);
  // One face, two faces, the tetrahedron's four, the octahedron's eight on
  // the Reuleaux face and on the octahedron's.
  EXPECT_EQ(pictures, 5);
  // The first rhombus.
  EXPECT_EQ(greatCircleChords, 1);
  // On solids that have an outside the judge through the renderer agrees
  // with the one by their points: the icosahedron's net as laid by hand,
  // and a geodesic sphere as unfolded.
  EXPECT_EQ(TrianglesTurningAgainstTheirPicture(17, kNetMethodComputed), 0);
  EXPECT_EQ(TrianglesTurningAgainstTheirPicture(99, kNetMethodProcedural), 0);
}
