#include "polybuild/curved/vivo_solids.h"

#include <numbers>

#include "polybuild/curved/vivo_closing.h"
#include "polybuild/curved/vivo_curves.h"
#include "polybuild/curved/vivo_elements.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"
#include "polyhedron/vertex_upkeep.h"
#include "projection/planes.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTetHeightPerEdge = 0.816496580927726;     // sqrt(2/3)
constexpr double kOctInradiusPerEdge = 0.40824829046386296;  // sqrt(6)/6
constexpr double kDodecInradiusPerEdge = 1.1135163644116068;  // sqrt(250 + 110 sqrt(5)) / 20
constexpr int32_t kMaxElementCorners = 5;

// The corners of every copy of the element: the middles of its arcs, in the
// element's own plane.
struct ElementCorners {
  triplex p[kMaxElementCorners];
  int32_t n;
};

triplex Plane(fcomplex p) { return Triplex(p.re, p.im, 0.0); }

ElementCorners CornersOf(int32_t n, int32_t style) {
  ElementCorners c{};
  c.n = n;
  const triplex pY = Plane(YCurve(0.5, style)), pZ = Plane(ZCurve(0.5, style));
  const triplex pC = Plane(CCurve(0.5, style)), pA = Plane(ACurve(0.5, style));
  if (n == 3) {
    c.p[0] = pY, c.p[1] = pC, c.p[2] = pA;
  } else {
    c.p[0] = pY, c.p[1] = pZ, c.p[2] = pC, c.p[3] = pA;
  }
  return c;
}

spintype Spin(triplex centre, triplex axis, double angle) { return spintype{centre, axis, angle}; }

// Element 0 unturned; its side outputs are the corners of the face it covers.
void BuildFirst(VivoContext* ctx, const ElementCorners& corners, int32_t style, triplex* P) {
  ElementCorners copy = corners;
  BuildOneAnyElement(copy.p, copy.n, ctx, GetSpintypeForIdentity(), P, 0, style);
}

void BuildCopy(VivoContext* ctx, const ElementCorners& corners, int32_t style, spintype spin, int32_t k,
               triplex* sideOut = nullptr) {
  ElementCorners copy = corners;
  triplex scratch[kMaxElementCorners] = {};
  BuildOneAnyElement(copy.p, copy.n, ctx, spin, scratch, k, style);
  if (sideOut)
    for (int32_t i = 0; i < copy.n; ++i) sideOut[i] = scratch[i];
}

void Finish(VivoContext* ctx, triplex centre, bool turn, int32_t turnStyle, triplex direction) {
  OffsetAll3DPoints(ctx->poly, RTmul(-1.0, centre));
  if (turn) DizzifyAll3DPoints(ctx->poly, turnStyle, direction);
  VivoClosingPass(ctx->poly);
}

bool Ready(VivoContext* ctx) {
  if (!ctx || !ctx->poly) return false;
  MakeVivo2DPoints();
  return true;
}

triplex Third(triplex a, triplex b, triplex c) { return RTmul(0.3333333333333333, Taddthree(a, b, c)); }

}  // namespace

void Build_VivoTet(VivoContext* ctx) {
  if (!Ready(ctx)) return;
  constexpr int32_t style = 0;
  const ElementCorners corners = CornersOf(3, style);
  triplex P[3];
  BuildFirst(ctx, corners, style, P);
  const double e = Tdist(P[0], P[1]);
  const triplex c = Third(P[0], P[1], P[2]);
  const triplex T = Tadd(c, TMakeLength(Tcross_product(Tsub(P[2], P[0]), Tsub(P[1], P[0])), e * kTetHeightPerEdge));
  const triplex F0 = Third(P[2], P[1], T);
  const triplex F2 = Third(P[1], T, P[0]);
  BuildCopy(ctx, corners, style, Spin(P[0], TUnitVectorFromTo(P[0], F0), 2.0 * kPi / 3.0), 1);
  BuildCopy(ctx, corners, style, Spin(P[0], TUnitVectorFromTo(P[0], F0), -2.0 * kPi / 3.0), 2);
  BuildCopy(ctx, corners, style, Spin(F2, TUnitVectorFromTo(P[2], F2), 2.0 * kPi / 3.0), 3);
  const triplex centre = RTmul(0.25, Tadd(T, Taddthree(P[0], P[1], P[2])));
  Finish(ctx, centre, true, 0, Triplex(0, 0, 0));
}

void Build_VivoCube(VivoContext* ctx) {
  if (!Ready(ctx)) return;
  constexpr int32_t style = 1;
  const ElementCorners corners = CornersOf(4, style);
  triplex P[4];
  BuildFirst(ctx, corners, style, P);
  const triplex u = Tsub(P[0], P[1]);
  const triplex v = Tsub(P[3], P[0]);
  const triplex N = TMakeLength(Tcross_product(u, v), Tmag(u));
  const triplex Q = Tadd(P[0], N);
  const triplex F1 = Tmidpoint(P[1], Q);
  const triplex F2 = Tmidpoint(P[2], Tadd(Q, v));
  const triplex K = Tmidpoint(F1, F2);
  const triplex a = TUnitVectorFromTo(F1, F2);
  const triplex b = Tnormalize(u);
  BuildCopy(ctx, corners, style, Spin(K, a, kPi / 2.0), 1);
  BuildCopy(ctx, corners, style, Spin(K, a, kPi), 2);
  BuildCopy(ctx, corners, style, Spin(K, a, -kPi / 2.0), 3);
  BuildCopy(ctx, corners, style, Spin(K, b, kPi / 2.0), 4);
  BuildCopy(ctx, corners, style, Spin(K, b, -kPi / 2.0), 5);
  Finish(ctx, K, true, 0, Triplex(0, 0, 0));
}

void Build_VivoOct(VivoContext* ctx) {
  if (!Ready(ctx)) return;
  constexpr int32_t style = 2;
  const ElementCorners corners = CornersOf(3, style);
  triplex P[3];
  BuildFirst(ctx, corners, style, P);
  const double e = Tdist(P[0], P[1]);
  const triplex c = Third(P[0], P[1], P[2]);
  const triplex K = Tadd(c, TMakeLength(Tcross_product(Tsub(P[2], P[0]), Tsub(P[1], P[0])), e * kOctInradiusPerEdge));
  const triplex a0 = TUnitVectorFromTo(P[0], K);
  BuildCopy(ctx, corners, style, Spin(K, a0, kPi / 2.0), 1);
  BuildCopy(ctx, corners, style, Spin(K, a0, -kPi / 2.0), 2);
  BuildCopy(ctx, corners, style, Spin(K, a0, kPi), 3);
  const triplex V = SpinPointAroundAxis(Spin(K, a0, kPi), P[1]);
  BuildCopy(ctx, corners, style, Spin(K, TUnitVectorFromTo(P[2], K), kPi / 2.0), 4);
  BuildCopy(ctx, corners, style, Spin(K, TUnitVectorFromTo(P[2], K), kPi), 5);
  BuildCopy(ctx, corners, style, Spin(K, TUnitVectorFromTo(P[1], K), kPi), 6);
  const triplex M = RTmul(0.5, Tadd(P[2], V));
  BuildCopy(ctx, corners, style, Spin(K, TUnitVectorFromTo(M, K), kPi), 7);
  Finish(ctx, K, true, 2, Tsub(P[0], K));
}

void Build_VivoDodecahedron(VivoContext* ctx) {
  if (!Ready(ctx)) return;
  constexpr int32_t style = 3;
  const triplex pA = Plane(ACurve(0.5, style)), pC = Plane(CCurve(0.5, style));
  const triplex pZ = Plane(ZCurve(0.5, style)), pY = Plane(YCurve(0.5, style));
  const triplex pR = Plane(ReflectAroundLine(Ypent[4], Ypent[5], Cspun(9.0 * kPi / 5.0)));
  // The element's corner list runs pR, pY, pZ, pC, pA.
  auto build = [&](spintype spin, int32_t k, triplex* P) {
    triplex out[5];
    BuildOneVivoDodecElement(pR, pY, pZ, pC, pA, ctx, spin, &out[0], &out[1], &out[2], &out[3], &out[4], k, style);
    if (P)
      for (int32_t i = 0; i < 5; ++i) P[i] = out[i];
  };
  triplex P[5];
  build(GetSpintypeForIdentity(), 0, P);
  // Every other element is element 0 turned half a turn about one of the
  // dodecahedron's two-fold axes, each of which takes face 0 to exactly one
  // other face: the five through the midpoints of face 0's sides reach its
  // neighbours, the five tilted axes n0 + nj reach the faces of the lower
  // ring, and one axis square to n0 reaches the opposite face. A half-turn
  // that is a symmetry of the solid puts every wing onto its partner's.
  const double e = Tdist(P[0], P[1]);
  const triplex c = RTmul(0.2, Tadd(Taddthree(P[0], P[1], P[2]), Tadd(P[3], P[4])));
  const triplex n0 = Tnormalize(Tcross_product(Tsub(P[2], P[0]), Tsub(P[1], P[0])));
  const triplex K = Tadd(c, RTmul(e * kDodecInradiusPerEdge, n0));
  const triplex up = TUnitVectorFromTo(K, c);
  triplex ring[5];
  for (int32_t i = 0; i < 5; ++i) {
    const triplex m = TUnitVectorFromTo(K, Tmidpoint(P[i], P[(i + 1) % 5]));
    build(Spin(K, m, kPi), 1 + i, nullptr);
    // The neighbour's outward normal, the half-turn's image of face 0's.
    ring[i] = Tsub(RTmul(2.0 * Tdot_product(m, up), m), up);
  }
  for (int32_t i = 0; i < 5; ++i) build(Spin(K, Tnormalize(Tsub(up, ring[i])), kPi), 6 + i, nullptr);
  build(Spin(K, Tnormalize(Tcross_product(up, Tsub(P[0], c))), kPi), 11, nullptr);
  Finish(ctx, K, false, 0, Triplex(0, 0, 0));
}

void Build_Tribox(VivoContext* ctx) {
  if (!Ready(ctx)) return;
  constexpr int32_t style = 5;
  const ElementCorners corners = CornersOf(3, style);
  triplex P[3];
  BuildFirst(ctx, corners, style, P);
  const triplex c = Third(P[0], P[1], P[2]);
  const triplex M = Tmidpoint(P[1], P[2]);
  BuildCopy(ctx, corners, style, Spin(M, TUnitVectorFromTo(P[0], M), kPi), 1);
  Finish(ctx, c, true, 5, Triplex(0, 0, 0));
}

void Build_x_box(VivoContext* ctx, int32_t style) {
  if (!Ready(ctx)) return;
  const ElementCorners corners = CornersOf(4, style);
  triplex P[4];
  BuildFirst(ctx, corners, style, P);
  const spintype s0 = GetSpintypeForIdentity();
  uint8_t made = 0;
  for (int32_t i = 0; i < 3; ++i)
    ctx->poly->key3DVerts[i] =
        AddNew3DTVertToPolyhedron_tol(ctx->poly, SpinPointAroundAxis(s0, P[i]), kVivoMergeTolerance, &made);
  const triplex M = Tmidpoint(P[0], P[2]);
  const spintype s1 = Spin(P[2], TUnitVectorFromTo(P[0], P[2]), kPi);
  triplex twin[4];
  BuildCopy(ctx, corners, style, s1, 1, twin);
  for (int32_t i = 0; i < 3; ++i)
    ctx->poly->key3DVerts[3 + i] =
        AddNew3DTVertToPolyhedron_tol(ctx->poly, SpinPointAroundAxis(s1, twin[i]), kVivoMergeTolerance, &made);
  ctx->poly->key3DVerts[6] = -1;
  Finish(ctx, M, false, 0, Triplex(0, 0, 0));
}

void Build_squarebox(VivoContext* ctx) { Build_x_box(ctx, 6); }
void Build_squirclebox(VivoContext* ctx) { Build_x_box(ctx, 7); }
