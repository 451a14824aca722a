#include "render/output/glue_compass.h"

namespace {

// The whole of a weight: 256 for 8-bit channels (so a weight of 255 still
// leaves a trace of the result), 32768 for 16-bit ones.
template <int32_t Whole, int32_t Shift>
int32_t Toward(int32_t x, int32_t target, int32_t weight) {
  return ((Whole - weight) * x + weight * target) >> Shift;
}

template <int32_t Whole, int32_t Shift>
void North(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  const int32_t r0 = r, g0 = g, b0 = bl;
  r = Toward<Whole, Shift>(r0, R, g0);
  g = Toward<Whole, Shift>(g0, G, b0);
  bl = Toward<Whole, Shift>(b0, B, r0);
}

template <int32_t Whole, int32_t Shift>
void South(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  const int32_t r0 = r, g0 = g, b0 = bl;
  r = Toward<Whole, Shift>(r0, R, b0);
  g = Toward<Whole, Shift>(g0, G, r0);
  bl = Toward<Whole, Shift>(b0, B, g0);
}

template <int32_t Whole, int32_t Shift>
void East(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  r = Toward<Whole, Shift>(r, R, G);
  g = Toward<Whole, Shift>(g, G, B);
  bl = Toward<Whole, Shift>(bl, B, R);
}

template <int32_t Whole, int32_t Shift>
void West(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  r = Toward<Whole, Shift>(r, R, B);
  g = Toward<Whole, Shift>(g, G, R);
  bl = Toward<Whole, Shift>(bl, B, G);
}

}  // namespace

void GlueNorth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { North<256, 8>(r, g, bl, R, G, B); }
void GlueSouth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { South<256, 8>(r, g, bl, R, G, B); }
void GlueEast(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { East<256, 8>(r, g, bl, R, G, B); }
void GlueWest(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { West<256, 8>(r, g, bl, R, G, B); }

void xo_GlueNorth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { North<32768, 15>(r, g, bl, R, G, B); }
void xo_GlueSouth(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { South<32768, 15>(r, g, bl, R, G, B); }
void xo_GlueEast(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { East<32768, 15>(r, g, bl, R, G, B); }
void xo_GlueWest(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) { West<32768, 15>(r, g, bl, R, G, B); }
