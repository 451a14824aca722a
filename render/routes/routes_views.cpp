#include "render/routes/routes_views.h"

#include <cmath>

#include "polyhedron/polyhedron_record.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views_fold.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/stereographic.h"
#include "render/output_modes.h"
#include "render/routes/route_plane.h"
#include "render/vort.h"

namespace {

constexpr double kPiD = 3.141592653589793;
constexpr double kTwoPiD = 6.283185307179586;
constexpr float kInvTwoPiF = 0.15915493667125702f;
// Wetch: a third of the picture's width on each side of the centre line.
constexpr float kWetchThird = -0.3333333432674408f;
// Curvy: the equirectangular picture enlarged 7/4 about its centre.
constexpr double kCurvyEnlarge = 7.0 * 0.25;
// Goggles: the disc is squeezed vertically and widened in longitude by this.
constexpr float kGogglesSqueeze = 1.4f;
constexpr float kGogglesSpread = 2.7f;
// Omnimax: the disc centre lies below the box centre; the lower half is a
// half ellipse of this height; the dome lens's radial polynomial.
constexpr double kOmnimaxDrop = 0.135;
constexpr double kOmnimaxLowerHeight = 0.46;
constexpr double kOmnimaxScale = 0.6366197723675814;
constexpr double kOmnimaxC1 = 1.411268949508667;
constexpr double kOmnimaxC3 = 0.094389;
constexpr double kOmnimaxC5 = 0.256740003824234;
// Panels: 6·sqrt(3) spans a 120-degree panel, 8 a 90-degree one.
constexpr float kTriptychScale = 10.392304f;
constexpr float kTetraptychScale = 8.0f;
// Zenith and nadir: each half of the sheet is a region of its own, so that
// no pixel blends the two views across the seam between them.
constexpr int32_t kZenithRegion = 1;
constexpr int32_t kNadirRegion = 2;

void Doubled(fcomplex plane, float* X, float* Y) {
  *X = float(2.0 * plane.re);
  *Y = float(2.0 * plane.im);
}

// The north pole of the equirectangular frame becomes the picture centre +z.
void PoleToFront(float p[3]) {
  const float y = p[1], z = p[2];
  p[1] = -z;
  p[2] = y;
}

// A straight view of the view angle across the output's shorter side.
void StraightView(double u, double v, const vort& view, float p[3]) {
  const float vpw = view.viewPlaneWidth, aspect = view.outputAspect;
  const float du = float(u - 0.5), dv = float(v - 0.5);
  if (aspect <= 1.0f) {
    p[0] = -du / aspect * vpw;
    p[1] = -dv * vpw;
  } else {
    p[0] = -du * vpw;
    p[1] = -dv * aspect * vpw;
  }
  p[2] = 1.0f;
  NormalizeVector(p);
}

// The polar point of the hyperbolic family: the whole plane onto the sphere,
// the far pole at infinity.
void HyperbolicPoint(float angle, float r, float vpw, float p[3]) {
  RectangularToSpherical(-angle / kTwoPiF, 1.0f - 1.0f / (r * vpw + 1.0f), p);
  PoleToFront(p);
}

float MercatorLatitude(double b) { return float((std::atan(std::sinh(kTwoPiD * b)) + kPiD / 2.0) / kPiD); }

void Panels(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, int32_t count) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  const float vpw = view.viewPlaneWidth;
  const float f = float((u - 0.5) * vpw + 0.5), g = float((v - 0.5) * vpw);
  int32_t k;
  float c, s;
  if (count == 3) {
    // Both panel edges belong to the middle panel.
    k = f < 1.0f / 3.0f ? -1 : (f > 2.0f / 3.0f ? 1 : 0);
    c = float(k) / 3.0f + 0.5f;
    s = kTriptychScale;
  } else {
    k = f <= 0.25f ? 0 : (f <= 0.5f ? 1 : (f <= 0.75f ? 2 : 3));
    c = 0.25f * float(k) + 0.125f;
    s = kTetraptychScale;
  }
  float p[3] = {-(f - c) * s, -g * view.outputAspect * s, 1.0f};
  NormalizeVector(p);
  if (k != 0) {
    float lon, lat;
    SphericalToRectangular(p, &lon, &lat);
    lon -= float(k) / float(count);
    RectangularToSpherical(lon, lat, p);
  }
  *outside = 0;
  for (int i = 0; i < 3; ++i) sphere[i] = p[i];
}

// Modes 65 to 68: a complex power of the plane point. `cube` picks z^3 over
// z^2/2; `mercator` reads the result as a Mercator point instead of a
// stereographic one.
void PowerSheet(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, bool cube, bool mercator) {
  *outside = 1;
  fcomplex z = plane;
  z = cube ? Cmul(z, Cmul(z, z)) : RCmul(0.5, Cmul(z, z));
  const double vpw = view.viewPlaneWidth;
  if (!mercator) {
    StereoIntersect(float(5.0 * vpw * z.re), float(5.0 * vpw * z.im), sphere);
  } else {
    z = RCmul(vpw * vpw, z);
    RectangularToSpherical(float(1.0 - (z.re + 0.5)), MercatorLatitude(z.im), sphere);
  }
  *outside = 0;
}

}  // namespace

void UnitOfPlane(fcomplex plane, const vort& view, double* u, double* v) {
  const SnuggleRecord& s = view.snuggle;
  *u = (plane.re - s.centerX) / s.invScale + 0.5;
  *v = (plane.im - s.centerY) / (s.aspect * s.invScale) + 0.5;
}

void Route_Rectilinear(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  // The tilt slope moves the level line up or down without turning the view.
  StraightView(u, v - view.tiltSlope, view, sphere);
  *outside = 0;
}

void Route_Hyperbolic(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float r = std::sqrt(X * X + Y * Y);
  HyperbolicPoint(XYtoRadians(float(plane.re), float(plane.im)), r, view.viewPlaneWidth, sphere);
  *outside = 0;
}

void Route_Stereographic(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double k = 0.5 * double(view.viewPlaneWidth) * double(view.viewPlaneWidth);
  const fcomplex q = PlaneInRegisters(plane);
  double p[3];
  StereoIntersect_NiceD(k * q.re, k * q.im, p);
  for (int i = 0; i < 3; ++i) sphere[i] = float(p[i]);
  *outside = 0;
}

void Route_Wetch(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  float a = float(2.0 * (u - 0.5));
  float s = 1.0f;
  if (a < 0.0f) {
    a = -a;
    s = -1.0f;
  }
  const float vpw = view.viewPlaneWidth;
  const float g = 1.0f - 1.0f / (1.0f + a * vpw);
  const float yw = float(plane.im * vpw);
  if (!(yw >= -0.5f && yw <= 0.5f)) return;
  RectangularToSpherical(s * g / view.outputAspect * kWetchThird + 0.5f, yw + 0.5f, sphere);
  *outside = 0;
}

void Route_Pinwheel(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float r2 = X * X + Y * Y;
  if (!(r2 <= 1.0f)) return;
  const float a = XYtoRadians(float(plane.re), float(plane.im));
  const float r = std::sqrt(r2);
  float w = r * r * kPiF - a;
  if (w > kTwoPiF) w -= kTwoPiF;
  RectangularToSpherical(w / kTwoPiF, float(1.0 - std::sqrt(1.0 - double(r))), sphere);
  PoleToFront(sphere);
  *outside = 0;
}

void Route_Lozenge(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double Y = 2.0 * plane.im;
  const float vb = float(Y + 0.5);
  if (!(vb < 1.0f && vb > 0.0f)) return;
  const float ue = float(plane.re + 0.5);
  const float w = float(1.0 - std::fabs(Y));
  if (!(w > 0.0f)) return;
  const float ul = (ue - 0.5f) / w + 0.5f;
  if (!(ul < 1.0f && ul > 0.0f)) return;
  RectangularToSpherical(1.0f - ul, vb, sphere);
  *outside = 0;
}

void Route_Curvy(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float z = 2.0f * (1.0f - X * X - Y * Y) - 1.0f;
  if (!(z >= -1.0f)) return;
  const float k = std::sqrt(2.0f * (1.0f + z));
  float p[3] = {-X * k, -Y * k, z};
  float a, b;
  SphericalToRectangular(p, &a, &b);
  const float a2 = float((double(a) - 0.5) * kCurvyEnlarge + 0.5);
  const float b2 = float((double(b) - 0.5) * kCurvyEnlarge + 0.5);
  if (!(a2 >= 0.0f && a2 <= 1.0f && b2 >= 0.0f && b2 <= 1.0f)) return;
  RectangularToSpherical(a2, b2, sphere);
  *outside = 0;
}

void Route_Goggles(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float xg = X, yg = 2.0f * Y / kGogglesSqueeze;
  const float r = std::sqrt(xg * xg + yg * yg);
  const float a = XYtoRadians(float(plane.re), float(2.0 * plane.im / double(kGogglesSqueeze)));
  float p[3];
  HyperbolicPoint(a, r, kGogglesSpread, p);
  float a2, b2;
  SphericalToRectangular(p, &a2, &b2);
  const float a3 = (a2 - 0.5f) * kGogglesSqueeze + 0.5f;
  if (!(a3 >= 0.0f && a3 <= 1.0f)) return;
  RectangularToSpherical(a3, b2, sphere);
  *outside = 0;
}

void Route_Quasar(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float r = std::sqrt(std::sqrt(std::sqrt(X * X + Y * Y)));
  const float a = XYtoRadians(float(plane.re), float(plane.im));
  RectangularToSpherical(-a * kInvTwoPiF, r, sphere);
  PoleToFront(sphere);
  *outside = 0;
}

void Route_Loop(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const float p = float(-2.0 * plane.im), q = float(2.0 * plane.re);
  const float s2 = p * p + q * q;
  if (!(s2 <= 1.0f) || p == 1.0f) return;
  const float c = (s2 - 1.0f) / (2.0f * p - 2.0f);
  if (c > 0.5f) return;
  const float h = float(0.5 * std::sqrt(double(p - c) * double(p - c) + double(q) * double(q)));
  // On the vertical axis (q = 0) the circle's chord to (1, 0) is horizontal:
  // the point sits on the picture's middle meridian.
  float uL = 0.5f;
  if (q != 0.0f) {
    const float t = (1.0f - p) / q * (c - p);
    const float g = std::sqrt((p - 1.0f) * (p - 1.0f) + t * t);
    if (g != 0.0f) uL = (q > 0.0f ? -0.5f / g : 0.5f / g) + 0.5f;
  }
  const float vL = h != 0.0f ? 0.5f / h : 0.0f;
  RectangularToSpherical(uL, vL, sphere);
  *outside = 0;
}

void Route_Omnimax(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const float xo = float(2.0 * plane.re), yo = float(2.0 * (plane.im - kOmnimaxDrop));
  const float q = xo * xo + yo * yo;
  if (!(q <= 1.0f)) return;
  if (yo > 0.0f) {
    const double e = double(yo) / kOmnimaxLowerHeight;
    if (double(xo) * double(xo) + e * e > 1.0) return;
  }
  const float a = XYtoRadians(float(plane.re), float(plane.im - kOmnimaxDrop));
  const double r = std::sqrt(double(q));
  const double b = kOmnimaxScale * (kOmnimaxC1 * r - kOmnimaxC3 * std::pow(r, 3.0) + kOmnimaxC5 * std::pow(r, 5.0));
  RectangularToSpherical(-a / kTwoPiF, float(b), sphere);
  PoleToFront(sphere);
  *outside = 0;
}

void Route_Swoop(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  float X, Y;
  Doubled(plane, &X, &Y);
  float a[3];
  HyperbolicPoint(XYtoRadians(float(plane.re), float(plane.im)), std::sqrt(X * X + Y * Y), view.viewPlaneWidth,
                  a);
  float b[3];
  StraightView(u, v, view, b);
  const float t = float((2.0 * (u - 0.5)) * (2.0 * (u - 0.5)));
  for (int i = 0; i < 3; ++i) sphere[i] = b[i] + (a[i] - b[i]) * t;
  NormalizeVector(sphere);
  *outside = 0;
}

void Route_Oculus(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  float X, Y;
  Doubled(plane, &X, &Y);
  const float vpw = view.viewPlaneWidth;
  const float theta = XYtoRadians(float(plane.re), float(plane.im));
  const float a = 1.0f - 1.0f / (std::sqrt(X * X + Y * Y) * vpw + 1.0f);
  float s[3];
  StraightView(u, v, view, s);
  // The straight view turned to look along +y: (horizontal, 1, vertical).
  const float by = s[2];
  const float c = fast_acos(by) / kPiF;
  const float d = float(std::sqrt((u - 0.5) * (u - 0.5) + (v - 0.5) * (v - 0.5)));
  RectangularToSpherical(-theta / kTwoPiF, d * (a - c) + c, sphere);
  PoleToFront(sphere);
  *outside = 0;
}

void Route_Triptych(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  Panels(plane, view, sphere, outside, 3);
}

void Route_Tetraptych(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  Panels(plane, view, sphere, outside, 4);
}

void Route_Mercator(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  RectangularToSpherical(float(1.0 - u), MercatorLatitude((v - 0.5) * double(view.outputAspect)), sphere);
  *outside = 0;
}

void Route_Hyperdouble(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  PowerSheet(plane, view, sphere, outside, false, false);
}
void Route_Hypertriple(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  PowerSheet(plane, view, sphere, outside, true, false);
}
void Route_MercatorCross(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  PowerSheet(plane, view, sphere, outside, false, true);
}
void Route_MercatorStar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  PowerSheet(plane, view, sphere, outside, true, true);
}

void Route_EquiTall(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  const float s = std::sin(float(-kPiD * (v - 0.5)));
  const float c = std::sqrt(std::fmax(0.0f, 1.0f - s * s));
  const float lam = float(kTwoPiD * (u - 0.5));
  sphere[0] = -std::sin(lam) * c;
  sphere[1] = s;
  sphere[2] = c * std::cos(lam);
  *outside = 0;
}

void Route_EqualAreaCylinder(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double u, v;
  UnitOfPlane(plane, view, &u, &v);
  const double s = 2.0 * (v - 0.5);
  // Beyond the poles asin has no value; such rows lie off the map.
  if (!(s >= -1.0 && s <= 1.0)) return;
  RectangularToSpherical(float(-u), float(std::asin(s) / kPiD + 0.5), sphere);
  *outside = 0;
}

void Route_ZenithNadir(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks* marks) {
  *outside = 1;
  const double x = plane.re, y = plane.im;
  if (!(y >= -0.25 && y <= 0.25)) return;
  float p[3];
  if (x >= -0.5 && x <= 0.0) {
    p[0] = float(-(x + 0.25) * 4.0);
    p[1] = float(-y * 4.0);
    p[2] = 1.0f;
    NormalizeVector(p);
    sphere[0] = p[0];
    sphere[1] = p[2];
    sphere[2] = -p[1];
    marks->forcedRegion = kZenithRegion;
  } else if (x > 0.0 && x <= 0.5) {
    p[0] = float(-(x - 0.25) * 4.0);
    p[1] = float(-y * 4.0);
    p[2] = 1.0f;
    NormalizeVector(p);
    sphere[0] = p[0];
    sphere[1] = -p[2];
    sphere[2] = p[1];
    marks->forcedRegion = kNadirRegion;
  } else {
    return;
  }
  *outside = 0;
}

void Route_MultiView(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks* marks) {
  *outside = 1;
  const polyhedron* poly = view.polyhedron;
  const double columns = view.viewColumns, rows = view.viewRows;
  const double X = plane.re + columns / 2.0, Y = plane.im + rows / 2.0;
  if (!poly || !(X > 0.0 && X < columns && Y > 0.0 && Y < rows)) return;
  // Cells run down each column, column after column; a grid with more
  // cells than the solid has faces leaves the last ones empty.
  const double column = std::trunc(X), row = std::trunc(Y);
  const int32_t cell = view.viewRows * int32_t(column) + int32_t(row);
  if (cell < 0 || cell >= poly->n3DFaces || cell >= kPolyMaxFaces) return;
  const float vpw = view.viewPlaneWidth;
  float local[3] = {-float(X - column - 0.5) * vpw, -float(Y - row - 0.5) * vpw, 1.0f};
  NormalizeVector(local);
  const float ahead[3] = {0.0f, 0.0f, 1.0f};
  float turn[4][4];
  FromToBuildRotation(ahead, poly->faces[cell].centroidF, turn);
  MultiplyRowVectorBy3x3(local, turn, sphere);
  marks->sheetCell = cell;
  marks->forcedRegion = cell;
  *outside = 0;
}

void Route_Panini(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  // The ray from (0, -1, 0), a point of the unit cylinder about z, along
  // (dx, 1, dz) meets the cylinder again at the parameter 2 / (1 + dx^2).
  const double dx = -plane.re * view.viewPlaneWidth / 2.0;
  const double dz = plane.im * view.viewPlaneWidth / 2.0;
  const double t = 2.0 / (1.0 + dx * dx);
  if (!std::isfinite(t)) return;
  double h[3] = {t * dx, t - 1.0, t * dz};
  NormalizeVectorSlowlyD(h);
  sphere[0] = float(h[0]);
  sphere[1] = float(-h[2]);
  sphere[2] = float(h[1]);
  *outside = 0;
}

void Route_Disc(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double a = 2.0 * plane.re, b = 2.0 * plane.im;
  const double r2 = a * a + b * b;
  if (!(r2 <= 1.0)) return;
  RectangularToSpherical(-XYtoRadians(float(plane.re), float(plane.im)) / kTwoPiF, float(std::sqrt(r2)), sphere);
  *outside = 0;
}

void Route_FoldingSphere(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks* marks) {
  *outside = 1;
  uint8_t off = 1;
  float p[3];
  // The strip paints its own regions: the margin before the first tab in the
  // first colour, the tabs as a surface, the glue strips (which carry the
  // neighbouring tab's picture, mirrored) as glue.
  GetZorFoldingSphere(float(plane.re), float(plane.im), view.goreCount, 1.0f, p, &off, &marks->regionCode,
                      &marks->glueMark);
  if (marks->regionCode == kFoldRegionMargin) marks->tabHit = 1;
  if (off) return;
  for (int i = 0; i < 3; ++i) sphere[i] = p[i];
  *outside = 0;
}
