// Model files of every polyhedral mode that builds: the OBJ lists the solid's
// vertices where the solid has them, each solid face once, and the STL holds
// the same triangles as a closed, outward-wound solid that admesh accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>

#include "export/models/obj_triangles.h"
#include "export/models/obj_writer.h"
#include "export/models/stl_writer.h"
#include "model_scratch.h"
#include "polybuild/catalogue/catalogue_generated.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_predicates.h"
#include "support/poly_fixture.h"

using namespace models_test;

namespace {

struct ObjModel {
  std::vector<std::array<double, 3>> v, vn;
  std::vector<std::array<double, 2>> vt;
  struct Corner {
    int v, vt, vn;
  };
  std::vector<std::array<Corner, 3>> f;
  std::string mtllib, usemtl;
};

ObjModel ParseObj(const std::string& text) {
  ObjModel m;
  for (const std::string& line : SplitLines(text, '\n')) {
    std::istringstream in(line);
    std::string key;
    in >> key;
    if (key == "v" || key == "vn") {
      std::array<double, 3> p{};
      in >> p[0] >> p[1] >> p[2];
      (key == "v" ? m.v : m.vn).push_back(p);
    } else if (key == "vt") {
      std::array<double, 2> p{};
      in >> p[0] >> p[1];
      m.vt.push_back(p);
    } else if (key == "f") {
      std::array<ObjModel::Corner, 3> face{};
      for (auto& c : face) {
        char s1, s2;
        in >> c.v >> s1 >> c.vt >> s2 >> c.vn;
      }
      m.f.push_back(face);
    } else if (key == "mtllib") {
      in >> m.mtllib;
    } else if (key == "usemtl") {
      in >> m.usemtl;
    }
  }
  return m;
}

struct StlModel {
  uint32_t count = 0;
  std::vector<std::array<float, 12>> facets;
};

StlModel ParseBinaryStl(const std::string& bytes) {
  StlModel s;
  if (bytes.size() < 84) return s;
  std::memcpy(&s.count, bytes.data() + 80, 4);
  for (size_t at = 84; at + 50 <= bytes.size(); at += 50) {
    std::array<float, 12> f;
    std::memcpy(f.data(), bytes.data() + at, 48);
    s.facets.push_back(f);
  }
  return s;
}

double SignedVolume(const StlModel& s) {
  double v = 0;
  for (const auto& f : s.facets) {
    const double* dummy = nullptr;
    (void)dummy;
    const double a[3] = {f[3], f[4], f[5]}, b[3] = {f[6], f[7], f[8]}, c[3] = {f[9], f[10], f[11]};
    v += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6;
  }
  return v;
}

// admesh's "Original" column, by the label of its line.
double AdmeshFigure(const std::string& report, const std::string& label) {
  const size_t at = report.find(label);
  if (at == std::string::npos) return -1;
  const size_t colon = report.find(':', at);
  return std::atof(report.c_str() + colon + 1);
}

std::vector<int32_t> ModesThatBuild() {
  std::vector<int32_t> modes;
  std::set<int32_t> seen;
  for (int32_t mode = 1; mode <= 1049; ++mode) {
    if (!IsExportablePolyhedron(MonofragVersion_of_projection(mode))) continue;
    const int32_t m = MonofragVersion_of_projection(mode);
    if (seen.insert(m).second) modes.push_back(m);
  }
  return modes;
}

bool BuildForExport(int32_t mode, polyhedron* poly) {
  DarOzoPolySetup(mode, poly, 1.0f, 0.0f, 0, 0.0f, 6, nullptr, 1);
  return poly->errorCode != kPolyErrorShapeNotAvailable && poly->n3DFaces > 0 && poly->nTriangles > 0;
}

}  // namespace

TEST(ObjModel, EveryModeThatBuildsWritesItsSolidOnceAndClosed) {
  const bool admesh = HaveTool("admesh");
  if (!admesh) ADD_FAILURE() << "admesh is missing: run scripts/setup-debian.sh";
  Scratch dir;
  int built = 0;
  std::vector<int32_t> open;
  for (int32_t mode : ModesThatBuild()) {
    PolyPtr poly = NewPoly();
    if (!BuildForExport(mode, poly.get())) continue;
    ++built;
    SCOPED_TRACE("output mode " + std::to_string(mode));
    const ObjModel obj = ParseObj(OBJFileText(poly.get(), "Model"));
    const std::string stlBytes = STLFileBytes(poly.get(), true, nullptr);
    const StlModel stl = ParseBinaryStl(stlBytes);

    // Vertices where the solid has them, mirrored as every model is and at
    // one scale whatever sphere the builder used, in the solid's order; only
    // those some face uses.
    const double radius = GeneratedSolidRadius(poly->shapeCode);
    int32_t next = 0;
    double reach = 0.0;
    for (size_t i = 0; i < obj.v.size(); ++i) {
      bool found = false;
      for (; next < poly->n3DVerts && !found; ++next) {
        double x, y, z;
        grab_coordinates3DD(next, poly.get(), &x, &y, &z);
        const double want[3] = {(poly->exportFlipFirstAxis ? -x : x) / radius,
                                (poly->exportFlipFirstAxis ? y : -y) / radius, z / radius};
        found = std::fabs(obj.v[i][0] - want[0]) < 1e-6 && std::fabs(obj.v[i][1] - want[1]) < 1e-6 &&
                std::fabs(obj.v[i][2] - want[2]) < 1e-6;
      }
      ASSERT_TRUE(found) << "vertex " << i << " is no solid vertex, or out of order";
      reach = std::max(reach, std::hypot(obj.v[i][0], obj.v[i][1], obj.v[i][2]));
    }
    EXPECT_GT(reach, 0.4);
    EXPECT_LT(reach, 2.5);
    std::vector<bool> named(obj.v.size(), false);
    for (const auto& f : obj.f)
      for (const auto& c : f)
        if (c.v >= 1 && c.v <= int(obj.v.size())) named[size_t(c.v - 1)] = true;
    EXPECT_EQ(std::count(named.begin(), named.end(), false), 0) << "vertices no face uses";
    // Each solid face once, as its corners less two triangles.
    int32_t solidTriangles = 0;
    for (int32_t f = 0; f < kPolyMaxFaces; ++f)
      if (poly->faces[f].n3D >= 3) solidTriangles += poly->faces[f].n3D - 2;
    EXPECT_EQ(int32_t(obj.f.size()), solidTriangles);
    // A net that reaches no solid face (a mapped net the loader gave no
    // solid rows) would pass the count above with an empty model.
    ASSERT_GT(obj.f.size(), 0u) << "an empty model";
    EXPECT_EQ(obj.vn.size(), obj.f.size());
    ASSERT_EQ(stl.count, obj.f.size());
    ASSERT_EQ(stl.facets.size(), obj.f.size());
    EXPECT_EQ(obj.mtllib, "Model.mtl");
    EXPECT_EQ(obj.usemtl, "Model_material");
    for (size_t t = 0; t < obj.f.size(); ++t) {
      for (const auto& c : obj.f[t]) {
        ASSERT_EQ(c.vn, int(t + 1));
        ASSERT_GE(c.v, 1);
        ASSERT_LE(c.v, int(obj.v.size()));
        ASSERT_GE(c.vt, 1);
        ASSERT_LE(c.vt, int(obj.vt.size()));
      }
    }
    for (const auto& t : obj.vt)
      for (double c : t) EXPECT_TRUE(c > -1e-6 && c < 1 + 1e-6) << "texture coordinates in the unit square";
    // The STL sits in the positive octant.
    float low[3] = {1e30f, 1e30f, 1e30f};
    for (const auto& f : stl.facets)
      for (int c = 1; c < 4; ++c)
        for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], f[3 * c + k]);
    for (float l : low) EXPECT_GE(l, -1e-5f);

    bool closed = true;
    if (admesh) {
      const std::string path = dir.Path("mode" + std::to_string(mode) + ".stl");
      WriteWhole(path, stlBytes);
      std::string report;
      ASSERT_EQ(RunCommand("admesh '" + path + "'", &report), 0) << report;
      EXPECT_EQ(AdmeshFigure(report, "Number of facets"), double(stl.count)) << report;
      EXPECT_EQ(AdmeshFigure(report, "Degenerate facets"), 0.0) << report;
      // Strips and peels are open surfaces by design: no inside to face.
      closed = AdmeshFigure(report, "Total disconnected facets") == 0.0;
      if (closed) {
        EXPECT_EQ(AdmeshFigure(report, "Number of parts"), 1.0) << report;
        EXPECT_EQ(AdmeshFigure(report, "Facets reversed"), 0.0) << report;
        EXPECT_GT(AdmeshFigure(report, "Volume"), 0.0) << report;
      }
    }
    if (closed) {
      EXPECT_GT(SignedVolume(stl), 0.0) << "triangles wound outward";
    } else {
      open.push_back(mode);
    }
  }
  EXPECT_GT(built, 10);
  std::string list;
  for (int32_t m : open) list += " " + std::to_string(m);
  std::printf("[ models ] %d polyhedral modes written as OBJ and STL; open surfaces:%s\n", built, list.c_str());
}

TEST(ObjModel, WithoutASolidTheObjSaysSoAndTheStlIsEmpty) {
  PolyPtr poly = NewPoly();
  EXPECT_EQ(OBJFileText(poly.get(), "x"), "# error: polyhedron data is missing\n");
  EXPECT_TRUE(STLFileBytes(poly.get(), true, nullptr).empty());
}

TEST(ObjModel, MtlNamesItsMaterialAndTexture) {
  EXPECT_EQ(MTLFileText("Cube_1"),
            "# Exported from Gyrelle 2 https://gyrelle.example.org/\n#\n\nnewmtl Cube_1_material\nd 1.00000\n"
            "illum 2\nKd 1.0 1.0 1.0\nKa 1.0 1.0 1.0\nKs 0.5 0.5 0.9\nKe 0.0 0.0 0.0\nmap_Kd Cube_1.jpg\n");
}
