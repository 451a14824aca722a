#include "net_checks.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"

namespace {

// Net faces lie within single-precision hinging of their solid faces.
constexpr double kLengthTolerance = 2e-5;
constexpr double kAngleTolerance = 2e-5;
// Faces that only share edges or corners overlap by rounding at most.
constexpr double kOverlapTolerance = 1e-9;

struct P2 {
  double x, y;
};

double Cross(P2 o, P2 a, P2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

double Length3D(const polyhedron* p, int32_t a, int32_t b) {
  double pa[3], pb[3];
  grab_coordinates3D_into_vector3D(a, p, pa);
  grab_coordinates3D_into_vector3D(b, p, pb);
  return std::sqrt((pa[0] - pb[0]) * (pa[0] - pb[0]) + (pa[1] - pb[1]) * (pa[1] - pb[1]) +
                   (pa[2] - pb[2]) * (pa[2] - pb[2]));
}

double Angle3D(const polyhedron* p, int32_t prev, int32_t at, int32_t next) {
  double a[3], b[3], c[3];
  grab_coordinates3D_into_vector3D(prev, p, a);
  grab_coordinates3D_into_vector3D(at, p, b);
  grab_coordinates3D_into_vector3D(next, p, c);
  double u[3], v[3];
  for (int i = 0; i < 3; ++i) {
    u[i] = a[i] - b[i];
    v[i] = c[i] - b[i];
  }
  const double dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
  const double nu = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  const double nv = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return std::acos(std::clamp(dot / (nu * nv), -1.0, 1.0));
}

double Angle2D(std::pair<double, double> prev, std::pair<double, double> at, std::pair<double, double> next) {
  const double ux = prev.first - at.first, uy = prev.second - at.second;
  const double vx = next.first - at.first, vy = next.second - at.second;
  return std::acos(std::clamp((ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy)), -1.0, 1.0));
}

testing::AssertionResult FaceIsCongruent(const polyhedron* p, int32_t j) {
  const PolyFace& net = p->faces[j];
  const int32_t F = net.face3D;
  const int32_t n = net.n2D;
  if (F < 0 || F >= p->n3DFaces || p->faces[F].n3D != n)
    return testing::AssertionFailure() << "net face " << j << " shows solid face " << F;
  const Polygon2D poly = NetFacePolygon(p, j);
  if (SignedArea2(poly) <= 0) return testing::AssertionFailure() << "net face " << j << " runs clockwise";
  const PolyFace& solid = p->faces[F];
  for (int32_t c = 0; c < n; ++c) {
    const int32_t c3 = (c + net.cornerOffset) % n;
    const int32_t next = (c + 1) % n, prev = (c + n - 1) % n;
    const double l2 = std::hypot(poly[size_t(next)].first - poly[size_t(c)].first,
                                 poly[size_t(next)].second - poly[size_t(c)].second);
    const double l3 = Length3D(p, solid.vert3D[c3], solid.vert3D[(c3 + 1) % n]);
    if (std::fabs(l2 - l3) > kLengthTolerance)
      return testing::AssertionFailure() << "net face " << j << " edge " << c << ": " << l2 << " vs " << l3;
    const double a2 = Angle2D(poly[size_t(prev)], poly[size_t(c)], poly[size_t(next)]);
    const double a3 = Angle3D(p, solid.vert3D[(c3 + n - 1) % n], solid.vert3D[c3], solid.vert3D[(c3 + 1) % n]);
    if (std::fabs(a2 - a3) > kAngleTolerance)
      return testing::AssertionFailure() << "net face " << j << " corner " << c << ": " << a2 << " vs " << a3;
    const int32_t v = net.vert2D[c];
    if (int32_t(p->vert3DOf2D[v]) != solid.vert3D[c3])
      return testing::AssertionFailure() << "net vertex " << v << " caches 3D vertex " << p->vert3DOf2D[v]
                                         << ", its corner shows " << solid.vert3D[c3];
  }
  return testing::AssertionSuccess();
}

// Net edge e of face j is joined to face g: the same two 2D vertices run the
// other way in g, and behind them lies one uncut solid edge between the two
// solid faces.
testing::AssertionResult LinkIsSound(const polyhedron* p, int32_t j, int32_t e) {
  const PolyFace& net = p->faces[j];
  const int32_t g = net.nbrFace2D[e], ge = net.nbrEdge2D[e];
  const PolyFace& other = p->faces[g];
  const int32_t n = net.n2D, ng = other.n2D;
  if (other.vert2D[ge] != net.vert2D[e] || other.vert2D[(ge + ng - 1) % ng] != net.vert2D[(e + 1) % n])
    return testing::AssertionFailure() << "net link " << j << ":" << e << " does not share its vertices";
  const int32_t F = net.face3D, c = (e + net.cornerOffset) % n;
  if (p->faces[F].nbrFace3D[c] != other.face3D)
    return testing::AssertionFailure() << "net link " << j << ":" << e << " joins solid faces " << F << " and "
                                       << other.face3D << " that are not neighbours there";
  if (p->faces[F].edgeFlags3D[c] & kEdgeFlagCut)
    return testing::AssertionFailure() << "net link " << j << ":" << e << " crosses a cut edge";
  return testing::AssertionSuccess();
}

}  // namespace

Polygon2D NetFacePolygon(const polyhedron* poly, int32_t face2D) {
  Polygon2D out;
  const PolyFace& f = poly->faces[face2D];
  for (int32_t c = 0; c < f.n2D; ++c) {
    double x, y;
    grab_coordinates2DD(f.vert2D[c], poly, &x, &y);
    out.push_back({x, y});
  }
  return out;
}

double SignedArea2(const Polygon2D& p) {
  double s = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[i];
    const auto& b = p[(i + 1) % p.size()];
    s += a.first * b.second - a.second * b.first;
  }
  return s;
}

double ConvexOverlapArea(const Polygon2D& a, const Polygon2D& b) {
  std::vector<P2> out;
  for (const auto& q : a) out.push_back({q.first, q.second});
  for (size_t i = 0; i < b.size() && !out.empty(); ++i) {
    const P2 e0{b[i].first, b[i].second};
    const P2 e1{b[(i + 1) % b.size()].first, b[(i + 1) % b.size()].second};
    std::vector<P2> in;
    in.swap(out);
    for (size_t k = 0; k < in.size(); ++k) {
      const P2 cur = in[k], nxt = in[(k + 1) % in.size()];
      const double dc = Cross(e0, e1, cur), dn = Cross(e0, e1, nxt);
      if (dc >= 0) out.push_back(cur);
      if ((dc >= 0) != (dn >= 0)) {
        const double t = dc / (dc - dn);
        out.push_back({cur.x + t * (nxt.x - cur.x), cur.y + t * (nxt.y - cur.y)});
      }
    }
  }
  double s = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const P2 p = out[i], q = out[(i + 1) % out.size()];
    s += p.x * q.y - p.y * q.x;
  }
  return std::fabs(s) / 2;
}

testing::AssertionResult NetIsSound(const polyhedron* p) {
  if (p->errorCode != 0) return testing::AssertionFailure() << "error " << p->errorCode;
  if (p->n2DFaces != p->n3DFaces)
    return testing::AssertionFailure() << p->n2DFaces << " net faces for " << p->n3DFaces << " solid faces";
  if (p->fragmentCount < 1 || p->fragmentCount > kPolyMaxFragments)
    return testing::AssertionFailure() << p->fragmentCount << " fragments";
  int32_t counted = 0;
  for (int32_t k = 1; k <= p->fragmentCount; ++k) counted += p->fragmentFaceCount[k];
  if (counted != p->n2DFaces) return testing::AssertionFailure() << "fragment face counts sum to " << counted;
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    const int32_t j = p->faces[f].netFace;
    if (j < 0 || p->faces[j].face3D != f) return testing::AssertionFailure() << "solid face " << f << " not shown";
    if (p->faces[j].fragment < 1 || p->faces[j].fragment > p->fragmentCount)
      return testing::AssertionFailure() << "net face " << j << " in fragment " << p->faces[j].fragment;
  }
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    if (auto r = FaceIsCongruent(p, j); !r) return r;
    for (int32_t e = 0; e < p->faces[j].n2D; ++e)
      if (p->faces[j].nbrFace2D[e] >= 0)
        if (auto r = LinkIsSound(p, j, e); !r) return r;
  }
  std::vector<Polygon2D> polygons;
  for (int32_t j = 0; j < p->n2DFaces; ++j) polygons.push_back(NetFacePolygon(p, j));
  for (size_t a = 0; a < polygons.size(); ++a)
    for (size_t b = a + 1; b < polygons.size(); ++b) {
      const double area = ConvexOverlapArea(polygons[a], polygons[b]);
      if (area > kOverlapTolerance)
        return testing::AssertionFailure() << "net faces " << a << " and " << b << " overlap by " << area;
    }
  return testing::AssertionSuccess();
}

void CopyAsStaticNet(const polyhedron* from, polyhedron* to, uint32_t seed, std::vector<int32_t>* shuffledOf,
                     std::vector<int32_t>* turnOf) {
  uint32_t state = seed;
  auto next = [&state](uint32_t n) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % n;
  };
  double(*coords3D)[3] = MutableCoords3D(to);
  for (int32_t v = 0; v < from->n3DVerts; ++v)
    for (int k = 0; k < 3; ++k) coords3D[v][k] = from->coords3D[v][k];
  to->n3DVerts = from->n3DVerts;
  to->n3DFaces = from->n3DFaces;
  to->n2DFaces = from->n2DFaces;
  for (int32_t f = 0; f < from->n3DFaces; ++f) {
    PolyFace& dst = to->faces[f];
    dst.n3D = from->faces[f].n3D;
    for (int32_t c = 0; c < dst.n3D; ++c) dst.vert3D[c] = from->faces[f].vert3D[c];
  }

  // 2D vertices renumbered by a shuffled map.
  std::vector<int32_t> used;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v)
    if (from->vert2DUsed[v]) used.push_back(v);
  std::vector<int32_t> renumber(size_t(kPolyMax2DVerts), -1);
  std::vector<int32_t> order(used.size());
  std::iota(order.begin(), order.end(), 0);
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[next(uint32_t(i))]);
  for (size_t i = 0; i < used.size(); ++i) {
    const int32_t v = used[i], w = order[i];
    renumber[size_t(v)] = w;
    Set2DPoint(w, DPoint{from->coords2D[v][0], from->coords2D[v][1], -1, from->fragmentOf2D[v], w, 1}, to);
  }

  shuffledOf->resize(size_t(from->n2DFaces));
  std::iota(shuffledOf->begin(), shuffledOf->end(), 0);
  for (size_t i = shuffledOf->size(); i > 1; --i) std::swap((*shuffledOf)[i - 1], (*shuffledOf)[next(uint32_t(i))]);
  turnOf->assign(size_t(from->n2DFaces), 0);
  for (int32_t j = 0; j < from->n2DFaces; ++j) {
    const PolyFace& src = from->faces[(*shuffledOf)[size_t(j)]];
    const int32_t n = src.n2D, turn = int32_t(next(uint32_t(n)));
    (*turnOf)[size_t(j)] = turn;
    PolyFace& dst = to->faces[j];
    dst.n2D = n;
    dst.fragment = src.fragment;
    for (int32_t c = 0; c < n; ++c) dst.vert2D[c] = renumber[size_t(src.vert2D[(c + turn) % n])];
  }
  Calc3DAngles(to);
  Build3DConnectivity(to);
  Build2DConnectivityCompletelyFromScratch(to, to->n2DFaces);
  Calc2DAnglesAroundFaces(to);
}
