#include "projection/inverse/special_views_thorn.h"

#include <cmath>

#include "projection/complex_math.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/rotation.h"

namespace {

constexpr float kPiF = 3.1415927f;
constexpr float kHalfPiF = 1.5707964f;

constexpr ThornCell kThornCells[kThornCellCount] = {
    {ThornCell_Empty, {0, 0, 0}, 0},          {ThornCell_Empty, {0, 0, 0}, 0},
    {ThornCell_First, {-1, 0, 0}, -kPiF},     {ThornCell_Empty, {0, 0, 0}, 0},
    {ThornCell_Empty, {0, 0, 0}, 0},          {ThornCell_Empty, {0, 0, 0}, 0},
    {ThornCell_Both, {0, 1, 0}, -kHalfPiF},   {ThornCell_Second, {0, 0, 1}, -kHalfPiF},
    {ThornCell_Second, {-1, 0, 0}, 0},        {ThornCell_Both, {0, 0, -1}, kPiF},
    {ThornCell_Both, {1, 0, 0}, 0},           {ThornCell_First, {0, 0, 1}, 0},
    {ThornCell_Empty, {0, 0, 0}, 0},          {ThornCell_First, {0, -1, 0}, kPiF},
    {ThornCell_Second, {0, -1, 0}, kHalfPiF}, {ThornCell_Empty, {0, 0, 0}, 0},
};

// The warp's rotor and the scale that makes the warped net fill its grid.
constexpr double kRotorRe = 0.929182231426239;
constexpr double kRotorIm = 0.30190959572792053;
constexpr double kWarpScale = 1.365234375;
constexpr double kHalfRootTwo = 0.7071067690849304;

}  // namespace

const ThornCell& ThornCellAt(int32_t cell) {
  return kThornCells[((cell % kThornCellCount) + kThornCellCount) % kThornCellCount];
}

void GetThornViewCore(float x, float y, int32_t columns, int32_t rows, float point[3], uint8_t* outside,
                      uint8_t firstLayout) {
  *outside = 1;
  const double cx = static_cast<double>(x) + columns * 0.5;
  const double cy = static_cast<double>(y) + rows * 0.5;
  if (!(cx > 0.0 && cy > 0.0 && cx < columns && cy < rows)) return;
  const int32_t row = static_cast<int32_t>(cy);
  const int32_t column = static_cast<int32_t>(cx);
  // Row-major: a row holds `columns` cells.
  const ThornCell& c = kThornCells[(row * columns + column) % kThornCellCount];
  const int32_t shownHere = firstLayout ? ThornCell_First : ThornCell_Second;
  if (c.kind != ThornCell_Both && c.kind != shownHere) return;

  *outside = 0;
  const fcomplex local = {2.0 * (cx - column - 0.5), 2.0 * (cy - row - 0.5)};
  float q[3];
  FetchFromCache_spherecube(local, q);
  if (c.face[0] == 0.0f && c.face[1] == 0.0f && c.face[2] == -1.0f) {
    // The from-to rotation onto the opposite pole has no unique axis; the
    // back face is the front face turned a half-turn about x.
    point[0] = q[0];
    point[1] = -q[1];
    point[2] = -q[2];
  } else {
    const float front[3] = {0.0f, 0.0f, 1.0f};
    float M[4][4];
    FromToBuildRotation(front, c.face, M);
    MultiplyRowVectorBy3x3(q, M, point);
  }
  if (c.spin != 0.0f) {
    float S[4][4];
    MatrixFromAxisAngle(c.face, c.spin, S);
    MultiplyRowVectorBy3x3(point, S, point);
  }
}

void GetThornView(float x, float y, int32_t columns, int32_t rows, float point[3], uint8_t* outside,
                  uint8_t firstLayout, uint8_t centred) {
  fcomplex z = {x, y};
  if (centred) {
    z = firstLayout ? Cadd(z, Complex(0.195, 0.14)) : Cadd(z, Complex(-0.24, -0.145));
  }
  fcomplex w = {z.re * kRotorRe + z.im * kRotorIm, z.re * kRotorIm - z.im * kRotorRe};
  w = RCmul(kWarpScale, w);
  w = Cpow(w, 0.75);
  const double a = kHalfRootTwo * (w.re + w.im);
  const double b = kHalfRootTwo * (w.re - w.im);
  GetThornViewCore(static_cast<float>(a), static_cast<float>(b), columns, rows, point, outside, firstLayout);
}
