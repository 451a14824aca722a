#include "sphere_net_checks.h"

#include <algorithm>
#include <cmath>

#include "projection/nets/net_projection_core.h"
#include "projection/render_hint.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/catalogue.h"
#include "projection/inverse/stereographic.h"

namespace {

double Cross(const PolyVertex2D& o, const PolyVertex2D& a, const PolyVertex2D& b) {
  return double(a.x - o.x) * (b.y - o.y) - double(a.y - o.y) * (b.x - o.x);
}

// Some edge of one of the two triangles has the other wholly on its outer
// side (touching allowed).
bool Apart(const polyhedron* p, int32_t s, int32_t t, double slack) {
  for (int pass = 0; pass < 2; ++pass) {
    const NetTriangle& a = p->triangles[pass ? t : s];
    const NetTriangle& b = p->triangles[pass ? s : t];
    const PolyVertex2D* A[3] = {&p->verts2D[a.vert2D[0]], &p->verts2D[a.vert2D[1]], &p->verts2D[a.vert2D[2]]};
    const double sign = Cross(*A[0], *A[1], *A[2]) > 0 ? 1.0 : -1.0;
    for (int e = 0; e < 3; ++e) {
      bool allOut = true;
      for (int k = 0; k < 3 && allOut; ++k)
        allOut = sign * Cross(*A[e], *A[(e + 1) % 3], p->verts2D[b.vert2D[k]]) <= slack;
      if (allOut) return true;
    }
  }
  return false;
}

// The sphere point of barycentrics b in triangle t at net point (x, y), as
// the renderer makes it.
void SpherePoint(const polyhedron* p, int32_t t, const float b[3], double x, double y, float out[3],
                 Stretch stretch) {
  renderhinttype hint{};
  uint8_t outside = 0;
  DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(x), float(y), out, &outside, &hint);
  if (stretch == Stretch::kApplied && p->segmentStretch)
    SubstituteSphereSegment(out, p->segmentStretchAlpha, &outside);
}

// The point at s along the net edge from 2D vertex va to vb, as triangle t
// maps it.
void EdgePointOf(const polyhedron* p, int32_t t, int32_t va, int32_t vb, double s, float out[3],
                 Stretch stretch = Stretch::kApplied) {
  const NetTriangle& tri = p->triangles[t];
  float b[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    if (tri.vert2D[k] == va) b[k] = float(1.0 - s);
    if (tri.vert2D[k] == vb) b[k] = float(s);
  }
  const PolyVertex2D& a = p->verts2D[va];
  const PolyVertex2D& c = p->verts2D[vb];
  SpherePoint(p, t, b, a.x + s * (c.x - a.x), a.y + s * (c.y - a.y), out, stretch);
}

}  // namespace

PolyPtr LoadedShape(int32_t code) {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  ReadFaceInfo(p.get(), code, 0, nullptr, 1);
  return p;
}

testing::AssertionResult LoadsAsSectorNet(const polyhedron* p, int32_t faces, int32_t points2D) {
  if (p->errorCode != kPolyErrorNone) return testing::AssertionFailure() << "error " << p->errorCode;
  if (p->n3DFaces != faces || p->n2DFaces != faces || p->n2DVerts != points2D)
    return testing::AssertionFailure() << p->n3DFaces << " solid faces, " << p->n2DFaces << " net faces, "
                                       << p->n2DVerts << " net points";
  if (p->faces3DRows != nullptr) return testing::AssertionFailure() << "face rows";
  if (p->map2Dto3D == nullptr) return testing::AssertionFailure() << "no 2D-to-3D map";
  if (p->warpStyle != 1 || p->origamiTabOption != 1)
    return testing::AssertionFailure() << "warp " << p->warpStyle << ", tab option " << p->origamiTabOption;
  for (int32_t f = 0; f < faces; ++f) {
    if (p->faces[f].n2D != 3) return testing::AssertionFailure() << "face " << f << " has " << p->faces[f].n2D;
    for (int32_t j = 0; j < 3; ++j) {
      const int32_t v3 = p->map2Dto3D[p->faces[f].vert2D[j]];
      if (v3 < 0 || v3 >= p->n3DVerts)
        return testing::AssertionFailure() << "face " << f << " corner " << j << " names solid vertex " << v3;
    }
  }
  return testing::AssertionSuccess();
}

PolyPtr SetUpShape(int32_t code, int16_t method, float aspect) {
  PolyPtr p = NewPoly(aspect);
  SetUpReallyGeneralPolyhedron(p.get(), code, method, 0, 0.0, nullptr, 1);
  return p;
}

double AngleBetween(const float a[3], const float b[3]) {
  const double na = std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]);
  const double nb = std::sqrt(double(b[0]) * b[0] + double(b[1]) * b[1] + double(b[2]) * b[2]);
  const double d = (double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2]) / (na * nb);
  return std::acos(std::clamp(d, -1.0, 1.0));
}

bool ShownPoint(const polyhedron* p, int32_t t, const float b[3], float out[3], float* x, float* y) {
  const NetTriangle& tri = p->triangles[t];
  float px = 0, py = 0;
  for (int k = 0; k < 3; ++k) {
    px += b[k] * p->verts2D[tri.vert2D[k]].x;
    py += b[k] * p->verts2D[tri.vert2D[k]].y;
  }
  if (x) *x = px;
  if (y) *y = py;
  renderhinttype hint{};
  uint8_t outside = 0;
  DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, px, py, out, &outside, &hint);
  return outside == 0;
}

int32_t FaceTriangles(const polyhedron* p) {
  int32_t n = 0;
  while (n < p->nTriangles && !p->triangles[n].isTab) ++n;
  return n;
}

int32_t OverlappingFacePairs(const polyhedron* p, int32_t faces) {
  const double size = double(p->netBounds[1] - p->netBounds[0]);
  int32_t n = 0;
  for (int32_t s = 0; s < faces; ++s)
    for (int32_t t = s + 1; t < faces; ++t) n += !Apart(p, s, t, 1e-5 * size * size);
  return n;
}

SharedEdges CompareSharedEdges(const polyhedron* p, int32_t faces, Stretch stretch) {
  SharedEdges out;
  for (int32_t s = 0; s < faces; ++s)
    for (int32_t t = s + 1; t < faces; ++t)
      for (int e = 0; e < 3; ++e) {
        const int32_t va = p->triangles[s].vert2D[e], vb = p->triangles[s].vert2D[(e + 1) % 3];
        const int32_t* tv = p->triangles[t].vert2D;
        if (std::count(tv, tv + 3, va) == 0 || std::count(tv, tv + 3, vb) == 0) continue;
        ++out.count;
        for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
          float a[3], b[3];
          EdgePointOf(p, s, va, vb, f, a, stretch);
          EdgePointOf(p, t, va, vb, f, b, stretch);
          out.worstAngle = std::max(out.worstAngle, AngleBetween(a, b));
        }
      }
  return out;
}

int32_t NetHandedness(const polyhedron* p, int32_t faces, const HandednessProbe& probe) {
  int32_t sign = 0;
  for (int32_t t = 0; t < faces; ++t) {
    if (p->triangles[t].isTab) continue;
    double d[3][3], xy[3][2];
    for (int k = 0; k < 3; ++k) {
      const float* b = probe.inner[k];
      double x = 0, y = 0;
      for (int j = 0; j < 3; ++j) {
        x += b[j] * p->verts2D[p->triangles[t].vert2D[j]].x;
        y += b[j] * p->verts2D[p->triangles[t].vert2D[j]].y;
      }
      renderhinttype hint{};
      uint8_t outside = 0;
      float q[3];
      DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(x), float(y), q, &outside, &hint);
      if (probe.mustBeShown && outside != 0) return 0;
      for (int j = 0; j < 3; ++j) d[k][j] = q[j];
      xy[k][0] = x;
      xy[k][1] = y;
    }
    const double turn = (xy[1][0] - xy[0][0]) * (xy[2][1] - xy[0][1]) - (xy[1][1] - xy[0][1]) * (xy[2][0] - xy[0][0]);
    const double det = d[0][0] * (d[1][1] * d[2][2] - d[1][2] * d[2][1]) -
                       d[0][1] * (d[1][0] * d[2][2] - d[1][2] * d[2][0]) +
                       d[0][2] * (d[1][0] * d[2][1] - d[1][1] * d[2][0]);
    const int32_t s = turn * det > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return 0;
    sign = s;
  }
  return sign;
}

SkyReach MeasureSky(const polyhedron* p, int32_t faces) {
  double top = -1e9, bottom = 1e9;
  for (int32_t t = 0; t < faces; ++t)
    for (int k = 0; k < 3; ++k) {
      top = std::max(top, double(p->verts2D[p->triangles[t].vert2D[k]].y));
      bottom = std::min(bottom, double(p->verts2D[p->triangles[t].vert2D[k]].y));
    }
  const double tolerance = 1e-5 * (top - bottom);
  SkyReach r;
  for (int32_t t = 0; t < faces; ++t)
    for (int k = 0; k < 3; ++k) {
      const int32_t va = p->triangles[t].vert2D[k], vb = p->triangles[t].vert2D[(k + 1) % 3];
      for (int i = 0; i <= 64; ++i) {
        const double s = i / 64.0;
        const double y = p->verts2D[va].y + s * (p->verts2D[vb].y - p->verts2D[va].y);
        float q[3];
        EdgePointOf(p, t, va, vb, s, q);
        const double n = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2]);
        const double up = -q[1] / n;
        if (y > top - tolerance) r.skyAtTop = std::max(r.skyAtTop, up);
        if (y < bottom + tolerance) r.groundAtBottom = std::max(r.groundAtBottom, -up);
        if (y < (top + bottom) / 2 - tolerance) r.skyInLowerHalf = std::max(r.skyInLowerHalf, up);
      }
    }
  return r;
}
