// The cell writer fed as the dual builder feeds it: round each vertex of a
// Voronoi solid, the points its faces carry (the sites whose cells meet
// there), with the vertex as the carrier. The faces written so must close
// into a solid whose vertices are the sites.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "polybuild/voronoi/voronoi_faces.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_shape.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "support/poly_fixture.h"
#include "voronoi_checks.h"

namespace {

class VoronoiDualFaces : public testing::TestWithParam<int32_t> {};

TEST_P(VoronoiDualFaces, VerticesAreTheSitesAndTheSolidCloses) {
  const int32_t code = GetParam();
  PolyPtr voronoi = NewPoly();
  build_voronoi_shape(voronoi.get(), nullptr, code, 1);
  ASSERT_EQ(voronoi->errorCode, 0);
  // Sites may lie closer than the default merge distance where the site set
  // merges more finely; the dual merges its points as finely.
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  {
    List scratch;
    VoronoiHandlingOptions siteOptions;
    GetDefaultVoronoiHandlingOptions(&siteOptions);
    build_voronoi_pointset(&scratch.head, &siteOptions, code, 1);
    o.mergeDistance = std::min(o.mergeDistance, siteOptions.mergeDistance);
  }

  PolyPtr dual = NewOwningPoly();
  for (int32_t v = 0; v < voronoi->n3DVerts; ++v) {
    List points;
    for (int32_t f = 0; f < voronoi->n3DFaces; ++f) {
      const PolyFace& face = voronoi->faces[f];
      if (std::find(face.vert3D, face.vert3D + face.n3D, v) != face.vert3D + face.n3D)
        AddPointToList_while_killing_redundancies(face.point, &points.head, face.siteIndex, o.mergeDistance);
    }
    HALFSPACE carrier{};
    InitSomeFieldsForNewNode(&carrier);
    grab_coordinates3D_into_vector3D(v, voronoi.get(), carrier.point);
    carrier.index = v;
    DumpPointListIntoPolyhedron(&points.head, &carrier, dual.get(), &o);
  }
  Calc3DAngles(dual.get());
  Build3DConnectivity(dual.get());
  EXPECT_EQ(dual->errorCode, 0);
  EXPECT_TRUE(SolidIsClosed(dual.get()));

  const std::vector<Vec3> sites = EffectiveSites(code);
  EXPECT_EQ(dual->n3DVerts, int32_t(sites.size()));
  double worst = 0;
  for (int32_t v = 0; v < dual->n3DVerts; ++v) {
    double p[3];
    grab_coordinates3D_into_vector3D(v, dual.get(), p);
    double best = 9;
    for (const Vec3& s : sites) best = std::min(best, std::hypot(p[0] - s.x, p[1] - s.y, p[2] - s.z));
    worst = std::max(worst, best);
  }
  EXPECT_LT(worst, 1e-9);
}

// The dual shapes are made from 181-200; the others show the writer on
// every kind of site set.
INSTANTIATE_TEST_SUITE_P(SomeCodes, VoronoiDualFaces, testing::Values(151, 153, 154, 156, 181, 186, 190, 200));

}  // namespace
