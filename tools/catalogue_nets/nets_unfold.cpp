#include "nets_unfold.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "polyhedron/nets/unfold.h"

namespace nets {

bool UnfoldIntoOneFragment(polyhedron* poly, std::string* why) {
  Build2DNet(poly);
  if (poly->errorCode != 0) {
    *why = "unfolding error " + std::to_string(poly->errorCode);
    return false;
  }
  if (poly->fragmentCount != 1 || poly->n2DFaces != poly->n3DFaces) {
    *why = std::to_string(poly->fragmentCount) + " fragments, " + std::to_string(poly->n2DFaces) + " of " +
           std::to_string(poly->n3DFaces) + " faces";
    return false;
  }
  return true;
}

Net NetByFace(const polyhedron* poly) {
  Net net;
  std::map<int32_t, int32_t> number;  // 2D slot -> point number
  for (int32_t k = 0; k < poly->n3DFaces; ++k) {
    const PolyFace& net3 = poly->faces[k];
    const PolyFace& face = poly->faces[net3.netFace];
    const int32_t n = face.n2D;
    // Net corner i shows solid corner (i + offset) mod n, so solid corner 0
    // is net corner (n - offset) mod n.
    const int32_t first = (n - face.cornerOffset % n) % n;
    std::vector<int32_t> row;
    for (int32_t t = 0; t < n; ++t) {
      const int32_t slot = face.vert2D[(first + t) % n];
      auto [it, added] = number.emplace(slot, int32_t(net.points.size()));
      if (added) net.points.push_back({poly->coords2D[slot][0], poly->coords2D[slot][1]});
      row.push_back(it->second);
    }
    net.rows.push_back(row);
    net.face3D.push_back(k);
    net.offset.push_back(0);
  }
  return net;
}

namespace {

using Vec3 = std::array<double, 3>;

Vec3 Point3(const CatalogueSolid& solid, int32_t v) {
  return {solid.coords3D[v][0], solid.coords3D[v][1], solid.coords3D[v][2]};
}
Vec3 Minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 Unit(const Vec3& a) {
  const double l = std::sqrt(Dot(a, a));
  return {a[0] / l, a[1] / l, a[2] / l};
}

// Outward unit normal of a face wound counter-clockwise seen from outside
// (Newell's sum, exact for flat faces).
Vec3 FaceNormal(const CatalogueSolid& solid, const std::vector<int32_t>& face) {
  Vec3 n{0, 0, 0};
  for (size_t k = 0; k < face.size(); ++k) {
    const Vec3 a = Point3(solid, face[k]), b = Point3(solid, face[(k + 1) % face.size()]);
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return Unit(n);
}

// Row j's corners placed from its corners `t` and `t + 1`, already placed:
// the solid face's own frame along that edge (u along it, w = normal x u)
// maps onto the net's (U along it, U turned a quarter counter-clockwise).
void HingeRow(const CatalogueSolid& solid, const std::vector<int32_t>& face, const Net& src, size_t j, size_t t,
              std::vector<std::array<double, 2>>* points) {
  const auto& row = src.rows[j];
  const size_t n = row.size();
  const size_t s = (t + size_t(src.offset[j])) % n;
  const Vec3 a = Point3(solid, face[s]);
  const Vec3 u = Unit(Minus(Point3(solid, face[(s + 1) % n]), a));
  const Vec3 w = Cross(FaceNormal(solid, face), u);
  const auto& pa = (*points)[size_t(row[t])];
  const auto& pb = (*points)[size_t(row[(t + 1) % n])];
  const double len = std::hypot(pb[0] - pa[0], pb[1] - pa[1]);
  const double ux = (pb[0] - pa[0]) / len, uy = (pb[1] - pa[1]) / len;
  for (size_t k = 2; k < n; ++k) {
    const size_t c = (t + k) % n;
    const Vec3 d = Minus(Point3(solid, face[(s + k) % n]), a);
    const double x = Dot(d, u), y = Dot(d, w);
    (*points)[size_t(row[c])] = {pa[0] + x * ux - y * uy, pa[1] + x * uy + y * ux};
  }
}

}  // namespace

void PlaceRowsExactly(const CatalogueSolid& solid, Net* net) {
  const auto faces = SolidFaces(solid);
  std::vector<std::array<double, 2>> points = net->points;
  std::vector<bool> placed(net->rows.size(), false);
  std::deque<size_t> queue{0};
  placed[0] = true;
  // The first row keeps its points: the unfolding lays its seed flat without
  // hinging.
  while (!queue.empty()) {
    const size_t i = queue.front();
    queue.pop_front();
    const auto& ri = net->rows[i];
    for (size_t j = 0; j < net->rows.size(); ++j) {
      if (placed[j]) continue;
      const auto& rj = net->rows[j];
      // A shared edge runs the other way in the neighbour.
      for (size_t t = 0; t < rj.size() && !placed[j]; ++t)
        for (size_t k = 0; k < ri.size(); ++k)
          if (ri[k] == rj[(t + 1) % rj.size()] && ri[(k + 1) % ri.size()] == rj[t]) {
            HingeRow(solid, faces[size_t(net->face3D[j])], *net, j, t, &points);
            placed[j] = true;
            queue.push_back(j);
            break;
          }
    }
  }
  if (std::find(placed.begin(), placed.end(), false) != placed.end()) {
    std::fprintf(stderr, "a row hangs from no other row\n");
    std::exit(1);
  }
  double xMin = points[0][0], yMin = points[0][1];
  for (const auto& p : points) {
    xMin = std::min(xMin, p[0]);
    yMin = std::min(yMin, p[1]);
  }
  for (auto& p : points) p = {p[0] - xMin, p[1] - yMin};
  net->points = points;
}

void CutAllEdgesBut(polyhedron* poly, const std::vector<std::array<int32_t, 2>>& hinges) {
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    PolyFace& face = poly->faces[f];
    for (int32_t e = 0; e < face.n3D; ++e) {
      const int32_t g = face.nbrFace3D[e];
      bool keep = false;
      for (const auto& h : hinges) keep = keep || (h[0] == f && h[1] == g) || (h[0] == g && h[1] == f);
      if (!keep) forbid_joining(poly, f, e);
    }
  }
}

void CompactPoints(Net* net) {
  std::vector<int32_t> number(net->points.size(), -1);
  std::vector<std::array<double, 2>> points;
  for (auto& row : net->rows)
    for (int32_t& v : row) {
      if (number[size_t(v)] < 0) {
        number[size_t(v)] = int32_t(points.size());
        points.push_back(net->points[size_t(v)]);
      }
      v = number[size_t(v)];
    }
  net->points = points;
}

}  // namespace nets
