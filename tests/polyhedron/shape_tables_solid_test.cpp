// The exact and purpose-made static shapes, read straight from their
// tables: the counts of the shape list, flat solid faces wound outward,
// every net face congruent to the solid face it folds onto and apart from
// the others, closed surfaces where the shape is one, and the hulls against
// qconvex.
#include "polyhedron/tables/shape_tables_solid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "net_checks.h"
#include "polyhedron/catalogue_nets.h"

namespace {

using Vec = std::array<double, 3>;
using Row = std::vector<int32_t>;  // 0-based

Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }

enum class Solid {
  Closed,          // a closed convex solid round the origin
  Open,            // part of a convex solid's surface, wound outward
  Sheet,           // a flat map sheet in z = 0 with v downwards: faces wound clockwise seen from +z
  Dodecahedral,    // triangles in the dodecahedron's faces, each listed (centre, midpoint, corner)
  CutDodecahedron  // faces in the dodecahedron's faces, wound outward, leaving notches
};

struct Family {
  const char* name;
  const double (*coords2D)[2];
  int32_t points2D;
  const int16_t* rows2D;
  int32_t rows2DLength;
  const double (*coords3D)[3];
  int32_t vertices3D;
  const int16_t* rows3D;  // null: the solid face is the map of the net face
  int32_t rows3DLength;
  bool rowsPaired;     // net row k folds onto solid row k, corner for corner
  const int16_t* map;  // null: no map
  int32_t faces;
  std::set<int32_t> cornerKinds;
  int32_t emptyRows;
  bool mirrored;  // stored mirrored in x, drawn as (-x, y, z)
  Solid solid;
  int32_t joinedEdges = -1;  // edges two faces share, for a cut dodecahedron
};

#define TABLE2D(f) f##_Coords2D, int32_t(std::size(f##_Coords2D)), f##_Faces2D, int32_t(std::size(f##_Faces2D))
#define TABLE3D(f) f##_Coords3D, int32_t(std::size(f##_Coords3D))

// Face counts, corner kinds and point counts as the shape list gives them.
const Family kFamilies[] = {
    {"conformal_dodecahedron", TABLE2D(conformal_dodecahedron), TABLE3D(conformal_dodecahedron),
     conformal_dodecahedron_Faces3D, int32_t(std::size(conformal_dodecahedron_Faces3D)), true,
     conformal_dodecahedron_2D_to_3D, 120, {3}, 0, false, Solid::Dodecahedral},
    // The dodecahedron's 30 edges and the decagons' 60 long sides.
    {"dodo", TABLE2D(dodo), TABLE3D(dodo), dodo_Faces3D, int32_t(std::size(dodo_Faces3D)), true, nullptr, 72, {4, 10},
     0, false, Solid::CutDodecahedron, 90},
    // Within each face 20 (five round the centre, ten between the halves of
    // the cells, five between cells); across the dodecahedron's edges the
    // twelve halves that no cut point splits.
    {"GID", TABLE2D(GID), TABLE3D(GID), GID_Faces3D, int32_t(std::size(GID_Faces3D)), true, nullptr, 132, {4, 5}, 0,
     false, Solid::CutDodecahedron, 252},
    {"FiveTets", TABLE2D(FiveTets), TABLE3D(FiveTets), FiveTets_Faces3D, int32_t(std::size(FiveTets_Faces3D)), false,
     nullptr, 60, {5}, 0, false, Solid::Closed},
    {"Jewel", TABLE2D(Jewel), TABLE3D(Jewel), Jewel_Faces3D, int32_t(std::size(Jewel_Faces3D)), false, nullptr, 6,
     {3}, 2, false, Solid::Closed},
    {"beanbag", TABLE2D(beanbag), TABLE3D(beanbag), nullptr, 0, false, beanbag_2D_to_3D, 4, {3}, 0, false,
     Solid::Closed},
    {"Box", TABLE2D(Box), TABLE3D(Box), nullptr, 0, false, Box_2D_to_3D, 3, {4}, 0, false, Solid::Open},
    {"Balloon", TABLE2D(Balloon), TABLE3D(Balloon), nullptr, 0, false, Balloon_2D_to_3D, 33, {3, 4}, 0, true,
     Solid::Closed},
    {"paperlock", TABLE2D(paperlock), TABLE3D(paperlock), nullptr, 0, false, paperlock_2D_to_3D, 13, {3, 4}, 0, true,
     Solid::Sheet},
};

struct ShapeListCounts {
  const char* name;
  int32_t points2D;
  int32_t vertices3D;  // -1: the list gives none (a map shape)
};
const ShapeListCounts kListed[] = {
    // The dodo's list entry names 306 solid vertices; its twelve groups,
    // each hinged from its decagon, can fold onto faces naming at most 240,
    // and the dodo's faces name 140.
    // The spikeball's entry names 193; a closed solid of sixty pentagons has
    // 92 corners.
    // The GID's names 170; the same faces closed up without T-junctions
    // would have 194, and its cut points on the dodecahedron's edges are its
    // face's own.
    {"conformal_dodecahedron", 99, 62}, {"dodo", 240, 140}, {"GID", 408, 218}, {"FiveTets", 200, 92}, {"Jewel", 6, 5},
    {"beanbag", 12, -1},
    {"Box", 8, -1},  {"Balloon", 72, -1}, {"paperlock", 44, -1},
};

std::vector<Row> Rows(const int16_t* rows, int32_t length) {
  std::vector<Row> out;
  Row row;
  for (int32_t i = 0; i < length; ++i) {
    if (rows[i] == 0) {
      out.push_back(row);
      row.clear();
    } else {
      row.push_back(rows[i] - 1);
    }
  }
  return out;
}

Vec Point3D(const Family& f, int32_t v) {
  const double s = f.mirrored ? -1.0 : 1.0;
  return {s * f.coords3D[v][0], f.coords3D[v][1], f.coords3D[v][2]};
}

// The solid face that net face k folds onto, as 3D vertices in the order of
// the net face's corners.
Row SolidFaceOf(const Family& f, int32_t k) {
  const Row net = Rows(f.rows2D, f.rows2DLength)[size_t(k)];
  if (f.map) {
    Row out;
    for (int32_t p : net) out.push_back(f.map[p]);
    return out;
  }
  if (f.rowsPaired) return Rows(f.rows3D, f.rows3DLength)[size_t(k)];
  return {};
}

Vec Newell(const std::vector<Vec>& p) {
  Vec n{0, 0, 0};
  for (size_t i = 0; i < p.size(); ++i) {
    const Vec& a = p[i];
    const Vec& b = p[(i + 1) % p.size()];
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return n;
}

Polygon2D NetPolygon(const Family& f, const Row& row) {
  Polygon2D p;
  for (int32_t q : row) p.emplace_back(f.coords2D[q][0], f.coords2D[q][1]);
  return p;
}

TEST(ShapeTablesSolid, CountsOfTheShapeList) {
  for (size_t i = 0; i < std::size(kFamilies); ++i) {
    const Family& f = kFamilies[i];
    SCOPED_TRACE(f.name);
    const std::vector<Row> rows = Rows(f.rows2D, f.rows2DLength);
    ASSERT_EQ(int32_t(rows.size()), f.faces);
    int32_t highest = 0, empty = 0;
    std::set<int32_t> kinds, used;
    for (const Row& r : rows) {
      if (r.empty()) ++empty;
      else kinds.insert(int32_t(r.size()));
      for (int32_t p : r) {
        highest = std::max(highest, p + 1);
        used.insert(p);
      }
    }
    EXPECT_EQ(kinds, f.cornerKinds);
    EXPECT_EQ(empty, f.emptyRows);
    // The loader counts net points by the highest number in a row.
    EXPECT_EQ(highest, kListed[i].points2D);
    EXPECT_EQ(f.points2D, kListed[i].points2D);
    EXPECT_EQ(int32_t(used.size()), f.points2D) << "a net point no face uses";
    if (f.rows3D) {
      const std::vector<Row> rows3 = Rows(f.rows3D, f.rows3DLength);
      EXPECT_EQ(int32_t(rows3.size()), f.faces);
      int32_t highest3 = 0;
      for (const Row& r : rows3)
        for (int32_t v : r) highest3 = std::max(highest3, v + 1);
      EXPECT_EQ(highest3, kListed[i].vertices3D);
      EXPECT_EQ(f.vertices3D, kListed[i].vertices3D);
    }
    if (f.map) {
      std::set<int32_t> reached(f.map, f.map + f.points2D);
      EXPECT_EQ(*reached.begin(), 0);
      EXPECT_EQ(*reached.rbegin(), f.vertices3D - 1);
      EXPECT_EQ(int32_t(reached.size()), f.vertices3D) << "a solid vertex no net point lies on";
    }
  }
}

// Sides and diagonals of every net face against its solid face; the net
// face turns the same way as the solid face seen from outside.
TEST(ShapeTablesSolid, NetFacesAreCongruentToTheirSolidFaces) {
  for (const Family& f : kFamilies) {
    if (!f.map && !f.rowsPaired) continue;  // paired by the set-up: the catalogue tests
    SCOPED_TRACE(f.name);
    const std::vector<Row> rows = Rows(f.rows2D, f.rows2DLength);
    for (size_t k = 0; k < rows.size(); ++k) {
      const Row& net = rows[k];
      const Row solid = SolidFaceOf(f, int32_t(k));
      for (size_t a = 0; a < net.size(); ++a)
        for (size_t b = a + 1; b < net.size(); ++b) {
          const double d2 = std::hypot(f.coords2D[net[a]][0] - f.coords2D[net[b]][0],
                                       f.coords2D[net[a]][1] - f.coords2D[net[b]][1]);
          const double d3 = Norm(Sub(Point3D(f, solid[a]), Point3D(f, solid[b])));
          EXPECT_NEAR(d2, d3, 1e-12) << "face " << k << " corners " << a << ", " << b;
        }
      if (f.solid == Solid::Dodecahedral) continue;  // wound both ways by design, below
      std::vector<Vec> p;
      for (int32_t v : solid) p.push_back(Point3D(f, v));
      const Vec outside = f.solid == Solid::Sheet ? Vec{0, 0, -1} : p[0];
      EXPECT_GT(SignedArea2(NetPolygon(f, net)), 0.0) << "face " << k;
      EXPECT_GT(Dot(Newell(p), outside), 0.0) << "face " << k;
    }
  }
}

TEST(ShapeTablesSolid, SolidFacesAreFlatAndSurfacesClose) {
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.name);
    std::vector<Row> faces;
    if (f.rows3D) {
      faces = Rows(f.rows3D, f.rows3DLength);
    } else {
      for (int32_t k = 0; k < f.faces; ++k) faces.push_back(SolidFaceOf(f, k));
    }
    std::map<std::pair<int32_t, int32_t>, int32_t> directed, undirected;
    for (size_t k = 0; k < faces.size(); ++k) {
      const Row& r = faces[k];
      ASSERT_GE(r.size(), 3u);
      const Vec n = Cross(Sub(Point3D(f, r[1]), Point3D(f, r[0])), Sub(Point3D(f, r[2]), Point3D(f, r[0])));
      for (int32_t v : r)
        EXPECT_NEAR(Dot(n, Sub(Point3D(f, v), Point3D(f, r[0]))) / Norm(n), 0.0, 1e-12) << "face " << k;
      for (size_t c = 0; c < r.size(); ++c) {
        const int32_t a = r[c], b = r[(c + 1) % r.size()];
        ++directed[{a, b}];
        ++undirected[{std::min(a, b), std::max(a, b)}];
      }
    }
    if (f.solid == Solid::Closed) {
      for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
      }
    }
    if (f.solid == Solid::Dodecahedral) {
      for (const auto& [edge, count] : undirected) EXPECT_EQ(count, 2) << edge.first << "-" << edge.second;
    }
    if (f.solid == Solid::CutDodecahedron) {
      // One piece wound one way: no edge twice the same way round, and
      // every group joined to its neighbours along the dodecahedron's 30
      // edges.
      int32_t joined = 0;
      for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
        joined += directed.count({edge.second, edge.first}) ? 1 : 0;
      }
      EXPECT_EQ(joined / 2, f.joinedEdges);
    }
  }
}

// Any two net faces share at most an edge or a corner.
TEST(ShapeTablesSolid, NetFacesDoNotOverlap) {
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.name);
    std::vector<Polygon2D> faces;
    for (const Row& r : Rows(f.rows2D, f.rows2DLength)) {
      if (r.empty()) continue;
      Polygon2D p = NetPolygon(f, r);
      if (SignedArea2(p) < 0) std::reverse(p.begin(), p.end());
      faces.push_back(p);
    }
    for (size_t a = 0; a < faces.size(); ++a)
      for (size_t b = a + 1; b < faces.size(); ++b)
        EXPECT_LT(ConvexOverlapArea(faces[a], faces[b]), 1e-12) << "faces " << a << " and " << b;
  }
}

// Triangles k*10 .. k*10 + 9 fill the dodecahedron net's pentagon k: each
// lists the pentagon's centre, the midpoint of one of its sides and a
// corner of that side, and the pentagon's points are those of the net of the
// dodecahedron (shape 9) under the same numbers.
TEST(ShapeTablesSolid, ConformalDodecahedronCutsTheDodecahedronsNet) {
  const std::vector<Row> tri = Rows(conformal_dodecahedron_Faces2D, int32_t(std::size(conformal_dodecahedron_Faces2D)));
  const std::vector<Row> pent = Rows(NewDodec_Faces2D, int32_t(std::size(NewDodec_Faces2D)));
  ASSERT_EQ(pent.size(), 12u);
  ASSERT_EQ(std::size(NewDodec_Coords2D), 38u);
  for (size_t p = 0; p < 38; ++p) {
    EXPECT_EQ(conformal_dodecahedron_Coords2D[p][0], NewDodec_Coords2D[p][0]) << p;
    EXPECT_EQ(conformal_dodecahedron_Coords2D[p][1], NewDodec_Coords2D[p][1]) << p;
  }
  for (size_t k = 0; k < 12; ++k) {
    const Polygon2D pentagon = NetPolygon(kFamilies[0], pent[k]);
    double cx = 0, cy = 0;
    for (const auto& q : pentagon) {
      cx += q.first / 5;
      cy += q.second / 5;
    }
    std::multiset<int32_t> corners;
    for (size_t j = 0; j < 10; ++j) {
      const size_t t = 10 * k + j;
      EXPECT_EQ(conformal_dodecahedron_hardcoded_Facegrouptable[t], int16_t(k));
      const Row& r = tri[t];
      const auto& c = conformal_dodecahedron_Coords2D[r[0]];
      EXPECT_NEAR(c[0], cx, 1e-12);
      EXPECT_NEAR(c[1], cy, 1e-12);
      const auto& m = conformal_dodecahedron_Coords2D[r[1]];
      const auto& v = conformal_dodecahedron_Coords2D[r[2]];
      EXPECT_NE(std::find(pent[k].begin(), pent[k].end(), r[2]), pent[k].end()) << "triangle " << t;
      corners.insert(r[2]);
      // The midpoint is half a side from the corner, on a side of the pentagon.
      const double side = std::hypot(pentagon[1].first - pentagon[0].first, pentagon[1].second - pentagon[0].second);
      EXPECT_NEAR(std::hypot(m[0] - v[0], m[1] - v[1]), side / 2, 1e-12) << "triangle " << t;
      // Solid order: a face centre, an edge midpoint, a corner.
      const Row solid = SolidFaceOf(kFamilies[0], int32_t(t));
      EXPECT_TRUE(solid[0] >= 20 && solid[0] < 32 && solid[1] >= 32 && solid[2] < 20) << "triangle " << t;
    }
    for (int32_t q : pent[k]) EXPECT_EQ(corners.count(q), 2u) << "pentagon " << k;
  }
  // The solid rows are the map of the net rows.
  const std::vector<Row> tri3 =
      Rows(conformal_dodecahedron_Faces3D, int32_t(std::size(conformal_dodecahedron_Faces3D)));
  for (size_t t = 0; t < tri.size(); ++t) EXPECT_EQ(tri3[t], SolidFaceOf(kFamilies[0], int32_t(t))) << t;
}

// qconvex's facets of a point set, as sets of 0-based points.
std::set<std::set<int32_t>> QconvexFacets(const Family& f) {
  const std::string path = ::testing::TempDir() + "shape_tables_" + f.name + ".txt";
  {
    std::ofstream out(path);
    out.precision(17);
    out << "3\n" << f.vertices3D << "\n";
    for (int32_t i = 0; i < f.vertices3D; ++i)
      out << f.coords3D[i][0] << " " << f.coords3D[i][1] << " " << f.coords3D[i][2] << "\n";
  }
  std::set<std::set<int32_t>> hull;
  FILE* pipe = popen(("qconvex Fv < " + path).c_str(), "r");
  if (!pipe) return hull;
  int facets = 0;
  if (std::fscanf(pipe, "%d", &facets) == 1) {
    for (int i = 0; i < facets; ++i) {
      int n = 0;
      if (std::fscanf(pipe, "%d", &n) != 1) break;
      std::set<int32_t> facet;
      for (int k = 0; k < n; ++k) {
        int v = 0;
        if (std::fscanf(pipe, "%d", &v) == 1) facet.insert(v);
      }
      hull.insert(facet);
    }
  }
  pclose(pipe);
  std::remove(path.c_str());
  return hull;
}

TEST(ShapeTablesSolid, ConvexSolidsAreTheirHulls) {
  if (std::system("command -v qconvex >/dev/null 2>&1") != 0) GTEST_SKIP() << "qconvex (qhull) not installed";
  for (const Family& f : kFamilies) {
    if (f.solid == Solid::Open || f.solid == Solid::Sheet) continue;
    SCOPED_TRACE(f.name);
    const std::set<std::set<int32_t>> hull = QconvexFacets(f);
    if (f.solid == Solid::Closed) {
      std::set<std::set<int32_t>> ours;
      for (int32_t k = 0; k < f.faces; ++k) {
        const Row r = f.rows3D ? Rows(f.rows3D, f.rows3DLength)[size_t(k)] : SolidFaceOf(f, k);
        ours.insert(std::set<int32_t>(r.begin(), r.end()));
      }
      EXPECT_EQ(hull, ours);
      continue;
    }
    // The cut dodecahedra: the hull is the dodecahedron on the 20 corners,
    // and every face lies in one of its pentagons.
    ASSERT_EQ(hull.size(), 12u);
    for (const std::set<int32_t>& facet : hull) {
      EXPECT_EQ(facet.size(), 5u);
      EXPECT_LT(*facet.rbegin(), 20);
    }
    for (int32_t t = 0; t < f.faces; ++t) {
      const Row r = Rows(f.rows3D, f.rows3DLength)[size_t(t)];
      int32_t planes = 0;
      for (const std::set<int32_t>& facet : hull) {
        const std::vector<int32_t> c(facet.begin(), facet.end());
        const Vec n = Cross(Sub(Point3D(f, c[1]), Point3D(f, c[0])), Sub(Point3D(f, c[2]), Point3D(f, c[0])));
        bool in = true;
        for (int32_t v : r) in = in && std::abs(Dot(n, Sub(Point3D(f, v), Point3D(f, c[0])))) / Norm(n) < 1e-12;
        planes += in ? 1 : 0;
      }
      EXPECT_EQ(planes, 1) << "face " << t;
    }
  }
}

}  // namespace
