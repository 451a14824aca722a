#include "render/routes/polyhedral_warp.h"

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_record.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "projection/inverse/classic_peirce.h"
#include "projection/planes.h"
#include "projection/ray_geometry.h"
#include "projection/render_hint.h"
#include "render/rows/column_record.h"
#include "render/vort.h"

namespace {

constexpr int32_t kWarpedShapes[] = {174, 176, 178, 180};
constexpr double kPeirceExponent = 1.0;
constexpr double kPeirceTurn = 0.0;
constexpr double kMarkSideTolerance = 1e-5;
constexpr double kFarAway = kNoScissorMarkNear;

// The corners of the left half of the Peirce square that the three key
// vertices of a fragment land on.
constexpr double kKeyTop[3] = {0.0, 1.0, 0.0};
constexpr double kKeyLeft[3] = {-1.0, 0.0, 0.0};
constexpr double kKeyBottom[3] = {0.0, -1.0, 0.0};

bool InRange(int32_t i, int32_t n) { return i >= 0 && i < n; }

double SquaredDistance(triplex a, const double b[3]) {
  const double dx = a.x - b[0], dy = a.y - b[1], dz = a.z - b[2];
  return dx * dx + dy * dy + dz * dz;
}

// The piece (element-tag group) of a net face and its fragment, or false
// when the face leads to no piece whose marks could be looked up.
bool PieceOfFace(const polyhedron& poly, int32_t face, int32_t* group, int32_t* fragment) {
  if (!InRange(face, kPolyMaxFaces)) return false;
  const PolyFace& f = poly.faces[face];
  if (!InRange(f.face3D, kPolyMaxFaces)) return false;
  const int32_t facegroup = poly.faces[f.face3D].facegroup;
  if (!InRange(facegroup, kPolyElementTags)) return false;
  const int32_t g = poly.tagFacegroup[facegroup];
  if (!InRange(g, kPolyElementTags)) return false;
  *group = g;
  *fragment = f.fragment;
  return true;
}

}  // namespace

bool HasSecondaryWarp(int32_t shapeCode) {
  for (int32_t s : kWarpedShapes)
    if (s == shapeCode) return true;
  return false;
}

void MaybeSecondaryWarp(float point[3], const polyhedron* poly, float u, float va, uint8_t* outside,
                        const renderhinttype* hint) {
  if (!poly || !hint->hit || !HasSecondaryWarp(poly->shapeCode)) return;
  if (!InRange(hint->lastFace, poly->nTriangles)) return;
  const int32_t fragment = PeirceHalfOfNetTriangle(poly, hint->lastFace);
  if (fragment != 1 && fragment != 2) return;
  const int32_t* key = &poly->key2DVerts[(fragment - 1) * 3];
  const fcomplex k0 = GrabRederingVertIntoComplex(key[0], poly);
  const fcomplex k1 = GrabRederingVertIntoComplex(key[1], poly);
  const fcomplex k2 = GrabRederingVertIntoComplex(key[2], poly);
  double a, b, c;
  XY_and_3points_to_barycentrics(double(u), double(va), k0.re, k0.im, k1.re, k1.im, k2.re, k2.im, &a, &b, &c);
  double d[3];
  D_Gets_Barycentric_of_A_B_C(a, b, c, kKeyTop, kKeyLeft, kKeyBottom, d);
  TotalPeirce(d[0], d[1], outside, point, kPeirceExponent, kPeirceTurn);
  if (fragment == 1) {
    point[0] = -point[0];
    point[2] = -point[2];
  }
}

void FindScissorHeight(const vort& view, triplex onSolid, TransformationReply* reply) {
  const polyhedron* poly = view.polyhedron;
  if (!poly || poly->scissorMarkCount <= 0) return;
  const int32_t marks = poly->scissorMarkCount < kPolyMaxScissorMarks ? poly->scissorMarkCount : kPolyMaxScissorMarks;
  int32_t group = -1, fragment = 0;
  int32_t best = -1;
  double distance = kFarAway, height = kFarAway;
  if (PieceOfFace(*poly, reply->faceRegion, &group, &fragment)) {
    for (int32_t slot = 0; slot < 2; ++slot) {
      const int32_t m = poly->scissorPair[group][slot];
      if (!InRange(m, marks)) continue;
      const ScissorMark& mark = poly->scissorMarks[m];
      const double s = SquaredDistance(onSolid, mark.pivotPoint);
      if (s < distance && mark.param == fragment) {
        best = m;
        distance = s;
        height = s - mark.value * mark.value;
      }
    }
  }
  reply->spotFieldValid = 1;
  reply->spotField = float(height);
  if (best >= 0 && Classify_PointDT(&poly->scissorMarks[best].plane, onSolid, kMarkSideTolerance) == 1)
    reply->spotFieldValid = 0;
}
