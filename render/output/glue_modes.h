#pragma once
// Glue modes: how a pixel of the filter's result is blended with the
// unfiltered pixel at the same place before it is stored. Only integer
// images are glued: the 8-bit form takes channels 0..255, the 16-bit form
// channels 0..32768; float images are never glued.
//
// The pixel output looks up the mode's function once per pass with
// GlueFunctionFor and calls it per pixel with the result's red, green and
// blue (replaced by the glued result, always within 0..full scale) and the
// unfiltered red, green and blue. Alpha takes no part.

#include <cstdint>
#include <span>

enum GlueMode : int32_t {
  GlueMode_Normal = 1,
  GlueMode_ProceduralPlus = 2,
  GlueMode_ProceduralMinus = 3,
  GlueMode_Difference = 4,
  GlueMode_Lighten = 5,
  GlueMode_Darken = 6,
  GlueMode_Add = 7,
  GlueMode_Subtract = 8,
  GlueMode_Multiply = 9,
  GlueMode_Screen = 10,
  GlueMode_HardLight = 11,
  GlueMode_Overlay = 12,
  GlueMode_Superlay = 13,
  GlueMode_Exclusion = 14,
  GlueMode_Color = 15,
  GlueMode_Luminance = 16,
  GlueMode_LinearLight = 17,
  GlueMode_PinLight = 18,
  GlueMode_SpinLight = 19,
  GlueMode_VividA = 20,
  GlueMode_VividB = 21,
  GlueMode_Saturation = 22,
  GlueMode_Hue = 23,
  GlueMode_Similarity = 24,
  GlueMode_Cross = 25,
  GlueMode_HardDiff = 26,
  GlueMode_SoftLight = 27,
  GlueMode_Bright = 28,
  GlueMode_Dim = 29,
  GlueMode_Dodge = 30,
  GlueMode_Burn = 31,
  GlueMode_Ace = 32,
  GlueMode_King = 33,
  GlueMode_Queen = 34,
  GlueMode_Jack = 35,
  GlueMode_And = 36,
  GlueMode_Or = 37,
  GlueMode_Xor = 38,
  GlueMode_Multibright = 39,
  GlueMode_Hot = 40,
  GlueMode_Cold = 41,
  GlueMode_Wet = 42,
  GlueMode_Dry = 43,
  GlueMode_Up = 44,
  GlueMode_Down = 45,
  GlueMode_Wax = 46,
  GlueMode_Wane = 47,
  GlueMode_North = 48,
  GlueMode_South = 49,
  GlueMode_East = 50,
  GlueMode_West = 51,
  GlueMode_HardMix = 52,
  GlueMode_Frontal = 53,
  GlueMode_Parietal = 54,
  GlueMode_Temporal = 55,
  GlueMode_Occipital = 56,
  GlueMode_Limbic = 57,
  GlueMode_Dextrous = 58,
  GlueMode_Sinister = 59,
  GlueMode_Anterior = 60,
  GlueMode_Posterior = 61,
  GlueMode_Screendim = 62,
};

constexpr int32_t kGlueModeFirst = GlueMode_Normal;
constexpr int32_t kGlueModeLast = GlueMode_Screendim;
constexpr int32_t kGlueModeCount = kGlueModeLast - kGlueModeFirst + 1;

enum class GlueForm : int32_t { Bits8, Bits16 };

constexpr int32_t GlueFullScale(GlueForm form) { return form == GlueForm::Bits8 ? 255 : 32768; }

// Result channels in and out (r, g, bl), unfiltered channels (R, G, B).
using GlueFunction = void (*)(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);

struct GlueModeRow {
  int32_t mode;         // GlueMode
  const char* keyword;  // the mode's name as users see it
  GlueFunction glue8;
  GlueFunction glue16;
};

// Every mode, in mode order (row i is mode i + 1).
std::span<const GlueModeRow> GlueModeTable();

// The mode's row, or null for a number that is no glue mode.
const GlueModeRow* FindGlueMode(int32_t mode);

// The function that glues one pixel in the given form. Numbers that are no
// glue mode (0, negative, above 62) leave the result as it is, as "normal"
// does; a caller may test IsGlueIdentity to skip the call altogether.
GlueFunction GlueFunctionFor(int32_t mode, GlueForm form);
bool IsGlueIdentity(int32_t mode);

// Leaves the result unchanged ("normal").
void GlueKeep(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B);
