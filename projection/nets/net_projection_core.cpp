#include "projection/nets/net_projection_core.h"

#include "polyhedron/nets/net_points.h"  // the net's inverse mapping queries the triangles the net set-up fills
#include "polyhedron/rind_faces.h"  // curved rind faces invert through the patch coefficients their set-up stores
#include "projection/complex_math.h"
#include "projection/inverse/conformal_warp.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/star_projections.h"
#include "projection/inverse/star_projections_reuleaux.h"

namespace {

constexpr double kZigzagFirstTurn = 0.78539816325;
constexpr double kZigzagSecondTurn = 0.6108652380833334;
constexpr double kMonozagSecondTurn = 0.5235987755;
// A net laid out as a map starts its longitudes a quarter turn round.
constexpr float kMapNetUShift = 0.75f;
constexpr int32_t kRenderKindUpright = 3;
// The conformal dodecahedron's net cuts each pentagon into ten triangles.
constexpr int32_t kDodecahedronTrianglesPerFace = 10;
// The waffle's net splits into halves at these two of its 2D vertices.
constexpr int32_t kWaffleMarkA = 22;
constexpr int32_t kWaffleMarkB = 50;

// (a, b) turned by angle as the complex number a + ib; products in double.
void TurnPair(float* a, float* b, double angle) {
  const fcomplex w = Cmul(fcomplex{*a, *b}, Cspun(angle));
  *a = static_cast<float>(w.re);
  *b = static_cast<float>(w.im);
}

NetSectorSample SampleOf(const polyhedron* poly, int32_t triangle, float b0, float b1, float b2) {
  NetSectorSample s{};
  s.triangle = triangle;
  s.sector = poly->triangles[triangle].face2D;
  s.b0 = b0;
  s.b1 = b1;
  s.b2 = b2;
  for (int k = 0; k < 3; ++k) convert_triangle_vertex_to_3D_vectorD(triangle, k, s.corner3D[k], poly);
  s.fancyPointMode = poly->fancyPointMode;
  return s;
}

using BaryWarp = void (*)(float*, float*, float*);

// A warp of the barycentrics, then the straight point of the triangle.
void WarpedPoint(BaryWarp warp, const polyhedron* poly, int32_t triangle, float b0, float b1, float b2,
                 float point[3]) {
  warp(&b0, &b1, &b2);
  Get3DPointFromFaceAndBarysF(triangle, b0, b1, b2, point, poly);
}

// The point of a shape drawn through a conformal warp. A shape code without
// a warp writes no point.
void WarpByShape(const polyhedron* poly, float b0, float b1, float b2, int32_t triangle, float x, float y,
                 float point[3], uint8_t* outside, renderhinttype* hint) {
  const NetSectorSample s = SampleOf(poly, triangle, b0, b1, b2);
  int32_t* region = &hint->hitRegion;
  switch (poly->shapeCode) {
    case 30:
    case 31:
      TotalFivestarToSphere(&s, point, poly->shapeCode == 30 ? 0 : 1, region, outside);
      break;
    case 32:
    case 33:
      TotalThreestarToSphere(&s, point, poly->shapeCode == 32 ? 0 : 1, region, outside);
      break;
    case 34:
      TotalRhombusToSphere(&s, point, 2, region, outside);
      break;
    case 35:
      TotalThreestarToSphere(&s, point, 2, region, outside);
      break;
    case 36:
    case 63:
      TotalSixstarToSphere(&s, point, 0, region, outside);
      break;
    case 37:
      TotalSixstarToSphere(&s, point, 1, region, outside);
      break;
    case 38:
    case 39:
      WarpedPoint(WarpBarysForTetrahedron, poly, triangle, b0, b1, b2, point);
      TumbleSphereForConformalTetrahedron(point);
      *region = triangle;
      break;
    case 40:
      TotalPentaleneToSphere(&s, point, 0, region, outside);
      break;
    case 41:
      TotalNaphthaleneToSphere(&s, point, 0, region, outside);
      break;
    case 42:
    case 68:
      TotalPhenatheneToSphere(&s, point, 0, region, outside);
      break;
    case 43:
    case 61:
      Total4ShurikenToSphere(&s, point, region);
      break;
    case 46:
    case 64:
      WarpedPoint(WarpBarysForCube, poly, triangle, b0, b1, b2, point);
      ExtraTumbleForZigzag(point);
      *region = triangle;
      break;
    case 47:
    case 51:
      WarpedPoint(WarpBarysForCube, poly, triangle, b0, b1, b2, point);
      ExtraTumbleForMonozag(point);
      *region = triangle;
      break;
    case 52:
      TotalReuleaux1Or2ToSphere(&s, point, outside, 1, region);
      break;
    case 53:
      TotalReuleaux1Or2ToSphere(&s, point, outside, 2, region);
      break;
    case 54:
      TotalReuleaux4ToSphere(&s, point, outside, region);
      break;
    case 55:
      TotalReuleaux8ToSphere(&s, point, outside, region);
      break;
    case 56:
      TotalOctreleauxToSphere(&s, point, outside, region);
      break;
    case 57:
      WarpedPoint(WarpBarysForCube, poly, triangle, b0, b1, b2, point);
      *region = triangle;
      break;
    case 58:
      TotalAdamsdiamondsToSphere(&s, point, 0, region, outside);
      break;
    case 59:
      TotalNEWPOINTYToSphere(&s, point, 0, region, outside);
      break;
    case 60:
    case 62: {
      const WaffleNetMarks marks = {poly->verts2D[kWaffleMarkA].x, poly->verts2D[kWaffleMarkA].y,
                                    poly->verts2D[kWaffleMarkB].y};
      TotalWaffleToSphere(&s, point, outside, &marks, x, y, region);
      break;
    }
    case 65:
    case 66:
      WarpedPoint(WarpBarysForConformalIcosahedron, poly, triangle, b0, b1, b2, point);
      *region = triangle;
      break;
    case 67:
      WarpedPoint(WarpBarysForConformalOctahedron, poly, triangle, b0, b1, b2, point);
      *region = triangle;
      break;
    case 69:
      TotalAnthraceneToSphere(&s, point, 0, region, outside);
      break;
    case 70:
      WarpedPoint(WarpBarysForConformalDodecahedron, poly, triangle, b0, b1, b2, point);
      *region = triangle / kDodecahedronTrianglesPerFace;
      break;
    default:
      break;
  }
}

}  // namespace

void ExtraTumbleForZigzag(float point[3]) {
  TurnPair(&point[2], &point[1], kZigzagFirstTurn);
  TurnPair(&point[0], &point[1], kZigzagSecondTurn);
}

void ExtraTumbleForMonozag(float point[3]) {
  TurnPair(&point[2], &point[1], kZigzagFirstTurn);
  TurnPair(&point[0], &point[1], kMonozagSecondTurn);
}

void DoPolyhedralTransformCore(const polyhedron* poly, float b0, float b1, float b2, int32_t triangle, float x,
                               float y, float point[3], uint8_t* outside, renderhinttype* hint) {
  hint->barycentrics = Triplex(1.0, 0.0, 0.0);
  if (poly->warpStyle == 1) {
    hint->hitRegion = 0;
    WarpByShape(poly, b0, b1, b2, triangle, x, y, point, outside, hint);
  } else {
    if (poly->triangles[triangle].fancyFace) {
      Get3DPointFancily(triangle, x, y, point, poly);
    } else {
      Get3DPointFromFaceAndBarysF(triangle, b0, b1, b2, point, poly);
    }
    hint->barycentrics = TFromVECTOR3(point);
  }
  if (poly->sphericalFlag != 1) {
    const float u = point[0] + kMapNetUShift, v = point[1];
    RectangularToSpherical(u, v, point);
    return;
  }
  if (hint->renderKind == kRenderKindUpright) {
    for (int i = 0; i < 3; ++i) point[i] = static_cast<float>(double(point[i]) - poly->upVector[i]);
  }
  NormalizeVector(point);
}
