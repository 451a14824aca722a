// Colouring the cells of the brick sphere from the input image: one sample,
// the majority of 27 samples in a cell, and the error-diffusion step.
#pragma once

#include <cstdint>

#include "export/brick/lego_structure.h"
#include "projection/render_hint.h"
#include "projection/tumble.h"

struct PyramidDescriptor;
struct polyhedron;

// What a sample needs of the input and the settings, taken once per build.
struct LegoSampling {
  const PyramidDescriptor* input;  // the main pyramid, level 0 is read
  int32_t inputMode;
  int32_t mirrorInput;
  int32_t anamorphic;
  float imageAspect;
  const float* mollweideTable;
  polyhedron* inputPolyhedron;
  renderhinttype inputHint;
  tumbletype tumble;
};

// The nearest allowed colour to (r, g, b) by squared RGB distance; ties keep
// the lower code; no allowed colour gives light grey.
int32_t NearestBrickColour(int32_t paletteMask, int32_t r, int32_t g, int32_t b);

// One sample at a unit grid position less the centre. Light grey, sample
// fields untouched, where the input has no picture; light grey for a
// transparent pixel.
int32_t LegoFloatXYZtoSomeKindOfColor(LegoStructure* ball, LegoSampling* s, float px, float py, float pz);
// The majority colour of 27 samples in the first half of the cell along each
// axis; the mean sampled colour is left in the record.
int32_t ChooseLegoColor(LegoStructure* ball, LegoSampling* s, int32_t x, int32_t y, int32_t z);
// One error-diffusion step at the cell.
void Bonk(LegoStructure* ball, LegoSampling* s, int32_t x, int32_t y, int32_t z);

int32_t GetReceptiveExposureAround(const LegoStructure* ball, int32_t x, int32_t y, int32_t z);
void SpreadErrorAround(LegoStructure* ball, int32_t x, int32_t y, int32_t z, const int32_t error[3]);

// A vote table: one slot per colour code, slot 0 the empty code.
constexpr int32_t kBrickVoteSlots = kBrickColourCount + 1;
// The winner of a vote table: the empty code only when it has votes, else
// light grey, and a code beats the leader only with strictly more votes.
int32_t MajorityOf(const int32_t votes[kBrickVoteSlots]);
