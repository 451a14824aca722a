#include "export/brick/lego_colour.h"

#include <cmath>

#include "projection/input/input_mapping.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr float kFarAway = 2e9f;

int32_t Clamp255(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

int32_t FloatTo255(float v) {
  if (!(v > 0.0f)) return 0;
  return v >= 1.0f ? 255 : int32_t(v * 255.0f);
}

void SetCode(LegoCell* cell, int32_t code) {
  cell->code = uint8_t((cell->code & ~kCellColourMask) | (code & kCellColourMask));
}

}  // namespace

int32_t NearestBrickColour(int32_t paletteMask, int32_t r, int32_t g, int32_t b) {
  int32_t best = kBrickFallbackColour;
  float distance = kFarAway;
  for (int32_t c = 1; c <= kBrickColourCount; ++c) {
    if (!(paletteMask & (1 << (c - 1)))) continue;
    const int32_t dr = r - kBrickMatchRGB[c][0], dg = g - kBrickMatchRGB[c][1], db = b - kBrickMatchRGB[c][2];
    const float d = float(dr * dr + dg * dg + db * db);
    if (distance > d) best = c, distance = d;
  }
  return best;
}

int32_t LegoFloatXYZtoSomeKindOfColor(LegoStructure* ball, LegoSampling* s, float px, float py, float pz) {
  // The layer axis is the sphere's vertical axis.
  float d[3] = {py, pz, px};
  NormalizeVector(d);
  if (s->anamorphic == 1) AnamorphicIntersect(d);
  TwirlTransform(&s->tumble, -1, d);
  float u = 0.0f, v = 0.0f, blend = 1.0f;
  uint8_t outside = 0;
  int32_t face = -1, layer = 0;
  TransformSphereToInput(s->inputMode, s->mirrorInput, s->imageAspect, d, &u, &v, &outside, s->mollweideTable, &face,
                         &layer, &blend, s->inputPolyhedron, &s->inputHint);
  const PyramidDescriptor* p = s->input;
  if (outside || !p || !PyramidHasLevel(p, 0) || !(u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f))
    return kBrickFallbackColour;
  const int32_t x = int32_t(u * float(p->levelWidth[0] - 1)), y = int32_t(v * float(p->levelHeight[0] - 1));
  int32_t r = 0, g = 0, b = 0, a = 0;
  switch (p->dataKind) {
    case PyramidDataKind_Grey16:
    case PyramidDataKind_Four16: {
      get_pyramid_sample_pointColorcall(x, y, p, 0, &r, &g, &b, &a);
      int32_t* ch[4] = {&r, &g, &b, &a};
      for (int32_t* c : ch) *c = ((*c + 1) >> 7) > 255 ? 255 : ((*c + 1) >> 7);
      break;
    }
    case PyramidDataKind_FourFloat: {
      // Unit floats, scaled as the 8-bit samples are, so that a float image
      // is coloured like the same image in 8 bits.
      float fr, fg, fb, fa;
      get_pyramid_sample_point128bitcall(x, y, p, 0, &fr, &fg, &fb, &fa);
      r = FloatTo255(fr), g = FloatTo255(fg), b = FloatTo255(fb), a = FloatTo255(fa);
      break;
    }
    default: get_pyramid_sample_pointColorcall(x, y, p, 0, &r, &g, &b, &a);
  }
  ball->sampleRed = r, ball->sampleGreen = g, ball->sampleBlue = b, ball->sampleAlpha = a;
  if (a == 0) return kBrickFallbackColour;
  return NearestBrickColour(ball->paletteMask, r, g, b);
}

int32_t ChooseLegoColor(LegoStructure* ball, LegoSampling* s, int32_t x, int32_t y, int32_t z) {
  int32_t votes[kBrickVoteSlots] = {};
  int32_t sum[3] = {0, 0, 0}, counted = 0;
  for (int32_t i = 0; i < 3; ++i)
    for (int32_t j = 0; j < 3; ++j)
      for (int32_t k = 0; k < 3; ++k) {
        const float px = (float(x) + float(i + 1) / 6.0f) / float(ball->width) - ball->centre[0];
        const float py = (float(y) + float(j + 1) / 6.0f) / float(ball->depth) - ball->centre[1];
        const float pz = (float(z) + float(k + 1) / 6.0f) / float(ball->layers) - ball->centre[2];
        const int32_t c = LegoFloatXYZtoSomeKindOfColor(ball, s, px, py, pz);
        ++votes[c >= 0 && c < kBrickVoteSlots ? c : kBrickFallbackColour];
        if (ball->sampleAlpha != 0) {
          sum[0] += ball->sampleRed, sum[1] += ball->sampleGreen, sum[2] += ball->sampleBlue;
          ++counted;
        }
      }
  if (counted == 0) {
    ball->sampleRed = ball->sampleGreen = ball->sampleBlue = kBrickMatchRGB[kBrickFallbackColour][0];
    return kBrickFallbackColour;
  }
  ball->sampleRed = sum[0] / counted, ball->sampleGreen = sum[1] / counted, ball->sampleBlue = sum[2] / counted;
  return MajorityOf(votes);
}

int32_t GetReceptiveExposureAround(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  int32_t total = 0;
  for (int32_t dz = -1; dz <= 1; ++dz)
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) {
        if (!dx && !dy && !dz) continue;
        if (!LegoInGrid(ball, x + dx, y + dy, z + dz)) continue;
        const LegoCell* n = LegoCellAt(ball, x + dx, y + dy, z + dz);
        if (!(n->code & kCellDone)) total += n->exposure;
      }
  return total;
}

void SpreadErrorAround(LegoStructure* ball, int32_t x, int32_t y, int32_t z, const int32_t error[3]) {
  const int32_t own = LegoCellAt(ball, x, y, z)->exposure;
  const int32_t receptive = GetReceptiveExposureAround(ball, x, y, z);
  if (receptive == 0) return;
  for (int32_t dz = -1; dz <= 1; ++dz)
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) {
        if (!dx && !dy && !dz) continue;
        if (!LegoInGrid(ball, x + dx, y + dy, z + dz)) continue;
        LegoCell* n = LegoCellAt(ball, x + dx, y + dy, z + dz);
        if ((n->code & kCellDone) || n->exposure == 0) continue;
        for (int c = 0; c < 3; ++c) {
          // Kept within 16 bits: an error beyond a full channel either way
          // can only clamp, and must not wrap into its opposite.
          const int32_t grown = int32_t(n->error[c]) + error[c] * own * n->exposure / receptive;
          n->error[c] = int16_t(grown < -32768 ? -32768 : (grown > 32767 ? 32767 : grown));
        }
      }
}

void Bonk(LegoStructure* ball, LegoSampling* s, int32_t x, int32_t y, int32_t z) {
  LegoCell* cell = LegoCellAt(ball, x, y, z);
  if ((cell->code & kCellColourMask) == 0) return;
  auto filled = [&](int32_t a, int32_t b, int32_t c) {
    return LegoInGrid(ball, a, b, c) && (LegoCellAt(ball, a, b, c)->code & kCellColourMask) != 0;
  };
  if (filled(x - 1, y, z) && filled(x + 1, y, z) && filled(x, y - 1, z) && filled(x, y + 1, z) &&
      filled(x, y, z - 1) && filled(x, y, z + 1))
    return;
  ChooseLegoColor(ball, s, x, y, z);
  const int32_t r = Clamp255(ball->sampleRed + cell->error[0]);
  const int32_t g = Clamp255(ball->sampleGreen + cell->error[1]);
  const int32_t b = Clamp255(ball->sampleBlue + cell->error[2]);
  ball->sampleRed = r, ball->sampleGreen = g, ball->sampleBlue = b;
  const int32_t code = NearestBrickColour(ball->paletteMask, r, g, b);
  SetCode(cell, code);
  cell->code |= kCellDone;
  const int32_t error[3] = {r - kBrickMatchRGB[code][0], g - kBrickMatchRGB[code][1], b - kBrickMatchRGB[code][2]};
  SpreadErrorAround(ball, x, y, z, error);
}

int32_t MajorityOf(const int32_t votes[kBrickVoteSlots]) {
  int32_t best = kBrickFallbackColour, most = 0;
  if (votes[0] >= 1) best = 0, most = votes[0];
  for (int32_t c = 1; c <= kBrickColourCount; ++c)
    if (votes[c] > most) best = c, most = votes[c];
  return best;
}
