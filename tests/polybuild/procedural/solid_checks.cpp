#include "solid_checks.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

namespace {

using Vec = std::array<double, 3>;
using Poly2 = std::vector<std::pair<double, double>>;

Vec P3(const polyhedron* poly, int32_t v) { return {poly->coords3D[v][0], poly->coords3D[v][1], poly->coords3D[v][2]}; }

Vec Newell(const polyhedron* poly, const PolyFace& f) {
  Vec n{0, 0, 0};
  for (int32_t i = 0; i < f.n3D; ++i) {
    const Vec a = P3(poly, f.vert3D[i]), b = P3(poly, f.vert3D[(i + 1) % f.n3D]);
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return n;
}

double Norm(const Vec& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
double Dist(const Vec& a, const Vec& b) { return Norm({a[0] - b[0], a[1] - b[1], a[2] - b[2]}); }

std::set<int32_t> UsedVertices(const polyhedron* poly) {
  std::set<int32_t> used;
  for (int32_t f = 0; f < poly->n3DFaces; ++f)
    for (int32_t i = 0; i < poly->faces[f].n3D; ++i) used.insert(poly->faces[f].vert3D[i]);
  return used;
}

double SignedArea2(const Poly2& p) {
  double s = 0.0;
  for (size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[i];
    const auto& b = p[(i + 1) % p.size()];
    s += a.first * b.second - b.first * a.second;
  }
  return s;
}

// Sutherland-Hodgman: the part of `subject` on the left of every edge of the
// convex counter-clockwise `clip`.
double ConvexOverlapArea(const Poly2& subject, const Poly2& clip) {
  Poly2 out = subject;
  for (size_t i = 0; i < clip.size() && !out.empty(); ++i) {
    const auto a = clip[i], b = clip[(i + 1) % clip.size()];
    auto side = [&](const std::pair<double, double>& p) {
      return (b.first - a.first) * (p.second - a.second) - (b.second - a.second) * (p.first - a.first);
    };
    Poly2 in = out;
    out.clear();
    for (size_t j = 0; j < in.size(); ++j) {
      const auto p = in[j], q = in[(j + 1) % in.size()];
      const double sp = side(p), sq = side(q);
      if (sp >= 0) out.push_back(p);
      if ((sp >= 0) != (sq >= 0)) {
        const double t = sp / (sp - sq);
        out.push_back({p.first + t * (q.first - p.first), p.second + t * (q.second - p.second)});
      }
    }
  }
  return out.size() < 3 ? 0.0 : std::fabs(SignedArea2(out)) / 2.0;
}

Poly2 NetPolygon(const polyhedron* poly, int32_t face) {
  Poly2 p;
  const PolyFace& f = poly->faces[face];
  for (int32_t i = 0; i < f.n2D; ++i) p.push_back({poly->coords2D[f.vert2D[i]][0], poly->coords2D[f.vert2D[i]][1]});
  if (SignedArea2(p) < 0) std::reverse(p.begin(), p.end());
  return p;
}

}  // namespace

ProcPolyPtr NewGeneratorRecord() {
  ProcPolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.0f);
  WipeFaceInfo(p.get());
  return p;
}

SolidCounts CountSolid(const polyhedron* poly) {
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t i = 0; i < face.n3D; ++i) {
      const int32_t a = face.vert3D[i], b = face.vert3D[(i + 1) % face.n3D];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  }
  return {int32_t(UsedVertices(poly).size()), int32_t(edges.size()), poly->n3DFaces};
}

testing::AssertionResult IsClosed(const polyhedron* poly) {
  std::map<std::pair<int32_t, int32_t>, int32_t> directed;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t i = 0; i < face.n3D; ++i) ++directed[{face.vert3D[i], face.vert3D[(i + 1) % face.n3D]}];
  }
  for (const auto& [edge, count] : directed) {
    if (count != 1) return testing::AssertionFailure() << "edge " << edge.first << "-" << edge.second << " used " << count << " times one way";
    auto reverse = directed.find({edge.second, edge.first});
    if (reverse == directed.end())
      return testing::AssertionFailure() << "edge " << edge.first << "-" << edge.second << " has no partner";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult EulerHolds(const polyhedron* poly) {
  const SolidCounts c = CountSolid(poly);
  if (c.vertices - c.edges + c.faces == 2) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "V " << c.vertices << " E " << c.edges << " F " << c.faces;
}

testing::AssertionResult FacesArePlanar(const polyhedron* poly, double tol) {
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    Vec n = Newell(poly, face);
    const double len = Norm(n);
    for (double& c : n) c /= len;
    const Vec p0 = P3(poly, face.vert3D[0]);
    for (int32_t i = 1; i < face.n3D; ++i) {
      const Vec p = P3(poly, face.vert3D[i]);
      const double d = (p[0] - p0[0]) * n[0] + (p[1] - p0[1]) * n[1] + (p[2] - p0[2]) * n[2];
      if (std::fabs(d) > tol) return testing::AssertionFailure() << "face " << f << " corner " << i << " off by " << d;
    }
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult NoDegenerateFaces(const polyhedron* poly) {
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.n3D < 3) return testing::AssertionFailure() << "face " << f << " has " << face.n3D << " corners";
    std::set<int32_t> corners(face.vert3D, face.vert3D + face.n3D);
    if (int32_t(corners.size()) != face.n3D) return testing::AssertionFailure() << "face " << f << " repeats a corner";
    if (Norm(Newell(poly, face)) < 1e-10) return testing::AssertionFailure() << "face " << f << " has no area";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult FacesPointOutward(const polyhedron* poly) {
  Vec c{0, 0, 0};
  const std::set<int32_t> used = UsedVertices(poly);
  for (int32_t v : used)
    for (int k = 0; k < 3; ++k) c[k] += poly->coords3D[v][k] / double(used.size());
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    const Vec n = Newell(poly, face);
    Vec m{0, 0, 0};
    for (int32_t i = 0; i < face.n3D; ++i)
      for (int k = 0; k < 3; ++k) m[k] += poly->coords3D[face.vert3D[i]][k] / face.n3D;
    const double d = n[0] * (m[0] - c[0]) + n[1] * (m[1] - c[1]) + n[2] * (m[2] - c[2]);
    if (d <= 0) return testing::AssertionFailure() << "face " << f << " faces inward";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult VerticesOnSphere(const polyhedron* poly, double r, double tol) {
  for (int32_t v : UsedVertices(poly)) {
    const double d = Norm(P3(poly, v));
    if (std::fabs(d - r) > tol) return testing::AssertionFailure() << "vertex " << v << " at radius " << d;
  }
  return testing::AssertionSuccess();
}

bool QconvexAvailable() { return std::system("command -v qconvex >/dev/null 2>&1") == 0; }

std::vector<std::set<int32_t>> QconvexFacets(const polyhedron* poly) {
  std::vector<std::set<int32_t>> facets;
  if (!QconvexAvailable()) return facets;
  const std::set<int32_t> usedSet = UsedVertices(poly);
  const std::vector<int32_t> used(usedSet.begin(), usedSet.end());
  char path[] = "/tmp/procsolids_hullXXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return facets;
  close(fd);
  {
    std::ofstream out(path);
    out.precision(17);
    out << "3\n" << used.size() << "\n";
    for (int32_t v : used) out << poly->coords3D[v][0] << " " << poly->coords3D[v][1] << " " << poly->coords3D[v][2] << "\n";
  }
  const std::string command = std::string("qconvex Fv < ") + path + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe) {
    std::string text;
    char buffer[4096];
    while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    pclose(pipe);
    std::istringstream in(text);
    int32_t count = 0;
    in >> count;
    for (int32_t i = 0; i < count; ++i) {
      int32_t k = 0;
      in >> k;
      std::set<int32_t> facet;
      for (int32_t j = 0; j < k; ++j) {
        int32_t index = 0;
        in >> index;
        facet.insert(used[size_t(index)]);
      }
      facets.push_back(facet);
    }
  }
  std::remove(path);
  return facets;
}

testing::AssertionResult MatchesHull(const polyhedron* poly) {
  const std::vector<std::set<int32_t>> hull = QconvexFacets(poly);
  if (hull.empty()) return testing::AssertionFailure() << "qconvex (Debian qhull-bin) gave no facets";
  // qconvex merges coplanar faces into one facet (a flat cap fanned into
  // triangles): every face must lie in one facet, and the faces in a facet
  // must cover all its vertices.
  std::vector<std::set<int32_t>> covered(hull.size());
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    size_t home = hull.size();
    for (size_t h = 0; h < hull.size() && home == hull.size(); ++h) {
      bool inside = true;
      for (int32_t i = 0; i < face.n3D && inside; ++i) inside = hull[h].count(face.vert3D[i]) != 0;
      if (inside) home = h;
    }
    if (home == hull.size()) return testing::AssertionFailure() << "face " << f << " lies in no hull facet";
    covered[home].insert(face.vert3D, face.vert3D + face.n3D);
  }
  for (size_t h = 0; h < hull.size(); ++h)
    if (covered[h] != hull[h]) return testing::AssertionFailure() << "hull facet " << h << " is not made of faces";
  return testing::AssertionSuccess();
}

testing::AssertionResult NetIsSoundFor(const polyhedron* poly, double tol, bool checkOverlap, bool scaledFragments) {
  // Scale of each fragment: its net edge lengths over its solid edge lengths.
  std::map<int32_t, std::pair<double, double>> sums;
  auto netLength = [&](const PolyFace& face, int32_t i, int32_t j) {
    const auto* a = poly->coords2D[face.vert2D[i]];
    const auto* b = poly->coords2D[face.vert2D[j]];
    return std::hypot(a[0] - b[0], a[1] - b[1]);
  };
  auto solidLength = [&](const PolyFace& face, int32_t i, int32_t j) {
    const PolyFace& solid = poly->faces[face.face3D];
    const int32_t ci = (i + face.cornerOffset) % solid.n3D, cj = (j + face.cornerOffset) % solid.n3D;
    return Dist(P3(poly, solid.vert3D[ci]), P3(poly, solid.vert3D[cj]));
  };
  if (scaledFragments) {
    for (int32_t g = 0; g < poly->n2DFaces; ++g) {
      const PolyFace& face = poly->faces[g];
      if (face.face3D < 0 || face.face3D >= poly->n3DFaces) continue;
      for (int32_t i = 0; i < face.n2D; ++i) {
        sums[face.fragment].first += netLength(face, i, (i + 1) % face.n2D);
        sums[face.fragment].second += solidLength(face, i, (i + 1) % face.n2D);
      }
    }
  }
  if (poly->errorCode != kPolyErrorNone) return testing::AssertionFailure() << "error " << poly->errorCode;
  std::vector<int32_t> shown(size_t(poly->n3DFaces), 0);
  std::vector<Poly2> polys;
  std::vector<std::array<double, 4>> boxes;
  for (int32_t g = 0; g < poly->n2DFaces; ++g) {
    const PolyFace& face = poly->faces[g];
    const int32_t f3 = face.face3D;
    if (f3 < 0 || f3 >= poly->n3DFaces) return testing::AssertionFailure() << "net face " << g << " shows no face";
    ++shown[size_t(f3)];
    const PolyFace& solid = poly->faces[f3];
    if (face.n2D != solid.n3D) return testing::AssertionFailure() << "net face " << g << " corner count";
    // Corner j of the net face lies on corner j + offset of the solid face:
    // every distance between corners must agree.
    const double scale = scaledFragments ? sums[face.fragment].first / sums[face.fragment].second : 1.0;
    for (int32_t i = 0; i < face.n2D; ++i)
      for (int32_t j = i + 1; j < face.n2D; ++j) {
        const double d2 = netLength(face, i, j);
        const double d3 = scale * solidLength(face, i, j);
        if (std::fabs(d2 - d3) > tol * std::max(1.0, d3))
          return testing::AssertionFailure() << "net face " << g << " corners " << i << "," << j << ": " << d2 << " vs " << d3;
      }
    polys.push_back(NetPolygon(poly, g));
    std::array<double, 4> box{1e300, -1e300, 1e300, -1e300};
    for (auto& p : polys.back()) {
      box[0] = std::min(box[0], p.first), box[1] = std::max(box[1], p.first);
      box[2] = std::min(box[2], p.second), box[3] = std::max(box[3], p.second);
    }
    boxes.push_back(box);
  }
  for (int32_t f = 0; f < poly->n3DFaces; ++f)
    if (shown[size_t(f)] != 1) return testing::AssertionFailure() << "solid face " << f << " shown " << shown[size_t(f)] << " times";
  if (!checkOverlap) return testing::AssertionSuccess();
  // Sorted by left edge, so each face is clipped only against those whose
  // boxes can reach it.
  std::vector<size_t> order(polys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return boxes[a][0] < boxes[b][0]; });
  for (size_t ii = 0; ii < order.size(); ++ii) {
    const size_t i = order[ii];
    const double area = std::fabs(SignedArea2(polys[i])) / 2.0;
    for (size_t jj = ii + 1; jj < order.size(); ++jj) {
      const size_t j = order[jj];
      if (boxes[j][0] >= boxes[i][1]) break;
      if (boxes[j][2] >= boxes[i][3] || boxes[i][2] >= boxes[j][3]) continue;
      const double overlap = ConvexOverlapArea(polys[i], polys[j]);
      const double other = std::fabs(SignedArea2(polys[j])) / 2.0;
      if (overlap > 1e-9 * std::max(1.0, std::max(area, other)) && overlap > 1e-7 * std::min(area, other))
        return testing::AssertionFailure() << "net faces " << i << " and " << j << " overlap by " << overlap;
    }
  }
  return testing::AssertionSuccess();
}
