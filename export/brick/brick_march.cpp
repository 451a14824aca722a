#include "export/brick/brick_march.h"

#include <cmath>

namespace {

constexpr uint8_t kDisplayRGB[kBrickColourCount + 1][3] = {
    {255, 255, 255}, {50, 50, 50},    {0, 0, 255},     {0, 150, 80},    {255, 0, 0},
    {250, 250, 250}, {255, 223, 0},   {210, 210, 210}, {128, 128, 128}, {102, 51, 0},
    {203, 149, 137}, {204, 170, 102}, {139, 172, 150},
};
// Light from above the first view: faces turned from it are darker.
constexpr float kFaceShade[6] = {1.0f, 0.85f, 0.7f, 0.25f, 0.4f, 0.55f};
constexpr float kByteUnit = 0.003921568627451f;
constexpr float kQuarterStep = 0.25f;

// floor(t) for the grid index, as -trunc(1 - t) below zero.
int32_t GridIndex(float p, int32_t n) {
  const float t = (p + 1.0f) * 0.5f * float(n);
  return t >= 0.0f ? int32_t(t) : -int32_t(1.0f - t);
}

}  // namespace

void BrickDisplayRGB(int32_t code, uint8_t rgb[3]) {
  if (code < 0) code = 0;
  if (code > kBrickColourCount) code = kBrickColourCount;
  for (int i = 0; i < 3; ++i) rgb[i] = kDisplayRGB[code][i];
}

int32_t LegoMarch_yielding_region(const LegoStructure* ball, const LegoMarchRequest* request, int32_t* region) {
  *region = kBrickNoHit;
  if (!ball || !ball->cells || !request) return 1;
  int32_t view = request->view < 0 ? 0 : (request->view > 3 ? 3 : request->view);
  const float* eye = ball->viewEye[view];
  const float* right = ball->viewRight[view];
  const float* up = ball->viewUp[view];
  float p[3];
  for (int i = 0; i < 3; ++i) p[i] = 1.2f * eye[i] + request->u * right[i] + request->v * up[i];
  const int32_t n[3] = {ball->width, ball->depth, ball->layers};
  int32_t m = n[0] > n[1] ? n[0] : n[1];
  if (n[2] > m) m = n[2];
  float step[3];
  for (int i = 0; i < 3; ++i) step[i] = -eye[i] / float(m);
  const float limit = float(m) * 1.3f + 4.0f;

  float taken = kQuarterStep;
  for (int i = 0; i < 3; ++i) p[i] += step[i] * kQuarterStep;
  int32_t prev[3] = {0, 0, 0};
  bool prevInside = false, havePrev = false;
  for (;;) {
    int32_t c[3];
    for (int i = 0; i < 3; ++i) c[i] = GridIndex(p[i], n[i]);
    const bool inside = LegoInGrid(ball, c[0], c[1], c[2]);
    if (havePrev && prevInside && !inside) return 1;
    if (inside && (LegoCellAt(ball, c[0], c[1], c[2])->code & kCellColourMask)) {
      const int32_t code = LegoCellAt(ball, c[0], c[1], c[2])->code & kCellColourMask;
      int32_t face = 5;
      if (c[0] > prev[0]) face = 0;
      else if (c[1] > prev[1]) face = 1;
      else if (c[2] < prev[2]) face = 2;
      else if (c[0] < prev[0]) face = 3;
      else if (c[1] < prev[1]) face = 4;
      *region = code * 6 + face;
      return 0;
    }
    if (taken >= limit) return 1;
    for (int i = 0; i < 3; ++i) prev[i] = c[i];
    prevInside = inside;
    havePrev = true;
    // Short steps near the shell and on the ring round the grid, so that no
    // corner of a cell is stepped over.
    const bool ring = c[0] >= -1 && c[1] >= -1 && c[2] >= -1 && c[0] <= n[0] && c[1] <= n[1] && c[2] <= n[2] &&
                      !inside;
    const bool near = inside && (LegoCellAt(ball, c[0], c[1], c[2])->code & kCellNearShell);
    const float s = (ring || near) ? kQuarterStep : 1.0f;
    for (int i = 0; i < 3; ++i) p[i] += step[i] * s;
    taken += s;
  }
}

void LegoRegionCodeToShadedColor(int32_t region, float colour[4]) {
  if (region < 0) return;
  uint8_t rgb[3];
  BrickDisplayRGB(region / 6, rgb);
  const float f = kFaceShade[region % 6];
  for (int i = 0; i < 3; ++i) colour[i] = std::trunc(float(rgb[i]) * f) * kByteUnit;
  colour[3] = 1.0f;
}
