#include "export/brick/lego_build.h"

#include <cmath>
#include <cstring>

#include "export/brick/lego_colour.h"
#include "frame/globals.h"  // the brick ball is built from the invocation's settings and pyramids
#include "frame/base/host_suites.h"
#include "projection/inverse/mollweide.h"
#include "projection/tumble.h"

namespace {

// Far beyond any ball a user builds (150 layers make 180 x 180 x 150 cells);
// it keeps the cell count's bytes well inside 32 bits.
constexpr int64_t kMaxCells = int64_t(1) << 26;

int32_t CodeOf(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  return LegoInGrid(ball, x, y, z) ? (LegoCellAt(ball, x, y, z)->code & kCellColourMask) : 0;
}

void SetCode(LegoCell* cell, int32_t code) {
  cell->code = uint8_t((cell->code & ~kCellColourMask) | (code & kCellColourMask));
}

bool AllTwentySixFilled(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  for (int32_t dz = -1; dz <= 1; ++dz)
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx)
        if ((dx || dy || dz) && CodeOf(ball, x + dx, y + dy, z + dz) == 0) return false;
  return true;
}

void Normalise(float v[3]) {
  const float n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (n > 0.0f)
    for (int i = 0; i < 3; ++i) v[i] /= n;
}

template <typename F>
void EveryCell(const LegoStructure* ball, F f) {
  for (int32_t z = 0; z < ball->layers; ++z)
    for (int32_t y = 0; y < ball->depth; ++y)
      for (int32_t x = 0; x < ball->width; ++x) f(x, y, z);
}

}  // namespace

int32_t LegoBallWidth(int32_t layers, int32_t plates) {
  return int32_t(double(layers) * (plates ? 0.4 : 1.2));
}

void CreateLegoBall(LegoStructure* ball, Globals* globals, int32_t layers, int32_t plates, int32_t dither,
                    int32_t paletteMask) {
  if (!ball) return;
  std::memset(ball, 0, sizeof *ball);
  ball->layerCount = layers;
  ball->width = ball->depth = LegoBallWidth(layers, plates);
  ball->layers = layers;
  for (int i = 0; i < 3; ++i) ball->centre[i] = 0.5f;
  ball->dither = dither ? 1 : 0;
  ball->plates = plates ? 1 : 0;
  ball->paletteMask = paletteMask;
  ball->layerHeight = plates ? 8 : 24;

  static constexpr float kEye[kBrickViews][3] = {{1, 1, 1}, {-1, -1, 1}, {1, -1, -1}, {-1, 1, -1}};
  static constexpr float kRight[kBrickViews][3] = {{1, -1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, 1, 0}};
  const float s = layers < 5 ? 1.6f : (layers < 8 ? 1.25f : 1.1f);
  for (int v = 0; v < kBrickViews; ++v) {
    float r[3] = {kRight[v][0], kRight[v][1], kRight[v][2]};
    Normalise(r);
    const float* e = kEye[v];
    float up[3] = {e[1] * r[2] - e[2] * r[1], e[2] * r[0] - e[0] * r[2], e[0] * r[1] - e[1] * r[0]};
    Normalise(up);
    for (int i = 0; i < 3; ++i) {
      ball->viewEye[v][i] = e[i];
      ball->viewRight[v][i] = r[i] * s;
      ball->viewUp[v][i] = up[i] * s;
    }
  }

  const int64_t cells = int64_t(ball->width) * ball->depth * ball->layers;
  if (ball->width <= 0 || layers <= 0 || cells > kMaxCells) return;
  BufferProcs* procs = HostBuffers(globals);
  ball->cells = static_cast<LegoCell*>(RobustNewPtr(uint64_t(cells) * sizeof(LegoCell), &ball->cellsBufferId, procs));
  if (ball->cells) std::memset(ball->cells, 0, size_t(cells) * sizeof(LegoCell));
}

void DestroyLegoBall(LegoStructure* ball, Globals* globals) {
  if (!ball || !ball->cells) return;
  void* cells = ball->cells;
  RobustDisposePtr(&cells, &ball->cellsBufferId, HostBuffers(globals));
  ball->cells = nullptr;
}

bool Six_Surrounded(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  return CodeOf(ball, x - 1, y, z) && CodeOf(ball, x + 1, y, z) && CodeOf(ball, x, y - 1, z) &&
         CodeOf(ball, x, y + 1, z) && CodeOf(ball, x, y, z - 1) && CodeOf(ball, x, y, z + 1);
}

int32_t Calc_exposure(LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  int32_t n = 0;
  if (CodeOf(ball, x, y, z) != 0) {
    n = !CodeOf(ball, x - 1, y, z) + !CodeOf(ball, x + 1, y, z) + !CodeOf(ball, x, y - 1, z) +
        !CodeOf(ball, x, y + 1, z) + !CodeOf(ball, x, y, z - 1) + !CodeOf(ball, x, y, z + 1);
  }
  LegoCellAt(ball, x, y, z)->exposure = uint8_t(n);
  return n;
}

int32_t ColorFromNearby(const LegoStructure* ball, int32_t x, int32_t y, int32_t z) {
  int32_t votes[kBrickVoteSlots] = {};
  auto vote = [&](int32_t a, int32_t b, int32_t c) {
    if (!LegoInGrid(ball, a, b, c)) return 0;
    const LegoCell* n = LegoCellAt(ball, a, b, c);
    const int32_t code = n->code & kCellColourMask;
    if (!(n->code & kCellVisible) || code == 0) return 0;
    ++votes[code <= kBrickColourCount ? code : kBrickColourCount];
    return 1;
  };
  int32_t found = 0;
  for (int32_t d = 1; d <= 3 && !found; ++d)
    found = vote(x - d, y, z) + vote(x + d, y, z) + vote(x, y - d, z) + vote(x, y + d, z);
  if (!found) found = vote(x, y, z - 1) + vote(x, y, z + 1);
  if (!found) votes[kBrickFallbackColour] = 1;
  return MajorityOf(votes);
}

void LegoTumbleFromSettings(const Globals* globals, tumbletype* tumble) {
  const TParameters* p = Params(globals);
  InitTwirlTranformationForGyrelle(p ? p->twirlY : 0.0f, p ? p->twirlX : 0.0f, p ? p->twirlSpin : 0.0f, tumble);
}

bool CreateAndBuildLegoBallFromSettings(LegoStructure* ball, Globals* globals) {
  const TParameters* p = Params(globals);
  if (!ball || !p) return false;
  CreateLegoBall(ball, globals, p->brickLayers, p->brickPlates, p->brickDither, p->brickPalette);
  if (!ball->cells) return false;
  tumbletype tumble;
  LegoTumbleFromSettings(globals, &tumble);
  BuildLegoball(ball, globals, &tumble);
  return true;
}

void BuildLegoball(LegoStructure* ball, Globals* globals, const tumbletype* tumble) {
  if (!ball || !ball->cells || !globals) return;
  const TParameters* p = Params(globals);
  LegoSampling s{};
  s.input = &globals->pyramids[kPyramidMain];
  s.inputMode = p ? p->inputMode : 1;
  s.mirrorInput = p ? p->mirrorInput : 0;
  s.anamorphic = p ? p->anamorphic : 0;
  // The input's proportions exactly as the renderer sees them.
  // The input's proportions as the renderer sees them: the host's image.
  const Rect& r = globals->savedFilterRect;
  const float w = float(int32_t(r.right) - r.left), h = float(int32_t(r.bottom) - r.top);
  s.imageAspect = w > 0.0f && h > 0.0f ? h / w : 0.5f;
  s.mollweideTable = MollweideThetaTable();
  s.inputPolyhedron = globals->inputPolyhedron;
  s.inputHint.scale = 5.656854f;  // 2^2.5, as every fresh input hint
  s.inputHint.band = -9999999;
  s.tumble = *tumble;
  BuildLegoballFrom(ball, &s);
}

void BuildLegoballFrom(LegoStructure* ball, LegoSampling* s) {
  if (!ball || !ball->cells) return;
  // 1. Inside the ball: strictly within half a unit of the centre.
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    const float c[3] = {(float(x) + 0.5f) / float(ball->width) - ball->centre[0],
                        (float(y) + 0.5f) / float(ball->depth) - ball->centre[1],
                        (float(z) + 0.5f) / float(ball->layers) - ball->centre[2]};
    SetCode(LegoCellAt(ball, x, y, z), (c[0] * c[0] + c[1] * c[1] + c[2] * c[2] < 0.25f) ? kCellInside : 0);
  });
  // 2. Exposures, measured on the solid ball.
  if (ball->dither) {
    EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
      Calc_exposure(ball, x, y, z);
      LegoCell* cell = LegoCellAt(ball, x, y, z);
      cell->error[0] = cell->error[1] = cell->error[2] = 0;
      cell->code &= uint8_t(~kCellDone);
    });
  }
  // 3-5. Interior cells are marked, the visible ones flagged, and then the
  // interior is hollowed out, so that visibility is that of the solid ball.
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    if (AllTwentySixFilled(ball, x, y, z)) SetCode(LegoCellAt(ball, x, y, z), kCellInterior);
  });
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    LegoCell* cell = LegoCellAt(ball, x, y, z);
    if ((cell->code & kCellColourMask) && !Six_Surrounded(ball, x, y, z))
      cell->code |= kCellVisible;
    else
      cell->code &= uint8_t(~kCellVisible);
  });
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    LegoCell* cell = LegoCellAt(ball, x, y, z);
    if ((cell->code & kCellColourMask) == kCellInterior) SetCode(cell, 0);
  });
  // 6. Near-shell hints for the preview's ray march.
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    if (!CodeOf(ball, x, y, z)) return;
    for (int32_t dz = -1; dz <= 1; ++dz)
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx)
          if (LegoInGrid(ball, x + dx, y + dy, z + dz)) LegoCellAt(ball, x + dx, y + dy, z + dz)->code |= kCellNearShell;
  });
  // 7. Colours of the visible cells.
  if (!ball->dither) {
    EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
      LegoCell* cell = LegoCellAt(ball, x, y, z);
      if (cell->code & kCellVisible) SetCode(cell, ChooseLegoColor(ball, s, x, y, z));
    });
  } else {
    // A serpentine walk that turns with the layer, so that the diffused
    // error does not pile up along one side of the ball.
    const int32_t w = ball->width, d = ball->depth;
    for (int32_t z = 0; z < ball->layers; ++z)
      for (int32_t r = 0; r < d; ++r)
        for (int32_t k = 0; k < w; ++k) {
          const int32_t kk = (r & 1) ? w - 1 - k : k;
          int32_t x = kk, y = r;
          switch (z & 3) {
            case 1: x = r, y = kk; break;
            case 2: x = w - 1 - kk, y = d - 1 - r; break;
            case 3: x = w - 1 - r, y = d - 1 - kk; break;
            default: break;
          }
          if (LegoInGrid(ball, x, y, z)) Bonk(ball, s, x, y, z);
        }
  }
  // 8. Hidden shell cells take the colour around them.
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    LegoCell* cell = LegoCellAt(ball, x, y, z);
    if ((cell->code & kCellColourMask) && !(cell->code & kCellVisible)) SetCode(cell, ColorFromNearby(ball, x, y, z));
  });
}

void CountBrickKinds(const LegoStructure* ball, int32_t counts[kBrickColourCount + 1],
                     int32_t visible[kBrickColourCount + 1]) {
  for (int32_t i = 0; i <= kBrickColourCount; ++i) counts[i] = visible[i] = 0;
  if (!ball || !ball->cells) return;
  EveryCell(ball, [&](int32_t x, int32_t y, int32_t z) {
    const LegoCell* cell = LegoCellAt(ball, x, y, z);
    int32_t code = cell->code & kCellColourMask;
    if (code > kBrickColourCount) code = kBrickColourCount;
    ++counts[code];
    if (cell->code & kCellVisible) ++visible[code];
  });
}

void GenerateBrickStatistics(const LegoStructure* ball, Globals* globals) {
  if (!globals || !globals->storage) return;
  CountBrickKinds(ball, globals->storage->brickKindCounts, globals->storage->brickKindFlaggedCounts);
}
