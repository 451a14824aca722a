#include "reuleaux_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"

namespace reuleaux {

namespace {

double Det(const float a[3], const float b[3], const float c[3]) {
  return double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) - double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
         double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0]);
}

double Cross(cplx a, cplx b) { return a.real() * b.imag() - a.imag() * b.real(); }

}  // namespace

double Angle(const float a[3], const float b[3]) {
  double na = 0, nb = 0, d = 0;
  for (int i = 0; i < 3; ++i) {
    na += double(a[i]) * a[i];
    nb += double(b[i]) * b[i];
    d += double(a[i]) * b[i];
  }
  return std::acos(std::clamp(d / std::sqrt(na * nb), -1.0, 1.0));
}

// The sphere image of barycentrics b in sector k as the renderer finds it:
// the sector's corners on the solid through the net's map, mirrored by
// flip B as every Reuleaux net is. False for a point off the face.
bool Image(const Member& member, const ReuleauxNet& net, const std::vector<Dir3>& solid, int32_t k, const double b[3],
           float out[3]) {
  NetSectorSample s{};
  s.triangle = k;
  s.sector = k;
  s.b0 = float(b[0]);
  s.b1 = float(b[1]);
  s.b2 = float(b[2]);
  for (int c = 0; c < 3; ++c) {
    const Dir3& d = solid[net.solidOf[net.faces[k][c]]];
    s.corner3D[c][0] = -d.v[0];  // flip B
    s.corner3D[c][1] = d.v[1];
    s.corner3D[c][2] = d.v[2];
  }
  uint8_t outside = 0;
  member(&s, out, &outside);
  return outside == 0;
}


// The worst angle between the images two sectors give at one point of an
// edge they share: along the whole edge inside a face; between faces only at
// their shared arc midpoint, the one point of the edge on both faces (the
// rest of it lies off both, where each face's map runs on past its own
// arcs). And which way round the sectors show the sphere, judged on points
// inside each.
Eval Evaluate(const Member& member, const ReuleauxNet& net, const std::vector<Dir3>& solid) {
  Eval e;
  const int32_t n = int32_t(net.faces.size());
  for (int32_t s = 0; s < n; ++s)
    for (int32_t t = s + 1; t < n; ++t)
      for (int ea = 0; ea < 3; ++ea) {
        const int32_t va = net.faces[s][ea], vb = net.faces[s][(ea + 1) % 3];
        int ia = -1, ib = -1;
        for (int c = 0; c < 3; ++c) {
          if (net.faces[t][c] == va) ia = c;
          if (net.faces[t][c] == vb) ib = c;
        }
        if (ia < 0 || ib < 0) continue;
        for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
          double bs[3] = {0, 0, 0}, bt[3] = {0, 0, 0};
          bs[ea] = 1 - f;
          bs[(ea + 1) % 3] = f;
          bt[ia] = 1 - f;
          bt[ib] = f;
          float p[3], q[3];
          ++e.samples;
          if (!Image(member, net, solid, s, bs, p) || !Image(member, net, solid, t, bt, q)) continue;
          ++e.inside;
          if (s / 6 != t / 6) {
            const int32_t at = f == 0.0 ? va : f == 1.0 ? vb : -1;
            if (at < 0 || net.solidOf[at] == kCentre || net.solidOf[at] == kT0 || net.solidOf[at] == kT1 ||
                net.solidOf[at] == kT2)
              continue;
          }
          double& w = (s / 6 == t / 6) ? e.worstInGroup : e.worstAcross;
          w = std::max(w, Angle(p, q));
        }
      }
  int plus = 0, minus = 0;
  for (int32_t k = 0; k < n; ++k) {
    const double in[3][3] = {{0.7, 0.2, 0.1}, {0.5, 0.3, 0.2}, {0.5, 0.2, 0.3}};
    float q[3][3];
    cplx xy[3];
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
      ok = ok && Image(member, net, solid, k, in[i], q[i]);
      xy[i] = 0.0;
      for (int c = 0; c < 3; ++c) xy[i] += in[i][c] * net.points[net.faces[k][c]];
    }
    if (!ok) continue;
    const cplx u = xy[1] - xy[0], v = xy[2] - xy[0];
    const double turn = u.real() * v.imag() - u.imag() * v.real();
    (turn * Det(q[0], q[1], q[2]) > 0 ? plus : minus)++;
  }
  e.handed = minus == 0 ? 1 : plus == 0 ? -1 : 0;
  return e;
}

void Print(const char* what, const Eval& e) {
  std::printf("%s: inGroup %.3g across %.3g inside %d/%d handed %d\n", what, e.worstInGroup, e.worstAcross, e.inside,
              e.samples, e.handed);
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "make_shape_reuleaux: %s\n", what.c_str());
  std::exit(1);
}


// +1 when a net shows the sphere as the catalogue's icosahedron net does
// (turning the same way in the plane as its faces do on the solid seen from
// outside), -1 when mirrored.
int IcosahedronHandedness() {
  auto poly = std::make_unique<polyhedron>();
  NullifyPolyStorage(poly.get());
  InitPoly(poly.get(), 1.0f, 0.0f);
  SetUpReallyGeneralPolyhedron(poly.get(), 17, 6, 0, 0.0, nullptr, 1);
  if (poly->nTriangles < 1) Fail("the icosahedron net did not build");
  const NetTriangle& t = poly->triangles[0];
  cplx p[3];
  float q[3][3];
  for (int i = 0; i < 3; ++i) {
    const PolyVertex2D& v = poly->verts2D[t.vert2D[i]];
    p[i] = cplx(v.x, v.y);
    q[i][0] = v.renderX;
    q[i][1] = v.renderY;
    q[i][2] = v.renderZ;
  }
  const double s = Cross(p[1] - p[0], p[2] - p[0]) * Det(q[0], q[1], q[2]);
  DumpPolyStorage(poly.get(), nullptr);
  return s > 0 ? 1 : -1;
}

// Every point of the net that the map shows must lie in the box.
void CheckBox(const Shape& s, const std::vector<Dir3>& solid) {
  const double slack = 0.01;
  for (size_t k = 0; k < s.net.faces.size(); ++k)
    for (int i = 0; i <= 20; ++i)
      for (int j = 0; i + j <= 20; ++j) {
        const double b[3] = {i / 20.0, j / 20.0, (20 - i - j) / 20.0};
        float q[3];
        if (!Image(s.member, s.net, solid, int32_t(k), b, q)) continue;
        cplx p = 0.0;
        for (int c = 0; c < 3; ++c) p += b[c] * s.net.points[s.net.faces[k][c]];
        if (p.real() < s.box[0] - slack || p.real() > s.box[1] + slack || p.imag() < s.box[2] - slack ||
            p.imag() > s.box[3] + slack)
          Fail(s.name + ": a point shown lies outside the bounds");
      }
}

// Mirrors the net in the line through the origin along mirrorAxis when it
// shows the sphere the wrong way round.
void TurnTheRightWayRound(Shape* s, const std::vector<Dir3>& solid, int want, cplx mirrorAxis) {
  const Eval e = Evaluate(s->member, s->net, solid);
  if (e.handed == 0) Fail(s->name + ": its sectors show the sphere both ways round");
  if (e.handed != want)
    for (cplx& p : s->net.points) p = mirrorAxis * std::conj(p / mirrorAxis);
}

// The same, then checks the net against its map.
void Settle(Shape* s, const std::vector<Dir3>& solid, int want, cplx mirrorAxis) {
  TurnTheRightWayRound(s, solid, want, mirrorAxis);
  const Eval e = Evaluate(s->member, s->net, solid);
  Print(s->name.c_str(), e);
  if (e.handed != want) Fail(s->name + ": mirrored");
  if (e.worstInGroup > kHalfPixel / 10 || e.worstAcross > kHalfPixel / 10) Fail(s->name + ": seams");
  CheckBox(*s, solid);
}


void TurnSkyUp(Shape* s, const std::vector<Dir3>& solid, const std::vector<cplx>& turns) {
  constexpr int kSteps = 12;
  cplx best = 1.0;
  double bestScore = -1e300;
  for (cplx turn : turns) {
    double score = 0.0;
    for (size_t k = 0; k < s->net.faces.size(); ++k)
      for (int i = 0; i <= kSteps; ++i)
        for (int j = 0; i + j <= kSteps; ++j) {
          const double b[3] = {double(i) / kSteps, double(j) / kSteps, double(kSteps - i - j) / kSteps};
          float q[3];
          if (!Image(s->member, s->net, solid, int32_t(k), b, q)) continue;
          cplx p = 0.0;
          for (int c = 0; c < 3; ++c) p += b[c] * s->net.points[s->net.faces[k][c]];
          score -= double(q[1]) * (p * turn).imag();
        }
    if (score > bestScore + 1e-9) {
      bestScore = score;
      best = turn;
    }
  }
  for (cplx& p : s->net.points) p *= best;
}

// Scales and moves the net so that what it shows (sampled finely) fills the
// box, centred.
void FitShownInto(Shape* s, const std::vector<Dir3>& solid) {
  constexpr int kSteps = 80;
  double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
  for (size_t k = 0; k < s->net.faces.size(); ++k)
    for (int i = 0; i <= kSteps; ++i)
      for (int j = 0; i + j <= kSteps; ++j) {
        const double b[3] = {double(i) / kSteps, double(j) / kSteps, double(kSteps - i - j) / kSteps};
        float q[3];
        if (!Image(s->member, s->net, solid, int32_t(k), b, q)) continue;
        cplx p = 0.0;
        for (int c = 0; c < 3; ++c) p += b[c] * s->net.points[s->net.faces[k][c]];
        lo[0] = std::min(lo[0], p.real());
        hi[0] = std::max(hi[0], p.real());
        lo[1] = std::min(lo[1], p.imag());
        hi[1] = std::max(hi[1], p.imag());
      }
  const double* box = s->box;
  const double scale = std::min((box[1] - box[0]) / (hi[0] - lo[0]), (box[3] - box[2]) / (hi[1] - lo[1]));
  const cplx from((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2), to((box[0] + box[1]) / 2, (box[2] + box[3]) / 2);
  for (cplx& p : s->net.points) p = (p - from) * scale + to;
}

}  // namespace reuleaux
