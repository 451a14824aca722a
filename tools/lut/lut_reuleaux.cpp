#include "lut_reuleaux.h"

#include <cmath>

#include "lut_polygon.h"
#include "lut_polyhedra.h"

namespace lut {
namespace {

constexpr double kPi = 3.141592653589793;

struct Maps {
  FaceMap tetrahedron;
  FaceMap octahedron;
  SymmetricIntegral diskToTriangle;  // corners' prevertices at 1, w, w^2
  Corner triangleCorners[3];
};

const Maps& TheMaps() {
  static const Maps maps = [] {
    Maps m;
    m.tetrahedron = MakeFaceMap(Solid::Tetrahedron, 0.0);
    m.octahedron = MakeFaceMap(Solid::Octahedron, 0.0);
    m.diskToTriangle.n = 3;
    m.diskToTriangle.rings = 1;
    m.diskToTriangle.c[0] = 1.0;
    m.diskToTriangle.beta[0] = 2.0 / 3.0;
    m.diskToTriangle.scale = 1.0;
    const cplx rimMid = std::polar(1.0, kPi / 3.0);
    m.diskToTriangle.scale = FlatEdgeMidpoint(m.tetrahedron, 0) / IntegralTo(m.diskToTriangle, rimMid);
    for (int k = 0; k < 3; ++k) {
      m.triangleCorners[k] = {std::polar(1.0, 2.0 * kPi * k / 3.0), FlatCorner(m.tetrahedron, k), 2.0 / 3.0};
    }
    return m;
  }();
  return maps;
}

// Arc k joins the corners k and k+1; its circle is centred on corner k+2.
struct Arc {
  cplx centre;
  double radius;
};

Arc ArcOf(int k) {
  const FaceMap& tet = TheMaps().tetrahedron;
  const cplx a = tet.cornersStereo[k % 3], c = tet.cornersStereo[(k + 2) % 3];
  return {c, std::abs(a - c)};
}

// Mirrors p into the Reuleaux triangle through the arcs it lies beyond and
// lists them, the last crossed first.
int MirrorIn(cplx* p, int arcs[]) {
  int count = 0;
  for (;;) {
    int worst = -1;
    double excess = 1e-13;
    for (int k = 0; k < 3; ++k) {
      const Arc arc = ArcOf(k);
      const double beyond = std::abs(*p - arc.centre) / arc.radius - 1.0;
      if (beyond > excess) {
        excess = beyond;
        worst = k;
      }
    }
    if (worst < 0 || count == 4) return count;
    const Arc arc = ArcOf(worst);
    *p = arc.centre + arc.radius * arc.radius / std::conj(*p - arc.centre);
    arcs[count++] = worst;
  }
}

bool FlatPointOf(cplx p, cplx* flat, int arcs[], int* count) {
  *count = MirrorIn(&p, arcs);
  if (*count == 4) return false;
  *flat = IntegralTo(TheMaps().tetrahedron.flat, p);
  return true;
}

void MirrorSphereInEdge(const FaceMap& face, int k, double p[3]) {
  const double* a = face.corners3D[k];
  const double* b = face.corners3D[(k + 1) % 3];
  const double nrm[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const double nn = nrm[0] * nrm[0] + nrm[1] * nrm[1] + nrm[2] * nrm[2];
  const double d = (p[0] * nrm[0] + p[1] * nrm[1] + p[2] * nrm[2]) / nn;
  for (int i = 0; i < 3; ++i) p[i] -= 2.0 * d * nrm[i];
}

}  // namespace

ReuleauxSector TheReuleauxSector() {
  const double edgeAngle = std::acos(1.0 / std::sqrt(3.0));  // face centre to edge midpoint
  const double m = std::tan(edgeAngle / 2.0);
  return {0.0, std::polar(m, kPi / 3.0), cplx(m / std::cos(kPi / 3.0), 0.0)};
}

bool ReuleauxToDisk(cplx p, cplx* w) {
  cplx flat;
  int arcs[4], count;
  if (!FlatPointOf(p, &flat, arcs, &count)) return false;
  const Maps& maps = TheMaps();
  cplx disk;
  const bool ok = InvertIntegralNearCorners(maps.diskToTriangle, maps.triangleCorners, 3, flat, &disk);
  // The arc's mirror is the rim's mirror in the disk.
  for (int i = 0; i < count; ++i) disk = 1.0 / std::conj(disk);
  *w = disk;
  return ok;
}

bool ReuleauxToOctahedronFace(cplx p, double sphere[3]) {
  cplx flat;
  int arcs[4], count;
  if (!FlatPointOf(p, &flat, arcs, &count)) return false;
  const Maps& maps = TheMaps();
  if (!SpherePointOfFlatPoint(maps.octahedron, flat, sphere)) return false;
  for (int i = count - 1; i >= 0; --i) MirrorSphereInEdge(maps.octahedron, arcs[i], sphere);
  return true;
}

}  // namespace lut
