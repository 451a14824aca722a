#include "polybuild/curved/vivo_elements.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "polybuild/curved/vivo_curves.h"
#include "polybuild/curved/vivo_hinge.h"
#include "polybuild/curved/vivo_simplex.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_record.h"
#include "polyhedron/nets/scissor_marks.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHingeTolerance = 1e-20;
// Where the scissor mark sits on the first rung and how large it is: the
// mark's radius is the rest of the rung beyond the half-way point.
constexpr double kMarkRadiusShare = 0.28979642657037913;
constexpr double kMarkPlace = 0.5 + kMarkRadiusShare;
constexpr double kMarkCompanionTurnA = -0.06981317007977318;  // -4 degrees
constexpr double kMarkCompanionTurnB = 0.41887902047863906;   // 24 degrees

int32_t VertexOf(VivoContext* ctx, spintype spin, triplex p) {
  uint8_t made = 0;
  return AddNew3DTVertToPolyhedron_tol(ctx->poly, SpinPointAroundAxis(spin, p), kVivoMergeTolerance, &made);
}

// First empty slot; a full list keeps what it has.
void Record(uint16_t (&list)[kPolyVertexListLength], int32_t vertex) {
  for (uint16_t& slot : list) {
    if (slot != kPolyNoVertex16) continue;
    slot = vertex < 0 ? kPolyNoVertex16 : uint16_t(vertex);
    return;
  }
}

void RecordTag(VivoContext* ctx, int32_t tag, spintype spin, triplex p) {
  const int32_t v = VertexOf(ctx, spin, p);
  if (tag >= 0 && tag < kPolyElementTags) Record(ctx->poly->tagVertexLists[tag], v);
}

void AddFace(VivoContext* ctx, spintype spin, const triplex* points, int32_t count, int32_t tag) {
  int32_t vertices[kPolyMaxCorners];
  count = std::min(count, kPolyMaxCorners);
  for (int32_t i = 0; i < count; ++i) vertices[i] = VertexOf(ctx, spin, points[i]);
  Add3DFaceToPolyhedron_macro(ctx->poly, vertices, count, -1, 1, 0, tag, -1, -1);
}

spintype Spin(triplex centre, triplex axis, double angle) { return spintype{centre, axis, angle}; }

void AddWingScissorMark(VivoContext* ctx, spintype spin, triplex Q, triplex A, triplex D, int32_t tag,
                        int32_t elementNo) {
  const triplex M = Tmidpoint(Q, A);
  const triplex a = TUnitVectorFromTo(Q, D);
  const triplex b = TUnitVectorFromTo(Q, A);
  const triplex n = Tcross_product(b, a);
  const triplex L = Tadd(Q, RTmul(kMarkPlace, Tsub(A, Q)));
  const triplex mark = SpinPointAroundAxis(Spin(M, n, kPi / 4.0), L);
  const triplex p1 = SpinPointAroundAxis(Spin(A, n, kMarkCompanionTurnA), M);
  const triplex p2 = SpinPointAroundAxis(Spin(M, n, kMarkCompanionTurnB), A);
  const triplex p3 = Tadd(M, n);
  AddScissorMark(ctx->poly, mark, kMarkRadiusShare * Tdist(A, Q), tag + 1, spin, elementNo, p1, p2, p3);
}

// A wing step is read off the template with the template's rung (its inner
// arc point towards its outer one) along the side frame's u and the rung's
// advance along w. That holds when the template's corner 1, the axis of
// symmetry of its first side's rung, points up (+y), as the triangle's and
// the square's do. The pentagon's corner 1 sits at 72 degrees: read without
// the turn, every step of its wings comes out 18 degrees askew and no hinge
// angle in range closes even the first step.
fcomplex TemplateStepInSideFrame(fcomplex step, int32_t style) {
  if (style != 3) return step;
  return Cmul(step, Cspun(kPi / 2.0 - std::atan2(Ypent[1].im, Ypent[1].re)));
}

}  // namespace

double BendAngleOfStyle(int32_t style) {
  switch (style) {
    case 0: return kPi - std::acos(1.0 / 3.0);
    case 1: return kPi / 2.0;
    case 2: return kPi - std::acos(-1.0 / 3.0);
    case 3: return kPi - std::acos(-0.447213595499958);
    case 4: return kPi - std::acos(-0.7453559924999299);
    default: return kPi;
  }
}

int32_t WingStepsOfStyle(int32_t style) { return style == 3 ? kVivoDodecWingSteps : kVivoWingSteps; }

double HingeAngleOfStep(VivoContext* ctx, int32_t step, HingeSearchRecord* record) {
  const bool cached = step >= 0 && step < kVivoHingeSteps;
  if (cached && ctx->hingeKnown[step]) return ctx->hingeAngle[step];
  triplex state[4] = {};
  const fcomplex found = SimplexInverse_core(Triplex(0.0, 0.0, 0.0), state, kSimplexKindHinge, kHingeTolerance, record);
  ctx->worstHingeError = std::max(ctx->worstHingeError, record->bestError);
  if (!(record->bestError <= kHingeClosedError)) ctx->hingeFailed = 1;
  if (cached) {
    ctx->hingeAngle[step] = found.re;
    ctx->hingeKnown[step] = 1;
  }
  return found.re;
}

void DumpVivoTetQuad(triplex p0, triplex p1, triplex p2, triplex p3, VivoContext* ctx, spintype spin, int32_t tag) {
  if (!ctx || !ctx->poly) return;
  const triplex points[4] = {p0, p1, p2, p3};
  AddFace(ctx, spin, points, 4, tag);
}

void DumpVivoTri(triplex p0, triplex p1, triplex p2, VivoContext* ctx, spintype spin, int32_t tag) {
  if (!ctx || !ctx->poly) return;
  const triplex points[3] = {p0, p1, p2};
  AddFace(ctx, spin, points, 3, tag);
}

void BuildVivoStuff(triplex P, triplex Q, triplex S, triplex T, triplex u, triplex w, triplex* out, spintype spin,
                    VivoContext* ctx, int32_t tag, int32_t elementNo, int32_t style) {
  if (!ctx || !ctx->poly) return;
  const double bend = BendAngleOfStyle(style);
  const double h = Cdist(BCurve(0.5, style), ACurve(0.5, style));
  triplex A = Tadd(T, RTmul(Tdist(Q, T) + h, TUnitVectorFromTo(T, Q)));
  A = SpinPointAroundAxis(Spin(Q, TUnitVectorFromTo(S, P), bend / 2.0), A);
  RecordTag(ctx, tag, spin, Q);
  RecordTag(ctx, tag, spin, P);
  RecordTag(ctx, tag + 1, spin, Q);
  RecordTag(ctx, tag + 1, spin, A);
  const int32_t steps = WingStepsOfStyle(style);
  for (int32_t i = 1; i <= steps; ++i) {
    const double t0 = 0.5 + 0.5 * double(i - 1) / steps;
    const double t1 = 0.5 + 0.5 * double(i) / steps;
    const fcomplex a1 = ACurve(t1, style);
    const fcomplex dA = TemplateStepInSideFrame(Csub(a1, ACurve(t0, style)), style);
    HingeSearchRecord r{};
    r.centre = Q;
    r.axis = TUnitVectorFromTo(Q, P);
    r.anchorA = A;
    r.anchorB = P;
    r.lenA = Cdist(BCurve(t1, style), a1);
    r.lenB = Cdist(a1, CCurve(t1, style));
    r.pivot = Tadd(Q, Tadd(RTmul(dA.re, u), RTmul(dA.im, w)));
    r.target = Cmag(dA);
    r.angle = HingeAngleOfStep(ctx, i, &r);
    Build_D_and_F(&r);
    const triplex D = r.pointD, E = r.pointE, F = r.pointF;
    if (i < steps) {
      DumpVivoTetQuad(P, F, D, Q, ctx, spin, tag);
      DumpVivoTetQuad(Q, D, E, A, ctx, spin, tag + 1);
    } else {
      DumpVivoTri(P, D, Q, ctx, spin, tag);
      DumpVivoTri(Q, E, A, ctx, spin, tag + 1);
    }
    // Squircle pieces are cut along their smooth outline; no mark.
    if (i == 1 && style != 7) AddWingScissorMark(ctx, spin, Q, A, D, tag, elementNo);
    w = TUnitVectorFromTo(Tmidpoint(P, Q), Tmidpoint(F, D));
    u = TUnitVectorFromTo(F, D);
    if (i == steps && out) *out = D;
    P = F;
    Q = D;
    A = E;
  }
}

void BuildOntoOneSide(triplex P, triplex Q, triplex R, triplex S, triplex T, VivoContext* ctx, triplex* out,
                      spintype spin, int32_t tag, int32_t elementNo, int32_t style) {
  triplex u, w;
  BuildFrame(P, Q, R, &u, &w);
  BuildVivoStuff(P, Q, S, T, u, w, out, spin, ctx, tag, elementNo, style);
}

void BuildOneAnyElement(const triplex* corners, int32_t n, VivoContext* ctx, spintype spin, triplex* out, int32_t k,
                        int32_t style) {
  if (!ctx || !ctx->poly || !corners || n < 1) return;
  triplex sum = Triplex(0.0, 0.0, 0.0);
  for (int32_t i = 0; i < n; ++i) sum = Tadd(sum, corners[i]);
  const triplex c = RTmul(1.0 / n, sum);
  const int32_t t = (2 * n + 1) * k;
  AddFace(ctx, spin, corners, std::min(n, kPolyMaxCorners), t);
  for (int32_t i = 0; i < n; ++i) RecordTag(ctx, t, spin, corners[i]);
  for (int32_t i = 0; i < n; ++i)
    BuildOntoOneSide(corners[i], corners[(i + 1) % n], c, corners[(i + 2) % n], c, ctx, out ? &out[i] : nullptr,
                     spin, t + 1 + 2 * i, k + 1, style);
  if (k + 1 >= 0 && k + 1 < kPolyFragmentSlots)
    for (int32_t i = 0; i < n; ++i) Record(ctx->poly->sideVertexLists[k + 1], VertexOf(ctx, spin, corners[i]));
}

void BuildOneVivoDodecElement(triplex c0, triplex c1, triplex c2, triplex c3, triplex c4, VivoContext* ctx,
                              spintype spin, triplex* out0, triplex* out1, triplex* out2, triplex* out3,
                              triplex* out4, int32_t k, int32_t style) {
  const triplex corners[5] = {c0, c1, c2, c3, c4};
  triplex out[5] = {};
  BuildOneAnyElement(corners, 5, ctx, spin, out, k, style);
  triplex* outs[5] = {out0, out1, out2, out3, out4};
  for (int i = 0; i < 5; ++i)
    if (outs[i]) *outs[i] = out[i];
}

void DizzifyAll3DPoints(polyhedron* poly, int32_t style, triplex direction) {
  if (!poly || poly->n3DVerts <= 0) return;
  double(*coords)[3] = MutableCoords3D(poly);
  if (!coords) return;
  const int32_t count = std::min(poly->n3DVerts, kPolyMax3DVerts);
  if (style == 0 || style == 5) {
    for (int32_t i = 0; i < count; ++i) {
      const double y = coords[i][1], z = coords[i][2];
      coords[i][1] = -z;
      coords[i][2] = y;
    }
    return;
  }
  if (style != 1 && style != 2) return;
  const triplex up = Triplex(0.0, 1.0, 0.0);
  const triplex d = Tnormalize(direction);
  const spintype turn{Triplex(0.0, 0.0, 0.0), Tnormalize(Tcross_product(d, up)), -std::acos(Tdot_product(d, up))};
  for (int32_t i = 0; i < count; ++i) {
    const triplex p = SpinPointAroundAxis(turn, Triplex(coords[i][0], coords[i][1], coords[i][2]));
    coords[i][0] = p.x;
    coords[i][1] = p.y;
    coords[i][2] = p.z;
  }
}
