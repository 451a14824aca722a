#include "pyramid/pyramid_overhang.h"

#include <cmath>
#include <initializer_list>

#include "pyramid/pyramid_descriptor.h"

namespace {

// Truncation-based floor: one less than the true floor at negative whole
// numbers, so mode 5 sends u = -1 to 1 where mode 6 sends it to 0. Works on
// floats throughout: a huge coordinate never meets an integer conversion.
float Fl(float x) { return x >= 0.0f ? std::trunc(x) : -std::trunc(1.0f - x); }

float Clamp01(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }

bool IsOdd(float whole) { return std::fmod(whole, 2.0f) != 0.0f; }

float Fold(float d) {
  if (d > 0.5f) return d - 1.0f;
  if (d < -0.5f) return d + 1.0f;
  return d;
}

bool Beyond(float d) { return std::fabs(d) > 0.5f; }

}  // namespace

int32_t OverhangizeCoordinates(float* u, float* v, float* level, int32_t mode, const PyramidDescriptor* p) {
  const float U = *u, V = *v;
  if (!(U < 0.0f || U > 1.0f || V < 0.0f || V >= 1.0f)) return 0;
  switch (mode) {
    case OverhangMode_Empty: return 1;
    case OverhangMode_ClampBlurred: {
      float over = 0.0f;
      for (const float o : {-U, U - 1.0f, -V, V - 1.0f}) over = o > over ? o : over;
      *u = Clamp01(U);
      *v = Clamp01(V);
      if (over > 1.0f) over = 1.0f;
      *level = *level + over * (float(p->topLevel) - *level);
      return 0;
    }
    case OverhangMode_Clamp:
      *u = Clamp01(U);
      *v = Clamp01(V);
      return 0;
    case OverhangMode_WrapX:
      *u = U - Fl(U);
      *v = Clamp01(V);
      return 0;
    case OverhangMode_WrapBoth:
      *u = U - Fl(U);
      *v = V - Fl(V);
      return 0;
    case OverhangMode_WrapBothFloor:
      *u = U - std::floor(U);
      *v = V - std::floor(V);
      return 0;
    case OverhangMode_PoleFold: {
      // Past a pole the sphere goes on down the opposite meridian: the
      // latitude mirrors and the longitude turns by half a revolution.
      const float k = Fl(V);
      float fu = U, fv = V - k;
      if (IsOdd(k)) {
        fv = 1.0f - fv;
        fu = fu + 0.5f;
      }
      *u = fu - Fl(fu);
      *v = fv;
      return 0;
    }
    default: return 0;
  }
}

void OverhangizePDs(PDtype* pd) {
  pd->discontinuous = 0;
  switch (pd->overhangMode) {
    case OverhangMode_Empty:
    case OverhangMode_ClampBlurred:
    case OverhangMode_Clamp:
      pd->discontinuous = Beyond(pd->duX) || Beyond(pd->dvX) || Beyond(pd->duY) || Beyond(pd->dvY);
      break;
    case OverhangMode_WrapX:
    case OverhangMode_PoleFold:
      pd->duX = Fold(pd->duX);
      pd->duY = Fold(pd->duY);
      pd->discontinuous = Beyond(pd->dvX) || Beyond(pd->dvY);
      break;
    case OverhangMode_WrapBoth:
      pd->duX = Fold(pd->duX);
      pd->dvX = Fold(pd->dvX);
      pd->duY = Fold(pd->duY);
      pd->dvY = Fold(pd->dvY);
      break;
    default: break;
  }
  pd->duX = pd->duX * pd->width * pd->scale;
  pd->duY = pd->duY * pd->width * pd->scale;
  pd->dvX = pd->dvX * pd->height * pd->scale;
  pd->dvY = pd->dvY * pd->height * pd->scale;
}
