// Generates the nets of the static shape catalogue, polyhedron/catalogue_nets.{h,cpp}.
// From the repository root, after a build with the tests (scripts/build.sh build),
// or `ninja -C build catalogue_nets_generate`:
//   build/tools/catalogue_nets/catalogue_nets_generate polyhedron
// The output is deterministic; commit it as written (the test
// generated_catalogue_nets checks that the committed files are its output).
//
// Each solid of polyhedron/catalogue_solids.h is loaded through the adders and
// unfolded by the plug-in's own unfolding into one piece; its faces are then
// placed again in double precision along the same hinges. The cube's two
// crosses and the icosahedron's strip are unfolded along planned hinges
// instead. Every net is checked here: one piece, the point count of a tree
// net (the corners less two per hinge), each row congruent to its solid face,
// and the correspondence search of a static shape, run on the tables as the
// catalogue loads them, pairing each row with the face it was cut from.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "nets_arrange.h"
#include "nets_crosses.h"
#include "nets_unfold.h"
#include "nets_upright.h"
#include "nets_write.h"

namespace {

using namespace nets;

// A family, the shape code whose correspondence rule its net must satisfy,
// and its table names.
struct Family {
  const char* family;
  int32_t shapeCode;
  const char* coordsName;
  const char* rowsName;
};

const Family kUnfolded[] = {
    {"twofour", 0, "twofour_Coords2D", "twofour_Faces2D"},
    {"twosix", 1, "twosix_Coords2D", "twosix_Faces2D"},
    {"soccer", 2, "soccerCoord2D", "soccerFaces2D"},
    {"threetwo", 3, "threetwo_Coords2D", "threetwo_Faces2D"},
    {"threeeight", 4, "threeeight_Coords2D", "threeeight_Faces2D"},
    {"sixzero", 5, "sixzero_Coords2D", "sixzero_Faces2D"},
    {"sixtwo", 6, "sixtwo_Coords2D", "sixtwo_Faces2D"},
    {"OneFour", 7, "OneFour_Coords2D", "OneFour_Faces2D"},
    {"ThreeZero", 8, "ThreeZero_Coords2D", "ThreeZero_Faces2D"},
    {"NewDodec", 9, "NewDodec_Coords2D", "NewDodec_Faces2D"},
    {"PentTwoFour", 12, "PentTwoFour_Coords2D", "PentTwoFour_Faces2D"},
    {"Tetranew", 16, "Tetranew_Coords2D", "Tetranew_Faces2D"},
    {"NewIco", 17, "NewIco_Coords2D", "NewIco_Faces2D"},
    {"NewOcto", 19, "NewOcto_Coords2D", "NewOcto_Faces2D"},
};

[[noreturn]] void Fail(const std::string& family, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", family.c_str(), what.c_str());
  std::exit(1);
}

// Corners less two per hinge: the point count of a net in one piece whose
// faces meet only along hinges.
size_t TreePointCount(const Net& net) {
  size_t corners = 0;
  for (const auto& r : net.rows) corners += r.size();
  return corners - 2 * (net.rows.size() - 1);
}

// Arranges the rows for the shape's correspondence rule and checks the net.
// A planned net (the crosses, the strip) must be paired as planned; an
// unfolded one may be paired through a symmetry of its solid.
void Finish(const CatalogueSolid& solid, int32_t shapeCode, bool planned, Net* net) {
  std::string why;
  if (!NetMatchesSolid(solid, *net, &why)) Fail(solid.family, "as unfolded: " + why);
  if (!ArrangeForCorrespondence(solid, shapeCode, net)) {
    if (planned || !AdoptFoundCorrespondence(solid, shapeCode, net))
      Fail(solid.family, "the correspondence search leaves a face unpaired or pairs two rows with one face");
    std::printf("%s: paired through a symmetry of the solid\n", solid.family);
  }
  if (!NetMatchesSolid(solid, *net, &why)) Fail(solid.family, "as the search pairs it: " + why);
  std::vector<int32_t> face3D, offset;
  Reload(solid, *net, shapeCode, &face3D, &offset);
  if (face3D != net->face3D || offset != net->offset) Fail(solid.family, "the search pairs the rows differently");
  CompactPoints(net);
  if (net->points.size() != TreePointCount(*net)) Fail(solid.family, "the net is not a tree of hinged faces");
}

NetTables Tables(const char* family, const char* coordsName, const char* rowsName, const Net& net) {
  return NetTables{family, coordsName, net.points, {{rowsName, net.rows}}};
}

// The vertical cross's rows renumbered into the horizontal cross's points,
// the points it alone uses appended: one point table serves both crosses.
void AddVerticalCross(NetTables* horizontal, const Net& vertical, const char* rowsName) {
  std::map<std::pair<double, double>, int32_t> number;
  for (size_t i = 0; i < horizontal->points.size(); ++i)
    number[{horizontal->points[i][0], horizontal->points[i][1]}] = int32_t(i);
  std::vector<std::vector<int32_t>> rows;
  for (const auto& r : vertical.rows) {
    std::vector<int32_t> row;
    for (int32_t v : r) {
      const auto& p = vertical.points[size_t(v)];
      auto [it, added] = number.emplace(std::make_pair(p[0], p[1]), int32_t(horizontal->points.size()));
      if (added) horizontal->points.push_back(p);
      row.push_back(it->second);
    }
    rows.push_back(row);
  }
  horizontal->rowTables.push_back({rowsName, rows});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder, normally polyhedron>\n", argv[0]);
    return 2;
  }
  std::vector<NetTables> tables;
  for (const Family& f : kUnfolded) {
    const CatalogueSolid& solid = FindSolid(f.family);
    PolyPtr p = LoadSolid(solid, f.shapeCode);
    std::string why;
    if (!UnfoldIntoOneFragment(p.get(), &why)) Fail(f.family, why);
    Net net = NetByFace(p.get());
    PlaceRowsExactly(solid, &net);
    Finish(solid, f.shapeCode, false, &net);
    // The unfolding lays a net in the solid's own axes; where the catalogue
    // shows the solid turned over, the net is turned to read upright.
    if (ZenithOnMinusY(f.shapeCode)) {
      TurnUpright(solid, &net, true);
      if (!NetMatchesSolid(solid, net, &why)) Fail(f.family, "turned upright: " + why);
    }
    tables.push_back(Tables(f.family, f.coordsName, f.rowsName, net));
  }

  const CatalogueSolid& cube = FindSolid("NewCube");
  Net horizontal = CubeCross(cube, false), vertical = CubeCross(cube, true);
  Finish(cube, 18, true, &horizontal);
  Finish(cube, 73, true, &vertical);
  // The crosses are planned upright; the rule that turns the other nets
  // must agree with them.
  for (const Net* cross : {&horizontal, &vertical})
    if (std::fabs(std::remainder(UprightTurn(cube, *cross, ZenithOnMinusY(18)), 2.0 * M_PI)) > 1e-9)
      Fail("NewCube", "a cross is not upright by the rule the other nets follow");
  NetTables crosses = Tables("NewCube", "NewCube_Coords2D", "NewCube_Faces2D", horizontal);
  AddVerticalCross(&crosses, vertical, "NewCube_Faces2D_vertical");
  tables.push_back(crosses);

  // The older icosahedron net folds onto the same solid as NewIco.
  const CatalogueSolid& ico = FindSolid("NewIco");
  Net strip = IcosahedronStrip(ico);
  Finish(ico, 23, true, &strip);
  tables.push_back(Tables("NewIco", "OldIco_Coords2D", "OldIco_Faces2D", strip));

  if (!WriteNetTables(argv[1], tables)) {
    std::fprintf(stderr, "cannot write into %s\n", argv[1]);
    return 1;
  }
  for (const NetTables& t : tables)
    std::printf("%-20s %4zu points\n", t.coordsName.c_str(), t.points.size());
  return 0;
}
