#include "setup_fixture.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>

#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/unfold.h"
#include "polyhedron/vertex_maps.h"
#include "support/poly_fixture.h"

namespace setup_fixture {
namespace {

struct P3 {
  double x, y, z;
};
using Faces = std::vector<std::vector<int32_t>>;

P3 Sub(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 Cross(P3 a, P3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 Unit(P3 a) {
  const double l = std::sqrt(Dot(a, a));
  return {a.x / l, a.y / l, a.z / l};
}

constexpr double kCoplanar = 1e-9;

// Faces of the convex hull of points that are all hull corners, each wound
// clockwise seen from outside (the corner normal then points outward and
// the flattened face runs counter-clockwise in the net).
Faces HullFaces(const std::vector<P3>& pts) {
  const int32_t n = int32_t(pts.size());
  std::set<std::vector<int32_t>> seen;
  Faces faces;
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = i + 1; j < n; ++j)
      for (int32_t k = j + 1; k < n; ++k) {
        P3 normal = Cross(Sub(pts[j], pts[i]), Sub(pts[k], pts[i]));
        if (Dot(normal, normal) < 1e-18) continue;
        normal = Unit(normal);
        double lo = 0.0, hi = 0.0;
        std::vector<int32_t> on;
        for (int32_t m = 0; m < n; ++m) {
          const double d = Dot(normal, Sub(pts[m], pts[i]));
          lo = std::min(lo, d);
          hi = std::max(hi, d);
          if (std::fabs(d) < kCoplanar) on.push_back(m);
        }
        if (lo < -kCoplanar && hi > kCoplanar) continue;
        if (!seen.insert(on).second) continue;
        if (hi > kCoplanar) normal = {-normal.x, -normal.y, -normal.z};
        P3 c{0, 0, 0};
        for (int32_t m : on) c = {c.x + pts[m].x, c.y + pts[m].y, c.z + pts[m].z};
        c = {c.x / double(on.size()), c.y / double(on.size()), c.z / double(on.size())};
        const P3 u = Unit(Sub(pts[on[0]], c));
        const P3 w = Cross(normal, u);
        auto angle = [&](int32_t m) { return std::atan2(Dot(Sub(pts[m], c), w), Dot(Sub(pts[m], c), u)); };
        std::sort(on.begin(), on.end(), [&](int32_t a, int32_t b) { return angle(a) > angle(b); });
        faces.push_back(on);
      }
  return faces;
}

std::vector<P3> IcosahedronPoints() {
  const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
  std::vector<P3> v;
  for (double a : {-1.0, 1.0})
    for (double b : {-phi, phi}) {
      v.push_back({0, a, b});
      v.push_back({a, b, 0});
      v.push_back({b, 0, a});
    }
  return v;
}

std::vector<P3> DodecahedronPoints() {
  const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
  std::vector<P3> v;
  for (double a : {-1.0, 1.0})
    for (double b : {-1.0, 1.0}) {
      for (double c : {-1.0, 1.0}) v.push_back({a, b, c});
      v.push_back({0, a / phi, b * phi});
      v.push_back({a / phi, b * phi, 0});
      v.push_back({b * phi, 0, a / phi});
    }
  return v;
}

// Each icosahedron edge (length 2) cut at its thirds.
std::vector<P3> TruncatedIcosahedronPoints() {
  const std::vector<P3> ico = IcosahedronPoints();
  std::vector<P3> v;
  for (size_t i = 0; i < ico.size(); ++i)
    for (size_t j = i + 1; j < ico.size(); ++j) {
      const P3 d = Sub(ico[j], ico[i]);
      if (std::fabs(Dot(d, d) - 4.0) > 1e-9) continue;
      v.push_back({ico[i].x + d.x / 3, ico[i].y + d.y / 3, ico[i].z + d.z / 3});
      v.push_back({ico[i].x + 2 * d.x / 3, ico[i].y + 2 * d.y / 3, ico[i].z + 2 * d.z / 3});
    }
  return v;
}

std::vector<P3> CubePoints() {
  std::vector<P3> v;
  for (int i = 0; i < 8; ++i) v.push_back({(i & 1) ? 0.5 : -0.5, (i & 2) ? 0.5 : -0.5, (i & 4) ? 0.5 : -0.5});
  return v;
}
const Faces kCubeFaces = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
constexpr int32_t kCubeTopFace = 1;

void AddSolid(polyhedron* poly, const std::vector<P3>& pts, const Faces& faces) {
  std::vector<Point3> points;
  for (const P3& p : pts) points.push_back({p.x, p.y, p.z});
  BuildSolid(poly, points, faces);
}

void AddSolid(polyhedron* poly, Solid solid) {
  switch (solid) {
    case Solid::Tetrahedron:
      AddSolid(poly, {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}, {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
      return;
    case Solid::Cube:
    case Solid::CappedCube:
      AddSolid(poly, CubePoints(), kCubeFaces);
      if (solid == Solid::CappedCube)
        for (int32_t e = 0; e < 4; ++e) forbid_joining(poly, kCubeTopFace, e);
      return;
    case Solid::Octahedron: {
      const std::vector<P3> v = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
      AddSolid(poly, v, HullFaces(v));
      return;
    }
    case Solid::Icosahedron:
      AddSolid(poly, IcosahedronPoints(), HullFaces(IcosahedronPoints()));
      return;
    case Solid::Dodecahedron:
      AddSolid(poly, DodecahedronPoints(), HullFaces(DodecahedronPoints()));
      return;
    case Solid::TruncatedIcosahedron:
      AddSolid(poly, TruncatedIcosahedronPoints(), HullFaces(TruncatedIcosahedronPoints()));
      return;
  }
}

// What the catalogue leaves of a static shape: the net's faces and points
// only, no link from a net face to its solid face and no 2D links.
void ForgetCorrespondence(polyhedron* poly) {
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    PolyFace& face = poly->faces[f];
    face.face3D = -1;
    face.cornerOffset = 0;
    face.fragment = 0;
    std::fill(std::begin(face.nbrFace2D), std::end(face.nbrFace2D), -1);
    std::fill(std::begin(face.nbrEdge2D), std::end(face.nbrEdge2D), -1);
  }
  std::fill(std::begin(poly->vert3DOf2D), std::end(poly->vert3DOf2D), kPolyNoVertex16);
  std::fill(std::begin(poly->vert3DOfVert2D), std::end(poly->vert3DOfVert2D), -1);
  poly->correspondenceGiven = 0;
  poly->fragmentCount = 0;
}

}  // namespace

const char* SolidName(Solid solid) {
  switch (solid) {
    case Solid::Tetrahedron:
      return "tetrahedron";
    case Solid::Cube:
      return "cube";
    case Solid::Octahedron:
      return "octahedron";
    case Solid::Icosahedron:
      return "icosahedron";
    case Solid::Dodecahedron:
      return "dodecahedron";
    case Solid::TruncatedIcosahedron:
      return "truncated icosahedron";
    case Solid::CappedCube:
      return "capped cube";
  }
  return "?";
}

const char* FormName(Form form) {
  switch (form) {
    case Form::Generated:
      return "generated";
    case Form::Static:
      return "static";
    case Form::Fixed:
      return "fixed";
  }
  return "?";
}

PolyPtr NewRecord(float aspect, float tabDepth) {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), aspect, tabDepth);
  WipeFaceInfo(p.get());
  getPolyStorageEtc(p.get(), nullptr, kPolyMax2DVerts, kPolyMaxFaces);
  p->exportPlanShape = -1;
  p->sphericalFlag = 1;
  p->bandCulling = 1;
  p->reattachFaceLimit = kPolyDefaultReattachFaceLimit;
  p->cramBounds[0] = p->cramBounds[2] = 999.0f;
  p->cramBounds[1] = p->cramBounds[3] = -999.0f;
  return p;
}

PolyPtr Load(Solid solid, Form form, float aspect, float tabDepth, std::vector<int16_t>* table) {
  PolyPtr p = NewRecord(aspect, tabDepth);
  AddSolid(p.get(), solid);
  Build2DNet(p.get());
  p->n2DVerts = std::min(FindHighest2DVert(p.get()) + 1, kPolyMax2DVerts);
  p->correspondenceGiven = 1;
  if (form == Form::Generated) return p;
  if (form == Form::Fixed && table) {
    table->assign(size_t(p->n2DVerts), -1);
    for (int32_t v = 0; v < p->n2DVerts; ++v) (*table)[size_t(v)] = int16_t(Vert_Index_2D_to_3D(p.get(), v));
  }
  ForgetCorrespondence(p.get());
  if (form == Form::Fixed && table) p->map2Dto3D = table->data();
  return p;
}

int32_t FaceTriangleCount(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t f = 0; f < poly->n2DFaces; ++f) n += std::max(poly->faces[f].n2D - 2, 0);
  return n;
}

int32_t GlueTabTriangles(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t t = 0; t < poly->nTriangles; ++t) n += poly->triangles[t].isTab && poly->triangles[t].face2D >= 0;
  return n;
}

int32_t CornerMarkTriangles(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t t = 0; t < poly->nTriangles; ++t) n += poly->triangles[t].isTab && poly->triangles[t].face2D < 0;
  return n;
}

int32_t SolidEdgeCount(const polyhedron* poly) {
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t k = 0; k < face.n3D; ++k) {
      const int32_t a = face.vert3D[k], b = face.vert3D[(k + 1) % face.n3D];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  }
  return int32_t(edges.size());
}

}  // namespace setup_fixture
